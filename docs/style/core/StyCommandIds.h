#pragma once

#include "ui/core/CommandIds.h"

// Command ids of the style and pad documents' menus, toolbars and popups:
// the numbers the program knows these commands by (cmd::ToWxId gives the
// window id). Commands the main window has as well take its numbers.
namespace zib::stycmd {

// File commands of the document menus
inline constexpr int FileClose = cmd::FileClose;
inline constexpr int FileSave = cmd::FileSave;
inline constexpr int FileSaveAs = cmd::FileSaveAs;

// Item commands
inline constexpr int MoveItemDown = cmd::MoveItemDown;
inline constexpr int MoveItemUp = cmd::MoveItemUp;
inline constexpr int ExtractItem = cmd::ExtractItem;
inline constexpr int ImportItems = cmd::ImportItems;
inline constexpr int DeleteItems = cmd::DeleteItems;
inline constexpr int EmptyItem = 32778;
inline constexpr int RenameItem = 32779;
inline constexpr int PlaybackPadItem = 32784;
inline constexpr int Properties = 32785;
inline constexpr int StsView = 32786;
inline constexpr int EditCopy = cmd::EditCopy;
inline constexpr int EditCut = cmd::EditCut;
inline constexpr int EditPaste = cmd::EditPaste;
inline constexpr int SelectAll = 57642;
inline constexpr int PadToMidi = cmd::PadToMidi;

// The element popup of Qe style lists: VAR1 .. END2
inline constexpr int ElementFirst = 32830;
inline constexpr int ElementLast = 32839;
// The bank popup of Qe style lists: " 1: BEAT1" .. "20: USER3"
inline constexpr int BankFirst = 32877;
inline constexpr int BankLast = 32896;
// The bank popup of pad lists: "1" .. "20", "USER1" .. "USER10"
inline constexpr int PadBankFirst = 32997;
inline constexpr int PadBankLast = 33026;

} // namespace zib::stycmd
