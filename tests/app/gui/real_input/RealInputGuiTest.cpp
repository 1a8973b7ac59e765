// The main roads of the program driven as a user drives them: real keys and
// clicks on a desktop with a window manager. What the documents hold is read
// from the program's models through its test driver, or from the saved files.
#include "docs/style/core/CZibPadDoc.h"
#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/QeStyleEditor.h"
#include "midi/CMidiFile.h"
#include "platform/FileIo.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/QeStyleContents.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/DesktopTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

namespace zib {
namespace {

using test::ZibDesktop;
using test::ZibSession;

// The events of the whole-file and track event lists, by column
constexpr int kCodeColumn = 4;
constexpr int kVelocityColumn = 6;
// The S cell of a MIDI window's track list: a single click on it selects the
// row of a track in use and does no more, where one on the name (and on most
// other cells) opens the track's Track Properties dialog.
constexpr const char* kSelectTrack = "list-row 0 2";

// Cell `column` of a "grid-row N: a|b|c" line, blanks around it dropped
std::string cellOf(const std::string& row, int column)
{
    size_t from = row.find(": ");
    if (from == std::string::npos) return {};
    from += 2;
    for (int c = 0; c < column && from != std::string::npos; ++c) {
        from = row.find('|', from);
        if (from != std::string::npos) ++from;
    }
    if (from == std::string::npos) return {};
    std::string cell = row.substr(from, row.find('|', from) - from);
    cell.erase(0, cell.find_first_not_of(' '));
    cell.erase(cell.find_last_not_of(' ') + 1);
    return cell;
}

// The note-on velocities of a MIDI image, in file order (of one channel, or of all)
class VelocityReader : public CMidiFile {
public:
    explicit VelocityReader(int channel = -1) : channel_(channel) {}
    std::vector<int> velocities;

protected:
    int OnChannelEvent() override
    {
        if ((m_status & 0xF0) == 0x90 && m_eventData[1] > 0 && (channel_ < 0 || (m_status & 0x0F) == channel_))
            velocities.push_back(m_eventData[1]);
        return 0;
    }

private:
    int channel_;
};

std::vector<int> velocitiesIn(const std::vector<uint8_t>& smf, int channel = -1)
{
    VelocityReader reader(channel);
    if (smf.empty() || reader.ParseMemory(smf.data(), uint32_t(smf.size())) != 0) return {};
    return reader.velocities;
}

std::vector<int> velocitiesOf(const std::filesystem::path& file)
{
    std::vector<uint8_t> bytes;
    if (readWholeFile(file, bytes) != FileIoError::None) return {};
    return velocitiesIn(bytes);
}

// The note-on velocities of one track of the first chord variation of the
// first element, in the first item of a style or pad file as saved
std::vector<int> trackVelocities(const std::filesystem::path& file, bool pad, int track)
{
    std::vector<uint8_t> bytes;
    if (readWholeFile(file, bytes) != FileIoError::None) return {};
    std::unique_ptr<CZibItemDoc> doc;
    if (pad)
        doc = std::make_unique<CZibPadDoc>();
    else
        doc = std::make_unique<CZibStyDoc>();
    if (!doc->OpenImage(bytes, file.string()) || doc->ItemCount() == 0) return {};
    auto made = LibraryQeStyleEditor::FromItem(doc->ItemAt(0).data);
    return made.editor ? velocitiesIn(made.editor->ExportSmf(0, 0), test::qeTrackChannel(track)) : std::vector<int>{};
}

class RealInputGui : public test::DesktopTest<> {
protected:
    // A song of one track with a note of velocity 100 on each of `beats`
    // beats, half a second each (format 1, the conductor first)
    std::filesystem::path song(const std::string& name = "Song.mid", uint32_t beats = 4)
    {
        test::SmfBuilder smf(1, 96);
        smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000).TrackName(0, "Song");
        test::SmfTrack& bass = smf.AddTrack().TrackName(0, "Bass");
        for (uint32_t beat = 0; beat < beats; ++beat)
            bass.NoteOn(beat * 96, 0, 40 + int(beat % 4), 100).NoteOff(beat * 96 + 80, 0, 40 + int(beat % 4));
        const auto path = session_.files() / name;
        EXPECT_EQ(writeFileAtomically(path, smf.Build()), FileIoError::None);
        return path;
    }

    // File > Open from the keyboard: Alt+F, O, the path typed into the file dialog, Enter.
    bool openFromFileMenu(const std::filesystem::path& path)
    {
        if (!desktop_->menuCommand('f', "o")) return false;
        if (!desktop_->waitForActiveWindow("Open")) return false;
        desktop_->type(path.string());
        desktop_->keys("Return");
        return true;
    }

    // A style or a pad of one item whose first element holds notes of velocity 100 on DRUM and BASS
    std::filesystem::path styleFile(const std::string& file, bool pad)
    {
        const auto path = session_.files() / file;
        const std::string name = pad ? "Pad1" : "Pop";
        EXPECT_EQ(writeFileAtomically(path, test::dasfImage({test::qeEntry(name, pad ? 9 : 2, pad ? 0 : 2, 0,
                                                                           test::qeStyleInstance({name, 0, {0}, 0, pad}))})),
                  FileIoError::None);
        return path;
    }

    // Window > Next until the tab of that title is the active one (at most once round the tabs).
    bool activateTab(const std::string& title)
    {
        for (int i = 0; i < 16 && activeTab() != title; ++i) {
            const std::string before = activeTab();
            if (!desktop_->menuCommand('w', "n")) return false;
            if (!desktop_->waitUntil([&] { return activeTab() != before; }, "Window > Next from " + before)) return false;
        }
        return activeTab() == title;
    }

    // Help > About from the keyboard (the last item of the Help menu), then the box closed with Escape.
    bool showAbout()
    {
        if (!desktop_->menuCommand('h', "Up Return")) return false;
        if (!desktop_->waitForActiveWindow("About Application")) return false;
        desktop_->keys("Escape");
        return desktop_->waitForActiveWindow("Zib");
    }

    // The rows of the active child's grid: "grid-row N: cells"
    std::vector<std::string> gridRows(int count)
    {
        std::vector<std::string> rows;
        for (const auto& line : desktop_->ask("log-grid " + std::to_string(count)))
            if (line.rfind("grid-row ", 0) == 0) rows.push_back(line);
        return rows;
    }

    // The first row of the active child's grid that lists a note, or -1
    int firstNoteRow()
    {
        const auto rows = gridRows(40);
        for (size_t r = 0; r < rows.size(); ++r)
            if (cellOf(rows[r], kCodeColumn) == "Note") return int(r);
        return -1;
    }

    std::string velocityIn(int row)
    {
        const auto rows = gridRows(row + 1);
        return size_t(row) < rows.size() ? cellOf(rows[size_t(row)], kVelocityColumn) : std::string();
    }

    // The title of the active child window, as its tab shows it
    std::string activeTab()
    {
        const std::string tabs = desktop_->answer("log-tabs", "tabs:");
        const size_t from = tabs.find("active="), to = tabs.find(" titles=");
        return from == std::string::npos || to == std::string::npos ? std::string() : tabs.substr(from + 7, to - from - 7);
    }

    // The titles of the child windows, in tab order
    std::vector<std::string> tabTitles()
    {
        const std::string tabs = desktop_->answer("log-tabs", "tabs:");
        const size_t from = tabs.find(" titles=");
        std::vector<std::string> titles;
        if (from == std::string::npos || from + 8 >= tabs.size()) return titles;
        std::stringstream in(tabs.substr(from + 8));
        for (std::string title; std::getline(in, title, '|');) titles.push_back(title);
        return titles;
    }

    // Waits until the active tab's title holds `part` (or is `part`, when `whole`)
    bool waitForActiveTab(const std::string& part, bool whole = false)
    {
        return desktop_->waitUntil(
            [&] {
                const std::string title = activeTab();
                return whole ? title == part : title.find(part) != std::string::npos;
            },
            "the active tab " + part);
    }

    bool waitForVelocity(int row, const std::string& value, const std::string& what)
    {
        return desktop_->waitUntil([&] { return velocityIn(row) == value; }, what + ": velocity " + value);
    }

    // A double click on the velocity cell of `row`, the value typed into the
    // cell editor, Enter; a screenshot of the open editor when `shot` names one.
    bool editVelocity(int row, const std::string& value, const std::string& shot = {})
    {
        if (!desktop_->clickOn("grid-cell " + std::to_string(row) + " " + std::to_string(kVelocityColumn), 2))
            return false;
        if (!desktop_->waitUntil(
                [&] { return desktop_->answer("cell-editor", "cell-editor:").rfind("cell-editor: shown=1", 0) == 0; },
                "the cell editor after a double click"))
            return false;
        if (!shot.empty()) desktop_->screenshot(shot);
        desktop_->type(value);
        desktop_->keys("Return");
        return waitForVelocity(row, value, "the typed value");
    }

    // A right click on what a "where ..." question names: the items of the
    // context menu that opened, "Text=1|Text=0|..." (1 enabled), or "" when none opened.
    std::string popupItems(const std::string& where)
    {
        if (!desktop_->openPopup(where)) return {};
        const auto items = desktop_->logLines("popup-items: ");
        return items.empty() ? std::string() : items.back().substr(13);
    }

    // Waits for a dialog titled `title`, closes it with Escape and waits for the main window.
    bool closeDialog(const std::string& title)
    {
        if (!desktop_->waitForActiveWindow(title)) return false;
        desktop_->keys("Escape");
        return desktop_->waitForActiveWindow("Zib");
    }

};

TEST_F(RealInputGui, AVelocityTypedIntoTheEventListIsUndoneRedoneAndSaved)
{
    const auto path = song();
    ASSERT_TRUE(desktop_->start());
    ASSERT_TRUE(openFromFileMenu(path));
    ASSERT_TRUE(desktop_->waitForActiveWindow("Song.mid"));
    desktop_->screenshot("midi-window");

    // The track's row, then the toolbar's Edit Item: the whole-file event list.
    ASSERT_TRUE(desktop_->clickOn(kSelectTrack));
    ASSERT_TRUE(desktop_->clickOn("tool 32840"));
    ASSERT_TRUE(waitForActiveTab("Song.mid - Event List"));
    const int row = firstNoteRow();
    ASSERT_GE(row, 0);
    ASSERT_EQ(velocityIn(row), "100");

    ASSERT_TRUE(editVelocity(row, "90", "cell-editor"));
    // The document carries the unsaved-changes mark.
    EXPECT_NE(desktop_->answer("log-tabs", "tabs:").find("titles=Song.mid*|"), std::string::npos);
    EXPECT_NE(desktop_->answer("log-frame", "frame:").find("title=Zib - Song.mid*"), std::string::npos);
    desktop_->keys("ctrl+z");
    ASSERT_TRUE(waitForVelocity(row, "100", "Undo"));
    desktop_->keys("ctrl+y");
    ASSERT_TRUE(waitForVelocity(row, "90", "Redo"));

    desktop_->keys("ctrl+s");
    ASSERT_TRUE(desktop_->waitUntil([&] { return velocitiesOf(path) == std::vector<int>{90, 100, 100, 100}; },
                                    "the saved file"));
    EXPECT_EQ(desktop_->answer("log-tabs", "tabs:").find('*'), std::string::npos) << "saved: no mark";
}

// A velocity typed into the track editor of a style and of a pad, undone and
// redone there, goes back into the item when the editor closes and into the
// file when the document is saved.
TEST_F(RealInputGui, AVelocityTypedIntoATrackEditorGoesIntoTheSavedStyleAndPad)
{
    const struct {
        const char* file;
        bool pad;
        const char* node; // the track's node in the edit frame's tree
        int track;
        const char* frame;
    } cases[] = {
        {"pop.sty", false, "Variation1/CV1/BASS", 2, "StyleTree"},
        {"pads.pad", true, "Variation1/CV1/DRUM", 0, "PadTree"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto path = styleFile(c.file, c.pad);
        ASSERT_EQ(trackVelocities(path, c.pad, c.track), std::vector<int>(4, 100));
        const test::QeStyleContents before = test::qeStyleFileContents(path, c.pad);

        ASSERT_TRUE(desktop_->start({path.string()}));
        ASSERT_TRUE(desktop_->waitForActiveWindow(c.file));
        // A double click on the item opens its edit frame, one on a track node its track editor.
        ASSERT_TRUE(desktop_->clickOn("list-row 0", 2));
        ASSERT_TRUE(waitForActiveTab(std::string(" - ") + c.frame + " - "));
        if (!c.pad) desktop_->screenshot("style-edit-frame");
        ASSERT_TRUE(desktop_->clickOn(std::string("tree-node ") + c.node, 2));
        ASSERT_TRUE(waitForActiveTab(" - EventList - "));

        const int row = firstNoteRow();
        ASSERT_GE(row, 0);
        ASSERT_EQ(velocityIn(row), "100");
        ASSERT_TRUE(editVelocity(row, "76"));
        desktop_->keys("ctrl+z");
        ASSERT_TRUE(waitForVelocity(row, "100", "Undo"));
        desktop_->keys("ctrl+y");
        ASSERT_TRUE(waitForVelocity(row, "76", "Redo"));

        // Window > Close on the track editor, then on the edit frame, then File > Save.
        ASSERT_TRUE(desktop_->menuCommand('w', "o"));
        ASSERT_TRUE(waitForActiveTab(std::string(" - ") + c.frame + " - "));
        ASSERT_TRUE(desktop_->menuCommand('w', "o"));
        // The track went back into the item: the document has unsaved changes.
        ASSERT_TRUE(waitForActiveTab(c.file + std::string("*"), true));
        // The list brings its own menu bar, whose Ctrl+S works once it is on the screen.
        ASSERT_TRUE(desktop_->waitUntil(
            [&] { return desktop_->answer("menubar-shown", "menubar-shown:") == "menubar-shown: 1"; },
            "the list's menu bar"));
        desktop_->keys("ctrl+s");
        ASSERT_TRUE(desktop_->waitUntil(
            [&] { return trackVelocities(path, c.pad, c.track) == std::vector<int>{76, 100, 100, 100}; },
            "the saved file"));
        // Nothing but the typed velocity changed in the file.
        EXPECT_EQ(test::contentDifferences(before, test::qeStyleFileContents(path, c.pad)),
                  std::vector<std::string>{"item 1 " + test::qeNoteName(0, 0, c.track, 1) + " velocity: 100 -> 76"});
        EXPECT_TRUE(waitForActiveTab(c.file, true));
        desktop_->quit();
    }
}

// The road of a style edit to its file without closing anything: a velocity
// typed into the open track editor, then Ctrl+S on the style's own tab
// saves it and leaves the editor open; a second velocity saved with Ctrl+S
// in the editor's tab goes into the file too.
TEST_F(RealInputGui, CtrlSWithTheTrackEditorOpenSavesWhatItHolds)
{
    const auto path = styleFile("pop.sty", false);
    const test::QeStyleContents before = test::qeStyleFileContents(path, false);
    // What a save holds: the file as it was but for the velocity typed.
    auto savedChange = [&] { return test::contentDifferences(before, test::qeStyleFileContents(path, false)); };
    ASSERT_TRUE(desktop_->start({path.string()}));
    ASSERT_TRUE(desktop_->waitForActiveWindow("pop.sty"));
    ASSERT_TRUE(desktop_->clickOn("list-row 0", 2));
    ASSERT_TRUE(waitForActiveTab(" - StyleTree - "));
    ASSERT_TRUE(desktop_->clickOn("tree-node Variation1/CV1/BASS", 2));
    ASSERT_TRUE(waitForActiveTab(" - EventList - "));
    const std::string editorTab = activeTab();
    const int row = firstNoteRow();
    ASSERT_GE(row, 0);
    ASSERT_TRUE(editVelocity(row, "50"));

    ASSERT_TRUE(activateTab("pop.sty*"));
    ASSERT_TRUE(desktop_->waitUntil(
        [&] { return desktop_->answer("menubar-shown", "menubar-shown:") == "menubar-shown: 1"; }, "the list's menu bar"));
    desktop_->keys("ctrl+s");
    ASSERT_TRUE(desktop_->waitUntil(
        [&] { return trackVelocities(path, false, 2) == std::vector<int>{50, 100, 100, 100}; }, "the saved file"));
    EXPECT_EQ(savedChange(), std::vector<std::string>{"item 1 V1CV1 BASS note 1 velocity: 100 -> 50"});
    EXPECT_TRUE(waitForActiveTab("pop.sty", true)) << "saved: no mark";
    const std::vector<std::string> tabs = tabTitles();
    EXPECT_NE(std::find(tabs.begin(), tabs.end(), editorTab), tabs.end()) << "the editor stays";

    ASSERT_TRUE(activateTab(editorTab));
    ASSERT_TRUE(editVelocity(row, "60"));
    desktop_->keys("ctrl+s");
    ASSERT_TRUE(desktop_->waitUntil(
        [&] { return trackVelocities(path, false, 2) == std::vector<int>{60, 100, 100, 100}; }, "saved from the editor"));
    EXPECT_EQ(savedChange(), std::vector<std::string>{"item 1 V1CV1 BASS note 1 velocity: 100 -> 60"});
}

// Playing and stopping a song, and the style playback console closed by
// the window manager: the application's menus work afterwards, in every tab,
// down to File > Exit.
TEST_F(RealInputGui, MenusWorkAfterPlaybackAndAfterTheConsoleIsClosed)
{
    const auto midi = song("Long.mid", 120); // a minute long
    const auto sty = styleFile("pop.sty", false);
    ASSERT_TRUE(desktop_->start({midi.string(), sty.string()}));
    ASSERT_TRUE(activateTab("Long.mid"));

    // Playback > Play, then Playback > Stop (the item below Play, enabled while playing).
    ASSERT_TRUE(desktop_->menuCommand('p', "p"));
    ASSERT_TRUE(desktop_->waitUntil(
        [&] { return desktop_->answer("menu-state 32912", "menu-state").find("checked=1") != std::string::npos; },
        "playing"));
    ASSERT_TRUE(desktop_->menuCommand('p', "Down Return"));
    ASSERT_TRUE(desktop_->waitUntil(
        [&] { return desktop_->answer("menu-state 32912", "menu-state").find("checked=0") != std::string::npos; },
        "stopped"));
    ASSERT_TRUE(showAbout());

    // The console on the selected style, closed with the window manager's close.
    ASSERT_TRUE(activateTab("pop.sty"));
    ASSERT_TRUE(desktop_->clickOn("list-row 0"));
    ASSERT_TRUE(desktop_->menuCommand('u', "Down Return")); // Utils > Playback style item
    ASSERT_TRUE(desktop_->waitForActiveWindow("Style Playback Simulator"));
    desktop_->keys("alt+F4");
    ASSERT_TRUE(desktop_->waitForActiveWindow("Zib - pop.sty"));

    ASSERT_TRUE(showAbout());
    ASSERT_TRUE(activateTab("Long.mid"));
    ASSERT_TRUE(showAbout());
    ASSERT_TRUE(desktop_->menuCommand('f', "x"));
    const test::ZibRun run = desktop_->finish();
    EXPECT_TRUE(run.has("exit"));
}

// Window > Next and Window > Close in a tab of every kind, and Window > Close
// All from a track editor.
TEST_F(RealInputGui, WindowMenuCommandsWorkInEveryKindOfTab)
{
    const auto midi = song();
    const auto sty = styleFile("pop.sty", false);
    const auto pad = styleFile("pads.pad", true);
    ASSERT_TRUE(desktop_->start({midi.string(), sty.string(), pad.string()}));

    // The windows of the MIDI document: its event list, master track and text dump.
    ASSERT_TRUE(activateTab("Song.mid"));
    ASSERT_TRUE(desktop_->clickOn(kSelectTrack));
    ASSERT_TRUE(desktop_->clickOn("tool 32840"));
    ASSERT_TRUE(waitForActiveTab("Song.mid - Event List"));
    ASSERT_TRUE(activateTab("Song.mid"));
    ASSERT_TRUE(desktop_->menuCommand('v', "m")); // View > Master (Tempo) Track
    ASSERT_TRUE(waitForActiveTab("Master Track"));
    ASSERT_TRUE(activateTab("Song.mid"));
    ASSERT_TRUE(desktop_->menuCommand('u', "f")); // Utils > File Text Dump
    ASSERT_TRUE(waitForActiveTab("Song.txt"));
    // The edit frames of the style and the pad, each with a track editor.
    for (const auto& [file, node] : {std::pair<std::string, std::string>{"pop.sty", "Variation1/CV1/BASS"},
                                     std::pair<std::string, std::string>{"pads.pad", "Variation1/CV1/DRUM"}}) {
        ASSERT_TRUE(activateTab(file));
        ASSERT_TRUE(desktop_->clickOn("list-row 0", 2));
        ASSERT_TRUE(waitForActiveTab(file + " - "));
        ASSERT_TRUE(desktop_->clickOn("tree-node " + node, 2));
        ASSERT_TRUE(waitForActiveTab(" - EventList - "));
    }

    // Next goes from each tab to the one after it, round to the first.
    const auto titles = tabTitles();
    ASSERT_EQ(titles.size(), 10u) << desktop_->answer("log-tabs", "tabs:");
    const auto at = std::find(titles.begin(), titles.end(), activeTab());
    ASSERT_NE(at, titles.end());
    size_t index = size_t(at - titles.begin());
    for (size_t step = 0; step < titles.size(); ++step) {
        const std::string& next = titles[(index + 1) % titles.size()];
        ASSERT_TRUE(desktop_->menuCommand('w', "n"));
        ASSERT_TRUE(waitForActiveTab(next, true)) << "Next from " << titles[index];
        index = (index + 1) % titles.size();
    }

    // Close in a tab of each kind: the windows a document owns before the document.
    const auto closeTab = [&](const std::string& title) {
        if (!activateTab(title)) return false;
        if (!desktop_->menuCommand('w', "o")) return false;
        return desktop_->waitUntil(
            [&] {
                const auto now = tabTitles();
                return std::find(now.begin(), now.end(), title) == now.end();
            },
            "Window > Close of " + title);
    };
    for (const char* part : {"pads.pad - EventList", "pads.pad - PadTree", "Song.mid - Event List", "Master Track",
                             "Song.txt", "Song.mid", "pads.pad"}) {
        std::string title;
        for (const auto& t : tabTitles())
            if (t.find(part) != std::string::npos) title = t;
        ASSERT_FALSE(title.empty()) << part;
        ASSERT_TRUE(closeTab(title)) << title;
    }
    // Close All from the style's track editor: no tab is left.
    ASSERT_EQ(tabTitles().size(), 3u);
    ASSERT_TRUE(activateTab(tabTitles().back()));
    ASSERT_NE(activeTab().find(" - EventList - "), std::string::npos);
    ASSERT_TRUE(desktop_->menuCommand('w', "a"));
    ASSERT_TRUE(desktop_->waitUntil([&] { return tabTitles().empty(); }, "Window > Close All"));
}

// A file that cannot be opened gives one message box and no window; the
// program goes on, and the next file opens.
TEST_F(RealInputGui, ABadFileOnFileOpenGivesOneBoxAndTheNextOpenWorks)
{
    const auto good = song();
    const struct {
        const char* name;
        std::string bytes;
    } bad[] = {
        {"Broken.mid", std::string("MThd\0\0\0\6\0\1\0\2\0\x60MTrk\0\0\x10\0junk", 26)},
        {"Broken.sty", "not a style at all"},
        {"Broken.pcg", "not a program file"},
    };
    ASSERT_TRUE(desktop_->start());
    const std::string mainWindow = desktop_->activeWindowId();
    for (const auto& b : bad) {
        SCOPED_TRACE(b.name);
        const auto path = session_.files() / b.name;
        ASSERT_EQ(writeFileAtomically(path, std::string_view(b.bytes)), FileIoError::None);
        const size_t boxes = desktop_->logLines("message:").size();
        ASSERT_TRUE(openFromFileMenu(path));
        ASSERT_TRUE(desktop_->waitUntil([&] { return desktop_->logLines("message:").size() > boxes; }, "a message box"));
        ASSERT_TRUE(desktop_->waitUntil([&] { return !desktop_->activeWindowId().empty() && desktop_->activeWindowId() != mainWindow; },
                                        "the box to have the focus"));
        desktop_->keys("Return");
        ASSERT_TRUE(desktop_->waitUntil([&] { return desktop_->activeWindowId() == mainWindow; }, "the box to close"));
        // Once the program answers again, any second box would have been asked for.
        EXPECT_TRUE(tabTitles().empty()) << "no window for a file that did not open";
        EXPECT_EQ(desktop_->logLines("message:").size(), boxes + 1) << "one box for one bad file";
    }
    ASSERT_TRUE(openFromFileMenu(good));
    ASSERT_TRUE(waitForActiveTab("Song.mid", true));
    EXPECT_EQ(desktop_->logLines("message:").size(), std::size(bad));
}

// With no MIDI output at all (the built-in synthesizer finds no sound
// server), Play and Record each give their one box; afterwards both buttons
// are up, nothing plays or records, and the MIDI window closes.
TEST_F(RealInputGui, APlayOrRecordWithoutMidiOutputLeavesItsButtonUp)
{
    test::TempDir audio;
    session_.playWithoutAudioOutput(audio.path());
    const auto midi = song();
    ASSERT_TRUE(desktop_->start({midi.string()}));
    ASSERT_TRUE(waitForActiveTab("Song.mid", true));
    const std::string mainWindow = desktop_->activeWindowId();

    // Play, then Record on the track armed by a double click on its R cell.
    const struct {
        int button;
        const char* arm; // a click that makes the button available, or nothing
    } roads[] = {{32912, nullptr}, {32915, "list-row 0 4"}};
    for (const auto& road : roads) {
        const std::string id = std::to_string(road.button);
        SCOPED_TRACE(id);
        if (road.arm) {
            ASSERT_TRUE(desktop_->clickOn(road.arm, 2));
        }
        const size_t boxes = desktop_->logLines("message:").size();
        ASSERT_TRUE(desktop_->clickOn("tool " + id));
        ASSERT_TRUE(desktop_->waitUntil([&] { return desktop_->logLines("message:").size() > boxes; },
                                        "a message box"));
        ASSERT_TRUE(desktop_->waitUntil([&] { return desktop_->activeWindowId() != mainWindow; },
                                        "the box to have the focus"));
        desktop_->keys("Return");
        ASSERT_TRUE(desktop_->waitUntil([&] { return desktop_->activeWindowId() == mainWindow; },
                                        "the box to close"));
        EXPECT_EQ(desktop_->logLines("message:").size(), boxes + 1);
        for (const char* other : {"32912", "32915"}) {
            EXPECT_EQ(desktop_->answer(std::string("button-state ") + other, "button"),
                      std::string("button ") + other + " checked=0");
            EXPECT_NE(desktop_->answer(std::string("menu-state ") + other, "menu-state").find("checked=0"),
                      std::string::npos)
                << other;
        }
    }
    desktop_->screenshot("failed-play-buttons");
    // A window that plays or records stays open; this one closes.
    ASSERT_TRUE(desktop_->menuCommand('w', "o"));
    EXPECT_TRUE(
        desktop_->waitUntil([&] { return tabTitles().empty(); }, "Window > Close of the MIDI window"));
}

// What a context menu offers, and what its chosen item does
struct PopupCase {
    const char* where; // the place right-clicked, as "where" names it
    const char* items; // the menu's items, each enabled (1) or greyed (0)
    const char* keys;  // the item chosen ("" closes the menu)
    std::function<bool()> done; // the chosen item's effect shows
};

// A right click on each kind of node of a Qe style's trees, and on its row
// in the list, opens that node's menu with its items enabled by the node's
// data; the item chosen runs.
TEST_F(RealInputGui, EveryNodeOfAStyleOpensItsContextMenuAndItsItemsRun)
{
    const auto path = session_.files() / "pop.sty";
    ASSERT_EQ(writeFileAtomically(path, test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0}})),
                                                         test::stsDataEntry("PopSts", 2, 0, {0, 2})})),
              FileIoError::None);
    const auto clipboard = session_.files() / "clipboard.bin";
    // A chord variation copied: one block of content code 5 on the clipboard.
    const auto copiedCv = [&] {
        if (desktop_->answer("clipboard-read " + clipboard.string(), "clipboard-read:") != "clipboard-read: done")
            return false;
        std::vector<uint8_t> block;
        return readWholeFile(clipboard, block) == FileIoError::None && block.size() > 17 && block[17] == 5;
    };
    const auto trackEditor = [&] {
        if (!waitForActiveTab("pop.sty - EventList - V1CV1 BASS", true)) return false;
        return activateTab("pop.sty - StyleTree - Pop");
    };
    const PopupCase cases[] = {
        {"list-row 0",
         "Cut=1|Copy=1|Paste=0|Extract Item=1|Import Item(s)=1|Delete Item(s)=1|Empty Item=1|Rename Item=1|"
         "Convert style To Text=0|Convert style to MIDI=1|Convert Qe-style to Wq-style=0|Properties=1",
         "Up Return", [&] { return waitForActiveTab("pop.sty - StyleTree - Pop", true); }},
        {"tree-node Variation1", "Cut=0|Copy=1|Paste=1|Delete =1|Add CV=1|Track Info=1|Chord Table=1|NTT=1",
         "Up Return", [&] { return closeDialog("NTT"); }},
        {"tree-node Variation2", "Cut=0|Copy=0|Paste=0|Delete =0|Add CV=1|Track Info=1|Chord Table=1|NTT=1", "", {}},
        {"tree-node Variation1/CV1", "Cut=0|Copy=1|Paste=1|Delete=1|CV Parameters=0|Play CV as MIDI=1",
         "Down Return", copiedCv},
        {"tree-node Variation1/CV2", "Cut=0|Copy=0|Paste=1|Delete=0|CV Parameters=0|Play CV as MIDI=0", "", {}},
        {"tree-node Variation1/CV1/DRUM",
         "Cut=0|Copy=0|Paste=0|Delete=1|Set Key-Chord values=0|Play Track As MIDI=1|Edit Track MIDI events=1", "", {}},
        {"tree-node Variation1/CV1/PERC",
         "Cut=0|Copy=0|Paste=0|Delete=0|Set Key-Chord values=0|Play Track As MIDI=0|Edit Track MIDI events=0", "", {}},
        {"tree-node Variation1/CV1/BASS",
         "Cut=0|Copy=0|Paste=0|Delete=1|Set Key-Chord values=1|Play Track As MIDI=1|Edit Track MIDI events=1",
         "Up Return", trackEditor},
        {"tree-node \"STS Tree: PopSts\" 1", "Cut=0|Copy=1|Paste=1|Properties=1", "Up Return",
         [&] { return closeDialog("Style Performance settings"); }},
        {"tree-node \"STS Tree: PopSts/STS2\" 1", "Cut=0|Copy=0|Paste=1|Properties=0", "", {}},
        {"tree-node \"STS Tree: PopSts/STS3\" 1", "Cut=0|Copy=1|Paste=1|Properties=1", "Up Return",
         [&] { return closeDialog("STS settings: STS3"); }},
    };
    ASSERT_TRUE(desktop_->start({path.string()}));
    ASSERT_TRUE(waitForActiveTab("pop.sty", true));
    for (const PopupCase& c : cases) {
        SCOPED_TRACE(c.where);
        ASSERT_EQ(popupItems(c.where), c.items);
        if (!*c.keys) {
            desktop_->keys("Escape");
            continue;
        }
        desktop_->keys(c.keys);
        ASSERT_TRUE(c.done());
    }
    // The root runs the style flags dialog at once.
    const size_t menus = desktop_->logLines("menu-open:").size();
    ASSERT_TRUE(desktop_->clickOn("tree-node \"Style Tree: Pop\"", 1, 3));
    ASSERT_TRUE(closeDialog("Style Flags"));
    EXPECT_EQ(desktop_->logLines("menu-open:").size(), menus);
    EXPECT_TRUE(desktop_->logLines("message:").empty());
}

// The same for a pad, a Wq style and a program file: the list's menu, the
// pad tree's and the Wq style tree's, each item enabled as its rules say,
// and the chosen item runs.
TEST_F(RealInputGui, ThePadWqStyleAndProgramWindowsOpenTheirContextMenusAndTheirItemsRun)
{
    const auto pad = styleFile("pads.pad", true);
    const auto wq = session_.files() / "rock.sty";
    const auto pcg = session_.files() / "qe.pcg";
    ASSERT_EQ(writeFileAtomically(wq, test::wqStyleFile('9', {test::smallWq8Image("Rock")})), FileIoError::None);
    ASSERT_EQ(writeFileAtomically(pcg, test::qePcgImage({{"Piano", 9, 0}, {"Organ", 9, 2}})), FileIoError::None);
    const auto tab = [&](const std::string& title) { return [this, title] { return waitForActiveTab(title, true); }; };
    // The program copied: the clipboard, empty before, holds a block.
    const auto copied = [&] {
        const auto block = session_.files() / "clipboard.bin";
        return desktop_->answer("clipboard-read " + block.string(), "clipboard-read:") == "clipboard-read: done" &&
               std::filesystem::file_size(block) > 0;
    };
    const struct {
        const char* window; // the tab the menus are in
        PopupCase popup;
    } cases[] = {
        {"qe.pcg",
         {"list-row 0",
          "Cut=1|Copy=1|Paste=0|Extract Item=1|Import Item(s)=1|Delete Item(s)=1|Empty Item=1|Rename Item=1|"
          "Properties=1",
          "Down Down Return", copied}},
        // The program's block on the clipboard can be pasted from now on.
        {"pads.pad",
         {"list-row 0",
          "Cut=1|Copy=1|Paste=1|Extract Item=1|Import Item(s)=1|Delete Item(s)=1|Empty Item=1|Rename Item=1|"
          "Properties=1",
          "Up Return", tab("pads.pad - PadTree - Pad1")}},
        {"pads.pad - PadTree - Pad1",
         {"tree-node Variation1", "Cut=0|Copy=1|Paste=1|Delete =1|Add CV=1|Track Info=1|Chord Table=1|NTT=1", "",
          {}}},
        {"pads.pad - PadTree - Pad1",
         {"tree-node Variation1/CV1", "Cut=0|Copy=1|Paste=1|Delete=1|CV Parameters=0|Play CV as MIDI=1", "", {}}},
        {"pads.pad - PadTree - Pad1",
         {"tree-node Variation1/CV1/DRUM",
          "Cut=0|Copy=0|Paste=0|Delete=1|Set Key-Chord values=0|Play Track As MIDI=1|Edit Track MIDI events=1",
          "Up Return", tab("pads.pad - EventList - V1CV1 DRUM")}},
        {"rock.sty",
         {"list-row 0",
          "Cut=1|Copy=1|Paste=1|Extract Item=1|Import Item(s)=1|Delete Item(s)=1|Empty Item=1|Rename Item=1|"
          "Convert style To Text=1|Convert style to MIDI=1|Convert Qe-style to Wq-style=0|Properties=1",
          "Up Return", tab("rock.sty - StyleTree - Rock")}},
        {"rock.sty - StyleTree - Rock",
         {"tree-node Variation1/CV1", "Cut=0|Copy=0|Paste=0|Delete=0|CV Parameters=1|Play CV as MIDI=1", "Up Up Return",
          [&] { return closeDialog("Chord Variation Parameters"); }}},
        {"rock.sty - StyleTree - Rock",
         {"tree-node Variation1/CV1/BASS",
          "Cut=0|Copy=0|Paste=0|Delete=0|Set Key-Chord values=0|Play Track As MIDI=1|Edit Track MIDI events=1", "",
          {}}},
    };
    ASSERT_TRUE(desktop_->start({pad.string(), wq.string(), pcg.string()}));
    ASSERT_TRUE(waitForActiveTab("qe.pcg", true));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.window) + ": " + c.popup.where);
        ASSERT_TRUE(activateTab(c.window));
        ASSERT_EQ(popupItems(c.popup.where), c.popup.items);
        if (!*c.popup.keys) {
            desktop_->keys("Escape");
            continue;
        }
        desktop_->keys(c.popup.keys);
        ASSERT_TRUE(c.popup.done());
    }
    // A Wq element runs its chord table at once.
    ASSERT_TRUE(activateTab("rock.sty - StyleTree - Rock"));
    ASSERT_TRUE(desktop_->clickOn("tree-node Variation1", 1, 3));
    ASSERT_TRUE(closeDialog("Edit Chord Table"));
    EXPECT_TRUE(desktop_->logLines("message:").empty());
}

} // namespace
} // namespace zib
