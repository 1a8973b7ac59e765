#include "mididoc/CTrackEditorFrame.h"

#include "ui/InPlaceEditor.h"
#include "ui/ShellServices.h"
#include "ui/core/CommandIds.h"
#include "mididoc/CEventListCtrl.h"
#include "mididoc/CMidiEditorFrame.h"
#include "mididoc/CZibEventClipboard.h"
#include "mididoc/core/MidiCommandState.h"
#include "mididoc/core/MidiDocMenu.h"
#include "mididoc/core/TrackEditorHost.h"
#include "mididoc/core/TrackEditorOwner.h"
#include "platform/WxText.h"

#include <wx/accel.h>
#include <wx/sizer.h>

namespace zib {

namespace {

using namespace midicmd;

constexpr int kTrackEditorMenuId = 225;

} // namespace

CTrackEditorFrame::CTrackEditorFrame(ZibMdiParentFrame& frame, const wxString& title, TrackEditorHost& host, int trackIndex)
    : CZibMdiChild(&frame, wxID_ANY, title), m_host(host)
{
    m_list = new CEventListCtrl(this, host.Owner());
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_list, 1, wxEXPAND);
    SetSizer(sizer);
    // A Qe-series track lists its meta and system-exclusive events from the start.
    if (IsQeModelLetter(uint8_t(host.Owner().ListModelLetter())))
        m_list->Model().SetCategoryFlag(EventListModel::kTexts, 1);
    ShowTrack(trackIndex, title);
    // Ctrl+S saves the document of the edited track; the menu has no Save of its own.
    wxAcceleratorEntry save(wxACCEL_CTRL, 'S', cmd::ToWxId(FileSave));
    SetAcceleratorTable(wxAcceleratorTable(1, &save));
    Bind(wxEVT_MENU, &CTrackEditorFrame::OnCommand, this);
    Bind(wxEVT_UPDATE_UI, &CTrackEditorFrame::OnUpdateCommand, this);
    Bind(wxEVT_CLOSE_WINDOW, &CTrackEditorFrame::OnCloseWindow, this);
    Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& e) {
        if (!e.GetActive() && m_list) m_list->CloseCellEditor();
        e.Skip();
    });
}

CTrackEditorFrame::~CTrackEditorFrame()
{
    // The list goes before the host it works for.
    DestroyChildren();
}

wxDocument* CTrackEditorFrame::OwnerDocument() const
{
    return m_list ? m_document : nullptr;
}

int CTrackEditorFrame::MenuTemplateId() const
{
    return kTrackEditorMenuId;
}

const MenuBarDef* CTrackEditorFrame::OwnMenu() const
{
    static const MenuBarDef menu = TrackEditorMenuDef();
    return &menu;
}

void CTrackEditorFrame::FillStatus(ChildStatus& status) const
{
    status.kind = Kind();
    if (!m_list) return;
    status.eventRows = m_list->GetNumberRows();
    status.selectedRows = m_list->SelectedRowCount();
}

void CTrackEditorFrame::ShowTrack(int trackIndex, const wxString& title)
{
    // An open cell of the track shown so far goes in first.
    if (m_list && !m_list->ChangeRows([&] { m_list->Model().ShowOnlyTrack(trackIndex + 1); })) return;
    SetTitle(title);
}

void CTrackEditorFrame::OnUpdateCommand(wxUpdateUIEvent& event)
{
    if (!m_list) {
        event.Skip();
        return;
    }
    const int command = cmd::FromWxId(event.GetId());
    TrackEditorOwner& owner = m_host.Owner();
    MidiCommandContext c;
    c.playing = owner.ListPlaying();
    c.undoAvailable = owner.Undo().CanUndo();
    c.redoAvailable = owner.Undo().CanRedo();
    c.listRowCount = m_list->GetNumberRows();
    c.listHasSelection = m_list->SelectedRowCount() > 0;
    c.fileKind = int(owner.ListDocKind());
    c.modelLetter = uint8_t(owner.ListModelLetter());
    c.clipboardHasZib = command == EditPaste && CZibEventClipboard::Offers();
    c.filterShown = m_filterShown;
    CMidiEditorFrame::ShowState(event, MidiCommandState(command, Kind(), c));
}

void CTrackEditorFrame::OnCommand(wxCommandEvent& event)
{
    if (!m_list) {
        event.Skip();
        return;
    }
    const int command = cmd::FromWxId(event.GetId());
    TrackEditorOwner& owner = m_host.Owner();
    if (IsFilter(command)) {
        const int filter = FilterIndex(command);
        if (const std::optional<bool> shown = m_list->ToggleFilter(filter))
            m_filterShown[size_t(filter)] = *shown;
        return;
    }
    switch (command) {
    case EditCopy:
        m_list->CopyToClipboard();
        return;
    case EditPaste:
        if (m_list->PasteEvents(0) != EditResult::Cancelled) m_host.SetItemIcon(m_list->GetNumberRows() > 1);
        return;
    case InsertItem: {
        const int before = m_list->GetNumberRows();
        m_list->CreateEvent();
        if (m_list->GetNumberRows() > before) m_host.SetItemIcon(true);
        return;
    }
    case Delete:
        // With at most the trailing row left the track holds nothing.
        if (m_list->DeleteSelectedEvents() != EditResult::Cancelled && m_list->GetNumberRows() <= 1)
            m_host.SetItemIcon(false);
        return;
    case DumpToText:
        m_list->Model().OnUtilDumpToText(wxToUtf8(GetTitle()));
        return;
    case FileSave:
        // The typed value goes in first; one that does not parse stops the save.
        if (CommitInPlaceEdits(*this)) m_host.SaveDocument();
        return;
    case EditUndo:
    case EditRedo:
        if (owner.ListPlaying()) return;
        m_list->ChangeRows([&] {
            if (command == EditUndo)
                owner.Undo().Undo();
            else
                owner.Undo().Redo();
        });
        return;
    default:
        event.Skip();
    }
}

void CTrackEditorFrame::OnCloseWindow(wxCloseEvent& event)
{
    // A value typed into a cell goes in before the sequence goes back; one
    // that does not parse keeps the editor open.
    if (m_list && event.CanVeto() && !CommitInPlaceEdits(*this)) {
        event.Veto();
        return;
    }
    // The undo history lives as long as the editor; the sequence goes back to the document.
    if (m_list) {
        m_list->Destroy();
        m_list = nullptr;
        m_host.Owner().Undo().ClearAll();
        m_host.EditorClosed();
    }
    event.Skip();
}

} // namespace zib
