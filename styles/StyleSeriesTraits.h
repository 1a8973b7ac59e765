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
    static int CvCountOf(int element) { return element < 4 ? 6 : 2; }
    // -1 for a channel outside 1-16 or without a track
    int TrackOfChannel(int channel) const { return channel >= 1 && channel <= 16 ? trackOfChannel[size_t(channel)] : -1; }
};

const StyleSeriesTraits& WqStyleSeries();
const StyleSeriesTraits& QeStyleSeries();

// Key names "C" ... "B" (index 0-11) of the CV and KeyChord commands, and the
// 24 CV key texts of the Wq series ("CMajor", "Cmin" ... "Bmin").
std::span<const char* const> StyleKeyNames();
std::span<const char* const> WqCvKeyNames();

} // namespace zib
