#pragma once

#include "app/core/MenuModel.h"

namespace zib {

// Command ids of the program document and its list view.
namespace pcgcmd {
inline constexpr int MoveItemDown = 32771;
inline constexpr int MoveItemUp = 32772;
inline constexpr int ExtractItem = 32773;
inline constexpr int ImportItems = 32774;
inline constexpr int DeleteItems = 32777;
inline constexpr int EmptyItem = 32778;
inline constexpr int RenameItem = 32779;
inline constexpr int Properties = 32785;
inline constexpr int StsView = 32786;
inline constexpr int ExtractAllItems = 32820;
inline constexpr int SelectAll = 57642;
// The bank menu "PCGBANK": entries 1-12 stand for banks 0-11.
inline constexpr int BankFirst = 1; // popup commands, handled by the list itself
inline constexpr int BankCount = 12;
} // namespace pcgcmd

// The document menu of program windows (template 119).
MenuBarDef PcgDocumentMenu();
// The list's right-click menu "PCGPOPUP".
std::vector<MenuItemDef> PcgPopupMenu();
// The bank menu "PCGBANK" (" 1: BANK1" ... "12: USER DK").
std::vector<MenuItemDef> PcgBankMenu();

} // namespace zib
