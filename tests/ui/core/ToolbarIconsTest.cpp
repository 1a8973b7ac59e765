// The pictures of the toolbar buttons: the theme's names of the standard
// actions, the program's own icon files, and the tooltips that lead with a
// button's letters.
#include "ui/core/ToolbarButtons.h"
#include "tests/support/BuildPaths.h"
#include "ui/core/ToolbarChoice.h"
#include "ui/core/ToolbarIcons.h"
#include "tests/support/RealFixtures.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace zib {
namespace {

// Every button the program's bars are made with.
std::vector<ToolButtonDef> everyButton()
{
    std::vector<ToolButtonDef> all = MidiDocButtonSet(false);
    for (int bar = 0; bar < kMainBarCount; ++bar)
        for (const ToolButtonDef& b : ToolbarButtons(MainBar(bar)))
            all.push_back(b);
    std::erase_if(all, [](const ToolButtonDef& b) { return b.id == 0 || b.fieldWidth > 0; });
    return all;
}

TEST(ToolbarIcons, StandardActionsTakeTheThemesIconNames)
{
    const struct {
        const char* action;
        const char* freedesktop;
        const char* gtkStock;
    } actions[] = {
        {"new", "document-new", "gtk-new"},
        {"open", "document-open", "gtk-open"},
        {"save", "document-save", "gtk-save"},
        {"cut", "edit-cut", "gtk-cut"},
        {"copy", "edit-copy", "gtk-copy"},
        {"paste", "edit-paste", "gtk-paste"},
        {"undo", "edit-undo", "gtk-undo"},
        {"redo", "edit-redo", "gtk-redo"},
        {"delete", "edit-delete", "gtk-delete"},
        {"play", "media-playback-start", "gtk-media-play"},
        {"stop", "media-playback-stop", "gtk-media-stop"},
        {"record", "media-record", "gtk-media-record"},
        {"rewind", "media-seek-backward", "gtk-media-rewind"},
        {"forward", "media-seek-forward", "gtk-media-forward"},
        {"properties", "document-properties", "gtk-properties"},
        {"help", "help-browser", "gtk-help"},
    };
    for (const auto& a : actions) {
        const auto names = StandardActionIcon(a.action);
        ASSERT_TRUE(names) << a.action;
        EXPECT_EQ(names->freedesktop, a.freedesktop);
        EXPECT_EQ(names->gtkStock, a.gtkStock);
    }
    // The program's own icons are no standard actions.
    for (const char* own : {"note-events", "convert-psr", "", "New"})
        EXPECT_FALSE(StandardActionIcon(own)) << own;
}

TEST(ToolbarIcons, EveryButtonHasAThemeIconOrAnOwnIconFileDrawnInTheBarsColour)
{
    const std::filesystem::path data = test::SourceDir() / "data";
    for (const ToolButtonDef& b : everyButton()) {
        const std::string what = std::to_string(b.id) + " " + std::string(b.tooltip);
        EXPECT_FALSE(b.glyph.empty()) << what << ": no letters to fall back to";
        ASSERT_FALSE(b.icon.empty()) << what;
        if (StandardActionIcon(b.icon)) continue;
        const auto bytes = test::readFileBytes(data / OwnIconFile(b.icon));
        const std::string svg(bytes.begin(), bytes.end());
        ASSERT_FALSE(svg.empty()) << what << ": " << OwnIconFile(b.icon) << " is missing";
        EXPECT_EQ(svg.rfind("<svg ", 0), 0u) << b.icon;
        EXPECT_NE(svg.find("viewBox=\"0 0 16 16\""), std::string::npos) << b.icon;
        // Drawn in the bar's text colour only, so that it reads on light and dark bars.
        EXPECT_NE(svg.find("currentColor"), std::string::npos) << b.icon;
        EXPECT_EQ(svg.find('#'), std::string::npos) << b.icon << " has a colour of its own";
    }
}

TEST(ToolbarIcons, ButtonsShownTogetherLookAlikeOnlyForOneCommand)
{
    // The bars every kind of window shows at once (Standard stays from before).
    BarFlags all;
    all.fill(true);
    for (int kind = 0; kind <= int(ChildKind::Other); ++kind)
        for (bool midiViewer : {false, true}) {
            const ToolbarChoice choice = ChooseToolbars(ChildKind(kind), midiViewer, all);
            std::map<std::string, int> commandOfIcon;
            for (int bar = 0; bar < kMainBarCount; ++bar) {
                if (MainBar(bar) != MainBar::Standard && choice.action(MainBar(bar)) != BarAction::Show) continue;
                const bool reduced = MainBar(bar) == MainBar::MidiDoc && choice.midiDocButtons == MidiDocButtons::Reduced;
                for (const ToolButtonDef& b : reduced ? MidiDocButtonSet(false) : ToolbarButtons(MainBar(bar))) {
                    if (b.id == 0 || b.fieldWidth > 0) continue;
                    const auto [known, fresh] = commandOfIcon.emplace(std::string(b.icon), b.id);
                    EXPECT_TRUE(fresh || known->second == b.id)
                        << "window kind " << kind << ": " << b.icon << " shows commands " << known->second << " and "
                        << b.id;
                }
            }
        }
}

TEST(ToolbarIcons, AnOwnIconsTooltipLeadsWithTheButtonsLetters)
{
    const ToolButtonDef notes{32841, "Note Events", "N", "note-events", true};
    const ToolButtonDef remove{32777, "&Delete Item(s)", "DEL", "delete"};
    const ToolButtonDef bare{1, "Something", "", "something"};
    EXPECT_EQ(ToolButtonTip(notes, "Note Events"), "N: Note Events");
    EXPECT_EQ(ToolButtonTip(notes, "Eventi nota"), "N: Eventi nota"); // the letters stay in every language
    EXPECT_EQ(ToolButtonTip(remove, "Delete Item(s)"), "Delete Item(s)");
    EXPECT_EQ(ToolButtonTip(bare, "Something"), "Something");
    // Every own icon's button leads with letters; a theme icon's keeps its text.
    for (const ToolButtonDef& b : everyButton()) {
        const std::string tip = ToolButtonTip(b, ToolTipText(b.tooltip));
        if (StandardActionIcon(b.icon))
            EXPECT_EQ(tip, ToolTipText(b.tooltip));
        else
            EXPECT_EQ(tip.rfind(std::string(b.glyph) + ": ", 0), 0u) << tip;
    }
}

TEST(ToolbarIcons, AnOwnIconIsDrawnInTheGivenColour)
{
    const std::string svg = "<g stroke=\"currentColor\"><rect fill=\"currentColor\"/></g>";
    EXPECT_EQ(SvgInColour(svg, "#eeeeec"), "<g stroke=\"#eeeeec\"><rect fill=\"#eeeeec\"/></g>");
    EXPECT_EQ(SvgInColour("<g fill=\"none\"/>", "#000000"), "<g fill=\"none\"/>");
    EXPECT_EQ(SvgInColour("", "#000000"), "");
}

} // namespace
} // namespace zib
