#pragma once

#include "ui/CListCtrlCustomDraw.h"

#include <functional>
#include <string>
#include <vector>

namespace zib {

// The list of a program, performance, arrangement or global document: a
// virtual report list with grid lines and editable names whose cells come
// from the view's model on demand (Windows-1252 texts).
class CProgramListCtrl : public CListCtrlCustomDraw {
public:
    using CellText = std::function<std::string(int row, int column)>;

    CProgramListCtrl(wxWindow* parent, CellText cellText);

    // Columns (English titles, widths) and `rows` rows anew; the selection goes.
    struct Column {
        std::string title;
        int width;
    };
    void Rebuild(const std::vector<Column>& columns, int rows);
    void SetRowCount(int rows);
    // The view that gives the cells is going: the list shows empty cells
    // until its window goes too.
    void ForgetCellTexts() { cellText_ = nullptr; }

    // Selection and focus
    std::vector<int> SelectedRows() const;
    int FocusedRow() const; // -1: none
    void SetSelection(const std::vector<int>& rows, int focused);
    // The row under a point of the list window, -1 for none.
    int RowAt(wxPoint point) const;

protected:
    // wxListCtrl
    wxString OnGetItemText(long item, long column) const override;
    int OnGetItemImage(long item) const override; // one image for every row

private:
    CellText cellText_;
};

} // namespace zib
