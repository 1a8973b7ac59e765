#pragma once

#include "app/CListCtrlCustomDraw.h"

namespace zib {

class CTrackListModel;

// The list control of the track list view: a virtual report list whose cells
// come from the track list model (texts converted from Windows-1252) and
// whose colours come from the view's custom-draw hooks.
class CTrackListCtrl : public CCustomDrawList {
public:
    CTrackListCtrl(wxWindow* parent, ListCustomDraw& handler);

    void SetModel(const CTrackListModel* model) { m_model = model; }
    // The window that receives the mouse over the rows
    wxWindow* RowsWindow();

protected:
    // wxListCtrl
    wxString OnGetItemText(long item, long column) const override;
    int OnGetItemImage(long item) const override;

private:
    const CTrackListModel* m_model = nullptr;
};

} // namespace zib
