#pragma once

namespace zib {

// The MIDI dialogs that can be run by name (DialogRegistry), each over fixed
// values, telling what it returns.
void RegisterMidiDialogRunners();

} // namespace zib
