#pragma once

#include "midi/CMidiNode.h"

namespace zib {

// The middle event class: adds pairing, track and duration. The CV MIDI
// reader keeps its events at this level.
class CMidiEventBase : public CMidiNode {
public:
    CMidiEventBase();
    ~CMidiEventBase() override;

    // 0 = a note-on or note-off not (yet) matched with its partner;
    // 1 = a matched note, or any event that is not a note
    uint32_t paired = 0;
    uint8_t track = 0;        // track 0..64 of the owning sequence
    uint32_t listVisible = 0; // non-zero while the event has a row in an event list
    uint32_t played = 0;      // the player sets it to 1 once it has sent the event
    uint32_t duration = 0;    // note-on: ticks to its note-off (or to the end of its track)
    uint32_t spare = 0;
};

} // namespace zib
