#pragma once

#include "mididoc/core/EventCellEditModel.h"

#include <functional>
#include <optional>
#include <wx/grid.h>

namespace zib {

// The in-place editor of an event-list cell: a text field over the cell that
// types, clamps and steps (Up and Down are the spin steps) as its model says.
// Enter commits through the owner's callback; Escape and leaving the cell by
// scrolling drop the edit.
class CEventCellEditor : public wxGridCellEditor {
public:
    using Commit = std::function<void(const CellEditResult& result, const std::string& utf8Text)>;

    CEventCellEditor(EventCellEditModel model, Commit commit);

    void Create(wxWindow* parent, wxWindowID id, wxEvtHandler* handler) override;
    void BeginEdit(int row, int col, wxGrid* grid) override;
    bool EndEdit(int row, int col, const wxGrid* grid, const wxString& oldValue, wxString* newValue) override;
    void ApplyEdit(int row, int col, wxGrid* grid) override;
    // Escape, or the list dropping the editor: nothing is committed.
    void Reset() override;
    wxGridCellEditor* Clone() const override;
    wxString GetValue() const override;
    bool IsAcceptedKey(wxKeyEvent&) override { return false; }

    const EventCellEditModel& Model() const { return m_model; }
    // Whether OK can take the text now in the editor
    bool Parses() const;
    // While set, the text losing the focus (to a message about its value, or
    // as the list ends the edit itself) does not ask the grid to end the edit
    void KeepOpen(bool keep) { m_keepOpen = keep; }

private:
    wxTextCtrl* Text() const;
    void OnChar(wxKeyEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnText(wxCommandEvent& event);
    void OnKillFocus(wxFocusEvent& event);

    EventCellEditModel m_model;
    Commit m_commit;
    std::optional<CellEditResult> m_result;
    wxString m_committedText;
    bool m_cancelled = false;
    bool m_keepOpen = false;
};

} // namespace zib
