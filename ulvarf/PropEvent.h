#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zib {
class ByteCursor;
}

namespace zib::ulvarf {

class CEventsHeap;
struct EventCell;

// Event kinds of the property event stream: the low 5 bits of a kind byte.
namespace PropKind {
inline constexpr uint8_t NoteOff = 0;
inline constexpr uint8_t NoteOn = 1;
inline constexpr uint8_t PolyPressure = 2;
inline constexpr uint8_t ControlChange = 3;
inline constexpr uint8_t ProgramChange = 4;
inline constexpr uint8_t ChannelPressure = 5;
inline constexpr uint8_t PitchBend = 6;
inline constexpr uint8_t Note = 7; // note with duration
inline constexpr uint8_t ChannelMode = 8; // control change 120-127
inline constexpr uint8_t Meta = 9;
inline constexpr uint8_t SysEx = 10;
inline constexpr uint8_t VexSoundOff = 12;
inline constexpr uint8_t VexSoundOn = 13;
inline constexpr uint8_t VexSound = 14; // VexSound with duration
inline constexpr uint8_t Continue = 30;
inline constexpr uint8_t EndOfStream = 31;
} // namespace PropKind

// Meta types the library gives a meaning to.
namespace PropMeta {
inline constexpr uint8_t EndOfTrack = 0x2F;
inline constexpr uint8_t Tempo = 0x51;
inline constexpr uint8_t TimeSignature = 0x58;
inline constexpr uint8_t Control = 0x7E;           // the library's control events
inline constexpr uint8_t SequencerSpecific = 0x7F;
} // namespace PropMeta

// What an event is, for grouping: events of one tick and one class travel together.
enum class PropClass : uint8_t { Channel, Meta, SysEx };

// One event of a property event stream as a plain value, at its absolute
// tick. Which fields count depends on the kind:
//   channel kinds 0-6, 8, 12, 13   track, data1, data2 (one-byte kinds 4, 5: data1 only;
//                                  pitch bend: data1 LSB, data2 MSB)
//   7, 14 (with duration)          track, data1 key, data2 velocity, duration, offVelocity
//   9 meta                         metaType, data
//   10 system exclusive            track, data (F0 / F7 put back as the message had them)
// Channel data are 7-bit values.
struct PropEvent {
    static constexpr uint32_t kMaxDataLength = 16383;       // meta data, stored sysex data
    static constexpr uint32_t kMaxDurationCode = 0x3FFF;
    static constexpr uint32_t kMaxDuration = 0x1FFF * 16;   // 131056 ticks
    static constexpr uint8_t kDefaultOffVelocity = 64;

    uint32_t tick = 0;
    uint8_t kind = 0;
    uint8_t track = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    uint8_t offVelocity = 0;
    uint32_t duration = 0;
    uint8_t metaType = 0;
    std::vector<uint8_t> data;

    // Making events
    static PropEvent Channel(uint32_t tick, uint8_t kind, uint8_t track, uint8_t data1, uint8_t data2 = 0);
    // A note (kind 7) or, with vexSound, a VexSound (kind 14) with its duration.
    static PropEvent NoteWithDuration(uint32_t tick, uint8_t track, uint8_t key, uint8_t velocity,
                                      uint32_t duration, uint8_t offVelocity, bool vexSound = false);
    static PropEvent MetaEvent(uint32_t tick, uint8_t type, std::vector<uint8_t> data);
    static PropEvent EndOfTrack(uint32_t tick);
    static PropEvent Control(uint32_t tick, std::vector<uint8_t> data); // meta 0x7E
    static PropEvent SysExEvent(uint32_t tick, uint8_t track, std::vector<uint8_t> bytes);
    // What an unknown kind decodes to: meta 0x7E with one data byte 0.
    static PropEvent Null(uint32_t tick);

    // Questions
    PropClass Class() const;
    bool IsChannel() const { return Class() == PropClass::Channel; }
    bool IsMeta(uint8_t type) const { return kind == PropKind::Meta && metaType == type; }
    bool IsEndOfTrack() const { return IsMeta(PropMeta::EndOfTrack); }
    bool operator==(const PropEvent&) const = default;

    // Duration codes of kinds 7 and 14: below 8192 ticks as they are, up to
    // 131056 as 0x2000 + ticks / 16, longer as 0x3FFF.
    static uint16_t DurationCode(uint32_t ticks);
    static uint32_t DurationTicks(uint16_t code);

    // The 8-byte pooled form (the tick is not part of it). Data of more than 4
    // bytes goes to an event-heap block; false, and the cell untouched, when
    // the data cannot be stored (too long, or no memory).
    bool ToCell(EventCell& cell, CEventsHeap& heap) const;
    static PropEvent FromCell(const EventCell& cell, uint32_t tick);
};

// How one event lies in a property event stream, before its payload is
// given a meaning. The decoder (CDecProp) and the event list (CPropEventList)
// both read streams through it, so they always see the same events.
//
//   delta    nothing for 0, else 1-4 bytes of 7 bits, most significant first,
//            every one with bit 7 set
//   kind     bit 7 clear; 0x40: a track-change byte (new track - current
//            track) & 0x7F follows; the kind in the low 5 bits
//   payload  kinds 4, 5: 1 byte; kinds 0-3, 6, 8, 12, 13: 2; kinds 7, 14: 5
//            (the last byte of these carries bit 7, which readers mask off);
//            kinds 9 (meta) and 10 (sysex): type or mode, length high 7
//            bits, low 7 bits, then the data; kinds 30 and 31: nothing
// Bytes no event has are skipped by one rule: a kind byte with 0x20 set has
// 3 payload bytes, the third with bit 7 set; kinds 11 and 15-29 run up to and
// including their first byte with bit 7 set.
struct PropFrame {
    static constexpr uint32_t kMaxDelta = (1u << 28) - 1;

    uint32_t delta = 0;
    uint8_t kindByte = 0;     // without the track-change bit
    bool trackChange = false;
    uint8_t trackStep = 0;    // (new track - current track) & 0x7F
    std::span<const uint8_t> payload;

    enum class Read : uint8_t {
        Frame,     // a whole frame was read
        NoMore,    // the stream's bytes ended before a frame began
        Corrupted, // bytes that do not form an event
    };

    // Reading
    // The next frame from the cursor; a fifth delta byte, or a frame that
    // runs past the bytes, is corrupted.
    static Read Next(zib::ByteCursor& in, PropFrame& frame);
    uint8_t kind() const { return kindByte & 0x1F; }
    // A form no event has: a kind byte with 0x20 set, kinds 11 and 15-29.
    bool IsUnknown() const;
    // A meta 0x2F, a control event (meta 0x7E) whose first data byte is 1,
    // or kind 31: the stream ends there.
    bool EndsStream() const;

    // Writing
    // The bytes of a delta of at most kMaxDelta (none for 0); their count.
    static size_t DeltaForm(uint32_t delta, uint8_t (&bytes)[4]);
};

} // namespace zib::ulvarf
