#pragma once

// Built-in name tables of the Wq-series keyboards: program names per bank,
// drum kits, multisamples and styles per model, and the program-number
// mapping tables between models. The shape of every table (which models have
// which tables, how many rows, how wide) is fixed here; the names themselves
// come from data files (NameTableLoader). A row the files did not supply is
// simply absent, and lookups report it as not found.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zib {

// The tables of one model. Bank tables hold 64 entries each (index = program
// index within the bank); every entry begins with its own position code
// ("A11  Piano").
enum class NameTable {
    BankA,
    BankB,
    BankC,
    BankD,
    BankE,
    DrumKits,     // by kit number, entries begin with their code ("Dr11  GM Kit")
    Multisamples, // program (multisample) names by number
    StyleNames,   // built-in style names by style number
};

// One row of a program mapping table: a number of the source model and the
// number it becomes on the target model, each with its position text.
struct ProgramMapRow {
    uint16_t source = 0;
    std::string sourcePosition;
    uint16_t target = 0;
    std::string targetPosition;
};

class NameTables {
public:
    // Shape, fixed by the keyboards
    static bool isWqModel(int model);                // 57, 60, 72, 73, 77
    static int rowCount(int model, NameTable table); // 0 when the model has no such table
    static int maxWidth(int model, NameTable table); // characters of one entry
    // The directions stored as tables; 73 -> 57 and 77 -> 57 read the tables
    // 57 -> 73 and 57 -> 77 backwards and are not stored.
    static bool isStoredMapDirection(int from, int to);

    // Lookups
    std::optional<std::string_view> entry(int model, NameTable table, int row) const;
    // Rows of a stored direction in table order; empty when there are none.
    const std::vector<ProgramMapRow>& programMap(int from, int to) const;

    // Filling (used by the loader)
    // False when the row lies outside the table's shape or is already set.
    bool setEntry(int model, NameTable table, int row, std::string text);
    // False when the direction is not a stored one.
    bool appendMapRow(int from, int to, ProgramMapRow row);
    void addProblem(std::string text) { problems_.push_back(std::move(text)); }

    // What the loader could not read, one line each; empty when all is well.
    const std::vector<std::string>& problems() const { return problems_; }

private:
    std::map<std::pair<int, NameTable>, std::vector<std::string>> entries_; // "" = row absent
    std::map<std::pair<int, int>, std::vector<ProgramMapRow>> maps_;
    std::vector<std::string> problems_;
};

} // namespace zib
