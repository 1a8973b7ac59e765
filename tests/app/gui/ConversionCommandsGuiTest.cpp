// The style conversions and their settings as the real zib program runs
// them: the two chord-variation collections, the Yamaha PSR conversion and
// the three conversion settings dialogs.
#include "ui/core/LetterStrings.h"
#include "ui/texts/UiText.h"
#include "ui/texts/ZibMessageTable.h"
#include "platform/FileIo.h"
#include "platform/FileProfile.h"
#include "tests/support/gui/ZibSession.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/SmfBuilder.h"
#include "ulvarf/ulvarf.h"

#include <gtest/gtest.h>

using namespace zib;
using test::ZibRun;
using test::ZibSession;

namespace {

std::string readText(const std::filesystem::path& p)
{
    std::vector<uint8_t> bytes;
    if (readWholeFile(p, bytes) != FileIoError::None) return {};
    return std::string(bytes.begin(), bytes.end());
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::string withLetter(std::string text, size_t at, char letter)
{
    text[at] = letter;
    return text;
}

// One chord-variation file: a conductor track and a bass line on channel 12
// that starts on `note` and touches its minor third.
std::vector<uint8_t> cvFile(int note)
{
    test::SmfBuilder smf(1, 96);
    smf.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2);
    smf.AddTrack()
        .Program(0, 11, 33)
        .NoteOn(0, 11, note, 100)
        .NoteOff(96, 11, note)
        .NoteOn(192, 11, note + 3, 90)
        .NoteOff(288, 11, note + 3);
    return smf.Build();
}

class ZibConversionGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
    }

    FileProfile settings() { return session_.settings(); }
    void seedAuthor(int language = 0) { session_.seedAuthor(language); }
    std::string file(const std::string& name) const { return (session_.files() / name).string(); }

    // A run that ends normally.
    ZibRun run(const std::string& script)
    {
        ZibRun r = session_.runChecked(script);
        EXPECT_TRUE(r.has("exit"));
        return r;
    }

    // Picks `path` in the command's file dialog; `answers` are those of the
    // boxes the command shows then (OK to its error message).
    ZibRun runCommand(int command, const std::string& path, const std::string& answers = {})
    {
        return run("dialog path " + path + "\n" + answers + "menu " + std::to_string(command) + "\nquit\n");
    }

    ZibSession session_;
};

} // namespace

TEST_F(ZibConversionGui, CollectionsWriteTheCollectedFileAndTheLogBesideTheChosenFile)
{
    seedAuthor();
    for (const char* name : {"SongV11.mid", "SongV12.mid", "SongI11.mid"})
        ASSERT_EQ(writeFileAtomically(file(name), cvFile(62)), FileIoError::None);

    struct Case {
        int command;
        std::string dialogTitle;
        std::string collected;
        std::string log;
        std::vector<std::string> markers;
    } cases[] = {
        {32808,
         ZibMessage(105, 0),
         "Song_COLLECT.MID",
         "CollectCVMidi.txt",
         {"Name: Song", "Element: VAR1", "Element: FILL2", "CV: Dmin"}},
        {32821,
         "Select any Chord Variation MIDI file",
         "Song_QECOLLECT.MID",
         "CollectQeCVMidi.txt",
         {"Name: Song", "Element: VAR1", "__Element: INT1", "CV: CMajor"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        ZibRun r = runCommand(c.command, file("SongV11.mid"));
        EXPECT_FALSE(r.has("menu " + std::to_string(c.command) + " disabled"));
        const std::string dialog = r.line("file-dialog:");
        EXPECT_EQ(dialog.find("file-dialog: title=" + c.dialogTitle + " "), 0u) << dialog;
        EXPECT_TRUE(r.line("message: title=Collect").empty()) << r.line("message:");

        const std::string collected = readText(file(c.collected));
        ASSERT_FALSE(collected.empty());
        EXPECT_EQ(collected.substr(0, 4), "MThd");
        EXPECT_EQ(collected[9], 1); // format 1
        for (const auto& marker : c.markers)
            EXPECT_TRUE(contains(collected, marker)) << marker;
        // The log lies beside the chosen file, whatever the program's current folder.
        EXPECT_TRUE(contains(readText(file(c.log)), "File name: " + file("SongV11.mid")));
        EXPECT_EQ(settings().getString("Settings", "LastOpenedDirectory"), session_.files().string());
    }
}

TEST_F(ZibConversionGui, FailedCollectionShowsTheCollectorsTextUnderItsOwnCaption)
{
    seedAuthor(2);
    ASSERT_EQ(writeFileAtomically(file("Song.mid"), cvFile(60)), FileIoError::None);
    struct Case {
        int command;
        std::string caption;
        std::string collector;
        std::string log;
    } cases[] = {
        {32808, "CollectCvMidi", "CMidiCollect", "CollectCVMidi.txt"},
        {32821, "CollectQeCvMidi", "CQeMidiCollect", "CollectQeCVMidi.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        ZibRun r = runCommand(c.command, file("Song.mid"), "dialog ok\n");
        EXPECT_TRUE(r.has("message: title=" + c.caption + " text=" + UiText("ERROR! %s", 2).substr(0, 8) +
                          c.collector + " error: 109 - Chord variation MIDI file name not correct"))
            << r.line("message:");
        EXPECT_TRUE(contains(readText(file(c.log)), "does not contain correct CV name terminator"));
    }
    EXPECT_NE(UiText("ERROR! %s", 2), "ERROR! %s");
    for (const char* name : {"Song_COLLECT.MID", "Song_QECOLLECT.MID", "_COLLECT.MID", "_QECOLLECT.MID"})
        EXPECT_FALSE(std::filesystem::exists(file(name))) << name;
}

TEST_F(ZibConversionGui, PsrConversionWritesAContainerThatTheLibraryOpens)
{
    const auto styles = test::realFixtureFiles("psr-styles");
    if (styles.empty()) GTEST_SKIP() << "no real PSR styles";
    seedAuthor();
    // The intros, fills and endings of the real .prs style need more CVs than
    // a Qe element holds, which the conversion refuses; its variations convert.
    settings().setString("Settings", "PsrStyToQeSty", "ABCDAAAAAA");
    // One style of the named extensions and one .sty, copied next to the test's files.
    std::vector<std::pair<std::filesystem::path, std::string>> picks;
    for (const auto& path : styles) {
        const std::string name = path.filename().string();
        const std::string ext = path.extension().string();
        if (ext == ".prs" && picks.empty())
            picks.push_back({path, "YD_" + name.substr(0, name.rfind('.')) + ".STY"});
        if (ext == ".STY" && picks.size() == 1) picks.push_back({path, "YD_" + name});
    }
    ASSERT_EQ(picks.size(), 2u);

    for (const auto& [source, outName] : picks) {
        SCOPED_TRACE(source.filename().string());
        const std::string input = file(source.filename().string());
        std::filesystem::copy_file(source, input, std::filesystem::copy_options::overwrite_existing);
        ZibRun r = runCommand(32874, input);
        EXPECT_TRUE(r.line("message: title=ConvertYamahaStyToQeSty").empty()) << r.line("message:");

        std::vector<uint8_t> image;
        ASSERT_EQ(readWholeFile(file(outName), image), FileIoError::None);
        // The one-resource container: S + 96 bytes, S at offset 64.
        ASSERT_GT(image.size(), 96u);
        const uint32_t s =
            uint32_t(image[64]) << 24 | uint32_t(image[65]) << 16 | uint32_t(image[66]) << 8 | image[67];
        EXPECT_EQ(image.size(), size_t(s) + 96);
        ULRFContainer* container = _ULRFCreateInstance(image.data(), uint32_t(image.size()));
        ASSERT_NE(container, nullptr);
        char name[18] = {};
        int type = 0, user1 = 0, user2 = 0;
        EXPECT_TRUE(_ULRFEnumIndex(container, 0, name, &type, &user1, &user2));
        EXPECT_FALSE(_ULRFEnumIndex(container, 1, name, &type, &user1, &user2));
        _ULRFDeleteInstance(container);

        EXPECT_TRUE(contains(readText(file("YamahaStyToQeStyDump.txt")),
                             "Converting Yamaha style: " + source.filename().string()));
    }

    // Converted again while its style is open: refused with a message, and
    // the open style's file stays as it was.
    const std::string input = file(picks.front().first.filename().string());
    const std::string output = file(picks.front().second);
    const std::string converted = readText(output);
    ZibRun held =
        session_.runChecked("dialog path " + input + "\ndialog ok\nmenu 32874\nquit\n", 60, {output});
    EXPECT_TRUE(held.has("message: title=ConvertYamahaStyToQeSty text=" + output +
                         " is open in another window. Save under another name, or close that window first."))
        << held.line("message:");
    EXPECT_EQ(readText(output), converted);

    // A file that is no PSR style: the converter's text, and no output at all.
    test::SmfBuilder smf(1, 96);
    smf.AddTrack().Tempo(0, 500000);
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    ASSERT_EQ(writeFileAtomically(file("Bad.sty"), smf.Build()), FileIoError::None);
    ZibRun bad = runCommand(32874, file("Bad.sty"), "dialog ok\n");
    const std::string message = bad.line("message: title=ConvertYamahaStyToQeSty text=ERROR! ");
    EXPECT_TRUE(contains(message, " 111 - ")) << bad.line("message:");
    EXPECT_FALSE(std::filesystem::exists(file("YD_Bad.sty")));
}

// Apply stores the pages' values at once and leaves the sheet open; what
// changes after it and is cancelled stays out.
TEST_F(ZibConversionGui, SettingsSheetsApplyStoresTheirValuesAndStayOpen)
{
    seedAuthor(2);
    ZibRun r = run(
        // Wq: ignore program changes, Apply; then volume too, dropped by Cancel.
        "dialog log 5102 ; page 2 ; check 1632 1 ; click 5102 ; log 1632 ; check 1633 1 ; cancel\n"
        // Qe: a user-defined chord table, Apply, Cancel.
        "dialog log 5102 ; page 0 ; check 1623 1 ; click 5102 ; cancel\n"
        "menu 32815\nmenu 32823\nquit\n");
    EXPECT_EQ(r.lines("control 5102: label=" + UiText("Apply", 2) + " enabled=1").size(), 2u) << r.output;
    EXPECT_TRUE(contains(r.line("control 1632:"), "checked=1 enabled=1")) << r.output; // still open
    const auto ends = r.lines("dialog-end:");
    ASSERT_EQ(ends.size(), 2u);
    for (const std::string& end : ends)
        EXPECT_TRUE(contains(end, "result=5101")) << end; // Cancel

    FileProfile p = settings();
    EXPECT_EQ(p.getInt("Settings", "Midi2StyIgnoreFlags"), 1);
    EXPECT_EQ(p.getInt("Settings", "ChordDetermination"), 1);
    EXPECT_EQ(p.getString("Settings", "ChordTable"), std::string(DefaultLetters(LetterTable::ChordTable)));
    EXPECT_EQ(p.getInt("Settings", "QeChordDetermination"), 0);
    EXPECT_EQ(p.getInt("Settings", "QeKeyChordDetermination"), 1);
}

TEST_F(ZibConversionGui, SettingsSheetsWriteTheirValuesOnOkAndNothingOnCancel)
{
    seedAuthor(1);
    ZibRun cancelled = run("dialog log-help ; page 0 ; check 1623 1 ; set 1584 CV2 ; cancel\n"
                           "dialog page 1 ; check 1623 1 ; cancel\n"
                           "dialog check 1638 1 ; cancel\n"
                           "menu 32815\nmenu 32823\nmenu 32819\nquit\n");
    EXPECT_TRUE(cancelled.has("dialog: title=" + UiText("Midi To Wq-series styles settings", 1)));
    EXPECT_TRUE(cancelled.has("dialog: title=" + UiText("Midi To Qe-series styles settings", 1)));
    EXPECT_TRUE(cancelled.has("dialog: title=" + UiText("Select Style To MIDI conversion metod", 1)));
    EXPECT_TRUE(cancelled.has("page 1: " + UiText("CV KeyChord", 1)));
    EXPECT_EQ(cancelled.lines("dialog-end:").size(), 3u);
    for (const char* name :
         {"ChordTable", "ChordDetermination", "KeyChord", "KeyChordDetermination", "Midi2StyIgnoreFlags",
          "QeChordTable", "QeChordDetermination", "QeKeyChord", "QeKeyChordDetermination", "StyToMidiType"}) {
        EXPECT_FALSE(settings().getInt("Settings", name)) << name;
        EXPECT_FALSE(settings().getString("Settings", name)) << name;
    }

    settings().setInt("Settings", "AppLanguage", 0);
    ZibRun ok = run(
        // Wq: VAR1 Maj6 plays CV2; INT1 CV1 recorded in A minor; ignore program changes and bank select.
        "dialog log-help ; page 0 ; log 1584 ; check 1623 1 ; set 1584 CV2 ; page 1 ; check 1623 1 ; "
        "check 1005 1 ; log 1627 ; set 1625 Amin ; page 2 ; log 1636 ; check 1632 1 ; check 1635 1 ; ok\n"
        // Qe: INT3 Major plays CV2; VAR1 CV1 recorded as A No3rd.
        "dialog log-help ; page 0 ; check 1623 1 ; check 1650 1 ; log 1651 ; set 1651 CV2 ; page 1 ; "
        "check 1623 1 ; set 1625 ANo3rd ; ok\n"
        "dialog log 1637 ; check 1638 1 ; ok\n"
        "menu 32815\nmenu 32823\nmenu 32819\nquit\n");
    // The Wq sheet asks for the context-help button; on this platform it shows nothing.
    EXPECT_EQ(ok.lines("context-help: "), (std::vector<std::string>{"context-help: 1", "context-help: 0"}));
    EXPECT_TRUE(ok.has("control 1584: value=CV3 count=6 enabled=0")); // "Let application determine" at start
    EXPECT_TRUE(ok.has("control 1627: value=CMajor count=24 enabled=0")); // CV3 of INT1
    EXPECT_TRUE(ok.has("control 1636: label=Ignore BANK SELECT LSB (Ctrl# 32) checked=0 enabled=0"));
    EXPECT_TRUE(ok.has("control 1651: value=CV1 count=2 enabled=1"));
    EXPECT_TRUE(ok.has("control 1637: label=Convert style to one collected MIDI file checked=1 enabled=1"));

    FileProfile p = settings();
    EXPECT_EQ(p.getString("Settings", "ChordTable"),
              withLetter(std::string(DefaultLetters(LetterTable::ChordTable)), 1, 'B'));
    EXPECT_EQ(p.getInt("Settings", "ChordDetermination"), 0);
    // INT1 CV1 is slot 24; A minor is 2 * 9 + 1.
    EXPECT_EQ(p.getString("Settings", "KeyChord"),
              withLetter(std::string(DefaultLetters(LetterTable::KeyChord)), 24, 'A' + 19));
    EXPECT_EQ(p.getInt("Settings", "KeyChordDetermination"), 0);
    EXPECT_EQ(p.getInt("Settings", "Midi2StyIgnoreFlags"), 9);
    EXPECT_EQ(p.getString("Settings", "QeChordTable"),
              withLetter(std::string(DefaultLetters(LetterTable::QeChordTable)), 11 * 22, 'B'));
    EXPECT_EQ(p.getInt("Settings", "QeChordDetermination"), 0);
    EXPECT_EQ(p.getString("Settings", "QeKeyChord"),
              withLetter(withLetter(std::string(DefaultLetters(LetterTable::QeKeyChord)), 0, 'A' + 9), 1,
                         'A' + 20));
    EXPECT_EQ(p.getInt("Settings", "QeKeyChordDetermination"), 0);
    EXPECT_EQ(p.getInt("Settings", "StyToMidiType"), 1);
}
