#pragma once

#include "ui/core/MenuModel.h"

#include <vector>

namespace zib {

// The menus of the style and pad documents as data (English labels).

// The document menus of the style (118) and pad (121) templates.
MenuBarDef StyDocMenuDef();
MenuBarDef PadDocMenuDef();

// Context menus of the lists: "STYLEPOPUP" (229) and the pad list's (287).
std::vector<MenuItemDef> StyPopupMenuDef();
std::vector<MenuItemDef> PadPopupMenuDef();

// Column popups: the style elements "STEL" (221), the style banks "BANKS"
// (236) and the pad banks "PAD BANKS" (298), one radio entry each.
std::vector<MenuItemDef> StyElementMenuDef();
std::vector<MenuItemDef> StyBankMenuDef();
std::vector<MenuItemDef> PadBankMenuDef();

// The bank a bank-menu id stands for: style banks 0-19 (17 outside), pad
// banks 0-29 (20 outside).
int StyBankOfCommand(int id);
int PadBankOfCommand(int id);
// The element an element-menu id stands for: 0-9 (0 outside).
int StyElementOfCommand(int id);

} // namespace zib
