// MIDI documents in the real zib program: opening, creating, the track list,
// the bars of the MIDI window, the text dump, saving and the MIDI-to-style
// commands, driven through the program's own command routing.
#include "ui/texts/ZibMessageTable.h"
#include "platform/FileIo.h"
#include "platform/FileProfile.h"
#include "tests/support/gui/ZibSession.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/StyleMidiBuilder.h"

#include <gtest/gtest.h>

using namespace zib;
using test::ZibRun;
using test::ZibSession;

namespace {

// Command numbers
constexpr const char* kFileOpen = "57601";
constexpr const char* kFileNew = "57600";
constexpr const char* kFileSaveAs = "57604";
constexpr const char* kFileTextDump = "32789";
constexpr const char* kMidiToQeStyle = "32822";
constexpr const char* kMidiToWqStyle = "32795";
constexpr const char* kUndo = "57643";

class MidiDocGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        session_.seedAuthor();
    }

    std::filesystem::path write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const auto path = session_.files() / name;
        EXPECT_EQ(writeFileAtomically(path, bytes), FileIoError::None);
        return path;
    }

    // Opens `path` through File Open, then runs `more`.
    ZibRun open(const std::filesystem::path& path, const std::string& more)
    {
        return run("dialog path \"" + path.string() + "\"\nmenu " + kFileOpen + "\n" + more + "quit\n");
    }

    ZibRun run(const std::string& script)
    {
        return session_.runChecked(script, 60);
    }

    ZibSession session_;
};

// The kind numbers the frame log gives a MIDI window and a text viewer.
const std::string kMidiWindowKind = "kind=9 ";
const std::string kTextViewerKind = "kind=16 ";

// The cells of a logged row ("row N: a|b|...").
std::vector<std::string> cellsOf(const std::string& line)
{
    std::vector<std::string> cells;
    std::string rest = line.substr(line.find(": ") + 2);
    size_t bar;
    while ((bar = rest.find('|')) != std::string::npos) {
        cells.push_back(rest.substr(0, bar));
        rest.erase(0, bar + 1);
    }
    cells.push_back(rest);
    return cells;
}

// A row's cells with the Out Port cell (the MIDI device's name) reduced to its port number.
std::vector<std::string> rowCells(const ZibRun& r, int row)
{
    auto cells = cellsOf(r.line("row " + std::to_string(row) + ": "));
    if (cells.size() > 7) cells[7] = cells[7].substr(0, 3);
    return cells;
}

} // namespace

TEST_F(MidiDocGui, OpenedFileShowsItsTracksAndTheMidiBars)
{
    const auto path = write("Song.mid", test::smallSong(2));
    ZibRun r = open(path, "log-frame\nlog-list 3\nlog-menubar\n");
    EXPECT_EQ(r.exitCode, 0) << r.output;

    const std::string frame = r.line("frame:");
    EXPECT_NE(frame.find(kMidiWindowKind), std::string::npos) << frame;
    EXPECT_NE(frame.find("bars=Standard,MidiDoc,MidiPlay,MidiTempo,MidiPosition,MidiSelection docbar=MidiDoc"),
              std::string::npos)
        << frame;

    EXPECT_TRUE(r.has("list: title=Song.mid rows=64 columns=|Track name||||Ch|In Port|Out Port|Bank|Patch|Vol|Pan|"
                      "Size|"));
    using Cells = std::vector<std::string>;
    // Patches are named by the instrument of the track's port and channel:
    // "default" plays General MIDI.
    EXPECT_EQ(rowCells(r, 0), (Cells{"1   ", "Track 1", "S", "M", "R", "1", "", "  1", "---", "Bright Acoustic Piano",
                                     "90", "---", "4", ""}));
    EXPECT_EQ(rowCells(r, 1), (Cells{"2   ", "Track 2", "S", "M", "R", "2", "", "  1", "---", "Electric Grand Piano",
                                     "90", "---", "4", ""}));
    EXPECT_EQ(rowCells(r, 2), (Cells{"3   ", "", "", "", "", "", "", "", "", "", "", "", "", ""}));
    EXPECT_TRUE(r.has("menubar: &File|&Edit|&View|F&ilter|&Playback|W&alk|&Utils|&Setup|&Window|&Help"));

    // The file's folder and kind are remembered for the next Open.
    FileProfile p(session_.settingsFile());
    EXPECT_EQ(p.getInt("Settings", "LastOpenedFileType"), 1);
    EXPECT_EQ(p.getString("Settings", "LastOpenedDirectory"), session_.files().string());
}

TEST_F(MidiDocGui, FilesThatCannotBeShownGiveTheirMessages)
{
    const auto empty = write("Empty.MID", {});
    ZibRun r = open(empty, "dialog ok\nlog-list 0\n");
    EXPECT_TRUE(r.has("message: title=Zib text=" + ZibMessage(46, 0)));
    EXPECT_TRUE(r.has("list: none"));

    const auto broken = write("Broken.mid", test::SmfBuilder::Truncated(test::smallSong(1), 40));
    r = open(broken, "dialog ok\nlog-list 0\n");
    const std::string message = r.line("message: title=ParseMidi text=ERROR! CMidi");
    EXPECT_FALSE(message.empty()) << r.output;
    EXPECT_TRUE(r.has("list: none"));

    // A file that is not .mid opens nothing and says nothing.
    const auto other = write("Song.midi", test::smallSong(1));
    r = open(other, "log-list 0\n");
    EXPECT_TRUE(r.line("message:").empty());
    EXPECT_TRUE(r.has("list: none"));
}

TEST_F(MidiDocGui, NewDocumentFromItsTemplate)
{
    // With other document kinds the New dialog asks; the 16-track template is chosen then.
    ZibRun r = run(std::string("dialog select 1915 1 ; ok\nmenu ") + kFileNew + "\nlog-list 2\nlog-frame\nquit\n");
    const std::string list = r.line("list:");
    EXPECT_EQ(list.find("list: title=NewFile rows=64"), 0u) << list;
    using Cells = std::vector<std::string>;
    EXPECT_TRUE(r.has("dialog: title=Select New Document Type"));
    EXPECT_EQ(rowCells(r, 0),
              (Cells{"1   ", "Track 01", "S", "M", "R", "1", "", "  1", "---", "---", "127", "63", "0", ""}));
    EXPECT_NE(r.line("frame:").find(kMidiWindowKind), std::string::npos);
}

TEST_F(MidiDocGui, FileTextDumpIsWrittenAndShown)
{
    const auto path = write("Song.mid", test::smallSong(1));
    const auto dump = session_.files() / "Song.txt";
    ZibRun r = open(path, std::string("menu ") + kFileTextDump + "\nlog-frame\nlog-exists " + dump.string() + "\n");
    EXPECT_TRUE(r.has("exists " + dump.string() + " 1"));
    const std::string frame = r.line("frame:");
    EXPECT_NE(frame.find(kTextViewerKind), std::string::npos) << frame;
    // A MIDI report keeps the MIDI bars.
    EXPECT_NE(frame.find("docbar=MidiDoc"), std::string::npos) << frame;
    const auto text = test::readFileBytes(dump);
    EXPECT_EQ(std::string(text.begin(), text.begin() + 12), "\r\nFileName: ");
}

TEST_F(MidiDocGui, SaveAsWritesTheFileAndUndoHasNothingToTake)
{
    const auto path = write("Song.mid", test::smallSong(2));
    const auto copy = session_.files() / "Copy.mid";
    ZibRun r = open(path, "menu " + std::string(kUndo) + "\ndialog path \"" + copy.string() + "\"\nmenu " +
                              kFileSaveAs + "\nlog-list 0\n");
    EXPECT_TRUE(r.has(std::string("menu ") + kUndo + " disabled"));
    EXPECT_EQ(test::readFileBytes(copy), test::readFileBytes(path));
    EXPECT_EQ(r.line("list:").find("list: title=Copy.mid "), 0u) << r.line("list:");
}

// After Save As the editors of the file name it as its MIDI window does.
TEST_F(MidiDocGui, TheEditorsOfAFileTakeTheNameOfItsSaveAs)
{
    const auto path = write("Song.mid", test::smallSong(2));
    const auto saveAs = [&](const std::string& name) {
        return "dialog path \"" + (session_.files() / name).string() + "\"\nmenu " + kFileSaveAs + "\nlog-tabs\n";
    };
    // The event list of every track, then the master track beside it.
    ZibRun r = open(path, "menu 57642\nmenu 32840\n" + saveAs("Copy.mid") + "menu 32945\n" + saveAs("Again.mid"));
    const auto tabs = r.lines("tabs:");
    ASSERT_EQ(tabs.size(), 2u) << r.output;
    EXPECT_NE(tabs[0].find(" titles=Copy.mid|Copy.mid - Event List - Multiple Tracks"), std::string::npos) << tabs[0];
    EXPECT_NE(tabs[1].find(" titles=Again.mid|Again.mid - Event List - Multiple Tracks|"
                           "Again.mid - Master Track - All Events"),
              std::string::npos)
        << tabs[1];
}

TEST_F(MidiDocGui, MidiToStyleCommandsConvertOrOfferTheirLog)
{
    // A file with the Qe style commands converts; the new style is written.
    test::StyleMidiBuilder b;
    b.Command(0, "Name: Pop").Command(1, "Element: VAR1").Command(1, "CV: C Major");
    b.NoteSpan(10, b.Bar(1), b.Bar(1) + 48, 36, 100);
    b.EndAt(b.Bar(2));
    const auto style = write("Pop_QECOLLECT.mid", b.Build());
    const auto target = session_.files() / "Pop.STY";
    ZibRun ok = open(style, "dialog path \"" + target.string() + "\"\nmenu " + kMidiToQeStyle + "\n");
    EXPECT_TRUE(ok.has("file-dialog: title=" + ZibMessage(111, 0) + " dir=" + session_.files().string() +
                       " filter=0 wildcard=Style Files (*.STY)|*.STY;*.sty"))
        << ok.line("file-dialog:");
    EXPECT_TRUE(std::filesystem::exists(target));
    EXPECT_TRUE(ok.line("message:").empty()) << ok.line("message:");

    // Onto the file of a style that is open: refused, the style's file stays.
    std::vector<uint8_t> converted;
    ASSERT_EQ(readWholeFile(target, converted), FileIoError::None);
    ZibRun held = session_.runChecked("dialog path \"" + target.string() + "\"\ndialog ok\nmenu " +
                                          kMidiToQeStyle + "\n",
                                      60, {target.string(), style.string()});
    EXPECT_NE(held.line("message:").find("text=" + target.string() + " is open in another window."),
              std::string::npos)
        << held.line("message:");
    std::vector<uint8_t> after;
    ASSERT_EQ(readWholeFile(target, after), FileIoError::None);
    EXPECT_EQ(after, converted);

    // A plain file fails: the question, and Yes shows the log.
    const auto plain = write("Plain.mid", test::smallSong(1));
    const auto failed = session_.files() / "Plain.STY";
    ZibRun r = open(plain, "dialog path \"" + failed.string() + "\"\ndialog yes\nmenu " + kMidiToWqStyle +
                               "\nlog-frame\n");
    const std::string question = r.line("message: title=OnUtilMidiToSty text=ERROR! ");
    EXPECT_NE(question.find("\\n\\nDo you want to see TXT report?"), std::string::npos) << r.output;
    EXPECT_FALSE(std::filesystem::exists(failed));
    const auto log = session_.files() / "MIDI2STY.TXT";
    EXPECT_TRUE(std::filesystem::exists(log));
    EXPECT_NE(r.line("frame:").find(kTextViewerKind), std::string::npos) << r.line("frame:");
    // The chosen model is kept.
    EXPECT_EQ(FileProfile(session_.settingsFile()).getInt("Settings", "DefaultKbdType"), 57);
}

// The report a stopped conversion offers counts the error it stopped on: a
// bass phrase on MIDI channel 2, which no Wq-series style track takes.
TEST_F(MidiDocGui, TheReportOfAStoppedConversionCountsItsError)
{
    test::StyleMidiBuilder b;
    b.Command(0, "Name: Bass").Command(1, "Element: VAR1").Command(1, "CV: CMajor");
    b.Note(2, b.Bar(1), 40, 100, 90).Note(2, b.Bar(1, 2), 43, 100, 90);
    b.EndAt(b.Bar(2));
    const auto bass = write("Bass.mid", b.Build());
    const auto target = session_.files() / "Bass.STY";
    ZibRun r = open(bass, "dialog path \"" + target.string() + "\"\ndialog yes\nmenu " + kMidiToWqStyle +
                              "\nawait-child \"text report\"\nlog-frame\ntext-find \"Error: \"\n" +
                              "text-find \"Number of errors found: \"\n");
    EXPECT_TRUE(r.has("message: title=OnUtilMidiToSty text=ERROR! CMidiFile error: 118 - Cannot convert MIDI "
                      "channel to arr track\\n\\nDo you want to see TXT report?"))
        << r.line("message:");
    EXPECT_NE(r.line("frame:").find(kTextViewerKind), std::string::npos) << r.line("frame:");
    const auto found = r.lines("text-find: ");
    ASSERT_EQ(found.size(), 2u) << r.output;
    EXPECT_NE(found[0].find("| Error: Cannot convert MIDI channel: 2 to arr track."), std::string::npos)
        << found[0];
    EXPECT_EQ(found[1], "text-find: Number of errors found: 1");
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(MidiDocGui, RealMidiFilesOpenWithTheirTracks)
{
    const auto files = test::realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI fixtures";
    std::string script;
    for (const auto& f : files)
        script += "dialog path \"" + f.string() + "\"\nmenu " + kFileOpen + "\nlog-list 0\n";
    ZibRun r = run(script + "quit\n");
    const auto lists = r.lines("list: title=");
    ASSERT_EQ(lists.size(), files.size()) << r.output;
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(lists[i].find("list: title=" + files[i].filename().string() + " rows=64 "), 0u) << lists[i];
    EXPECT_TRUE(r.line("message:").empty()) << r.line("message:");
}
