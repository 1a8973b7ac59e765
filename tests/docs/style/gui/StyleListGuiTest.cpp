// Style and pad files in the real program, used as a user would: opening
// from File > Open, the command line and a drop (and refusing what is no
// such file), the list's rows, the item commands, clipboard and drag with
// their model conversions (also into a second running program), saving
// and opening again.
#include "docs/style/core/CZibStyDoc.h"
#include "tests/docs/style/gui/StyleGuiFixture.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/WqImageBuilder.h"

#include <chrono>
#include <fstream>
#include <thread>

namespace zib {
namespace {

using test::StyleGui;
using test::ZibRun;
using Bytes = std::vector<uint8_t>;

Bytes qe4kFile()
{
    return test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0, 4}})),
                            test::stsDataEntry("PopSts", 2, 0, {0, 2}),
                            test::qeEntry("Rock", 2, 2, 1, test::qeStyleInstance({"Rock"}))});
}

Bytes qe9zFile()
{
    return test::dasfImage({test::qeEntry("Nine", 2, 2, 0, test::qeStyleInstance({"Nine", 1, {0, 10}}))});
}

Bytes wqFile()
{
    return test::wqStyleFile('9', {test::smallWq8Image("Rock"), test::smallWq8Image("Beat")});
}

Bytes twoPadsFile()
{
    return test::dasfImage({test::qeEntry("Pad1", 9, 0, 0, test::qeStyleInstance({"Pad1", 1, {0}, 0, true})),
                            test::qeEntry("Pad2", 9, 0, 1, test::qeStyleInstance({"Pad2", 1, {0}, 0, true}))});
}

// The names in the first cells of the logged rows.
std::vector<std::string> rowNames(const ZibRun& r, const std::string& after = "")
{
    std::vector<std::string> names;
    bool on = after.empty();
    for (const auto& l : r.log) {
        if (!on && l.rfind(after, 0) == 0) on = true;
        if (on && l.rfind("row ", 0) == 0) {
            const size_t colon = l.find(": ");
            names.push_back(l.substr(colon + 2, l.find('|') - colon - 2));
        }
        if (on && !names.empty() && l.rfind("row ", 0) != 0) break;
    }
    return names;
}

TEST_F(StyleGui, EveryKindOpensFromTheMenuTheCommandLineAndADrop)
{
    const struct {
        const char* name;
        Bytes image;
        const char* row; // the first row starts with this
        const char* columns;
    } kinds[] = {
        {"qe4k.sty", qe4kFile(), "row 0: Pop|3 / 0|",
         "columns=Style Name|Bank/Position|Size|StEl|Tact|DRUM|PERC|BASS|ACC1|ACC2|ACC3|ACC4|ACC5"},
        {"qe9z.sty", qe9zFile(), "row 0: Nine|3 / 0|", "columns=Style Name|Bank/Position"},
        {"wq8.sty", wqFile(), "row 0: Rock|U11|", "columns=Style Name|Position|Size|Tact|DRUM|PERC|BASS|ACC1|ACC2|ACC3"},
        {"pads.pad", twoPadsFile(), "row 0: Pad1|1 / 0|", "columns=Style Name|Bank/Position|Size|StEl"},
    };
    std::string menu, drop;
    std::vector<std::string> paths;
    for (const auto& k : kinds) {
        paths.push_back(file(k.name, k.image));
        menu += "dialog path " + paths.back() + "\nmenu 57601\nawait-child " + k.name + "\nlog-list 1\n";
        drop += "drop-files " + paths.back() + "\nawait-child " + k.name + "\nlog-list 1\n";
    }
    std::vector<ZibRun> runs{run(menu + "screenshot opened-from-menu\n"), run(drop)};
    for (const std::string& path : paths)
        runs.push_back(run("log-list 1\n", {path}));
    for (size_t i = 0; i < runs.size(); ++i) {
        const std::string log = logOf(runs[i]);
        for (size_t k = 0; k < std::size(kinds); ++k) {
            if (i >= 2 && i - 2 != k) continue; // one file per command line
            EXPECT_NE(log.find(kinds[k].row), std::string::npos) << kinds[k].name << "\n" << log;
            EXPECT_NE(log.find(kinds[k].columns), std::string::npos) << kinds[k].name;
        }
    }
}

TEST_F(StyleGui, WhatIsNoStyleOrPadFileLeavesNoWindow)
{
    test::SmfBuilder smf(1, 96);
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    // A Yamaha style: a MIDI file with the style's own chunks after it.
    test::SmfBuilder psr(1, 96);
    psr.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    psr.AddChunk("CASM", std::vector<uint8_t>(24, 0)).AddChunk("OTSc", std::vector<uint8_t>(8, 0));
    const struct {
        const char* name;
        Bytes image;
        const char* message;
    } cases[] = {
        {"yamaha.sty", psr.Build(), "Not DASK or not supported file format!"},
        {"song.sty", smf.Build(), "Not DASK or not supported file format!"},
        {"empty.pad", {}, "File possibly corrupted - empty file"},
    };
    for (const auto& c : cases) {
        const std::string path = file(c.name, c.image);
        for (const ZibRun& r : {run("dialog path " + path + "\ndialog ok\nmenu 57601\nawait-idle\nlog-frame\n"),
                                run("dialog ok\ndrop-files " + path + "\nawait-idle\nlog-frame\n")}) {
            const std::string log = logOf(r);
            EXPECT_NE(log.find(std::string("text=") + c.message), std::string::npos) << c.name << "\n" << log;
            EXPECT_NE(r.line("frame:").find("kind=0"), std::string::npos) << "no window is left: " << log;
        }
        // From the command line the program says so and stays up, without a window for the file.
        const ZibRun line = run("dialog ok\nawait-idle\nlog-frame\n", {path});
        EXPECT_TRUE(line.has(std::string("message: title=Zib text=") + c.message)) << logOf(line);
        EXPECT_NE(line.line("frame:").find("kind=0"), std::string::npos) << logOf(line);
    }
}

TEST_F(StyleGui, ItemCommandsRenameMoveViewBankExtractImportAndSave)
{
    const std::string sty = file("qe4k.sty", qe4kFile());
    const std::string item = (session_.files() / "Pop.WSF").string();
    const ZibRun r = run("select-rows 0 0\n"
                         "menu 32779\n"
                         "edit-label Dance\n"
                         "log-list 3\n"
                         "menu 32771\n"
                         "log-list 3\n"
                         "menu 32786\n"
                         "log-list 3\n"
                         "menu 32786\n"
                         "menu 32882\n"
                         "log-list 3\n"
                         "select-rows 1 1\n"
                         "dialog path " + item + "\n"
                         "menu 32773\n"
                         "log-exists " + item + "\n"
                         "dialog path " + item + "\n"
                         "menu 32774\n"
                         "log-list 4\n"
                         "menu 57603\n"
                         "screenshot style-list-edited\n",
                         {sty});
    const std::string log = logOf(r);
    EXPECT_EQ(rowNames(r), (std::vector<std::string>{"Dance", "Rock"})) << log;
    EXPECT_EQ(rowNames(r, "menu 32771"), (std::vector<std::string>{"Rock", "Dance"})) << log;
    EXPECT_NE(log.find("columns=STS Name|Bank/Position|Size|Ver|Rel"), std::string::npos) << log;
    EXPECT_EQ(rowNames(r, "menu 32786"), (std::vector<std::string>{"** (N/A) EMPTY **", "PopSts"}))
        << "the STS items moved too";
    EXPECT_NE(log.find("row 0: Rock|6 / 0|"), std::string::npos) << "bank 6: " << log;
    EXPECT_TRUE(r.has("exists " + item + " 1"));
    EXPECT_EQ(rowNames(r, "menu 32774"), (std::vector<std::string>{"Rock", "Dance", "Dance"})) << log;

    // Saved: the file opens again with the same rows.
    const ZibRun again = run("log-list 4\n", {sty});
    EXPECT_EQ(rowNames(again), (std::vector<std::string>{"Rock", "Dance", "Dance"})) << logOf(again);
    EXPECT_NE(logOf(again).find("row 0: Rock|6 / 0|"), std::string::npos);
}

TEST_F(StyleGui, WqNamesThatAreReservedAreRefused)
{
    const std::string sty = file("wq8.sty", wqFile());
    const ZibRun r = run("select-rows 0 0\nmenu 32779\ndialog ok\nedit-label InitStyleX\nlog-list 1\n"
                         "menu 32779\nedit-label Funk\nlog-list 1\ndialog no\n",
                         {sty});
    EXPECT_NE(logOf(r).find("text=This name is not allowed"), std::string::npos) << logOf(r);
    EXPECT_EQ(rowNames(r), std::vector<std::string>{"Rock"});
    EXPECT_EQ(rowNames(r, "edit-label: Funk"), std::vector<std::string>{"Funk"});
}

TEST_F(StyleGui, CopyPasteAndDragBetweenDocumentsConvertTheirItems)
{
    const std::string qe4k = file("target.sty", qe4kFile());
    const std::string qe9z = file("nine.sty", qe9zFile());
    const std::string wq = file("wq8.sty", wqFile());
    const ZibRun r = run("dialog path " + qe4k +
                         "\nmenu 57601\n"
                         "dialog path " +
                         qe9z +
                         "\nmenu 57601\n"
                         "dialog path " +
                         wq +
                         "\nmenu 57601\n"
                         "activate-child wq8.sty\n"
                         "select-rows 0 0\n"
                         "menu 57634\n"
                         "activate-child target.sty\n"
                         "menu 57637\n"
                         "log-list 5\n"
                         "activate-child nine.sty\n"
                         "log-list 1\n"
                         "select-rows 0 0\n"
                         "menu 57634\n"
                         "activate-child target.sty\n"
                         "menu 57637\n"
                         "log-list 5\n"
                         "drag nine.sty 0 target.sty 0 copy\n"
                         "activate-child target.sty\n"
                         "log-list 6\n"
                         "dialog ok\n"
                         "drag target.sty 0,1 target.sty 1 move\n"
                         "screenshot pasted-and-dragged\n"
                         "dialog no\n"); // the changed target is left unsaved as the program ends
    const std::string log = logOf(r);
    // The Wq style became a Qe style whose tracks have the sounds of its programs.
    EXPECT_EQ(rowNames(r, "menu 57637"), (std::vector<std::string>{"Pop", "Rock", "Rock"})) << log;
    EXPECT_NE(log.find("row 2: Rock|3 / 2|201|V1|4/4|Std. Kit1|"), std::string::npos) << log;
    // The Qe9z style was brought to the Qe4k layout: another size than in its own file.
    const std::string source = r.line("row 0: Nine|3 / 0|");
    const std::string pasted = r.line("row 3: Nine|3 / 3|");
    ASSERT_FALSE(source.empty()) << log;
    ASSERT_FALSE(pasted.empty()) << log;
    const auto sizeOf = [](const std::string& row) { return row.substr(row.find("|3 / ") + 7, row.find("|V1") - row.find("|3 / ") - 7); };
    EXPECT_NE(sizeOf(source), sizeOf(pasted)) << source << "\n" << pasted;
    // Dragged onto row 0, the dropped copy stands there.
    EXPECT_NE(log.find("drag: dropped"), std::string::npos) << log;
    EXPECT_NE(log.find("row 0: Nine|3 / 0|" + sizeOf(pasted) + "|"), std::string::npos) << log;
    EXPECT_NE(log.find("text=Cannot move inside selected blok!!! Try moving in other way!"), std::string::npos)
        << "dropped inside the dragged rows: " << log;
}

TEST_F(StyleGui, PastesIntoASecondRunningProgramThroughTheClipboard)
{
    const std::string source = file("source.sty", qe4kFile());
    const std::string target = file("other.sty", qe9zFile());
    // The first program copies, then holds the clipboard until the second has pasted.
    test::ZibLaunch owner = session_.start("follow\nselect-rows 0 0\nmenu 57634\n", 120, {source});
    ASSERT_GT(owner.pid, 0);
    const auto copied = [&owner] {
        std::ifstream log(owner.log);
        for (std::string line; std::getline(log, line);)
            if (line == "done 2") return true;
        return false;
    };
    for (int waited = 0; !copied() && waited < test::ZibSession::kRunCeilingSeconds * 1000; waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const ZibRun second = run("menu 57637\nlog-list 3\ndialog no\n", {target});
    std::ofstream(owner.script, std::ios::app | std::ios::binary) << "quit\n";
    const ZibRun first = test::ZibSession::finish(owner);
    EXPECT_EQ(rowNames(second), (std::vector<std::string>{"Nine", "Pop"})) << logOf(second) << logOf(first);
    test::ZibSession::expectEndedWell(first);
}

TEST_F(StyleGui, BadBlocksChangeNothing)
{
    const std::string sty = file("qe4k.sty", qe4kFile());
    const std::string shortBlock = file("short.bin", Bytes(100, 1));
    Bytes foreign(700, 0);
    foreign[0] = 'F';
    foreign[1] = 77; // a file kind no list has
    const std::string foreignBlock = file("foreign.bin", foreign);
    const ZibRun r = run("clipboard-write " + shortBlock + "\ndialog ok\nmenu 57637\n"
                         "drop-block qe4k.sty 0 " + shortBlock + "\n"
                         "clipboard-write " + foreignBlock + "\nmenu 57637\n"
                         "drop-block qe4k.sty 0 " + foreignBlock + "\nlog-list 5\n",
                         {sty});
    EXPECT_TRUE(r.has("message: title=OnEditPaste text=Wrong clipboard data size")) << logOf(r);
    EXPECT_EQ(rowNames(r), (std::vector<std::string>{"Pop", "Rock"})) << logOf(r);
    EXPECT_EQ(r.lines("drop-block: refused").size(), 2u) << logOf(r);
    EXPECT_TRUE(r.line("list:").find("title=qe4k.sty ") != std::string::npos) << "not modified: " << logOf(r);
}

} // namespace
} // namespace zib
