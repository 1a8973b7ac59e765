// The MIDI bars, the View > Toolbar item and the MIDI dialogs in the real zib
// program, driven through its own command routing.
#include "platform/FileIo.h"
#include "platform/FileProfile.h"
#include "tests/app/gui/ZibSession.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

using namespace zib;
using test::ZibRun;
using test::ZibSession;

namespace {

constexpr const char* kFileOpen = "57601";
constexpr const char* kViewToolbar = "59392";
constexpr const char* kItalian = "32994";

class MidiWindowsGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        FileProfile p(session_.settingsFile());
        p.setString("Settings", "Author", "Tester");
    }

    std::string openSong()
    {
        const auto path = session_.files() / "Song.mid";
        EXPECT_EQ(writeFileAtomically(path, test::smallSong(2)), FileIoError::None);
        return "dialog path \"" + path.string() + "\"\nmenu " + kFileOpen + "\n";
    }

    ZibRun run(const std::string& script)
    {
        ZibRun r = session_.run(script + "quit\n", 60);
        EXPECT_FALSE(r.killed) << r.output;
        EXPECT_TRUE(r.line("dialog-timeout").empty());
        EXPECT_EQ(r.output.find("AddressSanitizer"), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find("runtime error:"), std::string::npos) << r.output;
        EXPECT_TRUE(r.has("exit")) << "exit code " << r.exitCode << " log:\n" << [&r] {
            std::string all;
            for (const auto& l : r.log) all += l + "\n";
            return all;
        }();
        return r;
    }

    ZibSession session_;
};

} // namespace

TEST_F(MidiWindowsGui, ViewToolbarFollowsTheStandardBarAndOpensTheToolbarsDialog)
{
    const std::string item = std::string("menu-state ") + kViewToolbar + "\n";
    ZibRun r = run(item + openSong() + item + "menu " + kItalian + "\n" + item +
                   "dialog check 1905 0 ; ok\nmenu " + kViewToolbar + "\nlog-frame\n" + item);
    const auto states = r.lines("menu-state 59392");
    ASSERT_EQ(states.size(), 4u) << r.output;
    // Without a child the item does nothing and is greyed, but shows the bar that is there.
    EXPECT_EQ(states[0], "menu-state 59392 enabled=0 checked=1");
    EXPECT_EQ(states[1], "menu-state 59392 enabled=1 checked=1");
    EXPECT_EQ(states[2], "menu-state 59392 enabled=1 checked=1") << "a language switch keeps the mark";
    EXPECT_FALSE(r.line("dialog: title=").empty()) << "the Toolbars dialog opened";
    const std::string frame = r.line("frame:");
    EXPECT_EQ(frame.find("bars=Standard"), std::string::npos) << frame;
    EXPECT_NE(frame.find("MidiDoc"), std::string::npos) << frame;
    EXPECT_EQ(states[3], "menu-state 59392 enabled=1 checked=0");
}

TEST_F(MidiWindowsGui, MidiBarsCarryTheirFields)
{
    ZibRun r = run(openSong() + "field 1766\nfield 1898\nfield 1899\nfield 1082\nlog-frame\n");
    EXPECT_TRUE(r.has("field 1766 text=")) << r.output;
    EXPECT_TRUE(r.has("field 1898 text="));
    EXPECT_TRUE(r.has("field 1899 text="));
    EXPECT_TRUE(r.has("field 1082 text=120"));
    EXPECT_NE(r.line("frame:").find("MidiTempo,MidiPosition,MidiSelection"), std::string::npos);
}

TEST_F(MidiWindowsGui, MidiDialogsReturnTheirValues)
{
    ZibRun r = run("dialog type 1082 2 ; ok\nrun-dialog tempo\n"
                   "dialog check 1974 1 ; ok\nrun-dialog record-settings\n"
                   "dialog type 1900 99 ; log 1900 ; ok\nrun-dialog paste-events\n"
                   "dialog ok\nrun-dialog metronome\n"
                   "dialog set 1766 Chorus ; ok\nrun-dialog marker\n"
                   "dialog set 1812 3:1:0 ; ok\nrun-dialog shift-events\n"
                   "dialog set 1939 300 ; set 1936 Lead ; ok\nrun-dialog track-properties\n");
    // A tempo of 300 shows 250; a typed 2 does not fit and leaves it.
    EXPECT_TRUE(r.has("tempo: result=5100 bpm=250 tick=384")) << r.output;
    EXPECT_TRUE(r.has("record-settings: result=5100 mask=32771"));
    EXPECT_FALSE(r.line("control 1900: text=64 ").empty()) << "a start track above 64 shows 64";
    EXPECT_TRUE(r.has("paste-events: result=5100 tick=0 track=64 one=0 kinds=0010"));
    EXPECT_TRUE(r.has("metronome: result=5100 when=2 channel=9 port=0 precount=0 firstkey=76"));
    EXPECT_TRUE(r.has("marker: result=5100 text=Chorus tick=96"));
    EXPECT_TRUE(r.has("shift-events: result=5100 to=768"));
    // The typed bank 300 is MSB 2, LSB 44; the set of input channels survives.
    EXPECT_TRUE(r.has("track-properties: result=5100 title=Track Properties - Track No: 2 name=Lead channel=1 "
                      "input=" + std::to_string(18 | 0x8001u << 16) + " bank=556 program=5 volume=100 changed=1"))
        << r.output;
}

TEST_F(MidiWindowsGui, CommandLineOpensARelativeNameAndTheTitleNamesTheDocument)
{
    std::filesystem::create_directories(session_.files() / "songs");
    ASSERT_EQ(writeFileAtomically(session_.files() / "songs" / "Tune.mid", test::smallSong(2)), FileIoError::None);
    ZibRun r = session_.run("log-frame\nquit\n", 60, {"songs/Tune.mid"}, session_.files());
    EXPECT_FALSE(r.killed) << r.output;
    const std::string frame = r.line("frame:");
    EXPECT_NE(frame.find("kind=9 "), std::string::npos) << frame;
    EXPECT_NE(frame.find("title=Zib - Tune.mid"), std::string::npos) << frame;
    // The document knows its file by its full path.
    FileProfile settings(session_.settingsFile());
    EXPECT_EQ(settings.getString("Recent File List", "File1"), (session_.files() / "songs" / "Tune.mid").string());
}

TEST_F(MidiWindowsGui, CollectedMidiFileOpensAsAMidiWindow)
{
    // Three chord-variation files of one style: a conductor track and a bass line.
    for (auto [name, note] : {std::pair{"SongV11.mid", 62}, {"SongV12.mid", 62}, {"SongI11.mid", 62}}) {
        test::SmfBuilder smf(1, 96);
        smf.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2);
        smf.AddTrack().Program(0, 11, 33).NoteOn(0, 11, note, 100).NoteOff(96, 11, note);
        ASSERT_EQ(writeFileAtomically(session_.files() / name, smf.Build()), FileIoError::None);
    }
    ZibRun r = run("dialog path " + (session_.files() / "SongV11.mid").string() + "\nmenu 32808\nlog-frame\n");
    EXPECT_TRUE(r.line("message:").empty()) << r.line("message:");
    const std::string frame = r.line("frame:");
    EXPECT_NE(frame.find("kind=9 "), std::string::npos) << frame;
    EXPECT_NE(frame.find("Song_COLLECT.MID"), std::string::npos) << frame;
}

TEST_F(MidiWindowsGui, SuccessfulPsrConversionShowsNoMessage)
{
    std::filesystem::path source;
    for (const auto& path : test::realFixtureFiles("psr-styles"))
        if (path.extension() == ".prs") source = path;
    if (source.empty()) GTEST_SKIP() << "no real PSR styles";
    FileProfile(session_.settingsFile()).setString("Settings", "PsrStyToQeSty", "ABCDAAAAAA");
    const auto input = session_.files() / source.filename();
    std::filesystem::copy_file(source, input, std::filesystem::copy_options::overwrite_existing);
    ZibRun r = run("dialog path " + input.string() + "\nmenu 32874\nlog-frame\n");
    EXPECT_TRUE(r.line("message:").empty()) << r.line("message:");
    const std::string name = source.stem().string();
    EXPECT_TRUE(std::filesystem::exists(session_.files() / ("YD_" + name + ".STY")));
}
