#pragma once

#include "ulvarf/CHeap.h"
#include "ulvarf/PropEvent.h"

#include <cstdint>

namespace zib {
class ByteWriter;
}

namespace zib::ulvarf {

struct EventCell;

// What the event encoders share: events come in by absolute tick, in tick
// order, and are handed to the encoder's writers by class. Notes with a
// duration (kinds 7 and 14) can be expanded: the note on is written at its
// tick and its note off (kind 0 or 12 with the off velocity) waits in a heap
// until an event at or after its tick comes, so every off is written before
// any later event. An end of track writes every off still pending first, at
// the off's tick or the end's tick, whichever is earlier; nothing is
// accepted after it.
class CEncoderBase {
public:
    virtual ~CEncoderBase() = default;
    CEncoderBase(const CEncoderBase&) = delete;
    CEncoderBase& operator=(const CEncoderBase&) = delete;

    // Writing
    // One event at its tick. False when it is refused or the encoder has
    // failed; a refusal (a kind this encoder does not take, an unmatched
    // note off, an event after the end of track) leaves the encoder usable,
    // a failure (out of tick order, a write that cannot be done) does not.
    bool PutEvent(const PropEvent& event);
    bool PutCell(uint32_t tick, const EventCell& cell);
    // Writes every pending off at its own tick (closing without an end of track).
    bool FlushPending();

    // State
    bool failed() const { return failed_; }
    bool ended() const { return ended_; }
    uint32_t lastTick() const { return lastTick_; }
    size_t pendingOffs() const { return pending_.size(); }

    // MIDI variable-length quantity, 7 bits a byte, most significant first;
    // a value above 0x0FFFFFFF traces "CEncoderBase::VarLenNum - dwValue >= 2^28"
    // and is written as 0x0FFFFFFF.
    static void VarLenNum(uint32_t value, zib::ByteWriter& out);

protected:
    explicit CEncoderBase(bool expandDurations) : expand_(expandDurations) {}

    // Back to the state before the first event.
    void ResetBase();
    // For an event written past the writers: checks the tick order and
    // writes the offs pending up to the tick; false when the encoder failed.
    bool AdvanceTo(uint32_t tick);
    void SetExpandDurations(bool on) { expand_ = on; }
    void Fail() { failed_ = true; }

    // Writers of the derived encoder; each writes one event at event.tick.
    virtual bool OnChannelMsg(const PropEvent& event) = 0;
    virtual bool OnMetaEvent(const PropEvent& event) = 0;
    virtual bool OnSysExEvent(const PropEvent& event) = 0;
    // Runs before the end of track is written, after the pending offs.
    virtual bool OnEndOfTrack(uint32_t tick) { (void)tick; return true; }

private:
    bool writePendingUpTo(uint32_t tick, bool clampAll);
    bool dispatch(const PropEvent& event);

    CHeap pending_;
    bool expand_;
    bool failed_ = false;
    bool ended_ = false;
    uint32_t lastTick_ = 0;
};

} // namespace zib::ulvarf
