#include "mididoc/CMidiWindowPlayer.h"

#include "ui/CMainToolBar.h"
#include "ui/CZibMdiChild.h"
#include "ui/ShellServices.h"
#include "ui/core/PlayerSlot.h"
#include "devices/AppPlaybackHost.h"
#include "devices/CZibMidBarView.h"
#include "devices/core/BarGridModel.h"
#include "devices/core/PlaybackEngine.h"
#include "mididoc/CEventListCtrl.h"
#include "mididoc/CMidiEditFrameWndEx.h"
#include "mididoc/CMidiTempoTrackEditFrameWnd.h"
#include "mididoc/CMidiToolBarA.h"
#include "mididoc/CTrackListCtrl.h"
#include "mididoc/core/MidiDocMenu.h"
#include "mididoc/CMidiToolBarB.h"
#include "mididoc/CMidiToolBarC.h"
#include "mididoc/CZibMidView.h"
#include "mididoc/CZibMidWxDoc.h"
#include "platform/WxText.h"

#include <algorithm>
#include <cstdlib>

namespace zib {

namespace {

template <class Bar>
Bar* midiBar(MainBar which)
{
    ShellServices* frame = ShellFrame() ? ShellServices::Get() : nullptr;
    return frame ? dynamic_cast<Bar*>(frame->Toolbar(which)) : nullptr;
}

CMidiEditFrameWndEx* eventEditor(CZibMidWxDoc& doc)
{
    return doc.m_EventEditorOpen ? dynamic_cast<CMidiEditFrameWndEx*>(doc.m_EventEditor) : nullptr;
}

CMidiTempoTrackEditFrameWnd* tempoEditor(CZibMidWxDoc& doc)
{
    return doc.m_TempoEditorOpen ? dynamic_cast<CMidiTempoTrackEditFrameWnd*>(doc.m_TempoEditor) : nullptr;
}

} // namespace

CMidiWindowPlayer::CMidiWindowPlayer(wxWindow* parent, CZibMidWxDoc& doc)
    : WxPlaybackUi(parent), m_doc(doc), m_playback(doc.Model()), m_measures(doc.Model().Sequence())
{
    CZibMidBarView::Windows windows;
    windows.frame = this;
    m_view = new CZibMidBarView(parent, m_playback, AppPlaybackHost::Get(), windows);
}

CMidiWindowPlayer::~CMidiWindowPlayer()
{
    if (m_doc.Transport() == this) m_doc.SetTransport(nullptr);
    // The view's engine closes its ports while the document it plays is still here.
    delete m_view;
}

PlaybackEngine& CMidiWindowPlayer::Engine()
{
    return m_view->Engine();
}

bool CMidiWindowPlayer::DocumentActive() const
{
    ShellServices* frame = ShellFrame() ? ShellServices::Get() : nullptr;
    return frame && CZibMidWxDoc::OfWindow(frame->ActiveZibChild()) == &m_doc;
}

// ---- Transport ----------------------------------------------------------------------------

bool CMidiWindowPlayer::Populate()
{
    return m_view->PopulateView();
}

void CMidiWindowPlayer::Rebuild()
{
    m_view->PopulateView();
}

void CMidiWindowPlayer::PlayToggle()
{
    Shell().Player().StartStop(&Engine(), kMidiBarViewPlayer);
}

void CMidiWindowPlayer::Stop()
{
    // The buffers already queued play out; the end of the run shows where it stopped.
    PlayerSlot& player = Shell().Player();
    if (player.IsPlaying()) player.StartStop(&Engine(), kMidiBarViewPlayer);
}

void CMidiWindowPlayer::Record()
{
    Engine().OnRecord();
}

void CMidiWindowPlayer::ToggleLoop()
{
    Engine().ToggleLoop();
}

void CMidiWindowPlayer::Rewind()
{
    Engine().Rewind();
}

void CMidiWindowPlayer::GoToEnd()
{
    Engine().GoToEnd();
}

void CMidiWindowPlayer::NextBar()
{
    Engine().NextBar();
}

void CMidiWindowPlayer::PrevBar()
{
    Engine().PrevBar();
}

void CMidiWindowPlayer::GoToFrom()
{
    Engine().GoToStartMarker();
}

void CMidiWindowPlayer::GoToThru()
{
    Engine().GoToEndMarker();
}

void CMidiWindowPlayer::SetFromAtPosition()
{
    Engine().SetFromAtPosition();
}

void CMidiWindowPlayer::SetThruAtPosition(bool exact)
{
    if (exact)
        Engine().SetThruAtPosition();
    else
        Engine().SetThruBeforeMeasure();
}

void CMidiWindowPlayer::GoToEvent(int64_t index)
{
    Engine().GoToBarRow(index);
    Engine().SelectBarRow(index);
}

MetronomeSettings& CMidiWindowPlayer::Metronome()
{
    return Engine().Metronome();
}

void CMidiWindowPlayer::ShowTexts()
{
    PlaybackEngine& engine = Engine();
    engine.UpdatePositionText();
    engine.UpdateMarkerTexts();
    engine.ShowTempo();
    if (ShellServices* shell = ShellServices::Get()) shell->CheckToolbarButton(midicmd::SetLoop, m_doc.Model().m_LoopFlag ? 1 : 0);
}

void CMidiWindowPlayer::TempoTrackChanged()
{
    Engine().TempoTrackChanged();
}

// ---- The track list ---------------------------------------------------------------------------

void CMidiWindowPlayer::TrackSwitchesChanged()
{
    Engine().OnTrackSwitchesChanged();
}

void CMidiWindowPlayer::SendLiveValue(int row, bool volume, uint8_t value)
{
    if (volume)
        Engine().SendTrackVolume(value, row + 1);
    else
        Engine().SendTrackPan(value, row + 1);
}

void CMidiWindowPlayer::TracksChanged()
{
    // Each row's stretch of content, and the rows the document keeps
    // selected for the grid (they move with their tracks), painted again
    Engine().RebuildTrackEventRanges();
    const auto& selected = m_doc.Model().m_RowSelected;
    for (int r = 0; r < BarGridModel::kRows; ++r)
        m_view->SetRowSelected(r, selected[size_t(r)] != 0);
    m_view->Refresh(false);
}

void CMidiWindowPlayer::SelectRows(const std::vector<int>& rows, int hitRow)
{
    for (int r = 0; r < BarGridModel::kRows; ++r)
        m_view->SetRowSelected(r, std::find(rows.begin(), rows.end(), r) != rows.end() || r == hitRow);
    if (Engine().Thru().tick == 0) SetThruTick(m_doc.Model().Sequence().GetSequenceEndTick());
}

void CMidiWindowPlayer::ScrollRowsTo(int topRow)
{
    m_view->ScrollToVPos(topRow * m_view->RowHeight());
}

void CMidiWindowPlayer::PassKey(int keyCode)
{
    m_view->HandleNavKey(keyCode);
}

// ---- Position -----------------------------------------------------------------------------

uint32_t CMidiWindowPlayer::CurrentTick() const
{
    PlaybackEngine& engine = m_view->Engine();
    return engine.MbtToTicks(engine.PositionMeasure(), engine.PositionBeat(), engine.PositionTick());
}

uint32_t CMidiWindowPlayer::FromTick() const
{
    return m_view->Engine().From().tick;
}

uint32_t CMidiWindowPlayer::ThruTick() const
{
    return m_view->Engine().Thru().tick;
}

void CMidiWindowPlayer::GoToTick(uint32_t tick)
{
    uint32_t m = 0, b = 0, t = 0;
    Engine().TicksToMbt(tick, m, b, t);
    Engine().JumpToMbt(m, b, t);
}

void CMidiWindowPlayer::SetFromTick(uint32_t tick)
{
    uint32_t m = 0, b = 0, t = 0;
    Engine().TicksToMbt(tick, m, b, t);
    Engine().SetStartMarker(m, b, t);
}

void CMidiWindowPlayer::SetThruTick(uint32_t tick)
{
    uint32_t m = 0, b = 0, t = 0;
    Engine().TicksToMbt(tick, m, b, t);
    Engine().SetEndMarker(m, b, t);
}

void CMidiWindowPlayer::ChangeTempo(int bpm)
{
    // Three tempo bytes hold 60,000,000 / 4 at most.
    if (bpm < 4) return;
    Engine().ChangeCurrentTempo(uint32_t(bpm));
}

void CMidiWindowPlayer::TakeFocus()
{
    if (CZibMidView* view = m_doc.TrackView(); view && view->TrackList()) view->TrackList()->SetFocus();
}

// ---- The window's side of the reports -----------------------------------------------------

void CMidiWindowPlayer::SetPositionText(const std::string& text)
{
    if (!DocumentActive()) return;
    if (auto* bar = midiBar<CMidiToolBarA>(MainBar::MidiPosition)) bar->ShowPosition(wxFromUtf8(text));
}

void CMidiWindowPlayer::SetFromText(const std::string& text)
{
    if (!DocumentActive()) return;
    if (auto* bar = midiBar<CMidiToolBarB>(MainBar::MidiSelection)) bar->ShowFrom(wxFromUtf8(text));
}

void CMidiWindowPlayer::SetThruText(const std::string& text)
{
    if (!DocumentActive()) return;
    if (auto* bar = midiBar<CMidiToolBarB>(MainBar::MidiSelection)) bar->ShowThru(wxFromUtf8(text));
}

void CMidiWindowPlayer::SetTempoText(const std::string& text)
{
    if (!DocumentActive()) return;
    if (auto* bar = midiBar<CMidiToolBarC>(MainBar::MidiTempo)) bar->ShowTempo(std::atoi(text.c_str()));
}

void CMidiWindowPlayer::EditorsFollowTick(uint32_t tick)
{
    if (CMidiEditFrameWndEx* editor = eventEditor(m_doc)) editor->List().FollowTick(tick);
    if (CMidiTempoTrackEditFrameWnd* editor = tempoEditor(m_doc)) editor->SelectRowBeforeTick(tick);
}

void CMidiWindowPlayer::SyncEditorsToTick(uint32_t tick)
{
    // Asked as a run starts, before its ports open: the editors go to the
    // start once it has started. A run that could not start (no output, its
    // box answered) leaves their rows, selection and scrolling as they were,
    // so the next double click lands on the cell the user sees.
    m_view->CallAfter([this, tick] {
        PlayerSlot& player = Shell().Player();
        if (!player.IsPlaying() || player.Active() != &Engine()) return;
        if (CMidiEditFrameWndEx* editor = eventEditor(m_doc)) editor->List().SelectRowAtTick(tick);
        if (CMidiTempoTrackEditFrameWnd* editor = tempoEditor(m_doc)) editor->SelectRowBeforeTick(tick);
    });
}

void CMidiWindowPlayer::EditorsToEventIndex(int64_t index)
{
    if (index < 0) return;
    if (CMidiEditFrameWndEx* editor = eventEditor(m_doc)) editor->List().SelectEventRow(uint32_t(index));
    if (CMidiTempoTrackEditFrameWnd* editor = tempoEditor(m_doc)) editor->SelectRowAtEvent(uint32_t(index));
}

void CMidiWindowPlayer::RefreshTempoEditor()
{
    if (CMidiTempoTrackEditFrameWnd* editor = tempoEditor(m_doc)) editor->RefillList();
}

void CMidiWindowPlayer::RefreshEventEditor()
{
    if (CMidiEditFrameWndEx* editor = eventEditor(m_doc)) editor->CommitCellEditor();
}

void CMidiWindowPlayer::PlaybackFinished(bool sequenceChanged)
{
    // A recorded take or the mix set while playing changed the tracks.
    if (CZibMidView* view = m_doc.TrackView()) view->RefreshViews(true);
    if (sequenceChanged) {
        if (CMidiEditFrameWndEx* editor = eventEditor(m_doc)) editor->RebuildList();
        RefreshTempoEditor();
    }
    m_doc.Modify(m_doc.Model().IsModified());
}

} // namespace zib
