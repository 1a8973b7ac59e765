#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace zib {

class MidiSessionCore;

// The time of the MIDI layer, in microseconds. The program runs on the
// steady clock, where every session keeps its own scheduler thread. Tests
// run on a virtual clock: nothing moves until the test advances it, and the
// advance plays every session's due events in time order on the calling
// thread, so a test sees the same sequence every run.
class MidiClock {
public:
    virtual ~MidiClock() = default;

    virtual int64_t NowUs() const = 0;
    // Virtual: sessions have no threads and are stepped by VirtualMidiClock
    virtual bool IsVirtual() const = 0;
};

// The machine's steady clock.
class SteadyMidiClock : public MidiClock {
public:
    int64_t NowUs() const override;
    bool IsVirtual() const override { return false; }
};

// A clock that moves only when told to.
class VirtualMidiClock : public MidiClock {
public:
    int64_t NowUs() const override;
    bool IsVirtual() const override { return true; }

    // Moves the time forward, playing every event that falls due on the way
    // (in due order across sessions, each at its own due time) and
    // delivering the callbacks of direct sessions on this thread; posted
    // sessions hand theirs to their dispatcher.
    void Advance(int64_t us);
    void AdvanceTo(int64_t timeUs);
    // Advances until no session has anything due, at most `limitUs` ahead;
    // false when the limit came first.
    bool RunUntilIdle(int64_t limitUs = 3'600'000'000LL);

    // Sessions on this clock (MidiSession attaches and detaches itself)
    void Attach(const std::shared_ptr<MidiSessionCore>& session);
    void Detach(const MidiSessionCore* session);

private:
    // The session with the earliest due time up to `limitUs`, if any
    std::shared_ptr<MidiSessionCore> NextDue(int64_t limitUs, int64_t& dueUs);

    mutable std::mutex m_mutex;
    int64_t m_nowUs = 0;
    std::vector<std::weak_ptr<MidiSessionCore>> m_sessions;
    std::recursive_mutex m_advanceMutex; // one advance at a time
    std::vector<std::shared_ptr<MidiSessionCore>> m_scratch; // under m_advanceMutex
};

} // namespace zib
