#include "docs/style/CItemListCtrl.h"

#include "platform/WxText.h"

namespace zib {

CItemListCtrl::CItemListCtrl(wxWindow* parent, CItemListSource& source, ListCustomDraw& handler)
    : CCustomDrawList(parent, wxID_ANY, handler, wxLC_REPORT | wxLC_VIRTUAL | wxLC_EDIT_LABELS | wxLC_HRULES |
                                                     wxLC_VRULES),
      source_(source)
{
}

std::vector<int> CItemListCtrl::SelectedRows() const
{
    std::vector<int> rows;
    for (long r = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); r != -1;
         r = GetNextItem(r, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(int(r));
    return rows;
}

void CItemListCtrl::Select(long row, bool on)
{
    SetItemState(row, on ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
}

void CItemListCtrl::SelectOnly(const std::vector<int>& rows, long focus)
{
    for (int r : SelectedRows())
        Select(r, false);
    for (int r : rows)
        if (r >= 0 && r < GetItemCount()) Select(r, true);
    if (focus >= 0 && focus < GetItemCount()) SetItemState(focus, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
}

wxString CItemListCtrl::OnGetItemText(long item, long column) const
{
    return wxFromUtf8(source_.ListCellText(item, column));
}

int CItemListCtrl::OnGetItemImage(long item) const
{
    return source_.ListRowImage(item);
}

} // namespace zib
