// The program, arrangement and global documents in the real zib program,
// used as a user would: every kind opens from File > Open, the command line
// and a drop; items move between documents by paste and by drag with their
// model conversions; pages and dialogs change the bytes they should and
// Cancel none; edits are saved and opened again.
#include "ui/texts/ZibMessageTable.h"
#include "platform/FileIo.h"
#include "tests/support/gui/ZibSession.h"
#include "tests/support/ArrFileBuilder.h"
#include "tests/support/GlobalFileBuilder.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/PrfFileBuilder.h"
#include "tests/support/RealFixtures.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace zib;
using test::ZibRun;
using test::ZibSession;

namespace {

class ProgramDocsGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        session_.seedAuthor();
    }

    ZibRun run(const std::string& script, const std::vector<std::string>& args = {}, int seconds = 60)
    {
        return session_.runChecked(script, seconds, args);
    }

    std::string file(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = (session_.files() / name).string();
        writeFileAtomically(path, bytes);
        return path;
    }

    ZibSession session_;
};

struct Kind {
    const char* name;
    std::vector<uint8_t> image;
    const char* firstRow; // the first logged row starts with this
    int rows;
};

std::vector<Kind> everyKind()
{
    return {
        {"wq8.pcg", test::WqPcgBuilder('9').image(), "row 0: Prog1|U11|", 64},
        {"wq41.prg", test::WqPcgBuilder('I').image(), "row 0: Prog1|F11|", 128},
        {"wq6.pcg", test::WqPcgBuilder('<').image(), "row 0: Prog1|U11|", 64},
        {"t517.pcg", test::WqPcgBuilder('H').image(), "row 0: Prog1|U11|", 64},
        {"r65.prg", test::WqPcgBuilder('M').image(), "row 0: Prog1|F11|", 128},
        {"qe.pcg", test::qePcgImage({{"Piano", 9, 0}, {"Organ", 9, 2}}), "row 0: Piano|10 / 0|", 3},
        {"live.prf",
         test::qePrfImage({{"Pop Live", 2, 0, test::performanceData(1, 1)}, {"Jazz", 2, 3, test::performanceData(2, 2)}}),
         "row 0: Pop Live|3 / 0|", 4},
        {"wq8.arr", test::ArrFileBuilder('9').image(), "row 0: Arr1|D11|", 64},
        {"wq6.arr", test::ArrFileBuilder('<').image(), "row 0: Arr1|D11|", 64},
        {"r65.arr", test::ArrFileBuilder('M').image(), "row 0: Arr1|U11|", 64},
        {"wq41.arr", test::ArrFileBuilder('I', 2).image(), "row 0: Arr1|F11|", 128},
        {"wq41m1.arr", test::ArrFileBuilder('I', 1).image(), "row 0: Arr1|F11|", 128},
        {"t517.arr", test::ArrFileBuilder('H').image(), "row 0: Arr1|D11|", 64},
        {"r65.arg", test::argImage('M'), "row 0:       MIDI CHANNELS|----------", 22},
        {"wq41.arg", test::argImage('I'), "row 0:       MIDI CHANNELS|----------", 36},
        {"r65.gbl", test::gblImage('M'), "row 0: Master Tune|0", 49},
        {"wq41.gbl", test::gblImage('I'), "row 0: Master Tune|0", 69},
    };
}

// The offsets where two images differ, for the failure message.
std::string differences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    std::string out = "sizes " + std::to_string(a.size()) + " " + std::to_string(b.size()) + ":";
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i]) out += " " + std::to_string(i) + "=" + std::to_string(a[i]) + "/" + std::to_string(b[i]);
    return out;
}

std::string logOf(const ZibRun& r)
{
    std::string log;
    for (const auto& l : r.log)
        log += l + "\n";
    return log;
}

} // namespace

TEST_F(ProgramDocsGui, EveryKindOpensByFileOpenTheCommandLineAndADrop)
{
    const auto kinds = everyKind();
    std::string menuScript, dropScript;
    std::vector<std::string> paths;
    for (const Kind& k : kinds) {
        paths.push_back(file(k.name, k.image));
        menuScript += "dialog path " + paths.back() + "\nmenu 57601\nawait-child " + k.name + "\nlog-list 1\n";
        dropScript += "drop-files " + paths.back() + "\nawait-child " + k.name + "\nlog-list 1\n";
    }
    const auto check = [&](const ZibRun& r, const char* how) {
        const auto lists = r.lines("list: title=");
        const auto rows = r.lines("row 0: ");
        ASSERT_EQ(lists.size(), kinds.size()) << how << r.output;
        ASSERT_EQ(rows.size(), kinds.size()) << how;
        for (size_t i = 0; i < kinds.size(); ++i) {
            EXPECT_NE(lists[i].find(" rows=" + std::to_string(kinds[i].rows) + " "), std::string::npos)
                << how << " " << kinds[i].name << ": " << lists[i];
            EXPECT_EQ(rows[i].rfind(kinds[i].firstRow, 0), 0u) << how << " " << kinds[i].name << ": " << rows[i];
        }
    };
    check(run(menuScript + "screenshot program-docs-open\nquit\n"), "menu");
    check(run(dropScript + "quit\n"), "drop");
    // The command line opens them all; the last one is active.
    ZibRun r = run(std::string("await-child ") + kinds.back().name + "\nlog-list 1\nquit\n", paths);
    const auto list = r.line("list: title=");
    EXPECT_NE(list.find(" rows=69 "), std::string::npos) << list << r.output;
}

TEST_F(ProgramDocsGui, ItemsMoveBetweenDocumentsByPasteAndDragWithTheirConversions)
{
    const auto wq8 = file("wq8.pcg", test::WqPcgBuilder('9').image());
    const auto wq41 = file("wq41.prg", test::WqPcgBuilder('I').image());
    const auto arr8 = file("set8.arr", test::ArrFileBuilder('9').image());
    const auto r65 = file("setm.arr", test::ArrFileBuilder('M').image());
    const auto prg = (session_.files() / "pasted.WPF").string();
    const auto arr = (session_.files() / "dragged.WAF").string();
    ZibRun r = run(
        // Programs: two Wq8 programs pasted into the Wq41 file become Wq41 programs; the file
        // keeps 128, so four rows go first.
        "activate-child wq8.pcg\nselect-rows 0,1 0\nmenu 57634\n"
        "activate-child wq41.prg\nselect-rows 124,125,126,127 124\nmenu 32777\n"
        "menu 57637\nawait-idle\nlog-list 0\n"
        // A third by drag (a copy); a Wq41 program dragged onto the Wq8 file is refused.
        "drag wq8.pcg 2 wq41.prg -1 copy\nactivate-child wq41.prg\nlog-list 0\n"
        "dialog ok\ndrag wq41.prg 0 wq8.pcg 0 copy\n"
        // The pasted record, extracted: the Wq41 layout.
        "activate-child wq41.prg\nselect-rows 124 124\ndialog path " +
            prg +
            "\nmenu 32773\n"
            // ... and imported back.
            "dialog path " +
            prg +
            "\nmenu 32774\nlog-list 0\n"
            // A move inside one view: the rows go once, the pasted ones stay.
            "drag wq8.pcg 1,2 wq8.pcg 5 move\nactivate-child wq8.pcg\nlog-list 6\n"
            // Arrangements: a Wq8 arrangement pasted into the WqR65 file, a WqR65 one moved to the Wq8
            // file, each into a row deleted first (a file keeps 64).
            "activate-child set8.arr\nselect-rows 0 0\nmenu 57634\nselect-rows 63 63\nmenu 32777\n"
            "activate-child setm.arr\nselect-rows 63 63\nmenu 32777\nmenu 57637\nlog-list 0\n"
            "drag setm.arr 1 set8.arr 0 move\nactivate-child setm.arr\nlog-list 0\n"
            "activate-child set8.arr\nlog-list 1\nselect-rows 0 0\ndialog path " +
            arr +
            "\nmenu 32773\n"
            "screenshot program-docs-exchange\n"
            "dialog no\ndialog no\ndialog no\ndialog no\nquit\n",
        {wq8, wq41, arr8, r65}, 90);
    const auto lists = r.lines("list: title=");
    std::string log;
    for (const auto& l : r.log)
        log += l + "\n";
    ASSERT_EQ(lists.size(), 7u) << log;
    EXPECT_NE(lists[0].find(" rows=126 "), std::string::npos) << lists[0];
    EXPECT_NE(lists[1].find(" rows=127 "), std::string::npos) << lists[1];
    EXPECT_TRUE(r.has("message: title=OnDrop text=" + ZibMessage(40, 0))) << r.output;
    EXPECT_TRUE(r.has("drag: refused"));
    EXPECT_NE(lists[2].find(" rows=128 "), std::string::npos)
        << lists[2]; // the extracted program imported back
    // The move inside wq8.pcg: 64 rows, Prog2 and Prog3 after Prog6.
    EXPECT_NE(lists[3].find(" rows=64 "), std::string::npos) << lists[3];
    EXPECT_EQ(r.line("row 4: ").rfind("row 4: Prog2|", 0), 0u) << log;
    EXPECT_EQ(r.line("row 5: ").rfind("row 5: Prog3|", 0), 0u) << log;
    // Arrangements: 64 in the WqR65 file after the paste, 63 after its row moved away.
    EXPECT_NE(lists[4].find(" rows=64 "), std::string::npos) << lists[4];
    EXPECT_NE(lists[5].find(" rows=63 "), std::string::npos) << lists[5];
    EXPECT_NE(lists[6].find(" rows=64 "), std::string::npos) << lists[6];

    const auto program = test::readFileBytes(prg);
    ASSERT_EQ(program.size(), 5u + 172u);
    EXPECT_EQ(std::string(program.begin(), program.begin() + 5), "DASKI");
    EXPECT_EQ(program[5 + 16], 15);
    EXPECT_EQ(program[5 + 17], 0);
    const auto arrangement = test::readFileBytes(arr);
    ASSERT_EQ(arrangement.size(), 5u + 131u);
    EXPECT_EQ(std::string(arrangement.begin(), arrangement.begin() + 9), "DASK9Arr2");
}

TEST_F(ProgramDocsGui, ArrangementPagesChangeTheirBytesAndCancelNone)
{
    const auto r65 = file("setm.arr", test::ArrFileBuilder('M').image());
    ZibRun r = run(
        "select-rows 0 0\n"
        // Tempo 120 on page 1, DRUM volume 77 on page 3.
        "dialog page 0 ; select 1001 80 ; page 2 ; select 1201 77 ; ok\nmenu 32785\n"
        // Changes that Cancel drops.
        "dialog page 0 ; select 1001 10 ; page 4 ; select 1401 3 ; cancel\nmenu 32785\n"
        "menu 57603\nawait-idle\nlog-list 1\nquit\n",
        {r65});
    EXPECT_TRUE(r.has("dialog-end: title=Arrangement properties result=5100")) << r.output;
    const auto saved = test::readFileBytes(r65);
    auto expected = test::ArrFileBuilder('M').image();
    expected[32 + 21] = 90;      // tempo 120 - 30
    expected[32 + 39 + 2] = 77;  // DRUM volume
    EXPECT_EQ(saved, expected) << differences(saved, expected) << logOf(r);
}

TEST_F(ProgramDocsGui, PerformanceSettingsWriteOnOkAndNothingOnCancel)
{
    const auto data = test::performanceData(1, 1);
    const auto prf = file("live.prf", test::qePrfImage({{"Pop Live", 2, 0, data}}));
    const auto wff = (session_.files() / "pop.WFF").string();
    ZibRun r = run(
        "select-rows 0 0\n"
        // DRUM volume 77 on the style performance page.
        "dialog page 0 ; set 2120 77 ; ok\nmenu 32785\n"
        // PERC volume, tempo and the LOW volume of STS1, all dropped by Cancel.
        "dialog page 0 ; set 2121 55 ; page 1 ; set 2002 200 ; page 2 ; set 2120 11 ; cancel\nmenu 32785\n"
        "dialog path " + wff + "\nmenu 32773\ndialog no\nquit\n",
        {prf});
    EXPECT_TRUE(r.has("dialog: title=Performance settings")) << r.output;
    EXPECT_TRUE(r.has("page 2: Realtime tracks: Sound, Vol, Pan")) << logOf(r);
    auto expected = data;
    expected[136 + 12] = 77;
    const auto item = test::readFileBytes(wff);
    ASSERT_EQ(item.size(), 27u + expected.size()) << logOf(r);
    const std::vector<uint8_t> saved(item.begin() + 27, item.end());
    EXPECT_EQ(saved, expected) << differences(saved, expected) << logOf(r);
}

TEST_F(ProgramDocsGui, ProgramPagesWithNarrowGraphsDrawAndEnd)
{
    const auto wq41 = file("wq41.prg", test::WqPcgBuilder('I').image());
    ZibRun r =
        run("select-rows 0 0\n"
            // Page 6: P = (W - 20 - 99) / 99; page 12: Delay and Fade In leave no room: no wave.
            "dialog page 5 ; set 2040 99 ; set 2050 99 ; click 1427 ; page 11 ; set 3230 99 ; set 3240 99 ; "
            "set 3220 99 ; click 1427 ; page 0 ; ok\nmenu 32785\nawait-idle\n"
            "dialog no\nquit\n", // the changed program is left unsaved
            {wq41}, 40);
    EXPECT_TRUE(r.has("dialog-end: title=Program Properties result=5100")) << r.output;
}

TEST_F(ProgramDocsGui, GlobalFilesAreEditedSavedAndOpenedAgain)
{
    const auto arg = file("r65.arg", test::argImage('M'));
    const auto gbl = file("wq41.gbl", test::gblImage('I'));
    ZibRun r = run(
        "activate-child r65.arg\n"
        // Chord1 (record 9) to OFF in the "Midi Channel" dialog, auto chord scan on.
        "dialog activate 1311 9 ; check 1337 1 ; ok\ndialog select 1335 16 ; ok\nmenu 32785\n"
        "dialog check 1337 0 ; cancel\nmenu 32785\n"
        "menu 57603\nlog-list 22\n"
        "activate-child wq41.gbl\n"
        // Master tune +10, user scale 32: C at -5 in the "Scale Dialog".
        "dialog select 1402 60 ; activate 1401 31 ; ok\ndialog set 1700 -5 ; ok\nmenu 32785\n"
        "menu 57603\nlog-list 1\nquit\n",
        {arg, gbl});
    auto argBytes = test::argImage('M');
    argBytes[43] = 0xFF;
    argBytes[69] = 1;
    EXPECT_EQ(test::readFileBytes(arg), argBytes) << differences(test::readFileBytes(arg), argBytes) << logOf(r);
    EXPECT_TRUE(r.has("row 10: Chord1 MIDI Channel|OFF")) << r.output;
    auto gblBytes = test::gblImage('I');
    gblBytes[32] = 10;
    gblBytes[64 + 12 * 31] = 0xFB;
    EXPECT_EQ(test::readFileBytes(gbl), gblBytes) << differences(test::readFileBytes(gbl), gblBytes) << logOf(r);
    EXPECT_TRUE(r.has("row 0: Master Tune|10"));

    // Opened again, the saved values are there.
    ZibRun again = run("activate-child r65.arg\nlog-list 22\nquit\n", {arg});
    EXPECT_TRUE(again.has("row 21: Auto Chord Scan|ON")) << again.output;
}

TEST_F(ProgramDocsGui, Wq41ArrangementGlobalDialogWritesItsSwitches)
{
    const auto arg = file("wq41.arg", test::argImage('I'));
    ZibRun r = run(
        // Dynamic Backing on, velocity control "Fill1", Synchro Stop on, chord recognition "One Finger".
        "dialog check 1312 1 ; check 1315 1 ; check 1321 1 ; check 1331 1 ; ok\nmenu 32785\n"
        "dialog check 1322 1 ; cancel\nmenu 32785\n"
        "menu 57603\nlog-list 36\nquit\n",
        {arg});
    EXPECT_TRUE(r.has("dialog: title=WQ41 Arrangement Global Data")) << r.output;
    auto expected = test::argImage('I');
    expected[57] = 1;
    expected[58] = 2;
    expected[56] = 2;
    expected[68] = 2;
    EXPECT_EQ(test::readFileBytes(arg), expected) << differences(test::readFileBytes(arg), expected) << logOf(r);
    EXPECT_TRUE(r.has("row 35: Chord Recognition Mode|One Finger")) << logOf(r);
}

// A new program document saved under a name goes by that name, in its tab
// and in the main window's title, in place of its "unnamed" number.
TEST_F(ProgramDocsGui, ANewProgramDocumentTakesTheNameItIsSavedAs)
{
    const std::string newWq8Programs = "dialog select 1914 2 ; select 1915 1 ; ok\nmenu 57600\n";
    const std::string saved = (session_.files() / "mine.pcg").string();
    const ZibRun r = run(newWq8Programs + newWq8Programs + "log-tabs\ndialog path " + saved +
                         "\nmenu 57604\nlog-tabs\nlog-frame\n");
    const auto tabs = r.lines("tabs:");
    ASSERT_EQ(tabs.size(), 2u) << logOf(r);
    EXPECT_EQ(tabs[0], "tabs: active=unnamed2 titles=unnamed1|unnamed2") << logOf(r);
    EXPECT_EQ(tabs[1], "tabs: active=mine.pcg titles=unnamed1|mine.pcg") << logOf(r);
    EXPECT_NE(r.line("frame:").find(" title=Zib - mine.pcg"), std::string::npos) << r.line("frame:");
    EXPECT_EQ(test::readFileBytes(saved).size(), 14255u) << "a Wq8 program file";
}

// Sheets, dialogs and label editors confirmed as they opened leave the
// document unmarked. Each road runs twice with a save between, so that the
// values of the test files that no control can show (which an OK stores as
// the sheet does) are the sheet's own the second time.
struct UnchangedProgramRoad {
    const char* name;
    const char* file;
    std::vector<uint8_t> image;
    const char* steps; // on the first row
};

void PrintTo(const UnchangedProgramRoad& road, std::ostream* out)
{
    *out << road.name;
}

std::vector<UnchangedProgramRoad> unchangedProgramRoads()
{
    const char* programPages =
        "dialog page 0 ; page 1 ; page 2 ; page 3 ; page 4 ; page 5 ; page 6 ; page 7 ; "
        "page 8 ; page 9 ; page 10 ; page 11 ; ok\nmenu 32785\n";
    return {
        {"Wq8ProgramSheet", "wq8.pcg", test::WqPcgBuilder('9').image(), programPages},
        {"Wq41ProgramSheet", "wq41.prg", test::WqPcgBuilder('I').image(), programPages},
        {"PerformanceSheet", "live.prf", test::qePrfImage({{"Pop Live", 2, 0, test::performanceData(1, 1)}}),
         "dialog page 0 ; page 1 ; page 2 ; ok\nmenu 32785\n"},
        {"ArrangementSheet", "r65.arr", test::ArrFileBuilder('M').image(),
         "dialog page 0 ; page 1 ; page 2 ; page 3 ; page 4 ; ok\nmenu 32785\n"},
        // The pedal and scale lists open their own dialogs, confirmed too.
        {"GlobalData", "r65.gbl", test::gblImage('M'),
         "dialog activate 1400 0 ; activate 1401 0 ; ok\ndialog ok\ndialog ok\nmenu 32785\n"},
        {"ArrangementGlobalData", "wq41.arg", test::argImage('I'),
         "dialog activate 1311 0 ; ok\ndialog ok\nmenu 32785\n"},
        {"ProgramNameEditedAsShown", "wq8.pcg", test::WqPcgBuilder('9').image(),
         "menu 32779\nedit-label Prog1\n"},
    };
}

class UnchangedProgramWindow : public ProgramDocsGui,
                               public ::testing::WithParamInterface<UnchangedProgramRoad> {};

TEST_P(UnchangedProgramWindow, LeavesTheDocumentUnmarked)
{
    const UnchangedProgramRoad& c = GetParam();
    const std::string path = file(c.file, c.image);
    const std::string once = std::string("select-rows 0 0\n") + c.steps;
    const ZibRun r = run(once + "menu 57603\nawait-idle\n" + once + "await-idle\nlog-tabs\n", {path});
    const std::string tabs = r.line("tabs: ");
    ASSERT_FALSE(tabs.empty()) << logOf(r);
    EXPECT_EQ(tabs.find('*'), std::string::npos) << tabs << "\n" << logOf(r);
    EXPECT_TRUE(r.lines("message: ").empty()) << logOf(r);
}

INSTANTIATE_TEST_SUITE_P(Roads, UnchangedProgramWindow, ::testing::ValuesIn(unchangedProgramRoads()),
                         [](const auto& info) { return std::string(info.param.name); });
