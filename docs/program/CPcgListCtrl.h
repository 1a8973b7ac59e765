#pragma once

#include "app/CListCtrlCustomDraw.h"

#include <vector>

namespace zib {

class PcgListModel;

// The program list: a virtual report list whose rows and cells come from the
// list model on demand, with grid lines and editable names.
class CPcgListCtrl : public CListCtrlCustomDraw {
public:
    CPcgListCtrl(wxWindow* parent, const PcgListModel& model);

    // Rows and columns again from the model (the selection is cleared).
    void Rebuild(int language);

    // Selection and focus
    std::vector<int> SelectedRows() const;
    int FocusedRow() const; // -1: none
    void SelectRow(int row, bool on);
    void FocusRow(int row);
    void ClearSelection();

protected:
    // wxListCtrl
    wxString OnGetItemText(long item, long column) const override;

private:
    const PcgListModel& model_;
};

} // namespace zib
