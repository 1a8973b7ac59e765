#pragma once

#include "devices/core/CStreamScheduler.h"
#include "devices/core/IMidiSink.h"
#include "devices/core/MidiResult.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>

namespace zib {

class IMidiStreamClient;

// An open MIDI output stream: timed buffers of stream events (Out), with
// done and position callbacks, plus immediate short and long messages. The
// operations are safe from any thread; the client's callbacks come from the
// thread that drives the stream's clock, never under the stream's lock.
// Subclasses supply the clock: a thread on the real clock, or a virtual
// clock for tests.
class CMidiStream {
public:
    virtual ~CMidiStream();
    CMidiStream(const CMidiStream&) = delete;
    CMidiStream& operator=(const CMidiStream&) = delete;

    // Properties (the stream's time division and tempo)
    MidiResult SetTimeDiv(uint32_t ticksPerQuarter);
    MidiResult SetTempo(uint32_t microsecondsPerQuarter);
    uint32_t GetTimeDiv();
    uint32_t GetTempo();

    // Buffers
    MidiResult PrepareHeader(MidiHeader& header);
    MidiResult UnprepareHeader(MidiHeader& header);
    MidiResult Out(MidiHeader& header);

    // Transport: a new stream is paused until Restart. Stop returns every
    // queued buffer through the done callback and sets the position to 0.
    MidiResult Pause();
    MidiResult Restart();
    MidiResult Stop();
    // Closing fails with StillPlaying while buffers are queued; afterwards no
    // callback comes and every other operation gives InvalidHandle.
    MidiResult Close();
    uint32_t PositionTicks();

    // Immediate messages, outside the stream's timing
    MidiResult ShortMsg(uint32_t message);
    MidiResult LongMsg(std::span<const uint8_t> bytes);

    // Driving the clock: when the next event is due (none while paused or
    // empty), and playing everything due by `nowUs` (delivers the callbacks)
    std::optional<int64_t> NextDueUs();
    void Service(int64_t nowUs);

protected:
    CMidiStream(std::unique_ptr<IMidiSink> sink, IMidiStreamClient& client);

    // The clock of the subclass, and the nudge that makes it look at the
    // queue again (called without the lock)
    virtual int64_t NowUs() = 0;
    virtual void Wake() = 0;
    // Called once by Close() after the stream is marked closed, without the lock
    virtual void OnClosed() {}

private:
    void Deliver(const CStreamScheduler::Actions& actions);

    std::mutex m_mutex;
    std::unique_ptr<IMidiSink> m_sink;
    IMidiStreamClient& m_client;
    CStreamScheduler m_scheduler;
    bool m_closed = false;
    std::recursive_mutex m_serviceMutex; // one Service() at a time; Close() may come from a callback
};

} // namespace zib
