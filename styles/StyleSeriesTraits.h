#pragma once

#include <array>
#include <span>
#include <string_view>

namespace zib {

enum class StyleSeries { Wq, Qe };

// What a text command in slot 8 does in a series.
enum class StyleSlot8Command { Shiftup, KeyChord };

// What differs between the text commands of the two series: element, track
// and chord tables, the channel of each track, the slot-8 command and the
// track defaults the commands start from.
struct StyleSeriesTraits {
    StyleSeries series;
    std::span<const char* const> elementNames; // "VAR1" ...
    std::span<const char* const> trackNames;   // "DRUM" ...
    std::array<int, 17> trackOfChannel;        // MIDI channel 1-16 -> track, -1 for none
    std::span<const char* const> chordNames;   // "Major" ... (20 or 22)
    std::array<const char*, 9> commandNames;   // slot order
    StyleSlot8Command slot8;
    bool trimsWholeText;                       // blanks around the whole text are removed
    std::array<int, 8> defaultRflag;
    std::array<int, 8> defaultTension;

    int ElementCount() const { return int(elementNames.size()); }
    int TrackCount() const { return int(trackNames.size()); }
    int ChordCount() const { return int(chordNames.size()); }
    // Both series number their CVs alike: VAR1-VAR4 have six each, every
    // other element two; the CV slots run VAR1 CV1 ... VAR4 CV6, then two per
    // element in element order.
    static constexpr int CvCountOf(int element) { return element < 4 ? 6 : 2; }
    static constexpr int CvSlotOf(int element, int cv)
    {
        return element < 4 ? element * 6 + cv : element * 2 + 16 + cv;
    }
    // -1 for a channel outside 1-16 or without a track
    int TrackOfChannel(int channel) const { return channel >= 1 && channel <= 16 ? trackOfChannel[size_t(channel)] : -1; }
};

const StyleSeriesTraits& WqStyleSeries();
const StyleSeriesTraits& QeStyleSeries();

// Key names "C" ... "B" (index 0-11) of the CV and KeyChord commands, and the
// 24 CV key texts of the Wq series ("CMajor", "Cmin" ... "Bmin").
std::span<const char* const> StyleKeyNames();
std::span<const char* const> WqCvKeyNames();
// The name of key 0-11, "???" for any other
const char* StyleKeyName(int key);

// Tonic of a key-signature event: "Cb" ... "C#" major or "Ab" ... "A#" minor
// for -7 to 7 sharps (flats negative); nullptr outside that range.
const char* KeySignatureTonic(int sharps, bool minor);

} // namespace zib
