#pragma once

#include "devices/core/Chord.h"

#include <array>
#include <cstdint>

namespace zib {

// Turns the notes the player holds in the chord zone (notes below 60) into a
// chord: a root, a chord type and a tension set. Notes arrive from MIDI IN,
// the on-screen piano and the computer keyboard alike.
//
// A note on names a pending chord; the console's 40 ms timer (CChordTimer)
// then hands it on (CChordSwitch::OnChordTimer), and it becomes the current
// chord when the console commits it. Releasing notes never changes a chord:
// the last chord stays until the next note on.
//
// Recognition of a note on with other notes held: the held pitch classes are
// rotated to a candidate root and looked up in the chord pattern table
// (ChordPatternTable.h). Candidates in order: the bass (the lowest held
// note's pitch class), the current root, then every other held pitch class
// from C upward. The first hit names the pending chord; with no hit the
// pending chord stays as it was.
class ChordRecognizer {
public:
    static constexpr int kHeldNoteLimit = 60;     // notes 0-59 make the chord zone
    static constexpr int kInitialLowestNote = 48; // C3

    // A single note names "No3rdNo5th" in a Qe-series style and "Major" in another
    explicit ChordRecognizer(bool qeStyle);

    // Input
    // Returns true when the note named a pending chord: the caller arms the timer.
    bool NoteOn(int note);
    void NoteOff(int note);
    // A short message from MIDI IN (status in the low byte, then the two data
    // bytes): note on and note off of any channel, a note on of velocity 0
    // being a note off; everything else is ignored. True as for NoteOn.
    bool MidiInput(uint32_t message);
    // Nothing held, mask 0, lowest note 48, current and pending chord C Major
    void Reset();

    // Chords
    const Chord& Current() const { return m_current; }
    const Chord& Pending() const { return m_pending; }
    // The pending chord becomes the current one
    void Commit() { m_current = m_pending; }
    // The pending chord is dropped: it becomes the current one again
    void DropPending() { m_pending = m_current; }

    // What the last note on saw
    bool IsHeld(int note) const;
    uint16_t LastMask() const { return m_lastMask; }     // rotated to the chord's root
    int LastLowestNote() const { return m_lastLowestNote; }

private:
    uint16_t HeldMask() const;

    bool m_qeStyle;
    std::array<uint8_t, 128> m_held{};
    uint16_t m_lastMask = 0;
    int m_lastLowestNote = kInitialLowestNote;
    Chord m_current;
    Chord m_pending;
};

} // namespace zib
