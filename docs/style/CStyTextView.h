#pragma once

#include <filesystem>
#include <string>
#include <wx/textctrl.h>

namespace zib {

// The right pane of a Wq style's edit frame: the style's text dump, read
// only, in a fixed-pitch font. Empty in a pad frame.
class CStyTextView : public wxTextCtrl {
public:
    explicit CStyTextView(wxWindow* parent);

    // Shows a text file; false when it cannot be read.
    bool ShowFile(const std::filesystem::path& file);
    // Scrolls to the first line that starts with `header` and selects it.
    bool MoveTo(const std::string& header);

    int m_ItemIndex = -1;
};

} // namespace zib
