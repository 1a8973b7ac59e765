#pragma once

#include <wx/combo.h>

namespace zib {

class QeSoundList;

// A read-only combo of one Qe sound list whose drop-down is a
// CSoundListBox over the shared list: many combos of 2000 sounds cost no
// more than one. A choice sends wxEVT_COMBOBOX with the entry in GetInt().
class CSoundComboCtrl : public wxComboCtrl {
public:
    CSoundComboCtrl(wxWindow* parent, wxWindowID id, const QeSoundList& sounds);

    // The entry shown (-1 none).
    int GetSelection() const { return selection_; }
    void SetSelection(int index);
    // An entry chosen in the drop-down (the event is sent).
    void Choose(int index);

private:
    const QeSoundList& sounds_;
    int selection_ = -1;
};

} // namespace zib
