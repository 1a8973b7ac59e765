// The style playback console and the Port - Instrument Relation dialog in the
// running program, through the test driver's sample runs: element buttons,
// piano keys and computer keys, the chord display, and playback through the
// built-in synthesizer.
#include "devices/core/ChordNames.h"
#include "tests/support/gui/ZibSession.h"
#include "tests/devices/DeviceGuiTest.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zib {
namespace {

using test::ZibRun;
using test::ZibSession;

class ConsoleGui : public test::DeviceGuiTest {};

// C held on the piano with E and G held on the computer keys names C Major
// after the chord timer; an element button moves the lamp.
TEST_F(ConsoleGui, ElementButtonsPianoAndKeysNameTheChord)
{
    const ZibRun r =
        run("run-dialog console\n"
            "dialog log 1808; log 1816; log 1849; log 1063; click 1058; "
            "keydown 1928 c; keydown 1928 b; mouse-down 1928 5 20; await 1816 \"" +
            FormatChordDisplay({0, 0, 0}) + "\"; log 1816; "
            "mouse-up 1928 5 20; keyup 1928 c; keyup 1928 b; keydown 1928 x; keyup 1928 x; await 1816 \"" +
            FormatChordDisplay({2, 21, 0}) + "\"; log 1816; cancel\n");
    EXPECT_TRUE(r.has("dialog: title=Style Playback Simulator - Sample"));
    EXPECT_TRUE(r.has("control 1808: label=Start enabled=1"));
    EXPECT_TRUE(r.has("control 1816: label=C enabled=1"));
    EXPECT_TRUE(
        r.has("control 1849: text=DRUM:   Sound 0.0" + std::string(9, ' ') + " selection=0-0 enabled=1"))
        << r.line("control 1849:");
    EXPECT_TRUE(r.has("control 1063: label=FILL1 enabled=0")) << "a Qe style has no fills here";
    const auto chords = r.lines("control 1816:");
    ASSERT_EQ(chords.size(), 3u);
    EXPECT_EQ(chords[1], "control 1816: label=" + FormatChordDisplay({0, 0, 0}) + " enabled=1");
    // D alone afterwards: a single note of a Qe style, shown as Major.
    EXPECT_EQ(chords[2], "control 1816: label=" + FormatChordDisplay({2, 21, 0}) + " enabled=1");
    EXPECT_TRUE(r.has("console: lit=1 chord=" + FormatChordDisplay({2, 21, 0}) + " tempo=80"));
}

// Start plays on the MIDI OUT device of the settings; the console does not
// close while it plays, and closes once stopped, ending the note it started.
TEST_F(ConsoleGui, PlaysAndClosesOnlyWhenStopped)
{
    FileProfile(session_.settingsFile()).setInt("Settings", "MidiOutDevID", 1); // "Zib Test:Out A"
    const ZibRun r =
        run("run-dialog console\n"
            "dialog click 1808; await-in-file " +
            session_.midiLog().string() +
            " \"Zib Test:Out A: 9B 3C 64\"; log 1808; cancel; log 1808; click 1808; log 1808; cancel\n");
    const auto buttons = r.lines("control 1808:");
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0], "control 1808: label=Stop enabled=1");
    EXPECT_EQ(buttons[1], "control 1808: label=Stop enabled=1") << "still open, still playing";
    EXPECT_EQ(buttons[2], "control 1808: label=Start enabled=1");
    EXPECT_TRUE(r.line("message:").empty()) << r.line("message:");
    EXPECT_TRUE(r.has("dialog-end: title=Style Playback Simulator - Sample result=5101"));
    // VAR1's C4 on ACC1 (channel 12) sounds 750 ms, longer than it was let play.
    const auto heard = session_.midiHeard("Zib Test:Out A");
    auto has = [&](const std::string& bytes) {
        return std::find(heard.begin(), heard.end(), "Zib Test:Out A: " + bytes) != heard.end();
    };
    EXPECT_TRUE(has("9B 3C 64")) << ::testing::PrintToString(heard);
    EXPECT_TRUE(has("9B 3C 00")) << "ended at the stop";
}

// A MIDI OUT device that is not there: the console plays on the built-in
// synthesizer and says so in the status bar; the setting stays.
TEST_F(ConsoleGui, AMissingOutDevicePlaysOnTheBuiltInSynth)
{
    FileProfile(session_.settingsFile()).setInt("Settings", "MidiOutDevID", 9);
    const ZibRun r = run("run-dialog console\ndialog click 1808; await-in-file " + session_.midiLog().string() +
                         " \"Zib built-in synth (General MIDI): 9B 3C 64\"; click 1808; cancel\nlog-frame\n");
    EXPECT_NE(r.line("frame:").find(
                  "status=MIDI OUT device not found: playing on Zib built-in synth (General MIDI)"),
              std::string::npos)
        << r.line("frame:");
    const auto heard = session_.midiHeard("Zib built-in synth (General MIDI)");
    EXPECT_NE(std::find(heard.begin(), heard.end(), "Zib built-in synth (General MIDI): 9B 3C 64"), heard.end())
        << ::testing::PrintToString(heard);
    EXPECT_EQ(FileProfile(session_.settingsFile()).getInt("Settings", "MidiOutDevID"), 9);
}

// The relation dialog's sample run: port 1, channel 10 gets an instrument.
TEST_F(ConsoleGui, RelationDialogRelatesTheChosenChannel)
{
    const ZibRun r = run("run-dialog port-instrument\n"
                         "dialog log 1949; log 1311; select 1950 2; ok\n");
    EXPECT_TRUE(r.has("control 1311: selection=9 items=1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16 enabled=1"))
        << r.line("control 1311:");
    EXPECT_TRUE(r.has("port-instrument: result=5100 relations=1"));
}

} // namespace
} // namespace zib
