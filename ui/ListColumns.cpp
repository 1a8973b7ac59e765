#include "ui/ListColumns.h"

#include "ui/ZibMessageBox.h"
#include "ui/core/ColumnWidths.h"

#include <algorithm>
#include <string>
#include <vector>
#include <wx/clntdata.h>
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

// The English texts of a list's column headers, as the list was given them
// ("" for a header of no text): they are kept with the list.
struct HeaderKeys : wxClientData {
    std::vector<std::string> keys;
};

std::vector<std::string>& headerKeysOf(wxListCtrl& list)
{
    auto* keys = dynamic_cast<HeaderKeys*>(list.GetClientObject());
    if (!keys) {
        keys = new HeaderKeys;
        list.SetClientObject(keys);
    }
    return keys->keys;
}

void refitListHeaders(wxListCtrl& list)
{
    const auto* keys = dynamic_cast<const HeaderKeys*>(list.GetClientObject());
    for (int c = 0; c < list.GetColumnCount(); ++c) {
        wxListItem item;
        item.SetMask(wxLIST_MASK_TEXT);
        if (keys && size_t(c) < keys->keys.size() && !keys->keys[size_t(c)].empty()) {
            item.SetText(UiTextWx(keys->keys[size_t(c)]));
            list.SetColumn(c, item);
        }
        const int header = textWidth(list, headerOf(list, c), list.GetFont());
        if (header > 0) list.SetColumnWidth(c, std::max(list.GetColumnWidth(c), header + kHeaderTextPadding));
    }
    list.Refresh();
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

long AppendListColumn(wxListCtrl& list, std::string_view header, int layoutWidth, wxListColumnFormat format)
{
    const wxString shown = header.empty() ? wxString() : UiTextWx(header);
    const long column = list.AppendColumn(shown, format, ListColumnWidth(list, layoutWidth, shown));
    if (column >= 0) {
        std::vector<std::string>& keys = headerKeysOf(list);
        keys.resize(size_t(column) + 1); // columns removed since are forgotten
        keys[size_t(column)] = std::string(header);
    }
    return column;
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

void RefitHeaders(wxWindow& root)
{
    if (auto* list = dynamic_cast<wxListCtrl*>(&root); list && list->InReportView()) {
        refitListHeaders(*list);
    } else if (auto* grid = dynamic_cast<wxGrid*>(&root)) {
        // A grid asks its table for its labels, which speak the language of the moment.
        for (int c = 0; c < grid->GetNumberCols(); ++c) {
            const int header = textWidth(*grid, grid->GetColLabelValue(c), grid->GetLabelFont());
            if (header > 0) grid->SetColSize(c, std::max(grid->GetColSize(c), header + kHeaderTextPadding));
        }
        grid->ForceRefresh();
    }
    for (wxWindow* child : root.GetChildren())
        RefitHeaders(*child);
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
