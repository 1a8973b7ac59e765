#pragma once

#include "devices/core/ChordPattern.h"

#include <array>
#include <cstdint>

namespace zib {

// The chord pattern table of the chord recognition, compiled from
// data/chords/chord-patterns.tsv: rows grouped by chord type in the order
// Major (rows 0-39), Maj6, Maj7, Sus4, Sus2, 7, 7sus4, 7b5, Maj7b5, Maj7sus4,
// min, min6, min7, minMaj7, dim, dimMaj7, min7b5, aug, aug7, augMaj7.
extern const std::array<ChordPattern, kChordPatternCount> kChordPatternData;

// The row whose mask equals `mask` (the first such row; masks are unique), or
// null when no row names that set of pitch classes.
const ChordPattern* FindChordPattern(uint16_t mask);

// Rotates a 12-bit pitch-class mask so that pitch class `count` becomes bit 0:
// `count` times, shift right by one and move bit 0 to bit 11. A count below 0
// or above 12 leaves the mask unchanged. Bits above 11 are dropped.
uint16_t RotatePitchClassMask(uint16_t mask, int count);

} // namespace zib
