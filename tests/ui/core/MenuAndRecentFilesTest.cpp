#include "ui/core/CommandIds.h"
#include "ui/core/MenuModel.h"
#include "ui/core/RecentFileList.h"
#include "ui/texts/UiText.h"
#include "tests/support/MemoryProfile.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace zib;

TEST(MenuModel, MainMenuHoldsEveryApplicationCommand)
{
    auto ids = MenuCommandIds(MainMenuDef());
    for (int id : {cmd::FileNew,
                   cmd::FileOpen,
                   cmd::CollectWqCvMidi,
                   cmd::CollectQeCvMidi,
                   cmd::ConvertYamahaStyToQeSty,
                   cmd::FilePrintSetup,
                   cmd::AppExit,
                   cmd::ViewToolbar,
                   cmd::ViewStatusBar,
                   cmd::LanguageEnglish,
                   cmd::LanguageItalian,
                   cmd::LanguageGerman,
                   cmd::LanguageFrench,
                   cmd::WqConversionSettings,
                   cmd::QeConversionSettings,
                   cmd::StyToMidiSettings,
                   cmd::QeTrackToWqTrackSettings,
                   cmd::PsrToQeStySettings,
                   cmd::PlaybackSettings,
                   cmd::TransposeSetting,
                   cmd::MidiPortsSettings,
                   cmd::Instruments,
                   cmd::HelpFinder,
                   cmd::AppAbout})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
    const auto menu = MainMenuDef();
    ASSERT_EQ(menu.size(), 5u);
    EXPECT_EQ(menu[0].label, "&File");
    EXPECT_EQ(menu[4].label, "&Help");
}

TEST(MenuModel, EveryMainMenuLabelHasItsTranslations)
{
    for (auto label : MenuLabels(MainMenuDef()))
        EXPECT_TRUE(HasUiText(label)) << label;
    EXPECT_NE(UiText("&File", 2), "&File");
    EXPECT_NE(UiText("&Open...\tCtrl+O", 1), "&Open...\tCtrl+O");
}

TEST(RecentFileList, KeepsFourMostRecentFirst)
{
    RecentFileList list;
    for (const char* p : {"/a.mid", "/b.sty", "/c.pcg", "/d.pad", "/e.arr"})
        list.Add(p);
    EXPECT_EQ(list.files(), (std::vector<std::string>{"/e.arr", "/d.pad", "/c.pcg", "/b.sty"}));
    list.Add("/c.pcg");
    EXPECT_EQ(list.files().front(), "/c.pcg");
    EXPECT_EQ(list.files().size(), 4u);
    list.Remove(1);
    list.Remove(9);
    EXPECT_EQ(list.files(), (std::vector<std::string>{"/c.pcg", "/d.pad", "/b.sty"}));

    test::MemoryProfile p;
    list.Save(p);
    RecentFileList back;
    back.Load(p);
    EXPECT_EQ(back.files(), list.files());
    EXPECT_EQ(p.getString("Recent File List", "File4"), "");
    EXPECT_EQ(RecentFileList::MenuLabel(0, "/music/R&B.sty"), "&1 R&&B.sty");
}
