#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace zib {

class CQeSoundTables;

// The sound list of one Qe series, in the order the sound dialogs show it:
// the factory drum kits, the user drum kits, the factory sounds, the user
// sounds. Each entry is a name (factory names without leading and trailing
// blanks) and its sound value (bank MSB << 24 | bank LSB << 16 | program).
// Qe4k: 128 + 64 + 663 + 128 = 983 entries; Qe9z: 128 + 192 + 828 + 768 = 1916.
class QeSoundList {
public:
    struct Entry {
        std::string name;
        uint32_t value = 0;
    };

    // Series 0 Qe4k, 1 Qe9z.
    static QeSoundList Build(const CQeSoundTables& tables, int series);
    // The list of the program's tables, built once per series and shared.
    static const QeSoundList& ForSeries(int series);
    // The series of a model letter ('F' Qe4k, anything else Qe9z) and of a
    // style version (0 Qe4k).
    static int SeriesOfModel(uint32_t model) { return model == 'F' ? 0 : 1; }
    static int SeriesOfVersion(uint8_t version) { return version == 0 ? 0 : 1; }

    const std::vector<Entry>& Entries() const { return entries_; }
    size_t Size() const { return entries_.size(); }
    const Entry& At(size_t i) const { return entries_[i]; }
    // The first entry of a sound value (bits 15-8 do not count); -1 when
    // the list has none.
    int IndexOf(uint32_t value) const;

private:
    void Add(std::string name, uint8_t msb, uint8_t lsb, uint8_t program);

    std::vector<Entry> entries_;
    std::unordered_map<uint32_t, int> index_;
};

// A sound name without leading and trailing blanks.
std::string TrimBlanks(const std::string& text);

// The bytes of a sound value.
inline uint8_t SoundMsb(uint32_t v) { return uint8_t(v >> 24); }
inline uint8_t SoundLsb(uint32_t v) { return uint8_t(v >> 16); }
inline uint8_t SoundProgram(uint32_t v) { return uint8_t(v); }

} // namespace zib
