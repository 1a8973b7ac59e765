#pragma once

namespace zib {

struct ZibSubsystems;

// Wires playback into the shell: the built-in player window for
// PlayMidiFileExternally, and the test commands of the bar view host and the
// Record Input dialog.
void ConnectPlayback(ZibSubsystems& subsystems);

} // namespace zib
