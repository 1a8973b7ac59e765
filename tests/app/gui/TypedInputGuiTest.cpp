// A value typed into a cell of an event list and left without Enter: every
// command that saves or closes its document takes it first, as Enter would;
// Close All and Exit ask about every changed document before any window
// goes; a value that does not parse stops the command with the cell's
// message and stays in the cell.
#include "midi/CMidiParserEx.h"
#include "tests/app/gui/AppGuiFixture.h"
#include "tests/support/NoteVelocities.h"
#include "tests/support/QeStyleContents.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StyFileBuilder.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace zib {
namespace {

using test::ZibRun;
using Bytes = std::vector<uint8_t>;

// The whole-file event list of both tracks of song(): row 2 is a note of
// velocity 100, column 6 its velocity.
constexpr const char* kOpenEventList = "menu 57642\nmenu 32840\nawait-child Event List\nawait-idle\n";
constexpr const char* kTypeInEventList = "grid-type 2 6 42\n";
// The first note of the BASS track of a Qe style in its track editor
constexpr const char* kOpenTrackEditor = "select-rows 0 0\nmenu 32785\nselect-node Variation1/CV1/BASS\nmenu "
                                         "32848\nawait-child EventList\nawait-idle\n";
constexpr const char* kTypeInTrackEditor = "grid-type 3 6 55\n";

// The questions asked before the run's last "tabs:" line (a document still
// changed is asked about again as the run ends)
size_t questionsAsked(const ZibRun& r)
{
    size_t asked = 0, counted = 0;
    for (const auto& line : r.log) {
        if (line.rfind("message: ", 0) == 0) ++counted;
        if (line.rfind("tabs: ", 0) == 0) asked = counted;
    }
    return asked;
}

class TypedInputGui : public test::AppGui {
protected:
    ZibRun run(const std::string& script, const std::vector<std::string>& args)
    {
        return session_.runChecked(script, 60, args);
    }
    std::string file(const std::string& name, const Bytes& bytes)
    {
        const std::string path = (session_.files() / name).string();
        EXPECT_EQ(writeFileAtomically(path, bytes), FileIoError::None);
        return path;
    }
    static Bytes read(const std::string& path)
    {
        Bytes bytes;
        readWholeFile(path, bytes);
        return bytes;
    }
    static std::string logOf(const ZibRun& r) { return logText(r); }

    // Format 1 at division 96: the conductor, then two tracks on channels 1
    // and 2, each with a note of velocity 100 on each beat of one bar
    std::string song(const std::string& name)
    {
        test::SmfBuilder smf(1, 96);
        smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000).TrackName(0, "Song");
        for (int k = 1; k <= 2; ++k) {
            test::SmfTrack& t = smf.AddTrack();
            t.TrackName(0, "Track " + std::to_string(k)).Program(0, k - 1, k);
            for (uint32_t beat = 0; beat < 4; ++beat)
                t.NoteOn(beat * 96, k - 1, 60 + k, 100).NoteOff(beat * 96 + 48, k - 1, 60 + k);
        }
        return file(name, smf.Build());
    }
    std::string style(const std::string& name)
    {
        return file(name, test::dasfImage({test::qeEntry("Pop", 2, 2, 0,
                                                         test::qeStyleInstance({"Pop", 0, {0}, 0, false}))}));
    }
};

// One road from a typed cell to the file: the script after the typing, and what it leaves
struct Road {
    const char* name;
    const char* steps;
    bool saved;       // the file holds the typed value
    bool windowsStay; // every window is still there, as it was
    bool ends;        // the program ends with the steps
};

// The script after a road's steps: the tabs once more unless the program
// ended, and No to the question about the document the road left changed.
std::string afterRoad(const Road& road)
{
    if (road.ends) return {};
    return std::string("log-tabs\n") + (road.windowsStay && !road.saved ? "dialog no\n" : "");
}

void PrintTo(const Road& road, std::ostream* out)
{
    *out << road.name;
}

const Road kRoads[] = {
    {"Save", "menu 57603\n", true, true, false},
    {"CloseYes", "dialog yes\nmenu 57602\n", true, false, false},
    {"CloseAllYes", "dialog yes\nmenu 4002\n", true, false, false},
    {"CloseAllNo", "dialog no\nmenu 4002\n", false, false, false},
    {"CloseAllCancel", "dialog cancel\nmenu 4002\n", false, true, false},
    {"ExitYes", "dialog yes\nmenu 57665\n", true, false, true},
    {"ExitNo", "dialog no\nmenu 57665\n", false, false, true},
    {"ExitCancel", "dialog cancel\nmenu 57665\n", false, true, false},
};

class TypedInMidiEventList : public TypedInputGui, public ::testing::WithParamInterface<Road> {};

TEST_P(TypedInMidiEventList, TakesTheTypedValue)
{
    const Road& road = GetParam();
    const std::string path = song("Song.mid");
    const Bytes before = read(path);
    const ZibRun r = run(
        std::string(kOpenEventList) + kTypeInEventList + "log-tabs\n" + road.steps + afterRoad(road), {path});
    const std::string log = logOf(r);
    ASSERT_TRUE(r.has("grid-type 2,6: 100 -> 42")) << log;
    const std::vector<int> saved = test::noteOnVelocities(read(path));
    if (road.saved) {
        EXPECT_EQ(std::count(saved.begin(), saved.end(), 42), 1) << log;
        EXPECT_EQ(saved.size(), 8u);
    } else {
        EXPECT_EQ(read(path), before) << log;
    }
    const size_t asked = road.windowsStay ? questionsAsked(r) : r.lines("message: ").size();
    EXPECT_EQ(asked, std::string(road.steps).find("dialog") == 0 ? 1u : 0u) << log;
    const auto tabs = r.lines("tabs: ");
    if (road.windowsStay) {
        ASSERT_EQ(tabs.size(), 2u) << log;
        EXPECT_NE(tabs[1].find("Song.mid - Event List"), std::string::npos) << tabs[1];
        EXPECT_NE(tabs[1].find("titles=Song.mid"), std::string::npos) << tabs[1];
        EXPECT_EQ(tabs[1].find("Song.mid*") != std::string::npos, !road.saved) << tabs[1];
    } else if (!road.ends) {
        ASSERT_EQ(tabs.size(), 2u) << log;
        EXPECT_EQ(tabs[1].find("Song.mid"), std::string::npos) << "every window closed: " << tabs[1];
    }
}

INSTANTIATE_TEST_SUITE_P(Roads, TypedInMidiEventList, ::testing::ValuesIn(kRoads),
                         [](const ::testing::TestParamInfo<Road>& info) {
                             return std::string(info.param.name);
                         });

class TypedInStyleTrackEditor : public TypedInputGui, public ::testing::WithParamInterface<Road> {};

TEST_P(TypedInStyleTrackEditor, TakesTheTypedValue)
{
    const Road& road = GetParam();
    const std::string path = style("pop.sty");
    const Bytes before = read(path);
    const test::QeStyleContents style = test::qeStyleFileContents(path, false);
    const ZibRun r =
        run(std::string(kOpenTrackEditor) + kTypeInTrackEditor + road.steps + afterRoad(road), {path});
    const std::string log = logOf(r);
    ASSERT_TRUE(r.has("grid-type 3,6: 100 -> 55")) << log;
    // The whole style saved: the typed velocity alone differs.
    if (road.saved)
        EXPECT_EQ(test::contentDifferences(style, test::qeStyleFileContents(path, false)),
                  std::vector<std::string>{"item 1 " + test::qeNoteName(0, 0, 2, 1) + " velocity: 100 -> 55"})
            << log;
    else
        EXPECT_EQ(read(path), before) << log;
    const size_t asked = road.windowsStay ? questionsAsked(r) : r.lines("message: ").size();
    EXPECT_EQ(asked, std::string(road.steps).find("dialog") == 0 ? 1u : 0u) << log;
    if (road.windowsStay) {
        const std::string tabs = r.line("tabs: ");
        EXPECT_NE(tabs.find(" - EventList - "), std::string::npos) << tabs;
        EXPECT_NE(tabs.find(" - StyleTree - "), std::string::npos) << tabs;
        EXPECT_NE(tabs.find("titles=pop.sty"), std::string::npos) << tabs;
    }
}

INSTANTIATE_TEST_SUITE_P(Roads, TypedInStyleTrackEditor, ::testing::ValuesIn(kRoads),
                         [](const ::testing::TestParamInfo<Road>& info) {
                             return std::string(info.param.name);
                         });

// Close All and Exit with an unchanged song beside the changed one: Cancel
// on the question leaves both, with all their windows; No closes everything
// and leaves both files as they were.
TEST_F(TypedInputGui, CloseAllAndExitAskBeforeClosingAnyDocument)
{
    for (const char* command : {"menu 4002\n", "menu 57665\n"}) {
        SCOPED_TRACE(command);
        const bool exits = std::string(command) == "menu 57665\n"; // No ends the program
        const std::string changed = song("Changed.mid");
        const std::string unchanged = song("Unchanged.mid");
        const Bytes before = read(changed);
        const ZibRun r = run("dialog path \"" + unchanged +
                                 "\"\nmenu 57601\nawait-child Unchanged.mid\nactivate-child Changed.mid\n" +
                                 kOpenEventList + kTypeInEventList + "dialog cancel\n" + command +
                                 "log-tabs\n" + "dialog no\n" + command + (exits ? "" : "log-tabs\n"),
                             {changed});
        const std::string log = logOf(r);
        const auto tabs = r.lines("tabs: ");
        ASSERT_EQ(tabs.size(), exits ? 1u : 2u) << log;
        EXPECT_NE(tabs[0].find("Unchanged.mid"), std::string::npos) << tabs[0];
        EXPECT_NE(tabs[0].find("Changed.mid - Event List"), std::string::npos) << tabs[0];
        EXPECT_NE(tabs[0].find("Changed.mid*|"), std::string::npos) << tabs[0];
        if (!exits) {
            EXPECT_EQ(tabs[1].find(".mid"), std::string::npos) << "every window closed: " << tabs[1];
        }
        const auto questions = r.lines("message: ");
        ASSERT_EQ(questions.size(), 2u) << log;
        for (const auto& q : questions)
            EXPECT_NE(q.find("Save changes to Changed.mid"), std::string::npos) << q;
        EXPECT_EQ(read(changed), before);
    }
}

// Two changed documents, the first answered No and the second Cancel: the
// round stops, and the first keeps its change as the second does (its mark,
// its value, the question at the next Exit), which Yes then saves.
struct TwoDocuments {
    const char* name;
    const char* command; // Close All or Exit
    bool styles;         // two styles in their track editors, else two songs in their event lists
};

void PrintTo(const TwoDocuments& c, std::ostream* out)
{
    *out << c.name;
}

class NoThenCancel : public TypedInputGui, public ::testing::WithParamInterface<TwoDocuments> {};

TEST_P(NoThenCancel, LeavesBothDocumentsChanged)
{
    const TwoDocuments& c = GetParam();
    const std::string first = c.styles ? style("first.sty") : song("First.mid");
    const std::string second = c.styles ? style("second.sty") : song("Second.mid");
    const Bytes before = read(first);
    const test::QeStyleContents original =
        c.styles ? test::qeStyleFileContents(first, false) : test::QeStyleContents{};
    const std::string edit = c.styles ? std::string(kOpenTrackEditor) + kTypeInTrackEditor
                                      : std::string(kOpenEventList) + kTypeInEventList;
    const std::string secondName = std::filesystem::path(second).filename().string();
    const ZibRun r = run(edit + "dialog path \"" + second + "\"\nmenu 57601\nawait-child " + secondName +
                             "\nawait-idle\n" + edit + "dialog no\ndialog cancel\n" + c.command +
                             "log-tabs\n" + "dialog yes\ndialog yes\nmenu 57665\n",
                         {first});
    const std::string log = logOf(r);
    const std::string tabs = r.line("tabs: ");
    const std::string firstName = std::filesystem::path(first).filename().string();
    EXPECT_NE(tabs.find(firstName + "*"), std::string::npos) << tabs;
    EXPECT_NE(tabs.find(secondName + "*"), std::string::npos) << tabs;
    const auto questions = r.lines("message: ");
    ASSERT_EQ(questions.size(), 4u) << log;
    for (size_t i = 0; i < questions.size(); ++i)
        EXPECT_NE(questions[i].find("Save changes to " + (i % 2 ? secondName : firstName)), std::string::npos)
            << questions[i];
    for (const std::string& path : {first, second}) {
        if (c.styles) {
            EXPECT_EQ(
                test::contentDifferences(original, test::qeStyleFileContents(path, false)),
                std::vector<std::string>{"item 1 " + test::qeNoteName(0, 0, 2, 1) + " velocity: 100 -> 55"})
                << path << "\n"
                << log;
        } else {
            const std::vector<int> saved = test::noteOnVelocities(read(path));
            EXPECT_EQ(std::count(saved.begin(), saved.end(), 42), 1) << path << "\n" << log;
        }
    }
    EXPECT_NE(read(first), before);
}

const TwoDocuments kTwoDocuments[] = {
    {"CloseAllSongs", "menu 4002\n", false},
    {"ExitSongs", "menu 57665\n", false},
    {"CloseAllStyles", "menu 4002\n", true},
    {"ExitStyles", "menu 57665\n", true},
};

INSTANTIATE_TEST_SUITE_P(Rounds, NoThenCancel, ::testing::ValuesIn(kTwoDocuments),
                         [](const ::testing::TestParamInfo<TwoDocuments>& info) {
                             return std::string(info.param.name);
                         });

// Save As onto the file of another open document is refused with a message:
// the two would save over each other. The file and both windows stay as they were.
TEST_F(TypedInputGui, SaveAsOntoTheFileOfAnotherOpenDocumentIsRefused)
{
    struct Case {
        std::string first, second;
    };
    for (const Case& c :
         {Case{song("First.mid"), song("Second.mid")}, Case{style("first.sty"), style("second.sty")}}) {
        SCOPED_TRACE(c.first);
        const Bytes before = read(c.first);
        const std::string firstName = std::filesystem::path(c.first).filename().string();
        const std::string secondName = std::filesystem::path(c.second).filename().string();
        const ZibRun r =
            run("dialog path \"" + c.second + "\"\nmenu 57601\nawait-child " + secondName +
                    "\nawait-idle\ndialog path \"" + c.first + "\"\ndialog ok\nmenu 57604\nlog-tabs\n",
                {c.first});
        const std::string log = logOf(r);
        const auto messages = r.lines("message: ");
        ASSERT_EQ(messages.size(), 1u) << log;
        EXPECT_NE(messages[0].find("text=" + c.first + " is open in another window."), std::string::npos)
            << messages[0];
        EXPECT_EQ(read(c.first), before);
        EXPECT_EQ(r.line("tabs: "), "tabs: active=" + secondName + " titles=" + firstName + "|" + secondName)
            << log;
    }
}

// A number cell emptied does not parse: Save, Close and Exit stop at the
// cell's message, nothing is saved or closed and the cell keeps what was typed.
TEST_F(TypedInputGui, AValueThatDoesNotParseStopsSaveCloseAndExit)
{
    for (const char* command : {"menu 57603\n", "menu 57602\n", "menu 4002\n", "menu 57665\n"}) {
        SCOPED_TRACE(command);
        const std::string path = song("Song.mid");
        const Bytes before = read(path);
        const ZibRun r = run(std::string(kOpenEventList) + "grid-type 2 6 -\ndialog ok\n" + command +
                                 "cell-editor\nlog-tabs\nlog-grid 3\n",
                             {path});
        const std::string log = logOf(r);
        ASSERT_TRUE(r.has("grid-type 2,6: 100 -> ")) << log;
        const auto messages = r.lines("message: ");
        ASSERT_EQ(messages.size(), 1u) << log;
        EXPECT_NE(messages[0].find("text=The cell needs a number."), std::string::npos) << messages[0];
        EXPECT_EQ(r.line("cell-editor:").rfind("cell-editor: shown=1", 0), 0u) << r.line("cell-editor:");
        EXPECT_NE(r.line("tabs: ").find("Song.mid - Event List"), std::string::npos) << r.line("tabs: ");
        EXPECT_EQ(read(path), before);
    }
}

// The event list's own window closed (its tab's close button) with a value
// typed: the value goes into the song, which Save then writes; an emptied
// cell keeps the window open with the cell's message (and a double click
// on the open cell tries its text first, with the same message).
TEST_F(TypedInputGui, ClosingTheEventListTakesTheTypedValue)
{
    const std::string path = song("Song.mid");
    const ZibRun r = run(std::string(kOpenEventList) + "grid-type 2 6 -\ndialog ok\nclose-active\n" +
                             "dialog ok\ngrid-type 2 6 42\nclose-active\nlog-tabs\nmenu 57603\n",
                         {path});
    const std::string log = logOf(r);
    const auto closes = r.lines("close-active: ");
    ASSERT_EQ(closes.size(), 2u) << log;
    EXPECT_EQ(closes[0], "close-active: refused");
    EXPECT_EQ(closes[1], "close-active: closed");
    EXPECT_EQ(r.line("tabs: "), "tabs: active=Song.mid* titles=Song.mid*") << log;
    const std::vector<int> saved = test::noteOnVelocities(read(path));
    EXPECT_EQ(std::count(saved.begin(), saved.end(), 42), 1) << log;
}

// A track name typed into the list's rename editor and left open goes into
// the file that Save writes.
TEST_F(TypedInputGui, SaveTakesAnOpenRenameOfATrack)
{
    const std::string path = song("Song.mid");
    const ZibRun r = run("list-select 0\nmenu 32779\nawait-idle\nlabel-type Lead\nmenu 57603\nlog-tabs\n", {path});
    ASSERT_TRUE(r.has("label-type: Lead")) << logOf(r);
    CMidiParserEx saved;
    const Bytes bytes = read(path);
    ASSERT_EQ(saved.ParseImage(bytes.data(), uint32_t(bytes.size())), 0);
    std::vector<std::string> names;
    for (const auto& e : saved.GetEvents())
        if (e->status == 0xFF && e->data.size() > 3 && e->data[1] == 0x03 &&
            e->data[2] < 0x80) // FF 03 length text
            names.emplace_back(e->data.begin() + 3, e->data.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "Lead"), names.end()) << logOf(r);
    EXPECT_EQ(r.line("tabs: ").find('*'), std::string::npos) << r.line("tabs: ");
}

} // namespace
} // namespace zib
