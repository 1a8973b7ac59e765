// MIDI input while playing: thru to an output port and recording into the
// armed tracks at the played position, with note pairing as the note-offs
// arrive and one undo group per take.

#include "devices/core/CMidiBarPlayer.h"

#include "devices/core/IPlayerHost.h"
#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"
#include "devices/core/CMidiInPort.h"
#include "devices/core/CMidiStream.h"
#include "devices/core/CMidiSystem.h"

#include <algorithm>
#include <new>

namespace zib {

namespace {

constexpr uint16_t kHeldNoteState = 77; // a recorded note-on waiting for its note-off
constexpr int kUndoInsert = 1;
constexpr int kUndoTargetEvent = 0;

} // namespace

// ---- MIDI IN devices -------------------------------------------------------------------------

int CMidiBarPlayer::OpenMidiIn()
{
    CMidiSystem& midi = m_host.Midi();
    const int devices = std::min(midi.InDeviceCount(), kPorts);
    int opened = 0;
    for (int i = 0; i < kPorts; ++i) {
        m_inputs[size_t(i)].reset();
        if (i >= devices || m_host.InPort(i).enabled != 1) continue;
        std::unique_ptr<CMidiInPort> port;
        if (Succeeded(midi.OpenInput(i, *this, port)) && port) { // a device that fails is skipped
            m_inputs[size_t(i)] = std::move(port);
            ++opened;
        }
    }
    m_midiInOpen = opened > 0;
    return opened;
}

int CMidiBarPlayer::StartMidiIn()
{
    int result = 1;
    for (auto& in : m_inputs) {
        if (!in) continue;
        const MidiResult r = in->Start();
        if (!Succeeded(r)) {
            ShowPlaybackError(r);
            result = 0;
        }
    }
    return result;
}

int CMidiBarPlayer::CloseMidiIn()
{
    // Closing waits for the device's thread, which may be waiting for the lock.
    std::array<CMidiInPort*, kPorts> toClose{};
    {
        std::lock_guard lock(m_mutex);
        if (!m_midiInOpen) return 1;
        for (int i = 0; i < kPorts; ++i) toClose[size_t(i)] = m_inputs[size_t(i)].get();
    }
    std::array<MidiResult, kPorts> results{};
    for (int i = 0; i < kPorts; ++i)
        if (toClose[size_t(i)]) results[size_t(i)] = toClose[size_t(i)]->Close();
    std::vector<std::unique_ptr<CMidiInPort>> closed;
    {
        std::lock_guard lock(m_mutex);
        for (int i = 0; i < kPorts; ++i) {
            if (!toClose[size_t(i)]) continue;
            if (!Succeeded(results[size_t(i)]) && !m_shuttingDown) {
                ShowPlaybackError(results[size_t(i)]);
                continue;
            }
            closed.push_back(std::move(m_inputs[size_t(i)]));
        }
        m_midiInOpen = false;
    }
    return 1;
}

// ---- Incoming messages ------------------------------------------------------------------------

bool CMidiBarPlayer::TrackMatches(const PlaybackTrack& t, uint8_t channel) const
{
    if (t.record == 0) return false;
    const uint32_t code = t.recordChannel & 0xFFFF;
    const uint32_t mask = t.recordChannel >> 16;
    if (code >= 1 && code <= 16) return code == uint32_t(channel) + 1;
    if (code == 17) return true;
    if (code == 18) return (mask >> channel) & 1;
    return false;
}

void CMidiBarPlayer::OnMidiInData(uint32_t message, uint32_t)
{
    std::lock_guard lock(m_mutex);
    if (m_doc.RecordFlag() == 0 || m_shuttingDown) return;
    const uint8_t status = uint8_t(message);
    // Only channel messages are echoed and recorded: a system message has no
    // channel and no place in a track.
    if (!isChannelStatus(status)) return;
    const uint8_t channel = status & 0x0F;
    const uint8_t d1 = uint8_t((message >> 8) & 0x7F);
    const uint8_t d2 = uint8_t((message >> 16) & 0x7F);

    const int rows = std::min(m_doc.TrackRecordCount(), kTracks - 1);
    int matching = 0, first = 0;
    for (int row = 0; row < rows; ++row)
        if (TrackMatches(m_doc.Track(row), channel)) {
            if (matching++ == 0) first = row + 1;
        }

    // Thru: once, to the port of the first matching track (else port 0)
    if ((m_doc.RecordEchoChannels() >> channel) & 1) {
        const int port = matching > 0 ? m_trackPort[size_t(first)] : 0;
        CMidiStream* s = m_handles[size_t(port)] ? m_handles[size_t(port)] : m_handles[0];
        if (s) s->ShortMsg(message & 0xFFFFFF);
    }
    if (matching == 0) return;

    CMidiParserEx& seq = m_doc.Sequence();
    const auto& events = seq.GetEvents();
    const int64_t count = int64_t(events.size());

    // Where the message goes: after the events up to the played tick
    int64_t start = std::max(m_playedIndex, m_insertionHint);
    int64_t end = m_curIndex;
    if (end < start) {
        start = 0;
        end = count;
    }
    start = std::clamp<int64_t>(start, 0, count);
    end = std::clamp<int64_t>(end, start, count);
    int64_t at = end;
    for (int64_t k = start; k < end; ++k)
        if (events[size_t(k)]->time > m_playedTick) {
            at = k;
            break;
        }

    const bool noteOff = (status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && d2 == 0);
    const bool noteOn = (status & 0xF0) == 0x90 && d2 > 0;
    const uint8_t kind = status & 0xF0;
    for (int row = 0; row < rows; ++row) {
        const int track = row + 1;
        if (!TrackMatches(m_doc.Track(row), channel)) continue;
        std::unique_ptr<CMidiEvent> e;
        try {
            e = std::make_unique<CMidiEvent>();
            const uint8_t bytes[2] = {d1, d2};
            e->SetData(bytes, kind == 0xC0 || kind == 0xD0 ? 1 : 2, 6);
        } catch (const std::bad_alloc&) {
            continue; // the event is dropped
        }
        e->time = m_playedTick;
        e->status = status;
        e->track = uint8_t(track);
        e->flags |= CMidiEvent::kRecorded;
        e->index = uint32_t(at);
        uint32_t b = 0, t = 0;
        m_measures.TicksToMbt(m_playedTick, e->measure, b, t);
        e->beat = b;
        e->tick = t;
        m_firstInserted = std::min(m_firstInserted, at);

        if (noteOff) {
            // The held note-on of this track, note and channel
            const int64_t low = at - 1 >= m_firstInserted ? m_firstInserted : 0;
            CMidiEvent* on = nullptr;
            for (int64_t k = at - 1; k >= low; --k) {
                CMidiEvent& c = *events[size_t(k)];
                if (c.state == kHeldNoteState && c.track == track && (c.status & 0x0F) == channel &&
                    eventDataByte(c, 0) == d1) {
                    on = &c;
                    break;
                }
            }
            if (on == nullptr) continue; // a note-off without its note-on is not recorded
            on->duration = m_playedTick - std::min(m_playedTick, on->time);
            const int32_t pair = seq.NextPairId();
            on->pairId = e->pairId = pair;
            on->paired = e->paired = 1;
            on->state = 0;
            m_heldNotes = std::max(m_heldNotes - 1, 0);
        } else if (noteOn) {
            e->paired = 0;
            e->state = kHeldNoteState;
            ++m_heldNotes;
            if (LoopActive() && m_playedTick <= m_thru.tick) e->duration = m_thru.tick - m_playedTick;
        } else {
            e->paired = 1;
        }
        InsertRecorded(size_t(at), std::move(e));
        ++at;
        m_insertionHint = at;
    }
    m_doc.SetModified();
}

// Keeps every index of the player right when an event goes in at `index`.
void CMidiBarPlayer::ShiftIndexesForInsert(size_t index)
{
    const int64_t at = int64_t(index);
    if (at <= m_curIndex) ++m_curIndex;
    if (m_lastIndex < at)
        m_lastIndex = at;
    else
        ++m_lastIndex;
    if (m_from.index >= at) ++m_from.index;
    if (m_thru.index >= at) ++m_thru.index;
    if (m_playedIndex > at) ++m_playedIndex;
    for (auto& r : m_records)
        if (r.nextEvent > at) ++r.nextEvent;
}

// Stores each event's position from `index` on (the edit states stay: a held
// note-on keeps its mark).
void CMidiBarPlayer::RenumberFrom(size_t index)
{
    const auto& events = m_doc.Sequence().GetEvents();
    for (size_t i = index; i < events.size(); ++i) events[i]->index = uint32_t(i);
}

void CMidiBarPlayer::InsertRecorded(size_t index, std::unique_ptr<CMidiEvent> event)
{
    CMidiParserEx& seq = m_doc.Sequence();
    if (seq.InsertEvent(index, std::move(event)) < 0) return;
    ShiftIndexesForInsert(index);
    m_sequenceChanged = true;
    RenumberFrom(index > 0 ? index - 1 : 0);
}

void CMidiBarPlayer::RefreshTrackCounts()
{
    const CMidiParserEx& seq = m_doc.Sequence();
    for (int row = 0; row < m_doc.TrackRecordCount() && row + 1 < kTracks; ++row)
        m_doc.SetTrackCounts(row, seq.GetTrackEventCount(row + 1), seq.GetTrackTotalEvents(row + 1));
}

// ---- Held notes and the take ----------------------------------------------------------------------

void CMidiBarPlayer::CloseHeldNotes()
{
    std::lock_guard lock(m_mutex);
    if (m_heldNotes <= 0) return;
    // At a loop wrap the take ends at Thru; at the finish where playback stopped.
    if (IsPlaying() && m_doc.RecordFlag() != 0)
        CloseHeldNotesAt(m_thru.tick, size_t(std::max<int64_t>(m_from.index, 0)));
    else
        CloseHeldNotesAt(m_playedTick, 0);
}

void CMidiBarPlayer::CloseHeldNotesAt(uint32_t endTick, size_t fromIndex)
{
    CMidiParserEx& seq = m_doc.Sequence();
    const auto& events = seq.GetEvents();
    for (size_t i = fromIndex; i < events.size() && events[i]->time <= endTick; ++i) {
        CMidiEvent& on = *events[i];
        if (on.state != kHeldNoteState) {
            on.state = 0;
            continue;
        }
        std::unique_ptr<CMidiEvent> off;
        try {
            off = std::make_unique<CMidiEvent>();
            const uint8_t bytes[2] = {eventDataByte(on, 0), 0};
            off->SetData(bytes, 2, 6);
        } catch (const std::bad_alloc&) {
            continue;
        }
        on.duration = endTick - std::min(endTick, on.time);
        on.state = 0;
        on.paired = 1;
        off->status = on.status;
        off->track = on.track;
        off->paired = 1;
        off->flags |= CMidiEvent::kRecorded;
        off->time = endTick;
        uint32_t b = 0, t = 0;
        m_measures.TicksToMbt(endTick, off->measure, b, t);
        off->beat = b;
        off->tick = t;
        on.pairId = off->pairId = seq.NextPairId();
        // After the last event whose tick is not after the end
        const size_t at = size_t(std::upper_bound(events.begin(), events.end(), endTick,
                                                  [](uint32_t tick, const auto& e) { return tick < e->time; }) -
                                 events.begin());
        if (seq.InsertEvent(at, std::move(off)) < 0) continue;
        ShiftIndexesForInsert(at);
        m_sequenceChanged = true;
        RenumberFrom(at);
        m_heldNotes = std::max(m_heldNotes - 1, 0);
    }
    RefreshTrackCounts();
}

int CMidiBarPlayer::RecordUndoForRecording()
{
    std::lock_guard lock(m_mutex);
    const auto& events = m_doc.Sequence().GetEvents();
    uint32_t groupStart = 1;
    int recorded = 0;
    for (size_t i = 0; i < events.size(); ++i) {
        CMidiEvent& e = *events[i];
        e.index = uint32_t(i);
        if ((e.flags & CMidiEvent::kRecorded) == 0) continue;
        e.flags &= uint8_t(~CMidiEvent::kRecorded);
        if (m_doc.RecordUndoAction(kUndoTargetEvent, e, kUndoInsert, groupStart, int32_t(i), -1) < 0) {
            m_doc.ClearUndo();
            return -1;
        }
        groupStart = 0;
        ++recorded;
    }
    return recorded;
}

} // namespace zib
