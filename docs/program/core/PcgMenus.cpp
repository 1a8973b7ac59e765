#include "docs/program/core/PcgMenus.h"

#include "app/core/CommandIds.h"

namespace zib {

MenuBarDef PcgDocumentMenu()
{
    std::vector<MenuItemDef> file = FileMenuCommands();
    // The document's own file commands follow Open.
    file.insert(file.begin() + 2, {MenuCommand("&Close", cmd::FileClose), MenuCommand("&Save\tCtrl+S", cmd::FileSave),
                                   MenuCommand("Save &As...", cmd::FileSaveAs)});
    const MenuBarDef main = MainMenuDef();
    MenuItemDef view = ViewMenuDef();
    view.children.push_back(MenuSeparator());
    view.children.push_back(MenuCommand("STS View", pcgcmd::StsView));
    return {
        MenuPopup("File", std::move(file)),
        MenuPopup("&Edit",
                  {
                      MenuCommand("Cu&t\tCtrl+X", cmd::EditCut),
                      MenuCommand("&Copy\tCtrl+C", cmd::EditCopy),
                      MenuCommand("&Paste\tCtrl+V", cmd::EditPaste),
                      MenuSeparator(),
                      MenuCommand("&Delete\t   Del", pcgcmd::DeleteItems),
                      MenuCommand("E&mpty Item", pcgcmd::EmptyItem),
                      MenuCommand("&Rename Item", pcgcmd::RenameItem),
                      MenuSeparator(),
                      MenuCommand("&Extract Item", pcgcmd::ExtractItem),
                      MenuCommand("E&xtract All Items", pcgcmd::ExtractAllItems),
                      MenuCommand("&Import Item(s)", pcgcmd::ImportItems),
                      MenuSeparator(),
                      MenuCommand("Move item UP", pcgcmd::MoveItemUp),
                      MenuCommand("Move item DOWN", pcgcmd::MoveItemDown),
                      MenuSeparator(),
                      MenuCommand("Select A&ll\tCtrl+A", pcgcmd::SelectAll),
                      MenuCommand("&Properties", pcgcmd::Properties),
                  }),
        std::move(view),
        main[2], // Utils
        main[3], // Setup
        WindowMenuDef(),
        HelpMenuDef(),
    };
}

std::vector<MenuItemDef> PcgPopupMenu()
{
    return {
        MenuCommand("Cu&t", cmd::EditCut),
        MenuCommand("&Copy", cmd::EditCopy),
        MenuCommand("&Paste", cmd::EditPaste),
        MenuSeparator(),
        MenuCommand("&Extract Item", pcgcmd::ExtractItem),
        MenuCommand("&Import Item(s)", pcgcmd::ImportItems),
        MenuSeparator(),
        MenuCommand("&Delete Item(s)", pcgcmd::DeleteItems),
        MenuCommand("E&mpty Item", pcgcmd::EmptyItem),
        MenuCommand("&Rename Item", pcgcmd::RenameItem),
        MenuSeparator(),
        MenuCommand("Properties", pcgcmd::Properties),
    };
}

std::vector<MenuItemDef> PcgBankMenu()
{
    static constexpr const char* kBanks[pcgcmd::BankCount] = {
        " 1: BANK1", " 2: BANK2", " 3: BANK3", " 4: BANK4", " 5: BANK5",  " 6: BANK6",
        " 7: BANK7", " 8: BANK8", " 9: BANK9", "10: USER1", "11: USER2", "12: USER DK",
    };
    std::vector<MenuItemDef> items;
    for (int b = 0; b < pcgcmd::BankCount; ++b)
        items.push_back(MenuCheck(kBanks[b], pcgcmd::BankFirst + b));
    return items;
}

} // namespace zib
