#pragma once

#include <cstddef>
#include <functional>
#include <wx/combo.h>

namespace zib {

// A read-only combo whose drop-down is a virtual list over entries it asks
// for by index: the eight sound combos of a dialog read the one shared
// sound list, the note combos one list of names, and none inserts strings.
// The drop-down is made when first shown. A choice sends wxEVT_COMBOBOX
// with the entry in GetInt().
class CVirtualComboCtrl : public wxComboCtrl {
public:
    using EntryText = std::function<wxString(size_t index)>;

    CVirtualComboCtrl(wxWindow* parent, wxWindowID id, size_t count, EntryText text, int width = 180);

    // The entry shown (-1 none).
    int Entry() const { return selection_; }
    void SelectEntry(int index);
    // An entry chosen in the drop-down (the event is sent).
    void Choose(int index);

    size_t Count() const { return count_; }
    wxString Text(size_t index) const { return text_(index); }

private:
    size_t count_;
    EntryText text_;
    int selection_ = -1;
};

} // namespace zib
