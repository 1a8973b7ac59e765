#pragma once

#include <cstdint>
#include <span>

namespace zib {

// The 34 chord types of a Yamaha style's Ctab and how each becomes a Qe
// chord type: the Qe type that equals it (none for the chords with a
// tension), the nearest Qe type, and the tension that the nearest type
// lacks.
enum class PsrTension : uint8_t { None, Sharp11, Nine, Eleven, Thirteen, Flat9, Flat13, Sharp9 };

struct PsrChordType {
    const char* name; // "Maj", "Maj6" ...
    int exactQe;      // Qe chord type 0-21, or kNoQeChordType
    int nearestQe;    // Qe chord type 0-21
    PsrTension tension;
};

inline constexpr int kPsrChordTypeCount = 34;
inline constexpr int kNoQeChordType = 23;

// The table in PSR type order.
std::span<const PsrChordType> PsrChordTypes();
// One row; nullptr outside 0-33.
const PsrChordType* FindPsrChordType(int type);
// Semitones from the chord root to the tension note: #11 6, 9 2, 11 5,
// 13 9, b9 1, b13 8, #9 3; -1 for none.
int PsrTensionInterval(PsrTension tension);

} // namespace zib
