#pragma once

#include "ui/CListCtrlCustomDraw.h"

namespace zib {

class CTrackListModel;

// The list control of the track list view: a virtual report list whose cells
// and cell colours come from the track list model (texts converted from
// Windows-1252). It draws from the model itself, so that a paint still
// pending when its view goes asks nothing of the view; the view clears the
// model first.
class CTrackListCtrl : public CListCtrlCustomDraw {
public:
    explicit CTrackListCtrl(wxWindow* parent);

    void SetModel(const CTrackListModel* model) { m_model = model; }
    // The window that receives the mouse over the rows
    wxWindow* RowsWindow();

    // Custom-draw hooks: the switch cells are coloured
    bool WantsItemNotifications() override { return true; }
    bool WantsCellNotifications(long, uint32_t, intptr_t) override { return true; }
    uint32_t CellBackColor(long item, int subItem, uint32_t state, intptr_t param) override;

protected:
    // wxListCtrl
    wxString OnGetItemText(long item, long column) const override;
    int OnGetItemImage(long item) const override;

private:
    const CTrackListModel* m_model = nullptr;
};

} // namespace zib
