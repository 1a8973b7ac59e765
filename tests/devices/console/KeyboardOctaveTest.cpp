#include "devices/core/KeyboardOctave.h"
#include "devices/core/CPianoKeyboard.h"
#include "devices/core/CPianoListener.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zib;

namespace {

class Recorder : public CPianoListener {
public:
    void NoteDown(int note) override { heard.push_back("down " + std::to_string(note)); }
    void NoteUp(int note) override { heard.push_back("up " + std::to_string(note)); }
    std::vector<std::string> heard;
};

using Heard = std::vector<std::string>;

class KeyboardOctaveTest : public ::testing::Test {
protected:
    KeyboardOctaveTest()
    {
        EXPECT_TRUE(piano.SetUp(5, 4));
        EXPECT_TRUE(piano.SetFirstNote(36));
    }

    void Tap(char letter)
    {
        octave.Key(letter, true);
        octave.Key(letter, false);
    }

    CPianoKeyboard piano;
    Recorder listener;
    KeyboardOctave octave{piano, listener};
};

TEST_F(KeyboardOctaveTest, PlaysOneOctaveOnTwelveLetters)
{
    const char* letters = "ZSXDCVGBHNJM";
    for (int i = 0; i < 12; ++i) {
        listener.heard.clear();
        EXPECT_TRUE(octave.Key(letters[i], true));
        EXPECT_TRUE(piano.IsPressed(36 + i)) << letters[i];
        EXPECT_EQ(octave.HeldNote(i), 36 + i);
        EXPECT_TRUE(octave.Key(letters[i], false));
        EXPECT_FALSE(piano.IsPressed(36 + i)) << letters[i];
        EXPECT_EQ(listener.heard, (Heard{"down " + std::to_string(36 + i), "up " + std::to_string(36 + i)}));
    }
}

TEST_F(KeyboardOctaveTest, IgnoresOtherKeysAndAutoRepeat)
{
    for (int code : {int('A'), int('z'), int('1'), int(' '), 0, -5, 0x15A, 314 /* an arrow's code */})
        EXPECT_FALSE(octave.Key(code, true)) << code;
    EXPECT_TRUE(octave.Key('Z', true));
    EXPECT_TRUE(octave.Key('Z', true)); // auto-repeat
    EXPECT_TRUE(octave.Key('Z', true));
    EXPECT_TRUE(octave.Key('Z', false));
    EXPECT_TRUE(octave.Key('Z', false)); // a second up: nothing held
    EXPECT_EQ(listener.heard, (Heard{"down 36", "up 36"}));
}

TEST_F(KeyboardOctaveTest, WrapsTheOctaveAndMovesTheLabels)
{
    octave.Attach(30, 20);
    struct Step {
        bool right;
        int octave;
    };
    const Step steps[] = {{false, 4}, {false, 3}, {true, 4}, {true, 0}, {true, 1}};
    for (const Step& s : steps) {
        if (s.right) octave.OctaveRight();
        else octave.OctaveLeft();
        EXPECT_EQ(octave.Octave(), s.octave);
        EXPECT_EQ(octave.UpperLabelX(), 30 + 126 * s.octave);
        EXPECT_EQ(octave.LowerLabelX(), 20 + 127 * s.octave);
    }
    Tap('M');
    EXPECT_EQ(listener.heard, (Heard{"down 59", "up 59"})); // octave 1: 48-59
    listener.heard.clear();
    octave.OctaveLeft();
    octave.OctaveLeft();
    Tap('Z');
    EXPECT_EQ(listener.heard, (Heard{"down 84", "up 84"})); // octave 4: 84-95
}

TEST_F(KeyboardOctaveTest, ReleasesTheNoteAKeyStartedAfterAnOctaveChange)
{
    octave.Key('C', true); // E2 = 40
    octave.OctaveRight();
    octave.Key('C', true); // still held: nothing new
    octave.Key('C', false);
    Tap('C');
    EXPECT_EQ(listener.heard, (Heard{"down 40", "up 40", "down 52", "up 52"}));
    EXPECT_FALSE(piano.IsPressed(40));
}

} // namespace
