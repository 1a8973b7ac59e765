#include "devices/core/CMidiBarPlayer.h"

#include "devices/core/CStreamBuffers.h"
#include "devices/core/IPlayerHost.h"
#include "devices/core/IPlayerView.h"
#include "devices/core/PlaybackTexts.h"
#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"
#include "platform/ByteCursor.h"
#include "devices/core/CMidiInPort.h"
#include "devices/core/CMidiStream.h"
#include "devices/core/CMidiSystem.h"

#include <algorithm>
#include <vector>

namespace zib {

namespace {

bool usablePort(const MidiPortEntry& e)
{
    return e.enabled == 1 && e.deviceId < 128;
}

} // namespace

CMidiBarPlayer::CMidiBarPlayer(IPlaybackDocument& document, IPlayerView& view, IPlayerHost& host)
    : m_doc(document), m_view(view), m_host(host), m_slot(host.Players())
{
}

// The window is going: the run is finished at once (a take is kept), every
// device is stopped and closed, and nothing is shown or posted any more.
CMidiBarPlayer::~CMidiBarPlayer()
{
    {
        std::lock_guard lock(m_mutex);
        m_shuttingDown = true;
    }
    FinishMidiPlayback(kEndOfPlayback);
    Shutdown();
}

uint32_t CMidiBarPlayer::SequenceDivision() const
{
    const uint16_t d = m_doc.Sequence().GetDivision();
    return d != 0 ? d : 96;
}

bool CMidiBarPlayer::PrepareForDocument()
{
    std::lock_guard lock(m_mutex);
    if (!BuildMeasureTable()) return false;
    m_maxNopStep = std::max<uint32_t>(1, SequenceDivision() / 16);
    ResetChaseToFirstValues();
    m_view.DrawPositionCursor();
    UpdatePositionText();
    uint32_t m = 0, b = 0, t = 0;
    TicksToMbt(m_from.tick, m, b, t);
    m_view.SetFromText(FormatMarkerText(m, b, t));
    TicksToMbt(m_thru.tick, m, b, t);
    m_view.SetThruText(FormatMarkerText(m, b, t));
    m_tempoShown = m_initialTempo = m_doc.Sequence().GetInitialTempo();
    ShowTempo();
    m_doc.SetLoopFlag(0);
    m_view.SetLoopButton(false);
    return true;
}

// ---- Start, stop and finish --------------------------------------------------

void CMidiBarPlayer::StartMidiPlayback()
{
    std::unique_lock lock(m_mutex);
    if (IsPlaying()) {
        lock.unlock();
        StopMidiPlayback();
        return;
    }
    if (m_state != StreamState::Playing) return; // the last run is still draining

    m_view.DrawPositionCursor();
    RecomputeMixFlags();

    m_state = StreamState::Playing;
    m_freeBuffers = kBufferCount;
    m_midiInOpen = false;
    m_sequenceChanged = false;
    m_hangingNotes = false;
    m_clickSounding = false;
    m_firstInserted = INT64_MAX;
    m_insertionHint = 0;
    m_heldNotes = 0;

    CMidiParserEx& seq = m_doc.Sequence();
    const auto& events = seq.GetEvents();
    const int64_t count = int64_t(events.size());
    const bool recording = m_doc.RecordFlag() != 0;

    // Where to start
    if (!recording) {
        if (count == 0) return;
        if (MbtToTicks(m_posMeasure, m_posBeat, m_posTick) > events.back()->time) {
            m_posMeasure = m_posBeat = m_posTick = 0;
            m_posIndex = 0;
        }
    }
    m_startTick = MbtToTicks(m_posMeasure, m_posBeat, m_posTick);
    // A loop needs a length: From == Thru would spin on empty wraps.
    m_loopRun = m_thru.tick > m_from.tick;
    if (m_doc.LoopFlag() && m_loopRun && m_thru.tick <= m_startTick) {
        m_startTick = m_from.tick;
        m_from.index = FindEventAtTick(m_from.tick, 0);
    }
    m_curIndex = FindEventAtTick(m_startTick, 0);
    if (m_curIndex < 0) {
        if (!recording) return;
        m_curIndex = count;
    }
    m_lastIndex = -1;
    for (int64_t i = count - 1; i >= 0; --i)
        if (events[size_t(i)]->track != 0 && events[size_t(i)]->status != 0xFF) {
            m_lastIndex = i;
            break;
        }
    if (!recording && (m_lastIndex < 0 || m_lastIndex <= m_curIndex)) return;
    if (recording && m_lastIndex < 0) m_lastIndex = count - 1;

    // Metronome and pre-count
    m_metronomeOn = m_metronome.SoundsFor(recording);
    if (m_metronomeOn) {
        uint32_t m = 0, b = 0, t = 0;
        TicksToMbt(m_startTick, m, b, t);
        const int number = std::clamp(m_metronome.precountNumber, 0, 20);
        m_clicksTotal = m_metronome.precountUnit == 0 ? number * seq.GetNumeratorAtMeasure(m) : number;
        m_clicksRemaining = m_clicksTotal;
        m_precountActive = m_clicksTotal != 0;
    } else {
        m_clicksTotal = 0;
        m_clicksRemaining = -1;
        m_precountActive = false;
    }
    m_precountTicks = 0;

    ChaseTrackState(m_curIndex);
    m_runningTick.fill(m_startTick);
    for (int row = 0; row < m_doc.TrackRecordCount(); ++row) {
        const PlaybackTrack t = m_doc.Track(row);
        m_doc.SetLiveMix(row, t.volume, t.pan);
    }

    m_portsInSync = true;
    m_nextPort = 0;
    m_portSynced.fill(0);
    m_lastClickTick = m_startTick + 1; // so a click can fall on the start tick
    m_fillTick = m_playedTick = m_startTick;
    m_playedIndex = m_curIndex;
    m_loopEnd = false;
    m_endMarkerQueued = false;
    m_displayedTick = m_startTick;
    m_editorsTick = UINT32_MAX;
    m_pendingTempo = 0;
    m_tempoStreamCount = 0;
    m_maxNopStep = std::max<uint32_t>(1, SequenceDivision() / 16);
    m_view.SyncEditorsToTick(m_startTick);

    if (!BuildMeasureTable()) {
        m_view.ShowMessage(kMsgMeasureParameter, "StartMidiPlayback", PlayerIcon::Stop);
        return;
    }
    m_tempoAtFrom = TempoInEffectAt(m_from.tick);

    CStreamBuffers& buffers = m_host.StreamBuffers();
    if (!buffers.Alloc()) {
        m_state = StreamState::Playing;
        m_slot.Clear();
        m_doc.SetRecordFlag(0);
        m_view.ShowMessage(kMsgAllocateBuffers, "StartMidiPlayback", PlayerIcon::Exclamation);
        return;
    }
    for (int i = 0; i < kBufferCount; ++i) {
        ByteWriter& b = buffers.Buffer(size_t(i));
        b.clear();
        m_headers[size_t(i)] = MidiHeader{};
        m_headers[size_t(i)].data = b.data();
        m_headers[size_t(i)].bufferLength = uint32_t(CStreamBuffers::kCapacity);
        m_headers[size_t(i)].user = uintptr_t(i);
        m_records[size_t(i)] = BufferRecord{};
    }

    if (OpenMidiOutPorts() == 0) {
        m_view.ShowMessage(kMsgOpenAnyPort, "StartMidiPlayback", PlayerIcon::Exclamation);
        return;
    }
    PauseMidiOutPorts();
    m_slot.SetPlaying(this, PlayerKind::MidiBarView);
    if (OpenMidiIn() > 0) StartMidiIn();
    SendStartState();

    for (int i = 0; i < kBufferCount; ++i) {
        const int r = FillStreamBuffer(i);
        if (r == kQueued) {
            --m_freeBuffers;
            continue;
        }
        if (r == kNothingMore) break;
        if (m_freeBuffers == kBufferCount) {
            m_slot.Clear();
            EnterFinished();
        } else {
            m_state = StreamState::StopPending;
            RestartMidiOutPorts();
        }
        return;
    }
    if (m_freeBuffers == kBufferCount) { // nothing to play: end at once rather than wait for nothing
        m_slot.Clear();
        EnterFinished();
        return;
    }
    if (RestartMidiOutPorts() == 0) {
        m_state = StreamState::Playing;
        m_slot.Clear();
        m_doc.SetRecordFlag(0);
        m_view.PostPlaybackEnd(0);
        m_view.ShowMessage(kMsgRestartPorts, "StartMidiPlayback", PlayerIcon::Exclamation);
        return;
    }
    m_slot.SetPlaying(this, PlayerKind::MidiBarView);
}

void CMidiBarPlayer::EnterFinished()
{
    m_state = StreamState::Finished;
    if (!m_shuttingDown) m_view.PostPlaybackEnd(kEndOfPlayback);
}

void CMidiBarPlayer::StopMidiPlayback()
{
    std::lock_guard lock(m_mutex);
    if (!IsPlaying() || m_slot.ActivePlayer() != this) return; // another player is not ours to stop
    if (m_state == StreamState::Playing) {
        if (m_freeBuffers == kBufferCount)
            EnterFinished();
        else
            m_state = StreamState::StopPending;
    } else if (m_freeBuffers == kBufferCount) {
        EnterFinished();
    }
}

void CMidiBarPlayer::FinishMidiPlayback(int /*code*/)
{
    bool inputWasOpen;
    {
        std::lock_guard lock(m_mutex);
        if (m_state != StreamState::Playing && m_state != StreamState::Finished) return;
        m_doc.SetRecordFlag(0);
        inputWasOpen = m_midiInOpen;
    }
    if (inputWasOpen) CloseMidiIn();

    std::unique_lock lock(m_mutex);
    if (inputWasOpen) {
        if (m_heldNotes > 0) CloseHeldNotesAt(m_playedTick, 0);
        m_heldNotes = 0;
        m_doc.Sequence().Renumber(0);
        RefreshTrackCounts();
        if (m_sequenceChanged) RecordUndoForRecording();
    }
    if (m_slot.ActivePlayer() == this) m_slot.Clear();
    m_state = StreamState::Playing;
    for (const auto& e : m_doc.Sequence().GetEvents()) e->played = 0;

    // The position stays where the last returned buffer ended.
    SetPositionFromTick(m_playedTick);
    lock.unlock();
    CloseMidiOutPorts();
    lock.lock();
    if (m_shuttingDown) return;
    const bool changed = m_sequenceChanged;
    m_sequenceChanged = false;
    m_view.PlaybackFinished(changed);
}

void CMidiBarPlayer::OnRecord()
{
    bool start = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_doc.RecordFlag() == 0) {
            m_doc.SetRecordFlag(1);
            start = !IsPlaying();
        } else {
            m_doc.SetRecordFlag(0);
        }
    }
    if (start) StartMidiPlayback();
}

void CMidiBarPlayer::Shutdown()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_slot.ActivePlayer() == this) m_slot.Clear();
    }
    CloseMidiIn();
    // Streams that still hold buffers give them back first.
    for (auto& s : m_streams)
        if (s) s->Stop();
    CloseMidiOutPorts();
}

// ---- Output ports -------------------------------------------------------------

int CMidiBarPlayer::OpenMidiOutPorts()
{
    CMidiSystem& midi = m_host.Midi();
    const uint32_t tempo = TempoInEffectAt(m_startTick);
    int opened = 0;
    for (int p = 0; p < kPorts; ++p) {
        m_handles[size_t(p)] = nullptr;
        m_streams[size_t(p)].reset();
        const MidiPortEntry entry = m_host.OutPort(p);
        if (!usablePort(entry)) {
            m_handles[size_t(p)] = m_handles[0]; // streams are shared by handle
            continue;
        }
        std::unique_ptr<CMidiStream> stream;
        const MidiResult r = midi.OpenStream(entry.deviceId, *this, stream);
        if (!Succeeded(r) || !stream) {
            if (p == 0) {
                m_view.ShowMessage(kMsgOpenDefaultPort, "OpenMidiOutPorts", PlayerIcon::Stop);
                ShowPlaybackError(r);
                return 0;
            }
            continue;
        }
        if (Succeeded(stream->SetTimeDiv(SequenceDivision()))) stream->SetTempo(tempo);
        m_handles[size_t(p)] = stream.get();
        m_streams[size_t(p)] = std::move(stream);
        ++opened;
    }
    m_streamTempo = tempo;

    // Which port each track plays on, and which ports carry tracks with events
    m_trackPort.fill(0);
    m_portInUse.fill(0);
    for (int row = 0; row < m_doc.TrackRecordCount() && row + 1 < kTracks; ++row) {
        const PlaybackTrack t = m_doc.Track(row);
        const int port = t.port < kPorts && usablePort(m_host.OutPort(t.port)) ? t.port : 0;
        m_trackPort[size_t(row + 1)] = uint8_t(port);
        if (usablePort(m_host.OutPort(port)) && m_doc.Sequence().GetTrackTotalEvents(row + 1) > 0)
            m_portInUse[size_t(port)] = 1;
    }
    return opened;
}

int CMidiBarPlayer::PauseMidiOutPorts()
{
    int n = 0;
    for (auto& s : m_streams)
        if (s && Succeeded(s->Pause())) ++n;
    return n;
}

int CMidiBarPlayer::RestartMidiOutPorts()
{
    int n = 0;
    for (int p = 0; p < kPorts; ++p) {
        auto& s = m_streams[size_t(p)];
        if (!s) continue;
        if (!Succeeded(s->Restart())) {
            s->Close();
            for (auto& h : m_handles)
                if (h == s.get()) h = nullptr;
            s.reset();
            continue;
        }
        ++n;
        m_slot.SetPlaying(this, PlayerKind::MidiBarView);
    }
    return n;
}

int CMidiBarPlayer::CloseMidiOutPorts()
{
    std::array<CMidiStream*, kPorts> toClose{};
    {
        std::lock_guard lock(m_mutex);
        for (int p = 0; p < kPorts; ++p) toClose[size_t(p)] = m_streams[size_t(p)].get();
    }
    // Closing waits for the stream's thread, so it runs outside the lock.
    std::array<MidiResult, kPorts> results{};
    for (int p = 0; p < kPorts; ++p)
        if (toClose[size_t(p)]) results[size_t(p)] = toClose[size_t(p)]->Close();
    std::vector<std::unique_ptr<CMidiStream>> closed;
    {
        std::lock_guard lock(m_mutex);
        for (int p = 0; p < kPorts; ++p) {
            if (!toClose[size_t(p)]) continue;
            if (!Succeeded(results[size_t(p)]) && !m_shuttingDown) {
                ShowPlaybackError(results[size_t(p)]); // the stream keeps its handle
                continue;
            }
            for (auto& h : m_handles)
                if (h == toClose[size_t(p)]) h = nullptr;
            closed.push_back(std::move(m_streams[size_t(p)]));
        }
        for (int p = 0; p < kPorts; ++p)
            if (!m_streams[size_t(p)]) m_handles[size_t(p)] = nullptr;
    }
    closed.clear(); // destroyed outside the lock as well
    return 1;
}

// ---- Device callbacks -----------------------------------------------------------

void CMidiBarPlayer::OnStreamDone(MidiHeader& header)
{
    std::lock_guard lock(m_mutex);
    const size_t i = size_t(header.user);
    if (i >= size_t(kBufferCount)) return;
    const BufferRecord& rec = m_records[i];
    if (rec.stream) rec.stream->UnprepareHeader(header);
    m_freeBuffers = std::min(m_freeBuffers + 1, kBufferCount);

    if (m_state == StreamState::Finished) {
        if (m_freeBuffers == kBufferCount) EnterFinished();
        return;
    }
    if (m_state == StreamState::StopPending) {
        if (m_freeBuffers == kBufferCount) EnterFinished();
        return;
    }

    m_playedTick = rec.tick;
    m_playedIndex = rec.nextEvent;
    ByteCursor c(header.data, header.bytesRecorded);
    uint32_t words[9] = {};
    for (uint32_t& w : words) w = c.u32le();
    const uint32_t first = words[2];
    if (header.bytesRecorded >= mevt::kEventSize && first != kEndMarker) {
        if (mevt::Type(first) == (mevt::kTempo >> 24) && !mevt::IsLong(first)) {
            if (const uint32_t tempo = mevt::Parameter(first)) {
                m_tempoShown = 60000000u / tempo;
                if (!m_shuttingDown) ShowTempo();
            }
            if (rec.tempoEvent >= 0) m_lastTempoIndex = rec.tempoEvent;
        } else if (m_playedTick != m_editorsTick) {
            if (!m_shuttingDown) m_view.EditorsFollowPlayedTick(m_playedTick);
            m_editorsTick = m_playedTick;
        }
    }
    if (header.bytesRecorded >= 3 * mevt::kEventSize && words[8] == kNopPrecountEnd) m_precountActive = false;

    if (!m_precountActive) {
        uint32_t m = 0, b = 0, t = 0;
        m_measures.TicksToMbt(m_playedTick, m, b, t);
        const uint32_t step = std::max<uint32_t>(1, SequenceDivision() / 32);
        // Shown after every step of division / 32 ticks, and at once when a loop went back
        if (m_playedTick < m_displayedTick || m_playedTick - m_displayedTick >= step) {
            m_posMeasure = m;
            m_posBeat = b;
            m_posTick = t;
            m_posIndex = m_playedIndex;
            if (!m_shuttingDown) m_view.SetPositionText(FormatPositionText(m, b, t));
            m_displayedTick = m_playedTick;
        }
        if (!m_shuttingDown) m_view.DrawPositionCursor();
    }

    if (m_state == StreamState::EndOfData) {
        if (m_freeBuffers == kBufferCount) EnterFinished();
        return;
    }
    if (IsPlaying() && m_freeBuffers > 0) {
        const int r = m_hangingNotes ? ReleaseLoopNotes(int(i)) : FillStreamBuffer(int(i));
        if (r == kQueued)
            --m_freeBuffers;
        else if (r == kNothingMore)
            m_state = StreamState::EndOfData;
        else
            m_state = StreamState::StopPending;
    }
    // Nothing left in flight: no other buffer will come back to end the run.
    if (m_freeBuffers == kBufferCount) EnterFinished();
}

void CMidiBarPlayer::OnStreamPosition(MidiHeader&, uint32_t)
{
    std::lock_guard lock(m_mutex);
    if (IsPlaying() && !m_shuttingDown) m_view.DrawPositionCursor();
}

// ---- Mixer and chased state ---------------------------------------------------------

void CMidiBarPlayer::SendTrackController(uint8_t controller, uint8_t value, int track)
{
    std::lock_guard lock(m_mutex);
    if (track < 1 || track > m_doc.TrackRecordCount()) return;
    const PlaybackTrack t = m_doc.Track(track - 1);
    const int port = t.port < kPorts ? t.port : 0;
    CMidiStream* s = m_handles[size_t(port)] ? m_handles[size_t(port)] : m_handles[0];
    if (!s) return;
    const uint8_t channel = t.channel > 15 ? 0 : t.channel;
    s->ShortMsg(uint32_t(0xB0 | channel) | uint32_t(controller & 0x7F) << 8 | uint32_t(value & 0x7F) << 16);
}

void CMidiBarPlayer::SendTrackVolume(uint8_t value, int track)
{
    SendTrackController(7, value, track);
}

void CMidiBarPlayer::SendTrackPan(uint8_t value, int track)
{
    SendTrackController(10, value, track);
}

void CMidiBarPlayer::SendTrackProgram(uint8_t program, int track)
{
    std::lock_guard lock(m_mutex);
    if (track < 1 || track > m_doc.TrackRecordCount()) return;
    const PlaybackTrack t = m_doc.Track(track - 1);
    const int port = t.port < kPorts ? t.port : 0;
    CMidiStream* s = m_handles[size_t(port)] ? m_handles[size_t(port)] : m_handles[0];
    if (!s) return;
    const uint8_t channel = t.channel > 15 ? 0 : t.channel;
    s->ShortMsg(uint32_t(0xC0 | channel) | uint32_t(program & 0x7F) << 8);
}

// Sends every track's chased pan, volume, bank and program before the first
// buffer. Values above 127 stand for "none" and are not sent, and tracks
// without channel events send nothing (they would retune channel 1).
void CMidiBarPlayer::SendStartState()
{
    for (int row = 0; row < m_doc.TrackRecordCount() && row + 1 < kTracks; ++row) {
        const PlaybackTrack t = m_doc.Track(row);
        if (m_doc.Sequence().GetTrackTotalEvents(row + 1) == 0 || t.channel > 15) continue;
        const int port = m_trackPort[size_t(row + 1)];
        CMidiStream* s = m_handles[size_t(port)] ? m_handles[size_t(port)] : m_handles[0];
        if (!s) continue;
        const Chase& c = m_chase[size_t(row + 1)];
        const uint32_t cc = 0xB0u | t.channel;
        const auto send = [&](uint32_t message, uint8_t value) {
            if (value <= 127) s->ShortMsg(message | uint32_t(value) << 16);
        };
        send(cc | 10u << 8, c.pan);
        send(cc | 7u << 8, c.volume);
        send(cc | 0u << 8, c.bankMsb);
        send(cc | 32u << 8, c.bankLsb);
        if (c.program <= 127) s->ShortMsg((0xC0u | t.channel) | uint32_t(c.program) << 8);
    }
}

void CMidiBarPlayer::ResetChaseToFirstValues()
{
    const CMidiParserEx& seq = m_doc.Sequence();
    for (int t = 0; t < kTracks; ++t) {
        const CMidiParserEx::Track* tt = seq.GetTrack(t);
        Chase& c = m_chase[size_t(t)];
        c = Chase{};
        if (!tt) continue;
        c.volume = tt->volume;
        c.pan = tt->pan;
        c.bankMsb = tt->bankMsbSeen ? tt->bankMsb : 255;
        c.bankLsb = tt->bankLsb;
        c.program = tt->programSeen ? tt->program : 255;
    }
}

// Every track starts from its record's values; then the program and
// controller changes before `index` are credited to their tracks (a track of
// another channel credits the first track with that channel on its port).
void CMidiBarPlayer::ChaseTrackState(int64_t index)
{
    std::lock_guard lock(m_mutex);
    const int rows = std::min(m_doc.TrackRecordCount(), kTracks - 1);
    std::array<PlaybackTrack, kTracks - 1> tracks{};
    for (int row = 0; row < rows; ++row) {
        tracks[size_t(row)] = m_doc.Track(row);
        const PlaybackTrack& t = tracks[size_t(row)];
        m_chase[size_t(row + 1)] = {t.volume, t.pan, t.bankMsb, t.bankLsb, t.program};
    }
    const auto& events = m_doc.Sequence().GetEvents();
    const int64_t end = std::min<int64_t>(std::max<int64_t>(index, 0), int64_t(events.size()));
    for (int64_t i = 0; i < end; ++i) {
        const CMidiEvent& e = *events[size_t(i)];
        if (e.track == 0 || e.track > rows) continue;
        const uint8_t kind = e.status & 0xF0;
        if (kind != 0xB0 && kind != 0xC0) continue;
        const uint8_t channel = e.status & 0x0F;
        int target = -1;
        const PlaybackTrack& own = tracks[size_t(e.track - 1)];
        if (own.channel == channel) {
            target = e.track;
        } else {
            for (int row = 0; row < rows; ++row)
                if (tracks[size_t(row)].channel == channel && tracks[size_t(row)].port == own.port) {
                    target = row + 1;
                    break;
                }
        }
        if (target < 0) continue;
        Chase& c = m_chase[size_t(target)];
        const uint8_t d0 = eventDataByte(e, 0), d1 = eventDataByte(e, 1);
        if (kind == 0xC0) {
            c.program = d0;
        } else if (d0 == 7) {
            c.volume = d1;
        } else if (d0 == 10) {
            c.pan = d1;
        } else if (d0 == 0) {
            c.bankMsb = d1;
        } else if (d0 == 32) {
            c.bankLsb = d1;
        }
    }
}

void CMidiBarPlayer::RecomputeMixFlags()
{
    std::lock_guard lock(m_mutex);
    m_mutedExists = m_soloedExists = false;
    for (int row = 0; row < m_doc.TrackRecordCount(); ++row) {
        const PlaybackTrack t = m_doc.Track(row);
        if (t.play == 0) m_mutedExists = true;
        if (t.solo == 1) m_soloedExists = true;
    }
}

void CMidiBarPlayer::ShowTempo()
{
    m_view.SetTempoText(FormatTempoText(m_tempoShown));
}

void CMidiBarPlayer::ShowPlaybackError(MidiResult code)
{
    char text[256];
    const MidiResult r = MidiErrorText(uint32_t(code), text, sizeof text);
    std::string message;
    if (Succeeded(r))
        message = std::string(text) + "\r\n";
    else if (r == MidiResult::BadErrorNumber)
        message = "Strange error number returned!\r\n";
    else
        message = "Specified pointer is invalid!\r\n";
    m_view.ShowPlaybackError(message);
}

} // namespace zib
