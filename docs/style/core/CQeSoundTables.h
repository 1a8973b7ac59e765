#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zib {

// The factory sound tables of the Qe series: per sound set (0 Qe4k, 1 Qe9z)
// the melodic sounds (bank MSB 121) and the drum kits (bank MSB 120), each
// row bank MSB, bank LSB, program and name. Read from four data files in
// "styles/" (qe4k-sounds.tsv 663 rows, qe4k-drumkits.tsv 128, qe9z-sounds.tsv
// 828, qe9z-drumkits.tsv 128): lines "msb lsb program name" separated by
// tabs; '#' starts a comment line. Each table has a hash index by address.
class CQeSoundTables {
public:
    enum class Table { Qe4kMelodic, Qe4kDrums, Qe9zMelodic, Qe9zDrums };
    static constexpr std::array<const char*, 4> kFileNames{"styles/qe4k-sounds.tsv", "styles/qe4k-drumkits.tsv",
                                                           "styles/qe9z-sounds.tsv", "styles/qe9z-drumkits.tsv"};
    static constexpr std::array<size_t, 4> kRowCounts{663, 128, 828, 128};

    struct Row {
        uint8_t msb = 0;
        uint8_t lsb = 0;
        uint8_t program = 0;
        std::string name;
    };

    // Loading; lines that cannot be used, repeated addresses and tables whose
    // row count is not the expected one are reported in Problems().
    void LoadText(Table table, std::string_view text);
    static CQeSoundTables LoadFiles(const std::filesystem::path& dataFolder);
    // The tables of the program's data folder, loaded on first use.
    static const CQeSoundTables& BuiltIn();

    // Lookup
    const std::vector<Row>& Rows(Table table) const { return tables_[size_t(table)]; }
    // The row of exactly that address in the set's melodic (MSB 121) or drum
    // (MSB 120) table; null when there is none or the set is not 0 or 1.
    const Row* Find(int soundSet, uint8_t msb, uint8_t lsb, uint8_t program) const;
    // The same by walking the rows (the index's reference).
    const Row* FindLinear(int soundSet, uint8_t msb, uint8_t lsb, uint8_t program) const;

    const std::vector<std::string>& Problems() const { return problems_; }

private:
    static uint32_t Key(uint8_t msb, uint8_t lsb, uint8_t program) { return uint32_t(msb) << 16 | lsb << 8 | program; }
    static bool TableOf(int soundSet, uint8_t msb, Table& table);

    std::array<std::vector<Row>, 4> tables_;
    std::array<std::unordered_map<uint32_t, size_t>, 4> index_;
    std::vector<std::string> problems_;
};

} // namespace zib
