// Every menu of every window, in English, Italian and German: each menu bar
// opens each of its menus with Alt and a key of its own, and no two entries
// of one menu share the key that picks them.
#include "ui/core/MenuModel.h"
#include "ui/texts/UiText.h"
#include "docs/program/core/ProgramMenus.h"
#include "docs/style/core/StyMenus.h"
#include "docs/style/core/StyTreeMenus.h"
#include "mididoc/core/MidiDocMenu.h"

#include <gtest/gtest.h>

using namespace zib;

namespace {

struct NamedMenu {
    const char* name;
    MenuBarDef menu;
};

// A context menu as a bar of one popup, so that its entries are checked as one menu.
MenuBarDef popup(std::vector<MenuItemDef> items)
{
    return {MenuPopup("", std::move(items))};
}

std::vector<NamedMenu> everyMenuBar()
{
    return {
        {"main", MainMenuDef()},
        {"main, with a child window", MainMenuWithWindowDef()},
        {"MIDI document", MidiDocMenuDef()},
        {"style and pad track editors", TrackEditorMenuDef()},
        {"style document", StyDocMenuDef()},
        {"pad document", PadDocMenuDef()},
        {"style and pad edit frames", StyEditFrameMenuDef()},
        {"program document", PcgDocumentMenu()},
        {"performance document", PrfDocumentMenu()},
        {"arrangement document", ArrDocumentMenu()},
        {"global data document", GlobalDocumentMenu()},
    };
}

std::vector<NamedMenu> everyContextMenu()
{
    return {
        {"event list", popup(EditEventPopupDef())},
        {"track list", popup(TrackListPopupDef())},
        {"style list", popup(StyPopupMenuDef())},
        {"pad list", popup(PadPopupMenuDef())},
        {"style element node", popup(StyElementPopupDef())},
        {"chord variation node", popup(StyCvPopupDef())},
        {"track node", popup(StyTrackPopupDef())},
        {"STS node", popup(StsPopupDef())},
        {"program list", popup(PcgPopupMenu())},
    };
}

} // namespace

TEST(MenuMnemonics, TheKeyOfALabel)
{
    const struct {
        const char* label;
        char32_t key;
    } cases[] = {
        {"&File", U'f'},           {"E&xit", U'x'},     {"Save &As...", U'a'},
        {"Ö&ffnen...", U'f'},      {"&Über Zib...", U'ü'}, {"Rock && Roll", 0},
        {"Rock && &Roll", U'r'},   {"Help Topics", 0},  {"Trailing &", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(MenuMnemonic(c.label), c.key) << c.label;
}

TEST(MenuMnemonics, EveryMenuOfEveryBarOpensWithItsOwnKeyInEveryLanguage)
{
    for (int language = 0; language < 3; ++language)
        for (const auto& [name, menu] : everyMenuBar()) {
            for (const auto& top : menu)
                EXPECT_NE(MenuMnemonic(UiText(top.label, language)), 0u)
                    << name << " menu bar, language " << language << ": " << UiText(top.label, language);
            EXPECT_EQ(MnemonicClashes(menu, language), std::vector<std::string>{})
                << name << " menu bar, language " << language;
        }
}

TEST(MenuMnemonics, NoTwoEntriesOfAContextMenuShareAKeyInAnyLanguage)
{
    for (int language = 0; language < 3; ++language)
        for (const auto& [name, menu] : everyContextMenu())
            EXPECT_EQ(MnemonicClashes(menu, language), std::vector<std::string>{})
                << name << " menu, language " << language;
}
