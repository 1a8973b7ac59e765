#pragma once

// Command ids of the style and pad documents' menus, toolbars and popups:
// the numbers the program knows these commands by (cmd::ToWxId gives the
// window id).
namespace zib::stycmd {

// File commands of the document menus
inline constexpr int FileClose = 57602;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;

// Item commands
inline constexpr int MoveItemDown = 32771;
inline constexpr int MoveItemUp = 32772;
inline constexpr int ExtractItem = 32773;
inline constexpr int ImportItems = 32774;
inline constexpr int DeleteItems = 32777;
inline constexpr int EmptyItem = 32778;
inline constexpr int RenameItem = 32779;
inline constexpr int PlaybackPadItem = 32784;
inline constexpr int Properties = 32785;
inline constexpr int StsView = 32786;
inline constexpr int EditCopy = 57634;
inline constexpr int EditCut = 57635;
inline constexpr int EditPaste = 57637;
inline constexpr int SelectAll = 57642;
inline constexpr int PadToMidi = 33029;

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
