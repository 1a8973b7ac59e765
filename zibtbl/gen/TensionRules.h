#pragma once

#include <array>
#include <cstdint>

namespace zib::tbl {

// Which voice of a triad-recorded track becomes the added tone (6th or 7th)
// of a four-note chord: the Qe-series NTT choices "Transpose Root" and
// "Transpose 5th".
enum class NttMode { TransposeRoot, TransposeFifth };

// The music rules the tension tables are made of.
//
// A style track is recorded over one chord (the source); the console plays it
// over the chord the player holds (the target). Every note keeps its role:
// root, third and fifth move to the target's root, third and fifth; a
// recorded 6th or 7th moves to the target's added tone, or onto the root when
// the target is a triad; the other scale degrees (2nd, 4th, 6th, 7th) move to
// the target's scale; notes outside the source's scale stay. When the target
// has an added tone that the source lacks, the voice chosen by the NTT mode
// takes it.
//
// With the tension switch on, the tension tones of the held set go to the
// free voices: a recorded added tone with no place in the target first, then
// the root (or the fifth under "Transpose 5th"), then the other of the two.
// One free voice takes up to two tension tones as a packed pair; when no
// voice is free, the voice that took the added tone sounds it and the first
// tension tone above it. The scale degrees follow the held tensions (the 4th
// becomes #11 under #11, and so on).
class TensionRules {
public:
    // The entries of intervals 0-11 for one (source, target, tension set):
    // plain offsets, and packed pairs only when `tensions` is set.
    using Row = std::array<std::int32_t, 12>;
    static Row row(int sourceChordType, int chordType, int chordTension, NttMode mode, bool tensions);

    // The chord a Wq-series track is recorded over: Maj7 for sourceKind 0, min7 for 1.
    static int wqSourceChordType(int sourceKind);

    // "wq-series compatibility": a Qe source chord taken as a Wq source kind,
    // 1 when its third is minor.
    static int wqSourceKind(int sourceChordType);
};

} // namespace zib::tbl
