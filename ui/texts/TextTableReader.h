#pragma once

#include "ui/texts/ZibLanguage.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zib::texts {

// Reader of the UTF-8 text tables in data/lang/ that the build compiles into
// the program: messages.tsv (number, English, Italian, German) and ui.tsv
// (English, Italian, German).
//
//   - one row per line, columns separated by a single tab; "\r\n" line ends are fine;
//   - lines starting with '#' are comments and empty lines are skipped;
//   - the first other line is the header and must name the columns exactly;
//   - inside a column "\t" is a tab, "\n" a line break and "\\" a backslash;
//   - every column is non-empty and kept exactly as written, spaces included.
// Every fault is reported with its line, and the table is then unusable: a row
// is never dropped or patched silently.

// English, Italian, German.
using TextColumns = std::array<std::string, kLanguageCount>;

// One row of messages.tsv.
struct MessageRow {
    int number = 0;
    TextColumns texts;
    int line = 0;
};

// One row of ui.tsv; the English text is the key.
struct UiTextRow {
    TextColumns texts;
    int line = 0;
};

// The rows of a table and every fault found, each as "<file>:<line>: error: <what>".
template <class Row> struct TextTableRead {
    std::vector<Row> rows;
    std::vector<std::string> errors;

    bool ok() const { return errors.empty(); }
};

// Header lines the two tables must start with.
inline constexpr std::string_view kMessageTableHeader = "number\tEnglish\tItalian\tGerman";
inline constexpr std::string_view kUiTextTableHeader = "English\tItalian\tGerman";

// Parsing; `fileName` only labels the error reports.
TextTableRead<MessageRow> readMessageTable(std::string_view content, std::string_view fileName);
TextTableRead<UiTextRow> readUiTextTable(std::string_view content, std::string_view fileName);

} // namespace zib::texts
