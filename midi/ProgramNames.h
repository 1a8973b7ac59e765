#pragma once

// Program numbers of the Wq-series keyboards: position texts ("A11", "Dr1",
// "U11"), their parser, the names of programs, drum kits and multisamples,
// and the mapping of program numbers between models.
//
// A program number is 16 bits: the low byte is the program index (0-127),
// the high bits select the bank; numbers below 256 are the general programs.
// The bank bits are read under the model's mask: 0x340 for models 57, 60 and
// 72, 0x740 for 73 and 77. Model codes are the model letters as numbers:
// 57 Wq8, 60 Wq6Q/Wq6M, 72 WqT517, 73 Wq41, 77 WqR65 family.
//
// Names come from the built-in name tables unless other tables are given.

#include "midi/NameTableLoader.h"
#include "midi/NameTables.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zib {

// What the program-name texts read of a style document.
struct StyleDocumentNames {
    int model = ' ';               // model code of the document
    int fileKind = 0;              // 2 for a .STY file, whose user programs show as "U%1d%1d"
    bool userNamesPresent = false; // the user program names were read beside the file
    std::span<const std::array<char, 17>> userProgramNames; // 16 characters and a NUL each
};

// Position text of a program number: bank letter and the digits
// (index >> 3) + 1 and (index & 7) + 1, then a blank ("A11 "); drum kits
// "Dr" (model 73: "R") and the kit digits (model 57 one digit, "Dr1 ").
// A bank without a letter shows '?'; a family-A kit past the model's kits
// and a model that is not a Wq model give "???".
std::string GetProgramPositionText(int model, uint16_t number);

// Program number of a position text such as "A11", "U11", "Dr1": bank << 8 |
// index. -1 when a digit the text needs is missing or outside 1-8.
int ParseProgramPosition(std::string_view text, int model);

// Program (multisample) name by number for the model; "???" past the
// model's names, "????" for a model without tables.
std::string GetProgramName(int model, int number, const NameTables& tables = builtInNameTables());

// Drum-kit entry by kit number ("Dr11  GM Kit"); "???" past the model's kits,
// "????" for a model without tables.
std::string GetDrumKitName(int model, int number, const NameTables& tables = builtInNameTables());

// List text of a program in a style document: the built-in entry of the bank
// ("A11  Piano"), or for a user program the position code alone or, when the
// document read its user names, "%s  %s" of the code and the name; at most
// 28 characters. "???" when there is no such entry.
std::string GetItemProgramName(const StyleDocumentNames& document, uint16_t number,
                               const NameTables& tables = builtInNameTables());

// Display name of a banked program number for models 57 and 77 (the built-in
// entry, or the code of a user program); "???" for other models.
std::string GetBankedProgramName(int model, uint16_t number, const NameTables& tables = builtInNameTables());

// "U%1d%1d" of index / 8 + 1 and index mod 8 + 1 for a .STY document;
// "???" for any other document or a negative index.
std::string GetUserBankPositionText(const StyleDocumentNames& document, int index);

// The number for another model: numbers below 256 and source models outside
// 57-77 stay; from model 57 an index 64-127 becomes bank 3 with index - 64;
// otherwise the pair's mapping table decides (73 -> 57 and 77 -> 57 read the
// tables 57 -> 73 and 57 -> 77 backwards). 73 -> 77 maps only indexes 64 and
// above; 77 -> 73 leaves indexes 64-127. A number the table lacks, or a pair
// without a table, stays.
uint16_t MapProgramNumber(int fromModel, int toModel, uint16_t number,
                          const NameTables& tables = builtInNameTables());

} // namespace zib
