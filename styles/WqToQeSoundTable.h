#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The sounds that the Wq-to-Qe conversion puts in a Qe track table for the
// sound word of a Wq track: per model and bank kind (the word's high byte) a
// table indexed by sound number (its low byte). The table sizes are fixed:
//
//   kind   '9'   '<'   'H'   'I'   'M'
//   0      128   128   128   128   128
//   1      128   128   128   128   128
//   2      8     16    28    64    64     (drum kits on '9', '<', 'H')
//   3      -     128   128   128   64
//   4      -     -     -     40    16     (drum kits)
//
// A number beyond its table, a kind without a table or a kind above 4 gives
// 121, 0, 0; a kind-2 number beyond the kit table of '9', '<' or 'H' gives
// 120, 0, 0. The values come from a data file ("styles/wq-qe-sounds.tsv"):
// lines "model kind first last msb lsb program", the programs counting up
// over the range; '#' starts a comment line.
class WqToQeSoundTable {
public:
    using Sound = std::array<uint8_t, 3>; // bank MSB, bank LSB, program

    static constexpr Sound kUnknownSound{121, 0, 0};
    static constexpr Sound kUnknownKit{120, 0, 0};
    static constexpr const char* kFileName = "styles/wq-qe-sounds.tsv";

    WqToQeSoundTable(); // every entry unknown until loaded

    // Lookup
    Sound Lookup(uint32_t model, uint16_t soundWord) const;
    static int EntryCount(uint32_t model, int kind);

    // Loading; every line that cannot be used and every entry that no line
    // filled is reported in Problems() (the entry then reads as unknown).
    void LoadText(std::string_view text);
    void ReportMissingEntries();
    static WqToQeSoundTable LoadFile(const std::filesystem::path& path);
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    struct Entry {
        Sound sound = kUnknownSound;
        bool filled = false;
    };
    static int ModelIndex(uint32_t model); // -1 for an unknown letter
    void Problem(std::string text) { problems_.push_back(std::move(text)); }

    std::array<std::array<std::vector<Entry>, 5>, 5> tables_; // [model][kind]
    std::vector<std::string> problems_;
};

// The table of the program's data folder, loaded on first use.
const WqToQeSoundTable& builtInWqToQeSoundTable();

} // namespace zib
