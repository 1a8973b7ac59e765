#include "mididoc/CChildSplitterMidFrame.h"

#include "ui/ShellServices.h"
#include "ui/ZibSubsystems.h"
#include "ui/core/ZibSettings.h"
#include "mididoc/CMidiEditFrameWndEx.h"
#include "mididoc/CMidiEditorFrame.h"
#include "mididoc/CMidiTempoTrackEditFrameWnd.h"
#include "devices/CZibMidBarView.h"
#include "mididoc/CMidiWindowPlayer.h"
#include "mididoc/CZibEventClipboard.h"
#include "mididoc/CZibMidView.h"
#include "mididoc/CZibMidWxDoc.h"
#include "mididoc/MidiDocSubsystem.h"
#include "mididoc/core/MidiDocMenu.h"
#include "mididoc/core/MidiTransport.h"
#include "mididoc/core/SequenceMeasureContext.h"
#include "mididoc/dialogs/CMetronomDlg.h"

#include <algorithm>
#include <iterator>
#include <wx/sizer.h>
#include <wx/splitter.h>

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CChildSplitterMidFrame, ZibMdiChildFrame);

namespace {

using namespace midicmd;

// The commands the frame takes itself; the document takes its own (dumps,
// conversions, Select All, Undo, Redo, Save) and the application the setup
// commands it owns.
constexpr int kFrameCommands[] = {
    Play, Stop, Record, StartStopPlayback, Rewind, GoToEnd, FirstMeasure, LastMeasure, NextMeasure,
    NextMeasureMenu, PreviousMeasure, PreviousMeasureMenu, GoToFromButton, GoToThruButton, GoToMbt, GoToFrom,
    GoToThru, SetFrom, SetThru, SetLoop, SetTempo, SetFromThru, Delete, InsertItem, InsertItemMenu,
    DeleteFromThru, EditCopy, EditPaste, TransposeEvents, ShiftEvents, Properties, RenameTrack, TransposeMidiFile,
    MidiClock, TrackRecordInput, MidiRecordSettings, MetronomSettings, Instruments, EditItem, MasterTrack,
    TimeSigEvents, MarkerEvents, TempoEvents, LyricsEvents, SysexEvents};

// Commands whose enabling the frame decides, whoever runs them.
constexpr int kStateOnlyCommands[] = {EditUndo, EditRedo, EditSelectAll, FileTextDump, MidiToText, MidiToWqStyle,
                                      MidiToQe4kStyle, MidiPortsSettings};

} // namespace

CChildSplitterMidFrame::CChildSplitterMidFrame()
{
    for (int id : kFrameCommands) {
        Bind(wxEVT_MENU, &CChildSplitterMidFrame::OnCommand, this, cmd::ToWxId(id));
        Bind(wxEVT_UPDATE_UI, &CChildSplitterMidFrame::OnUpdateCommand, this, cmd::ToWxId(id));
    }
    for (int id : kStateOnlyCommands) Bind(wxEVT_UPDATE_UI, &CChildSplitterMidFrame::OnUpdateCommand, this, cmd::ToWxId(id));
    Bind(wxEVT_ACTIVATE, &CChildSplitterMidFrame::OnActivate, this);
    Bind(wxEVT_CLOSE_WINDOW, &CChildSplitterMidFrame::OnCloseWindow, this);
    Bind(wxEVT_IDLE, &CChildSplitterMidFrame::OnIdle, this);
}

void CChildSplitterMidFrame::OnIdle(wxIdleEvent& event)
{
    event.Skip();
    // Edits reach the document's model on many roads (lists, dialogs, undo);
    // the title and the tab take the unsaved-changes mark from the model.
    if (CZibMidWxDoc* doc = Doc()) doc->SyncFromModel();
}

wxSplitterWindow* CChildSplitterMidFrame::Splitter()
{
    if (!m_splitter) {
        m_splitter = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                          wxSP_LIVE_UPDATE | wxSP_3D);
        m_splitter->SetMinimumPaneSize(20);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_splitter, 1, wxEXPAND);
        SetSizer(sizer);
    }
    return m_splitter;
}

CChildSplitterMidFrame::~CChildSplitterMidFrame()
{
    DropPlayer(); // already gone with the track list's view, unless the window never had one
}

void CChildSplitterMidFrame::SetPanes(wxWindow* trackList, int trackListWidth)
{
    wxSplitterWindow* splitter = Splitter();
    auto* doc = dynamic_cast<CZibMidWxDoc*>(GetDocument());
    if (doc) {
        m_player = std::make_unique<CMidiWindowPlayer>(splitter, *doc);
        doc->SetTransport(m_player.get());
        splitter->SplitVertically(trackList, &m_player->View(), trackListWidth);
    } else {
        splitter->Initialize(trackList);
    }
    Layout();
}

void CChildSplitterMidFrame::DropPlayer()
{
    // The track list's view drops the player while its document is still here.
    if (!m_player) return;
    if (m_splitter && m_splitter->IsSplit()) m_splitter->Unsplit(&m_player->View());
    m_player.reset();
}

CZibMidWxDoc* CChildSplitterMidFrame::Doc() const
{
    return CZibMidWxDoc::OfWindow(const_cast<CChildSplitterMidFrame*>(this));
}

MidiCommandContext CChildSplitterMidFrame::CommandContext(CZibMidWxDoc& doc, CZibMidView* trackList, bool clipboard)
{
    MidiDocModel& model = doc.Model();
    MidiCommandContext c;
    c.playing = ShellPlaying();
    c.undoAvailable = model.UndoManager().CanUndo();
    c.redoAvailable = model.UndoManager().CanRedo();
    c.hasTracks = model.HasTrackRecords();
    c.recordFlag = model.m_RecordFlag != 0;
    c.loopFlag = model.m_LoopFlag != 0;
    for (int row = 0; row < model.TrackRecordCount(); ++row) {
        const CTrackInfo* t = model.TrackRecord(row);
        if (t && t->record && (t->recordChannel & 0xFFFF) != 0) c.recordArmedWithInput = true;
    }
    c.trackListHasFocusedRow = trackList && trackList->FocusedRow() >= 0;
    // Asking the clipboard waits for its owner: only Paste asks.
    c.clipboardHasZib = clipboard && CZibEventClipboard::Offers();
    return c;
}

void CChildSplitterMidFrame::OnUpdateCommand(wxUpdateUIEvent& event)
{
    CZibMidWxDoc* doc = Doc();
    if (!doc) {
        event.Enable(false);
        return;
    }
    const int command = cmd::FromWxId(event.GetId());
    const MidiCommandUi ui = MidiCommandState(command, ChildKind::ChildSplitterMid,
                                             CommandContext(*doc, doc->TrackView(), command == EditPaste));
    if (ui.routed) CMidiEditorFrame::ShowState(event, ui);
}

void CChildSplitterMidFrame::OnCommand(wxCommandEvent& event)
{
    if (CZibMidWxDoc* doc = Doc()) RunDocumentCommand(*doc, cmd::FromWxId(event.GetId()), false);
}

bool CChildSplitterMidFrame::IsDocumentCommand(int command)
{
    return std::find(std::begin(kFrameCommands), std::end(kFrameCommands), command) != std::end(kFrameCommands);
}

void CChildSplitterMidFrame::RunDocumentCommand(CZibMidWxDoc& docRef, int command, bool exactThru)
{
    CZibMidWxDoc* doc = &docRef;
    MidiDocModel& model = doc->Model();
    CZibMidView* view = doc->TrackView();
    const std::vector<int> rows = view ? view->SelectedRows() : std::vector<int>{};
    const int focused = view ? view->FocusedRow() : -1;
    MidiTransport* transport = doc->Transport();
    const uint32_t from = transport ? transport->FromTick() : 0;
    const uint32_t thru = transport ? transport->ThruTick() : 0;
    const uint32_t here = transport ? transport->CurrentTick() : 0;

    // Transport and walk: the bar view's player (most wait while MIDI plays).
    if (transport) {
        switch (command) {
        case Play:
        case StartStopPlayback:
            transport->PlayToggle();
            return;
        case Stop:
            transport->Stop();
            return;
        case Record:
            transport->Record();
            return;
        case SetLoop:
            if (!model.m_RecordFlag) transport->ToggleLoop();
            return;
        case SetTempo:
            return; // the tempo field sets it; an open editor's cell editor goes (see the editors)
        default:
            break;
        }
        if (ShellPlaying()) return;
        switch (command) {
        case Rewind:
        case FirstMeasure:
            transport->Rewind();
            return;
        case GoToEnd:
        case LastMeasure:
            transport->GoToEnd();
            return;
        case NextMeasure:
        case NextMeasureMenu:
            transport->NextBar();
            return;
        case PreviousMeasure:
        case PreviousMeasureMenu:
            transport->PrevBar();
            return;
        case GoToFrom:
        case GoToFromButton:
            transport->GoToFrom();
            return;
        case GoToThru:
        case GoToThruButton:
            transport->GoToThru();
            return;
        case SetFrom:
            transport->SetFromAtPosition();
            return;
        case SetThru:
            // The event editors take the exact position, the MIDI window the end of the previous bar.
            transport->SetThruAtPosition(exactThru);
            return;
        case GoToMbt:
            model.GoToPosition(here);
            return;
        case SetFromThru:
            if (auto ticks = model.SetFromThru(from, thru)) {
                transport->SetFromTick(ticks->from);
                transport->SetThruTick(ticks->thru);
            }
            return;
        case MetronomSettings: {
            const auto& ports = Shell().Settings().UserMidiOutPorts;
            int enabled = 0;
            for (int p = 0; p < UserMidiPortMap::kPorts; ++p)
                if (ports[p].enabled == 1 && ports[p].deviceId < 128) ++enabled;
            CMetronomDlg dlg(ShellFrame(), transport->Metronome(), enabled);
            if (dlg.ShowModal() == wxID_OK) transport->Metronome() = dlg.Settings();
            return;
        }
        default:
            break;
        }
    }
    if (ShellPlaying()) return;
    switch (command) {
    case Delete:
        model.OnEditDeleteTrack(rows);
        break;
    case InsertItem:
    case InsertItemMenu:
        model.InsertMidiTrack(focused < 0 ? 0 : focused);
        break;
    case DeleteFromThru:
        model.DeleteFromThru(rows, from, thru);
        break;
    case EditCopy:
        model.CopyToClipboardFromThru(from, thru);
        break;
    case EditPaste:
        model.OnEditPaste(here); // freezes and repaints the windows through its views
        break;
    case TransposeEvents:
        model.TransposeSelectedTracksFromThru(rows, from, thru);
        break;
    case ShiftEvents:
        model.ShiftSelectedTracksFromThru(rows, from, thru);
        break;
    case Properties:
        if (focused >= 0) model.OnEditMidiTrackProperties(focused, 0);
        break;
    case RenameTrack:
        if (view) view->RenameFocusedTrack();
        break;
    case TransposeMidiFile:
        model.OnUtilTranspose();
        break;
    case MidiClock:
        model.ChangeDivision();
        break;
    case TrackRecordInput:
        model.TrackRecordInput(focused);
        break;
    case MidiRecordSettings:
        model.MidiRecordSettings();
        break;
    case Instruments:
        if (auto& run = Shell().Subsystems().RunInstrumentsDialog) run();
        break;
    case EditItem:
        if (ZibMdiParentFrame* frame = ShellFrame()) CMidiEditFrameWndEx::Open(*frame, *doc, rows);
        break;
    case MasterTrack:
    case TimeSigEvents:
    case MarkerEvents:
    case TempoEvents:
    case LyricsEvents:
    case SysexEvents: {
        static constexpr std::pair<int, int> kinds[] = {{TimeSigEvents, 0}, {MarkerEvents, 1}, {TempoEvents, 2},
                                                        {LyricsEvents, 3},  {SysexEvents, 4},  {MasterTrack, 5}};
        int kind = 5;
        for (auto [id, k] : kinds)
            if (id == command) kind = k;
        if (ZibMdiParentFrame* frame = ShellFrame()) CMidiTempoTrackEditFrameWnd::Open(*frame, *doc, kind);
        break;
    }
    default:
        break;
    }
}

void CChildSplitterMidFrame::ShowTransport(CZibMidWxDoc& doc)
{
    if (MidiTransport* transport = doc.Transport()) transport->ShowTexts();
}

void CChildSplitterMidFrame::OnActivate(wxActivateEvent& event)
{
    event.Skip();
    if (CZibMidWxDoc* doc = event.GetActive() ? Doc() : nullptr) ShowTransport(*doc);
}

void CChildSplitterMidFrame::OnCloseWindow(wxCloseEvent& event)
{
    // The player reads the document while MIDI plays.
    if (ShellPlaying() && event.CanVeto()) {
        event.Veto();
        return;
    }
    event.Skip();
}

} // namespace zib
