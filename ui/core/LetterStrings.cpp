#include "ui/core/LetterStrings.h"

namespace zib {

namespace {

constexpr std::string_view kKeyChord = "ABAAAAABAAAAABAAAAABAAAAABABABABABAB";
constexpr std::string_view kChordTable =
    "ACCCAACBCCCCCCCBCACCACCCAACBCCCCCCCBCACCACCCAACBCCCCCCCBCACCACCCAACBCCCCCCCBCACCAAAAAAABAAAAAAABAAAA"
    "AAAAAAABAAAAAAABAAAAAAAAAAABAAAAAAABAAAAAAAAAAABAAAAAAABAAAAAAAAAAABAAAAAAABAAAAAAAAAAABAAAAAAABAAAA";
constexpr std::string_view kQeKeyChord =
    "AAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAHAAAHAAAHAAAHAAAHAAAHAAAH";
constexpr std::string_view kQeChordTable =
    "ACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCCAAAAAAABAAAA"
    "AAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAA"
    "AAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAA";
constexpr std::string_view kPsrStyToQeSty = "ABCDABADAB";

static_assert(kKeyChord.size() == 36 && kChordTable.size() == 200 && kQeKeyChord.size() == 80 &&
              kQeChordTable.size() == 264 && kPsrStyToQeSty.size() == 10);

// A chord-table entry names a CV of its element: VAR1-VAR4 have six, every other element two.
int chordTableMax(size_t index, size_t typesPerElement)
{
    return index / typesPerElement <= 3 ? 5 : 1;
}

} // namespace

std::string_view DefaultLetters(LetterTable table)
{
    switch (table) {
    case LetterTable::KeyChord:
        return kKeyChord;
    case LetterTable::ChordTable:
        return kChordTable;
    case LetterTable::QeKeyChord:
        return kQeKeyChord;
    case LetterTable::QeChordTable:
        return kQeChordTable;
    case LetterTable::PsrStyToQeSty:
        return kPsrStyToQeSty;
    }
    return {};
}

size_t LetterCount(LetterTable table)
{
    return DefaultLetters(table).size();
}

int MaxLetterValue(LetterTable table, size_t index)
{
    switch (table) {
    case LetterTable::KeyChord:
        return 23;
    case LetterTable::ChordTable:
        return chordTableMax(index, 20);
    case LetterTable::QeKeyChord:
        return index % 2 == 0 ? 11 : 21;
    case LetterTable::QeChordTable:
        return chordTableMax(index, 22);
    case LetterTable::PsrStyToQeSty:
        if (index < 4) return 3;                   // main sections A-D
        return (index == 6 || index == 7) ? 5 : 2; // fills AA-DD, intros and endings A-C
    }
    return 0;
}

bool LettersValid(LetterTable table, std::string_view text)
{
    const size_t n = LetterCount(table);
    if (text.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        int v = int(static_cast<unsigned char>(text[i])) - 'A';
        if (v < 0 || v > MaxLetterValue(table, i)) return false;
    }
    return true;
}

std::vector<uint8_t> LettersToTable(LetterTable table, std::string_view text)
{
    const std::string_view fallback = DefaultLetters(table);
    std::vector<uint8_t> bytes(fallback.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t((i < text.size() ? text[i] : fallback[i]) - 'A');
    return bytes;
}

std::string TableToLetters(std::span<const uint8_t> bytes)
{
    std::string text(bytes.size(), 'A');
    for (size_t i = 0; i < bytes.size(); ++i)
        text[i] = char(bytes[i] + 'A');
    return text;
}

} // namespace zib
