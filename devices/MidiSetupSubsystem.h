#pragma once

namespace zib {

struct ZibSubsystems;

// Wires the "MIDI settings" and "Select MIDI Ports" dialogs into the shell's
// settings commands. Each dialog shows the devices as they are when it opens.
void ConnectMidiSetup(ZibSubsystems& subsystems);

} // namespace zib
