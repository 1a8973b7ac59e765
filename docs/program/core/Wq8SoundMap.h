#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The sound numbers of a Wq8 and their numbers on the Wq41 and WqR65, one row
// per Wq8 sound: 341 multisamples for the program oscillators, 165 drum
// sounds for the drum-kit maps. A sound is converted by the second number of
// the first row whose first number equals it; a number no row holds stays.
//
// The rows of both maps come from one data file, data/names/sound-maps.tsv:
// "map, Wq8 number, Wq8 name, Wq41/WqR65 number, Wq41/WqR65 name", separated
// by tabs, '#' starting a comment line; the map is "sound" or "drum". Each
// map must hold exactly its rows, numbered 0, 1, 2 ... in order.
class Wq8SoundMap {
public:
    struct Row {
        uint16_t wq8Number = 0;
        std::string wq8Name; // at most 16 characters
        uint16_t targetNumber = 0;
        std::string targetName;
    };

    static constexpr int kSoundRows = 341;
    static constexpr int kDrumSoundRows = 165;
    static constexpr const char* kFile = "names/sound-maps.tsv";
    enum class Kind { Sound, Drum };

    // A map of `rows` rows (by default the kind's own count).
    explicit Wq8SoundMap(Kind kind, int rows = 0)
        : kind_(kind), rowCount_(rows > 0 ? rows : kind == Kind::Sound ? kSoundRows : kDrumSoundRows)
    {
    }

    // Lookup
    uint16_t Convert(uint16_t wq8Number) const;
    const std::vector<Row>& Rows() const { return rows_; }

    // Loading the rows of this map's kind; a line that cannot be used, a row
    // out of order and a missing row are reported in Problems() (the map then
    // holds the good rows only).
    void LoadText(std::string_view text);
    static Wq8SoundMap LoadFile(const std::filesystem::path& path, Kind kind);
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    Kind kind_;
    int rowCount_;
    std::vector<Row> rows_;
    std::vector<std::string> problems_;
};

// The maps of the program's data folder, loaded on first use.
const Wq8SoundMap& builtInWq8SoundMap();
const Wq8SoundMap& builtInWq8DrumSoundMap();

} // namespace zib
