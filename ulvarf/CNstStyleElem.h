#pragma once

#include "ulvarf/CNstChordVar.h"

#include <array>
#include <cstdint>
#include <memory>

namespace zib::ulvarf {

// The settings of one style track in one element (6 bytes in the resource).
struct CNstTrackRecord {
    uint8_t expression = 100;
    uint8_t bankMsb = 0;
    uint8_t bankLsb = 0;
    uint8_t program = 0;
    uint8_t rangeLow = 21;  // keyboard range
    uint8_t rangeHigh = 108;
};

// One style element (VAR1-VAR4, INT1, INT2, FILL1, FILL2, END1, END2, FILL3,
// INT3): track records, signature, NTT, chord assign and up to 6 chord
// variations (null = absent).
struct CNstStyleElem {
    static constexpr int kTracks = 8;
    static constexpr int kChordVars = 6;
    static constexpr int kChordTypes = 22;

    // Fields
    std::array<CNstTrackRecord, kTracks> tracks;
    uint8_t numerator = 4;
    uint8_t log2Denominator = 2;
    uint8_t ntt = 0;
    std::array<uint8_t, kChordTypes> chordAssign{}; // chord type -> the CV that plays it
    uint8_t newCvBars = 1;                          // bars of a CV made for this element
    std::array<std::unique_ptr<CNstChordVar>, kChordVars> cvs;

    // State
    // True when every present CV is empty (also with no CV).
    bool HoldsNoData() const;
    // The first present CV, or -1.
    int FirstPresentCv() const;
    // Every chord-assign byte that names a missing CV is set to the first
    // present CV (0 when none).
    void RepairChordAssign();
};

} // namespace zib::ulvarf
