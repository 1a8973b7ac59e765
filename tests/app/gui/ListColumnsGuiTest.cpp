// The columns of the program's lists and grids as the user sees them: wide
// enough in the font they are shown in for their header texts and typical
// values, and a cut cell's whole text as the tooltip over it.
#include "ui/texts/UiText.h"
#include "tests/app/gui/AppGuiFixture.h"
#include "tests/support/ArrFileBuilder.h"
#include "tests/support/GlobalFileBuilder.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/PrfFileBuilder.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StyFileBuilder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>

using namespace zib;
using test::ZibRun;

namespace {

// Room a cell or header keeps beside its text: 4 pixels each side.
constexpr int kTextRoom = 8;

// A song whose events have the texts the event lists are made for: a
// five-digit tick, a controller name, and a lyric longer than its column.
std::vector<uint8_t> song()
{
    test::SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000).TrackName(0, "Song");
    test::SmfTrack& t = smf.AddTrack();
    t.TrackName(0, "Strings").Program(0, 0, 48).Controller(0, 0, 0, 0).Controller(0, 0, 7, 100);
    t.Controller(12300, 0, 0, 1).NoteOn(12300, 0, 60, 100).NoteOff(12396, 0, 60);
    t.Text(12400, 0x05, "a lyric line much longer than its column is wide");
    return smf.Build();
}

// One column as "log-columns" writes it.
struct Column {
    int index = 0;
    int width = 0;
    int header = 0; // pixel widths of the header text
    int widest = 0; // and of the widest cell looked at
    std::string headerText, widestText;
};

// The columns of each "log-columns" in the run, in order.
std::vector<std::vector<Column>> columnsOf(const ZibRun& r)
{
    std::vector<std::vector<Column>> lists;
    for (const std::string& line : r.log) {
        Column c;
        if (std::sscanf(line.c_str(), "column %d: width=%d header=%d widest=%d", &c.index, &c.width, &c.header,
                        &c.widest) != 4)
            continue;
        const size_t bar = line.find('|');
        const size_t second = line.find('|', bar + 1);
        c.headerText = line.substr(bar + 1, second - bar - 1);
        c.widestText = line.substr(second + 1, line.rfind('|') - second - 1);
        if (c.index == 0) lists.emplace_back();
        if (!lists.empty()) lists.back().push_back(c);
    }
    return lists;
}

using ListColumnsGui = test::AppGui;

TEST_F(ListColumnsGui, EveryListShowsItsHeadersAndTypicalValuesWhole)
{
    // Each list of each kind of window, the rows whose cells are typical, and
    // the columns those cells must fit (the others hold names that the
    // layout's widths cut as well: sounds, ports, patches).
    const struct {
        std::string window;
        std::string script; // makes the window with the list the active child
        int rows;
        std::set<int> valueColumns;
    } windows[] = {
        {"track list", open("Song.mid", song()), 2, {0, 1, 5, 8, 10, 11, 12}},
        {"event list", "menu 57642\nmenu 32840\nactivate-child \"Event List\"\n", 3, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {"tempo list", "menu 32945\nactivate-child Master\n", 6, {0, 1, 2, 3}},
        {"Qe style list",
         open("qe.sty", test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0, 4}})),
                                         test::qeEntry("Rock", 2, 2, 1, test::qeStyleInstance({"Rock"}))})),
         2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"Wq style list", open("wq8.sty", test::wqStyleFile('9', {test::smallWq8Image("Rock")})), 1, {0, 1, 2, 3}},
        {"pad list",
         open("pads.pad", test::dasfImage({test::qeEntry("Pad1", 9, 0, 0,
                                                         test::qeStyleInstance({"Pad1", 1, {0}, 0, true}))})),
         1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"Wq program list", open("wq8.pcg", test::WqPcgBuilder('9').image()), 4, {0, 1, 2, 3}},
        {"Qe program list", open("qe.pcg", test::qePcgImage({{"Piano", 9, 0}, {"Organ", 9, 2}})), 3, {0, 1, 2}},
        {"performance list", open("live.prf", test::qePrfImage({{"Pop Live", 2, 0, test::performanceData(1, 1)}})),
         1, {0, 1, 2}},
        {"arrangement list", open("wq8.arr", test::ArrFileBuilder('9').image()), 4,
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"arrangement global list", open("r65.arg", test::argImage('M')), 22, {0, 1}},
        {"global list", open("r65.gbl", test::gblImage('M')), 49, {0, 1}},
    };
    std::string script;
    for (const auto& w : windows) script += w.script + "log-columns " + std::to_string(w.rows) + "\n";
    const ZibRun r = session_.runChecked(script + "quit\n", 60);
    const auto lists = columnsOf(r);
    ASSERT_EQ(lists.size(), std::size(windows)) << logText(r);
    for (size_t i = 0; i < lists.size(); ++i)
        for (const Column& c : lists[i]) {
            const std::string where = windows[i].window + ", column " + std::to_string(c.index);
            if (c.header > 0) {
                EXPECT_GE(c.width, c.header + kTextRoom) << where << ": header \"" << c.headerText << "\" is cut";
            }
            if (windows[i].valueColumns.count(c.index)) {
                EXPECT_GE(c.width, c.widest + kTextRoom) << where << ": \"" << c.widestText << "\" is cut";
            }
        }
}

TEST_F(ListColumnsGui, AfterALanguageSwitchEveryOpenListHeadsItsColumnsInTheNewLanguageAndWhole)
{
    // A list of each kind, open while the language changes: each window by a
    // part of its title that no other window's title holds.
    const struct {
        std::string title;
        std::string script; // opens it
    } windows[] = {
        {"Tracks.mid", open("Tracks.mid", song())},
        {"Song.mid - Event List", open("Song.mid", song()) + "menu 57642\nmenu 32840\n"},
        {"Master Track", "activate-child \"Song.mid - Event\"\nmenu 32945\n"},
        {"qe.sty",
         open("qe.sty",
              test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0, 4}}))}))},
        {"pads.pad",
         open("pads.pad", test::dasfImage({test::qeEntry(
                              "Pad1", 9, 0, 0, test::qeStyleInstance({"Pad1", 1, {0}, 0, true}))}))},
        {"qe.pcg", open("qe.pcg", test::qePcgImage({{"Piano", 9, 0}, {"Organ", 9, 2}}))},
        {"wq8.arr", open("wq8.arr", test::ArrFileBuilder('9').image())},
        {"r65.gbl", open("r65.gbl", test::gblImage('M'))},
    };
    std::string script;
    for (const auto& w : windows)
        script += w.script;
    const auto logAll = [&windows] {
        std::string lines;
        for (const auto& w : windows)
            lines += "activate-child \"" + w.title + "\"\nlog-columns 0\n";
        return lines;
    };
    script += logAll() + "menu 32995\n" + logAll() + "menu 32994\n" + logAll();
    const ZibRun r = session_.runChecked(script + "quit\n", 60);
    const auto lists = columnsOf(r);
    const size_t count = std::size(windows);
    ASSERT_EQ(lists.size(), 3 * count) << logText(r);
    for (size_t i = 0; i < count; ++i) {
        const std::vector<Column>& english = lists[i];
        for (const int language : {2, 1}) {
            const std::vector<Column>& shown = lists[(language == 2 ? 1 : 2) * count + i];
            ASSERT_EQ(shown.size(), english.size()) << windows[i].title;
            for (size_t c = 0; c < shown.size(); ++c) {
                const std::string where = windows[i].title + ", language " + std::to_string(language) +
                                          ", column " + std::to_string(c);
                EXPECT_EQ(shown[c].headerText, UiText(english[c].headerText, language)) << where;
                if (shown[c].header > 0) {
                    EXPECT_GE(shown[c].width, shown[c].header + kTextRoom)
                        << where << ": header \"" << shown[c].headerText << "\" is cut";
                }
            }
        }
    }
}

TEST_F(ListColumnsGui, ACutCellShowsItsWholeTextAsItsTooltip)
{
    // The pointer rests on cells of the track list (a report list) and of the
    // event list (a grid): over a cut one the tooltip is its text, over a
    // whole one there is none.
    const std::string script = open("Song.mid", song()) +
                               "log-list 1\ncell-tip 0 7\ncell-tip 0 1\n"
                               "menu 57642\nmenu 32840\nactivate-child \"Event List\"\nawait-idle\n"
                               "cell-tip 3 5\ncell-tip 1 5\nscreenshot event-list-columns\n";
    const ZibRun r = session_.runChecked(script + "quit\n", 60);
    // The output port's name in the track list's 7th column.
    const std::string row = r.line("row 0: ");
    std::vector<std::string> cells;
    std::stringstream in(row.substr(7));
    for (std::string cell; std::getline(in, cell, '|');) cells.push_back(cell);
    ASSERT_GT(cells.size(), 7u) << logText(r);
    ASSERT_GT(cells[7].size(), 20u) << "a port name longer than its column";
    EXPECT_EQ(r.line("cell-tip 0,7: "), "cell-tip 0,7: " + cells[7]);
    EXPECT_EQ(r.line("cell-tip 0,1: "), "cell-tip 0,1: ") << "\"Strings\" shows whole";
    EXPECT_EQ(r.line("cell-tip 3,5: "), "cell-tip 3,5: a lyric line much longer than its column is wide");
    EXPECT_EQ(r.line("cell-tip 1,5: "), "cell-tip 1,5: ") << "\"Bank Select (MSB)\" shows whole";
}

} // namespace
