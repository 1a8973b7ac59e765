#pragma once

#include "devices/core/ChordPattern.h"

#include <string>
#include <string_view>
#include <vector>

namespace zib {

// Reader of data/chords/chord-patterns.tsv, which the build compiles into the
// program, and the writer of the C++ source it becomes.
//
//   - one row per line, three columns separated by a single tab: the
//     semitones above the root (ascending numbers 0-11 separated by blanks,
//     the first 0), the chord type by name ("Major" .. "augMaj7") and the
//     tension set ("none", "b9", "9", "#9", "11", "#11", "13", "b9+11" ..
//     "#11+13", the tones joined by '+');
//   - lines starting with '#' and empty lines are skipped; "\r\n" is fine;
//   - every set of semitones appears once, and the table holds exactly
//     kChordPatternCount rows.
// Every fault is reported with its line; a table with faults is unusable.

struct ChordPatternRead {
    std::vector<ChordPattern> rows;
    std::vector<std::string> errors; // "<file>:<line>: error: <what>"

    bool ok() const { return errors.empty(); }
};

// Parsing; `fileName` only labels the error reports
ChordPatternRead readChordPatternTable(std::string_view content, std::string_view fileName);

// The C++ source that defines kChordPatternData with these rows
std::string chordPatternTableSource(const std::vector<ChordPattern>& rows);

// The data file's name of a tension set ("none", "b9" .. "#11+13"); "" out of range
std::string_view GetTensionSetKey(int tension);

} // namespace zib
