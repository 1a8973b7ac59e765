#pragma once

#include "app/core/MenuModel.h"
#include "mididoc/core/MidiCommands.h"


namespace zib {

// The document menu of MIDI windows (117): File with Close, Save and Save As,
// Edit with Undo, Redo and Select All, View, Utils with the text dumps and
// the MIDI-to-style conversions, Window and Help.
MenuBarDef MidiDocMenuDef();

} // namespace zib
