#include "mididoc/CMidiTempoTrackEditFrameWnd.h"

#include "ui/ShellServices.h"
#include "mididoc/CChildSplitterMidFrame.h"
#include "mididoc/CEventListCtrl.h"
#include "mididoc/CMidiEditFrameWndEx.h"
#include "mididoc/CTempoEventListCtrl.h"
#include "mididoc/CZibMidView.h"
#include "mididoc/CZibMidWxDoc.h"
#include "mididoc/core/MidiDocMenu.h"
#include "mididoc/core/MidiTransport.h"
#include "platform/WxText.h"

#include <wx/sizer.h>

namespace zib {

namespace {

using namespace midicmd;

// The view kind of each master-track command and tool button.
int viewKindOf(int command)
{
    switch (command) {
    case TimeSigEvents:
    case ViewTimeSigButton:
        return TempoTrackModel::kTimeSignatures;
    case MarkerEvents:
    case ViewMarkerButton:
        return TempoTrackModel::kMarkers;
    case TempoEvents:
    case ViewTempoButton:
        return TempoTrackModel::kTempo;
    case LyricsEvents:
    case ViewLyricsButton:
        return TempoTrackModel::kLyrics;
    case SysexEvents:
    case ViewSysexButton:
        return TempoTrackModel::kSysEx;
    case MasterTrack:
    case ViewAllButton:
        return TempoTrackModel::kAll;
    default:
        return -1;
    }
}

} // namespace

CMidiTempoTrackEditFrameWnd* CMidiTempoTrackEditFrameWnd::Open(ZibMdiParentFrame& frame, CZibMidWxDoc& doc, int viewKind)
{
    if (auto* open = dynamic_cast<CMidiTempoTrackEditFrameWnd*>(doc.m_TempoEditor); open && doc.m_TempoEditorOpen) {
        open->SetViewKind(viewKind);
        open->Activate();
        return open;
    }
    auto* editor = new CMidiTempoTrackEditFrameWnd(frame, doc, viewKind);
    doc.m_TempoEditor = editor;
    doc.m_TempoEditorOpen = 1;
    editor->Show();
    editor->Activate();
    return editor;
}

CMidiTempoTrackEditFrameWnd::CMidiTempoTrackEditFrameWnd(ZibMdiParentFrame& frame, CZibMidWxDoc& doc, int viewKind)
    : CMidiEditorFrame(&frame, doc, wxString()),
      m_model(std::make_unique<TempoTrackModel>(doc.Model(), viewKind))
{
    m_list = new CTempoEventListCtrl(this, *m_model);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_list, 1, wxEXPAND);
    SetSizer(sizer);
    // The notebook sized the frame before it had a sizer: the list takes its
    // place now, not at its default 20 x 20 until the next resize.
    Layout();
    TitleAfter(doc, [model = m_model.get()](const wxString& document) {
        return wxFromUtf8(model->Title(wxToUtf8(document)));
    });
    m_list->RefillList();
    Bind(wxEVT_MENU, &CMidiTempoTrackEditFrameWnd::OnCommand, this);
    Bind(wxEVT_UPDATE_UI, &CMidiTempoTrackEditFrameWnd::OnUpdateCommand, this);
    m_list->Bind(wxEVT_LIST_ITEM_SELECTED, &CMidiTempoTrackEditFrameWnd::OnItemClick, this);
    m_list->Bind(wxEVT_LIST_ITEM_ACTIVATED, &CMidiTempoTrackEditFrameWnd::OnItemActivated, this);
    m_list->Bind(wxEVT_LIST_KEY_DOWN, &CMidiTempoTrackEditFrameWnd::OnKey, this);
}

CMidiTempoTrackEditFrameWnd::~CMidiTempoTrackEditFrameWnd()
{
    if (DocumentAlive() && m_doc.m_TempoEditor == this) {
        m_doc.m_TempoEditor = nullptr;
        m_doc.m_TempoEditorOpen = 0;
    }
}

void CMidiTempoTrackEditFrameWnd::DropList()
{
    if (!m_list) return;
    m_list->Destroy();
    m_list = nullptr;
}

void CMidiTempoTrackEditFrameWnd::SetViewKind(int viewKind)
{
    m_model->SetViewKind(viewKind);
    Retitle();
    RefillList();
}

void CMidiTempoTrackEditFrameWnd::RefillList()
{
    m_list->RefillList();
}

void CMidiTempoTrackEditFrameWnd::SelectRowBeforeTick(uint32_t tick)
{
    if (!m_list) return;
    const int before = m_model->CurrentRow();
    const int row = m_model->SelectRowBeforeTick(tick);
    if (row == before || row < 0) return;
    m_followingPlayer = true;
    m_list->SelectRow(row);
    m_followingPlayer = false;
}

void CMidiTempoTrackEditFrameWnd::SelectRowAtEvent(uint32_t eventIndex)
{
    if (!m_list) return;
    m_followingPlayer = true;
    m_list->SelectRow(m_model->SelectRowAtEvent(eventIndex));
    m_followingPlayer = false;
}

void CMidiTempoTrackEditFrameWnd::AfterEdit()
{
    // The master track changed: this list, an open event editor and the MIDI window show it again.
    RefillList();
    if (auto* editor = dynamic_cast<CMidiEditFrameWndEx*>(m_doc.m_EventEditor)) editor->RebuildList();
    if (CZibMidView* view = m_doc.TrackView()) view->RefreshViews(true);
    if (MidiTransport* transport = m_doc.Transport()) transport->TempoTrackChanged();
}

bool CMidiTempoTrackEditFrameWnd::EventEditorCommitted()
{
    auto* editor = dynamic_cast<CMidiEditFrameWndEx*>(m_doc.m_EventEditor);
    return !editor || editor->CommitCellEditor();
}

void CMidiTempoTrackEditFrameWnd::Edit()
{
    // Edits of the master track wait while MIDI plays: the player reads it.
    if (ShellPlaying() || !EventEditorCommitted()) return;
    m_model->EditTempoTrackEvent(m_list->FocusedRow());
    AfterEdit();
}

void CMidiTempoTrackEditFrameWnd::OnUpdateCommand(wxUpdateUIEvent& event)
{
    if (!DocumentAlive() || !m_list) {
        event.Skip();
        return;
    }
    const int command = cmd::FromWxId(event.GetId());
    MidiCommandContext c = CChildSplitterMidFrame::CommandContext(m_doc, m_doc.TrackView(), false);
    c.tempoViewKind = m_model->ViewKind();
    const std::vector<int> selected = m_list->SelectedRows();
    c.tempoFirstTimeSigSelected = !selected.empty() && !m_model->DeleteEnabled(selected.front());
    c.tempoTimeSigOrAllFlag = !m_model->ShiftEnabled();
    const MidiCommandUi ui = MidiCommandState(command, ChildKind::MidiTempoTrackEdit, c);
    ShowEditorState(event, ui);
}

void CMidiTempoTrackEditFrameWnd::OnCommand(wxCommandEvent& event)
{
    if (!DocumentAlive() || !m_list) {
        event.Skip();
        return;
    }
    const int command = cmd::FromWxId(event.GetId());
    if (const int kind = viewKindOf(command); kind >= 0) {
        if (!ShellPlaying()) SetViewKind(kind);
        return;
    }
    switch (command) {
    case InsertItem:
    case InsertItemMenu:
        if (ShellPlaying() || !EventEditorCommitted()) return;
        m_model->InsertTempoTrackEvent(m_list->FocusedRow());
        AfterEdit();
        return;
    case Delete:
        // Edit > Delete works in the time-signature, marker and tempo views;
        // the Delete key deletes in every view.
        if (ShellPlaying() || m_model->ViewKind() > TempoTrackModel::kTempo || !EventEditorCommitted())
            return;
        m_model->DeleteSelectedEvents(m_list->SelectedRows());
        AfterEdit();
        return;
    case Properties:
        Edit();
        return;
    case ShiftEvents:
        if (ShellPlaying() || !m_model->ShiftEnabled() || !EventEditorCommitted()) return;
        m_model->ShiftEvents(m_list->SelectedRows());
        AfterEdit();
        return;
    case EditUndo:
    case EditRedo:
        if (ShellPlaying() || !EventEditorCommitted()) return;
        if (command == EditUndo)
            m_doc.Model().Undo();
        else
            m_doc.Model().Redo();
        AfterEdit();
        return;
    case SetTempo:
        EventEditorCommitted();
        return;
    default:
        break;
    }
    RunDocumentCommand(event, command);
}

void CMidiTempoTrackEditFrameWnd::OnItemClick(wxListEvent& event)
{
    if (!DocumentAlive()) return;
    event.Skip();
    m_model->SetCurrentRow(int(event.GetIndex()));
    // A row the player's position selected moves nothing back.
    if (ShellPlaying() || m_followingPlayer) return;
    // The bar view and an open event editor go to the clicked event.
    const uint32_t index = m_model->ClickedEventIndex(int(event.GetIndex()));
    if (MidiTransport* transport = m_doc.Transport()) transport->GoToEvent(int64_t(index));
    if (auto* editor = dynamic_cast<CMidiEditFrameWndEx*>(m_doc.m_EventEditor)) editor->List().SelectEventRow(index);
}

void CMidiTempoTrackEditFrameWnd::OnItemActivated(wxListEvent& event)
{
    if (!DocumentAlive()) return;
    if (event.GetIndex() < m_list->GetItemCount() - 1) Edit();
}

void CMidiTempoTrackEditFrameWnd::OnKey(wxListEvent& event)
{
    if (!DocumentAlive()) return;
    if (event.GetKeyCode() == WXK_DELETE) {
        // The Delete key in every view kind; it waits while MIDI plays.
        if (!ShellPlaying() && EventEditorCommitted()) {
            m_model->DeleteSelectedEvents(m_list->SelectedRows());
            AfterEdit();
        }
        return;
    }
    event.Skip();
}

} // namespace zib
