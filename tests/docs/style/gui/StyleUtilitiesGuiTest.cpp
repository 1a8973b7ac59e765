// The utilities of the style list in the real program: Style To MIDI with
// the overwrite answers, the playback console, event cleaning, the dumps
// and report, and the Qe-track to Wq-track setting.
#include "tests/docs/style/gui/StyleGuiFixture.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/WqImageBuilder.h"

#include <filesystem>

namespace zib {
namespace {

using test::StyleGui;
using test::WqEv;
using test::ZibRun;
using Bytes = std::vector<uint8_t>;

Bytes rockAndBeatFile()
{
    return test::wqStyleFile('9', {test::smallWq8Image("Rock"), test::smallWq8Image("Beat")});
}

TEST_F(StyleGui, StyleToMidiAsksBeforeOverwritingACollectedFile)
{
    FileProfile(session_.settingsFile()).setInt("Settings", "StyToMidiType", 0);
    const std::string sty = file("wq8.sty", rockAndBeatFile());
    const std::string out = (session_.files() / "midi").string();
    std::filesystem::create_directories(out);
    const std::string toMidi = "select-rows 0,1 0\ndialog set 106 " + out + " ; click 107\n";
    const ZibRun first = run(toMidi + "dialog ok\nmenu 32803\n", {sty});
    EXPECT_TRUE(first.has("message: title=DumpStyleToMidi text=Successfully converted 2 styles of 2 selected"))
        << logOf(first);
    EXPECT_TRUE(std::filesystem::exists(out + "/Rock_COLLECT.mid"));
    EXPECT_TRUE(std::filesystem::exists(out + "/Beat_COLLECT.mid"));

    const struct {
        std::string answers;
        int converted;
        size_t questions;
    } runs[] = {
        {"dialog no\ndialog yes\n", 1, 2},
        {"dialog cancel\n", 0, 1},
        {"dialog click 1085\n", 2, 1},
    };
    for (const auto& c : runs) {
        const ZibRun r = run(toMidi + c.answers + "dialog ok\nmenu 32803\n", {sty});
        EXPECT_TRUE(r.has("message: title=DumpStyleToMidi text=Successfully converted " + std::to_string(c.converted) +
                          " styles of 2 selected"))
            << logOf(r);
        EXPECT_EQ(r.lines("dialog: title=Confirm File Overwrite").size(), c.questions) << logOf(r);
    }
}

// A collected file that is open in the program is left alone, with a
// message: the song's next save would write over the conversion. The other
// style converts.
TEST_F(StyleGui, StyleToMidiLeavesAFileThatIsOpenAlone)
{
    FileProfile(session_.settingsFile()).setInt("Settings", "StyToMidiType", 0);
    const std::string sty = file("wq8.sty", rockAndBeatFile());
    const std::filesystem::path out = session_.files() / "midi";
    std::filesystem::create_directories(out);
    const std::string toMidi = "select-rows 0,1 0\ndialog set 106 " + out.string() + " ; click 107\n";
    const ZibRun first = run(toMidi + "dialog ok\nmenu 32803\n", {sty});
    const std::string song = (out / "Rock_COLLECT.mid").string();
    const std::vector<uint8_t> before = read(song);
    ASSERT_FALSE(before.empty()) << logOf(first);
    std::filesystem::remove(out / "Beat_COLLECT.mid");

    const ZibRun r = run(toMidi + "dialog ok\ndialog ok\nmenu 32803\n", {song, sty});
    const std::string log = logOf(r);
    EXPECT_EQ(r.line("message: title=Zib text=")
                  .rfind("message: title=Zib text=" + song + " is open in another window.", 0),
              0u)
        << log;
    EXPECT_TRUE(r.has("message: title=DumpStyleToMidi text=Successfully converted 1 styles of 2 selected"))
        << log;
    EXPECT_TRUE(r.lines("dialog: title=Confirm File Overwrite").empty()) << log;
    EXPECT_EQ(read(song), before);
    EXPECT_TRUE(std::filesystem::exists(out / "Beat_COLLECT.mid"));
}

// Qe styles and pads as MIDI files: one per chord variation, or collected
// with the style's information.
TEST_F(StyleGui, QeStylesAndPadsToMidiPerCvAndCollected)
{
    const std::string sty = file("qe.sty", test::dasfImage({test::qeEntry(
                                               "Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0, 4}}))}));
    const std::string pad = file("pads.pad", test::dasfImage({test::qeEntry(
                                                 "Pad1", 9, 0, 0, test::qeStyleInstance({"Pad1", 1, {0}, 0, true}))}));
    const std::filesystem::path perCv = session_.files() / "percv";
    const std::filesystem::path collected = session_.files() / "collected";
    std::filesystem::create_directories(perCv);
    std::filesystem::create_directories(collected);
    const auto toMidi = [&](const std::filesystem::path& folder, int command, const std::string& doc) {
        return run("select-rows 0 0\ndialog set 106 " + folder.string() + " ; click 107\ndialog ok\nmenu " +
                       std::to_string(command) + "\n",
                   {doc});
    };
    FileProfile(session_.settingsFile()).setInt("Settings", "StyToMidiType", 1);
    const ZibRun styles = toMidi(perCv, 32803, sty);
    const ZibRun pads = toMidi(perCv, 33029, pad);
    EXPECT_TRUE(std::filesystem::exists(perCv / "Pop_V11.mid")) << logOf(styles);
    EXPECT_TRUE(std::filesystem::exists(perCv / "Pop_I11.mid")) << logOf(styles);
    EXPECT_TRUE(styles.has("message: title=DumpStyleToMidi text=Successfully converted 1 styles of 1 selected"))
        << logOf(styles);
    EXPECT_TRUE(pads.has("message: title=DumpStyleToMidi text=Successfully converted 1 pads of 1 selected")) << logOf(pads);

    FileProfile(session_.settingsFile()).setInt("Settings", "StyToMidiType", 0);
    const ZibRun collect = toMidi(collected, 32803, sty);
    EXPECT_TRUE(std::filesystem::exists(collected / "Pop_QECOLLECT.MID")) << logOf(collect);
}

TEST_F(StyleGui, PlaybackOpensTheConsoleOnTheSelectedStyle)
{
    const std::string qe = file("pop.sty", test::dasfImage({test::qeEntry("Pop", 2, 2, 0,
                                                                          test::qeStyleInstance({"Pop", 0, {0, 4}}))}));
    // A Qe9z style plays in the Qe4k layout.
    const std::string nine = file("nine.sty", test::dasfImage({test::qeEntry(
                                                   "Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 1, {0, 10}}))}));
    const std::string wq = file("wq8.sty", rockAndBeatFile());
    for (const std::string& sty : {qe, nine, wq}) {
        const ZibRun r = run("menu 32784\nselect-rows 0 0\ndialog log 1808 ; cancel\nmenu 32784\n", {sty});
        EXPECT_TRUE(r.has("menu 32784 disabled")) << "nothing selected: " << logOf(r);
        EXPECT_TRUE(r.line("dialog: title=Style Playback Simulator - ").find(sty == wq ? "Rock" : "Pop") !=
                    std::string::npos)
            << logOf(r);
        EXPECT_TRUE(r.has("control 1808: label=Start enabled=1")) << logOf(r);
    }
}

TEST_F(StyleGui, CleaningRemovesTheChosenEventsOfTheSelectedStyles)
{
    const Bytes style = test::WqImageBuilder('9')
                            .name("Ctl")
                            .cv(0, 0, 0, 1)
                            .slot(0, 0, 0,
                                  {WqEv::note(0, 36, 100, 96), WqEv::control(10, 7, 90), WqEv::control(20, 10, 64),
                                   WqEv::end(0)})
                            .build();
    const std::string sty = file("ctl.sty", test::wqStyleFile('9', {style}));
    const ZibRun r = run("select-rows 0 0\n"
                         "dialog log 1955 ; check 1953 1 ; log 1955 ; select 1955 8 ; ok\n"
                         "dialog ok\n"
                         "menu 32801\n"
                         "log-list 1\n"
                         "dialog no\n", // the cleaned style is left unsaved as the program ends
                         {sty});
    const std::string log = logOf(r);
    EXPECT_TRUE(r.has("dialog: title=Clean certain events from style sequences")) << log;
    const auto states = r.lines("control 1955:");
    ASSERT_EQ(states.size(), 2u) << log;
    EXPECT_NE(states[0].find("enabled=0"), std::string::npos) << "only with Control events";
    EXPECT_NE(states[1].find("enabled=1"), std::string::npos);
    EXPECT_TRUE(r.has("message: title=Zib text=Successfully cleaned 1 items")) << log;
    // Controller 7 went, controller 10 stayed: 4 bytes less.
    EXPECT_NE(log.find("row 0: Ctl|U11|" + std::to_string(style.size() - 4) + "|"), std::string::npos) << log;
}

TEST_F(StyleGui, DumpsAndTheItemListReport)
{
    const std::string sty = file("wq8.sty", rockAndBeatFile());
    const std::string dump = (session_.files() / "Rock.TXT").string();
    const std::string report = (session_.files() / "list.TXT").string();
    const ZibRun r = run("select-rows 0 0\n"
                         "dialog path " + dump + "\nmenu 32797\n"
                         "dialog path " + report + "\nmenu 32800\n"
                         "menu 32798\n"
                         "log-frame\n",
                         {sty});
    const Bytes dumped = read(dump);
    const Bytes listed = read(report);
    EXPECT_NE(std::string(dumped.begin(), dumped.end()).find("Wqstyle Dump Report"), std::string::npos) << logOf(r);
    EXPECT_NE(std::string(listed.begin(), listed.end()).find("Zibwerk items list"), std::string::npos);
    EXPECT_NE(r.line("frame:").find("kind=16"), std::string::npos) << "the text viewer: " << logOf(r);
}

TEST_F(StyleGui, QeTrackToWqTrackSettingKeepsWhatNoButtonNames)
{
    // (The settings keep only 0-6; 0 names no button.)
    FileProfile(session_.settingsFile()).setInt("Settings", "QeTrackToWqTrack", 0);
    const ZibRun none = run("dialog log 2201 ; log 2206 ; ok\nmenu 32898\n");
    EXPECT_TRUE(none.has("control 2201: label=Acc1, Acc2, Acc3 checked=0 enabled=1")) << logOf(none);
    EXPECT_TRUE(none.has("control 2206: label=Acc3, Acc4, Acc5 checked=0 enabled=1"));
    EXPECT_EQ(FileProfile(session_.settingsFile()).getInt("Settings", "QeTrackToWqTrack"), 0);

    const ZibRun chosen = run("dialog check 2204 1 ; log 2204 ; log 2201 ; ok\nmenu 32898\n");
    EXPECT_EQ(FileProfile(session_.settingsFile()).getInt("Settings", "QeTrackToWqTrack"), 4) << logOf(chosen);
}

} // namespace
} // namespace zib
