#pragma once

namespace zib {

struct ZibSubsystems;

// Wires the subsystems that exist into the shell (called once at start-up,
// before the settings are loaded).
void ConnectSubsystems(ZibSubsystems& subsystems);

} // namespace zib
