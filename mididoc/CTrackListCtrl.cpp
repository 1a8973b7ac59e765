#include "mididoc/CTrackListCtrl.h"

#include "mididoc/core/CTrackListModel.h"
#include "platform/WxText.h"

namespace zib {

CTrackListCtrl::CTrackListCtrl(wxWindow* parent, ListCustomDraw& handler)
    : CCustomDrawList(parent, wxID_ANY, handler,
                      wxLC_REPORT | wxLC_VIRTUAL | wxLC_HRULES | wxLC_VRULES | wxBORDER_SIMPLE)
{
}

wxWindow* CTrackListCtrl::RowsWindow()
{
    for (wxWindow* child : GetChildren())
        if (child->GetClassInfo() && wxString(child->GetClassInfo()->GetClassName()) == "wxListMainWindow")
            return child;
    return this;
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
