#pragma once

#include <cstddef>
#include <cstdint>

namespace zib {

// A buffer of timed stream events handed to a MIDI stream (the system's
// 64-byte MIDI header). The caller owns the bytes; the stream reads them
// between Out() and the buffer's done callback and writes only `flags` and
// `offset`.
//
// Stream event layout, little-endian 32-bit words:
//   delta ticks | stream id (0) | event word [| long data, padded to 4]
// Event word: high byte = type and flags, low 24 bits = parameter.
struct MidiHeader {
    const uint8_t* data = nullptr; // the buffer (the stream only reads it)
    uint32_t bufferLength = 0;  // its size in bytes
    uint32_t bytesRecorded = 0; // bytes of events written into it
    uintptr_t user = 0;         // the owner's value (the buffer's index)
    uint32_t flags = 0;         // kHeader* below
    uint32_t offset = 0;        // offset of the event of the last position callback

    // Header flags
    static constexpr uint32_t kDone = 0x01;
    static constexpr uint32_t kPrepared = 0x02;
    static constexpr uint32_t kInQueue = 0x04;
    static constexpr uint32_t kIsStream = 0x08;
};

// Event words and their parts.
namespace mevt {
inline constexpr uint32_t kShortMsg = 0x00000000; // | status | data1 << 8 | data2 << 16
inline constexpr uint32_t kTempo = 0x01000000;    // | microseconds per quarter note
inline constexpr uint32_t kNop = 0x02000000;      // | any 24-bit parameter
inline constexpr uint32_t kLongMsg = 0x80000000;  // | byte count; the bytes follow
inline constexpr uint32_t kCallback = 0x40000000; // flag: raise a position callback
inline constexpr size_t kEventSize = 12;          // delta, stream id, event word

inline uint8_t Type(uint32_t word) { return uint8_t((word >> 24) & 0xBF); }
inline uint32_t Parameter(uint32_t word) { return word & 0x00FFFFFF; }
inline bool IsLong(uint32_t word) { return (word & kLongMsg) != 0; }
inline bool HasCallback(uint32_t word) { return (word & kCallback) != 0; }
// Bytes that a long event's data takes in the buffer (rounded up to 4)
inline size_t PaddedLength(uint32_t n) { return (size_t(n) + 3) & ~size_t(3); }
} // namespace mevt

// Bytes of a short MIDI message by its status byte (0 for a data byte or a
// system exclusive start, which are not short messages).
inline size_t ShortMessageLength(uint8_t status)
{
    if (status < 0x80) return 0;
    if (status < 0xF0) return (status & 0xE0) == 0xC0 ? 2 : 3; // 0xC0-0xDF take one data byte
    switch (status) {
    case 0xF1:
    case 0xF3: return 2;
    case 0xF2: return 3;
    case 0xF0:
    case 0xF7: return 0;
    default: return 1;
    }
}

} // namespace zib
