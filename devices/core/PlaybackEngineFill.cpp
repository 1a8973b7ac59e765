// Filling the stream buffers: events by tick or by time step, port
// alignment, the metronome click, the count-in and the From-Thru loop.
// Everything here runs under m_mutex, on the UI thread at the start and on
// the delivery thread afterwards, and allocates nothing.

#include "devices/core/PlaybackEngine.h"

#include "devices/core/OutStream.h"
#include "midi/CMidiParserEx.h"

#include <algorithm>
#include <cstring>

namespace zib {

namespace {

void putU32(uint8_t* at, uint32_t v)
{
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
    at[2] = uint8_t(v >> 16);
    at[3] = uint8_t(v >> 24);
}

bool isNoteOff(const CMidiEvent& e)
{
    const uint8_t kind = e.status & 0xF0;
    return kind == 0x80 || (kind == 0x90 && e.data.size() > 1 && e.data[1] == 0);
}

bool isNoteOn(const CMidiEvent& e)
{
    return (e.status & 0xF0) == 0x90 && e.data.size() > 1 && e.data[1] > 0;
}

// Bytes of a variable-length number at the start of `data`
uint32_t varLenSize(const uint8_t* data, size_t n)
{
    uint32_t size = 0;
    while (size < n && size < 4 && (data[size] & 0x80)) ++size;
    return size + 1;
}

uint32_t tempoOf(const CMidiEvent& e)
{
    return uint32_t(e.data[3]) << 16 | uint32_t(e.data[4]) << 8 | e.data[5];
}

} // namespace

// ---- The buffer being filled --------------------------------------------------------------------

void PlaybackEngine::BeginBuffer(int i)
{
    m_fill = Fill{};
    m_fill.data = m_buffers[i];
    std::memset(m_fill.data, 0, kBufferSize);
}

bool PlaybackEngine::Write(uint32_t delta, uint32_t word)
{
    if (m_fill.used + mevt::kEventSize > kBufferSize) return false;
    uint8_t* at = m_fill.data + m_fill.used;
    putU32(at, delta);
    putU32(at + 4, 0);
    putU32(at + 8, word);
    m_fill.used += mevt::kEventSize;
    ++m_fill.events;
    return true;
}

bool PlaybackEngine::WriteLong(uint32_t delta, uint32_t word, const uint8_t* first, uint32_t firstCount,
                               const uint8_t* rest, uint32_t restCount)
{
    const uint32_t n = firstCount + restCount;
    if (m_fill.used + mevt::kEventSize + mevt::PaddedLength(n) > kBufferSize) return false;
    uint8_t* at = m_fill.data + m_fill.used;
    putU32(at, delta);
    putU32(at + 4, 0);
    putU32(at + 8, word);
    std::memcpy(at + 12, first, firstCount);
    if (restCount) std::memcpy(at + 12 + firstCount, rest, restCount);
    m_fill.used += uint32_t(mevt::kEventSize + mevt::PaddedLength(n));
    ++m_fill.events;
    return true;
}

OutStream* PlaybackEngine::StreamOfPort(int port, int& usedPort) const
{
    if (port < 0 || port >= kPorts) port = 0;
    if (m_handles[size_t(port)]) {
        usedPort = port;
        return m_handles[size_t(port)];
    }
    usedPort = 0;
    return m_handles[0];
}

std::optional<int> PlaybackEngine::FillPortOf(const CMidiEvent& event)
{
    int port = 0;
    OutStream* stream = StreamOfPort(m_trackPort[event.track < kTracks ? event.track : 0], port);
    if (m_fill.Empty()) {
        m_fill.stream = stream;
        m_fill.port = port;
    } else if (stream != m_fill.stream) {
        return std::nullopt;
    }
    return port;
}

int PlaybackEngine::MetronomePort() const
{
    return m_metronome.port < kPorts ? m_metronome.port : 0;
}

bool PlaybackEngine::Looping() const
{
    return m_loopFlag;
}

int64_t PlaybackEngine::NextEventIndex() const
{
    return m_curIndex;
}

uint32_t PlaybackEngine::TicksPerBeatAt(uint32_t tick) const
{
    uint32_t m = 0, b = 0, t = 0;
    m_measures.TicksToMbt(tick, m, b, t);
    return m_measures.TicksPerBeat(m);
}

// Ticks from `tick` to the next beat start or the end of a click, whichever comes first
uint32_t PlaybackEngine::NextBeatStep(uint32_t tick) const
{
    uint32_t m = 0, b = 0, inBeat = 0;
    m_measures.TicksToMbt(tick, m, b, inBeat);
    const uint32_t tpb = m_measures.TicksPerBeat(m);
    const uint32_t duration = uint32_t(std::clamp(m_metronome.duration, 0, 20));
    const uint32_t toBeat = tpb - inBeat;
    return inBeat < duration ? std::min(toBeat, duration - inBeat) : toBeat;
}

int PlaybackEngine::QueueBuffer(int i)
{
    OutStream* stream = m_fill.stream;
    if (!stream) return kOutFailed; // no stream to play on
    const int port = m_fill.port;
    if (m_runningTick[size_t(port)] > m_fillTick) m_fillTick = m_runningTick[size_t(port)];
    m_records[size_t(i)] = BufferRecord{NextEventIndex(), m_runningTick[size_t(port)], stream, m_fill.tempoEvent};
    MidiHeader& h = m_headers[size_t(i)];
    h.data = m_buffers[i];
    h.bufferLength = kBufferSize;
    h.bytesRecorded = m_fill.used;
    h.flags = 0;
    h.user = uintptr_t(i);
    h.offset = 0;
    if (const MidiResult r = stream->Prepare(h); !Succeeded(r)) {
        PostError(r);
        return kPrepareFailed;
    }
    if (const MidiResult r = stream->Queue(h); !Succeeded(r)) {
        stream->Unprepare(h);
        PostError(r);
        return kOutFailed;
    }
    if (!Looping() && !m_loopEnd && !m_endMarkerQueued && m_portsInSync) {
        // The next fill brings every other port to this tick first.
        m_portsInSync = false;
        m_nextPort = 0;
        m_portSynced.fill(0);
    }
    return kQueued;
}

// ---- The fill -----------------------------------------------------------------------------------

int PlaybackEngine::FillStreamBuffer(int i)
{
    BeginBuffer(i);
    if (!m_portsInSync) {
        const int r = AlignPorts(i);
        if (r >= 0) return r;
    }
    if (m_precountWaitPort >= 0) {
        const int r = PrecountWait(i);
        if (r >= 0) return r;
    }
    if (m_metronomeOn && m_clicksRemaining >= 0) {
        const int r = PreCount(i);
        if (r >= 0) return r;
    }
    if (Looping() && m_loopEnd) {
        const int r = LoopWrap(i);
        if (r >= 0) return r;
    }
    return FillEvents(i);
}

int PlaybackEngine::FillEvents(int i)
{
    CMidiParserEx& seq = m_doc.Sequence();
    const auto& events = seq.GetEvents();
    const int64_t count = int64_t(events.size());

    if (!m_recordFlag && (m_curIndex > count || m_curIndex > m_lastIndex + 1)) return kNothingMore;

    if (m_metronomeOn && m_fillTick != m_lastClickTick) {
        uint32_t m = 0, beat = 0, inBeat = 0;
        m_measures.TicksToMbt(m_fillTick, m, beat, inBeat);
        const uint32_t duration = uint32_t(std::clamp(m_metronome.duration, 0, 20));
        if ((!m_clickSounding && inBeat == 0) || (m_clickSounding && inBeat == duration))
            return MetronomeClick(i, beat);
    }

    const bool looping = Looping();
    while (m_curIndex <= m_lastIndex && m_curIndex < count) {
        CMidiEvent& e = *events[size_t(m_curIndex)];
        const std::optional<int> fillPort = FillPortOf(e);
        if (!fillPort) break; // another stream: this buffer is done
        const int port = *fillPort;
        const bool atThru = looping && e.time >= m_thru.tick;
        const uint32_t eventTick = atThru ? m_thru.tick : e.time;
        uint32_t& running = m_runningTick[size_t(port)];
        const int64_t delta = int64_t(eventTick) - int64_t(running);
        const int64_t ahead = int64_t(eventTick) - int64_t(m_fillTick);
        if (ahead > delta || ahead < 0) return kEventBeforeFill;

        if (ahead > 0) {
            if (m_fill.Empty()) {
                const uint32_t step =
                    std::min({uint32_t(ahead), m_maxNopStep, NextBeatStep(m_fillTick)});
                const uint32_t d = m_fillTick + step - running;
                Write(d, kNopStep);
                running += d;
            }
            break;
        }
        if (atThru) {
            if (m_fill.Empty()) {
                Write(uint32_t(delta), kNopStep);
                running = m_thru.tick;
                m_loopEnd = true;
                m_nextPort = 0;
                m_portSynced.fill(0);
            }
            break;
        }

        if (!EventPlays(size_t(m_curIndex))) {
            Write(uint32_t(delta), kNopStep);
            running += uint32_t(delta);
            e.played = 0;
        } else if (e.status < 0xF0) {
            const uint32_t d1 = e.length > 0 && !e.data.empty() ? e.data[0] : 0;
            const uint32_t d2 = e.data.size() > 1 ? e.data[1] : 0;
            Write(uint32_t(delta), uint32_t(e.status) | d1 << 8 | d2 << 16);
            running += uint32_t(delta);
            e.played = 1;
            CreditChase(e);
        } else if (e.status == 0xFF) {
            if (e.data.size() > 1 && e.data[1] == 0x51) {
                if (!m_fill.Empty()) break; // a tempo event opens its own buffer
                if (e.length != 6 || e.data.size() < 6 || tempoOf(e) == 0) return kBadTempo;
                Write(uint32_t(delta), mevt::kTempo | tempoOf(e));
                running += uint32_t(delta);
                e.played = 1;
                m_fill.tempoEvent = m_curIndex;
                ++m_curIndex;
                break;
            }
            Write(uint32_t(delta), kNopMeta);
            running += uint32_t(delta);
            e.played = 1;
        } else if (e.status == 0xF0 && e.length < kLongEventLimit && e.length >= 2 && e.data.size() >= e.length) {
            if (!m_fill.Empty()) break; // sent whole, alone at the head of its buffer
            const uint32_t lengthField = varLenSize(e.data.data() + 1, e.length - 1);
            if (1 + lengthField <= e.length) {
                // 0xF0 and every data byte up to the closing 0xF7
                const uint32_t dataBytes = e.length - 1 - lengthField;
                const uint8_t f0 = 0xF0;
                WriteLong(uint32_t(delta), mevt::kLongMsg | (dataBytes + 1), &f0, 1, e.data.data() + 1 + lengthField,
                          dataBytes);
            } else {
                Write(uint32_t(delta), kNopMeta);
            }
            running += uint32_t(delta);
            e.played = 1;
            ++m_curIndex;
            break;
        } else {
            // Overlong system exclusive, and 0xF7 continuation events: time only.
            Write(uint32_t(delta), kNopMeta);
            running += uint32_t(delta);
            e.played = 1;
        }
        ++m_curIndex;
        if (m_fill.used >= kFillLimit) break;
    }

    if (m_fill.Empty() && (m_curIndex > m_lastIndex || m_curIndex >= count)) {
        int port = 0;
        m_fill.stream = StreamOfPort(0, port);
        m_fill.port = port;
        uint32_t& running = m_runningTick[size_t(port)];
        if (looping) {
            // On to the Thru marker by time steps, then the loop wraps.
            if (running < m_thru.tick) {
                const uint32_t step = std::min(m_maxNopStep, m_thru.tick - running);
                Write(step, kNopStep);
                running += step;
            } else {
                Write(0, kNopStep);
                m_loopEnd = true;
                m_portSynced.fill(0);
                m_nextPort = 0;
            }
        } else if (m_recordFlag) {
            // Recording runs on past the song in time steps, up to the end of
            // measure 1998: the last measure the grid can still show.
            const uint32_t limit = m_measures.At(CMeasureTable::kMaxMeasures - 1).startTick - 1;
            if (m_fillTick >= limit) return kNothingMore;
            const uint32_t step = std::min({m_maxNopStep, NextBeatStep(m_fillTick), limit - m_fillTick});
            const uint32_t d = m_fillTick + step - running;
            Write(d, kNopStep);
            running += d;
        } else {
            Write(m_fillTick - running + 100, kEndMarker);
            m_endMarkerQueued = true;
            m_curIndex = m_lastIndex + 2;
        }
    }
    if (m_fill.Empty()) return kNothingMore;
    return QueueBuffer(i);
}

// Whether the event sounds under mute and solo. A note-off whose note-on
// went out still goes out, so no note hangs when a track is muted.
bool PlaybackEngine::EventPlays(size_t index) const
{
    const auto& events = m_doc.Sequence().GetEvents();
    const CMidiEvent& e = *events[index];
    const int track = e.track;
    bool plays = true;
    if (track > 0 && track < kTracks) {
        const PlaybackTrack& t = m_tracks[size_t(track - 1)];
        if (m_soloedExists)
            plays = t.solo == 1;
        else if (m_mutedExists)
            plays = t.play != 0;
    }
    if (plays || !isNoteOff(e) || !e.paired || e.pairId < 0) return plays;
    for (size_t j = index; j-- > 0;) {
        const CMidiEvent& on = *events[j];
        if (on.pairId == e.pairId) return on.played != 0;
    }
    return false;
}

void PlaybackEngine::CreditChase(const CMidiEvent& e)
{
    if (e.track < kTracks) m_chase[e.track].Take(e);
}

void PlaybackEngine::Chase::Take(const CMidiEvent& e)
{
    if (e.data.empty()) return;
    const uint8_t kind = e.status & 0xF0;
    const uint8_t d0 = e.data[0], d1 = e.data.size() > 1 ? e.data[1] : 0;
    if (kind == 0xC0) {
        program = d0;
    } else if (kind == 0xB0) {
        if (d0 == 7)
            volume = d1;
        else if (d0 == 10)
            pan = d1;
        else if (d0 == 0)
            bankMsb = d1;
        else if (d0 == 32)
            bankLsb = d1;
    }
}

uint32_t PlaybackEngine::TempoInEffectAt(uint32_t tick) const
{
    uint32_t tempo = 600000;
    for (const auto& p : m_doc.Sequence().GetEvents()) {
        const CMidiEvent& e = *p;
        if (e.time > tick) break;
        if (e.status == 0xFF && e.length >= 6 && e.data.size() >= 6 && e.data[1] == 0x51 && tempoOf(e) != 0)
            tempo = tempoOf(e);
    }
    return tempo;
}

// ---- Port alignment -------------------------------------------------------------------------------

// One time step on the next used port behind the fill tick; -1 when every
// port has caught up (ports in sync again).
int PlaybackEngine::AlignPorts(int i)
{
    for (int p = m_nextPort; p < kPorts; ++p) {
        if (!m_portInUse[size_t(p)] || m_portSynced[size_t(p)] || !m_handles[size_t(p)]) continue;
        if (m_runningTick[size_t(p)] >= m_fillTick) continue;
        m_fill.stream = m_handles[size_t(p)];
        m_fill.port = p;
        Write(m_fillTick - m_runningTick[size_t(p)], kNopStep);
        m_runningTick[size_t(p)] = m_fillTick;
        m_portSynced[size_t(p)] = 1;
        m_nextPort = p + 1;
        return QueueBuffer(i);
    }
    m_portsInSync = true;
    m_nextPort = 0;
    return -1;
}

// After the count-in, every other used stream waits for its length, so the
// song starts together on all ports; -1 when none is left.
int PlaybackEngine::PrecountWait(int i)
{
    int used = 0;
    OutStream* metronome = StreamOfPort(MetronomePort(), used);
    for (int p = m_precountWaitPort; p < kPorts; ++p) {
        OutStream* s = m_handles[size_t(p)];
        if (!m_portInUse[size_t(p)] || !s || s == metronome) continue;
        bool seen = false; // ports sharing a stream wait once
        for (int q = 0; q < p && !seen; ++q) seen = m_portInUse[size_t(q)] && m_handles[size_t(q)] == s;
        if (seen) continue;
        m_fill.stream = s;
        m_fill.port = p;
        Write(m_precountTicks, kNopStep);
        m_precountWaitPort = p + 1;
        // The stream's song time begins after the wait: its running tick stays at the start.
        const uint32_t fillTick = m_fillTick;
        const int r = QueueBuffer(i);
        m_fillTick = fillTick;
        m_portsInSync = true;
        return r;
    }
    m_precountWaitPort = -1;
    return -1;
}

// ---- Metronome and count-in ------------------------------------------------------------------------

int PlaybackEngine::MetronomeClick(int i, uint32_t beat)
{
    int port = 0;
    m_fill.stream = StreamOfPort(MetronomePort(), port);
    m_fill.port = port;
    const uint32_t channel = m_metronome.channel & 0x0F;
    uint32_t& running = m_runningTick[size_t(port)];
    const uint32_t delta = m_fillTick > running ? m_fillTick - running : 0;
    running += delta;
    if (m_clickSounding) {
        Write(delta, 0x90 | channel | uint32_t(m_clickKey) << 8);
        m_clickSounding = false;
    } else {
        const uint8_t key = beat == 0 ? m_metronome.firstBeatKey : m_metronome.otherBeatsKey;
        const uint8_t velocity = beat == 0 ? m_metronome.firstBeatVelocity : m_metronome.otherBeatsVelocity;
        Write(delta, 0x90 | channel | uint32_t(key & 0x7F) << 8 | uint32_t(velocity & 0x7F) << 16);
        if (m_metronome.duration <= 0) {
            Write(0, 0x90 | channel | uint32_t(key & 0x7F) << 8);
        } else {
            m_clickSounding = true;
            m_clickKey = key & 0x7F;
        }
    }
    m_lastClickTick = m_fillTick;
    return QueueBuffer(i);
}

int PlaybackEngine::PreCount(int i)
{
    if (m_clicksRemaining > 0) {
        int port = 0;
        m_fill.stream = StreamOfPort(MetronomePort(), port);
        m_fill.port = port;
        const uint32_t tpb = TicksPerBeatAt(m_startTick);
        const uint32_t duration = std::min(uint32_t(std::clamp(m_metronome.duration, 0, 20)), tpb);
        const int k = m_clicksTotal - m_clicksRemaining;
        const uint32_t channel = m_metronome.channel & 0x0F;
        const uint8_t key = k == 0 ? m_metronome.firstBeatKey : m_metronome.otherBeatsKey;
        const uint8_t velocity = k == 0 ? m_metronome.firstBeatVelocity : m_metronome.otherBeatsVelocity;
        const uint32_t on = k == 0 ? 0 : tpb - duration;
        Write(on, 0x90 | channel | uint32_t(key & 0x7F) << 8 | uint32_t(velocity & 0x7F) << 16);
        Write(duration, 0x90 | channel | uint32_t(key & 0x7F) << 8);
        m_runningTick[size_t(port)] += on + duration;
        if (--m_clicksRemaining == 0) {
            Write(tpb - duration, kNopPrecountEnd);
            m_runningTick[size_t(port)] += tpb - duration;
            m_precountTicks = uint32_t(m_clicksTotal) * tpb;
        }
        const uint32_t fillTick = m_fillTick;
        const int r = QueueBuffer(i);
        m_fillTick = fillTick; // the song has not moved yet
        m_records[size_t(i)].tick = m_startTick;
        m_portsInSync = true;
        return r;
    }
    // The count-in is over: the song starts from its start tick on every port.
    m_clicksRemaining = -1;
    for (int p = m_nextPort; p < kPorts; ++p) m_runningTick[size_t(p)] = m_startTick;
    m_fillTick = m_startTick;
    if (m_clicksTotal > 0) {
        m_precountWaitPort = 0;
        const int r = PrecountWait(i);
        if (r >= 0) return r;
    }
    return -1;
}

// ---- Loop ---------------------------------------------------------------------------------------------

int PlaybackEngine::LoopWrap(int i)
{
    if (m_recordFlag && m_heldNotes > 0)
        CloseHeldNotesAt(m_thru.tick, size_t(std::max<int64_t>(m_from.index, 0)));
    // Every used port up to the Thru marker first
    for (int p = m_nextPort; p < kPorts; ++p) {
        if (!m_portInUse[size_t(p)] || m_portSynced[size_t(p)] || !m_handles[size_t(p)]) continue;
        if (m_runningTick[size_t(p)] >= m_fillTick) continue;
        m_fill.stream = m_handles[size_t(p)];
        m_fill.port = p;
        Write(m_thru.tick - std::min(m_thru.tick, m_runningTick[size_t(p)]), kNopStep);
        m_runningTick[size_t(p)] = m_thru.tick;
        m_portSynced[size_t(p)] = 1;
        m_nextPort = p + 1;
        return QueueBuffer(i);
    }
    // Notes that still sound at Thru end before the wrap.
    const auto& events = m_doc.Sequence().GetEvents();
    for (int64_t j = std::max<int64_t>(m_from.index, 0); j < int64_t(events.size()); ++j) {
        const CMidiEvent& e = *events[size_t(j)];
        if (e.time >= m_thru.tick) break;
        if (e.played && isNoteOn(e) && uint64_t(e.time) + e.duration >= m_thru.tick) {
            m_hangingNotes = true;
            m_curIndex = j;
            return ReleaseLoopNotes(i);
        }
    }
    WrapToFrom();
    return -1;
}

int PlaybackEngine::ReleaseLoopNotes(int i)
{
    BeginBuffer(i);
    const auto& events = m_doc.Sequence().GetEvents();
    int64_t j = std::max<int64_t>(m_curIndex, 0);
    for (; j < int64_t(events.size()); ++j) {
        CMidiEvent& e = *events[size_t(j)];
        if (e.time >= m_thru.tick) {
            j = int64_t(events.size());
            break;
        }
        if (!(e.played && isNoteOn(e) && uint64_t(e.time) + e.duration >= m_thru.tick)) continue;
        if (!FillPortOf(e)) break;
        Write(0, uint32_t(0x90 | (e.status & 0x0F)) | uint32_t(e.data[0]) << 8);
        if (m_fill.used >= kFillLimit) {
            ++j;
            break;
        }
    }
    m_curIndex = j;
    if (j >= int64_t(events.size())) {
        // None left: the wrap
        WrapToFrom();
        m_hangingNotes = false;
        if (m_fill.Empty()) {
            const int r = FillStreamBuffer(i);
            return r;
        }
    }
    return QueueBuffer(i);
}

void PlaybackEngine::WrapToFrom()
{
    m_runningTick.fill(m_from.tick);
    m_fillTick = m_playedTick = m_from.tick;
    int64_t first = FindEventAtTick(m_from.tick, 0);
    if (first < 0) first = int64_t(m_doc.Sequence().GetEventCount());
    m_curIndex = m_from.index = first;
    m_loopEnd = false;
    m_nextPort = 0;
    m_portsInSync = true;
    for (const auto& p : m_doc.Sequence().GetEvents()) {
        if (p->time >= m_thru.tick) break;
        p->played = 0;
    }
}

} // namespace zib
