// The toolbars of the real program: every button shows an icon (the desktop
// theme's for a standard action, the program's own otherwise) at the theme's
// toolbar size, keeps its place, command and tooltip, and falls back to its
// letters when its icon is missing; the installed program finds its icons.
// Screenshots of the bars at 24 and 16 pixels are kept in the build folder.
#include "ui/core/ToolbarButtons.h"
#include "tests/support/BuildPaths.h"
#include "ui/core/ToolbarIcons.h"
#include "ui/texts/UiText.h"
#include "tests/app/gui/AppGuiFixture.h"
#include "tests/support/CiRun.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StyFileBuilder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

using namespace zib;
using test::ZibRun;

namespace {

// One "tool" line of the log.
struct Tool {
    std::string bar;
    int id = 0;
    std::string source; // theme, own or letters
    std::string size;
    bool lettersLook = false;
    std::string tip;
};

// The tools of each "log-toolbars" in the run.
std::vector<std::vector<Tool>> toolsOf(const ZibRun& r)
{
    std::vector<std::vector<Tool>> logs;
    bool inLog = false;
    for (const std::string& line : r.log) {
        if (line.rfind("tool ", 0) != 0) {
            inLog = false;
            continue;
        }
        if (!inLog) logs.emplace_back();
        inLog = true;
        Tool t;
        std::istringstream in(line.substr(5));
        std::string look;
        in >> t.bar >> t.id >> t.source >> t.size >> look;
        t.lettersLook = look == "letters-look=1";
        t.tip = line.substr(line.find(" tip=") + 5);
        logs.back().push_back(t);
    }
    return logs;
}

// The buttons a bar is made with, by its title; the MidiDoc bar with the set it shows.
std::vector<ToolButtonDef> buttonsOf(const std::string& bar, bool reducedMidiDoc)
{
    for (int i = 0; i < kMainBarCount; ++i)
        if (MainBarTitle(MainBar(i)) == bar) {
            if (MainBar(i) == MainBar::MidiDoc) return MidiDocButtonSet(!reducedMidiDoc);
            std::vector<ToolButtonDef> buttons = ToolbarButtons(MainBar(i));
            std::erase_if(buttons, [](const ToolButtonDef& b) { return b.id == 0 || b.fieldWidth > 0; });
            return buttons;
        }
    return {};
}

// Each bar of a log holds its buttons in their order, with their tooltips;
// `source` says where each picture must come from.
void expectButtons(const std::vector<Tool>& tools, bool reducedMidiDoc, const std::string& size,
                   const std::function<std::string(const ToolButtonDef&)>& source)
{
    std::map<std::string, std::vector<Tool>> byBar;
    for (const Tool& t : tools) byBar[t.bar].push_back(t);
    ASSERT_EQ(byBar.size(), size_t(kMainBarCount));
    for (const auto& [bar, shown] : byBar) {
        auto made = buttonsOf(bar, reducedMidiDoc);
        std::erase_if(made, [](const ToolButtonDef& b) { return b.id == 0 || b.fieldWidth > 0; });
        ASSERT_EQ(shown.size(), made.size()) << bar;
        for (size_t i = 0; i < made.size(); ++i) {
            const ToolButtonDef& b = made[i];
            const Tool& t = shown[i];
            const std::string what = bar + " " + std::to_string(b.id);
            EXPECT_EQ(t.id, b.id) << what;
            EXPECT_EQ(t.source, source(b)) << what;
            EXPECT_EQ(t.lettersLook, t.source == "letters") << what;
            if (t.source != "letters") {
                EXPECT_EQ(t.size, size + "x" + size) << what;
            }
            const std::string text = ToolTipText(UiText(b.tooltip, 0));
            EXPECT_EQ(t.tip, StandardActionIcon(b.icon) ? text : std::string(b.glyph) + ": " + text) << what;
        }
    }
}

// The desktop theme the standard actions take their icons from.
bool iconThemePresent()
{
    return std::filesystem::exists("/usr/share/icons/Adwaita/index.theme");
}

class ToolbarIconsGui : public test::AppGui {
protected:
    std::string openSong()
    {
        test::SmfBuilder smf(1, 96);
        smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000).TrackName(0, "Song");
        smf.AddTrack().TrackName(0, "Piano").NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
        return open("Song.mid", smf.Build());
    }
    std::string openStyle()
    {
        return open("pop.sty", test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0, 4}}))}));
    }
};

TEST_F(ToolbarIconsGui, EveryButtonShowsItsIconAtTheThemesSizeWithItsTooltip)
{
    if (!iconThemePresent()) {
        test::reportMissingInCi("the Adwaita icon theme (adwaita-icon-theme)");
        GTEST_SKIP() << "no icon theme";
    }
    // The MIDI window with the tempo-track editor (the reduced MidiDoc set),
    // then a style with its edit frame (the StyleTree bar); the bars at the
    // theme's size, then at 16 pixels.
    const ZibRun r = session_.runChecked(openSong() + "screenshot toolbars-midi-24\nmenu 32945\nawait-idle\nlog-toolbars\n" +
                                             openStyle() + "select-rows 0 0\nmenu 32785\nawait-idle\n"
                                             "screenshot toolbars-style-24\nlog-toolbars\n"
                                             "toolbar-icon-size 16\nawait-idle\nscreenshot toolbars-style-16\n"
                                             "log-toolbars\nactivate-child Master\nawait-idle\n"
                                             "screenshot toolbars-midi-16\nquit\n",
                                         60);
    const auto logs = toolsOf(r);
    ASSERT_EQ(logs.size(), 3u) << logText(r);
    auto expected = [](const ToolButtonDef& b) { return StandardActionIcon(b.icon) ? "theme" : "own"; };
    expectButtons(logs[0], true, "24", expected);
    expectButtons(logs[1], true, "24", expected);
    expectButtons(logs[2], true, "16", expected);
}

TEST_F(ToolbarIconsGui, AButtonWhoseIconIsMissingShowsItsLetters)
{
    // A data folder with everything but the icons.
    const auto data = session_.files() / "data";
    std::filesystem::create_directory(data);
    for (const auto& entry : std::filesystem::directory_iterator(test::SourceDir() / "data"))
        if (entry.path().filename() != "icons")
            std::filesystem::create_directory_symlink(entry.path(), data / entry.path().filename());
    setenv("ZIB_DATA_DIR", data.c_str(), 1);
    const ZibRun r = session_.runChecked(openSong() + "log-toolbars\nlog-list 1\nquit\n", 60);
    unsetenv("ZIB_DATA_DIR");
    const auto logs = toolsOf(r);
    ASSERT_EQ(logs.size(), 1u) << logText(r);
    const bool theme = iconThemePresent();
    expectButtons(logs[0], false, "24", [theme](const ToolButtonDef& b) {
        return StandardActionIcon(b.icon) && theme ? "theme" : "letters";
    });
    // The program works on: the song is open.
    EXPECT_NE(r.line("row 0: ").find("Piano"), std::string::npos) << logText(r);
}

TEST_F(ToolbarIconsGui, TheInstalledProgramShowsItsOwnIcons)
{
    const auto prefix = session_.files() / "installed";
    const std::string install = std::string(ZIB_CMAKE) + " --install \"" + test::BinaryDir().string() + "\" --prefix \"" +
                                prefix.string() + "\" > \"" + (session_.files() / "install.log").string() + "\" 2>&1";
    ASSERT_EQ(std::system(install.c_str()), 0) << install;
    ASSERT_TRUE(std::filesystem::exists(prefix / "share" / "zib" / "data" / "icons" / "note-events.svg"));
    // The test program, placed beside the installed tree as the program is,
    // finds the installed data as the program does.
    const auto program = prefix / "test-bin" / "zib";
    std::filesystem::create_directory(program.parent_path());
    std::filesystem::copy_file(test::BuildFile(ZIB_PROGRAM), program);
    session_.useProgram(program);
    const ZibRun r = session_.runChecked(openSong() + "log-toolbars\nquit\n", 60);
    const auto logs = toolsOf(r);
    ASSERT_EQ(logs.size(), 1u) << logText(r);
    const bool theme = iconThemePresent();
    expectButtons(logs[0], false, "24", [theme](const ToolButtonDef& b) {
        return !StandardActionIcon(b.icon) ? "own" : theme ? "theme" : "letters";
    });
}

} // namespace
