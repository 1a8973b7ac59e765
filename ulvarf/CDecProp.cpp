#include "ulvarf/CDecProp.h"

#include "ulvarf/CEncoderProp.h"
#include "ulvarf/CEventsPool.h"
#include "ulvarf/CMStream.h"
#include "ulvarf/EventCell.h"
#include "ulvarf/GlobalObjects.h"
#include "ulvarf/TraceMessage.h"

#include <limits>

namespace zib::ulvarf {

CDecProp::CDecProp(std::span<const uint8_t> stream) : CDecProp(stream, GlobalEventsPool()) {}

CDecProp::CDecProp(std::span<const uint8_t> stream, CEventsPool& pool) : cursor_(stream), pool_(pool) {}

CDecProp::~CDecProp() = default;

void CDecProp::Rewind()
{
    cursor_.seek(0);
    state_ = PropDecodeState::Ready;
    prepared_ = false;
    track_ = 0;
    tick_ = 0;
    outTick_ = 0;
    stopped_ = false;
    next_.reset();
    nextDelta_ = 0;
}

CDecProp::Step CDecProp::DecodeOne(PropEvent& event, uint32_t& delta, bool& ends)
{
    ends = false;
    uint64_t skipped = 0; // deltas of continue markers passed over
    for (;;) {
        PropFrame frame;
        switch (PropFrame::Next(cursor_, frame)) {
        case PropFrame::Read::NoMore:
            return Step::End;
        case PropFrame::Read::Corrupted:
            return Step::Corrupted;
        case PropFrame::Read::Frame:
            break;
        }
        if (tick_ + frame.delta > std::numeric_limits<uint32_t>::max()) return Step::Corrupted;
        tick_ += frame.delta;
        skipped += frame.delta;
        if (frame.trackChange) track_ = uint8_t((track_ + frame.trackStep) & 0x7F);
        const uint8_t kind = frame.kind();
        const std::span<const uint8_t> payload = frame.payload;
        event = PropEvent();
        event.tick = uint32_t(tick_);
        delta = uint32_t(skipped);

        if (frame.IsUnknown()) {
            TraceMessage("CDecProp::ExtractEvent() - Unknown event found; returning null event instead.");
            event = PropEvent::Null(event.tick);
            return Step::Event;
        }
        switch (kind) {
        case PropKind::Continue:
            if (!OnContinueMarker()) return Step::End;
            continue;
        case PropKind::EndOfStream:
            return Step::End;
        case PropKind::Meta:
            ends = frame.EndsStream();
            event = PropEvent::MetaEvent(event.tick, payload[0], {payload.begin() + 3, payload.end()});
            return Step::Event;
        case PropKind::SysEx: {
            // Mode: 0 F0 ... F7, 1 F0 only, 2 neither, 3 F7 only.
            const uint8_t mode = payload[0];
            const auto body = payload.subspan(3);
            std::vector<uint8_t> bytes;
            bytes.reserve(body.size() + 2);
            if (mode == 0 || mode == 1) bytes.push_back(0xF0);
            bytes.insert(bytes.end(), body.begin(), body.end());
            if (!body.empty()) bytes.back() &= 0x7F;
            if (mode == 0 || mode == 3) bytes.push_back(0xF7);
            event = PropEvent::SysExEvent(event.tick, track_, std::move(bytes));
            return Step::Event;
        }
        default:
            event.kind = kind;
            event.track = track_;
            event.data1 = payload[0] & 0x7F;
            if (payload.size() >= 2) event.data2 = payload[1] & 0x7F;
            if (payload.size() == 5) {
                event.duration = PropEvent::DurationTicks(uint16_t((payload[2] & 0x7F) << 7 | (payload[3] & 0x7F)));
                event.offVelocity = payload[4] & 0x7F;
            }
            return Step::Event;
        }
    }
}

bool CDecProp::Advance(bool first)
{
    next_.reset();
    if (stopped_ || state_ != PropDecodeState::Ready) {
        if (state_ == PropDecodeState::Ready) state_ = PropDecodeState::Finished;
        return false;
    }
    PropEvent event;
    uint32_t delta = 0;
    bool ends = false;
    switch (DecodeOne(event, delta, ends)) {
    case Step::Event:
        stopped_ = ends;
        next_ = std::move(event);
        nextDelta_ = delta;
        return true;
    case Step::End:
        state_ = PropDecodeState::Finished;
        return false;
    case Step::Corrupted:
        break;
    }
    TraceMessage(first ? "CDecProp::Prepare() - stream of events is corrupted"
                       : "CDecProp::ExtractEvent() - stream of events is corrupted");
    state_ = PropDecodeState::Corrupted;
    return false;
}

bool CDecProp::Prepare(uint8_t initialTrack)
{
    Rewind();
    track_ = initialTrack & 0x7F;
    prepared_ = true;
    Advance(true);
    return state_ != PropDecodeState::Corrupted;
}

EventCell* CDecProp::ExtractEvent(uint32_t& delta)
{
    delta = 0;
    if (!prepared_) Prepare(0);
    if (!next_) return nullptr;
    PropEvent event = std::move(*next_);
    delta = nextDelta_;
    outTick_ = event.tick;
    Advance();

    EventCell* cell = pool_.GetNewEvent();
    if (!cell || !event.ToCell(*cell, pool_.heap())) {
        if (cell) pool_.FreeEvents(cell);
        state_ = PropDecodeState::Exhausted;
        next_.reset();
        return nullptr;
    }
    return cell;
}

int64_t CDecProp::NextGroup(EventCell*& group)
{
    group = nullptr;
    if (!prepared_) Prepare(0);
    if (!next_) return -1;
    const uint32_t groupTick = next_->tick;
    const PropClass groupClass = next_->Class();
    const auto delta = int64_t(groupTick) - int64_t(outTick_);
    EventCell* last = nullptr;
    while (next_ && next_->tick == groupTick && next_->Class() == groupClass) {
        uint32_t ignored = 0;
        EventCell* cell = ExtractEvent(ignored);
        if (!cell) {
            pool_.FreeEvents(group);
            group = nullptr;
            return -1;
        }
        (last ? last->next : group) = cell;
        last = cell;
    }
    return delta;
}

bool CDecProp::StoreEvents(CMStream& out)
{
    Prepare(0);
    CEncoderProp encoder;
    encoder.Open(PropSwitches::BothOn());
    while (next_) {
        PropEvent event = std::move(*next_);
        Advance();
        encoder.PutEvent(event);
        if (encoder.failed()) {
            TraceMessage("CDecProp::StoreEvents - Events encoding failed");
            return false;
        }
    }
    if (state_ != PropDecodeState::Finished) {
        TraceMessage("CDecProp::StoreEvents - Events decoding failed");
        return false;
    }
    if (!encoder.Close() || !out.Write(encoder.bytes().data(), encoder.size())) {
        TraceMessage("CDecProp::StoreEvents - Events encoding failed");
        return false;
    }
    return true;
}

bool CDecProp::DecodeEvents(std::span<const uint8_t> stream, std::vector<PropEvent>& events, uint8_t initialTrack)
{
    CDecProp decoder(stream);
    decoder.Prepare(initialTrack);
    while (decoder.next_) {
        events.push_back(std::move(*decoder.next_));
        decoder.Advance();
    }
    return decoder.state_ == PropDecodeState::Finished;
}

} // namespace zib::ulvarf
