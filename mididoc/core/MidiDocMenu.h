#pragma once

#include "app/core/CommandIds.h"
#include "app/core/MenuModel.h"

namespace zib::midicmd {

// Command numbers of the MIDI document window (menu 117 and the MidiDoc bar).
inline constexpr int FileClose = cmd::FileClose;
inline constexpr int FileSave = cmd::FileSave;
inline constexpr int FileSaveAs = cmd::FileSaveAs;
inline constexpr int EditSelectAll = 57642;
inline constexpr int EditUndo = 57643;
inline constexpr int EditRedo = 57644;
inline constexpr int FileTextDump = 32789;
inline constexpr int MidiToText = cmd::MidiToText;
inline constexpr int MidiToWqStyle = cmd::MidiToWqStyle;
inline constexpr int MidiToQe4kStyle = cmd::MidiToQe4kStyle;

} // namespace zib::midicmd

namespace zib {

// The document menu of MIDI windows (117): File with Close, Save and Save As,
// Edit with Undo, Redo and Select All, View, Utils with the text dumps and
// the MIDI-to-style conversions, Window and Help.
MenuBarDef MidiDocMenuDef();

} // namespace zib
