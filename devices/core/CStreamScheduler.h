#pragma once

#include "devices/core/MidiHeader.h"
#include "devices/core/MidiResult.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace zib {

class IMidiSink;

// The timing core of a MIDI stream: plays queued buffers of stream events in
// stream time. Time division and tempo turn ticks into microseconds; Set
// Tempo events change the tempo from their own tick on. The caller supplies
// the clock (`nowUs`) and serializes the calls; the scheduler never blocks,
// allocates nothing once its queue has grown, and reports finished buffers
// and position events in an Actions record for the caller to deliver.
//
// Stream time starts at tick 0 when the stream is opened and runs only while
// the stream is not paused. Each event is due its delta after the previous
// one; an event whose time has passed (the queue ran dry) is sent at once.
class CStreamScheduler {
public:
    static constexpr uint32_t kDefaultTimeDiv = 96;
    static constexpr uint32_t kDefaultTempo = 500000;

    // What one step produced, in the order it happened: finished buffers
    // and position events (an event flagged for a callback)
    struct Actions {
        struct Entry {
            MidiHeader* header = nullptr;
            uint32_t offset = 0; // of the position event
            bool done = false;   // true: the buffer finished; false: a position event
        };
        static constexpr size_t kCapacity = 32;
        std::array<Entry, kCapacity> entries{};
        size_t count = 0;
        bool Full() const { return count >= kCapacity - 1; } // room for one event's two entries
        void Add(MidiHeader* h, uint32_t offset, bool done) { entries[count++] = {h, offset, done}; }
    };

    CStreamScheduler();

    // Properties
    MidiResult SetTimeDiv(uint32_t ticksPerQuarter, int64_t nowUs);
    uint32_t TimeDiv() const { return m_timeDiv; }
    MidiResult SetTempo(uint32_t microsecondsPerQuarter, int64_t nowUs);
    uint32_t Tempo() const { return m_tempo; }

    // Buffers: Queue() takes a prepared header that is not queued yet
    MidiResult Queue(MidiHeader& header);
    size_t QueuedCount() const { return m_queue.size() - m_head; }

    // Transport. A new stream is paused. Stop() returns every queued buffer
    // (in `actions`, as many as fit; call again while it reports more),
    // pauses and sets the position back to 0.
    void Pause(int64_t nowUs);
    void Restart(int64_t nowUs);
    bool Stop(Actions& actions);
    bool Running() const { return m_running; }

    // Clock
    std::optional<int64_t> NextDueUs() const;
    uint32_t PositionTicks(int64_t nowUs) const;
    // Sends every event due by `nowUs` to `sink`; stops early when `actions`
    // is full (call again: the rest is then due at once)
    void Step(int64_t nowUs, IMidiSink& sink, Actions& actions);

private:
    // The tick that lies at `nowUs` with the current anchor and tempo
    double TickAt(int64_t nowUs) const;
    int64_t TimeOfTick(double tick) const;
    void Reanchor(int64_t nowUs);
    MidiHeader* Current() const { return m_head < m_queue.size() ? m_queue[m_head] : nullptr; }
    // Reads the event at the current offset; false when the buffer holds no
    // complete event there
    bool PeekEvent(uint32_t& delta, uint32_t& word) const;
    void FinishCurrent(Actions& actions);

    // Timing
    uint32_t m_timeDiv = kDefaultTimeDiv;
    uint32_t m_tempo = kDefaultTempo;
    bool m_running = false;
    int64_t m_anchorUs = 0;  // stream time ... 
    double m_anchorTick = 0; // ... is m_anchorTick at m_anchorUs
    double m_lastTick = 0;   // tick of the last event sent

    // Queue: headers from m_head on, the first one read from m_offset
    std::vector<MidiHeader*> m_queue;
    size_t m_head = 0;
    uint32_t m_offset = 0;
};

} // namespace zib
