#pragma once

#include <cstdint>
#include <vector>

namespace zib::test {

// The velocities of the note-ons (velocity above 0) of a MIDI file image, in
// the reader's order, of one channel (0-15) or of all (-1); none when the
// image does not read.
std::vector<int> noteOnVelocities(const std::vector<uint8_t>& smf, int channel = -1);

} // namespace zib::test
