#pragma once

// ZibTbl: the chord tension tables of the style playback console.
//
// Both lookups return the entry for one note of a style track that was
// recorded over one chord and now plays over the chord the player holds:
// a value below 20 is a semitone offset added to the note after its root
// move, a value of 20 or more a packed pair of two notes (zibtbl/TensionPair.h).
// Out-of-range selectors and indexes give 0, which leaves the note where the
// root move put it. The tables are constant; both functions are reentrant.
//
// The library exports exactly these two functions, by their C++ names, in this
// order (zibtbl/ZibTbl.map).

#include <cstdint>

// Qe-series: table by nttMode (0 "Transpose Root", 1 "Transpose 5th",
// 2 "wq-series compatibility"; anything else gives 0) and by tensionFlag zero
// or not; sourceChordType and chordType 0-21, chordTension 0-23, interval 0-11.
[[gnu::visibility("default")]] std::int32_t GetQeTension(std::uint8_t tensionFlag, std::uint8_t nttMode,
                                                         std::int32_t sourceChordType, std::uint8_t chordType,
                                                         std::int32_t chordTension, std::int32_t interval);

// Wq-series: tensionFlag exactly 0 or 1, sourceKind exactly 0 (recorded over a
// major chord) or 1 (over a minor one); chordType 0-21, chordTension 0-23,
// interval 0-11.
[[gnu::visibility("default")]] std::int32_t
GetWqSeriesTension(std::uint8_t tensionFlag, std::int32_t sourceKind, std::uint8_t chordType,
                   std::int32_t chordTension, std::int32_t interval);
