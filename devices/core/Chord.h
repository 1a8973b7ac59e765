#pragma once

#include "zibtbl/TensionTables.h"

namespace zib {

// A chord as the style playback console holds it: root pitch class 0-11
// (0 = C), chord type 0-21 (0 "Major" .. 21 "No3rdNo5th") and tension set
// 0-23 (0 none .. 23 "#11+13"), numbered like the style data and the tension
// tables of ZibTbl.
struct Chord {
    int root = 0;
    int type = 0;
    int tension = 0;

    friend bool operator==(const Chord&, const Chord&) = default;
};

// Chord types the recogniser names itself
inline constexpr int kChordTypeMajor = 0;
inline constexpr int kChordTypeNo3rd = 20;
inline constexpr int kChordTypeNo3rdNo5th = 21;

inline constexpr int kChordTypeCount = tbl::kChordTypeCount;
inline constexpr int kTensionSetCount = tbl::kChordTensionCount;

} // namespace zib
