#include "ulvarf/CDecProp.h"

#include "ulvarf/CEncoderProp.h"
#include "ulvarf/CEventsPool.h"
#include "ulvarf/CMStream.h"
#include "ulvarf/EventCell.h"
#include "ulvarf/GlobalObjects.h"
#include "ulvarf/TraceMessage.h"

#include <limits>

namespace zib::ulvarf {

namespace {

constexpr uint8_t kTrackChange = 0x40;
constexpr uint8_t kThreeByteForm = 0x20;
constexpr uint8_t kLastByte = 0x80;
constexpr size_t kMaxDeltaBytes = 4;

// Payload bytes of the channel kinds that have a fixed size; 0 for the others.
size_t channelPayload(uint8_t kind)
{
    switch (kind) {
    case PropKind::ProgramChange:
    case PropKind::ChannelPressure:
        return 1;
    case PropKind::NoteOff:
    case PropKind::NoteOn:
    case PropKind::PolyPressure:
    case PropKind::ControlChange:
    case PropKind::PitchBend:
    case PropKind::ChannelMode:
    case PropKind::VexSoundOff:
    case PropKind::VexSoundOn:
        return 2;
    case PropKind::Note:
    case PropKind::VexSound:
        return 5;
    default:
        return 0;
    }
}

} // namespace

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

CDecProp::Step CDecProp::DecodeOne(PropEvent& event, uint32_t& delta)
{
    uint64_t skipped = 0; // deltas of continue markers passed over
    for (;;) {
        if (cursor_.atEnd()) return Step::End;

        // Delta: the bytes with bit 7 set before the kind byte.
        uint32_t d = 0;
        size_t count = 0;
        while (cursor_.has(1) && (cursor_.peek() & 0x80)) {
            if (count == kMaxDeltaBytes) return Step::Corrupted;
            d = (d << 7) | (cursor_.u8() & 0x7F);
            ++count;
        }
        if (!cursor_.has(1)) return Step::Corrupted;
        if (tick_ + d > std::numeric_limits<uint32_t>::max()) return Step::Corrupted;
        tick_ += d;
        skipped += d;

        const uint8_t kindByte = cursor_.u8();
        if (kindByte & kTrackChange) {
            if (!cursor_.has(1)) return Step::Corrupted;
            track_ = uint8_t((track_ + cursor_.u8()) & 0x7F);
        }
        const uint8_t kind = kindByte & 0x1F;
        event = PropEvent();
        event.tick = uint32_t(tick_);

        // A kind byte with 0x20 set: three payload bytes, the third one closing.
        if (kindByte & kThreeByteForm) {
            auto payload = cursor_.bytes(3);
            if (payload.empty() || !(payload[2] & kLastByte)) return Step::Corrupted;
            TraceMessage("CDecProp::ExtractEvent() - Unknown event found; returning null event instead.");
            event = PropEvent::Null(event.tick);
            delta = uint32_t(skipped);
            return Step::Event;
        }

        if (const size_t size = channelPayload(kind)) {
            auto payload = cursor_.bytes(size);
            if (payload.empty()) return Step::Corrupted;
            event.kind = kind;
            event.track = track_;
            event.data1 = payload[0] & 0x7F;
            if (size >= 2) event.data2 = payload[1] & 0x7F;
            if (size == 5) {
                event.duration = PropEvent::DurationTicks(uint16_t((payload[2] & 0x7F) << 7 | (payload[3] & 0x7F)));
                event.offVelocity = payload[4] & 0x7F;
            }
            delta = uint32_t(skipped);
            return Step::Event;
        }

        switch (kind) {
        case PropKind::Meta:
        case PropKind::SysEx: {
            auto head = cursor_.bytes(3);
            if (head.empty()) return Step::Corrupted;
            const size_t length = size_t(head[1] & 0x7F) << 7 | (head[2] & 0x7F);
            auto body = cursor_.bytes(length);
            if (length && body.empty()) return Step::Corrupted;
            if (kind == PropKind::Meta) {
                event = PropEvent::MetaEvent(event.tick, head[0], {body.begin(), body.end()});
            } else {
                // Mode: 0 F0 ... F7, 1 F0 only, 2 neither, 3 F7 only.
                const uint8_t mode = head[0];
                std::vector<uint8_t> bytes;
                bytes.reserve(length + 2);
                if (mode == 0 || mode == 1) bytes.push_back(0xF0);
                bytes.insert(bytes.end(), body.begin(), body.end());
                if (length) bytes[bytes.size() - 1] &= 0x7F;
                if (mode == 0 || mode == 3) bytes.push_back(0xF7);
                event = PropEvent::SysExEvent(event.tick, track_, std::move(bytes));
            }
            delta = uint32_t(skipped);
            return Step::Event;
        }
        case PropKind::Continue:
            if (!OnContinueMarker()) return Step::End;
            continue;
        case PropKind::EndOfStream:
            return Step::End;
        default: {
            // Kinds 11 and 15-29: the payload runs to its first byte with bit 7 set.
            bool closed = false;
            while (cursor_.has(1) && !closed) closed = (cursor_.u8() & kLastByte) != 0;
            if (!closed) return Step::Corrupted;
            TraceMessage("CDecProp::ExtractEvent() - Unknown event found; returning null event instead.");
            event = PropEvent::Null(event.tick);
            delta = uint32_t(skipped);
            return Step::Event;
        }
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
    switch (DecodeOne(event, delta)) {
    case Step::Event:
        stopped_ = event.EndsDecoding();
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

int32_t CDecProp::NextGroup(EventCell*& group)
{
    group = nullptr;
    if (!prepared_) Prepare(0);
    if (!next_) return -1;
    const uint32_t groupTick = next_->tick;
    const PropClass groupClass = next_->Class();
    const auto delta = int32_t(groupTick - outTick_);
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
