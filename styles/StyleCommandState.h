#pragma once

#include <array>
#include <string>

namespace zib {

// What the text commands of one conversion run have set. Sized for the larger
// series (12 elements x 6 CVs x 8 tracks, 22 chords); a Wq run uses the first
// 10 elements and 6 tracks. Measures are zero-based; -1 = not known.
struct StyleCommandState {
    static constexpr int kElements = 12;
    static constexpr int kCvs = 6;
    static constexpr int kTracks = 8;
    static constexpr int kChords = 22;

    template <typename T>
    using PerCvTrack = std::array<std::array<std::array<T, kTracks>, kCvs>, kElements>;
    template <typename T>
    using PerCv = std::array<std::array<T, kCvs>, kElements>;

    // Style
    std::string styleName;    // the Name argument, "NewStyle" when empty; bytes as in the file
    bool extendedStyle = false; // Qe: FILL3 or INT3 was found

    // Elements and CVs
    int currentElement = -1;
    int previousElement = -1;
    int currentCv = -1;
    int previousCv = -1;
    std::array<bool, kElements> elementFound{};
    std::array<int, kElements> elementStartMeasure{};
    PerCvTrack<int> firstMeasure{};
    PerCvTrack<int> lastMeasure{};
    PerCvTrack<int> noteCount{};  // counted by the converter
    PerCv<int> cvChord{};         // Wq: key 0-23; Qe: key x 22 + chord
    PerCvTrack<int> trackKey{};   // Qe KeyChord: key 0-11, -1 = the CV's
    PerCvTrack<int> trackChord{}; // Qe KeyChord: chord 0-21, -1 = the CV's

    // Tracks and elements
    std::array<int, kTracks> rflag{};
    std::array<int, kTracks> tension{};
    std::array<int, kTracks> shiftup{};
    std::array<std::array<int, kTracks>, kElements> rangeLow{};
    std::array<std::array<int, kTracks>, kElements> rangeHigh{};
    std::array<std::array<int, kChords>, kElements> chordTable{}; // chord -> CV
    std::array<int, kElements> ntt{};

    // Counts
    int errors = 0;
    int warnings = 0;
};

} // namespace zib
