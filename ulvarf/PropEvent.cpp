#include "ulvarf/PropEvent.h"

#include "ulvarf/CEventsHeap.h"
#include "ulvarf/EventCell.h"

#include "platform/ByteCursor.h"

#include <algorithm>
#include <cstring>

namespace zib::ulvarf {

// The cell's two words:
//   word 1  kind 0-7, track 8-15, data1 16-23, data2 24-30 (channel events);
//           meta: type 8-15, length 16-30; sysex: track 8-15, length 16-30;
//           bit 31: the data lies in an event-heap block
//   word 2  kinds 7, 14: off velocity 24-30, duration 0-23;
//           meta of up to 4 data bytes: the data, first byte lowest
namespace {

constexpr uint32_t kMaxCellLength = 0x7FFF;
constexpr uint32_t kMaxCellDuration = 0xFFFFFF;

} // namespace

PropEvent PropEvent::Channel(uint32_t tick, uint8_t kind, uint8_t track, uint8_t data1, uint8_t data2)
{
    PropEvent event;
    event.tick = tick;
    event.kind = kind;
    event.track = track;
    event.data1 = data1;
    event.data2 = data2;
    return event;
}

PropEvent PropEvent::NoteWithDuration(uint32_t tick, uint8_t track, uint8_t key, uint8_t velocity,
                                      uint32_t duration, uint8_t offVelocity, bool vexSound)
{
    PropEvent event = Channel(tick, vexSound ? PropKind::VexSound : PropKind::Note, track, key, velocity);
    event.duration = duration;
    event.offVelocity = offVelocity;
    return event;
}

PropEvent PropEvent::MetaEvent(uint32_t tick, uint8_t type, std::vector<uint8_t> data)
{
    PropEvent event;
    event.tick = tick;
    event.kind = PropKind::Meta;
    event.metaType = type;
    event.data = std::move(data);
    return event;
}

PropEvent PropEvent::EndOfTrack(uint32_t tick)
{
    return MetaEvent(tick, PropMeta::EndOfTrack, {});
}

PropEvent PropEvent::Control(uint32_t tick, std::vector<uint8_t> data)
{
    return MetaEvent(tick, PropMeta::Control, std::move(data));
}

PropEvent PropEvent::SysExEvent(uint32_t tick, uint8_t track, std::vector<uint8_t> bytes)
{
    PropEvent event;
    event.tick = tick;
    event.kind = PropKind::SysEx;
    event.track = track;
    event.data = std::move(bytes);
    return event;
}

PropEvent PropEvent::Null(uint32_t tick)
{
    return Control(tick, {0});
}

PropClass PropEvent::Class() const
{
    if (kind == PropKind::Meta) return PropClass::Meta;
    if (kind == PropKind::SysEx) return PropClass::SysEx;
    return PropClass::Channel;
}

uint16_t PropEvent::DurationCode(uint32_t ticks)
{
    if (ticks < 0x2000) return uint16_t(ticks);
    if (ticks <= kMaxDuration) return uint16_t(0x2000 + ticks / 16);
    return uint16_t(kMaxDurationCode);
}

uint32_t PropEvent::DurationTicks(uint16_t code)
{
    code &= kMaxDurationCode;
    return (code & 0x2000) ? uint32_t(code & 0x1FFF) * 16 : code;
}

bool PropEvent::ToCell(EventCell& cell, CEventsHeap& heap) const
{
    uint32_t word1 = kind;
    uint32_t word2 = 0;
    uint8_t* heapData = nullptr;
    if (kind == PropKind::Meta || kind == PropKind::SysEx) {
        if (data.size() > kMaxCellLength) return false;
        word1 |= uint32_t(kind == PropKind::Meta ? metaType : track) << 8;
        word1 |= uint32_t(data.size()) << 16;
        if ((kind == PropKind::Meta && data.size() <= 4) || data.empty()) {
            for (size_t i = 0; i < data.size(); ++i) word2 |= uint32_t(data[i]) << (8 * i);
        } else {
            heapData = heap.Alloc(uint32_t(data.size()));
            if (!heapData) return false;
            if (!data.empty()) std::memcpy(heapData, data.data(), data.size());
            word1 |= EventCell::kHeapData;
        }
    } else {
        word1 |= uint32_t(track) << 8 | uint32_t(data1 & 0x7F) << 16 | uint32_t(data2 & 0x7F) << 24;
        if (kind == PropKind::Note || kind == PropKind::VexSound)
            word2 = uint32_t(offVelocity & 0x7F) << 24 | std::min(duration, kMaxCellDuration);
    }
    if (cell.hasHeapData()) heap.Free(cell.heapData);
    cell.word1 = word1;
    cell.word2 = word2;
    cell.heapData = heapData;
    return true;
}

PropEvent PropEvent::FromCell(const EventCell& cell, uint32_t tick)
{
    PropEvent event;
    event.tick = tick;
    event.kind = cell.kind();
    if (event.kind == PropKind::Meta || event.kind == PropKind::SysEx) {
        const uint8_t second = uint8_t(cell.word1 >> 8);
        if (event.kind == PropKind::Meta)
            event.metaType = second;
        else
            event.track = second;
        const size_t length = (cell.word1 >> 16) & kMaxCellLength;
        if (cell.hasHeapData()) {
            if (cell.heapData) event.data.assign(cell.heapData, cell.heapData + length);
        } else {
            for (size_t i = 0; i < std::min<size_t>(length, 4); ++i) event.data.push_back(uint8_t(cell.word2 >> (8 * i)));
        }
        return event;
    }
    event.track = uint8_t(cell.word1 >> 8);
    event.data1 = uint8_t(cell.word1 >> 16);
    event.data2 = uint8_t((cell.word1 >> 24) & 0x7F);
    if (event.kind == PropKind::Note || event.kind == PropKind::VexSound) {
        event.offVelocity = uint8_t((cell.word2 >> 24) & 0x7F);
        event.duration = cell.word2 & kMaxCellDuration;
    }
    return event;
}

// Frames of the stream

namespace {

constexpr uint8_t kTrackChangeBit = 0x40;
constexpr uint8_t kUnknownFormBit = 0x20;
constexpr uint8_t kLastByteBit = 0x80;
constexpr size_t kMaxDeltaBytes = 4;

// Payload bytes of the kinds that have a fixed number; 0 for the others.
size_t fixedPayload(uint8_t kind)
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

PropFrame::Read PropFrame::Next(zib::ByteCursor& in, PropFrame& frame)
{
    frame = PropFrame();
    if (in.atEnd()) return Read::NoMore;
    size_t count = 0;
    while (in.has(1) && (in.peek() & kLastByteBit)) {
        if (count == kMaxDeltaBytes) return Read::Corrupted;
        frame.delta = (frame.delta << 7) | (in.u8() & 0x7F);
        ++count;
    }
    if (!in.has(1)) return Read::Corrupted;
    frame.kindByte = in.u8();
    if (frame.kindByte & kTrackChangeBit) {
        if (!in.has(1)) return Read::Corrupted;
        frame.trackChange = true;
        frame.trackStep = in.u8() & 0x7F;
        frame.kindByte &= uint8_t(~kTrackChangeBit);
    }

    const uint8_t kind = frame.kind();
    size_t size = 0;
    if (frame.kindByte & kUnknownFormBit) {
        size = 3;
        if (!in.has(size) || !(in.here()[2] & kLastByteBit)) return Read::Corrupted;
    } else if (kind == PropKind::Meta || kind == PropKind::SysEx) {
        if (!in.has(3)) return Read::Corrupted;
        size = 3 + (size_t(in.here()[1] & 0x7F) << 7 | (in.here()[2] & 0x7F));
    } else if (kind == PropKind::Continue || kind == PropKind::EndOfStream) {
        size = 0;
    } else if ((size = fixedPayload(kind)) == 0) {
        // Kinds 11 and 15-29: up to the first byte with bit 7 set.
        while (size < in.remaining() && !(in.here()[size] & kLastByteBit)) ++size;
        if (size == in.remaining()) return Read::Corrupted;
        ++size;
    }
    if (!in.has(size)) return Read::Corrupted;
    frame.payload = in.bytes(size);
    return Read::Frame;
}

bool PropFrame::IsUnknown() const
{
    const uint8_t k = kind();
    return (kindByte & kUnknownFormBit) || k == 11 || (k > PropKind::VexSound && k < PropKind::Continue);
}

bool PropFrame::EndsStream() const
{
    if (kindByte == PropKind::EndOfStream) return true;
    if (kindByte != PropKind::Meta) return false;
    const uint8_t type = payload[0];
    return type == PropMeta::EndOfTrack || (type == PropMeta::Control && payload.size() > 3 && payload[3] == 1);
}

size_t PropFrame::DeltaForm(uint32_t delta, uint8_t (&bytes)[4])
{
    size_t count = 0;
    for (int shift = 21; shift > 0; shift -= 7) {
        if (delta >= (1u << shift)) bytes[count++] = uint8_t(0x80 | ((delta >> shift) & 0x7F));
    }
    if (delta) bytes[count++] = uint8_t(0x80 | (delta & 0x7F));
    return count;
}

} // namespace zib::ulvarf
