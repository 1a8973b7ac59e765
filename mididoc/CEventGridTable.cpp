#include "mididoc/CEventGridTable.h"

#include "ui/ZibMessageBox.h"
#include "mididoc/core/EventListModel.h"
#include "platform/WxText.h"

namespace zib {

namespace {

// 0x00BBGGRR, or the list's own colour
bool colourOf(uint32_t value, wxColour& out)
{
    if (value == EventListModel::kDefaultColor) return false;
    out = wxColour(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    return true;
}

} // namespace

void CEventGridTable::AllowEdit(int row, int column, wxGridCellEditor* editor)
{
    EndEdit();
    m_editRow = row;
    m_editColumn = column;
    m_editor = editor;
    ForgetCachedAttr();
}

void CEventGridTable::EndEdit()
{
    ForgetCachedAttr();
    if (m_editor) m_editor->DecRef();
    m_editor = nullptr;
    m_editRow = m_editColumn = -1;
}

void CEventGridTable::ForgetCachedAttr()
{
    // The grid keeps the attributes it asked for last; the cell that turns
    // writable (or read-only again) would otherwise keep its old ones, and
    // a double click on the cell the first click has just painted opened nothing.
    if (m_editRow >= 0 && GetView()) GetView()->RefreshAttr(m_editRow, m_editColumn);
}

int CEventGridTable::GetNumberRows()
{
    return m_model.RowCount();
}

int CEventGridTable::GetNumberCols()
{
    return EventListModel::kColumnCount;
}

wxString CEventGridTable::GetValue(int row, int col)
{
    return wxFromUtf8(m_model.CellText(row, col));
}

wxString CEventGridTable::GetColLabelValue(int col)
{
    if (col < 0 || col >= EventListModel::kColumnCount) return wxString();
    const auto header = EventListModel::Columns()[size_t(col)].header;
    return header.empty() ? wxString() : UiTextWx(header);
}

wxGridCellAttr* CEventGridTable::GetAttr(int row, int col, wxGridCellAttr::wxAttrKind)
{
    auto* attr = new wxGridCellAttr;
    wxColour colour;
    if (colourOf(m_model.CellTextColor(row), colour)) attr->SetTextColour(colour);
    const bool focused = m_grid && m_grid->GetGridCursorRow() == row;
    // The focused cell's colour, else the rows' (red while the trailing row is current)
    uint32_t back = m_model.CellBackColor(row, col, focused);
    if (back == EventListModel::kDefaultColor) back = m_model.RowBackColor();
    if (colourOf(back, colour)) attr->SetBackgroundColour(colour);
    if (row == m_editRow && col == m_editColumn && m_editor) {
        m_editor->IncRef();
        attr->SetEditor(m_editor);
    } else {
        attr->SetReadOnly(true);
    }
    return attr;
}

} // namespace zib
