#include "devices/core/CStreamScheduler.h"

#include "platform/ByteCursor.h"
#include "devices/core/IMidiSink.h"

#include <algorithm>
#include <cmath>

namespace zib {

CStreamScheduler::CStreamScheduler()
{
    m_queue.reserve(32);
}

MidiResult CStreamScheduler::SetTimeDiv(uint32_t ticksPerQuarter, int64_t nowUs)
{
    if (ticksPerQuarter == 0 || ticksPerQuarter > 0x7FFF) return MidiResult::InvalidParameter;
    Reanchor(nowUs);
    m_timeDiv = ticksPerQuarter;
    return MidiResult::NoError;
}

MidiResult CStreamScheduler::SetTempo(uint32_t microsecondsPerQuarter, int64_t nowUs)
{
    if (microsecondsPerQuarter == 0 || microsecondsPerQuarter > 0xFFFFFF) return MidiResult::InvalidParameter;
    Reanchor(nowUs);
    m_tempo = microsecondsPerQuarter;
    return MidiResult::NoError;
}

MidiResult CStreamScheduler::Queue(MidiHeader& header)
{
    if ((header.flags & MidiHeader::kPrepared) == 0) return MidiResult::Unprepared;
    if ((header.flags & MidiHeader::kInQueue) != 0) return MidiResult::StillPlaying;
    if (header.bytesRecorded > header.bufferLength || (header.data == nullptr && header.bytesRecorded != 0))
        return MidiResult::InvalidParameter;
    // Compact the queue once its front has been used up, so it stops growing.
    if (m_head > 0 && m_head == m_queue.size()) {
        m_queue.clear();
        m_head = 0;
    }
    header.flags = (header.flags & ~MidiHeader::kDone) | MidiHeader::kInQueue | MidiHeader::kIsStream;
    m_queue.push_back(&header);
    return MidiResult::NoError;
}

void CStreamScheduler::Pause(int64_t nowUs)
{
    if (!m_running) return;
    Reanchor(nowUs);
    m_running = false;
}

void CStreamScheduler::Restart(int64_t nowUs)
{
    if (m_running) return;
    m_anchorUs = nowUs;
    m_running = true;
}

bool CStreamScheduler::Stop(Actions& actions)
{
    while (Current() != nullptr) {
        if (actions.Full()) return false;
        FinishCurrent(actions);
    }
    m_running = false;
    m_anchorTick = 0;
    m_lastTick = 0;
    return true;
}

double CStreamScheduler::TickAt(int64_t nowUs) const
{
    if (!m_running) return m_anchorTick;
    return m_anchorTick + double(nowUs - m_anchorUs) * m_timeDiv / m_tempo;
}

int64_t CStreamScheduler::TimeOfTick(double tick) const
{
    // Deltas of up to 2^32 ticks at the slowest tempo stay far inside this bound.
    constexpr double kLimit = 4.0e18;
    const double t = double(m_anchorUs) + std::ceil((tick - m_anchorTick) * m_tempo / m_timeDiv);
    return int64_t(std::clamp(t, -kLimit, kLimit));
}

void CStreamScheduler::Reanchor(int64_t nowUs)
{
    if (m_running) {
        m_anchorTick = TickAt(nowUs);
        m_anchorUs = nowUs;
    }
}

uint32_t CStreamScheduler::PositionTicks(int64_t nowUs) const
{
    const double t = TickAt(nowUs);
    return t <= 0 ? 0 : t >= 4294967295.0 ? 0xFFFFFFFFu : uint32_t(t);
}

bool CStreamScheduler::PeekEvent(uint32_t& delta, uint32_t& word) const
{
    const MidiHeader* h = Current();
    ByteCursor c(h->data, h->bytesRecorded);
    if (!c.seek(m_offset) || !c.has(mevt::kEventSize)) return false;
    delta = c.u32le();
    c.u32le(); // stream id
    word = c.u32le();
    return c.ok();
}

std::optional<int64_t> CStreamScheduler::NextDueUs() const
{
    if (!m_running || Current() == nullptr) return std::nullopt;
    uint32_t delta = 0, word = 0;
    if (!PeekEvent(delta, word)) return m_anchorUs; // an empty or finished buffer returns at once
    return std::max(m_anchorUs, TimeOfTick(m_lastTick + delta));
}

void CStreamScheduler::FinishCurrent(Actions& actions)
{
    MidiHeader* h = m_queue[m_head++];
    m_offset = 0;
    h->flags = (h->flags & ~MidiHeader::kInQueue) | MidiHeader::kDone;
    actions.Add(h, 0, true);
}

void CStreamScheduler::Step(int64_t nowUs, IMidiSink& sink, Actions& actions)
{
    while (m_running && Current() != nullptr && !actions.Full()) {
        MidiHeader* h = Current();
        uint32_t delta = 0, word = 0;
        if (!PeekEvent(delta, word)) {
            // The end of the buffer (or a torn event at its end)
            FinishCurrent(actions);
            continue;
        }
        const double due = m_lastTick + delta;
        if (TimeOfTick(due) > nowUs) return;

        size_t size = mevt::kEventSize;
        if (mevt::IsLong(word)) {
            const uint32_t n = mevt::Parameter(word);
            const size_t start = m_offset + mevt::kEventSize;
            if (size_t(h->bytesRecorded) - start < n) { // announced past the end of the buffer
                FinishCurrent(actions);
                continue;
            }
            if (n > 0) sink.SendLong({h->data + start, n});
            size += mevt::PaddedLength(n);
        } else {
            switch (mevt::Type(word)) {
            case mevt::kShortMsg >> 24: sink.SendShort(mevt::Parameter(word)); break;
            case mevt::kTempo >> 24:
                if (mevt::Parameter(word) != 0) {
                    // The new tempo counts from this event's own time, so late
                    // events do not shift the ones after them.
                    m_anchorUs = TimeOfTick(due);
                    m_anchorTick = due;
                    m_tempo = mevt::Parameter(word);
                }
                break;
            default: break; // NOP and anything unknown only take time
            }
        }
        m_lastTick = due;
        if (mevt::HasCallback(word)) {
            h->offset = m_offset;
            actions.Add(h, m_offset, false);
        }
        m_offset = uint32_t(std::min<size_t>(size_t(m_offset) + size, h->bytesRecorded));
        if (m_offset >= h->bytesRecorded) FinishCurrent(actions);
    }
}

} // namespace zib
