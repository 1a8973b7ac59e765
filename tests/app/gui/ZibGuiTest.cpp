// The real zib program, driven under a private X display through its own
// command routing; dialogs are answered by the program's test driver.
#include "ui/texts/UiText.h"
#include "tests/support/BuildPaths.h"
#include "ui/texts/ZibMessageTable.h"
#include "platform/FileIo.h"
#include "platform/FileProfile.h"
#include "tests/support/gui/ZibSession.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

using namespace zib;
using test::ZibRun;
using test::ZibSession;

namespace {

// Each test gets its own display and settings folder; without Xvfb it is skipped.
class ZibGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
    }

    FileProfile settings() { return session_.settings(); }
    void seedAuthor(int language = 0) { session_.seedAuthor(language); }

    // A run that ends normally.
    ZibRun run(const std::string& script) { return session_.runChecked(script); }

    static std::string menuBar(int language)
    {
        std::string out = "menubar: ";
        const char* tops[] = {"&File", "&View", "&Utils", "&Setup", "&Help"};
        for (int i = 0; i < 5; ++i)
            out += (i ? "|" : "") + UiText(tops[i], language);
        return out;
    }

    ZibSession session_;
};

} // namespace

TEST_F(ZibGui, FirstStartCancelledEndsTheProgramWithNothingWritten)
{
    // The program refuses to start: wxWidgets ends it with status 255 (-1),
    // before any command of the script.
    ZibRun r = session_.runChecked("dialog cancel\n", 40, {}, 255);
    EXPECT_TRUE(r.has("dialog: title=Zib - Copyright Dialog"));
    EXPECT_TRUE(r.line("libraries:").empty()) << "the main window never came";
    EXPECT_FALSE(std::filesystem::exists(session_.settingsFile()));
}

TEST_F(ZibGui, FirstStartStoresTheTrimmedAuthorAndShowsTheMaximizedFrame)
{
    ZibRun r = run("dialog set 1916 \"   \" ; click ok ; log 1916 ; set 1916 \"  Jane Doe \" ; click ok\n"
                   "log-frame\n"
                   "log-menubar\n"
                   "screenshot first-start\n"
                   "dialog logall ; ok\n"
                   "menu 57664\n"
                   "quit\n");
    EXPECT_EQ(r.exitCode, 0) << r.output;
    // A name of blanks is refused: the dialog stayed open with the text.
    EXPECT_EQ(r.line("control 1916:").find("control 1916: text=   "), 0u);
    EXPECT_TRUE(r.has("dialog-end: title=Zib - Copyright Dialog result=5100"));
    EXPECT_EQ(settings().getString("Settings", "Author"), "Jane Doe");

    const std::string frame = r.line("frame:");
    EXPECT_NE(frame.find("maximized=1"), std::string::npos) << frame;
    EXPECT_NE(frame.find("maximizebox=0"), std::string::npos) << frame;
    EXPECT_NE(frame.find(" bars=Standard "), std::string::npos) << frame;
    EXPECT_NE(frame.find("docbar=Standard"), std::string::npos) << frame;
    EXPECT_NE(frame.find("status=Focused: NONE|Items num: 0|Size: 0"), std::string::npos) << frame;
    EXPECT_TRUE(r.has(menuBar(0)));
#if defined(ZIB_HAVE_ULVARF) && defined(ZIB_HAVE_ZIBTBL)
    EXPECT_TRUE(r.has("libraries: ulvarf=1 zibtbl=1"));
#endif
    // The About box names the release.
    EXPECT_TRUE(r.has("dialog: title=About Application"));
    EXPECT_FALSE(r.line("control 1568: label=Release: ").empty());
    EXPECT_TRUE(r.has("exit"));
}

TEST_F(ZibGui, LanguageSwitchRebuildsTheMenusAndIsStored)
{
    seedAuthor();
    ZibRun r = run("menu 32994\nlog-menubar\nlog-frame\nmenu 32995\nlog-menubar\nmenu 32996\nquit\n");
    EXPECT_TRUE(r.has(menuBar(1))) << menuBar(1);
    EXPECT_TRUE(r.has(menuBar(2))) << menuBar(2);
    EXPECT_NE(menuBar(1), menuBar(0));
    // Document-free menus repeat: the first item of File in German.
    EXPECT_EQ(r.lines("menu 0: ").back().find("menu 0: " + UiText("&New\tCtrl+N", 2).substr(0, 4)), 0u);
    // Status texts follow the language.
    EXPECT_NE(r.line("frame:").find(UiText("Focused: NONE", 1)), std::string::npos);
    EXPECT_TRUE(r.has("menu 32996 disabled")); // French is always greyed
    EXPECT_EQ(settings().getInt("Settings", "AppLanguage"), 2);

    // The stored language applies at the next start; a stored 4 reads English and is stored as 0.
    ZibRun german = run("log-menubar\nquit\n");
    EXPECT_TRUE(german.has(menuBar(2)));
    settings().setInt("Settings", "AppLanguage", 4);
    ZibRun four = run("log-menubar\nquit\n");
    EXPECT_TRUE(four.has(menuBar(0)));
    EXPECT_EQ(settings().getInt("Settings", "AppLanguage"), 0);
}

TEST_F(ZibGui, FailureMessageShowsTheLocalizedTextAndTheOperationAsCaption)
{
    seedAuthor(2);
    const std::string missing = (session_.files() / "missing.sty").string();
    ZibRun r = run("dialog path " + missing + "\ndialog ok\nmenu 32874\nquit\n");
    EXPECT_NE(r.line("file-dialog: title=" + ZibMessage(106, 2)), "");
    EXPECT_TRUE(r.has("message: title=ConvertYamahaStyToQeSty text=" + ZibMessage(9, 2)));
    EXPECT_NE(ZibMessage(9, 2), ZibMessage(9, 0));
}

TEST_F(ZibGui, SettingsDialogsWriteOnOkAndNothingOnCancel)
{
    seedAuthor();
    const char* commands = "menu 32793\nmenu 32792\nmenu 32799\nmenu 32900\n";
    ZibRun cancelled = run(std::string("dialog cancel\ndialog cancel\ndialog cancel\ndialog cancel\n") +
                           commands + "quit\n");
    for (const char* name :
         {"MidiSortMethod", "TransposeChannelSettings", "DefaultKbdType", "PsrStyToQeSty"}) {
        EXPECT_FALSE(settings().getInt("Settings", name)) << name;
        EXPECT_FALSE(settings().getString("Settings", name)) << name;
    }
    EXPECT_EQ(cancelled.lines("dialog-end:").size(), 4u);

    ZibRun ok = run("dialog check 1551 1 ; ok\n"
                    "dialog log 1561 ; check 1552 1 ; check 1561 0 ; ok\n"
                    "dialog log 1581 ; ok\n" // unchanged: written all the same
                    "dialog check 1803 1 ; check 1838 1 ; check 1820 1 ; ok\n" +
                    std::string(commands) + "quit\n");
    EXPECT_EQ(settings().getInt("Settings", "MidiSortMethod"), 1);
    EXPECT_EQ(settings().getInt("Settings", "TransposeChannelSettings"), 1);
    EXPECT_EQ(settings().getInt("Settings", "DefaultKbdType"), 57);
    EXPECT_EQ(settings().getString("Settings", "PsrStyToQeSty"), "ABCDBCEFBC");
    EXPECT_TRUE(ok.has("control 1561: label=Channel10 checked=1 enabled=1"));
    EXPECT_TRUE(ok.has("control 1581: label=QE4K checked=0 enabled=0"));

    // The stored values come back at the next start.
    ZibRun again = run("dialog log 1551 ; cancel\nmenu 32793\nquit\n");
    EXPECT_TRUE(again.has("control 1551: label=Insert Sort checked=1 enabled=1"));
}

TEST_F(ZibGui, TextViewerShowsALogFileAndGovernsTheBars)
{
    seedAuthor();
    const auto log = session_.files() / "MIDI2STY.TXT";
    writeFileAtomically(log, std::string_view("0            | 01:01:000 | Note\nCaf\xE9\n"));
    const std::string missing = (session_.files() / "none.txt").string();
    ZibRun r = run("text-viewer " + log.string() +
                   "\n"
                   "await-idle\nlog-frame\nscreenshot text-viewer\n"
                   "text-viewer " +
                   missing +
                   "\n"
                   "dialog logall ; check 1913 0 ; ok\nmenu 59392\nawait-idle\nlog-frame\n"
                   "text-viewer " +
                   log.string() +
                   " 1\nawait-idle\nlog-frame\ncheck-button 32841 1\n"
                   "menu 32994\nbutton-state 32841\nmenu 32993\n"
                   "set-playing 1\nclose\nset-playing 0\nclose\n");
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(r.has("viewer: loaded=1 title=" + log.string() +
                      " text=0            | 01:01:000 | Note\\nCaf\xC3\xA9\\n"));
    EXPECT_TRUE(r.has("viewer: loaded=0 title=Log text="));
    auto frames = r.lines("frame:");
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_NE(frames[0].find("bars=Standard,StyDoc,MoveItem,StyleTree,MidiEdit docbar=StyDoc"),
              std::string::npos)
        << frames[0];
    EXPECT_NE(frames[0].find("status=|| "), std::string::npos) << frames[0];
    // The Toolbars dialog for a text viewer: the style bars, MoveItem switched off at once.
    EXPECT_TRUE(r.has("control 1906: label=MidiEdit checked=0 enabled=0"));
    EXPECT_TRUE(r.has("control 1913: label=MoveItem checked=1 enabled=1"));
    EXPECT_NE(frames[1].find("bars=Standard,StyDoc,StyleTree,MidiEdit "), std::string::npos) << frames[1];
    // A viewer of a MIDI report counts as a MIDI window: the MIDI bars, MidiDoc the document toolbar.
    EXPECT_NE(
        frames[2].find("bars=Standard,MidiDoc,MidiPlay,MidiTempo,MidiPosition,MidiSelection docbar=MidiDoc"),
        std::string::npos)
        << frames[2];
    // A pressed button stays pressed when the language changes.
    EXPECT_EQ(r.lines("button 32841 checked=1").size(), 2u);
    // The frame refuses to close while MIDI plays, whichever window is active.
    EXPECT_TRUE(r.has("close: refused"));
    EXPECT_TRUE(r.has("close: closing"));
    EXPECT_TRUE(r.has("exit"));
}

TEST_F(ZibGui, FolderDialogCreatesAMissingFolderWithItsParents)
{
    seedAuthor();
    std::filesystem::create_directories(session_.files() / "styles_only");
    writeFileAtomically(session_.files() / "file.txt", std::string_view("x"));
    const std::string root = session_.files().string();
    const std::string target = root + "/out/a/b";
    ZibRun r = run("dialog type 106 " + root + "/styl ; log 106 ; set 106 " + root +
                   "/file.txt ; click 107 ; set 106 " + target +
                   " ; click 107 ; click 107\n"
                   "dialog ok\n"
                   "dialog no\n"
                   "dialog yes\n"
                   "folder-dialog " +
                   root +
                   "\n"
                   "quit\n");
    // Completion appended the rest of the only matching folder and selected it.
    const size_t typed = root.size() + 5;
    EXPECT_TRUE(r.has("control 106: text=" + root + "/styles_only selection=" + std::to_string(typed) + "-" +
                      std::to_string(typed + 7) + " enabled=1"));
    EXPECT_TRUE(
        r.has("message: title=Select Folder text=" + root + "/file.txt\\nThis is a file not a directory."));
    EXPECT_EQ(
        r.lines("message: title=Select Folder text=" + target + "\\nThis folder does not exist.").size(), 2u);
    EXPECT_TRUE(r.has("folder-dialog: result=ok folder=" + target + "/"));
    EXPECT_TRUE(std::filesystem::is_directory(target));
}

TEST_F(ZibGui, SharedDialogsHandTheirValuesToTheirCallers)
{
    seedAuthor();
    ZibRun r = run("dialog log 1904 ; set 1902 0 ; set 1903 300 ; ok\nrun-dialog time-signature\n"
                   "dialog log 1603 ; log 1604 ; set 1603 Amin ; set 1604 10 ; ok\nrun-dialog cv-params\n"
                   "dialog log 1583 ; select 1583 0 ; ok\nrun-dialog edit-chord-table\n"
                   "dialog set 1549 -30 ; ok\nrun-dialog transpose-value\n"
                   "dialog set 1812 3:2:7 ; ok\nrun-dialog goto\n"
                   "dialog click 1085\nrun-dialog confirm-overwrite\n"
                   "dialog log 1914 ; select 1914 2 ; log 1915 ; select 1915 2 ; ok\nrun-dialog new-file\n"
                   "run-dialog progress\nquit\n");
    // Time signature: 64 preselected; typed values clamped to 1-999 and 1-99.
    EXPECT_TRUE(r.has("control 1904: selection=6 items=1|2|4|8|16|32|64|128 enabled=1"));
    EXPECT_TRUE(r.has("time-signature: result=5100 measure=0 beats=99 value=64"));
    // CV parameters: sorted lists, the value of the chosen text stored.
    EXPECT_TRUE(r.has("control 1603: value=C#min count=24 enabled=1"));
    EXPECT_TRUE(r.has("control 1604: value=4 count=17 enabled=1"));
    EXPECT_TRUE(r.has("cv-params: result=5100 bytes=19,10 modified=1"));
    EXPECT_TRUE(r.has("control 1583: selection=1 items=CV1|CV2 enabled=1"));
    EXPECT_TRUE(
        r.has("edit-chord-table: result=5100 bytes=0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0 modified=1"));
    EXPECT_TRUE(r.has("transpose-value: result=5100 value=-30"));
    EXPECT_TRUE(r.has("goto: result=5100 position=  3:02:007"));
    EXPECT_TRUE(r.has("confirm-overwrite: result=1085"));
    // New: the kinds in template order (MIDI, style, program ...), the first one chosen;
    // the program kind offers its three sub-types.
    const std::string kinds = r.line("control 1914:");
    EXPECT_EQ(kinds.rfind("control 1914: selection=0 items=Midi Files (*.mid)|Style Files (*.sty)|"
                          "Program Files (*.pcg;*.prg)|",
                          0),
              0u)
        << kinds;
    EXPECT_TRUE(r.has("control 1915: selection=0 items=Qe-series PCG|WQ8/WqT517/WQ6 PCG|WQ41/WqR65 PRG enabled=1"));
    EXPECT_TRUE(r.has("new-file: result=5100 template=Program Files (*.pcg;*.prg) subtype=2"));
    EXPECT_TRUE(r.has("progress: position=30"));
}

TEST_F(ZibGui, ExternalPlayerFileGoesWhenThePlayerHasEnded)
{
    seedAuthor();
    const std::string played = (session_.files() / "TmpRary.mid").string();
    const std::string failed = (session_.files() / "TmpRary2.mid").string();
    const std::string builtIn = (session_.files() / "TmpRary3.mid").string();
    for (const auto& f : {played, failed, builtIn})
        writeFileAtomically(f, std::string_view("MThd"));
    {
        FileProfile p = settings();
        p.setInt("Settings", "MidiPlaybackApp", 1);
        p.setString("Settings", "MidiPlayerCommand", "sh -c 'sleep 0.6' %s");
    }
    ZibRun r = run("play-external " + played + "\nlog-exists " + played + "\nawait-gone " + played +
                   " 8000\nquit\n");
    EXPECT_EQ(r.lines("exists " + played),
              (std::vector<std::string>{"exists " + played + " 1", "exists " + played + " 0"}));

    settings().setString("Settings", "MidiPlayerCommand", "/no/such/player %s");
    ZibRun missing = run("play-external " + failed + "\nawait-gone " + failed + " 8000\nquit\n");
    EXPECT_TRUE(missing.has("exists " + failed + " 0"));

    // The built-in player cannot read it: it says so, and deletes the file when its window closes.
    settings().setInt("Settings", "MidiPlaybackApp", 2);
    ZibRun none = run("dialog ok\nplay-external " + builtIn + "\nlog-exists " + builtIn + "\nclose-player\nawait-gone " +
                      builtIn + " 8000\nquit\n");
    EXPECT_TRUE(none.has("message: title=OnUtilPlaymidi text=Cannot create MCI PlayBack Window"));
    EXPECT_EQ(none.lines("exists " + builtIn),
              (std::vector<std::string>{"exists " + builtIn + " 1", "exists " + builtIn + " 0"}));
}

// The built-in player window closes itself when its file has ended; the
// next play and the end of the program must not close it a second time.
TEST_F(ZibGui, APlayerWindowThatClosedItselfIsLeftAlone)
{
    seedAuthor();
    settings().setInt("Settings", "MidiPlaybackApp", 2);
    const std::string first = (session_.files() / "TmpRary.mid").string();
    const std::string second = (session_.files() / "TmpRary2.mid").string();
    for (const auto& f : {first, second})
        writeFileAtomically(f, std::string_view("MThd"));
    ZibRun r = run("stand-in-player\nplay-external " + first + "\nclose-player\nplay-external " + second +
                   "\nlog-frame\nquit\n");
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(r.has("player closed"));
    EXPECT_TRUE(r.has("played " + second));
    EXPECT_TRUE(r.has("exit"));
}

// The in-place value editor over a list cell stores what its spin shows.
TEST_F(ZibGui, TheInPlaceValueEditorStoresWhatItsSpinShows)
{
    seedAuthor();
    ZibRun r = run("position-value 10 -5\nposition-value 10 50\nposition-value 10 200\nposition-value 10 10\nquit\n");
    EXPECT_EQ(r.lines("position-value:"), (std::vector<std::string>{
                                              "position-value: edit=-5 spin=0",
                                              "position-value: posted value=0 row=3 column=1",
                                              "position-value: edit=50 spin=50",
                                              "position-value: posted value=50 row=3 column=1",
                                              "position-value: edit=10 spin=10", // 200 is above 127: back to 10
                                              "position-value: nothing posted",
                                              "position-value: edit=10 spin=10",
                                              "position-value: nothing posted",
                                          }));
}

TEST_F(ZibGui, OpenUsesTheLastFileTypeAndFolder)
{
    seedAuthor();
    const auto songs = session_.files() / "songs";
    std::filesystem::create_directories(songs);
    const std::string song = (songs / "Song.mid").string();
    test::SmfBuilder smf(1, 96);
    smf.AddTrack().Tempo(0, 500000);
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    writeFileAtomically(song, smf.Build());
    {
        FileProfile p = settings();
        p.setInt("Settings", "LastOpenedFileType", 5);
        p.setString("Settings", "LastOpenedDirectory", session_.files().string());
    }
    ZibRun r = run("dialog path " + song + "\nmenu 57601\nlog-frame\nquit\n");
    const std::string dialog = r.line("file-dialog:");
    EXPECT_NE(dialog.find(" dir=" + session_.files().string() + " filter=4 "), std::string::npos) << dialog;
    EXPECT_NE(dialog.find("|Pad Files (*.PAD)|*.PAD;*.pad|"), std::string::npos) << dialog;
    EXPECT_NE(dialog.find("Arrangement Global Data Files (*.ARG)|*.ARG;*.arg"), std::string::npos) << dialog;
    // The chosen file opened through the template of its extension, and the
    // document stored its own file type and folder for the next Open.
    EXPECT_TRUE(r.lines("message:").empty());
    EXPECT_NE(r.line("frame:").find(" docbar=MidiDoc "), std::string::npos) << r.line("frame:");
    EXPECT_EQ(settings().getInt("Settings", "LastOpenedFileType"), 1);
    EXPECT_EQ(settings().getString("Settings", "LastOpenedDirectory"), songs.string());
}

TEST_F(ZibGui, RecentFileThatCannotBeOpenedLeavesTheList)
{
    seedAuthor();
    const std::string gone = (session_.files() / "Gone.sty").string();
    settings().setString("Recent File List", "File1", gone);
    ZibRun r = run("log-menubar\ndialog ok\nmenu 57616\nlog-menubar\nquit\n");
    auto files = r.lines("menu 0: ");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_NE(files[0].find("|&1 Gone.sty|"), std::string::npos) << files[0];
    EXPECT_EQ(files[1].find("&1 Gone.sty"), std::string::npos) << files[1];
    // The style document that tried to read it reported the failure once.
    EXPECT_EQ(r.lines("message: ").size(), 1u);
    EXPECT_EQ(settings().getString("Recent File List", "File1"), "");
}

// The list paints its rows itself, stage by stage: what a hook draws in
// place of a row or cell is all the screen shows there, colours and fonts
// apply where asked, and post-paint hooks run only for rows that asked
// (row 0) or whose font is put back (row 3), always with a context.
TEST_F(ZibGui, CustomDrawListAppliesItsHooks)
{
    seedAuthor();
    ZibRun r = run("custom-list\nawait-idle\nscreenshot custom-list\nlist-pixels 5 1\nlist-pixels 4 0\n"
                   "list-pixels 4 2\nlist-pixels 2 1\nlist-pixels 2 0\nlist-pixels 1 0\nlist-pixels 5 0\n"
                   "list-pixels 3 0\n"
                   "log-frame\nquit\n");
    // Drawn by the hooks, nothing of the list's own text beneath.
    EXPECT_TRUE(r.has("pixels 5,1: main=#FF00FF ink=none inked=0")) << r.line("pixels 5,1");
    EXPECT_TRUE(r.has("pixels 4,0: main=#FFFF00 ink=none inked=0")) << r.line("pixels 4,0");
    EXPECT_TRUE(r.has("pixels 4,2: main=#FFFF00 ink=none inked=0")) << r.line("pixels 4,2");
    // A coloured cell keeps its text; the row's other cells and the rest of
    // row 5 are drawn by the list.
    EXPECT_EQ(r.line("pixels 2,1:").rfind("pixels 2,1: main=#00FF00 ink=#", 0), 0u) << r.line("pixels 2,1");
    const std::string plain = r.line("pixels 2,0:");
    EXPECT_EQ(plain.find("ink=none"), std::string::npos) << plain;
    // Row 3's bold font is put back after it: row 5 is as plain as row 2.
    const auto inked = [&](const std::string& cell) {
        const std::string line = r.line("pixels " + cell + ":");
        return line.empty() ? 0 : std::stoi(line.substr(line.find("inked=") + 6));
    };
    EXPECT_GT(inked("3,0"), inked("2,0") * 115 / 100);
    EXPECT_LT(inked("5,0"), inked("2,0") * 110 / 100);
    EXPECT_GT(inked("5,0"), inked("2,0") * 90 / 100);
    // Row 1's text is blue.
    const std::string blue = r.line("pixels 1,0:");
    ASSERT_NE(blue.find("ink=#"), std::string::npos) << blue;
    const auto channel = [&](int i) { return std::stoi(blue.substr(blue.find("ink=#") + 5 + 2 * i, 2), nullptr, 16); };
    EXPECT_GT(channel(2), channel(0) + 64) << blue;
    EXPECT_GT(channel(2), channel(1) + 64) << blue;
    EXPECT_EQ(r.lines("list: post-paint"),
              (std::vector<std::string>{"list: post-paint row 0 dc=1", "list: post-paint row 3 dc=1"}));
    // A child of no known kind: no bars change, empty panes.
    EXPECT_NE(r.line("frame:").find("bars=Standard docbar=Standard status=|| "), std::string::npos);
}

// A list scrolled in code (as the track list follows the bar grid) paints the
// rows it now shows, not those of its last scroll by the user.
TEST_F(ZibGui, CustomDrawListScrolledInCodePaintsItsNewRows)
{
    seedAuthor();
    ZibRun r = run("custom-list 80\nawait-idle\nlist-painted\nlist-scroll 50\nawait-idle\nlist-painted\nquit\n");
    const auto painted = r.lines("list-painted: ");
    ASSERT_EQ(painted.size(), 2u) << r.output;
    EXPECT_EQ(painted[0].rfind("list-painted: first=0 last=", 0), 0u) << painted[0];
    EXPECT_EQ(painted[1].rfind("list-painted: first=50 last=", 0), 0u) << painted[1];
    const int last = std::stoi(painted[1].substr(painted[1].find("last=") + 5));
    EXPECT_GT(last, 60) << "the rows below the top one are painted too";
}

TEST_F(ZibGui, EachScreenshotShowsTheScreenAsItIsThen)
{
    // A second screenshot of one run, taken after a window opened, shows it.
    seedAuthor();
    const auto path = session_.files() / "Song.mid";
    test::SmfBuilder smf(1, 96);
    smf.AddTrack().TrackName(0, "Song").NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    ASSERT_EQ(writeFileAtomically(path, smf.Build()), FileIoError::None);
    run("await-idle\nscreenshot shot-before\ndialog path \"" + path.string() + "\"\nmenu 57601\nawait-idle\n"
        "screenshot shot-after\nquit\n");
    const auto shots = test::BinaryDir() / "tests" / "app" / "gui" / "shots";
    std::vector<uint8_t> before, after;
    ASSERT_EQ(readWholeFile(shots / "shot-before.png", before), FileIoError::None);
    ASSERT_EQ(readWholeFile(shots / "shot-after.png", after), FileIoError::None);
    EXPECT_NE(before, after);
}
