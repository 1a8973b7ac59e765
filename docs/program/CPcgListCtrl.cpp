#include "docs/program/CPcgListCtrl.h"

#include "app/texts/UiText.h"
#include "docs/program/core/PcgListModel.h"
#include "platform/WxText.h"

namespace zib {

CPcgListCtrl::CPcgListCtrl(wxWindow* parent, const PcgListModel& model)
    : CListCtrlCustomDraw(parent, wxID_ANY,
                          wxLC_REPORT | wxLC_VIRTUAL | wxLC_EDIT_LABELS | wxLC_HRULES | wxLC_VRULES),
      model_(model)
{
}

void CPcgListCtrl::Rebuild(int language)
{
    ClearSelection();
    ClearAll();
    int column = 0;
    for (const auto& c : model_.Columns())
        InsertColumn(column++, c.title.empty() ? wxString() : wxFromUtf8(UiText(c.title, language)),
                     wxLIST_FORMAT_LEFT, c.width);
    SetItemCount(model_.RowCount());
    Refresh();
}

std::vector<int> CPcgListCtrl::SelectedRows() const
{
    std::vector<int> rows;
    for (long row = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0;
         row = GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(int(row));
    return rows;
}

int CPcgListCtrl::FocusedRow() const
{
    return int(GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED));
}

void CPcgListCtrl::SelectRow(int row, bool on)
{
    SetItemState(row, on ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
}

void CPcgListCtrl::FocusRow(int row)
{
    SetItemState(row, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
}

void CPcgListCtrl::ClearSelection()
{
    for (int row : SelectedRows())
        SelectRow(row, false);
}

wxString CPcgListCtrl::OnGetItemText(long item, long column) const
{
    return wxFromCp1252(model_.CellText(int(item), int(column)));
}

} // namespace zib
