#pragma once

namespace zib {

// The MIDI dialogs the test driver can run by name ("run-dialog NAME"), each
// over fixed values, logging what it returns.
void RegisterMidiDialogRunners();

} // namespace zib
