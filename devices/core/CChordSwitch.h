#pragma once

#include "devices/core/StylePlace.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zib {

class ChordRecognizer;
class CChordTimer;
class CStyleMidiReader;

// Where a pending change of chord, element or chord variation takes effect
// in the running style: the running pattern plays up to the switch tick, the
// new one goes on from the entry tick. A switch tick of 0 waits for the end
// of the running pattern's event list.
struct SwitchTicks {
    uint32_t switchTick = 0;
    uint32_t entryTick = 0;

    friend bool operator==(const SwitchTicks&, const SwitchTicks&) = default;
};

// Switch and entry ticks for a change from the running pattern `from` to
// `to`, with `t` the time of the last event sent within the running pattern.
// A bar is division x numerator x 4 / denominator ticks of the element's time
// signature; the next bar line is the first multiple of it at or after t.
//   same element and chord variation        switch = entry = t
//   same element, shorter new pattern       switch = t, entry = where the old
//                                           pattern's remainder fits before
//                                           the new one's end (else t modulo
//                                           its length); longer: both t
//   other element, going to element 8 or 9, switch = next bar line, entry = 0
//   or another time signature
//   other element, old pattern not longer   switch = entry = t, or the next
//                                           bar line when t lies on the bar's
//                                           last beat (0 at the pattern's end)
//   other element, old pattern longer       switch = t, entry as for a
//                                           shorter chord variation
SwitchTicks ComputeSwitchTicks(const CStyleMidiReader& style, StylePlace from, StylePlace to, uint32_t t);

// The chord variation that element `element` plays for chord type `chordType`
// (its chord-assign entry); 0 for an entry, element or type out of range.
int AssignedVariation(const CStyleMidiReader& style, int element, int chordType);

// The note-on events (indexes into the style's event array) of tracks 2 and
// up in the pattern `place` that start before `tick` and end after it: the
// notes that sound across that tick.
std::vector<uint32_t> SoundingNotes(const CStyleMidiReader& style, StylePlace place, uint32_t tick);

// The first event of the pattern `place` at or after `tick` (the closing
// event of raw length 0 included); none when the list ends before the tick.
std::optional<uint32_t> FirstEventAtOrAfter(const CStyleMidiReader& style, StylePlace place, uint32_t tick);

// The console's pending change: where the style plays now, where it goes,
// and when. The chords themselves live in the ChordRecognizer.
class CChordSwitch {
public:
    // The chord timer's tick: notes a chord that differs from the current one
    // as a pending change (with the pending element's chord variation for a
    // new chord type); while stopped the change takes effect at once, while
    // playing the switch ticks are computed from `lastEventTime`. Kills the
    // timer and returns the chord display's text for the pending chord.
    std::string OnChordTimer(ChordRecognizer& chords, CChordTimer& timer, const CStyleMidiReader& style,
                             bool playing, uint32_t lastEventTime);

    // The switch point is reached: the pending chord, element and chord
    // variation become current, the change and its ticks are cleared.
    // Returns true when the element changed.
    bool Commit(ChordRecognizer& chords);
    // Playback stopped: the pending values fall back to the current ones.
    void Cancel(ChordRecognizer& chords);

    // State
    StylePlace current;
    StylePlace pending;
    bool changePending = false;
    SwitchTicks ticks;
};

} // namespace zib
