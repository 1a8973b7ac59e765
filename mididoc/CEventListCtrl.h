#pragma once

#include "ui/InPlaceEditor.h"
#include "mididoc/core/EventListModel.h"
#include "mididoc/core/SequenceMeasureContext.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include <wx/grid.h>

class wxMenu;

namespace zib {

class CEventGridTable;
class EventListOwner;

// The event list of an editor frame: a grid over the list model's rows, one
// cell asked at a time. The grid keeps selection and focus and hands the
// selected rows to the model's commands; a double click opens the cell
// editor (or the event-code dialog on column 4). The model refuses edits
// while its owner plays.
//
// An open cell editor closes by Enter (its value goes in) or Escape (it is
// dropped). Whatever else refills or drops the rows commits it first, as
// Enter would: the commands below, a filter, Undo and Redo, another track,
// leaving the window. A text that does not parse stops a command with the
// cell's message and stays in the open cell.
class CEventListCtrl : public wxGrid, public InPlaceEditor {
public:
    CEventListCtrl(wxWindow* parent, EventListOwner& owner);
    ~CEventListCtrl() override;

    EventListModel& Model() { return *m_model; }

    // Rows: refill from the sequence and show them; false (nothing
    // refilled) when the open cell refused its text
    bool RefillRows();
    // The same around a change of what the rows hold or show (a filter,
    // Undo or Redo, another track): the open cell goes in before it
    bool ChangeRows(const std::function<void()>& change);
    // A filter command (0 notes .. 6 texts, in the commands' order): its
    // class of events shown or hidden. Whether the class shows now; nothing
    // when the open cell refused its text.
    std::optional<bool> ToggleFilter(int filter);
    // The grid shows the model's rows again (after a command refilled them)
    void ShowRows();

    // Selection
    std::vector<int> SelectedRows() const;
    // How many rows are selected, without listing them (asked on every idle)
    int SelectedRowCount() const;
    int FocusedRow() const;
    void SelectRow(int row);
    void SelectEventRow(uint32_t eventIndex);
    void MoveSelection(int newRow);
    void SelectAllRows();
    void SelectMarkedRow();
    // The player's position: the row of the played tick becomes current
    // while playing; the row at a tick is selected when stopped
    void FollowTick(uint32_t tick);
    void SelectRowAtTick(uint32_t tick);

    // Commands on the selection (Cancelled when the open cell refused its text)
    EditResult DeleteSelectedEvents();
    EditResult CreateEvent();
    EditResult CopyToClipboard();
    EditResult PasteEvents(uint32_t startTick);
    EditResult TransposeEvents();
    EditResult ShiftEvents();

    // The list stops being the one worked in (its window was left, it was
    // scrolled or resized): the open cell goes in now, as it does when its
    // text loses the focus; a text that does not parse stays in the open
    // cell, to be mended or dropped with Escape
    void CloseCellEditor();
    // InPlaceEditor: commits the open cell editor now, as Enter does; a text
    // that does not parse, or a commit the model refuses, keeps the editor
    // open with its text and returns false
    bool CommitInPlaceEdit() override;

    // The item chosen in the context menu: the user's, unless a test script
    // installed its answer here (returns the command, or wxID_NONE)
    static std::function<int(wxMenu& menu)>& ContextMenuAnswer();

private:
    void OnDoubleClick(wxGridEvent& event);
    void OnRightClick(wxGridEvent& event);
    void OnLabelClick(wxGridEvent& event);
    void OnKey(wxKeyEvent& event);
    void OnScroll(wxScrollWinEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnEditorHidden(wxGridEvent& event);
    void OnSelectCell(wxGridEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void AfterCommand(EditResult result);
    // Drops the open cell editor, as Escape does (the list going, a value
    // worth keeping committed before)
    void DestroyCellEditor();
    // Ends the open cell editor, committing its value (as Enter) or not (as Escape)
    void EndCellEditor(bool commit);
    // The open cell editor's text parses; otherwise the editor keeps it and,
    // with `sayWhy`, says so
    bool EditorTextParses(bool sayWhy = true);
    // Runs the commit the cell editor handed over; whether its value went in
    bool RunPendingCommit();

    EventListOwner& m_owner;
    std::unique_ptr<EventListModel> m_model;
    std::unique_ptr<SequenceMeasureContext> m_measures;
    CEventGridTable* m_table = nullptr; // owned by the grid
    int m_shownRows = 0;
    wxSize m_size; // the size the list had at its last size event
    // The commit of the last cell edit, until it runs: on the next idle
    // after the grid ended the edit itself (Enter, a click elsewhere), or
    // at once when the list ended it (m_commitNow)
    std::function<EditResult()> m_pendingCommit;
    bool m_commitNow = false;
};

} // namespace zib
