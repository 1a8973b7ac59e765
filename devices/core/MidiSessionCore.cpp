#include "devices/core/MidiSessionCore.h"

#include "devices/core/InPort.h"
#include "devices/core/InPortClient.h"
#include "devices/core/LockedCopy.h"
#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/MidiDispatcher.h"
#include "devices/core/MidiHeader.h"
#include "devices/core/OutStream.h"
#include "devices/core/OutStreamClient.h"
#include "platform/ByteCursor.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <pthread.h>
#include <sched.h>

namespace zib {

MidiSessionCore::MidiSessionCore(MidiDeviceList& devices, MidiSession::Delivery delivery, MidiDispatcher* dispatcher)
    : m_devices(devices), m_clockOwner(devices.SharedClock()), m_clock(*m_clockOwner), m_delivery(delivery),
      m_dispatcher(dispatcher)
{
    m_anchorUs = m_clock.NowUs();
}

MidiSessionCore::~MidiSessionCore()
{
    Shutdown();
}

void MidiSessionCore::Begin()
{
    if (m_clock.IsVirtual()) {
        static_cast<VirtualMidiClock&>(m_clock).Attach(shared_from_this());
        return;
    }
    m_scheduler = std::thread([this] { SchedulerLoop(); });
    if (m_delivery == MidiSession::Delivery::Direct) m_deliverer = std::thread([this] { DeliveryLoop(); });
}

void MidiSessionCore::Shutdown()
{
    std::vector<std::unique_ptr<MidiOutSink>> sinks;
    std::vector<std::unique_ptr<MidiInSource>> sources;
    {
        std::unique_lock lock(m_mutex);
        if (m_quit) return;
        m_quit = true;
        for (auto& [g, s] : m_streams) {
            for (size_t i = 0; i < s.queue.size(); ++i) s.queue[i]->flags &= ~MidiHeader::kInQueue;
            sinks.push_back(std::move(s.sink));
        }
        for (auto& [g, p] : m_ports) sources.push_back(std::move(p.source));
        m_streams.clear();
        m_ports.clear();
        m_deliveries.clear();
        m_runningCount = 0;
        m_schedulerWake.notify_all();
        m_deliveryWake.notify_all();
    }
    for (std::thread* t : {&m_scheduler, &m_deliverer}) {
        if (!t->joinable()) continue;
        if (t->get_id() == std::this_thread::get_id())
            t->detach(); // the last owner let go from a callback: the loop ends by itself
        else
            t->join();
    }
    if (m_clock.IsVirtual()) static_cast<VirtualMidiClock&>(m_clock).Detach(this);
    // Devices close outside the lock: an input device waits for its thread,
    // which may be waiting for the lock to hand in a message.
    sources.clear();
    sinks.clear();
    std::unique_lock lock(m_mutex);
    WaitForCallback(lock, 0);
}

// ---- Opening --------------------------------------------------------------------

MidiResult MidiSessionCore::OpenOutStream(int deviceId, OutStreamClient& client, std::unique_ptr<OutStream>& stream)
{
    std::unique_ptr<MidiOutSink> sink;
    const MidiResult r = m_devices.OpenOutput(deviceId, sink);
    if (!Succeeded(r)) return r;
    std::unique_ptr<OutStream> made;
    {
        std::lock_guard lock(m_mutex);
        if (m_quit) return MidiResult::InvalidHandle;
        const uint64_t g = m_nextGeneration++;
        Stream& s = m_streams[g];
        s.generation = g;
        s.deviceId = deviceId;
        s.client = &client;
        s.sink = std::move(sink);
        s.tickOrigin = s.pausedAt = TickAt(Now());
        made.reset(new OutStream(shared_from_this(), g, deviceId));
        s.handle = made.get();
    }
    stream = std::move(made); // outside the lock: a stream it replaces closes here
    return MidiResult::NoError;
}

MidiResult MidiSessionCore::OpenInPort(int deviceId, InPortClient& client, std::unique_ptr<InPort>& port)
{
    uint64_t g = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_quit) return MidiResult::InvalidHandle;
        g = m_nextGeneration++;
    }
    // The source is destroyed before this object (ClosePort, Shutdown), so
    // its thread may call back through `this`.
    std::unique_ptr<MidiInSource> source;
    const MidiResult r =
        m_devices.OpenInput(deviceId, [this, g](std::span<const uint8_t> bytes) { OnInputBytes(g, bytes); }, source);
    if (!Succeeded(r)) return r;
    std::unique_ptr<InPort> made;
    {
        std::lock_guard lock(m_mutex);
        if (m_quit) return MidiResult::InvalidHandle;
        Port& p = m_ports[g];
        p.generation = g;
        p.deviceId = deviceId;
        p.client = &client;
        p.source = std::move(source);
        made.reset(new InPort(shared_from_this(), g, deviceId));
        p.handle = made.get();
    }
    port = std::move(made); // outside the lock: a port it replaces closes here
    return MidiResult::NoError;
}

// ---- Stream calls ------------------------------------------------------------------

MidiSessionCore::Stream* MidiSessionCore::FindStream(uint64_t generation)
{
    auto it = m_streams.find(generation);
    return it == m_streams.end() ? nullptr : &it->second;
}

MidiSessionCore::Port* MidiSessionCore::FindPort(uint64_t generation)
{
    auto it = m_ports.find(generation);
    return it == m_ports.end() ? nullptr : &it->second;
}

MidiResult MidiSessionCore::SetTimeDiv(uint64_t generation, uint32_t ticksPerQuarter)
{
    std::lock_guard lock(m_mutex);
    if (!FindStream(generation)) return MidiResult::InvalidHandle;
    if (ticksPerQuarter == 0 || ticksPerQuarter > 0x7FFF) return MidiResult::InvalidParameter;
    Reanchor(Now());
    m_timeDiv = ticksPerQuarter;
    Wake();
    return MidiResult::NoError;
}

MidiResult MidiSessionCore::SetTempo(uint64_t generation, uint32_t microsecondsPerQuarter)
{
    std::lock_guard lock(m_mutex);
    if (!FindStream(generation)) return MidiResult::InvalidHandle;
    if (microsecondsPerQuarter == 0 || microsecondsPerQuarter > 0xFFFFFF) return MidiResult::InvalidParameter;
    Reanchor(Now());
    m_tempo = microsecondsPerQuarter;
    Wake();
    return MidiResult::NoError;
}

MidiResult MidiSessionCore::Prepare(uint64_t generation, MidiHeader& header)
{
    std::lock_guard lock(m_mutex);
    Stream* s = FindStream(generation);
    if (!s) return MidiResult::InvalidHandle;
    if (const MidiResult r = s->sink->Check(OutCall::Prepare); !Succeeded(r)) return r;
    if (header.data == nullptr || header.bufferLength == 0 || header.bytesRecorded > header.bufferLength)
        return MidiResult::InvalidParameter;
    if (header.flags & MidiHeader::kInQueue) return MidiResult::StillPlaying;
    header.flags |= MidiHeader::kPrepared;
    return MidiResult::NoError;
}

MidiResult MidiSessionCore::Unprepare(uint64_t generation, MidiHeader& header)
{
    std::lock_guard lock(m_mutex);
    Stream* s = FindStream(generation);
    if (!s) return MidiResult::InvalidHandle;
    if (const MidiResult r = s->sink->Check(OutCall::Unprepare); !Succeeded(r)) return r;
    if (header.flags & MidiHeader::kInQueue) return MidiResult::StillPlaying;
    header.flags &= ~MidiHeader::kPrepared;
    return MidiResult::NoError;
}

MidiResult MidiSessionCore::Queue(uint64_t generation, MidiHeader& header)
{
    std::lock_guard lock(m_mutex);
    Stream* s = FindStream(generation);
    if (!s) return MidiResult::InvalidHandle;
    if (const MidiResult r = s->sink->Check(OutCall::Queue); !Succeeded(r)) return r;
    if (s->gone) return MidiResult::NoDevice;
    if ((header.flags & MidiHeader::kPrepared) == 0) return MidiResult::Unprepared;
    if (header.flags & MidiHeader::kInQueue) return MidiResult::StillPlaying;
    if (header.data == nullptr || header.bytesRecorded > header.bufferLength) return MidiResult::InvalidParameter;
    header.flags = (header.flags & ~MidiHeader::kDone) | MidiHeader::kInQueue | MidiHeader::kIsStream;
    s->queue.push_back(&header);
    s->sink->Queued({header.data, header.bytesRecorded}, header.user);
    Wake();
    return MidiResult::NoError;
}

MidiResult MidiSessionCore::Pause(uint64_t generation)
{
    std::lock_guard lock(m_mutex);
    Stream* s = FindStream(generation);
    if (!s) return MidiResult::InvalidHandle;
    if (!s->running) return MidiResult::NoError;
    const int64_t now = Now();
    const double t = TickAt(now);
    s->running = false;
    s->pausedAt = t;
    if (--m_runningCount == 0) { // the session clock stands still
        m_anchorTick = t;
        m_anchorUs = now;
    }
    Wake();
    return MidiResult::NoError;
}

MidiResult MidiSessionCore::Restart(uint64_t generation)
{
    std::lock_guard lock(m_mutex);
    Stream* s = FindStream(generation);
    if (!s) return MidiResult::InvalidHandle;
    if (const MidiResult r = s->sink->Check(OutCall::Restart); !Succeeded(r)) return r;
    if (s->running) return MidiResult::NoError;
    const int64_t now = Now();
    if (m_runningCount == 0) m_anchorUs = now; // the session clock runs on from where it stood
    const double t = TickAt(now);
    s->tickOrigin += t - s->pausedAt;
    s->running = true;
    ++m_runningCount;
    Wake();
    return MidiResult::NoError;
}

MidiResult MidiSessionCore::SendShort(uint64_t generation, uint32_t message)
{
    std::lock_guard lock(m_mutex);
    Stream* s = FindStream(generation);
    if (!s) return MidiResult::InvalidHandle;
    const uint8_t bytes[3] = {uint8_t(message), uint8_t(message >> 8), uint8_t(message >> 16)};
    const size_t n = ShortMessageLength(bytes[0]);
    if (n == 0) return MidiResult::InvalidParameter;
    if (s->gone || !s->sink->Send({bytes, n}, Now())) {
        s->gone = true;
        return MidiResult::NoDevice;
    }
    return MidiResult::NoError;
}

MidiResult MidiSessionCore::CloseStream(uint64_t generation)
{
    std::unique_ptr<MidiOutSink> sink;
    {
        std::unique_lock lock(m_mutex);
        Stream* s = FindStream(generation);
        if (!s) return MidiResult::InvalidHandle;
        if (s->running) {
            const int64_t now = Now();
            const double t = TickAt(now);
            if (--m_runningCount == 0) {
                m_anchorTick = t;
                m_anchorUs = now;
            }
        }
        for (size_t i = 0; i < s->queue.size(); ++i) s->queue[i]->flags &= ~MidiHeader::kInQueue; // dropped, no done callback
        sink = std::move(s->sink);
        m_streams.erase(generation);
        Wake();
        WaitForCallback(lock, generation);
    }
    return MidiResult::NoError;
}

// ---- Port calls -----------------------------------------------------------------

MidiResult MidiSessionCore::StartPort(uint64_t generation)
{
    std::lock_guard lock(m_mutex);
    Port* p = FindPort(generation);
    if (!p) return MidiResult::InvalidHandle;
    if (!p->started) {
        p->started = true;
        p->startUs = Now();
        p->parser.Reset();
    }
    return MidiResult::NoError;
}

MidiResult MidiSessionCore::ClosePort(uint64_t generation)
{
    std::unique_ptr<MidiInSource> source;
    {
        std::unique_lock lock(m_mutex);
        Port* p = FindPort(generation);
        if (!p) return MidiResult::InvalidHandle;
        source = std::move(p->source);
        m_ports.erase(generation);
        WaitForCallback(lock, generation);
    }
    source.reset(); // outside the lock: it waits for its thread
    return MidiResult::NoError;
}

void MidiSessionCore::OnInputBytes(uint64_t generation, std::span<const uint8_t> bytes)
{
    {
        std::lock_guard lock(m_mutex);
        Port* p = FindPort(generation);
        if (!p || !p->started) return;
        const uint32_t ms = uint32_t(std::max<int64_t>(0, Now() - p->startUs) / 1000);
        p->parser.Feed(bytes, [&](uint32_t message) { Push({Kind::Input, generation, nullptr, message, ms}); });
    }
    if (m_clock.IsVirtual() && m_delivery == MidiSession::Delivery::Direct) DrainHere();
}

// ---- Clock -------------------------------------------------------------------------

int64_t MidiSessionCore::Now() const
{
    return m_clock.NowUs();
}

double MidiSessionCore::TickAt(int64_t nowUs) const
{
    if (m_runningCount == 0) return m_anchorTick;
    return m_anchorTick + double(nowUs - m_anchorUs) * m_timeDiv / m_tempo;
}

int64_t MidiSessionCore::TimeOfTick(double tick) const
{
    constexpr double kLimit = 4.0e18; // far beyond any song, inside int64
    const double t = double(m_anchorUs) + std::ceil((tick - m_anchorTick) * m_tempo / m_timeDiv - 1e-6);
    return int64_t(std::clamp(t, -kLimit, kLimit));
}

void MidiSessionCore::Reanchor(int64_t nowUs)
{
    m_anchorTick = TickAt(nowUs);
    m_anchorUs = nowUs;
}

uint32_t MidiSessionCore::TimeDiv() const
{
    return LockedCopy(m_mutex, m_timeDiv);
}

uint32_t MidiSessionCore::Tempo() const
{
    return LockedCopy(m_mutex, m_tempo);
}

// ---- Scheduling -------------------------------------------------------------------

int64_t MidiSessionCore::DueUs(const Stream& s) const
{
    if (s.queue.empty()) return -1;
    const MidiHeader* h = s.queue.front();
    ByteCursor c(h->data, h->bytesRecorded);
    if (!c.seek(s.offset) || !c.has(mevt::kEventSize)) return Now(); // an empty buffer returns at once
    if (!s.running) return -1;
    const uint32_t delta = c.u32le();
    return TimeOfTick(s.tickOrigin + double(s.lastDueTick + delta));
}

void MidiSessionCore::FinishFront(Stream& s)
{
    MidiHeader* h = s.queue.front();
    s.queue.pop_front();
    s.offset = 0;
    h->flags = (h->flags & ~MidiHeader::kInQueue) | MidiHeader::kDone;
    s.sink->Returned(h->user);
    Push({Kind::Done, s.generation, h, 0, 0});
}

void MidiSessionCore::PlayOne(Stream& s)
{
    MidiHeader* h = s.queue.front();
    ByteCursor c(h->data, h->bytesRecorded);
    if (!c.seek(s.offset) || !c.has(mevt::kEventSize)) {
        FinishFront(s);
        return;
    }
    const uint32_t delta = c.u32le();
    c.u32le(); // stream id
    const uint32_t word = c.u32le();
    const uint64_t dueTick = s.lastDueTick + delta;
    const double sessionTick = s.tickOrigin + double(dueTick);
    const int64_t dueUs = TimeOfTick(sessionTick);
    const auto send = [&](std::span<const uint8_t> bytes) {
        if (!s.gone && !s.sink->Send(bytes, dueUs)) s.gone = true;
    };

    size_t size = mevt::kEventSize;
    if (mevt::IsLong(word)) {
        const uint32_t n = mevt::Parameter(word);
        if (c.remaining() < n) { // announced past the end of the buffer: nothing more to read here
            FinishFront(s);
            return;
        }
        if (n > 0) send({c.here(), n});
        size += mevt::PaddedLength(n);
    } else {
        switch (mevt::Type(word)) {
        case mevt::kShortMsg >> 24: {
            const uint32_t m = mevt::Parameter(word);
            const uint8_t bytes[3] = {uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16)};
            if (const size_t n = ShortMessageLength(bytes[0])) send({bytes, n});
            break;
        }
        case mevt::kTempo >> 24:
            if (const uint32_t tempo = mevt::Parameter(word)) {
                // From the event's own due tick, for every stream of the session
                m_anchorUs = dueUs;
                m_anchorTick = sessionTick;
                m_tempo = tempo;
            }
            break;
        default: break; // NOPs only take time
        }
    }
    s.lastDueTick = dueTick;
    if (mevt::HasCallback(word)) {
        h->offset = s.offset;
        Push({Kind::Position, s.generation, h, s.offset, 0});
    }
    s.offset = uint32_t(std::min<size_t>(size_t(s.offset) + size, h->bytesRecorded));
    if (s.offset >= h->bytesRecorded) FinishFront(s);
}

void MidiSessionCore::PlayDue(int64_t nowUs)
{
    for (;;) {
        Stream* next = nullptr;
        int64_t best = 0;
        for (auto& [g, s] : m_streams) {
            const int64_t due = DueUs(s);
            if (due >= 0 && due <= nowUs && (!next || due < best)) {
                next = &s;
                best = due;
            }
        }
        if (!next) return;
        PlayOne(*next);
    }
}

int64_t MidiSessionCore::NextDueUs()
{
    std::lock_guard lock(m_mutex);
    int64_t best = -1;
    for (const auto& [g, s] : m_streams) {
        const int64_t due = DueUs(s);
        if (due >= 0 && (best < 0 || due < best)) best = due;
    }
    return best;
}

void MidiSessionCore::Step(int64_t nowUs)
{
    {
        std::lock_guard lock(m_mutex);
        PlayDue(nowUs);
    }
    if (m_delivery == MidiSession::Delivery::Direct) DrainHere();
}

void MidiSessionCore::Wake()
{
    m_changed = true;
    m_schedulerWake.notify_one();
}

namespace {

// The lowest real-time priority, where the system grants one: other programs
// then cannot delay the layer's threads by a whole time slice. Refused
// without the right, which changes nothing else.
void raisePriority()
{
    sched_param priority{};
    priority.sched_priority = std::max(1, sched_get_priority_min(SCHED_FIFO));
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
}

} // namespace

void MidiSessionCore::SchedulerLoop()
{
    // The thread never runs client code and spins at most kEarlyUs at a time.
    raisePriority();
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        m_changed = false;
        int64_t next = -1;
        for (const auto& [g, s] : m_streams) {
            const int64_t due = DueUs(s);
            if (due >= 0 && (next < 0 || due < next)) next = due;
        }
        if (next < 0) {
            m_schedulerWake.wait(lock, [this] { return m_quit || m_changed; });
            continue;
        }
        // The thread sleeps until shortly before the event, then spins until it
        // is due: a wake-up is often a tenth of a millisecond late, and a
        // yield under load can give the processor away for a whole slice.
        constexpr int64_t kEarlyUs = 200;
        int64_t now = Now();
        if (next - now > kEarlyUs) {
            m_schedulerWake.wait_for(lock, std::chrono::microseconds(next - now - kEarlyUs),
                                     [this] { return m_quit || m_changed; });
            continue;
        }
        if (next > now) {
            lock.unlock();
            while (Now() < next) {
            }
            lock.lock();
            continue; // the queues may have changed meanwhile
        }
        PlayDue(now);
    }
}

// ---- Delivery ------------------------------------------------------------------------

void MidiSessionCore::Push(const Delivery& d)
{
    if (m_delivery == MidiSession::Delivery::Posted && m_dispatcher) {
        std::weak_ptr<MidiSessionCore> weak = weak_from_this();
        m_dispatcher->Post([weak, d] {
            if (auto core = weak.lock()) core->Deliver(d);
        });
        return;
    }
    m_deliveries.push_back(d);
    m_deliveryWake.notify_one();
}

void MidiSessionCore::Deliver(const Delivery& d)
{
    std::unique_lock lock(m_mutex);
    OutStreamClient* streamClient = nullptr;
    OutStream* stream = nullptr;
    InPortClient* portClient = nullptr;
    InPort* port = nullptr;
    if (d.kind == Kind::Input) {
        Port* p = FindPort(d.generation);
        if (!p || !p->started) return;
        portClient = p->client;
        port = p->handle;
    } else {
        Stream* s = FindStream(d.generation);
        if (!s) return; // closed since: its callbacks are dropped
        streamClient = s->client;
        stream = s->handle;
    }
    // A callback may run a nested loop (a message box) that delivers more.
    const uint64_t outerGeneration = m_delivering;
    const std::thread::id outerThread = m_deliveringThread;
    m_delivering = d.generation;
    m_deliveringThread = std::this_thread::get_id();
    lock.unlock();
    switch (d.kind) {
    case Kind::Done: streamClient->OnStreamDone(*stream, *d.header); break;
    case Kind::Position: streamClient->OnStreamPosition(*stream, *d.header, d.value); break;
    case Kind::Input: portClient->OnMidiInData(*port, d.value, d.timeMs); break;
    }
    lock.lock();
    m_delivering = outerGeneration;
    m_deliveringThread = outerThread;
    m_callbackDone.notify_all();
}

void MidiSessionCore::DrainHere()
{
    std::unique_lock lock(m_mutex);
    if (m_draining) return; // the drain further up this thread (or another) takes them
    m_draining = true;
    while (!m_deliveries.empty()) {
        const Delivery d = m_deliveries.front();
        m_deliveries.pop_front();
        lock.unlock();
        Deliver(d);
        lock.lock();
    }
    m_draining = false;
}

void MidiSessionCore::DeliveryLoop()
{
    // The clients' callbacks refill the streams: a late one lets them run dry.
    raisePriority();
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        if (m_deliveries.empty()) {
            m_deliveryWake.wait(lock, [this] { return m_quit || !m_deliveries.empty(); });
            continue;
        }
        const Delivery d = m_deliveries.front();
        m_deliveries.pop_front();
        lock.unlock();
        Deliver(d);
        lock.lock();
    }
}

void MidiSessionCore::WaitForCallback(std::unique_lock<std::mutex>& lock, uint64_t generation)
{
    const auto self = std::this_thread::get_id();
    m_callbackDone.wait(lock, [&] {
        return m_delivering == 0 || m_deliveringThread == self || (generation != 0 && m_delivering != generation);
    });
}

bool MidiSessionCore::InCallback() const
{
    std::lock_guard lock(m_mutex);
    return m_delivering != 0 && m_deliveringThread == std::this_thread::get_id();
}

} // namespace zib
