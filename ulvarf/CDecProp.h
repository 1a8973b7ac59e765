#pragma once

#include "ulvarf/PropEvent.h"

#include "platform/ByteCursor.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zib::ulvarf {

class CEventsPool;
class CMStream;
struct EventCell;

// Where a decoder stands.
enum class PropDecodeState : uint8_t {
    Ready,     // more events may follow
    Finished,  // the stream ended: end of track, a stop control event, kind 31 or its last byte
    Corrupted, // bytes that do not form an event; nothing past them is read
    Exhausted, // the event pool gave no cell
};

// Decodes a property event stream (its form: PropFrame) into event cells of
// the event pool. Unknown events give the null event (meta 0x7E, data 0)
// with a trace. Every length is checked against the stream: an event that
// would run past it makes the stream corrupted, and so does a fifth delta
// byte or a tick past 32 bits.
class CDecProp {
public:
    explicit CDecProp(std::span<const uint8_t> stream);
    CDecProp(std::span<const uint8_t> stream, CEventsPool& pool);
    virtual ~CDecProp();
    CDecProp(const CDecProp&) = delete;
    CDecProp& operator=(const CDecProp&) = delete;

    // Event by event
    // Back to the start with the given current track, decoding the first
    // event; false (traced "stream of events is corrupted") when it fails.
    bool Prepare(uint8_t initialTrack = 0);
    // The next event as a pool cell (the caller frees it with the pool's
    // FreeEvents) and its delta from the previous one; null at the end or on
    // failure (see state()). Prepares with track 0 when not yet prepared.
    EventCell* ExtractEvent(uint32_t& delta);
    // The events of the next tick that share one class, as a list linked by
    // `next`; returns the delta from the previous group's tick (continue
    // markers can make it 2^31 or more), -1 at the end.
    int64_t NextGroup(EventCell*& group);
    // Back to the start, track 0 (Prepare must run again).
    void Rewind();

    // Decodes the whole stream into `out`, re-encoded with note pairing and
    // kept durations; false (traced) when decoding or encoding fails.
    bool StoreEvents(CMStream& out);

    // State
    PropDecodeState state() const { return state_; }
    // Absolute tick of the event handed out last.
    uint32_t tick() const { return outTick_; }
    CEventsPool& pool() { return pool_; }

    // Whole streams as plain values: every event in stream order, the one
    // that ends decoding included, null events in place of unknown ones.
    // False when the stream is corrupted; the events before the damage stay.
    static bool DecodeEvents(std::span<const uint8_t> stream, std::vector<PropEvent>& events,
                             uint8_t initialTrack = 0);

protected:
    // Kind 30 (continue marker): true to go on decoding, false to end here.
    virtual bool OnContinueMarker() { return true; }

private:
    enum class Step : uint8_t { Event, End, Corrupted };
    // One event from the cursor; unknown ones come out as the null event.
    // `ends`: the event ends decoding (an end of track or a stop control).
    Step DecodeOne(PropEvent& event, uint32_t& delta, bool& ends);
    // Decodes the next event into the look-ahead; false when there is none.
    // `first` names the failure after Prepare.
    bool Advance(bool first = false);

    zib::ByteCursor cursor_;
    CEventsPool& pool_;
    PropDecodeState state_ = PropDecodeState::Ready;
    bool prepared_ = false;
    uint8_t track_ = 0;
    uint64_t tick_ = 0;     // tick of the look-ahead event
    uint32_t outTick_ = 0;  // tick of the event handed out last
    bool stopped_ = false;  // the look-ahead ends decoding
    std::optional<PropEvent> next_;
    uint32_t nextDelta_ = 0;
};

} // namespace zib::ulvarf
