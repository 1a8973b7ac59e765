#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zib {

// A menu described as data, with its English labels. The language switch
// builds every menu again from these descriptions in the new language.
struct MenuItemDef {
    enum class Kind {
        Command, // plain item
        Check,   // item with a check mark (set by its update handler)
        Separator,
        Popup,       // sub-menu with `children`
        RecentFiles, // where the recent-file items go
    };
    Kind kind = Kind::Command;
    std::string_view label; // English, with '&' and "\t" shortcut as shown
    int id = 0;
    std::vector<MenuItemDef> children;
};

// A menu bar: its top-level popups.
using MenuBarDef = std::vector<MenuItemDef>;

// Builders for the pieces every menu bar shares
MenuItemDef MenuCommand(std::string_view label, int id);
MenuItemDef MenuCheck(std::string_view label, int id);
MenuItemDef MenuSeparator();
MenuItemDef MenuPopup(std::string_view label, std::vector<MenuItemDef> children);

// The main menu (resource 114), shown while no child window is active.
MenuBarDef MainMenuDef();
// The main menu as a child window without a menu of its own (a text viewer,
// the player window) shows it: with the Window menu before Help, so that
// such a tab too is left and closed from the menu.
MenuBarDef MainMenuWithWindowDef();

// The File menu's commands, which every document menu repeats before its own.
std::vector<MenuItemDef> FileMenuCommands();
// New and Open, the `tools` between separators, Print Setup, the recent
// files and Exit: the frame of every File menu.
std::vector<MenuItemDef> FileMenuAround(std::vector<MenuItemDef> tools);
// The View popup with the toolbar, status bar and language items.
MenuItemDef ViewMenuDef();
// The Window popup of the document menus.
MenuItemDef WindowMenuDef();
// The Help popup.
MenuItemDef HelpMenuDef();

// Every label of a menu bar, depth first (for checks that each has a translation).
std::vector<std::string_view> MenuLabels(const MenuBarDef& menu);

// The key that picks an entry while its menu is open (Alt+key on a menu
// bar): the character after the label's '&' ("&&" shows a plain '&'), in
// lower case; 0 when the label has none.
char32_t MenuMnemonic(std::string_view label);
// The places of `menu` in `language` (the bar itself and each popup) where
// two entries share a mnemonic, one line each: "Popup: label | label".
std::vector<std::string> MnemonicClashes(const MenuBarDef& menu, int language);
// Every command id of a menu bar, depth first.
std::vector<int> MenuCommandIds(const MenuBarDef& menu);

} // namespace zib
