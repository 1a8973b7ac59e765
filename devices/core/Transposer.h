#pragma once

#include "devices/core/Chord.h"
#include "devices/core/StylePlace.h"
#include "devices/core/TensionSource.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zib {

class CStyleMidiReader;

// One note event of a style pattern as it goes out: its status and velocity
// unchanged, one note, or two when the tension table turns it into a pair
// (the second goes out with delta 0).
struct TransposedNote {
    uint8_t status = 0;
    uint8_t velocity = 0;
    int count = 0;
    std::array<uint8_t, 2> notes{};
};

// Moves the notes of a style pattern from the chord each track was recorded
// in to the chord the player holds, with the fine offsets of ZibTbl's tension
// tables, and applies each track's octave shift.
//
// For a note of track k (from its channel) in pattern (element, variation)
// with chord (root R, type T, tension X), K the track's recorded key, Q its
// recorded chord, F the style's Tension switch of the track, N the element's
// NTT byte (Qe series):
//   DRUM and PERC (tracks 0, 1)  sent unchanged
//   base = note + R - K, interval = (note - K) modulo 12
//   F = 0                        base + GetQeTension(0, N, Q, T, X, interval)
//                                (others: GetWqSeriesTension(0, Q % 2, ...))
//   F set, BASS (track 2)        base: the bass follows the root only
//   F set, tracks 3 and up       the lookup with F: a plain offset is added,
//                                a packed pair makes two notes around base
// A note on takes the track's octave shift (12 semitones a step) and keeps
// it for its note off, so a note always ends where it started. A note that
// lands outside 0-127 is moved by octaves into the range. A Qe track recorded
// over a chord byte past the tables (22 and up, a damaged style) asks no table:
// its notes follow the root only.
class Transposer {
public:
    enum class Result {
        Moved,     // `out` holds the note(s) to send
        Unchanged, // a DRUM or PERC note: send the event as it is (`out` holds it too)
        Failed,    // not a two-byte note event, or its channel has no track: the step fails
    };

    static constexpr int kMinOctaveShift = -2;
    static constexpr int kMaxOctaveShift = 2;

    explicit Transposer(const CStyleMidiReader& style, const TensionSource& tensions = ZibTblTensions());

    // Transposition of the style's event `eventIndex`, played in `place`
    Result Transpose(uint32_t eventIndex, StylePlace place, const Chord& chord, TransposedNote& out);
    // The note on `noteOnIndex` turned off early (a chord switch): the same
    // note(s) with velocity 0, at the octave the note on went out with
    Result TransposeAsNoteOff(uint32_t noteOnIndex, StylePlace place, const Chord& chord, TransposedNote& out);

    // Octave shift of a track (-2 to +2, 0 at the start)
    int OctaveShift(int track) const;
    // Moves the shift of a track by `step`; false (and no change) for DRUM,
    // PERC, a track the style does not have, or a shift that would leave -2..+2
    bool StepOctaveShift(int track, int step);
    // All shifts 0, and no note on remembers a shift
    void Reset();

    // State
    bool IsQeStyle() const { return m_qeStyle; }
    int TrackCount() const;

private:
    enum class Use { AsEvent, AsNoteOff };
    Result Move(uint32_t eventIndex, StylePlace place, const Chord& chord, Use use, TransposedNote& out);
    int StoredShift(uint32_t noteOnIndex, int track) const;

    const CStyleMidiReader& m_style;
    const TensionSource& m_tensions;
    bool m_qeStyle;
    std::array<int, 8> m_octaveShift{};
    // Octave shift each note on went out with, by event index (+3; 0 = none)
    std::vector<int8_t> m_noteOnShift;
};

} // namespace zib
