// A value typed into a cell of an event list and left without Enter: every
// command that refills or drops the list's rows (a filter, Insert, Delete,
// Paste, Shift, Transpose, Set Tempo, Undo, Redo) and a change of window
// takes it first, as Enter would, in the whole-file event list of a song and
// in the track editor of a style. A text that does not parse stops the
// command with the cell's message, and the cell stays open with it.
#include "platform/FileIo.h"
#include "tests/mididoc/gui/RunLog.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/gui/ZibSession.h"

#include <gtest/gtest.h>

#include <array>

#include <ostream>

namespace zib {
namespace {

using test::ZibRun;

// Where the cell is typed into: the list, how it opens, the row of a note of
// velocity 100 and the tab of another window of the same document
struct List {
    const char* name;
    bool style;
    const char* open;
    int noteRow;
    const char* otherWindow;
};

const List kMidiList{"MidiEventList", false, "menu 57642\nmenu 32840\nawait-child Event List\nawait-idle\n",
                     2, "Song.mid"};
const List kStyleTrackEditor{"StyleTrackEditor", true,
                             "select-rows 0 0\nmenu 32785\nselect-node Variation1/CV1/BASS\nmenu 32848\n"
                             "await-child EventList\nawait-idle\n",
                             3, "StyleTree"};

void PrintTo(const List& list, std::ostream* out)
{
    *out << list.name;
}

// One command run with the cell open, on the lists that have it; or, with
// no command, another window of the document made active and then the list
// again
struct Road {
    const char* name;
    const char* before;  // run before the cell is typed into
    const char* command; // the command, the only step when the typed text does not parse
    const char* answer;  // the answer to the command's own dialog ("" for none)
    const char* after;   // what shows the typed value went in (Redo after Undo ...)
    int typedRows;       // the rows that show the typed value then
    bool wholeFileOnly;  // a style's track editor has no such command (and no clipboard)
};

void PrintTo(const Road& road, std::ostream* out)
{
    *out << road.name;
}

// An edit of row 0 made with Enter, for Undo; and undone, for Redo
constexpr const char* kEdited = "grid-edit 0 6 50\n";
constexpr const char* kEditedAndUndone = "grid-edit 0 6 50\nmenu 57643\n";

const Road kRoads[] = {
    {"ControlFilter", "", "menu 32843\n", "", "", 1, false},
    {"InsertItem", "", "menu 32868\n", "", "", 2, false}, // a copy of the focused event
    {"DeleteThenUndo", "", "menu 32777\n", "", "menu 57643\n", 1, false},
    {"Paste", "grid-select 0\nmenu 57634\n", "menu 57637\n", "dialog cancel\n", "", 1, true},
    {"Shift", "", "menu 32964\n", "dialog cancel\n", "", 1, true},
    {"Transpose", "", "menu 32963\n", "dialog cancel\n", "", 1, true},
    {"SetTempo", "", "menu 32930\n", "", "", 1, true},
    {"UndoThenRedo", kEdited, "menu 57643\n", "", "menu 57644\n", 1, false},
    {"Redo", kEditedAndUndone, "menu 57644\n", "", "", 1, false},
    {"OtherWindow", "", "", "", "", 1, false},
};

// Every road on every list that has it
std::vector<std::tuple<List, Road>> listRoads(bool commandsOnly)
{
    std::vector<std::tuple<List, Road>> all;
    for (const List& list : {kMidiList, kStyleTrackEditor})
        for (const Road& road : kRoads)
            if ((!road.wholeFileOnly || !list.style) && (!commandsOnly || *road.command))
                all.emplace_back(list, road);
    return all;
}

std::string nameOf(const ::testing::TestParamInfo<std::tuple<List, Road>>& info)
{
    return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

class OpenCellGui : public ::testing::TestWithParam<std::tuple<List, Road>> {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        session_.seedAuthor();
    }

    const List& list() const { return std::get<0>(GetParam()); }
    const Road& road() const { return std::get<1>(GetParam()); }

    // The song of two tracks, each with a note of velocity 100 on each beat
    // of one bar, or a Qe style; its path
    std::string document()
    {
        std::vector<uint8_t> bytes;
        if (list().style) {
            bytes = test::dasfImage(
                {test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0}, 0, false}))});
        } else {
            test::SmfBuilder smf(1, 96);
            smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000).TrackName(0, "Song");
            for (int k = 1; k <= 2; ++k) {
                test::SmfTrack& t = smf.AddTrack();
                t.TrackName(0, "Track " + std::to_string(k)).Program(0, k - 1, k).Controller(0, k - 1, 7, 90);
                for (uint32_t beat = 0; beat < 4; ++beat)
                    t.NoteOn(beat * 96, k - 1, 60 + k, 100).NoteOff(beat * 96 + 48, k - 1, 60 + k);
            }
            bytes = smf.Build();
        }
        const auto path = session_.files() / (list().style ? "pop.sty" : "Song.mid");
        EXPECT_EQ(writeFileAtomically(path, bytes), FileIoError::None);
        return path.string();
    }

    // The note's row selected, as the first click of a double click does,
    // then (after `between`) its velocity typed into without Enter
    std::string typeInto(const std::string& text, const std::string& between = {}) const
    {
        const std::string row = std::to_string(list().noteRow);
        return "grid-select " + row + "\n" + between + "grid-type " + row + " 6 " + text + "\n";
    }

    // The road's command, or a visit to the document's other window and back
    std::string command() const
    {
        if (*road().command) return road().command;
        return std::string("activate-child ") + list().otherWindow + "\nactivate-child " +
               (list().style ? "EventList" : "Event List") + "\n";
    }

    // The message boxes shown while the script ran (not the question as the program ends)
    static std::vector<std::string> messages(const ZibRun& r)
    {
        std::vector<std::string> shown;
        for (const auto& line : r.log) {
            if (line == "script-end") break;
            if (line.rfind("message: ", 0) == 0) shown.push_back(line);
        }
        return shown;
    }

    // What the list and the tabs showed at the first two looks (log-grid
    // and log-tabs), the typing left out
    static std::array<std::vector<std::string>, 2> twoLooks(const ZibRun& r)
    {
        std::array<std::vector<std::string>, 2> seen;
        int part = -1;
        for (const auto& line : r.log) {
            if (line.rfind("grid: ", 0) == 0) ++part;
            const bool looked = line.rfind("grid", 0) == 0 || line.rfind("tabs: ", 0) == 0;
            if (part >= 0 && part < 2 && looked && line.rfind("grid-type ", 0) != 0)
                seen[size_t(part)].push_back(line);
        }
        return seen;
    }

    test::ZibSession session_;
};

// The typed velocity goes in before the command runs: the list shows it,
// the editor is closed and the document is marked changed (the question as
// the program ends is answered No).
TEST_P(OpenCellGui, TheCommandTakesTheTypedValueFirst)
{
    const std::string path = document();
    const ZibRun r = session_.runChecked(std::string(list().open) + road().before + typeInto("42") +
                                             road().answer + command() + road().after +
                                             "cell-editor\ngrid-count 6 42\nlog-tabs\ndialog no\n",
                                         60, {path});
    const std::string log = test::RunLog(r);
    ASSERT_NE(r.line("grid-type ").find(": 100 -> 42"), std::string::npos) << log;
    EXPECT_EQ(r.line("cell-editor:").rfind("cell-editor: shown=0", 0), 0u) << log;
    EXPECT_EQ(
        r.line("grid-count ").rfind("grid-count 6 42 = " + std::to_string(road().typedRows) + " of ", 0), 0u)
        << log;
    EXPECT_TRUE(messages(r).empty()) << log;
    EXPECT_NE(r.line("tabs: ").find('*'), std::string::npos) << r.line("tabs: ");
}

class RefusedCellGui : public OpenCellGui {};

// A velocity emptied does not parse: the command stops at the cell's
// message, the cell stays open with its text and the list and the
// document's mark are as they were.
TEST_P(RefusedCellGui, AValueThatDoesNotParseStopsTheCommand)
{
    const std::string path = document();
    const std::string look = "log-grid 12\nlog-tabs\n";
    // A road that edited before asks about the change as the program ends
    const bool changedBefore = std::string(road().before).find("grid-edit") != std::string::npos;
    const ZibRun r = session_.runChecked(std::string(list().open) + road().before + typeInto("-", look) +
                                             "dialog ok\n" + road().command + "cell-editor\n" + look +
                                             (changedBefore ? "dialog no\n" : ""),
                                         60, {path});
    const std::string log = test::RunLog(r);
    const auto shown = messages(r);
    ASSERT_EQ(shown.size(), 1u) << log;
    EXPECT_NE(shown[0].find("text=The cell needs a number."), std::string::npos) << shown[0];
    EXPECT_EQ(r.line("cell-editor:"), "cell-editor: shown=1 row=" + std::to_string(list().noteRow) + " col=6")
        << log;
    const auto seen = twoLooks(r);
    EXPECT_EQ(seen[1], seen[0]) << log;
}

class LeftCellGui : public OpenCellGui {};

// A text that does not parse stays in its open cell while another window
// of the document is active and after the list is active again: no
// message, nothing taken, the list and the document's mark as they were.
TEST_P(LeftCellGui, ATextThatDoesNotParseStaysInTheOpenCell)
{
    const std::string path = document();
    const std::string look = "log-grid 12\nlog-tabs\n";
    const ZibRun r = session_.runChecked(
        std::string(list().open) + typeInto("-", look) + command() + "cell-editor\n" + look, 60, {path});
    const std::string log = test::RunLog(r);
    EXPECT_TRUE(messages(r).empty()) << log;
    EXPECT_EQ(r.line("cell-editor:"), "cell-editor: shown=1 row=" + std::to_string(list().noteRow) + " col=6")
        << log;
    const auto seen = twoLooks(r);
    EXPECT_EQ(seen[1], seen[0]) << log;
}

INSTANTIATE_TEST_SUITE_P(Roads, OpenCellGui, ::testing::ValuesIn(listRoads(false)), nameOf);
INSTANTIATE_TEST_SUITE_P(Commands, RefusedCellGui, ::testing::ValuesIn(listRoads(true)), nameOf);
INSTANTIATE_TEST_SUITE_P(OtherWindow, LeftCellGui,
                         ::testing::Values(std::make_tuple(kMidiList, kRoads[std::size(kRoads) - 1]),
                                           std::make_tuple(kStyleTrackEditor, kRoads[std::size(kRoads) - 1])),
                         nameOf);

} // namespace
} // namespace zib
