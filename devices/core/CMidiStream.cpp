#include "devices/core/CMidiStream.h"

#include "devices/core/IMidiSink.h"
#include "devices/core/IMidiStreamClient.h"
#include "devices/core/MidiHeader.h"

namespace zib {

CMidiStream::CMidiStream(std::unique_ptr<IMidiSink> sink, IMidiStreamClient& client)
    : m_sink(std::move(sink)), m_client(client)
{
}

CMidiStream::~CMidiStream() = default;

MidiResult CMidiStream::SetTimeDiv(uint32_t ticksPerQuarter)
{
    MidiResult r;
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return MidiResult::InvalidHandle;
        r = m_scheduler.SetTimeDiv(ticksPerQuarter, NowUs());
    }
    Wake();
    return r;
}

MidiResult CMidiStream::SetTempo(uint32_t microsecondsPerQuarter)
{
    MidiResult r;
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return MidiResult::InvalidHandle;
        r = m_scheduler.SetTempo(microsecondsPerQuarter, NowUs());
    }
    Wake();
    return r;
}

uint32_t CMidiStream::GetTimeDiv()
{
    std::lock_guard lock(m_mutex);
    return m_scheduler.TimeDiv();
}

uint32_t CMidiStream::GetTempo()
{
    std::lock_guard lock(m_mutex);
    return m_scheduler.Tempo();
}

MidiResult CMidiStream::PrepareHeader(MidiHeader& header)
{
    std::lock_guard lock(m_mutex);
    if (m_closed) return MidiResult::InvalidHandle;
    if (header.data == nullptr || header.bufferLength == 0) return MidiResult::InvalidParameter;
    if (header.flags & MidiHeader::kInQueue) return MidiResult::StillPlaying;
    header.flags |= MidiHeader::kPrepared;
    return MidiResult::NoError;
}

MidiResult CMidiStream::UnprepareHeader(MidiHeader& header)
{
    std::lock_guard lock(m_mutex);
    if (m_closed) return MidiResult::InvalidHandle;
    if (header.flags & MidiHeader::kInQueue) return MidiResult::StillPlaying;
    header.flags &= ~MidiHeader::kPrepared;
    return MidiResult::NoError;
}

MidiResult CMidiStream::Out(MidiHeader& header)
{
    MidiResult r;
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return MidiResult::InvalidHandle;
        r = m_scheduler.Queue(header);
    }
    if (Succeeded(r)) Wake();
    return r;
}

MidiResult CMidiStream::Pause()
{
    std::lock_guard lock(m_mutex);
    if (m_closed) return MidiResult::InvalidHandle;
    m_scheduler.Pause(NowUs());
    return MidiResult::NoError;
}

MidiResult CMidiStream::Restart()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return MidiResult::InvalidHandle;
        m_scheduler.Restart(NowUs());
    }
    Wake();
    return MidiResult::NoError;
}

MidiResult CMidiStream::Stop()
{
    std::lock_guard service(m_serviceMutex);
    for (;;) {
        CStreamScheduler::Actions actions;
        bool finished;
        {
            std::lock_guard lock(m_mutex);
            if (m_closed) return MidiResult::InvalidHandle;
            finished = m_scheduler.Stop(actions);
        }
        Deliver(actions);
        if (finished) return MidiResult::NoError;
    }
}

MidiResult CMidiStream::Close()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return MidiResult::InvalidHandle;
        if (m_scheduler.QueuedCount() > 0) return MidiResult::StillPlaying;
        m_closed = true;
    }
    OnClosed();
    // Wait for a Service() that is still delivering callbacks.
    std::lock_guard service(m_serviceMutex);
    return MidiResult::NoError;
}

uint32_t CMidiStream::PositionTicks()
{
    std::lock_guard lock(m_mutex);
    return m_scheduler.PositionTicks(NowUs());
}

MidiResult CMidiStream::ShortMsg(uint32_t message)
{
    std::lock_guard lock(m_mutex);
    if (m_closed) return MidiResult::InvalidHandle;
    if (ShortMessageLength(uint8_t(message)) == 0) return MidiResult::InvalidParameter;
    m_sink->SendShort(message & 0xFFFFFF);
    return MidiResult::NoError;
}

MidiResult CMidiStream::LongMsg(std::span<const uint8_t> bytes)
{
    std::lock_guard lock(m_mutex);
    if (m_closed) return MidiResult::InvalidHandle;
    if (bytes.empty()) return MidiResult::InvalidParameter;
    m_sink->SendLong(bytes);
    return MidiResult::NoError;
}

std::optional<int64_t> CMidiStream::NextDueUs()
{
    std::lock_guard lock(m_mutex);
    if (m_closed) return std::nullopt;
    return m_scheduler.NextDueUs();
}

void CMidiStream::Service(int64_t nowUs)
{
    std::lock_guard service(m_serviceMutex);
    for (;;) {
        CStreamScheduler::Actions actions;
        {
            std::lock_guard lock(m_mutex);
            if (m_closed) return;
            m_scheduler.Step(nowUs, *m_sink, actions);
        }
        if (actions.count == 0) return;
        Deliver(actions);
    }
}

void CMidiStream::Deliver(const CStreamScheduler::Actions& actions)
{
    for (size_t i = 0; i < actions.count; ++i) {
        const auto& e = actions.entries[i];
        if (e.done)
            m_client.OnStreamDone(*e.header);
        else
            m_client.OnStreamPosition(*e.header, e.offset);
    }
}

} // namespace zib
