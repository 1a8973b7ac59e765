#pragma once

#include "ui/core/MenuModel.h"

namespace zib {

// Command ids of the program, performance, arrangement and global documents
// and their list views.
namespace progcmd {
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
// The performance categories "BANKS": 20 entries for banks 0-19.
inline constexpr int CategoryFirst = 32877;
inline constexpr int CategoryCount = 20;
} // namespace progcmd

// The document menus: program windows (template 119) with "STS View",
// performances (120) and arrangements (122) with the item commands, and the
// global files (123, 124) with Properties alone.
MenuBarDef PcgDocumentMenu();
MenuBarDef PrfDocumentMenu();
MenuBarDef ArrDocumentMenu();
MenuBarDef GlobalDocumentMenu();
// The list's right-click menu "PCGPOPUP".
std::vector<MenuItemDef> PcgPopupMenu();
// The bank menu "PCGBANK" (" 1: BANK1" ... "12: USER DK").
std::vector<MenuItemDef> PcgBankMenu();
// The performance categories "BANKS" (" 1: BEAT1" ... "20: USER3").
std::vector<MenuItemDef> PrfBanksMenu();

} // namespace zib
