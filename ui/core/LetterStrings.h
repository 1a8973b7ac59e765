#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// Settings kept as letter strings: one capital letter per table entry,
// entry value = letter - 'A'. The tables belong to the conversion settings;
// here are their defaults and the range each entry may take, so that a damaged
// setting never reaches a converter as an out-of-range index.
enum class LetterTable {
    KeyChord,      // 36 CV slots: key 0-23
    ChordTable,    // 10 elements x 20 chord types: CV 0-5 (VAR1-4), 0-1 (others)
    QeKeyChord,    // 40 CV slots x {key 0-11, chord type 0-21}
    QeChordTable,  // 12 elements x 22 chord types: CV 0-5 (VAR1-4), 0-1 (others)
    PsrStyToQeSty, // sections A-D, intro pair A-C, fill pair A-F, ending pair A-C
};

// The default text of the table (its length is the table's length).
std::string_view DefaultLetters(LetterTable table);
size_t LetterCount(LetterTable table);

// The largest value entry `index` of the table may hold (the smallest is 0).
int MaxLetterValue(LetterTable table, size_t index);

// True when the text has at least the table's length and each of the table's
// entries lies in its range (letters past the table's length are not looked at).
bool LettersValid(LetterTable table, std::string_view text);

// The table's bytes from a text (byte = letter - 'A', nothing checked); a
// text shorter than the table gives its missing bytes from the default.
std::vector<uint8_t> LettersToTable(LetterTable table, std::string_view text);
// The letters of a table (letter = byte + 'A').
std::string TableToLetters(std::span<const uint8_t> bytes);

} // namespace zib
