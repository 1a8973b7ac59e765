// Filling the stream buffers: the main fill, port alignment, the metronome,
// the pre-count and the From-Thru loop. Runs under the player's lock, on the
// UI thread at the start and on the stream threads as buffers come back.

#include "devices/core/CMidiBarPlayer.h"

#include "devices/core/CStreamBuffers.h"
#include "devices/core/IPlayerHost.h"
#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"
#include "platform/ByteCursor.h"
#include "devices/core/CMidiStream.h"

#include <algorithm>

namespace zib {

namespace {

// The value of a Set Tempo event (0xFF 0x51 0x03 t t t), 0 when malformed.
uint32_t tempoOf(const CMidiEvent& e)
{
    if (e.length != 6 || e.data.size() < 6 || e.data[2] != 3) return 0;
    return uint32_t(e.data[3]) << 16 | uint32_t(e.data[4]) << 8 | e.data[5];
}

bool isSetTempo(const CMidiEvent& e)
{
    return e.status == 0xFF && e.length >= 2 && e.data.size() >= 2 && e.data[1] == 0x51;
}

} // namespace

// ---- Buffer writing ------------------------------------------------------------------

void CMidiBarPlayer::BeginBuffer(int i)
{
    m_buf = &m_host.StreamBuffers().Buffer(size_t(i));
    m_buf->clear();
    m_bufStream = nullptr;
    m_bufPort = 0;
    m_bufTempoEvent = -1;
    MidiHeader& h = m_headers[size_t(i)];
    h.data = m_buf->data();
    h.bytesRecorded = 0;
    h.user = uintptr_t(i);
}

bool CMidiBarPlayer::BufferEmpty() const
{
    return m_buf->size() == 0;
}

void CMidiBarPlayer::WriteEvent(uint32_t delta, uint32_t word)
{
    m_buf->u32le(delta);
    m_buf->u32le(0); // stream id
    m_buf->u32le(word);
}

// The stream of a port, or port 0 and its stream when the port has none.
bool CMidiBarPlayer::TakeStream(int port, int& usedPort, CMidiStream*& stream) const
{
    usedPort = port;
    stream = m_handles[size_t(port)];
    if (stream == nullptr) {
        usedPort = 0;
        stream = m_handles[0];
    }
    return stream != nullptr;
}

// The ticks a click sounds: never a whole beat, so each click ends before
// the next beat starts.
uint32_t CMidiBarPlayer::ClickDuration(uint32_t ticksPerBeat) const
{
    const uint32_t d = uint32_t(std::clamp(m_metronome.duration, 0, 20));
    return ticksPerBeat > 1 ? std::min(d, ticksPerBeat - 1) : 0;
}

// How far a time step from `tick` may go: to the next beat start, or to the
// end of the click that sounds.
uint32_t CMidiBarPlayer::NextBeatStep(uint32_t tick) const
{
    uint32_t measure = 0, beat = 0, inBeat = 0;
    m_measures.TicksToMbt(tick, measure, beat, inBeat);
    const uint32_t tpb = m_measures.TicksPerBeat(std::min(measure, CMeasureTable::kMaxMeasures - 1));
    if (!m_clickSounding) return tpb - inBeat;
    const uint32_t dur = ClickDuration(tpb);
    return inBeat < dur ? dur - inBeat : dur + tpb - inBeat;
}

int CMidiBarPlayer::QueueBuffer(int i, bool advanceFill)
{
    MidiHeader& h = m_headers[size_t(i)];
    if (m_bufStream == nullptr) return kNothingMore;
    if (advanceFill && m_runningTick[size_t(m_bufPort)] > m_fillTick) m_fillTick = m_runningTick[size_t(m_bufPort)];
    m_records[size_t(i)] = {m_curIndex, m_runningTick[size_t(m_bufPort)], m_bufStream, m_bufTempoEvent};
    h.data = m_buf->data();
    h.bytesRecorded = uint32_t(m_buf->size());
    h.flags = 0;
    h.user = uintptr_t(i);
    h.offset = 0;
    MidiResult r = m_bufStream->PrepareHeader(h);
    if (!Succeeded(r)) {
        ShowPlaybackError(r);
        return kPrepareFailed;
    }
    r = m_bufStream->Out(h);
    if (!Succeeded(r)) {
        ShowPlaybackError(r);
        return kOutFailed;
    }
    if (advanceFill && m_portsInSync && !m_endMarkerQueued &&
        ((!LoopActive() && !m_loopEnd) || m_bufTempoEvent >= 0)) {
        // The next fill first brings the other ports to the fill tick.
        m_portsInSync = false;
        m_nextPort = 0;
        m_portSynced.fill(0);
    }
    return kQueued;
}

bool CMidiBarPlayer::LoopActive() const
{
    return m_doc.LoopFlag() != 0 && m_loopRun;
}

uint32_t CMidiBarPlayer::TempoInEffectAt(uint32_t tick) const
{
    uint32_t tempo = 600000;
    for (const auto& e : m_doc.Sequence().GetEvents()) {
        if (e->time > tick) break;
        if (isSetTempo(*e))
            if (const uint32_t t = tempoOf(*e)) tempo = t;
    }
    return tempo;
}

// ---- The main fill ---------------------------------------------------------------------

int CMidiBarPlayer::FillStreamBuffer(int i)
{
    BeginBuffer(i);
    if (!m_portsInSync) return AlignPorts(i);
    if (m_metronomeOn && m_clicksRemaining >= 0) return PreCount(i);
    if (LoopActive() && m_loopEnd) return LoopWrap(i);
    return FillEvents(i);
}

int CMidiBarPlayer::FillEvents(int i)
{
    CMidiParserEx& seq = m_doc.Sequence();
    const auto& events = seq.GetEvents();
    const int64_t count = int64_t(events.size());
    const bool recording = m_doc.RecordFlag() != 0;
    const bool looping = LoopActive();

    if (m_endMarkerQueued) return kNothingMore;
    if (!recording && (m_curIndex > count || m_curIndex > m_lastIndex + 1)) return kNothingMore;

    // The metronome: a click starts on each beat and ends after its duration.
    if (m_metronomeOn && m_fillTick != m_lastClickTick) {
        uint32_t measure = 0, beat = 0, inBeat = 0;
        m_measures.TicksToMbt(m_fillTick, measure, beat, inBeat);
        const uint32_t dur = ClickDuration(m_measures.TicksPerBeat(std::min(measure, CMeasureTable::kMaxMeasures - 1)));
        if ((!m_clickSounding && inBeat == 0) || (m_clickSounding && inBeat == dur)) return MetronomeClick(i, beat);
    }

    while (m_curIndex <= m_lastIndex && m_curIndex < count) {
        CMidiEvent& e = *events[size_t(m_curIndex)];
        int port = 0;
        CMidiStream* stream = nullptr;
        if (!TakeStream(e.track < kTracks ? m_trackPort[e.track] : 0, port, stream)) return kOutFailed;
        if (m_bufStream == nullptr) {
            m_bufStream = stream;
            m_bufPort = port;
        } else if (stream != m_bufStream) {
            break; // one buffer, one stream
        }
        uint32_t& running = m_runningTick[size_t(port)];
        const uint32_t tick = looping && e.time >= m_thru.tick ? m_thru.tick : e.time;
        const int64_t delta = int64_t(tick) - running;
        const int64_t ahead = int64_t(tick) - m_fillTick;
        if (ahead > delta || ahead < 0) return kEventBeforeFill;

        if (ahead > 0) {
            if (BufferEmpty()) {
                const uint32_t step =
                    uint32_t(std::min<int64_t>({ahead, int64_t(m_maxNopStep), int64_t(NextBeatStep(m_fillTick))}));
                const uint32_t to = m_fillTick + step;
                WriteEvent(to - running, kNopStep);
                running = to;
            }
            return QueueBuffer(i);
        }
        if (looping && e.time >= m_thru.tick) {
            if (BufferEmpty()) {
                WriteEvent(m_thru.tick - running, kNopStep);
                running = m_thru.tick;
                m_loopEnd = true;
                m_nextPort = 0;
                m_portSynced.fill(0);
            }
            return QueueBuffer(i);
        }

        if (!EventPlays(size_t(m_curIndex))) {
            WriteEvent(uint32_t(delta), kNopStep);
            running = tick;
            e.played = 0;
        } else if (isChannelStatus(e.status)) {
            e.played = 1;
            WriteEvent(uint32_t(delta), uint32_t(e.status) | uint32_t(eventDataByte(e, 0)) << 8 |
                                            uint32_t(eventDataByte(e, 1)) << 16);
            running = tick;
            CreditChase(e, e.status);
        } else if (isSetTempo(e)) {
            // A tempo change goes alone at the head of its buffer.
            if (!BufferEmpty()) return QueueBuffer(i);
            const uint32_t tempo = tempoOf(e);
            if (tempo == 0) return kBadTempo;
            e.played = 1;
            WriteEvent(uint32_t(delta), mevt::kTempo | tempo);
            running = tick;
            m_bufTempoEvent = m_curIndex;
            ++m_curIndex;
            // Every other stream takes the tempo too, when the ports are aligned next.
            m_streamTempo = tempo;
            m_pendingTempo = tempo;
            m_tempoStreams[0] = stream;
            m_tempoStreamCount = 1;
            return QueueBuffer(i);
        } else if (e.status == 0xF0 && e.length < kLongEventLimit) {
            // A system exclusive event goes alone at the head of its buffer:
            // 0xF0 and the data after the length field, all counted in the event word.
            if (!BufferEmpty()) return QueueBuffer(i);
            ByteCursor c(e.data.data(), std::min<size_t>(e.length, e.data.size()));
            c.skip(1);
            const uint32_t n = c.varLen();
            if (c.failed() || !c.has(n)) {
                WriteEvent(uint32_t(delta), kNopMeta);
            } else {
                e.played = 1;
                WriteEvent(uint32_t(delta), mevt::kLongMsg | (n + 1));
                m_buf->u8(0xF0);
                m_buf->bytes(c.here(), n);
                m_buf->fill(0, mevt::PaddedLength(n + 1) - (n + 1));
            }
            running = tick;
            ++m_curIndex;
            return QueueBuffer(i);
        } else {
            e.played = 1; // other meta events and overlong system exclusive only take time
            WriteEvent(uint32_t(delta), kNopMeta);
            running = tick;
        }
        ++m_curIndex;
        if (m_buf->size() >= kFillLimit) return QueueBuffer(i);
    }
    if (!BufferEmpty()) return QueueBuffer(i);

    // Past the last event
    int port = 0;
    CMidiStream* stream = nullptr;
    if (!TakeStream(0, port, stream)) return kOutFailed;
    m_bufStream = stream;
    m_bufPort = port;
    uint32_t& running = m_runningTick[size_t(port)];
    if (looping) {
        // Port 0 walks on to the Thru marker, then the loop wraps.
        if (m_fillTick < m_thru.tick) {
            const uint32_t to =
                std::min(m_thru.tick, m_fillTick + std::min(m_maxNopStep, NextBeatStep(m_fillTick)));
            WriteEvent(to - std::min(to, running), kNopStep);
            running = std::max(running, to);
        } else {
            WriteEvent(0, kNopStep);
            m_loopEnd = true;
            m_portSynced.fill(0);
        }
    } else if (recording) {
        // Recording goes on past the song with time steps until stopped.
        const uint32_t to = m_fillTick + std::min(m_maxNopStep, NextBeatStep(m_fillTick));
        WriteEvent(to - std::min(to, running), kNopStep);
        running = std::max(running, to);
    } else {
        WriteEvent(m_fillTick - std::min(m_fillTick, running) + 100, kEndMarker);
        running = m_fillTick + 100;
        m_endMarkerQueued = true;
        m_curIndex = std::max(m_curIndex, m_lastIndex + 1);
    }
    return QueueBuffer(i);
}

// Mute and solo: with a soloed track only track 0 and soloed tracks play;
// else with a muted track everything but the muted tracks; a note-off whose
// note-on sounded still plays.
bool CMidiBarPlayer::EventPlays(size_t index) const
{
    const auto& events = m_doc.Sequence().GetEvents();
    const CMidiEvent& e = *events[index];
    if (e.track == 0) return true;
    bool plays = true;
    if (m_soloedExists || m_mutedExists) {
        const PlaybackTrack t = m_doc.Track(e.track - 1);
        plays = m_soloedExists ? t.solo == 1 : t.play != 0;
    }
    if (plays) return true;
    if (!isNoteOff(e) || e.paired == 0 || e.pairId < 0) return false;
    for (size_t j = index; j-- > 0;)
        if (events[j]->pairId == e.pairId) return events[j]->played != 0;
    return false;
}

void CMidiBarPlayer::CreditChase(const CMidiEvent& e, uint8_t status)
{
    if (e.track >= kTracks) return;
    Chase& c = m_chase[e.track];
    const uint8_t d0 = eventDataByte(e, 0), d1 = eventDataByte(e, 1);
    switch (status & 0xF0) {
    case 0xC0: c.program = d0; break;
    case 0xB0:
        if (d0 == 7) c.volume = d1;
        if (d0 == 10) c.pan = d1;
        if (d0 == 0) c.bankMsb = d1;
        if (d0 == 32) c.bankLsb = d1;
        break;
    default: break;
    }
}

// ---- Port alignment -----------------------------------------------------------------------

// Brings the next used port that lags behind the fill tick to it with a NOP
// (or, while a tempo change is being passed on, gives its stream the new
// tempo); when no port is left the ports are in sync and the main fill runs.
int CMidiBarPlayer::AlignPorts(int i)
{
    const auto hasTempo = [this](const CMidiStream* s) {
        for (int k = 0; k < m_tempoStreamCount; ++k)
            if (m_tempoStreams[size_t(k)] == s) return true;
        return false;
    };
    for (int p = m_nextPort; p < kPorts; ++p) {
        CMidiStream* s = m_handles[size_t(p)];
        const bool used = m_portInUse[size_t(p)] || (p == 0 && m_pendingTempo != 0);
        if (!used || s == nullptr || m_portSynced[size_t(p)]) continue;
        const bool needsTempo = m_pendingTempo != 0 && !hasTempo(s);
        uint32_t& running = m_runningTick[size_t(p)];
        if (running >= m_fillTick && !needsTempo) continue;
        m_bufStream = s;
        m_bufPort = p;
        const uint32_t delta = m_fillTick - std::min(m_fillTick, running);
        if (needsTempo) {
            WriteEvent(delta, mevt::kTempo | m_pendingTempo);
            m_tempoStreams[size_t(m_tempoStreamCount++)] = s;
        } else {
            WriteEvent(delta, kNopStep);
        }
        running = std::max(running, m_fillTick);
        m_portSynced[size_t(p)] = 1;
        m_nextPort = p + 1;
        return QueueBuffer(i, false);
    }
    m_portsInSync = true;
    m_nextPort = 0;
    m_pendingTempo = 0;
    m_tempoStreamCount = 0;
    return FillEvents(i);
}

// ---- Metronome and pre-count -----------------------------------------------------------------

int CMidiBarPlayer::MetronomeClick(int i, uint32_t beat)
{
    int port = 0;
    CMidiStream* stream = nullptr;
    if (!TakeStream(std::min<int>(m_metronome.port, kPorts - 1), port, stream)) return kOutFailed;
    m_bufStream = stream;
    m_bufPort = port;
    uint32_t& running = m_runningTick[size_t(port)];
    // The click sounds at the fill tick even when its port lags behind.
    const uint32_t delta = m_fillTick - std::min(m_fillTick, running);
    running = std::max(running, m_fillTick);
    const uint32_t noteOn = 0x90u | (m_metronome.channel & 0x0F);
    const uint8_t key = beat == 0 ? m_metronome.firstBeatKey : m_metronome.otherBeatsKey;
    const uint8_t velocity = beat == 0 ? m_metronome.firstBeatVelocity : m_metronome.otherBeatsVelocity;
    if (m_clickSounding) {
        WriteEvent(delta, noteOn | uint32_t(key & 0x7F) << 8);
        m_clickSounding = false;
    } else {
        WriteEvent(delta, noteOn | uint32_t(key & 0x7F) << 8 | uint32_t(velocity & 0x7F) << 16);
        m_clickSounding = true;
        if (m_metronome.duration <= 0) {
            WriteEvent(0, noteOn | uint32_t(key & 0x7F) << 8);
            m_clickSounding = false;
        }
    }
    m_lastClickTick = m_fillTick;
    return QueueBuffer(i);
}

// One buffer per pre-count click on the metronome port; the song follows one
// beat after the last click. Ports on other streams wait the same time with
// one NOP each, then every port starts from the start tick.
int CMidiBarPlayer::PreCount(int i)
{
    uint32_t measure = 0, beat = 0, inBeat = 0;
    m_measures.TicksToMbt(m_startTick, measure, beat, inBeat);
    const uint32_t tpb = m_measures.TicksPerBeat(std::min(measure, CMeasureTable::kMaxMeasures - 1));
    const uint32_t dur = ClickDuration(tpb);
    int port = 0;
    CMidiStream* metronome = nullptr;
    if (!TakeStream(std::min<int>(m_metronome.port, kPorts - 1), port, metronome)) return kOutFailed;

    if (m_clicksRemaining > 0) {
        const bool first = m_clicksRemaining == m_clicksTotal;
        const uint32_t noteOn = 0x90u | (m_metronome.channel & 0x0F);
        const uint8_t key = first ? m_metronome.firstBeatKey : m_metronome.otherBeatsKey;
        const uint8_t velocity = first ? m_metronome.firstBeatVelocity : m_metronome.otherBeatsVelocity;
        m_bufStream = metronome;
        m_bufPort = port;
        const uint32_t before = first ? 0 : tpb - dur;
        WriteEvent(before, noteOn | uint32_t(key & 0x7F) << 8 | uint32_t(velocity & 0x7F) << 16);
        WriteEvent(dur, noteOn | uint32_t(key & 0x7F) << 8);
        m_precountTicks += before + dur;
        if (--m_clicksRemaining == 0) {
            WriteEvent(tpb - dur, kNopPrecountEnd);
            m_precountTicks += tpb - dur;
        }
        return QueueBuffer(i, false);
    }

    for (int p = m_nextPort; p < kPorts; ++p) {
        CMidiStream* s = m_handles[size_t(p)];
        if (!m_portInUse[size_t(p)] || s == nullptr || s == metronome || m_portSynced[size_t(p)]) continue;
        bool seen = false; // a stream shared by an earlier port waits once
        for (int q = 0; q < p; ++q) seen = seen || (m_portSynced[size_t(q)] && m_handles[size_t(q)] == s);
        m_portSynced[size_t(p)] = 1;
        m_nextPort = p + 1;
        if (seen || m_precountTicks == 0) continue;
        m_bufStream = s;
        m_bufPort = p;
        WriteEvent(m_precountTicks, kNopStep);
        return QueueBuffer(i, false);
    }
    m_clicksRemaining = -1;
    m_runningTick.fill(m_startTick);
    m_fillTick = m_startTick;
    m_nextPort = 0;
    m_portSynced.fill(0);
    return FillEvents(i);
}

// ---- The loop ------------------------------------------------------------------------------

int CMidiBarPlayer::LoopWrap(int i)
{
    if (m_doc.RecordFlag() != 0 && m_heldNotes > 0) CloseHeldNotes();

    // Ports that lag behind are brought to the Thru marker first.
    for (int p = m_nextPort; p < kPorts; ++p) {
        CMidiStream* s = m_handles[size_t(p)];
        if (!m_portInUse[size_t(p)] || s == nullptr || m_portSynced[size_t(p)]) continue;
        uint32_t& running = m_runningTick[size_t(p)];
        if (running >= m_fillTick) continue;
        m_bufStream = s;
        m_bufPort = p;
        WriteEvent(m_thru.tick - std::min(m_thru.tick, running), kNopStep);
        running = std::max(running, m_thru.tick);
        m_portSynced[size_t(p)] = 1;
        m_nextPort = p + 1;
        return QueueBuffer(i, false);
    }

    // Notes that sound across the Thru marker are released before the wrap.
    const auto& events = m_doc.Sequence().GetEvents();
    for (size_t k = size_t(std::max<int64_t>(m_from.index, 0)); k < events.size(); ++k) {
        const CMidiEvent& e = *events[k];
        if (e.time >= m_thru.tick) break;
        if (e.played && isNoteOn(e) && e.time + e.duration >= m_thru.tick) {
            m_hangingNotes = true;
            m_curIndex = int64_t(k);
            return ReleaseLoopNotes(i);
        }
    }
    WrapToFrom();
    return m_portsInSync ? FillEvents(i) : AlignPorts(i);
}

int CMidiBarPlayer::ReleaseLoopNotes(int i)
{
    const auto& events = m_doc.Sequence().GetEvents();
    const int64_t count = int64_t(events.size());
    while (m_curIndex < count && events[size_t(m_curIndex)]->time < m_thru.tick) {
        const CMidiEvent& e = *events[size_t(m_curIndex)];
        if (e.played && isNoteOn(e) && e.time + e.duration >= m_thru.tick) {
            int port = 0;
            CMidiStream* stream = nullptr;
            if (!TakeStream(e.track < kTracks ? m_trackPort[e.track] : 0, port, stream)) return kOutFailed;
            if (m_bufStream == nullptr) {
                m_bufStream = stream;
                m_bufPort = port;
            } else if (stream != m_bufStream) {
                return QueueBuffer(i, false);
            }
            WriteEvent(0, uint32_t(e.status) | uint32_t(eventDataByte(e, 0)) << 8);
            if (m_buf->size() >= kFillLimit) {
                ++m_curIndex;
                return QueueBuffer(i, false);
            }
        }
        ++m_curIndex;
    }
    WrapToFrom();
    m_hangingNotes = false;
    if (!BufferEmpty()) return QueueBuffer(i, false);
    return m_portsInSync ? FillEvents(i) : AlignPorts(i);
}

void CMidiBarPlayer::WrapToFrom()
{
    m_runningTick.fill(m_from.tick);
    m_fillTick = m_playedTick = m_from.tick;
    m_from.index = FindEventAtTick(m_from.tick, 0);
    if (m_from.index < 0) m_from.index = int64_t(m_doc.Sequence().GetEventCount());
    m_curIndex = m_from.index;
    m_loopEnd = false;
    m_nextPort = 0;
    m_lastClickTick = m_from.tick + 1; // the first beat of the loop clicks again
    for (const auto& e : m_doc.Sequence().GetEvents()) {
        if (e->time >= m_thru.tick) break;
        e->played = 0;
    }
    // Tempo changes inside the loop: each pass starts at the tempo of From.
    if (m_tempoAtFrom != m_streamTempo) {
        m_streamTempo = m_pendingTempo = m_tempoAtFrom;
        m_tempoStreamCount = 0;
        m_portsInSync = false;
        m_portSynced.fill(0);
    }
}

} // namespace zib
