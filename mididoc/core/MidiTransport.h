#pragma once

#include "mididoc/core/MidiPositionTarget.h"

#include <cstdint>

namespace zib {

struct MetronomeSettings;

// The player of a MIDI window as its frames and editors drive it: the
// transport and walk commands, the From and Thru markers, the metronome and
// the texts of the MIDI bars. The bar view beside the track list provides
// it; without one the commands do nothing.
class MidiTransport : public MidiPositionTarget {
public:
    // Fills from the document; false when the song cannot be shown (the open ends)
    virtual bool Populate() = 0;
    // The bar list again, after edits of the document
    virtual void Rebuild() = 0;

    // Transport
    virtual void PlayToggle() = 0;
    virtual void Stop() = 0;
    virtual void Record() = 0;
    virtual void ToggleLoop() = 0;
    virtual void Rewind() = 0;
    virtual void GoToEnd() = 0;
    virtual void NextBar() = 0;
    virtual void PrevBar() = 0;
    virtual void GoToFrom() = 0;
    virtual void GoToThru() = 0;
    virtual void SetFromAtPosition() = 0;
    // Thru at the exact position (event editors), or at the end of the previous bar (MIDI window)
    virtual void SetThruAtPosition(bool exact) = 0;
    // The bar view goes to an event of the sequence and selects its row
    virtual void GoToEvent(int64_t index) = 0;

    // The metronome of the player (edited by the metronome dialog)
    virtual MetronomeSettings& Metronome() = 0;

    // The MIDI bars show this window's position, markers, tempo and loop switch
    virtual void ShowTexts() = 0;
};

} // namespace zib
