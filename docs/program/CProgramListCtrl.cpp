#include "docs/program/CProgramListCtrl.h"

#include "ui/ListColumns.h"
#include "platform/WxText.h"

namespace zib {

CProgramListCtrl::CProgramListCtrl(wxWindow* parent, CellText cellText)
    : CListCtrlCustomDraw(parent, wxID_ANY,
                          wxLC_REPORT | wxLC_VIRTUAL | wxLC_EDIT_LABELS | wxLC_HRULES | wxLC_VRULES),
      cellText_(std::move(cellText))
{
}

void CProgramListCtrl::Rebuild(const std::vector<Column>& columns, int rows)
{
    SetSelection({}, -1);
    ClearAll();
    for (const auto& c : columns)
        AppendListColumn(*this, c.title, c.width);
    SetItemCount(rows);
    Refresh();
}

void CProgramListCtrl::SetRowCount(int rows)
{
    if (GetItemCount() != rows) SetItemCount(rows);
    Refresh();
}

std::vector<int> CProgramListCtrl::SelectedRows() const
{
    std::vector<int> rows;
    for (long row = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0;
         row = GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(int(row));
    return rows;
}

int CProgramListCtrl::FocusedRow() const
{
    const long row = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
    return row >= 0 && row < GetItemCount() ? int(row) : -1;
}

void CProgramListCtrl::SetSelection(const std::vector<int>& rows, int focused)
{
    for (int row : SelectedRows())
        SetItemState(row, 0, wxLIST_STATE_SELECTED);
    const int count = GetItemCount();
    for (int row : rows)
        if (row >= 0 && row < count) SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    if (focused >= 0 && focused < count) SetItemState(focused, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
}

int CProgramListCtrl::RowAt(wxPoint point) const
{
    int flags = 0;
    const long row = HitTest(point, flags);
    return row >= 0 && row < GetItemCount() ? int(row) : -1;
}

wxString CProgramListCtrl::OnGetItemText(long item, long column) const
{
    return cellText_ ? wxFromCp1252(cellText_(int(item), int(column))) : wxString();
}

int CProgramListCtrl::OnGetItemImage(long) const
{
    return GetImageList(wxIMAGE_LIST_SMALL) ? 0 : -1;
}

} // namespace zib
