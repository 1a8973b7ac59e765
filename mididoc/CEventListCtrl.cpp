#include "mididoc/CEventListCtrl.h"

#include "ui/ListColumns.h"
#include "ui/ShellServices.h"
#include "ui/ZibMessageBox.h"
#include "ui/core/ZibSettings.h"
#include "ui/MenuBuilder.h"
#include "ui/core/CommandIds.h"
#include "mididoc/CEventCellEditor.h"
#include "mididoc/CEventGridTable.h"
#include "mididoc/CZibEventClipboard.h"
#include "mididoc/core/EventListOwner.h"
#include "mididoc/core/MidiDocMenu.h"
#include "midi/CMidiParserEx.h"
#include "platform/Cp1252.h"
#include "platform/WxText.h"

#include <array>
#include <wx/utils.h>

namespace zib {

namespace {

constexpr int kRowHeight = 18;

// The list's category of each filter command, in the commands' order
constexpr std::array<int, 7> kFilterCategories = {
    EventListModel::kNotes,    EventListModel::kKeyPressure,     EventListModel::kControllers,
    EventListModel::kPrograms, EventListModel::kChannelPressure, EventListModel::kWheel,
    EventListModel::kTexts};

EventListModel::CellEditValue valueOf(int column, uint8_t statusClass, const CellEditResult& r, const std::string& text)
{
    EventListModel::CellEditValue v;
    switch (column) {
    case EventListModel::kTimeColumn:
    case EventListModel::kPositionColumn:
        v.number = r.time;
        break;
    case EventListModel::kChannelColumn:
        v.number = r.channel;
        break;
    case EventListModel::kDataColumn:
        if (statusClass >= 0xF0)
            v.text = text;
        else if (statusClass == 0xE0)
            v.number = uint32_t(r.data2) * 128 + r.data1;
        else
            v.number = r.data1;
        break;
    case EventListModel::kValueColumn:
        v.number = r.data2;
        break;
    case EventListModel::kDurationColumn:
        v.number = r.duration;
        break;
    default:
        break;
    }
    return v;
}

} // namespace

CEventListCtrl::CEventListCtrl(wxWindow* parent, EventListOwner& owner)
    : wxGrid(parent, 128), m_owner(owner), m_model(std::make_unique<EventListModel>(owner))
{
    if (CMidiParserEx* sequence = owner.ListSequence())
        m_measures = std::make_unique<SequenceMeasureContext>(*sequence);
    m_table = new CEventGridTable(*m_model);
    m_table->SetGrid(this);
    SetTable(m_table, true, wxGrid::wxGridSelectRows);
    m_shownRows = m_table->GetNumberRows();
    SetRowLabelSize(0);
    SetDefaultRowSize(kRowHeight, true);
    DisableDragRowSize();
    EnableGridLines(true);
    for (int c = 0; c < EventListModel::kColumnCount; ++c)
        SetGridColumnWidth(*this, c, EventListModel::Columns()[size_t(c)].width);
    ShowCutCellTips(*this);
    Bind(wxEVT_GRID_CELL_LEFT_DCLICK, &CEventListCtrl::OnDoubleClick, this);
    Bind(wxEVT_GRID_CELL_RIGHT_CLICK, &CEventListCtrl::OnRightClick, this);
    Bind(wxEVT_GRID_LABEL_LEFT_CLICK, &CEventListCtrl::OnLabelClick, this);
    Bind(wxEVT_GRID_LABEL_RIGHT_CLICK, &CEventListCtrl::OnLabelClick, this);
    Bind(wxEVT_GRID_EDITOR_HIDDEN, &CEventListCtrl::OnEditorHidden, this);
    Bind(wxEVT_GRID_SELECT_CELL, &CEventListCtrl::OnSelectCell, this);
    GetGridWindow()->Bind(wxEVT_LEFT_DOWN, &CEventListCtrl::OnLeftDown, this);
    GetGridWindow()->Bind(wxEVT_KEY_DOWN, &CEventListCtrl::OnKey, this);
    Bind(wxEVT_KEY_DOWN, &CEventListCtrl::OnKey, this);
    GetGridWindow()->Bind(wxEVT_SCROLLWIN_THUMBTRACK, &CEventListCtrl::OnScroll, this);
    Bind(wxEVT_SCROLLWIN_THUMBTRACK, &CEventListCtrl::OnScroll, this);
    Bind(wxEVT_SCROLLWIN_LINEDOWN, &CEventListCtrl::OnScroll, this);
    Bind(wxEVT_SCROLLWIN_LINEUP, &CEventListCtrl::OnScroll, this);
    Bind(wxEVT_SCROLLWIN_PAGEDOWN, &CEventListCtrl::OnScroll, this);
    Bind(wxEVT_SCROLLWIN_PAGEUP, &CEventListCtrl::OnScroll, this);
    Bind(wxEVT_SIZE, &CEventListCtrl::OnSize, this);
}

CEventListCtrl::~CEventListCtrl()
{
    // The grid hides an open cell editor as it goes, asking the table for the
    // cell, and the model goes before the grid: the editor goes first, its
    // value dropped (a value worth keeping was committed by the command that
    // closed the window).
    if (IsCellEditControlEnabled()) DestroyCellEditor();
    if (m_table) m_table->EndEdit();
}

bool CEventListCtrl::RefillRows()
{
    return ChangeRows({});
}

bool CEventListCtrl::ChangeRows(const std::function<void()>& change)
{
    if (!CommitInPlaceEdit()) return false;
    if (change) change();
    m_model->RefillRows();
    ShowRows();
    return true;
}

std::optional<bool> CEventListCtrl::ToggleFilter(int filter)
{
    const int category = kFilterCategories[size_t(filter)];
    if (!ChangeRows([&] { m_model->ToggleCategory(category); })) return std::nullopt;
    return m_model->CategoryFlag(category) == 1;
}

void CEventListCtrl::ShowRows()
{
    // Tell the grid how the row count changed, then repaint what shows.
    const int rows = m_model->RowCount();
    BeginBatch();
    if (rows > m_shownRows) {
        wxGridTableMessage added(m_table, wxGRIDTABLE_NOTIFY_ROWS_APPENDED, rows - m_shownRows);
        ProcessTableMessage(added);
    } else if (rows < m_shownRows) {
        wxGridTableMessage removed(m_table, wxGRIDTABLE_NOTIFY_ROWS_DELETED, rows, m_shownRows - rows);
        ProcessTableMessage(removed);
    }
    m_shownRows = rows;
    EndBatch();
    ForceRefresh();
}

// The grid selects whole rows, so its row blocks hold the selection; reading
// them stays cheap when a block spans a large part of a big song.
std::vector<int> CEventListCtrl::SelectedRows() const
{
    std::vector<int> rows;
    for (const wxGridBlockCoords& block : GetSelectedRowBlocks())
        for (int row = block.GetTopRow(); row <= block.GetBottomRow(); ++row) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int CEventListCtrl::SelectedRowCount() const
{
    const wxGridBlockCoordsVector blocks = GetSelectedRowBlocks();
    if (blocks.size() > 1) return int(SelectedRows().size()); // overlapping blocks are counted once
    return blocks.empty() ? 0 : blocks[0].GetBottomRow() - blocks[0].GetTopRow() + 1;
}

int CEventListCtrl::FocusedRow() const
{
    return GetGridCursorRow();
}

void CEventListCtrl::SelectRow(int row)
{
    if (row < 0 || row >= m_model->RowCount()) return;
    ClearSelection();
    wxGrid::SelectRow(row);
    SetGridCursor(row, std::max(0, GetGridCursorCol()));
    MakeCellVisible(std::min(row + 2, m_model->RowCount() - 1), 0);
    m_model->SetCurrentRow(row);
}

void CEventListCtrl::SelectEventRow(uint32_t eventIndex)
{
    SelectRow(m_model->SelectEventRow(eventIndex));
}

void CEventListCtrl::MoveSelection(int newRow)
{
    SelectRow(newRow);
}

void CEventListCtrl::SelectAllRows()
{
    SelectAll();
}

void CEventListCtrl::SelectMarkedRow()
{
    const int row = m_model->SelectMarkedRow();
    if (row >= 0) SelectRow(row);
}

void CEventListCtrl::FollowTick(uint32_t tick)
{
    const int before = m_model->CurrentRow();
    const int row = m_model->FollowTick(tick);
    if (row != before) SelectRow(row);
}

void CEventListCtrl::SelectRowAtTick(uint32_t tick)
{
    SelectRow(m_model->RowBeforeTick(tick));
}

void CEventListCtrl::AfterCommand(EditResult)
{
    ShowRows();
}

EditResult CEventListCtrl::DeleteSelectedEvents()
{
    if (!CommitInPlaceEdit()) return EditResult::Cancelled;
    const EditResult r = m_model->DeleteSelectedEvents(SelectedRows());
    AfterCommand(r);
    return r;
}

EditResult CEventListCtrl::CreateEvent()
{
    if (!CommitInPlaceEdit()) return EditResult::Cancelled;
    int newRow = -1;
    const EditResult r = m_model->OnCreateEvent(FocusedRow(), newRow);
    AfterCommand(r);
    if (newRow >= 0) SelectRow(newRow);
    return r;
}

EditResult CEventListCtrl::CopyToClipboard()
{
    return m_model->CopyToClipboard(SelectedRows());
}

EditResult CEventListCtrl::PasteEvents(uint32_t startTick)
{
    if (!CommitInPlaceEdit()) return EditResult::Cancelled;
    const EditResult r = m_model->PasteEvents(SelectedRows(), startTick);
    AfterCommand(r);
    return r;
}

EditResult CEventListCtrl::TransposeEvents()
{
    if (!CommitInPlaceEdit()) return EditResult::Cancelled;
    const EditResult r = m_model->TransposeEvents(SelectedRows());
    AfterCommand(r);
    return r;
}

EditResult CEventListCtrl::ShiftEvents()
{
    if (!CommitInPlaceEdit()) return EditResult::Cancelled;
    const EditResult r = m_model->ShiftEvents(SelectedRows());
    AfterCommand(r);
    SelectMarkedRow();
    return r;
}

void CEventListCtrl::DestroyCellEditor()
{
    EndCellEditor(false);
}

void CEventListCtrl::CloseCellEditor()
{
    if (IsCellEditControlEnabled() && !EditorTextParses(false)) return;
    EndCellEditor(true);
    RunPendingCommit();
}

void CEventListCtrl::EndCellEditor(bool commit)
{
    if (IsCellEditControlEnabled()) {
        wxGridCellEditor* held = GetCellEditor(GetGridCursorRow(), GetGridCursorCol());
        auto* editor = dynamic_cast<CEventCellEditor*>(held);
        // As Escape does: the editor resets, so the grid commits nothing.
        if (held && !commit) held->Reset();
        // The text loses the focus as it hides: the grid's own request to end
        // the edit, which would come later, perhaps over the next editor, is
        // not made. A value handed over waits for the caller, not the next idle.
        if (editor) editor->KeepOpen(true);
        m_commitNow = true;
        DisableCellEditControl();
        m_commitNow = false;
        if (editor) editor->KeepOpen(false);
        if (held) held->DecRef();
    }
    m_table->EndEdit();
}

bool CEventListCtrl::CommitInPlaceEdit()
{
    if (IsCellEditControlEnabled()) {
        if (!EditorTextParses()) return false;
        // The model would refuse the edit while the song plays: the value stays in the cell.
        if (m_owner.ListPlaying()) {
            wxBell();
            return false;
        }
        EndCellEditor(true); // the editor hands its value over
    }
    return RunPendingCommit();
}

bool CEventListCtrl::EditorTextParses(bool sayWhy)
{
    wxGridCellEditor* held = GetCellEditor(GetGridCursorRow(), GetGridCursorCol()); // a reference of ours
    auto* editor = dynamic_cast<CEventCellEditor*>(held);
    const bool parses = !editor || editor->Parses();
    if (!parses && sayWhy) {
        // The message takes the focus, which would end the edit: the editor
        // stays open through it, and the focus goes back to the text as typed.
        editor->KeepOpen(true);
        ZibTextBox(UiTextWx(EventCellEditModel::kNoNumberMessage), wxFromUtf8(Shell().ExeName()),
                   wxOK | wxICON_EXCLAMATION, this);
        editor->KeepOpen(false);
        if (IsCellEditControlEnabled() && editor->GetWindow()) editor->GetWindow()->SetFocus();
    }
    if (held) held->DecRef();
    return parses;
}

bool CEventListCtrl::RunPendingCommit()
{
    if (!m_pendingCommit) return true;
    const std::function<EditResult()> commit = std::move(m_pendingCommit);
    m_pendingCommit = nullptr;
    const EditResult result = commit();
    return result != EditResult::Failed && result != EditResult::RefusedWhilePlaying;
}

void CEventListCtrl::OnDoubleClick(wxGridEvent& event)
{
    const int row = event.GetRow();
    const int column = event.GetCol();
    // An edit still open, or ended and not yet committed, goes in; the
    // double click does no more, as the rows under it may have moved.
    if (IsCellEditControlEnabled() || m_pendingCommit) {
        CommitInPlaceEdit();
        return;
    }
    const EventListModel::CellEditStart start = m_model->DoubleClickCell(row, column);
    using What = EventListModel::CellEditStart::What;
    if (start.what == What::EventCode) {
        AfterCommand(m_model->EditEventCode(row));
        return;
    }
    if (start.what != What::Editor) return;
    CellEditStart cell;
    cell.ownerKind = int(m_owner.ListDocKind());
    cell.row = row;
    cell.column = column;
    cell.channel = start.channel;
    cell.statusClass = start.statusClass;
    cell.time = start.time;
    cell.data1 = start.data1;
    cell.data2 = start.data2;
    cell.duration = start.duration;
    cell.dataBytes = utf8ToCp1252(start.text);
    auto model = EventCellEditModel::Start(cell, m_measures.get());
    if (!model) return;
    const uint8_t statusClass = start.statusClass;
    auto commit = [this, start, statusClass](const CellEditResult& r, const std::string& text) {
        // The grid is still inside its edit: commit once it has finished.
        m_pendingCommit = [this, start, statusClass, r, text] {
            const EditResult result = m_model->CommitCellEdit(start, valueOf(start.column, statusClass, r, text));
            AfterCommand(result);
            SelectMarkedRow();
            return result;
        };
        if (!m_commitNow) CallAfter([this] { RunPendingCommit(); });
    };
    m_table->AllowEdit(row, column, new CEventCellEditor(std::move(*model), commit));
    SetGridCursor(row, column);
    EnableCellEditControl();
}

void CEventListCtrl::OnEditorHidden(wxGridEvent& event)
{
    event.Skip();
    // Once the grid is done with the editor; an edit opened meanwhile (a
    // double click right after) keeps its editor.
    CallAfter([this] {
        if (!IsCellEditControlEnabled()) m_table->EndEdit();
    });
}

void CEventListCtrl::OnSelectCell(wxGridEvent& event)
{
    // Moving to another cell (a click, the arrow keys) would end the edit:
    // a text that does not parse keeps the cell open with its message.
    if (IsCellEditControlEnabled() && !EditorTextParses()) {
        event.Veto();
        return;
    }
    event.Skip();
}

void CEventListCtrl::OnLeftDown(wxMouseEvent& event)
{
    // A click on another cell ends the edit before the grid tells of it:
    // a text that does not parse stops the click with its message.
    const wxGridCellCoords cell = XYToCell(CalcUnscrolledPosition(event.GetPosition()));
    const bool sameCell = cell.GetRow() == GetGridCursorRow() && cell.GetCol() == GetGridCursorCol();
    if (IsCellEditControlEnabled() && !sameCell && !EditorTextParses()) return;
    event.Skip();
}

std::function<int(wxMenu&)>& CEventListCtrl::ContextMenuAnswer()
{
    static std::function<int(wxMenu&)> answer;
    return answer;
}

void CEventListCtrl::OnRightClick(wxGridEvent& event)
{
    // "EDIT EVENT": Copy, Paste and Delete of the selected rows, over the
    // first column of a list with events and never while the program plays.
    // A right click that closes an open cell editor (committing it, or
    // stopping at its message) does only that.
    if (m_owner.ListPlaying()) return;
    if (IsCellEditControlEnabled()) {
        CommitInPlaceEdit();
        return;
    }
    if (event.GetCol() != 0 || GetNumberRows() < 2) return;
    if (!IsInSelection(event.GetRow(), 0)) SelectRow(event.GetRow());
    std::unique_ptr<wxMenu> menu(BuildPopupMenu(EditEventPopupDef(), Shell().Language()));
    const bool selected = SelectedRowCount() > 0;
    menu->Enable(cmd::ToWxId(midicmd::EditCut), false);
    menu->Enable(cmd::ToWxId(midicmd::EditCopy), selected);
    menu->Enable(cmd::ToWxId(midicmd::Delete), selected);
    menu->Enable(cmd::ToWxId(midicmd::EditPaste), selected && CZibEventClipboard::Offers());
    const int chosen = ContextMenuAnswer() ? ContextMenuAnswer()(*menu)
                                           : GetPopupMenuSelectionFromUser(*menu, event.GetPosition());
    if (chosen == wxID_NONE || !GetParent()) return;
    // The frame runs the item as its Edit menu does: Paste starts at the bar
    // view's position and the other windows are repainted after it.
    wxCommandEvent command(wxEVT_MENU, chosen);
    command.SetEventObject(this);
    GetParent()->GetEventHandler()->ProcessEvent(command);
}

void CEventListCtrl::OnLabelClick(wxGridEvent& event)
{
    // Only the header of the data column answers: the note-name alphabets.
    if (event.GetCol() != EventListModel::kDataColumn) return;
    std::unique_ptr<wxMenu> menu(BuildPopupMenu(KeyAlphabetPopupDef(), Shell().Language()));
    const int current = Shell().Settings().KeyAlphabet;
    menu->Check(cmd::ToWxId(midicmd::KeyAlphabetFirst + current), true);
    const int chosen = GetPopupMenuSelectionFromUser(*menu);
    for (int a = 0; a < midicmd::KeyAlphabetCount; ++a)
        if (chosen == cmd::ToWxId(midicmd::KeyAlphabetFirst + a)) {
            Shell().Settings().SetKeyAlphabet(a);
            ForceRefresh();
        }
}

void CEventListCtrl::OnKey(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if (key == WXK_DELETE && !IsCellEditControlEnabled()) {
        DeleteSelectedEvents();
        return;
    }
    // Enter in the cell editor: a text that does not parse stays, with the cell's message.
    if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && IsCellEditControlEnabled() && !EditorTextParses()) return;
    event.Skip();
}

void CEventListCtrl::OnSize(wxSizeEvent& event)
{
    event.Skip();
    // The frame lays its windows out again for many reasons (bars shown, the
    // focus moving between tabs); only a list that really changed its size
    // closes an open cell editor, which would otherwise stand over the wrong
    // cell. Its value goes in.
    if (event.GetSize() == m_size) return;
    m_size = event.GetSize();
    CloseCellEditor();
}

void CEventListCtrl::OnScroll(wxScrollWinEvent& event)
{
    // Scrolling closes an open cell editor; its value goes in.
    CloseCellEditor();
    event.Skip();
}

} // namespace zib
