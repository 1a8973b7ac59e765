#pragma once

#include "mididoc/core/MidiDocDialogs.h"

namespace zib {

// The "Copy MIDI Events" dialog without its window: the four check boxes
// ("Track events", "Tempo changes", "Tact changes", "Markers") show the
// caller's flags on opening, and OK gives each box's state back.
struct CopyMidiEventsDlgModel {
    enum Box { kTrackEvents, kTempoChanges, kTactChanges, kMarkers };

    static bool Checked(const CopyEventKinds& kinds, Box box);
    static CopyEventKinds Ok(bool trackEvents, bool tempo, bool tact, bool markers);
};

} // namespace zib
