#include "docs/program/core/ProgramMenus.h"

#include "ui/core/CommandIds.h"

namespace zib {

namespace {

// A document menu: the file commands with the document's own, its Edit
// menu, the View menu with `viewExtra`, and the main menus after them.
MenuBarDef documentMenu(std::vector<MenuItemDef> edit, std::vector<MenuItemDef> viewExtra)
{
    std::vector<MenuItemDef> file = FileMenuCommands();
    // The document's own file commands follow Open.
    file.insert(file.begin() + 2, {MenuCommand("&Close", cmd::FileClose), MenuCommand("&Save\tCtrl+S", cmd::FileSave),
                                   MenuCommand("Save &As...", cmd::FileSaveAs)});
    const MenuBarDef main = MainMenuDef();
    MenuItemDef view = ViewMenuDef();
    if (!viewExtra.empty()) {
        view.children.push_back(MenuSeparator());
        view.children.insert(view.children.end(), viewExtra.begin(), viewExtra.end());
    }
    return {
        MenuPopup("&File", std::move(file)),
        MenuPopup("&Edit", std::move(edit)),
        std::move(view),
        main[2], // Utils
        main[3], // Setup
        WindowMenuDef(),
        HelpMenuDef(),
    };
}

// The Edit menu of the item lists.
std::vector<MenuItemDef> itemEditMenu()
{
    return {
        MenuCommand("Cu&t\tCtrl+X", cmd::EditCut),
        MenuCommand("&Copy\tCtrl+C", cmd::EditCopy),
        MenuCommand("&Paste\tCtrl+V", cmd::EditPaste),
        MenuSeparator(),
        MenuCommand("&Delete\t   Del", progcmd::DeleteItems),
        MenuCommand("E&mpty Item", progcmd::EmptyItem),
        MenuCommand("&Rename Item", progcmd::RenameItem),
        MenuSeparator(),
        MenuCommand("&Extract Item", progcmd::ExtractItem),
        MenuCommand("E&xtract All Items", progcmd::ExtractAllItems),
        MenuCommand("&Import Item(s)", progcmd::ImportItems),
        MenuSeparator(),
        MenuCommand("Move item UP", progcmd::MoveItemUp),
        MenuCommand("Move item DOWN", progcmd::MoveItemDown),
        MenuSeparator(),
        MenuCommand("Select A&ll\tCtrl+A", progcmd::SelectAll),
        MenuCommand("Pr&operties", progcmd::Properties),
    };
}

} // namespace

MenuBarDef PcgDocumentMenu()
{
    return documentMenu(itemEditMenu(), {MenuCommand("STS View", progcmd::StsView)});
}

MenuBarDef PrfDocumentMenu()
{
    return documentMenu(itemEditMenu(), {});
}

MenuBarDef ArrDocumentMenu()
{
    return documentMenu(itemEditMenu(), {});
}

MenuBarDef GlobalDocumentMenu()
{
    return documentMenu({MenuCommand("Pr&operties\tAlt+Enter", progcmd::Properties)}, {});
}

std::vector<MenuItemDef> PcgPopupMenu()
{
    return {
        MenuCommand("Cu&t", cmd::EditCut),
        MenuCommand("&Copy", cmd::EditCopy),
        MenuCommand("&Paste", cmd::EditPaste),
        MenuSeparator(),
        MenuCommand("&Extract Item", progcmd::ExtractItem),
        MenuCommand("&Import Item(s)", progcmd::ImportItems),
        MenuSeparator(),
        MenuCommand("&Delete Item(s)", progcmd::DeleteItems),
        MenuCommand("E&mpty Item", progcmd::EmptyItem),
        MenuCommand("&Rename Item", progcmd::RenameItem),
        MenuSeparator(),
        MenuCommand("Properties", progcmd::Properties),
    };
}

std::vector<MenuItemDef> PcgBankMenu()
{
    static constexpr const char* kBanks[progcmd::BankCount] = {
        " 1: BANK1", " 2: BANK2", " 3: BANK3", " 4: BANK4", " 5: BANK5",  " 6: BANK6",
        " 7: BANK7", " 8: BANK8", " 9: BANK9", "10: USER1", "11: USER2", "12: USER DK",
    };
    std::vector<MenuItemDef> items;
    for (int b = 0; b < progcmd::BankCount; ++b)
        items.push_back(MenuCheck(kBanks[b], progcmd::BankFirst + b));
    return items;
}

std::vector<MenuItemDef> PrfBanksMenu()
{
    static constexpr const char* kBanks[progcmd::CategoryCount] = {
        " 1: BEAT1",  " 2: BEAT2",  " 3: BALLAD",      " 4: BALLROOM", " 5: DANCE",       " 6: ROCK",
        " 7: SOUL FUNK", " 8: WORLD1", " 9: WORLD2",   "10: WORLD3",   "11: LATIN1",      "12: LATIN2",
        "13: LATIN DANCE", "14: JAZZ1", "15: JAZZ2",   "16: TRADITIONAL", "17: RESERVED !!!", "18: USER1",
        "19: USER2",  "20: USER3",
    };
    std::vector<MenuItemDef> items;
    for (int b = 0; b < progcmd::CategoryCount; ++b)
        items.push_back(MenuCheck(kBanks[b], progcmd::CategoryFirst + b));
    return items;
}

} // namespace zib
