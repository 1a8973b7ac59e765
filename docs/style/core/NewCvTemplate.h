#pragma once

#include <cstdint>
#include <vector>

namespace zib {

// The track of a new, one-bar chord variation: a time signature, then per
// MIDI channel 9-16 (zero-based 8-15) expression 100, bank select (MSB 121,
// 120, 120, 121, 121, 121, 121, 121; LSB 3, 0, 0, 3, 7, 6, 3, 3), program 33,
// 4, 65, 0, 25, 89, 48, 5 and a note on key 48 with velocity 1-8 followed by
// its velocity-0 note on, all at delta 0 (running status for the two bank
// controllers only), and the end of track one bar later
// (numerator x 1536 / denominator ticks). Empty when the bar length needs
// more than four variable-length bytes.
std::vector<uint8_t> NewCvTemplate(uint8_t numerator, uint8_t denominatorExponent);

// The template as a format-0 Standard MIDI File of one track at 384 ticks per
// quarter note; empty when the writer refuses it.
std::vector<uint8_t> NewCvMidiFile(uint8_t numerator, uint8_t denominatorExponent);

} // namespace zib
