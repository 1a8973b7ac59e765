#pragma once

#include "devices/core/MidiBackend.h"
#include "devices/core/MidiInputParser.h"
#include "devices/core/MidiResult.h"
#include "devices/core/MidiSession.h"
#include "devices/core/RingQueue.h"

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

namespace zib {

class InPort;
class InPortClient;
class MidiClock;
class MidiDeviceList;
class MidiDispatcher;
class OutStream;
class OutStreamClient;
struct MidiHeader;

// The shared state behind a MidiSession and its OutStream and InPort
// handles (they hold it by shared_ptr, so a handle never outlives it): the
// session clock, each stream's queue and each port's parser, the scheduler
// and delivery threads. One mutex guards it all; device sinks are called
// under it, client callbacks never are.
class MidiSessionCore : public std::enable_shared_from_this<MidiSessionCore> {
public:
    MidiSessionCore(MidiDeviceList& devices, MidiSession::Delivery delivery, MidiDispatcher* dispatcher);
    ~MidiSessionCore();

    // Threads (steady clock) or the virtual clock's registration
    void Begin();
    // Closes every stream and port, ends the threads
    void Shutdown();

    // Opening
    MidiResult OpenOutStream(int deviceId, OutStreamClient& client, std::unique_ptr<OutStream>& stream);
    MidiResult OpenInPort(int deviceId, InPortClient& client, std::unique_ptr<InPort>& port);

    // OutStream calls
    MidiResult SetTimeDiv(uint64_t generation, uint32_t ticksPerQuarter);
    MidiResult SetTempo(uint64_t generation, uint32_t microsecondsPerQuarter);
    MidiResult Prepare(uint64_t generation, MidiHeader& header);
    MidiResult Unprepare(uint64_t generation, MidiHeader& header);
    MidiResult Queue(uint64_t generation, MidiHeader& header);
    MidiResult Pause(uint64_t generation);
    MidiResult Restart(uint64_t generation);
    MidiResult SendShort(uint64_t generation, uint32_t message);
    MidiResult CloseStream(uint64_t generation);

    // InPort calls
    MidiResult StartPort(uint64_t generation);
    MidiResult ClosePort(uint64_t generation);

    // The session clock
    uint32_t TimeDiv() const;
    uint32_t Tempo() const;
    bool InCallback() const;

    // Virtual clock stepping: the earliest due time (-1: nothing due), and
    // playing what is due by `nowUs`, then delivering direct callbacks here
    int64_t NextDueUs();
    void Step(int64_t nowUs);

private:
    enum class Kind : uint8_t { Done, Position, Input };
    struct Delivery {
        Kind kind;
        uint64_t generation;
        MidiHeader* header;
        uint32_t value; // position offset, or the input message
        uint32_t timeMs;
    };
    struct Stream {
        uint64_t generation = 0;
        int deviceId = 0;
        OutStreamClient* client = nullptr;
        OutStream* handle = nullptr;
        std::unique_ptr<MidiOutSink> sink;
        RingQueue<MidiHeader*> queue; // front first
        uint32_t offset = 0;        // in the front buffer
        uint64_t lastDueTick = 0;   // the stream's own ticks
        double tickOrigin = 0;      // session tick of the stream's tick 0
        double pausedAt = 0;        // session tick when it paused
        bool running = false;
        bool gone = false;          // the device refused a message
    };
    struct Port {
        uint64_t generation = 0;
        int deviceId = 0;
        InPortClient* client = nullptr;
        InPort* handle = nullptr;
        std::unique_ptr<MidiInSource> source;
        MidiInputParser parser;
        bool started = false;
        int64_t startUs = 0;
    };

    // Clock (under m_mutex)
    double TickAt(int64_t nowUs) const;
    int64_t TimeOfTick(double tick) const;
    void Reanchor(int64_t nowUs);
    int64_t Now() const;

    // Scheduling (under m_mutex)
    Stream* FindStream(uint64_t generation);
    Port* FindPort(uint64_t generation);
    // When the stream's next event (or the return of its finished buffer) is
    // due; -1 when nothing is due
    int64_t DueUs(const Stream& s) const;
    // Plays one event of the stream, or returns its finished buffer
    void PlayOne(Stream& s);
    void FinishFront(Stream& s);
    // Plays everything due by `nowUs`
    void PlayDue(int64_t nowUs);
    void Push(const Delivery& d);

    // Delivery
    void Deliver(const Delivery& d);   // checks the generation, runs the callback without the lock
    void DrainHere();                  // direct delivery on the virtual clock
    void SchedulerLoop();
    void DeliveryLoop();
    void OnInputBytes(uint64_t generation, std::span<const uint8_t> bytes);
    // Waits until no callback of `generation` runs on another thread (lock held)
    void WaitForCallback(std::unique_lock<std::mutex>& lock, uint64_t generation);
    void Wake();

    MidiDeviceList& m_devices;
    std::shared_ptr<MidiClock> m_clockOwner;
    MidiClock& m_clock;
    const MidiSession::Delivery m_delivery;
    MidiDispatcher* m_dispatcher;

    mutable std::mutex m_mutex;
    // The session clock: ticks are m_anchorTick at m_anchorUs, and move on
    // while m_runningCount > 0
    uint32_t m_timeDiv = 96;
    uint32_t m_tempo = 500000;
    int64_t m_anchorUs = 0;
    double m_anchorTick = 0;
    int m_runningCount = 0;

    uint64_t m_nextGeneration = 1;
    std::map<uint64_t, Stream> m_streams; // in opening order
    std::map<uint64_t, Port> m_ports;
    RingQueue<Delivery> m_deliveries{64};

    // The callback running now, and on which thread
    uint64_t m_delivering = 0;
    std::thread::id m_deliveringThread;
    std::condition_variable m_callbackDone;

    // Threads of the steady clock
    bool m_quit = false;
    bool m_changed = false;
    std::condition_variable m_schedulerWake;
    std::condition_variable m_deliveryWake;
    std::thread m_scheduler;
    std::thread m_deliverer;
    bool m_draining = false; // virtual clock: a drain runs on some thread
};

} // namespace zib
