#pragma once

#include "mididoc/core/TempoTrackModel.h"

#include <vector>
#include <wx/listctrl.h>

namespace zib {

// The master-track list of the tempo-track editor: a virtual list over the
// tempo-track model's rows (the events of track 0 of one view kind, then the
// end row). Texts are asked per cell; the rows carry no colours.
class CTempoEventListCtrl : public wxListCtrl {
public:
    CTempoEventListCtrl(wxWindow* parent, TempoTrackModel& model);

    // The model's rows again
    void RefillList();
    std::vector<int> SelectedRows() const;
    // The focused and selected row (-1: none)
    int FocusedRow() const;
    void SelectRow(int row);

protected:
    wxString OnGetItemText(long item, long column) const override;

private:
    TempoTrackModel& m_model;
};

} // namespace zib
