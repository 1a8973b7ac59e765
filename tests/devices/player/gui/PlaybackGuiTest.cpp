// The built-in player window, the bar view host and Track Record Input in
// the real program, on its fake MIDI ports (ZIB_MIDI_BACKEND=fake).
#include "platform/FileIo.h"
#include "platform/FileProfile.h"
#include "tests/support/gui/ZibSession.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zib;
using test::ZibRun;
using test::ZibSession;

namespace {

class PlaybackGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        session_.seedAuthor();
    }

    ZibRun run(const std::string& script) { return session_.runChecked(script); }

    // A short song: a note a beat for two beats (division 96, 250 ms a beat); the second
    // note can be held longer
    std::string writeSong(const std::string& name, uint32_t secondNoteOff = 186)
    {
        test::SmfBuilder b(1, 96);
        b.AddTrack().Tempo(0, 250000).TimeSig(0, 4, 2);
        b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(90, 0, 60).NoteOn(96, 0, 62, 100).NoteOff(secondNoteOff, 0, 62);
        const std::string path = (session_.files() / name).string();
        writeFileAtomically(path, b.Build());
        return path;
    }

    std::vector<std::string> heard(const std::string& port) const { return session_.midiHeard(port); }

    ZibSession session_;
};

TEST_F(PlaybackGui, ThePlayerWindowPlaysTheFileOnTheChosenPortAndClosingDeletesIt)
{
    const std::string song = writeSong("TmpRary.mid");
    {
        FileProfile p(session_.settingsFile());
        p.setInt("Settings", "MidiPlaybackApp", 2);
        p.setInt("Settings", "MidiOutDevID", 1); // "Zib Test:Out A"
    }
    // The player plays the file to its end; then it closes.
    ZibRun r = run("play-external " + song + "\nawait-in-file " + session_.midiLog().string() +
                   " \"Zib Test:Out A: 80 3E 00\"\nlog-exists " + song + "\nclose-player\nawait-gone " + song + "\nquit\n");
    EXPECT_EQ(r.lines("exists " + song), (std::vector<std::string>{"exists " + song + " 1", "exists " + song + " 0"}));
    const auto notes = heard("Zib Test:Out A");
    EXPECT_NE(std::find(notes.begin(), notes.end(), "Zib Test:Out A: 90 3C 64"), notes.end()) << r.output;
    EXPECT_NE(std::find(notes.begin(), notes.end(), "Zib Test:Out A: 80 3E 00"), notes.end());

    // Closed while it plays (its first note heard, its second one held for
    // 5 s): the file goes all the same, and nothing hangs.
    const std::string again = writeSong("TmpRary2.mid", 96 * 21);
    std::filesystem::remove(session_.midiLog());
    ZibRun early = run("play-external " + again + "\nawait-in-file " + session_.midiLog().string() +
                       " \"Zib Test:Out A: 90 3C 64\"\nclose-player\nawait-gone " + again + "\nquit\n");
    EXPECT_TRUE(early.has("exists " + again + " 0"));
}

TEST_F(PlaybackGui, TheBarViewHostPlaysStopsAndShowsItsGrid)
{
    // The second note lasts 5 s, so the song still plays when its state is read however
    // slow the machine is, and the Stop falls inside that note.
    const std::string song = writeSong("Song.mid", 96 * 21);
    // Port 0 plays on device 0, the built-in synth's stand-in here
    FileProfile(session_.settingsFile()).setBinary("Settings", "UserMidiOutPorts", std::vector<uint8_t>{0, 1});
    ZibRun r = run("bar-view " + song + "\nbar-view-state\nmenu 32912\nawait-position 1:01:048\nbar-view-state\nscreenshot bar-view\n"
                   "menu 32911\nawait-stopped\nbar-view-state\nmenu 32914\nbar-view-state\nquit\n");
    EXPECT_TRUE(r.has("bar-view: opened=1")) << r.output;
    const auto states = r.lines("bar-view-state:");
    ASSERT_EQ(states.size(), 4u);
    EXPECT_EQ(states[0], "bar-view-state: position=\"  1:01:000    \" playing=0");
    EXPECT_NE(states[1].find("playing=1"), std::string::npos) << states[1];
    EXPECT_EQ(states[1].find("  1:01:000"), std::string::npos) << states[1]; // it moved
    EXPECT_NE(states[2].find("playing=0"), std::string::npos) << states[2];
    EXPECT_EQ(states[3], "bar-view-state: position=\"  1:01:000    \" playing=0"); // Rewind
    EXPECT_TRUE(r.has("screenshot bar-view"));
    const auto notes = heard("Zib built-in synth (General MIDI)");
    EXPECT_NE(std::find(notes.begin(), notes.end(), "Zib built-in synth (General MIDI): 90 3C 64"), notes.end());
    // Stopped during the second note: the queued buffers play out and no note is left sounding.
    ASSERT_FALSE(notes.empty());
    EXPECT_TRUE(notes.back() == "Zib built-in synth (General MIDI): 80 3E 00" ||
                notes.back() == "Zib built-in synth (General MIDI): 90 3E 00")
        << notes.back();
}

TEST_F(PlaybackGui, TrackRecordInputEditsTheCodesAndNormalisesThemOnOk)
{
    // Track 3 records channels 1 and 10; box 1 cleared leaves channel 10 alone.
    ZibRun r = run("dialog select 1954 2 ; log 1957 ; check 1957 0 ; ok\nrun-dialog record-input\n"
                   "dialog check 1955 1 ; cancel\nrun-dialog record-input\nquit\n");
    EXPECT_TRUE(r.has("dialog: title=Track Record Input"));
    EXPECT_TRUE(r.has("control 1957: label=1 checked=1 enabled=1"));
    const auto results = r.lines("record-input:");
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0], "record-input: result=5100 codes=0,5,10,0");
    EXPECT_EQ(results[1], "record-input: result=5101 codes=0,5,33619986,0");
}

} // namespace
