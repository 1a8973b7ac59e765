#pragma once

namespace zib {

// The device area's dialogs that can be run by name (DialogRegistry), each on
// sample values:
//   console           the style playback console on a small built-in Qe style
//                     (VAR1 and VAR2); "console: lit=E chord=TEXT tempo=N"
//   port-instrument   the relation dialog for port 0, channel 10;
//                     "port-instrument: result=R relations=N"
//   record-input      Track Record Input on sample codes; "record-input:
//                     result=R codes=A,B,C,D" (the first four after it)
void RegisterDeviceDialogRunners();

} // namespace zib
