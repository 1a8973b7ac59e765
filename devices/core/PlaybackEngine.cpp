// Start, stop and finish of a run, the output ports, the buffer-done
// callback, the mixer and the hand-over of posted updates to the UI thread.

#include "devices/core/PlaybackEngine.h"

#include "ui/core/PlayerSlot.h"
#include "ui/core/StreamBuffers.h"
#include "ui/texts/UiText.h"
#include "ui/texts/ZibMessageTable.h"
#include "devices/core/InPort.h"
#include "devices/core/LockedCopy.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/MidiSession.h"
#include "devices/core/OutStream.h"
#include "devices/core/PlaybackHost.h"
#include "devices/core/PlaybackTexts.h"
#include "devices/core/PlaybackUi.h"
#include "midi/CMidiParserEx.h"
#include "platform/ByteCursor.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <unordered_map>

namespace zib {

PlaybackEngine::PlaybackEngine(IPlaybackDocument& document, PlaybackUi& ui, PlaybackHost& host)
    : m_doc(document), m_ui(ui), m_host(host),
      m_session(std::make_unique<MidiSession>(host.Devices(), MidiSession::Delivery::Direct)),
      m_ownBuffers(new uint8_t[(kBufferCount - StreamBuffers::kCount) * kBufferSize]())
{
    m_firstShown.fill(-1);
    m_lastEvent.fill(-1);
}

// The window is going: the run ends at once in any state (a take is kept),
// the notes it started are ended, every device is closed, and nothing is
// shown or posted any more.
PlaybackEngine::~PlaybackEngine()
{
    {
        std::lock_guard lock(m_mutex);
        m_shuttingDown = true;
        if (m_state == State::Playing || m_state == State::EndOfData) m_state = State::StopPending;
    }
    PauseMidiOutPorts();
    CloseMidiIn();
    {
        std::lock_guard lock(m_mutex);
        if (m_heldNotes > 0) CloseHeldNotesAt(m_playedTick, 0);
        if (m_sequenceChanged) m_doc.Sequence().Renumber(0);
        // The buffers still out are dropped: what they hold was never sent.
        EndSoundingNotes(m_freeBuffers == kBufferCount ? INT64_MAX : m_playedIndex);
        m_state = State::Finished;
    }
    m_host.Player().ClearIfActive(this);
    CloseMidiOutPorts();
    m_session.reset();
}

uint32_t PlaybackEngine::Division() const
{
    const uint16_t d = m_doc.Sequence().GetDivision();
    return d != 0 && (d & 0x8000) == 0 ? d : 96;
}

bool PlaybackEngine::PortUsable(int port) const
{
    if (port < 0 || port >= kPorts) return false;
    const UserMidiPortMap::Entry e = m_host.OutPort(port);
    return e.enabled == 1 && e.deviceId < 128;
}

bool PlaybackEngine::IsPlaying() const
{
    return m_host.Player().IsPlaying();
}

void PlaybackEngine::ReadTracks()
{
    m_mutedExists = m_soloedExists = false;
    for (int row = 0; row < kTracks - 1; ++row) {
        m_tracks[size_t(row)] = m_doc.Track(row);
        if (m_tracks[size_t(row)].play == 0) m_mutedExists = true;
        if (m_tracks[size_t(row)].solo == 1) m_soloedExists = true;
    }
}

void PlaybackEngine::OnTrackSwitchesChanged()
{
    std::lock_guard lock(m_mutex);
    ReadTracks();
}

bool PlaybackEngine::PrepareForDocument()
{
    std::string from, thru;
    {
        std::lock_guard lock(m_mutex);
        if (!m_measures.Build(m_doc.Sequence())) return false;
        RebuildTrackEventRanges();
        m_maxNopStep = std::max<uint32_t>(1, Division() / 16);
        ResetChaseToFirstValues();
        uint32_t m = 0, b = 0, t = 0;
        TicksToMbt(m_from.tick, m, b, t);
        from = FormatMarkerText(m, b, t);
        TicksToMbt(m_thru.tick, m, b, t);
        thru = FormatMarkerText(m, b, t);
        m_tempoShown = m_initialTempo = m_doc.Sequence().GetInitialTempo();
        m_doc.SetLoopFlag(false);
        m_loopFlag = false;
    }
    DrawPositionCursor();
    UpdatePositionText();
    m_ui.SetFromText(from);
    m_ui.SetThruText(thru);
    ShowTempo();
    m_ui.SetLoopButton(false);
    return true;
}

// ---- Start, stop and finish ----------------------------------------------------------------

void PlaybackEngine::StartMidiPlayback()
{
    if (IsPlaying()) {
        StopMidiPlayback();
        return;
    }
    std::unique_lock lock(m_mutex);
    if (m_state != State::Playing) return; // the last run is still draining
    ++m_runId;
    lock.unlock();
    DrawPositionCursor();
    lock.lock();

    CMidiParserEx& seq = m_doc.Sequence();
    const auto& events = seq.GetEvents();
    const int64_t count = int64_t(events.size());
    const uint16_t division = seq.GetDivision();
    ReadTracks();

    m_state = State::Playing;
    m_freeBuffers = kBufferCount;
    m_midiInOpen = false;
    m_sequenceChanged = false;
    m_hangingNotes = false;
    m_clickSounding = false;
    m_heldNotes = 0;
    m_firstInserted = INT64_MAX;
    m_insertionHint = 0;
    m_pending.errors.clear();
    for (auto& bits : m_thruNotes) bits.reset();
    m_recordFlag = m_doc.RecordFlag();
    m_thruMask = m_doc.ThruMask();
    const bool recording = m_recordFlag;

    // Where to start: a song played to its end starts again from the top
    if (!recording) {
        if (count == 0) return;
        if (MbtToTicks(m_posMeasure, m_posBeat, m_posTick) >= events.back()->time) {
            m_posMeasure = m_posBeat = m_posTick = 0;
            m_posIndex = 0;
        }
    }
    m_startTick = MbtToTicks(m_posMeasure, m_posBeat, m_posTick);
    // A loop needs a length: with From on Thru the run would wrap without end.
    m_loopFlag = m_doc.LoopFlag() && m_thru.tick > m_from.tick;
    if (m_loopFlag && m_thru.tick <= m_startTick) {
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

    // A division of 0 or in SMPTE frames has no measures to play in.
    if (division == 0 || (division & 0x8000) != 0) {
        DropRecordFlag();
        lock.unlock();
        m_ui.ShowMessage(kMsgMeasureParameter, "StartMidiPlayback", PlaybackIcon::Stop);
        return;
    }

    // Metronome and pre-count
    m_metronomeOn = m_metronome.SoundsFor(recording);
    m_clicksTotal = 0;
    m_clicksRemaining = -1;
    m_precountActive = false;
    m_precountWaitPort = -1;
    if (m_metronomeOn) {
        uint32_t m = 0, b = 0, t = 0;
        TicksToMbt(m_startTick, m, b, t);
        const int number = std::clamp(m_metronome.precountNumber, 0, 20);
        m_clicksTotal = m_metronome.precountUnit == 0 ? number * seq.GetNumeratorAtMeasure(m) : number;
        m_clicksRemaining = m_clicksTotal;
        m_precountActive = m_clicksTotal != 0;
    }

    ChaseTrackState(m_curIndex);
    m_runningTick.fill(m_startTick);
    for (int row = 0; row < kTracks - 1; ++row) {
        m_startVolume[size_t(row)] = m_tracks[size_t(row)].volume;
        m_startPan[size_t(row)] = m_tracks[size_t(row)].pan;
    }

    m_portsInSync = true;
    m_nextPort = 0;
    m_portSynced.fill(0);
    m_lastClickTick = m_startTick + 1; // so a click can fall on the start tick
    m_fillTick = m_playedTick = m_cursorTick = m_startTick;
    m_playedIndex = m_curIndex;
    m_loopEnd = false;
    m_endMarkerQueued = false;
    m_displayedTick = m_startTick;
    m_followTick = UINT32_MAX;
    m_maxNopStep = std::max<uint32_t>(1, division / 16);
    const uint32_t startTick = m_startTick;
    lock.unlock();
    SyncEditorsToTick(startTick);
    lock.lock();

    if (!m_measures.Build(seq)) {
        DropRecordFlag();
        lock.unlock();
        m_ui.ShowMessage(kMsgMeasureParameter, "StartMidiPlayback", PlaybackIcon::Stop);
        return;
    }
    RebuildTrackEventRanges();

    StreamBuffers* buffers = m_host.AllocStreamBuffers();
    if (!buffers) {
        m_state = State::Playing;
        m_host.Player().ClearIfActive(this);
        DropRecordFlag();
        lock.unlock();
        m_ui.ShowMessage(kMsgAllocateBuffers, "StartMidiPlayback", PlaybackIcon::Exclamation);
        return;
    }
    static_assert(kBufferCount >= int(StreamBuffers::kCount) && kBufferSize == StreamBuffers::kSize);
    for (int i = 0; i < kBufferCount; ++i) {
        m_buffers[i] = i < int(StreamBuffers::kCount)
                           ? buffers->Buffer(size_t(i))
                           : m_ownBuffers.get() + size_t(i - int(StreamBuffers::kCount)) * kBufferSize;
        std::memset(m_buffers[i], 0, kBufferSize);
        m_headers[size_t(i)] = MidiHeader{};
        m_headers[size_t(i)].data = m_buffers[i];
        m_headers[size_t(i)].bufferLength = kBufferSize;
        m_headers[size_t(i)].user = uintptr_t(i);
        m_records[size_t(i)] = BufferRecord{};
    }
    lock.unlock();

    // Nothing of this run is queued yet, so no callback comes while the ports open.
    if (OpenMidiOutPorts() == 0) {
        lock.lock();
        DropRecordFlag();
        lock.unlock();
        ShowOpenFailure();
        return;
    }
    PauseMidiOutPorts();
    m_host.Player().SetPlaying(this, kMidiBarViewPlayer);
    if (OpenMidiIn() > 0) StartMidiIn();

    lock.lock();
    SendStartState();
    bool failed = false;
    for (int i = 0; i < kBufferCount; ++i) {
        const int r = FillStreamBuffer(i);
        if (r == kQueued) {
            --m_freeBuffers;
            continue;
        }
        if (r == kNothingMore) break;
        failed = true;
        break;
    }
    if (m_freeBuffers == kBufferCount) {
        // Nothing went out, and no buffer will come back to end the run.
        m_host.Player().ClearIfActive(this);
        EnterFinished(); // the finish closes the streams and inputs
        return;
    }
    if (failed) m_state = State::StopPending;
    PostUi();
    lock.unlock();

    if (RestartMidiOutPorts() == 0) {
        lock.lock();
        m_state = State::Playing;
        DropRecordFlag();
        m_pending.finish = true;
        m_pending.finishRun = m_runId;
        PostUi();
        lock.unlock();
        m_host.Player().ClearIfActive(this);
        m_ui.ShowMessage(kMsgRestartPorts, "StartMidiPlayback", PlaybackIcon::Exclamation);
        return;
    }
    m_host.Player().SetPlaying(this, kMidiBarViewPlayer);
}

// A run that does not start records nothing: the document's Record switch
// goes off with it, so that no window shows it recording.
void PlaybackEngine::DropRecordFlag()
{
    m_doc.SetRecordFlag(false);
    m_recordFlag = false;
}

void PlaybackEngine::EnterFinished()
{
    m_state = State::Finished;
    m_pending.finish = true;
    m_pending.finishRun = m_runId;
    PostUi();
}

void PlaybackEngine::StopMidiPlayback()
{
    std::lock_guard lock(m_mutex);
    if (!IsPlaying() || m_host.Player().Active() != this) return; // another player is not ours to stop
    if (m_state == State::Playing) {
        if (m_freeBuffers == kBufferCount)
            EnterFinished();
        else
            m_state = State::StopPending;
    } else if (m_freeBuffers == kBufferCount) {
        EnterFinished();
    }
}

void PlaybackEngine::FinishMidiPlayback()
{
    bool inputWasOpen = false;
    bool finished = false;
    {
        std::lock_guard lock(m_mutex);
        if (m_state != State::Playing && m_state != State::Finished) return;
        m_doc.SetRecordFlag(false);
        m_recordFlag = false;
        inputWasOpen = m_midiInOpen;
        finished = m_state == State::Finished;
    }
    if (inputWasOpen) CloseMidiIn();
    bool changed = false;
    {
        std::lock_guard lock(m_mutex);
        if (inputWasOpen && m_heldNotes > 0) CloseHeldNotesAt(m_playedTick, 0);
        m_heldNotes = 0;
        if (finished) {
            m_state = State::Playing;
            EndSoundingNotes(INT64_MAX); // every buffer is back
        }
        changed = m_sequenceChanged;
    }
    m_host.Player().ClearIfActive(this);
    if (finished) CloseMidiOutPorts();

    // No callback comes any more: the sequence and the document are the UI thread's again.
    CMidiParserEx& seq = m_doc.Sequence();
    for (const auto& e : seq.GetEvents()) e->played = 0;
    if (changed) {
        seq.Renumber(0);
        m_doc.RefreshTrackCounts();
        RecordUndoForRecording();
        m_doc.SetModified();
        RebuildTrackEventRanges();
    }
    SetPositionFromTick(m_playedTick);

    std::vector<MixChange> mix;
    for (int row = 0; row < kTracks - 1; ++row) {
        const PlaybackTrack t = m_doc.Track(row);
        if (t.volume == m_startVolume[size_t(row)] && t.pan == m_startPan[size_t(row)]) continue;
        MixChange c;
        c.row = row;
        c.fromVolume = m_startVolume[size_t(row)];
        c.fromPan = m_startPan[size_t(row)];
        if (t.volume != c.fromVolume) c.volume = t.volume;
        if (t.pan != c.fromPan) c.pan = t.pan;
        mix.push_back(c);
    }
    if (!mix.empty()) m_doc.ApplyMixChanges(mix);
    {
        std::lock_guard lock(m_mutex);
        m_sequenceChanged = false;
    }
    UpdatePositionText();
    DrawPositionCursor();
    m_ui.PlaybackFinished(changed);
}

void PlaybackEngine::OnRecord()
{
    bool start = false;
    {
        std::lock_guard lock(m_mutex);
        const bool on = !m_doc.RecordFlag();
        m_doc.SetRecordFlag(on);
        m_recordFlag = on;
        start = on && !IsPlaying();
    }
    if (start) StartMidiPlayback();
}

// Ends every note the run left sounding before its streams close: the note-ons
// played whose note-off did not play (or that have none), the notes echoed
// through, and a sounding click. Events from `sentBefore` on were filled into
// buffers that will not play. Runs under m_mutex.
void PlaybackEngine::EndSoundingNotes(int64_t sentBefore)
{
    std::set<std::pair<OutStream*, uint32_t>> offs; // stream, velocity-0 note-on
    const auto noteOff = [](uint8_t status, uint8_t key) { return uint32_t(0x90 | (status & 0x0F)) | uint32_t(key) << 8; };
    const auto& events = m_doc.Sequence().GetEvents();
    std::unordered_map<int32_t, const CMidiEvent*> open;
    std::vector<const CMidiEvent*> unpaired;
    for (size_t i = 0; i < events.size() && int64_t(i) < sentBefore; ++i) {
        const CMidiEvent& e = *events[i];
        if (!e.played || e.length < 2 || e.data.size() < 2) continue;
        const uint8_t kind = e.status & 0xF0;
        const bool on = kind == 0x90 && e.data[1] > 0;
        const bool off = kind == 0x80 || (kind == 0x90 && e.data[1] == 0);
        if (on && e.pairId >= 0)
            open[e.pairId] = &e;
        else if (on)
            unpaired.push_back(&e);
        else if (off && e.pairId >= 0)
            open.erase(e.pairId);
    }
    const auto add = [&](const CMidiEvent& e) {
        int port = 0;
        const uint8_t track = e.track < kTracks ? e.track : 0;
        if (OutStream* s = StreamOfPort(m_trackPort[track], port)) offs.insert({s, noteOff(e.status, e.data[0])});
    };
    for (const auto& [id, e] : open) add(*e);
    for (const CMidiEvent* e : unpaired) add(*e);
    for (int p = 0; p < kPorts; ++p) {
        if (m_thruNotes[size_t(p)].none()) continue;
        int used = 0;
        OutStream* s = StreamOfPort(p, used);
        for (size_t bit = 0; bit < 16 * 128; ++bit)
            if (m_thruNotes[size_t(p)][bit] && s) offs.insert({s, noteOff(uint8_t(bit / 128), uint8_t(bit % 128))});
        m_thruNotes[size_t(p)].reset();
    }
    if (m_clickSounding) {
        int used = 0;
        if (OutStream* s = StreamOfPort(MetronomePort(), used))
            offs.insert({s, noteOff(uint8_t(m_metronome.channel & 0x0F), m_clickKey)});
        m_clickSounding = false;
    }
    for (const auto& [stream, message] : offs) stream->SendShort(message); // a vanished device is no matter here
}

// ---- Output ports ------------------------------------------------------------------------------

int PlaybackEngine::OpenMidiOutPorts()
{
    MidiDeviceList& devices = m_host.Devices();
    uint32_t tempo = 0, division = 0, startTick = 0;
    {
        std::lock_guard lock(m_mutex);
        startTick = m_startTick;
        tempo = TempoInEffectAt(startTick);
        division = Division();
    }
    const int deviceCount = devices.OutDeviceCount();
    bool fellBack = false;
    int opened = 0;
    m_openFailure = {};
    std::array<std::unique_ptr<OutStream>, kPorts> streams;
    std::array<OutStream*, kPorts> handles{};
    for (int p = 0; p < kPorts; ++p) {
        if (!PortUsable(p)) {
            handles[size_t(p)] = handles[0]; // streams are shared by handle
            continue;
        }
        int device = m_host.OutPort(p).deviceId;
        if (device >= deviceCount) {
            // The device is not here (any more): the built-in synth plays in its place.
            device = 0;
            fellBack = true;
        }
        std::unique_ptr<OutStream> s;
        const MidiResult r = m_session->OpenOutStream(device, *this, s);
        if (!Succeeded(r)) {
            // A device that cannot open is no device: its tracks play on port 0's stream.
            if (m_openFailure.port < 0) m_openFailure = {p, r, devices.OutputFailure(device)};
            continue;
        }
        if (Succeeded(s->SetTimeDiv(division))) s->SetTempo(tempo);
        handles[size_t(p)] = s.get();
        streams[size_t(p)] = std::move(s);
        ++opened;
    }
    // Port 0's stream carries the song's own track, the end of the song and
    // the tracks of ports without a stream. When port 0 has none (its device
    // cannot open, or the port is off), the first port that opened takes
    // that part, and its tracks go through port 0 from then on.
    if (!handles[0] && opened > 0) {
        const auto first =
            std::find_if(streams.begin(), streams.end(), [](const auto& s) { return s != nullptr; });
        streams[0] = std::move(*first);
        handles[size_t(first - streams.begin())] = nullptr;
        handles[0] = streams[0].get();
    }
    if (fellBack)
        m_ui.ShowStatus(UiText("MIDI OUT device not found: playing on Zib built-in synth (General MIDI)",
                               m_host.Language()));
    // The run goes on without the device: the status bar says what is missing.
    if (opened > 0 && (m_openFailure.port == 0 || !m_openFailure.cause.empty()))
        m_ui.ShowStatus(OpenFailureText(" - "));

    std::lock_guard lock(m_mutex);
    m_streams = std::move(streams);
    m_handles = handles;
    // Which port each track plays on, and which ports carry tracks with events
    m_trackPort.fill(0);
    m_portInUse.fill(0);
    const CMidiParserEx& seq = m_doc.Sequence();
    for (int t = 1; t < kTracks; ++t) {
        const uint8_t port = m_tracks[size_t(t - 1)].port;
        m_trackPort[size_t(t)] = PortUsable(port) ? port : 0;
        if (PortUsable(port) && seq.GetTrackTotalEvents(t) > 0) m_portInUse[port] = 1;
    }
    if (m_metronomeOn) {
        const int mp = MetronomePort();
        if (PortUsable(mp)) m_portInUse[size_t(mp)] = 1;
    }
    // A port without a stream of its own plays through port 0's.
    for (int p = 1; p < kPorts; ++p)
        if (m_portInUse[size_t(p)] && !m_handles[size_t(p)]) m_portInUse[0] = 1;
    return opened;
}

int PlaybackEngine::PauseMidiOutPorts()
{
    int n = 0;
    for (auto& s : m_streams)
        if (s && Succeeded(s->Pause())) ++n;
    return n;
}

int PlaybackEngine::RestartMidiOutPorts()
{
    int n = 0;
    for (int p = 0; p < kPorts; ++p) {
        OutStream* s = m_streams[size_t(p)].get();
        if (!s) continue;
        if (Succeeded(s->Restart())) {
            ++n;
            continue;
        }
        {
            std::lock_guard lock(m_mutex);
            for (auto& h : m_handles)
                if (h == s) h = nullptr;
        }
        s->Close(); // outside the lock: it waits for a callback of its own
        m_streams[size_t(p)].reset();
    }
    if (n > 0) m_host.Player().SetPlaying(this, kMidiBarViewPlayer);
    return n;
}

int PlaybackEngine::CloseMidiOutPorts()
{
    // Closing waits for a running callback, which may wait for m_mutex.
    for (auto& s : m_streams)
        if (s) s->Close();
    {
        std::lock_guard lock(m_mutex);
        m_handles.fill(nullptr);
    }
    for (auto& s : m_streams) s.reset();
    return 1;
}

// ---- Device callbacks ---------------------------------------------------------------------------

void PlaybackEngine::OnStreamDone(OutStream& stream, MidiHeader& header)
{
    std::lock_guard lock(m_mutex);
    const size_t i = size_t(header.user);
    if (i >= size_t(kBufferCount) || &header != &m_headers[i]) return;
    stream.Unprepare(header);
    m_freeBuffers = std::min(m_freeBuffers + 1, kBufferCount);

    if (m_state == State::Finished || m_state == State::StopPending) {
        if (m_freeBuffers == kBufferCount) EnterFinished();
        return;
    }

    const BufferRecord& rec = m_records[i];
    m_playedTick = rec.tick;
    m_playedIndex = rec.nextEvent; // the filler keeps its own place
    ByteCursor c(header.data, header.bytesRecorded);
    uint32_t words[9] = {};
    for (uint32_t& w : words) w = c.u32le();
    const uint32_t first = words[2];
    if (header.bytesRecorded >= mevt::kEventSize && first != kEndMarker) {
        if (!mevt::IsLong(first) && mevt::Type(first) == (mevt::kTempo >> 24)) {
            if (const uint32_t tempo = mevt::Parameter(first)) {
                m_tempoShown = 60000000u / tempo;
                m_pending.tempo = true;
                m_pending.tempoShown = m_tempoShown;
            }
            if (rec.tempoEvent >= 0) m_lastTempoIndex = rec.tempoEvent;
        } else if (m_playedTick != m_followTick) {
            m_pending.follow = true;
            m_pending.followTick = m_playedTick;
            m_followTick = m_playedTick;
        }
    }
    if (header.bytesRecorded >= 3 * mevt::kEventSize && words[8] == kNopPrecountEnd) m_precountActive = false;

    if (!m_precountActive) {
        const uint32_t step = std::max<uint32_t>(1, Division() / 32);
        if (m_playedTick < m_displayedTick || m_playedTick - m_displayedTick >= step) {
            uint32_t m = 0, b = 0, t = 0;
            m_measures.TicksToMbt(m_playedTick, m, b, t);
            std::snprintf(m_pending.positionText, sizeof m_pending.positionText, "%3d:%02d:%03d    ", int(m + 1),
                          int(b + 1), int(t));
            m_pending.position = true;
        }
        m_displayedTick = m_playedTick;
        m_cursorTick = m_playedTick;
        m_pending.cursor = true;
    }
    PostUi();

    if (m_state == State::Playing && IsPlaying() && m_freeBuffers > 0) {
        const int r = m_hangingNotes ? ReleaseLoopNotes(int(i)) : FillStreamBuffer(int(i));
        if (r == kQueued)
            --m_freeBuffers;
        else if (r == kNothingMore)
            m_state = State::EndOfData;
        else
            m_state = State::StopPending;
    }
    // Nothing left in flight: no other buffer will come back to end the run.
    if (m_state != State::Playing && m_freeBuffers == kBufferCount) EnterFinished();
}

void PlaybackEngine::OnStreamPosition(OutStream&, MidiHeader&, uint32_t)
{
    std::lock_guard lock(m_mutex);
    if (!IsPlaying()) return;
    m_pending.cursor = true;
    PostUi();
}

// ---- Posted updates -------------------------------------------------------------------------------

void PlaybackEngine::PostUi()
{
    if (m_uiRequested || m_shuttingDown) return;
    m_uiRequested = true;
    m_ui.RequestDelivery();
}

void PlaybackEngine::PostError(MidiResult code)
{
    m_pending.errors.push_back(ErrorText(code));
    PostUi();
}

void PlaybackEngine::DeliverUi()
{
    Pending p;
    uint64_t run = 0;
    {
        std::lock_guard lock(m_mutex);
        p = std::move(m_pending);
        m_pending = Pending{};
        m_uiRequested = false;
        run = m_runId;
        if (m_shuttingDown) return;
    }
    if (p.position) m_ui.SetPositionText(p.positionText);
    if (p.tempo) m_ui.SetTempoText(FormatTempoText(p.tempoShown));
    if (p.follow) m_ui.EditorsFollowTick(p.followTick);
    if (p.cursor) m_ui.DrawCursor();
    for (const std::string& e : p.errors) m_ui.ShowPlaybackError(e);
    // A finish posted by an earlier run must not end this one.
    if (p.finish && p.finishRun == run) FinishMidiPlayback();
}

// ---- Mixer and chased state ------------------------------------------------------------------------

void PlaybackEngine::SendTrackController(uint8_t controller, uint8_t value, int track)
{
    if (track < 1 || track >= kTracks) return;
    const PlaybackTrack t = m_doc.Track(track - 1);
    if (t.channel > 15) return; // a track without one channel would retune channel 1
    std::lock_guard lock(m_mutex);
    int used = 0;
    if (OutStream* s = StreamOfPort(PortUsable(t.port) ? t.port : 0, used))
        s->SendShort(uint32_t(0xB0 | t.channel) | uint32_t(controller & 0x7F) << 8 | uint32_t(value & 0x7F) << 16);
}

void PlaybackEngine::SendTrackVolume(uint8_t value, int track)
{
    SendTrackController(7, value, track);
}

void PlaybackEngine::SendTrackPan(uint8_t value, int track)
{
    SendTrackController(10, value, track);
}

void PlaybackEngine::SendTrackProgram(uint8_t program, int track)
{
    if (track < 1 || track >= kTracks) return;
    const PlaybackTrack t = m_doc.Track(track - 1);
    if (t.channel > 15) return;
    std::lock_guard lock(m_mutex);
    int used = 0;
    if (OutStream* s = StreamOfPort(PortUsable(t.port) ? t.port : 0, used))
        s->SendShort(uint32_t(0xC0 | t.channel) | uint32_t(program & 0x7F) << 8);
}

// Every track that holds events sends its chased pan, volume, bank and
// program before the first buffer. Values above 127 stand for "none" and are
// not sent; a track without one channel sends nothing.
void PlaybackEngine::SendStartState()
{
    const CMidiParserEx& seq = m_doc.Sequence();
    for (int track = 1; track < kTracks; ++track) {
        const PlaybackTrack& t = m_tracks[size_t(track - 1)];
        if (seq.GetTrackTotalEvents(track) == 0 || t.channel > 15) continue;
        int used = 0;
        OutStream* s = StreamOfPort(m_trackPort[size_t(track)], used);
        if (!s) continue;
        const Chase& c = m_chase[size_t(track)];
        const uint32_t cc = 0xB0u | t.channel;
        const auto send = [&](uint32_t message, uint8_t value) {
            if (value <= 127) s->SendShort(message | uint32_t(value) << 16);
        };
        send(cc | 10u << 8, c.pan);
        send(cc | 7u << 8, c.volume);
        send(cc | 0u << 8, c.bankMsb);
        send(cc | 32u << 8, c.bankLsb);
        if (c.program <= 127) s->SendShort((0xC0u | t.channel) | uint32_t(c.program) << 8);
    }
}

// The sequence's first values of each track. A pan or bank the track never
// sets stays "none" (above 127) and is not sent: a first value of 0 would
// pan every such track hard left.
void PlaybackEngine::ResetChaseToFirstValues()
{
    const CMidiParserEx& seq = m_doc.Sequence();
    for (int t = 0; t < kTracks; ++t) {
        const CMidiParserEx::Track* tt = seq.GetTrack(t);
        Chase& c = m_chase[size_t(t)];
        c = Chase{};
        if (!tt) continue;
        c.volume = tt->volume;
        c.pan = tt->panSeen ? tt->pan : 255;
        c.bankMsb = tt->bankMsbSeen ? tt->bankMsb : 255;
        c.bankLsb = tt->bankLsbSeen ? tt->bankLsb : 255;
        c.program = tt->programSeen ? tt->program : 255;
    }
}

// Every track starts from the sequence's first values (a track without one
// channel from its record), so nothing a former run met carries over; then
// the program and controller changes before `index` are credited to their
// track, or to the first track of the event's channel on the same port.
void PlaybackEngine::ChaseTrackState(int64_t index)
{
    std::lock_guard lock(m_mutex);
    ResetChaseToFirstValues();
    std::array<PlaybackTrack, kTracks - 1> tracks{};
    for (int row = 0; row < kTracks - 1; ++row) {
        tracks[size_t(row)] = m_doc.Track(row);
        const PlaybackTrack& t = tracks[size_t(row)];
        if (t.channel == 255) m_chase[size_t(row + 1)] = {t.volume, t.pan, t.bankMsb, t.bankLsb, t.program};
    }
    const auto& events = m_doc.Sequence().GetEvents();
    const int64_t end = std::clamp<int64_t>(index, 0, int64_t(events.size()));
    for (int64_t i = 0; i < end; ++i) {
        const CMidiEvent& e = *events[size_t(i)];
        if (e.track == 0 || e.track >= kTracks) continue;
        const uint8_t kind = e.status & 0xF0;
        if (kind != 0xB0 && kind != 0xC0) continue;
        const uint8_t channel = e.status & 0x0F;
        int target = -1;
        const PlaybackTrack& own = tracks[size_t(e.track - 1)];
        if (own.channel == channel) {
            target = e.track;
        } else {
            for (int row = 0; row < kTracks - 1; ++row)
                if (tracks[size_t(row)].channel == channel && tracks[size_t(row)].port == own.port) {
                    target = row + 1;
                    break;
                }
        }
        if (target >= 0) m_chase[size_t(target)].Take(e);
    }
}

void PlaybackEngine::ShowTempo()
{
    uint32_t bpm = 0;
    {
        std::lock_guard lock(m_mutex);
        bpm = m_tempoShown;
    }
    m_ui.SetTempoText(FormatTempoText(bpm));
}

std::string PlaybackEngine::ErrorText(MidiResult code) const
{
    char text[256];
    const MidiResult r = MidiErrorText(uint32_t(code), text, sizeof text);
    if (Succeeded(r)) return UiText(text, m_host.Language()) + "\r\n";
    if (r == MidiResult::BadErrorNumber) return UiText("Strange error number returned!", m_host.Language()) + "\r\n";
    return UiText("Specified pointer is invalid!", m_host.Language()) + "\r\n";
}

void PlaybackEngine::ShowPlaybackError(MidiResult code)
{
    m_ui.ShowPlaybackError(ErrorText(code));
}

// The first failure of the last OpenMidiOutPorts in the user's words: the
// cause its device names, else which port failed and the device's text.
std::string PlaybackEngine::OpenFailureText(const char* separator) const
{
    const int language = m_host.Language();
    if (!m_openFailure.cause.empty()) return UiText(m_openFailure.cause, language);
    const int message = m_openFailure.port == 0 ? kMsgOpenDefaultPort : kMsgOpenAnyPort;
    const std::string_view device = MidiResultText(m_openFailure.result);
    return ZibMessage(message, language) + separator +
           (device.empty() ? UiText("Strange error number returned!", language) : UiText(device, language));
}

// No port opened: one box that names the cause, which the status bar keeps.
void PlaybackEngine::ShowOpenFailure()
{
    if (m_openFailure.port < 0) {
        m_ui.ShowMessage(kMsgOpenAnyPort, "StartMidiPlayback", PlaybackIcon::Exclamation);
        return;
    }
    if (!m_openFailure.cause.empty()) m_ui.ShowStatus(OpenFailureText(" - "));
    if (m_openFailure.port == 0)
        m_ui.ShowFailure(OpenFailureText("\r\n"), "OpenMidiOutPorts", PlaybackIcon::Stop);
    else
        m_ui.ShowFailure(OpenFailureText("\r\n"), "StartMidiPlayback", PlaybackIcon::Exclamation);
}

// ---- State ---------------------------------------------------------------------------------------------

PlaybackEngine::State PlaybackEngine::GetState() const
{
    return LockedCopy(m_mutex, m_state);
}

int PlaybackEngine::FreeBufferCount() const
{
    return LockedCopy(m_mutex, m_freeBuffers);
}

uint32_t PlaybackEngine::PlayedTick() const
{
    return LockedCopy(m_mutex, m_playedTick);
}

uint32_t PlaybackEngine::FillTick() const
{
    return LockedCopy(m_mutex, m_fillTick);
}

uint32_t PlaybackEngine::CursorTick() const
{
    return LockedCopy(m_mutex, m_cursorTick);
}

bool PlaybackEngine::PrecountActive() const
{
    return LockedCopy(m_mutex, m_precountActive);
}

int PlaybackEngine::HeldNoteCount() const
{
    return LockedCopy(m_mutex, m_heldNotes);
}

uint64_t PlaybackEngine::RunId() const
{
    return LockedCopy(m_mutex, m_runId);
}

void PlaybackEngine::RebuildTrackEventRanges()
{
    std::lock_guard lock(m_mutex);
    m_firstShown.fill(-1);
    m_lastEvent.fill(-1);
    const auto& events = m_doc.Sequence().GetEvents();
    for (size_t i = 0; i < events.size(); ++i) {
        const CMidiEvent& e = *events[i];
        if (e.track >= kTracks) continue;
        m_lastEvent[e.track] = int64_t(i);
        if (m_firstShown[e.track] >= 0) continue;
        const bool channel = e.status >= 0x80 && e.status < 0xF0;
        const bool text = e.status == 0xFF && e.data.size() > 1 && (e.data[1] == 1 || e.data[1] == 5 || e.data[1] == 6);
        if (channel || text) m_firstShown[e.track] = int64_t(i);
    }
}

} // namespace zib
