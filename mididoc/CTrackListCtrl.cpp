#include "mididoc/CTrackListCtrl.h"

#include "ui/ListColumns.h"
#include "mididoc/core/CTrackListModel.h"
#include "platform/WxText.h"

namespace zib {

CTrackListCtrl::CTrackListCtrl(wxWindow* parent)
    : CListCtrlCustomDraw(parent, wxID_ANY, wxLC_REPORT | wxLC_VIRTUAL | wxLC_HRULES | wxLC_VRULES | wxLC_EDIT_LABELS | wxBORDER_SIMPLE)
{
}

uint32_t CTrackListCtrl::CellBackColor(long item, int subItem, uint32_t /*state*/, intptr_t /*param*/)
{
    return m_model ? m_model->CellBackColor(int(item), subItem) : CTrackListModel::kDefaultColor;
}

wxWindow* CTrackListCtrl::RowsWindow()
{
    return ListRowsWindow(*this);
}

wxString CTrackListCtrl::OnGetItemText(long item, long column) const
{
    return m_model ? wxFromCp1252(m_model->CellText(int(item), int(column))) : wxString();
}

int CTrackListCtrl::OnGetItemImage(long /*item*/) const
{
    return GetImageList(wxIMAGE_LIST_SMALL) ? 0 : -1;
}

} // namespace zib
