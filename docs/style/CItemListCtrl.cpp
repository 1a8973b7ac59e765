#include "docs/style/CItemListCtrl.h"

#include "platform/WxText.h"

namespace zib {

CItemListCtrl::CItemListCtrl(wxWindow* parent, CItemListSource& source)
    : wxListView(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxLC_REPORT | wxLC_VIRTUAL | wxLC_EDIT_LABELS | wxLC_HRULES | wxLC_VRULES),
      source_(source)
{
    marked_.SetTextColour(*wxRED);
}

std::vector<int> CItemListCtrl::SelectedRows() const
{
    std::vector<int> rows;
    for (long r = GetFirstSelected(); r != -1; r = GetNextSelected(r))
        rows.push_back(int(r));
    return rows;
}

void CItemListCtrl::SelectOnly(const std::vector<int>& rows, long focus)
{
    for (long r = GetFirstSelected(); r != -1; r = GetNextSelected(r))
        Select(r, false);
    for (int r : rows)
        if (r >= 0 && r < GetItemCount()) Select(r, true);
    if (focus >= 0 && focus < GetItemCount()) Focus(focus);
}

wxString CItemListCtrl::OnGetItemText(long item, long column) const
{
    return wxFromUtf8(source_.ListCellText(item, column));
}

int CItemListCtrl::OnGetItemImage(long item) const
{
    return source_.ListRowImage(item);
}

wxItemAttr* CItemListCtrl::OnGetItemAttr(long item) const
{
    return source_.ListRowMarked(item) ? &marked_ : nullptr;
}

} // namespace zib
