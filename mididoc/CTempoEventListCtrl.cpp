#include "mididoc/CTempoEventListCtrl.h"

#include "ui/ListColumns.h"
#include "platform/WxText.h"

namespace zib {

CTempoEventListCtrl::CTempoEventListCtrl(wxWindow* parent, TempoTrackModel& model)
    : wxListCtrl(parent, 128, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_VIRTUAL | wxLC_HRULES | wxLC_VRULES),
      m_model(model)
{
    for (const auto& c : TempoTrackModel::Columns())
        AppendListColumn(*this, c.header, c.width);
    ShowCutCellTips(*this);
}

void CTempoEventListCtrl::RefillList()
{
    wxBusyCursor wait;
    m_model.RefillList();
    SetItemCount(m_model.RowCount());
    Refresh();
}

std::vector<int> CTempoEventListCtrl::SelectedRows() const
{
    std::vector<int> rows;
    for (long item = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); item >= 0;
         item = GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(int(item));
    return rows;
}

int CTempoEventListCtrl::FocusedRow() const
{
    const long item = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
    return item >= 0 && GetItemState(item, wxLIST_STATE_SELECTED) ? int(item) : -1;
}

void CTempoEventListCtrl::SelectRow(int row)
{
    if (row < 0 || row >= GetItemCount()) return;
    for (int selected : SelectedRows()) SetItemState(selected, 0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    EnsureVisible(std::min<long>(row + 2, GetItemCount() - 1));
    m_model.SetCurrentRow(row);
}

wxString CTempoEventListCtrl::OnGetItemText(long item, long column) const
{
    return wxFromUtf8(m_model.CellText(int(item), int(column)));
}

} // namespace zib
