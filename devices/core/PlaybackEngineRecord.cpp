// MIDI input while playing: thru to the output ports, recording into armed
// tracks at the played position, pairing of recorded notes, and the take
// becoming one undoable group after the run.

#include "devices/core/PlaybackEngine.h"

#include "devices/core/InPort.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/MidiSession.h"
#include "devices/core/OutStream.h"
#include "devices/core/PlaybackHost.h"
#include "midi/CMidiParserEx.h"

#include <algorithm>
#include <new>

namespace zib {

namespace {

constexpr uint16_t kHeldNote = 77; // edit state of a recorded note-on waiting for its note-off

} // namespace

// ---- Input ports ------------------------------------------------------------------------------------

int PlaybackEngine::OpenMidiIn()
{
    const int devices = std::min(m_host.Devices().InDeviceCount(), kPorts);
    std::array<std::unique_ptr<InPort>, kPorts> opened;
    int n = 0;
    for (int i = 0; i < devices; ++i) {
        if (m_host.InPort(i).enabled != 1) continue;
        if (Succeeded(m_session->OpenInPort(i, *this, opened[size_t(i)]))) ++n; // a failure is skipped silently
    }
    std::lock_guard lock(m_mutex);
    m_inputs = std::move(opened);
    m_midiInOpen = n > 0;
    return n;
}

int PlaybackEngine::StartMidiIn()
{
    int result = 1;
    for (auto& in : m_inputs) {
        if (!in) continue;
        if (const MidiResult r = in->Start(); !Succeeded(r)) {
            ShowPlaybackError(r);
            result = 0;
        }
    }
    return result;
}

int PlaybackEngine::CloseMidiIn()
{
    // Outside the lock: closing waits for a running input callback.
    for (auto& in : m_inputs)
        if (in) in->Close();
    for (auto& in : m_inputs) in.reset();
    std::lock_guard lock(m_mutex);
    m_midiInOpen = false;
    return 1;
}

// ---- Recording ----------------------------------------------------------------------------------------

bool PlaybackEngine::TrackMatches(int row, uint8_t channel) const
{
    const PlaybackTrack& t = m_tracks[size_t(row)];
    if (!t.record) return false;
    const uint32_t code = t.recordChannel & 0xFFFF;
    const uint32_t mask = t.recordChannel >> 16;
    return (code >= 1 && code <= 16 && code == uint32_t(channel) + 1) || code == 17 ||
           (code == 18 && (mask & (1u << channel)) != 0);
}

void PlaybackEngine::SetEventPosition(CMidiEvent& event, uint32_t tick) const
{
    m_measures.TicksToMbt(tick, event.measure, event.beat, event.tick);
}

// Inserting while the song plays: the filler's place, the last event to
// play, the markers and the buffers in flight keep pointing at the same
// events. The events are numbered again after the run.
void PlaybackEngine::InsertRecorded(size_t index, std::unique_ptr<CMidiEvent> event)
{
    CMidiParserEx& seq = m_doc.Sequence();
    seq.InsertEvent(index, std::move(event));
    m_sequenceChanged = true;
    const int64_t at = int64_t(index);
    if (at <= m_curIndex) ++m_curIndex;
    if (m_lastIndex < at)
        m_lastIndex = at;
    else
        ++m_lastIndex;
    if (m_from.index >= at) ++m_from.index;
    if (m_thru.index >= at) ++m_thru.index;
    if (m_playedIndex >= at) ++m_playedIndex;
    for (BufferRecord& r : m_records)
        if (r.nextEvent >= at) ++r.nextEvent;
    if (m_lastTempoIndex >= at) ++m_lastTempoIndex;
    m_insertionHint = at + 1;
}

void PlaybackEngine::StopRecordingAtLimit()
{
    // The bar grid ends at measure 2000: the run stops there as Stop does.
    m_recordFlag = false;
    if (m_state == State::Playing) m_state = m_freeBuffers == kBufferCount ? State::Finished : State::StopPending;
    if (m_state == State::Finished) EnterFinished();
}

void PlaybackEngine::OnMidiInData(InPort&, uint32_t message, uint32_t)
{
    std::lock_guard lock(m_mutex);
    if (!m_recordFlag || m_state != State::Playing) return;
    const uint8_t status = uint8_t(message);
    if (status < 0x80 || status >= 0xF0) return; // only channel messages are echoed or recorded
    const uint8_t channel = status & 0x0F;
    const uint8_t d1 = uint8_t(message >> 8) & 0x7F, d2 = uint8_t(message >> 16) & 0x7F;

    int first = -1, matching = 0;
    for (int row = 0; row < kTracks - 1; ++row)
        if (TrackMatches(row, channel)) {
            if (first < 0) first = row;
            ++matching;
        }

    // Thru, once, to the first matching track's port
    if (m_thruMask & (1u << channel)) {
        int port = 0;
        if (OutStream* s = StreamOfPort(first >= 0 ? m_trackPort[size_t(first + 1)] : 0, port)) {
            s->SendShort(message & 0xFFFFFF); // a vanished device is no reason to stop
            const uint8_t kind = status & 0xF0;
            const size_t bit = size_t(channel) * 128 + d1;
            if (kind == 0x90 && d2 > 0)
                m_thruNotes[size_t(port)].set(bit);
            else if (kind == 0x80 || kind == 0x90)
                m_thruNotes[size_t(port)].reset(bit);
        }
    }
    if (matching == 0) return;

    const uint32_t tick = m_playedTick;
    uint32_t measure = 0, beat = 0, inBeat = 0;
    m_measures.TicksToMbt(tick, measure, beat, inBeat);
    if (measure >= CMeasureTable::kMaxMeasures - 1) {
        StopRecordingAtLimit();
        return;
    }

    // Where the events go: after the events of the played tick, at most at the filler's place
    CMidiParserEx& seq = m_doc.Sequence();
    const auto& events = seq.GetEvents();
    const int64_t count = int64_t(events.size());
    int64_t start = std::max(m_playedIndex, m_insertionHint);
    int64_t end = std::min(m_curIndex, count);
    if (m_curIndex < start) {
        start = 0;
        end = count;
    }
    start = std::clamp<int64_t>(start, 0, count);
    int64_t index = end;
    for (int64_t j = start; j < end; ++j)
        if (events[size_t(j)]->time > tick) {
            index = j;
            break;
        }

    const uint8_t kind = status & 0xF0;
    const bool noteOff = kind == 0x80 || (kind == 0x90 && d2 == 0);
    const bool noteOn = kind == 0x90 && d2 > 0;
    const bool oneByte = kind == 0xC0 || kind == 0xD0;
    for (int row = 0; row < kTracks - 1; ++row) {
        if (!TrackMatches(row, channel)) continue;
        std::unique_ptr<CMidiEvent> e(new (std::nothrow) CMidiEvent);
        if (!e) continue; // no memory: this event is dropped
        const uint8_t bytes[2] = {d1, d2};
        e->SetData(bytes, oneByte ? 1 : 2, 6);
        e->time = tick;
        e->status = status;
        e->track = uint8_t(row + 1);
        e->flags |= CMidiEvent::kRecorded;
        e->measure = measure;
        e->beat = beat;
        e->tick = inBeat;
        m_firstInserted = std::min(m_firstInserted, index);

        if (noteOff) {
            const int64_t floor = index - 1 < m_firstInserted ? 0 : m_firstInserted;
            CMidiEvent* on = nullptr;
            for (int64_t j = index - 1; j >= floor && j >= 0; --j) {
                CMidiEvent& c = *events[size_t(j)];
                if (c.state == kHeldNote && c.track == e->track && c.status == (0x90 | channel) && !c.data.empty() &&
                    c.data[0] == d1) {
                    on = &c;
                    break;
                }
            }
            if (!on) continue; // a note-off without its note-on is not recorded
            on->duration = tick - on->time;
            on->pairId = e->pairId = seq.NextPairId();
            on->paired = e->paired = 1;
            on->state = 0;
            m_heldNotes = std::max(0, m_heldNotes - 1);
        } else if (noteOn) {
            e->paired = 0;
            e->state = kHeldNote;
            ++m_heldNotes;
            if (m_loopFlag && tick <= m_thru.tick) e->duration = m_thru.tick - tick;
        } else {
            e->paired = 1;
        }
        InsertRecorded(size_t(index), std::move(e));
        ++index;
    }
}

// Ends the recorded notes still held at `endTick`: each gets its duration
// and a velocity-0 note-on after the events of that tick.
void PlaybackEngine::CloseHeldNotesAt(uint32_t endTick, size_t fromIndex)
{
    CMidiParserEx& seq = m_doc.Sequence();
    std::vector<CMidiEvent*> held;
    {
        const auto& events = seq.GetEvents();
        for (size_t j = fromIndex; j < events.size() && events[j]->time <= endTick; ++j) {
            CMidiEvent& e = *events[j];
            if (e.state == kHeldNote)
                held.push_back(&e);
            else
                e.state = 0;
        }
    }
    for (CMidiEvent* on : held) {
        on->duration = endTick - on->time;
        on->state = 0;
        on->paired = 1;
        on->pairId = seq.NextPairId();
        std::unique_ptr<CMidiEvent> off(new (std::nothrow) CMidiEvent);
        if (!off) continue;
        const uint8_t bytes[2] = {on->data.empty() ? uint8_t(0) : on->data[0], 0};
        off->SetData(bytes, 2, 6);
        off->status = on->status;
        off->track = on->track;
        off->time = endTick;
        off->paired = 1;
        off->pairId = on->pairId;
        off->flags |= CMidiEvent::kRecorded;
        SetEventPosition(*off, endTick);
        const auto& events = seq.GetEvents();
        const auto it = std::upper_bound(events.begin(), events.end(), endTick,
                                         [](uint32_t t, const auto& e) { return t < e->time; });
        InsertRecorded(size_t(it - events.begin()), std::move(off));
        m_heldNotes = std::max(0, m_heldNotes - 1);
    }
    m_heldNotes = 0;
}

void PlaybackEngine::CloseHeldNotes()
{
    std::lock_guard lock(m_mutex);
    if (m_heldNotes <= 0) return;
    if (IsPlaying() && m_recordFlag)
        CloseHeldNotesAt(m_thru.tick, size_t(std::max<int64_t>(m_from.index, 0)));
    else
        CloseHeldNotesAt(m_playedTick, 0);
}

// The take becomes one undoable group: every recorded event loses its mark
// and is recorded as one insert, the first opening the group.
int PlaybackEngine::RecordUndoForRecording()
{
    const auto& events = m_doc.Sequence().GetEvents();
    int n = 0;
    for (size_t i = 0; i < events.size(); ++i) {
        CMidiEvent& e = *events[i];
        e.index = uint32_t(i);
        if (!(e.flags & CMidiEvent::kRecorded)) continue;
        e.flags &= uint8_t(~CMidiEvent::kRecorded);
        if (!m_doc.RecordUndo(PlaybackUndoTarget::TrackEvent, e, PlaybackUndoOperation::Insert, n == 0, int32_t(i),
                              -1)) {
            m_doc.ClearUndo();
            return -1;
        }
        ++n;
    }
    return n;
}

} // namespace zib
