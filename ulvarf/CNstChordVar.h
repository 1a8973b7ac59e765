#pragma once

#include "ulvarf/CNstPattern.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zib::ulvarf {

// One chord variation of a style element: its signature and length, the
// patterns of the 8 style tracks and its own control-event stream (tempo
// changes, data 2 and a percentage of the style tempo).
struct CNstChordVar {
    static constexpr int kTracks = 8;

    // Fields
    uint8_t numerator = 4;
    uint8_t log2Denominator = 2;
    uint8_t bars = 1;
    uint32_t length = 384; // in ticks
    std::array<CNstPattern, kTracks> patterns;
    std::vector<uint8_t> stream; // own control events; empty when it has none

    // State
    // True when all 8 patterns are empty.
    bool IsEmpty() const;

    // Pattern bars
    // A pattern's bars must divide the CV's bars d. Asked for v: v at or above
    // d gives d; v below `current` moves down from v to the nearest divisor
    // of d; otherwise it moves up from v to the nearest divisor. v below 1
    // counts as 1 and a d of 0 as 1.
    static uint8_t FitPatternBars(int v, int current, int d);
    // Applies FitPatternBars to pattern t with this CV's bars.
    void SetPatternBars(int t, int v);
};

} // namespace zib::ulvarf
