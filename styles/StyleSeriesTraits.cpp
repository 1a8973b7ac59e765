#include "styles/StyleSeriesTraits.h"

namespace zib {

namespace {

constexpr const char* kWqElements[] = {"VAR1", "VAR2", "VAR3", "VAR4", "INT1", "INT2", "END1", "END2", "FILL1", "FILL2"};
constexpr const char* kQeElements[] = {"VAR1",  "VAR2",  "VAR3", "VAR4", "INT1",  "INT2",
                                       "FILL1", "FILL2", "END1", "END2", "FILL3", "INT3"};
constexpr const char* kTracks[] = {"DRUM", "PERC", "BASS", "ACC1", "ACC2", "ACC3", "ACC4", "ACC5"};
constexpr const char* kChords[] = {"Major", "Maj6", "Maj7",  "Maj7b5", "Sus4", "Sus2",    "Maj7sus4", "min",
                                   "min6",  "min7", "min7b5", "minMaj7", "7",   "7b5",     "7sus4",    "dim",
                                   "dimMaj7", "aug", "aug7",  "augMaj7", "No3rd", "No3rdNo5th"};
constexpr const char* kKeys[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
// Tonics of the key signatures from 7 flats to 7 sharps
constexpr const char* kMajorTonics[] = {"Cb", "Gb", "Db", "Ab", "Eb", "Bb", "F", "C",
                                        "G",  "D",  "A",  "E",  "B",  "F#", "C#"};
constexpr const char* kMinorTonics[] = {"Ab", "Eb", "Bb", "F",  "C",  "G",  "D", "A",
                                        "E",  "B",  "F#", "C#", "G#", "D#", "A#"};
constexpr const char* kWqCvKeys[] = {"CMajor",  "Cmin",  "C#Major", "C#min", "DMajor",  "Dmin",  "D#Major", "D#min",
                                     "EMajor",  "Emin",  "FMajor",  "Fmin",  "F#Major", "F#min", "GMajor",  "Gmin",
                                     "G#Major", "G#min", "AMajor",  "Amin",  "A#Major", "A#min", "BMajor",  "Bmin"};

//                                                 ch: -   1   2   3   4   5   6   7   8   9  10 11 12 13 14 15 16
constexpr std::array<int, 17> kWqChannels = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 1, 2, 3, 4, 5, -1};
constexpr std::array<int, 17> kQeChannels = {-1, -1, -1, -1, -1, -1, -1, -1, -1, 2, 0, 1, 3, 4, 5, 6, 7};

const StyleSeriesTraits kWq{
    StyleSeries::Wq,
    kWqElements,
    std::span<const char* const>(kTracks, 6),
    kWqChannels,
    std::span<const char* const>(kChords, 20),
    {"Name", "Rflag", "TensionOFF", "Element", "CV", "Range", "Table", "NTT", "Shiftup"},
    StyleSlot8Command::Shiftup,
    false,
    {1, 1, 1, 1, 1, 1, 1, 1},
    {0, 0, 0, 0, 0, 0, 0, 0},
};

const StyleSeriesTraits kQe{
    StyleSeries::Qe,
    kQeElements,
    kTracks,
    kQeChannels,
    kChords,
    {"Name", "Rflag", "TensionOFF", "Element", "CV", "Range", "Table", "NTT", "KeyChord"},
    StyleSlot8Command::KeyChord,
    true,
    {0, 0, 1, 1, 1, 1, 1, 1},
    {0, 0, 0, 1, 1, 1, 1, 1},
};

} // namespace

const StyleSeriesTraits& WqStyleSeries() { return kWq; }
const StyleSeriesTraits& QeStyleSeries() { return kQe; }
std::span<const char* const> StyleKeyNames() { return kKeys; }
const char* StyleKeyName(int key) { return key >= 0 && key < 12 ? kKeys[size_t(key)] : "???"; }
std::span<const char* const> WqCvKeyNames() { return kWqCvKeys; }

const char* KeySignatureTonic(int sharps, bool minor)
{
    if (sharps < -7 || sharps > 7) return nullptr;
    return (minor ? kMinorTonics : kMajorTonics)[sharps + 7];
}

} // namespace zib
