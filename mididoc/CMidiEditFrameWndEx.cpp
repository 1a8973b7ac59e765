#include "mididoc/CMidiEditFrameWndEx.h"

#include "ui/InPlaceEditor.h"
#include "ui/ShellServices.h"
#include "ui/ZibMessageBox.h"
#include "ui/core/FormatText.h"
#include "mididoc/CChildSplitterMidFrame.h"
#include "mididoc/CEventListCtrl.h"
#include "mididoc/CZibMidView.h"
#include "mididoc/CZibMidWxDoc.h"
#include "mididoc/MidiDocSubsystem.h"
#include "mididoc/core/MidiPositionTarget.h"
#include "mididoc/core/MidiDocMenu.h"
#include "platform/Cp1252.h"
#include "platform/WxText.h"

#include <algorithm>
#include <wx/docview.h>
#include <wx/sizer.h>

namespace zib {

namespace {

using namespace midicmd;

// The list's own commands, and those of the document that reach it through this frame
constexpr int kListCommands[] = {InsertItem, InsertItemMenu, Delete, MidiToText, EditCopy, EditPaste,
                                 EditSelectAll, TransposeEvents, ShiftEvents, EditUndo, EditRedo, EditItem,
                                 SetTempo};
constexpr int kDocumentForwarded[] = {FileTextDump, MidiToWqStyle, MidiToQe4kStyle, FileSave, FileSaveAs};

} // namespace

CZibMdiChild::TitleRule CMidiEditFrameWndEx::TitleFor(CZibMidWxDoc& doc, const std::vector<int>& rows)
{
    std::string tracks;
    if (rows.size() > 1) {
        tracks = wxToUtf8(UiTextWx("Multiple Tracks"));
    } else if (rows.size() == 1) {
        const CTrackInfo* t = doc.Model().TrackRecord(rows.front());
        tracks = t && !t->name.empty() ? cp1252ToUtf8(t->name)
                                       : FormatText(wxToUtf8(UiTextWx("Track %d")), {std::to_string(rows.front() + 1)});
    }
    return [tracks](const wxString& document) {
        return wxFromUtf8(FormatText(wxToUtf8(UiTextWx("%s - Event List - %s")), {wxToUtf8(document), tracks}));
    };
}

CMidiEditFrameWndEx* CMidiEditFrameWndEx::Open(ZibMdiParentFrame& frame, CZibMidWxDoc& doc, const std::vector<int>& rows)
{
    if (rows.empty()) return nullptr;
    doc.CloseEditorFrames();
    const TitleRule title = TitleFor(doc, rows);
    auto* editor = new CMidiEditFrameWndEx(frame, doc, title(doc.GetUserReadableName()));
    editor->TitleAfter(doc, title);
    editor->ShowEvents(rows);
    doc.m_EventEditor = editor;
    doc.m_EventEditorOpen = 1;
    editor->Show();
    editor->Activate();
    return editor;
}

CMidiEditFrameWndEx::CMidiEditFrameWndEx(ZibMdiParentFrame& frame, CZibMidWxDoc& doc, const wxString& title)
    : CMidiEditorFrame(&frame, doc, title)
{
    m_list = new CEventListCtrl(this, doc.Model());
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_list, 1, wxEXPAND);
    SetSizer(sizer);
    for (int id = NoteEvents; id <= TextEvents; ++id) {
        Bind(wxEVT_MENU, &CMidiEditFrameWndEx::OnCommand, this, cmd::ToWxId(id));
        Bind(wxEVT_UPDATE_UI, &CMidiEditFrameWndEx::OnUpdateCommand, this, cmd::ToWxId(id));
    }
    for (int id : kListCommands) {
        Bind(wxEVT_MENU, &CMidiEditFrameWndEx::OnCommand, this, cmd::ToWxId(id));
        Bind(wxEVT_UPDATE_UI, &CMidiEditFrameWndEx::OnUpdateCommand, this, cmd::ToWxId(id));
    }
    for (int id : kDocumentForwarded) {
        Bind(wxEVT_MENU, &CMidiEditFrameWndEx::OnCommand, this, cmd::ToWxId(id));
        Bind(wxEVT_UPDATE_UI, &CMidiEditFrameWndEx::OnUpdateCommand, this, cmd::ToWxId(id));
    }
    // The transport, walk and setup commands run as in the MIDI window.
    Bind(wxEVT_MENU, &CMidiEditFrameWndEx::OnCommand, this);
    Bind(wxEVT_UPDATE_UI, &CMidiEditFrameWndEx::OnUpdateCommand, this);
    Bind(wxEVT_CLOSE_WINDOW, &CMidiEditFrameWndEx::OnCloseWindow, this);
}

CMidiEditFrameWndEx::~CMidiEditFrameWndEx()
{
    if (DocumentAlive() && m_doc.m_EventEditor == this) {
        m_doc.m_EventEditor = nullptr;
        m_doc.m_EventEditorOpen = 0;
    }
}

void CMidiEditFrameWndEx::DropList()
{
    if (!m_list) return;
    m_list->Destroy();
    m_list = nullptr;
}

void CMidiEditFrameWndEx::FillStatus(ChildStatus& status) const
{
    status.kind = Kind();
    if (!m_list) return;
    status.eventRows = m_list->GetNumberRows();
    status.selectedRows = m_list->SelectedRowCount();
}

void CMidiEditFrameWndEx::ShowEvents(const std::vector<int>& rows)
{
    std::array<uint8_t, 65> shown{};
    for (int row : rows)
        if (row >= 0 && row < 64) shown[size_t(row + 1)] = 1;
    m_list->Model().SetShownTracks(shown);
    wxBusyCursor wait;
    m_list->RefillRows();
}

void CMidiEditFrameWndEx::RebuildList()
{
    m_list->RefillRows();
}

bool CMidiEditFrameWndEx::CommitCellEditor()
{
    return !m_list || m_list->CommitInPlaceEdit();
}

void CMidiEditFrameWndEx::ToggleFilter(int command)
{
    const int filter = FilterIndex(command);
    if (const std::optional<bool> shown = m_list->ToggleFilter(filter))
        m_filterShown[size_t(filter)] = *shown;
}

void CMidiEditFrameWndEx::OnUpdateCommand(wxUpdateUIEvent& event)
{
    if (!DocumentAlive() || !m_list) {
        event.Skip();
        return;
    }
    const int command = cmd::FromWxId(event.GetId());
    MidiCommandContext c = CChildSplitterMidFrame::CommandContext(m_doc, m_doc.TrackView(), command == EditPaste);
    c.listRowCount = m_list->GetNumberRows();
    c.listHasSelection = m_list->SelectedRowCount() > 0;
    c.fileKind = 1;
    c.filterShown = m_filterShown;
    const MidiCommandUi ui = MidiCommandState(command, ChildKind::MidiEditEx, c);
    ShowEditorState(event, ui);
}

void CMidiEditFrameWndEx::OnCommand(wxCommandEvent& event)
{
    if (!DocumentAlive() || !m_list) {
        event.Skip();
        return;
    }
    const int command = cmd::FromWxId(event.GetId());
    if (IsFilter(command)) {
        ToggleFilter(command);
        return;
    }
    switch (command) {
    case InsertItem:
    case InsertItemMenu:
        m_list->CreateEvent();
        return;
    case Delete:
        m_list->DeleteSelectedEvents();
        return;
    case MidiToText:
        m_list->Model().OnUtilDumpToText(wxToUtf8(GetTitle()));
        return;
    case EditCopy:
        m_list->CopyToClipboard();
        return;
    case EditPaste: {
        // The list pastes at the bar view's position; the other windows repaint after it.
        uint32_t here = 0;
        if (MidiPositionTarget* target = MidiWindowHooks().ActiveMidiTarget ? MidiWindowHooks().ActiveMidiTarget() : nullptr)
            here = target->CurrentTick();
        if (m_list->PasteEvents(here) == EditResult::Cancelled) return;
        if (CZibMidView* view = m_doc.TrackView()) view->RefreshViews(true);
        return;
    }
    case EditSelectAll:
        m_list->SelectAllRows();
        return;
    case TransposeEvents:
        if (!ShellPlaying()) m_list->TransposeEvents();
        return;
    case ShiftEvents:
        if (!ShellPlaying()) m_list->ShiftEvents();
        return;
    case EditUndo:
    case EditRedo:
        if (ShellPlaying()) return;
        m_list->ChangeRows([&] {
            if (command == EditUndo)
                m_doc.Model().Undo();
            else
                m_doc.Model().Redo();
        });
        return;
    case SetTempo:
        CommitCellEditor();
        return;
    default:
        break;
    }
    RunDocumentCommand(event, command);
}

void CMidiEditFrameWndEx::Deactivated()
{
    m_list->CloseCellEditor(); // leaving the editor commits an open cell edit
}

void CMidiEditFrameWndEx::OnCloseWindow(wxCloseEvent& event)
{
    // While MIDI plays nothing closes; a value typed into a cell goes into
    // the song first, and one that does not parse keeps the editor open.
    if (event.CanVeto() && (ShellPlaying() || (m_list && !CommitInPlaceEdits(*this)))) {
        event.Veto();
        return;
    }
    event.Skip();
}

} // namespace zib
