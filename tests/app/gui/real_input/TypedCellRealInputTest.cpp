// A velocity typed into an event list with real keys and left without Enter:
// Ctrl+S saves it in one press, and File > Exit asks about it first, in the
// whole-file event list of a song and in the track editor of a style.
#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/QeStyleEditor.h"
#include "platform/FileIo.h"
#include "tests/support/NoteVelocities.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/gui/DesktopTest.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::ZibDesktop;
using test::ZibSession;
using Bytes = std::vector<uint8_t>;

constexpr int kVelocityColumn = 6;

Bytes bytesOf(const std::filesystem::path& path)
{
    Bytes bytes;
    readWholeFile(path, bytes);
    return bytes;
}

// The velocities of the BASS track of V1 CV1 in the first item of a saved style
std::vector<int> bassVelocities(const std::filesystem::path& path)
{
    CZibStyDoc doc;
    if (!doc.OpenImage(bytesOf(path), path.string()) || doc.ItemCount() == 0) return {};
    auto made = LibraryQeStyleEditor::FromItem(doc.ItemAt(0).data);
    return made.editor ? test::noteOnVelocities(made.editor->ExportSmf(0, 0), test::qeTrackChannel(2))
                       : std::vector<int>{};
}

// Where a road starts: a song's whole-file event list, or a style's track editor
struct Start {
    const char* name;
    bool style;
};

void PrintTo(const Start& start, std::ostream* out)
{
    *out << start.name;
}

class TypedCellRealInput : public test::DesktopTest<::testing::TestWithParam<Start>> {
protected:
    // The document of the road, written to the session's folder
    std::filesystem::path document()
    {
        if (GetParam().style) {
            const auto path = session_.files() / "pop.sty";
            writeFileAtomically(
                path, test::dasfImage(
                          {test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0}, 0, false}))}));
            return path;
        }
        test::SmfBuilder smf(1, 96);
        smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000).TrackName(0, "Song");
        test::SmfTrack& bass = smf.AddTrack().TrackName(0, "Bass");
        for (uint32_t beat = 0; beat < 4; ++beat)
            bass.NoteOn(beat * 96, 0, 40, 100).NoteOff(beat * 96 + 80, 0, 40);
        const auto path = session_.files() / "Song.mid";
        writeFileAtomically(path, smf.Build());
        return path;
    }

    std::vector<int> saved(const std::filesystem::path& path)
    {
        return GetParam().style ? bassVelocities(path) : test::noteOnVelocities(bytesOf(path));
    }

    std::string activeTab()
    {
        const std::string tabs = desktop_->answer("log-tabs", "tabs:");
        const size_t from = tabs.find("active="), to = tabs.find(" titles=");
        return from == std::string::npos || to == std::string::npos ? std::string()
                                                                    : tabs.substr(from + 7, to - from - 7);
    }

    // The first row of the active event list that lists a note, or -1
    int firstNoteRow()
    {
        int row = 0;
        for (const auto& line : desktop_->ask("log-grid 40")) {
            if (line.rfind("grid-row ", 0) != 0) continue;
            if (line.find("|Note|") != std::string::npos) return row;
            ++row;
        }
        return -1;
    }

    bool waitForActiveTab(const std::string& part)
    {
        return desktop_->waitUntil([&] { return activeTab().find(part) != std::string::npos; },
                                   "the tab " + part);
    }

    // The program started on the document, its event list open with clicks
    // and double clicks, `typed` typed over the first note's velocity (the
    // editor opens with it selected; "BackSpace" empties it) and no Enter
    bool typeWithoutEnter(const std::filesystem::path& path, const std::string& typed = "55")
    {
        if (!desktop_->start({path.string()})) return false;
        if (!desktop_->waitForActiveWindow(path.filename().string())) return false;
        if (GetParam().style) {
            // The item's edit frame, then the BASS track's editor
            if (!desktop_->clickOn("list-row 0", 2) || !waitForActiveTab(" - StyleTree - ")) return false;
            if (!desktop_->clickOn("tree-node Variation1/CV1/BASS", 2) ||
                !waitForActiveTab(" - EventList - "))
                return false;
        } else {
            // The track's row, then the toolbar's Edit Item
            if (!desktop_->clickOn("list-row 0 2") || !desktop_->clickOn("tool 32840") ||
                !waitForActiveTab("Song.mid - Event List"))
                return false;
        }
        const int row = firstNoteRow();
        if (row < 0) return false;
        const std::string cell = "grid-cell " + std::to_string(row) + " " + std::to_string(kVelocityColumn);
        if (!desktop_->clickOn(cell, 2)) return false;
        if (!desktop_->waitUntil(
                [&] {
                    return desktop_->answer("cell-editor", "cell-editor:").rfind("cell-editor: shown=1", 0) ==
                           0;
                },
                "the cell editor after a double click"))
            return false;
        if (typed == "BackSpace")
            desktop_->keys(typed);
        else
            desktop_->type(typed);
        return true;
    }

};

const std::vector<int> kTyped{55, 100, 100, 100};

TEST_P(TypedCellRealInput, CtrlSSavesTheOpenCellInOnePress)
{
    const auto path = document();
    ASSERT_TRUE(typeWithoutEnter(path));
    desktop_->keys("ctrl+s");
    ASSERT_TRUE(desktop_->waitUntil([&] { return saved(path) == kTyped; }, "the saved file"));
    EXPECT_EQ(activeTab().find('*'), std::string::npos) << "saved: no mark";
}

TEST_P(TypedCellRealInput, ExitAsksAndYesSavesTheOpenCell)
{
    const auto path = document();
    ASSERT_TRUE(typeWithoutEnter(path));
    ASSERT_TRUE(desktop_->menuCommand('f', "x"));
    // The question, answered Yes with the keyboard's default button
    ASSERT_TRUE(
        desktop_->waitUntil([&] { return !desktop_->logLines("message: ").empty(); }, "the question"));
    EXPECT_NE(desktop_->logLines("message: ").back().find("Save changes to " + path.filename().string()),
              std::string::npos);
    desktop_->keys("Return");
    const test::ZibRun run = desktop_->finish();
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(saved(path), kTyped);
}

// An emptied velocity does not parse: Enter, Ctrl+S, File > Exit and a click
// on another cell stop at the cell's message, closed with Return; the editor stays open, empty,
// nothing is saved and the program goes on.
TEST_P(TypedCellRealInput, AnEmptiedCellStopsEnterCtrlSExitAndAClickWithItsMessage)
{
    const auto path = document();
    const std::vector<int> before = saved(path);
    ASSERT_TRUE(typeWithoutEnter(path, "BackSpace"));
    // The velocity of the note below: a click there would end the edit
    const std::string nextCell =
        "grid-cell " + std::to_string(firstNoteRow() + 1) + " " + std::to_string(kVelocityColumn);
    const auto refused = [&](const std::string& road) {
        const size_t shown = desktop_->logLines("message: ").size();
        if (road == "exit")
            desktop_->menuCommand('f', "x");
        else if (road == "click")
            desktop_->clickOn(nextCell);
        else
            desktop_->keys(road);
        if (!desktop_->waitUntil([&] { return desktop_->logLines("message: ").size() > shown; },
                                 road + ": the message"))
            return;
        EXPECT_NE(desktop_->logLines("message: ").back().find("text=The cell needs a number."),
                  std::string::npos);
        desktop_->keys("Return");
        EXPECT_TRUE(desktop_->waitUntil(
            [&] {
                return desktop_->answer("cell-editor", "cell-editor:").rfind("cell-editor: shown=1", 0) == 0;
            },
            road + ": the editor still open"));
    };
    refused("Return");
    refused("ctrl+s");
    refused("click");
    refused("exit");
    EXPECT_TRUE(desktop_->running());
    EXPECT_EQ(saved(path), before);
    // The cell takes a number again, and Ctrl+S saves it.
    desktop_->type("55");
    desktop_->keys("ctrl+s");
    EXPECT_TRUE(desktop_->waitUntil([&] { return saved(path) == kTyped; }, "the saved file"));
}

INSTANTIATE_TEST_SUITE_P(EventLists, TypedCellRealInput,
                         ::testing::Values(Start{"MidiEventList", false}, Start{"StyleTrackEditor", true}),
                         [](const ::testing::TestParamInfo<Start>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace zib
