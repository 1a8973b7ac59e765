#include "ulvarf/CEncoderBase.h"

#include "ulvarf/EventCell.h"
#include "ulvarf/TraceMessage.h"

#include "platform/ByteWriter.h"

#include <limits>

namespace zib::ulvarf {

void CEncoderBase::ResetBase()
{
    pending_.Clear();
    failed_ = false;
    ended_ = false;
    lastTick_ = 0;
}

bool CEncoderBase::AdvanceTo(uint32_t tick)
{
    if (failed_ || ended_) return false;
    if (tick < lastTick_) {
        TraceMessage("CEncoderBase::PutEvent - Event out of order");
        Fail();
        return false;
    }
    if (!writePendingUpTo(tick, false)) return false;
    lastTick_ = tick;
    return true;
}

bool CEncoderBase::PutEvent(const PropEvent& event)
{
    if (failed_ || ended_) return false;
    if (event.tick < lastTick_) {
        TraceMessage("CEncoderBase::PutEvent - Event out of order");
        Fail();
        return false;
    }
    if (event.IsEndOfTrack()) {
        if (!writePendingUpTo(event.tick, true)) return false;
        lastTick_ = event.tick;
        if (!OnEndOfTrack(event.tick) || failed_) return Fail(), false;
        if (!OnMetaEvent(event)) return Fail(), false;
        ended_ = true;
        return true;
    }
    if (!writePendingUpTo(event.tick, false)) return false;
    lastTick_ = event.tick;
    return dispatch(event);
}

bool CEncoderBase::PutCell(uint32_t tick, const EventCell& cell)
{
    return PutEvent(PropEvent::FromCell(cell, tick));
}

bool CEncoderBase::FlushPending()
{
    if (failed_) return false;
    while (!pending_.empty()) {
        const PropEvent off = pending_.Pop();
        lastTick_ = off.tick;
        OnChannelMsg(off);
        if (failed_) return false;
    }
    return true;
}

bool CEncoderBase::writePendingUpTo(uint32_t tick, bool clampAll)
{
    while (!pending_.empty() && (clampAll || pending_.Top().tick <= tick)) {
        PropEvent off = pending_.Pop();
        if (off.tick > tick) off.tick = tick;
        OnChannelMsg(off); // an off nobody waits for is refused, which is no failure
        if (failed_) return false;
    }
    return true;
}

bool CEncoderBase::dispatch(const PropEvent& event)
{
    const bool withDuration = event.kind == PropKind::Note || event.kind == PropKind::VexSound;
    if (withDuration && expand_) {
        const bool vex = event.kind == PropKind::VexSound;
        const PropEvent on = PropEvent::Channel(event.tick, vex ? PropKind::VexSoundOn : PropKind::NoteOn, event.track,
                                                event.data1, event.data2);
        const uint64_t offTick = uint64_t(event.tick) + event.duration;
        const PropEvent off = PropEvent::Channel(
            uint32_t(offTick > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max() : offTick),
            vex ? PropKind::VexSoundOff : PropKind::NoteOff, event.track, event.data1, event.offVelocity);
        if (!OnChannelMsg(on)) return false;
        if (event.duration == 0) return OnChannelMsg(off);
        pending_.Push(off);
        return true;
    }
    switch (event.Class()) {
    case PropClass::Meta:
        return OnMetaEvent(event);
    case PropClass::SysEx:
        return OnSysExEvent(event);
    case PropClass::Channel:
        break;
    }
    // Kinds 11 and 15 or more are no channel messages.
    if (event.kind > PropKind::VexSound || event.kind == 11) {
        TraceMessage("CEncoderBase::PutEvent - Unknown event kind %d not encoded", int(event.kind));
        return false;
    }
    return OnChannelMsg(event);
}

void CEncoderBase::VarLenNum(uint32_t value, zib::ByteWriter& out)
{
    if (value > zib::ByteWriter::kMaxVarLen) {
        TraceMessage("CEncoderBase::VarLenNum - dwValue >= 2^28");
        value = zib::ByteWriter::kMaxVarLen;
    }
    out.varLen(value);
}

} // namespace zib::ulvarf
