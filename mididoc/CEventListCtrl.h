#pragma once

#include "mididoc/core/EventListModel.h"
#include "mididoc/core/SequenceMeasureContext.h"

#include <functional>
#include <memory>
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
class CEventListCtrl : public wxGrid {
public:
    CEventListCtrl(wxWindow* parent, EventListOwner& owner);
    ~CEventListCtrl() override;

    EventListModel& Model() { return *m_model; }

    // Rows: refill from the sequence and show them
    void RefillRows();
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

    // Commands on the selection
    EditResult DeleteSelectedEvents();
    EditResult CreateEvent();
    EditResult CopyToClipboard();
    EditResult PasteEvents(uint32_t startTick);
    EditResult TransposeEvents();
    EditResult ShiftEvents();

    // The cell editor: drop it without committing, or commit it
    void DestroyCellEditor();
    void CloseCellEditor();

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
    void AfterCommand(EditResult result);

    EventListOwner& m_owner;
    std::unique_ptr<EventListModel> m_model;
    std::unique_ptr<SequenceMeasureContext> m_measures;
    CEventGridTable* m_table = nullptr; // owned by the grid
    int m_shownRows = 0;
    wxSize m_size; // the size the list had at its last size event
};

} // namespace zib
