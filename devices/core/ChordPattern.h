#pragma once

#include <cstddef>
#include <cstdint>

namespace zib {

// One row of the chord pattern table: the held pitch classes relative to a
// root (bit 0 = the root, bit n = n semitones above it) and the chord they
// name. Masks are unique within the table.
struct ChordPattern {
    uint16_t mask = 0;
    int32_t chordType = 0; // 0-19
    int32_t tension = 0;   // 0-23

    friend bool operator==(const ChordPattern&, const ChordPattern&) = default;
};

inline constexpr std::size_t kChordPatternCount = 269;

} // namespace zib
