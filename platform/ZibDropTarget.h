#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <wx/dnd.h>

namespace zib {

// Takes drops of the private clipboard format ("Zib") over a window and hands
// the dragged position and the dropped block to its owner.
class ZibDropTarget : public wxDropTarget {
public:
    using OverFn = std::function<wxDragResult(wxCoord x, wxCoord y)>;
    using DropFn = std::function<wxDragResult(const std::vector<uint8_t>& block, wxCoord x, wxCoord y,
                                              wxDragResult def)>;

    ZibDropTarget(OverFn over, DropFn drop);

    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult def) override;
    wxDragResult OnData(wxCoord x, wxCoord y, wxDragResult def) override;

private:
    OverFn over_;
    DropFn drop_;
};

} // namespace zib
