#pragma once

namespace zib {

struct ZibSubsystems;

// Sample runs of the device area's windows for the test driver's run-dialog:
//   console           the style playback console on a small built-in Qe style
//                     (VAR1 and VAR2); logs "console: lit=E chord=TEXT tempo=N"
//   port-instrument   the relation dialog for port 0, channel 10; logs
//                     "port-instrument: result=R relations=N"
void AddDeviceTestDialogs(ZibSubsystems& subsystems);

} // namespace zib
