#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The factory sound tables of the Qe series: per sound set (0 Qe4k, 1 Qe9z)
// the melodic sounds (bank MSB 121) and the drum kits (bank MSB 120), each
// row bank MSB, bank LSB, program and name. Read from the data file
// "docs-style/qe-sounds.tsv": lines "table msb lsb program name" separated by
// tabs, tables qe4k-melodic (663 rows), qe4k-drums (128), qe9z-melodic (828),
// qe9z-drums (128); '#' starts a comment line.
class CQeSoundTables {
public:
    static constexpr const char* kFileName = "docs-style/qe-sounds.tsv";
    static constexpr std::array<size_t, 4> kRowCounts{663, 128, 828, 128};

    struct Row {
        uint8_t msb = 0;
        uint8_t lsb = 0;
        uint8_t program = 0;
        std::string name;
    };
    enum class Table { Qe4kMelodic, Qe4kDrums, Qe9zMelodic, Qe9zDrums };

    // Loading; lines that cannot be used, and tables whose row count is not
    // the expected one, are reported in Problems().
    void LoadText(std::string_view text);
    static CQeSoundTables LoadFile(const std::filesystem::path& path);
    // The tables of the program's data folder, loaded on first use.
    static const CQeSoundTables& BuiltIn();

    // Lookup
    const std::vector<Row>& Rows(Table table) const { return tables_[size_t(table)]; }
    // The row of exactly that address in the set's melodic (MSB 121) or drum
    // (MSB 120) table; null when there is none or the set is not 0 or 1.
    const Row* Find(int soundSet, uint8_t msb, uint8_t lsb, uint8_t program) const;

    const std::vector<std::string>& Problems() const { return problems_; }

private:
    std::array<std::vector<Row>, 4> tables_;
    std::vector<std::string> problems_;
};

} // namespace zib
