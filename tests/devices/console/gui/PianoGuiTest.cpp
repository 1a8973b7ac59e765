// The piano window under a private X display: a probe program hosts the
// piano and the keyboard octave, clicks and types through the X test
// extension, and logs the note reports its listener hears.
#include "tests/support/gui/ZibSession.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <string>
#include <vector>

using zib::test::ZibRun;
using zib::test::ZibSession;

namespace {

using Lines = std::vector<std::string>;

class PianoGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
    }

    // The note reports and states of one run
    Lines Run(const std::string& script)
    {
        const ZibRun r = session_.runChecked(script);
        EXPECT_TRUE(r.has("end")) << r.output;
        EXPECT_EQ(r.output.find("assert failed"), std::string::npos) << r.output;
        Lines out;
        for (const std::string& line : r.log)
            if (line.rfind("down ", 0) == 0 || line.rfind("up ", 0) == 0 || line.rfind("state ", 0) == 0 ||
                line.rfind("keydowns ", 0) == 0)
                out.push_back(line);
        return out;
    }

    ZibSession session_;
};

TEST_F(PianoGui, ClicksPlayTheKeysUnderTheMouse)
{
    EXPECT_EQ(Run("click-note 60\n"
                  "click-note 37\n"
                  "click-note 95\n"
                  "click 54 20\n" // between the upper parts of E and F
                  "state\n"),
              (Lines{"down 60", "up 60", "down 37", "up 37", "down 95", "up 95",
                     "state octave=0 marked-octave=0 marked-key=60 pressed=- labels=24,22"}));
}

TEST_F(PianoGui, DraggingReleasesEachKeyBeforeTheNext)
{
    EXPECT_EQ(Run("press-note 48\n"
                  "move-note 50\n"
                  "move-note 52\n"
                  "release\n"
                  "state\n"),
              (Lines{"down 48", "up 48", "down 50", "up 50", "down 52", "up 52",
                     "state octave=0 marked-octave=0 marked-key=60 pressed=- labels=24,22"}));
}

TEST_F(PianoGui, LeavingTheWindowEndsThePress)
{
    EXPECT_EQ(
        Run("press-note 60\n"
            "move 300 200\n"
            "release\n"
            "state\n"),
        (Lines{"down 60", "up 60", "state octave=0 marked-octave=0 marked-key=60 pressed=- labels=24,22"}));
}

TEST_F(PianoGui, RightClickMarksTheKey)
{
    EXPECT_EQ(
        Run("rclick-note 64\nstate\n"),
        (Lines{"down 64", "up 64", "state octave=0 marked-octave=0 marked-key=64 pressed=- labels=24,22"}));
}

TEST_F(PianoGui, LettersPlayTheMarkedOctave)
{
    EXPECT_EQ(
        Run("key z\n"
            "right\n"
            "key m\n"
            "keydown c\n"
            "state\n"
            "right\n"
            "keyup c\n" // releases the note it started, one octave down
            "left\n"
            "left\n"
            "left\n" // wraps from 0 to 4
            "key z\n"
            "key q\n" // not one of the letters
            "state\n"),
        (Lines{"down 36", "up 36", "down 59", "up 59", "down 52",
               "state octave=1 marked-octave=1 marked-key=60 pressed=52 labels=150,149", "up 52", "down 84",
               "up 84", "state octave=4 marked-octave=4 marked-key=60 pressed=- labels=528,530"}));
}

// A letter held long enough for the display's auto-repeat sends many key
// downs: the note sounds once and ends once.
TEST_F(PianoGui, AHeldLetterPlaysOneNoteUnderAutoRepeat)
{
    const Lines lines = Run("keydown z\nwait 1800\nkeycount\nkeyup z\nstate\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "down 36");
    EXPECT_GT(std::atoi(lines[1].substr(9).c_str()), 3) << lines[1] << ": no auto-repeat came";
    EXPECT_EQ(lines[2], "up 36");
    EXPECT_EQ(lines[3], "state octave=0 marked-octave=0 marked-key=60 pressed=- labels=24,22");
}

TEST_F(PianoGui, KeyUpsStillReleaseWhileAChangeIsPending)
{
    EXPECT_EQ(
        Run("keydown x\n"
            "busy 1\n"
            "key v\n" // a key down while busy is not played
            "keyup x\n"
            "busy 0\n"
            "state\n"),
        (Lines{"down 38", "up 38", "state octave=0 marked-octave=0 marked-key=60 pressed=- labels=24,22"}));
}

} // namespace
