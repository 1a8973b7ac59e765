#include "app/ListColumns.h"

#include "app/core/ColumnWidths.h"

#include <wx/grid.h>
#include <wx/imaglist.h>

namespace zib {

namespace {

int textWidth(const wxWindow& window, const wxString& text, const wxFont& font)
{
    if (text.empty()) return 0;
    int width = 0, height = 0;
    window.GetTextExtent(text, &width, &height, nullptr, nullptr, &font);
    return width;
}

double charWidth(const wxWindow& window, const wxFont& font)
{
    return AverageCharWidth(textWidth(window, wxString(kCharWidthSample.data(), kCharWidthSample.size()), font));
}

wxString headerOf(const wxListCtrl& list, int column)
{
    wxListItem item;
    item.SetMask(wxLIST_MASK_TEXT);
    return list.GetColumn(column, item) ? item.GetText() : wxString();
}

// The tooltip of a window becomes `tip`, or goes when `tip` is empty; an
// unchanged tip is left alone, so a shown tooltip does not flicker.
void showTip(wxWindow& window, const wxString& tip)
{
    if (window.GetToolTipText() == tip) return;
    if (tip.empty())
        window.UnsetToolTip();
    else
        window.SetToolTip(tip);
}

void listTipAt(const wxListCtrl& list, wxWindow& rows, const wxPoint& point)
{
    long row = -1;
    int column = -1;
    ListCellAt(list, point, row, column);
    if (row < 0 || column < 0) return showTip(rows, wxString());
    const wxString text = list.GetItemText(row, column);
    // The first column's text starts after the row's image.
    int indent = 0;
    if (column == 0)
        if (wxImageList* images = list.GetImageList(wxIMAGE_LIST_SMALL); images && images->GetImageCount() > 0) {
            int w = 0, h = 0;
            images->GetSize(0, w, h);
            indent = w + 2;
        }
    const bool cut = CellTextCut(textWidth(list, text, list.GetFont()), list.GetColumnWidth(column), indent);
    showTip(rows, cut ? text : wxString());
}

void gridTipAt(const wxGrid& grid, wxWindow& cells, const wxPoint& point)
{
    const wxPoint logical = grid.CalcUnscrolledPosition(point);
    const int row = grid.YToRow(logical.y), column = grid.XToCol(logical.x);
    if (row < 0 || column < 0) return showTip(cells, wxString());
    const wxString text = grid.GetCellValue(row, column);
    const bool cut = CellTextCut(textWidth(grid, text, grid.GetCellFont(row, column)), grid.GetColSize(column));
    showTip(cells, cut ? text : wxString());
}

} // namespace

double FontCharWidth(const wxWindow& window)
{
    return charWidth(window, window.GetFont());
}

int ListColumnWidth(const wxListCtrl& list, int layoutWidth, const wxString& header)
{
    return ScaledColumnWidth(layoutWidth, FontCharWidth(list), textWidth(list, header, list.GetFont()));
}

long AppendListColumn(wxListCtrl& list, const wxString& header, int layoutWidth, wxListColumnFormat format)
{
    return list.AppendColumn(header, format, ListColumnWidth(list, layoutWidth, header));
}

void SetListColumnWidth(wxListCtrl& list, int column, int layoutWidth)
{
    list.SetColumnWidth(column, ListColumnWidth(list, layoutWidth, headerOf(list, column)));
}

void SetGridColumnWidth(wxGrid& grid, int column, int layoutWidth)
{
    const int header = textWidth(grid, grid.GetColLabelValue(column), grid.GetLabelFont());
    grid.SetColSize(column, ScaledColumnWidth(layoutWidth, charWidth(grid, grid.GetDefaultCellFont()), header));
}

wxWindow* ListRowsWindow(const wxListCtrl& list)
{
    // The generic report list draws its rows in a main window below its
    // header; a native one in itself.
    for (wxWindow* child : list.GetChildren())
        if (static_cast<const void*>(child) == static_cast<const void*>(list.m_mainWin)) return child;
    return const_cast<wxListCtrl*>(&list);
}

void ListCellAt(const wxListCtrl& list, const wxPoint& point, long& row, int& column)
{
    int flags = 0;
    row = list.HitTest(point, flags);
    // The report list finds no column itself: the column widths from the
    // scrolled-in left edge do.
    int unitX = 0, unitY = 0, startX = 0, startY = 0;
    list.GetScrollPixelsPerUnit(&unitX, &unitY);
    list.GetViewStart(&startX, &startY);
    int x = point.x + startX * unitX;
    column = -1;
    for (int c = 0; c < list.GetColumnCount() && column < 0; ++c) {
        if (x >= 0 && x < list.GetColumnWidth(c)) column = c;
        x -= list.GetColumnWidth(c);
    }
}

void ShowCutCellTips(wxListCtrl& list)
{
    wxWindow* rows = ListRowsWindow(list);
    rows->Bind(wxEVT_MOTION, [&list, rows](wxMouseEvent& event) {
        event.Skip();
        listTipAt(list, *rows, event.GetPosition());
    });
}

void ShowCutCellTips(wxGrid& grid)
{
    wxWindow* cells = grid.GetGridWindow();
    cells->Bind(wxEVT_MOTION, [&grid, cells](wxMouseEvent& event) {
        event.Skip();
        gridTipAt(grid, *cells, event.GetPosition());
    });
}

} // namespace zib
