#pragma once

namespace zib {

struct ZibSubsystems;

// Wires the "MIDI settings" and "Select MIDI Ports" dialogs into the shell's
// settings commands (each dialog shows the devices as they are when it
// opens), and the device area's sample windows for the test driver.
void ConnectMidiSetup(ZibSubsystems& subsystems);

} // namespace zib
