#pragma once

#include <cstddef>
#include <cstdint>

namespace zib {

// MIDI variable-length numbers: 7 bits per byte, most significant group
// first, bit 7 set on every byte but the last; 1 to 4 bytes, so values stay
// below 2^28.
inline constexpr uint32_t kMidiVarLenLimit = 0x10000000;

// Writes `value` into the caller's 4-byte area and returns the byte count
// (1 to 4); returns 0 and writes nothing for a value of 2^28 or more.
int WriteMidiVarLen(uint32_t value, uint8_t* bytes);

// Byte count that WriteMidiVarLen gives for `value` (0 when it cannot be encoded).
int MidiVarLenSize(uint32_t value);

// Reads a variable-length number of at most 4 bytes (and at most `available`
// bytes), stopping after the first byte below 0x80. Stores the bytes used in
// `count` and returns the value. A number that runs past `available` bytes,
// or a fourth byte with bit 7 set, gives count 0 and value 0.
uint32_t ReadMidiVarLen(const uint8_t* bytes, size_t available, uint32_t& count);

} // namespace zib
