#pragma once

#include <wx/grid.h>

namespace zib {

class EventListModel;

// The rows of an event list as the grid asks for them, one cell at a time:
// the events of the list model plus its trailing row, with the model's
// colours. The grid keeps selection and focus; nothing is stored per row.
class CEventGridTable : public wxGridTableBase {
public:
    explicit CEventGridTable(EventListModel& model) : m_model(model) {}

    // The cell the grid edits next: it alone is writable, with this editor.
    void AllowEdit(int row, int column, wxGridCellEditor* editor);
    void EndEdit();
    // The grid whose cursor row counts as the focused row
    void SetGrid(wxGrid* grid) { m_grid = grid; }

    // wxGridTableBase
    int GetNumberRows() override;
    int GetNumberCols() override;
    wxString GetValue(int row, int col) override;
    void SetValue(int, int, const wxString&) override {}
    bool IsEmptyCell(int, int) override { return false; }
    wxString GetColLabelValue(int col) override;
    wxString GetRowLabelValue(int) override { return wxString(); }
    bool CanHaveAttributes() override { return true; }
    wxGridCellAttr* GetAttr(int row, int col, wxGridCellAttr::wxAttrKind kind) override;

private:
    void ForgetCachedAttr();

    EventListModel& m_model;
    wxGrid* m_grid = nullptr;
    int m_editRow = -1;
    int m_editColumn = -1;
    wxGridCellEditor* m_editor = nullptr; // held while an edit is allowed
};

} // namespace zib
