#pragma once

namespace zib {

class MidiPositionTarget;

// The position, markers and tempo the fields of the MIDI bars move: those of
// the active MIDI window (its frame, its event editor or its tempo editor),
// which the window's player provides; null when no MIDI window is active or
// it has no player.
MidiPositionTarget* ActiveMidiTarget();

} // namespace zib
