#pragma once

#include <cstdint>
#include <vector>

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
    // A meta 0x2F, or a control event whose first data byte is 1: decoding stops there.
    bool EndsDecoding() const;
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

} // namespace zib::ulvarf
