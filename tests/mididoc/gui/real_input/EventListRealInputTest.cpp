// The MIDI event lists and their dialogs driven by a hand: real clicks,
// double clicks and keys on a desktop with a window manager.
#include "platform/FileIo.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/DesktopTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace zib {
namespace {

constexpr int kVelocityColumn = 6;

class EventListRealInput : public test::DesktopTest<> {
protected:
    // A song of one track with `beats` notes of velocity 100, one a beat
    std::filesystem::path song(uint32_t beats = 4)
    {
        test::SmfBuilder smf(1, 96);
        smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000).TrackName(0, "Song");
        test::SmfTrack& bass = smf.AddTrack().TrackName(0, "Bass");
        for (uint32_t beat = 0; beat < beats; ++beat)
            bass.NoteOn(beat * 96, 0, 40, 100).NoteOff(beat * 96 + 80, 0, 40);
        const auto path = session_.files() / "Song.mid";
        writeFileAtomically(path, smf.Build());
        return path;
    }

    std::string activeTab()
    {
        const std::string tabs = desktop_->answer("log-tabs", "tabs:");
        const size_t from = tabs.find("active="), to = tabs.find(" titles=");
        return from == std::string::npos || to == std::string::npos ? std::string()
                                                                    : tabs.substr(from + 7, to - from - 7);
    }

    bool waitForActiveTab(const std::string& part)
    {
        return desktop_->waitUntil([&] { return activeTab().find(part) != std::string::npos; },
                                   "the tab " + part);
    }

    // The song open, its track's event list opened with a click on its row and the toolbar's Edit Item
    bool openEventList(const std::filesystem::path& path)
    {
        return desktop_->start({path.string()}) && desktop_->waitForActiveWindow(path.filename().string()) &&
               desktop_->clickOn("list-row 0 2") && desktop_->clickOn("tool 32840") &&
               waitForActiveTab(" - Event List - ");
    }

    // The open cell editor's row, -1 when none is open
    int editorRow()
    {
        int shown = 0, row = -1, column = -1;
        const std::string line = desktop_->answer("cell-editor", "cell-editor:");
        if (std::sscanf(line.c_str(), "cell-editor: shown=%d row=%d col=%d", &shown, &row, &column) != 3)
            return -1;
        return shown ? row : -1;
    }
};

// A Play that fails for want of an audio output: its one box, answered
// with Return, leaves the list where it was, so the double click on the
// cell the user sees opens that cell's editor.
TEST_F(EventListRealInput, AFailedPlayLeavesTheListWhereItWas)
{
    test::TempDir audio;
    session_.playWithoutAudioOutput(audio.path());
    ASSERT_TRUE(openEventList(song(120)));
    const std::string mainWindow = desktop_->activeWindowId();
    // A velocity far down the list, scrolled into view: where the hand will double-click
    const std::string cell = "grid-cell 100 " + std::to_string(kVelocityColumn);
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(std::sscanf(desktop_->answer("where " + cell, "where: ").c_str(), "where: %d %d %d %d", &x, &y,
                          &w, &h),
              4);

    const size_t boxes = desktop_->logLines("message:").size();
    ASSERT_TRUE(desktop_->clickOn("tool 32912"));
    ASSERT_TRUE(
        desktop_->waitUntil([&] { return desktop_->logLines("message:").size() > boxes; }, "the box"));
    EXPECT_NE(desktop_->logLines("message:").back().find("No audio output found"), std::string::npos);
    ASSERT_TRUE(
        desktop_->waitUntil([&] { return desktop_->activeWindowId() != mainWindow; }, "the box's focus"));
    desktop_->keys("Return");
    ASSERT_TRUE(
        desktop_->waitUntil([&] { return desktop_->activeWindowId() == mainWindow; }, "the box to close"));

    desktop_->click(x + w / 2, y + h / 2, 2);
    ASSERT_TRUE(desktop_->waitUntil([&] { return editorRow() >= 0; }, "the cell editor"));
    EXPECT_EQ(editorRow(), 100);
    desktop_->keys("Escape");
}

// A velocity typed over with real keys and left without Enter, then Filter >
// Control Events chosen from the menu with the keyboard: the menu takes the
// focus from the cell, and the filter takes the typed value first.
TEST_F(EventListRealInput, AFilterChosenFromTheMenuTakesTheTypedValueFirst)
{
    ASSERT_TRUE(openEventList(song()));
    ASSERT_TRUE(desktop_->clickOn("grid-cell 1 " + std::to_string(kVelocityColumn), 2));
    ASSERT_TRUE(desktop_->waitUntil([&] { return editorRow() == 1; }, "the cell editor"));
    desktop_->type("99");
    ASSERT_TRUE(desktop_->menuCommand('i', "Down Down Return")); // Note, KeyPressure, Control Events
    ASSERT_TRUE(desktop_->waitUntil(
        [&] {
            return desktop_->answer("menu-state 32843", "menu-state").find("checked=0") != std::string::npos;
        },
        "Control Events off"));
    EXPECT_EQ(editorRow(), -1);
    EXPECT_EQ(desktop_->answer("grid-count 6 99", "grid-count").rfind("grid-count 6 99 = 1 of ", 0), 0u);
    EXPECT_NE(desktop_->answer("log-tabs", "tabs:").find("Song.mid*"), std::string::npos);
    // File > Exit asks about the change; Return saves it.
    ASSERT_TRUE(desktop_->menuCommand('f', "x"));
    ASSERT_TRUE(
        desktop_->waitUntil([&] { return !desktop_->logLines("message: ").empty(); }, "the question"));
    desktop_->keys("Return");
    EXPECT_EQ(desktop_->finish().exitCode, 0);
}

// View > Master (Tempo) Track, then a double click on the tempo: the
// Tempo dialog opens over the main window, laid out at its size from the
// start (the toolkit warns of nothing, which the run's end checks).
TEST_F(EventListRealInput, TheTempoDialogOpensOverTheMainWindow)
{
    ASSERT_TRUE(desktop_->start({song().string()}));
    ASSERT_TRUE(desktop_->waitForActiveWindow("Song.mid"));
    const test::ZibDesktop::WindowRect main = desktop_->windowRect(desktop_->activeWindowId());
    ASSERT_GT(main.width, 0);
    ASSERT_TRUE(desktop_->menuCommand('v', "m"));
    ASSERT_TRUE(waitForActiveTab("Master Track"));
    // The row of the tempo: time signature, tempo, track name
    ASSERT_NE(desktop_->answer("log-list 3", "row 1:").find("|Tempo|"), std::string::npos);
    ASSERT_TRUE(desktop_->clickOn("list-row 1 3", 2));
    ASSERT_TRUE(desktop_->waitForActiveWindow("Tempo (Beats Per Minute)"));
    const test::ZibDesktop::WindowRect dialog = desktop_->windowRect(desktop_->activeWindowId());
    const int dx = dialog.x + dialog.width / 2 - (main.x + main.width / 2);
    const int dy = dialog.y + dialog.height / 2 - (main.y + main.height / 2);
    EXPECT_LT(std::abs(dx), main.width / 8)
        << dialog.x << "," << dialog.y << " " << dialog.width << "x" << dialog.height;
    EXPECT_LT(std::abs(dy), main.height / 8)
        << dialog.x << "," << dialog.y << " " << dialog.width << "x" << dialog.height;
    desktop_->keys("Escape");
    ASSERT_TRUE(desktop_->waitForActiveWindow("Song.mid"));
}

} // namespace
} // namespace zib
