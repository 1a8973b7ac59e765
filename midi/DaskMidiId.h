#pragma once

#include <cstdint>

namespace zib {

// The keyboard maker's one-byte MIDI manufacturer identifier: the first data
// byte of the maker's system-exclusive messages (VEX Noise notes among them).
inline constexpr uint8_t DaskMidiId = 0x42;

} // namespace zib
