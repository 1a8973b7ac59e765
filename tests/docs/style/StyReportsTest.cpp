#include "docs/style/core/StyCommandRules.h"
#include "docs/style/core/StyReports.h"

#include "platform/FileIo.h"
#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/WqImageBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using Doc = test::StyDocHarness;
using test::WqEv;

// A Wq style with every kind of channel event in three sequences (VAR1 CV1
// DRUM and BASS, END2 CV2 ACC3) and one pattern.
std::vector<uint8_t> busyStyle(char model = '9')
{
    test::WqImageBuilder b = test::WqImageBuilder::fromEmptyItem(model);
    b.name("Busy").tempo(110).timeSig(19).track(0, 0x0200, 100, 15).track(2, 0x0021, 90, 10).track(5, 0x0105, 80, 20);
    b.cv(0, 0, 0, 1).cv(7, 1, 3, 1);
    b.slot(0, 0, 0, {WqEv::bar(0), WqEv::note(0, 36, 100, 48), WqEv::control(0, 7, 90), WqEv::pitchBend(10, 9000),
                     WqEv::control(20, 10, 64), WqEv::end(0)});
    b.slot(0, 0, 2, {WqEv::bar(0), WqEv::program(0, 0x0021), WqEv::aftertouch(5, 40), WqEv::note(0, 40, 90, 96),
                     WqEv::poly(8, 40, 30), WqEv::end(0)});
    b.slot(7, 1, 5, {WqEv::bar(0), WqEv::control(0, 7, 70), WqEv::note(0, 60, 80, 96), WqEv::pitchBend(30, 100),
                     WqEv::end(0)});
    b.pattern(0, 19, 1, {WqEv::bar(0), WqEv::control(0, 11, 100), WqEv::note(0, 48, 70, 48), WqEv::end(0)});
    return b.build();
}

uint16_t offsetWord(const std::vector<uint8_t>& d, size_t at)
{
    return uint16_t(d[at] | d[at + 1] << 8);
}

// Every non-empty sequence of an image as a line of event bytes.
std::string sequencesOf(const std::vector<uint8_t>& d, size_t table)
{
    std::string out;
    char text[16];
    for (size_t i = 0; i < 316; ++i) {
        const size_t start = offsetWord(d, table + 2 * i), end = offsetWord(d, table + 2 * i + 2);
        if (start == end) continue;
        std::snprintf(text, sizeof text, "%3zu @%5zu:", i, start);
        out += text;
        for (size_t at = start; at < end; ++at) {
            std::snprintf(text, sizeof text, "%s%02X", (at - start) % 4 ? "" : " ", d[at]);
            out += text;
        }
        out += "\n";
    }
    return out;
}

TEST(StyReports, CleaningByKind)
{
    const std::vector<uint8_t> busy = busyStyle();
    struct Case {
        const char* name;
        CleanEventsChoice choice;
        int removed;
    };
    CleanEventsChoice bend, pressure, programs, allControls, volume, poly, nothing;
    bend.pitchBend = true;
    pressure.channelPressure = true;
    programs.programChange = true;
    allControls.control = true;
    volume.control = true;
    volume.controller = 7;
    poly.polyPressure = true;
    nothing.control = true;
    nothing.controller = 64;
    const Case cases[] = {
        {"pitch bend", bend, 2},      {"channel pressure", pressure, 1}, {"program change", programs, 1},
        {"control ALL", allControls, 4}, {"control 7", volume, 2},        {"poly pressure", poly, 1},
        {"control 64 (none)", nothing, 0},
    };
    std::string golden;
    for (const Case& c : cases) {
        std::vector<uint8_t> data = busy;
        EXPECT_EQ(CleanWqStyleEvents(data, '9', c.choice), c.removed) << c.name;
        EXPECT_EQ(data.size(), busy.size() - 4 * size_t(c.removed)) << c.name;
        EXPECT_EQ(offsetWord(data, 534 + 2 * 316), data.size()) << c.name; // the last entry follows the size
        if (c.removed == 0) {
            EXPECT_EQ(data, busy) << c.name; // untouched byte for byte
        }
        EXPECT_TRUE(std::equal(busy.begin(), busy.begin() + 534, data.begin())) << c.name;
        golden += std::string("== ") + c.name + ", " + std::to_string(data.size()) + " bytes\n" + sequencesOf(data, 534);
    }
    test::expectGolden("CleanStyleEvents.txt", golden);

    // Layout B: the same events, the table 8 bytes later.
    std::vector<uint8_t> b = busyStyle('M');
    EXPECT_EQ(CleanWqStyleEvents(b, 'M', allControls), 4);
    EXPECT_EQ(offsetWord(b, 542 + 2 * 316), b.size());
}

TEST(StyReports, CleaningDamagedTablesStaysInsideTheItem)
{
    std::vector<uint8_t> data = busyStyle();
    CleanEventsChoice all;
    all.pitchBend = all.channelPressure = all.programChange = all.control = all.polyPressure = true;
    // A run that ends 2 bytes into an event, a run past the end, entries out of order.
    std::vector<uint8_t> shortRun = data;
    shortRun[534 + 2] = uint8_t(offsetWord(data, 534 + 2) - 2);
    std::vector<uint8_t> pastEnd = data;
    pastEnd[534 + 2 * 316 + 1] = 0xFF;
    std::vector<uint8_t> backwards = data;
    backwards[534 + 2 * 5] = 0x10, backwards[534 + 2 * 5 + 1] = 0x00; // entry 5 inside the head
    for (std::vector<uint8_t>* d : {&shortRun, &pastEnd, &backwards}) {
        const size_t before = d->size();
        const int removed = CleanWqStyleEvents(*d, '9', all);
        EXPECT_LE(d->size(), before);
        EXPECT_EQ(d->size(), before - 4 * size_t(removed));
    }
}

TEST(StyReports, CleanCommandOnTheSelectedStyles)
{
    const std::vector<uint8_t> busy = busyStyle();
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(test::wqStyleFile('9', {busy, test::smallWq8Image("Calm")}), "/x/w.sty"));
    d.doc.m_StyItems.push_back(d.doc.m_StyItems[1]);
    d.doc.EmptyItems(std::vector<int>{2}, -1);
    d.doc.ClearModified();
    d.ui.select({0, 1, 2});
    d.doc.CleanStyleEvents(); // the dialog is cancelled
    EXPECT_EQ(d.doc.m_StyItems[0].data, busy);

    CleanEventsChoice bend;
    bend.pitchBend = true;
    d.ui.cleanChoices.push_back(bend);
    EXPECT_EQ(d.doc.CleanStyleEvents(), 2); // the placeholder is skipped
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"Successfully cleaned 2 items"}));
    EXPECT_EQ(d.doc.m_StyItems[0].Size(), busy.size() - 8);
    EXPECT_TRUE(d.doc.IsModified());

    // Nothing left to remove: no message, nothing changed.
    d.doc.ClearModified();
    d.ui.cleanChoices.push_back(bend);
    d.doc.CleanStyleEvents();
    EXPECT_TRUE(d.texts().empty());
    EXPECT_FALSE(d.doc.IsModified());
}

TEST(StyReports, ItemListReportOfAWqFile)
{
    test::TempDir dir;
    std::vector<uint8_t> empty = test::WqImageBuilder::fromEmptyItem('9').build();
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(test::wqStyleFile('9', {busyStyle(), empty, test::smallWq8Image("Rock And Roll")}),
                                (dir / "Set.STY").string()));
    d.ui.saveFiles.push_back(dir / "Set_ItemList.TXT");
    d.doc.OnUtilItemsReport();
    ASSERT_EQ(d.ui.fileDialogs.size(), 1u);
    EXPECT_EQ(d.ui.fileDialogs[0].title, "Item List Report");
    EXPECT_EQ(d.ui.fileDialogs[0].filter, "Item List Report (*.TXT)|*.TXT||");
    EXPECT_EQ(d.ui.fileDialogs[0].fileName, "Set_ItemList");
    EXPECT_EQ(d.ui.fileDialogs[0].folder, dir.path());
    std::vector<uint8_t> bytes;
    ASSERT_EQ(readWholeFile(dir / "Set_ItemList.TXT", bytes), FileIoError::None);
    const std::string text(bytes.begin(), bytes.end());
    const std::string path = (dir / "Set_ItemList.TXT").string();
    ASSERT_EQ(text.find("\nZibwerk items list\nFileName: " + path + "\n\n"), 0u);
    test::expectGolden("ItemListReportWq.txt", text.substr(text.find(path) + path.size()));

    // A report that cannot be written is said.
    d.ui.saveFiles.push_back(dir / "no" / "such" / "folder.txt");
    d.doc.OnUtilItemsReport();
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"Cannot open report file"}));
}

TEST(StyReports, ItemListReportOfAQeFile)
{
    const auto pop = test::qeStyleInstance({"Pop", 0, {0, 4}, 0x79010005});
    const auto nine = test::qeStyleInstance({"Nine", 1, {0, 10}, 0x79450002});
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(test::dasfImage({test::qeEntry("Pop", 2, 6, 0, pop),
                                                 test::qeEntry("Nine Inch", 2, 6, 2, nine)}),
                                "/x/Qe.sty"));
    const std::string text = ItemsReportText(d.doc, "/x/Qe_ItemList.TXT");
    // "Size" is the item's serialised resource (243 and 249 bytes): the
    // patterns imported from each CV file keep its tick-0 bank select and
    // program change; only the tick-0 expression lives in the track record
    // alone.
    test::expectGolden("ItemListReportQe.txt", text);
    EXPECT_NE(text.find("Bank/Pos: 7/1 - EMPTY ITEM"), std::string::npos);

    // A style the library cannot read ends the report with its error.
    d.doc.m_StyItems[2].data = {1, 2, 3};
    const std::string broken = ItemsReportText(d.doc, "r.txt");
    EXPECT_EQ(broken.substr(broken.size() - 38), "Error:Cannot create QE Resource Handle");
}

TEST(StyReports, TextDumps)
{
    test::TempDir dir;
    std::vector<uint8_t> empty = test::WqImageBuilder::fromEmptyItem('9').build();
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(test::wqStyleFile('9', {busyStyle(), empty}), (dir / "Set.sty").string()));
    test::expectGolden("WqStyleDump.txt", WqStyleDumpText(d.doc.m_StyItems[0], '9', {3, 4, 2024}));

    // Text Dump: beside the document's file, shown in the viewer.
    d.ui.focused = 0;
    d.doc.OnViewTextDump();
    EXPECT_EQ(d.ui.viewerFiles, (std::vector<std::filesystem::path>{dir / "Busy.txt"}));
    EXPECT_TRUE(std::filesystem::exists(dir / "Busy.txt"));
    EXPECT_EQ(d.ui.maxWaitDepth, 1);
    d.ui.viewerOpens = false;
    d.doc.OnViewTextDump();
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"Cannot create text viewer window"}));

    // Style To Text: a file the user names.
    d.ui.saveFiles.push_back(dir / "Named.TXT");
    d.doc.OnUtilSty2Txt();
    EXPECT_EQ(d.ui.fileDialogs.back().title, "Style Text Dump");
    EXPECT_EQ(d.ui.fileDialogs.back().fileName, "Busy");
    EXPECT_TRUE(std::filesystem::exists(dir / "Named.TXT"));
    d.ui.saveFiles.push_back(dir / "no" / "folder.TXT");
    d.doc.OnUtilSty2Txt();
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"Cannot update text description file"}));

    // Refusals: no focused row, an empty style.
    const struct {
        int focused;
        const char* text;
    } cases[] = {{-1, "There is no focused item"}, {1, "Cannot process empty item"}};
    for (const auto& c : cases) {
        d.ui.focused = c.focused;
        d.doc.OnUtilSty2Txt();
        d.doc.OnViewTextDump();
        EXPECT_EQ(d.texts(), (std::vector<std::string>{c.text, c.text}));
        EXPECT_EQ(d.notices.size(), 0u);
    }
}

TEST(StyCommandRules, EnablingOfTheStyleList)
{
    const auto state = [](uint32_t model, uint32_t viewMode, int focused, int selected, bool data) {
        StyListState s;
        s.items = 3;
        s.model = model;
        s.fileKind = 2;
        s.viewMode = viewMode;
        s.focused = focused;
        s.selected = selected;
        s.focusedSelected = focused >= 0 && selected > 0;
        s.focusedHasData = data;
        s.clipboardHasBlock = true;
        return s;
    };
    const StyListState wq = state('9', 1, 0, 1, true);
    const StyListState qe = state('F', 1, 0, 1, true);
    const StyListState sts = state('X', 2, 0, 1, true);
    const StyListState qeEmpty = state('F', 1, 0, 1, false);
    const StyListState noFocus = state('9', 1, -1, 0, true);
    StyListState none = wq;
    none.items = 0;
    none.focused = -1;
    none.selected = 0;
    const struct {
        StyCommand command;
        bool wq, qe, sts, qeEmpty, noFocus, none;
    } rows[] = {
        {StyCommand::Delete, true, true, false, true, true, false},
        {StyCommand::Empty, true, true, true, true, true, false},
        {StyCommand::MoveUp, true, true, false, true, false, false},
        {StyCommand::Copy, true, true, true, true, false, false},
        {StyCommand::Rename, true, true, true, false, false, false},
        {StyCommand::Properties, true, true, false, false, false, false},
        {StyCommand::StsView, false, true, true, true, false, false},
        {StyCommand::StyleToText, true, false, false, false, false, false},
        {StyCommand::TextDump, true, false, false, false, false, false},
        {StyCommand::CleanStyleEvents, true, false, false, false, false, false},
        {StyCommand::ItemsReport, true, true, true, true, true, false},
        {StyCommand::ExtractAll, true, true, true, true, true, true},
        {StyCommand::ConvertQeToWq, false, false, false, false, false, false},
        {StyCommand::StyleToMidi, true, true, false, true, false, false},
        {StyCommand::StartStopPlayback, true, true, true, true, false, false},
    };
    for (const auto& r : rows) {
        const int c = int(r.command);
        EXPECT_EQ(StyCommandEnabled(r.command, wq), r.wq) << c;
        EXPECT_EQ(StyCommandEnabled(r.command, qe), r.qe) << c;
        EXPECT_EQ(StyCommandEnabled(r.command, sts), r.sts) << c;
        EXPECT_EQ(StyCommandEnabled(r.command, qeEmpty), r.qeEmpty) << c;
        EXPECT_EQ(StyCommandEnabled(r.command, noFocus), r.noFocus) << c;
        EXPECT_EQ(StyCommandEnabled(r.command, none), r.none) << c;
    }
    EXPECT_EQ(StsViewCommandText(1), 117);
    EXPECT_EQ(StsViewCommandText(2), 116);
    StyListState notSty = wq;
    notSty.fileKind = 0;
    EXPECT_FALSE(StyCommandEnabled(StyCommand::StyleToText, notSty));
    EXPECT_TRUE(StyCommandEnabled(StyCommand::TextDump, notSty));
}

TEST(StyCommandRules, EnablingOfThePadList)
{
    StyListState s;
    s.items = 2;
    s.model = 'F';
    s.fileKind = 5;
    s.focused = 1;
    s.selected = 1;
    s.focusedSelected = true;
    s.focusedHasData = true;
    EXPECT_TRUE(PadCommandEnabled(StyCommand::PadToMidi, s));
    EXPECT_TRUE(PadCommandEnabled(StyCommand::PlaybackPadItem, s));
    EXPECT_TRUE(PadCommandEnabled(StyCommand::Properties, s));
    s.focusedHasData = false;
    EXPECT_FALSE(PadCommandEnabled(StyCommand::Rename, s));
    s.fileKind = 0;
    EXPECT_FALSE(PadCommandEnabled(StyCommand::PadToMidi, s));
    s.items = 0;
    s.selected = 0;
    s.focused = -1;
    EXPECT_TRUE(PadCommandEnabled(StyCommand::ExtractItem, s));
    EXPECT_FALSE(PadCommandEnabled(StyCommand::Delete, s));
    EXPECT_FALSE(PadCommandEnabled(StyCommand::StsView, s));
}

} // namespace
} // namespace zib
