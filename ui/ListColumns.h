#pragma once

#include <string_view>
#include <wx/listctrl.h>

class wxGrid;

namespace zib {

// The columns of every list and grid of the program: widths laid out for the
// small dialog font (ui/core/ColumnWidths.h) shown in the list's own font,
// and the whole text of a cut cell as the tooltip over it.

// The average character width of the font a window shows its text in.
double FontCharWidth(const wxWindow& window);

// A laid-out width in a list's font, at least as wide as `header`.
int ListColumnWidth(const wxListCtrl& list, int layoutWidth, const wxString& header = wxString());
// A column appended to a report list, laid out `layoutWidth` pixels wide,
// headed by `header` (the English text; shown in the UI language, and again
// in a new one when the language changes).
long AppendListColumn(wxListCtrl& list, std::string_view header, int layoutWidth,
                      wxListColumnFormat format = wxLIST_FORMAT_LEFT);
// A column of a report list set to a laid-out width (its header kept whole).
void SetListColumnWidth(wxListCtrl& list, int column, int layoutWidth);
// A grid column set to a laid-out width (its header, in the label font, kept whole).
void SetGridColumnWidth(wxGrid& grid, int column, int layoutWidth);

// After a change of the UI language: every list and grid below `root` shows
// its headers in the new language, each column widened where its header no
// longer fits.
void RefitHeaders(wxWindow& root);

// The window of a report list that shows its rows and receives the mouse over them.
wxWindow* ListRowsWindow(const wxListCtrl& list);
// The row and column under a point of the rows window (-1 where none).
void ListCellAt(const wxListCtrl& list, const wxPoint& point, long& row, int& column);

// While the mouse rests on a cell whose text is cut, the cell's whole text is
// its tooltip; elsewhere the list or grid shows none.
void ShowCutCellTips(wxListCtrl& list);
void ShowCutCellTips(wxGrid& grid);

} // namespace zib
