#include "devices/core/CPianoKeyboard.h"
#include "tests/devices/console/PianoRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zib;

namespace {

using Recorder = test::PianoRecorder;
using Heard = std::vector<std::string>;

// The console's piano: 5 octaves of unit 4 (126 x 64 each) from note 36.
class Piano : public ::testing::Test {
protected:
    Piano()
    {
        EXPECT_TRUE(piano.SetUp(5, 4));
        EXPECT_TRUE(piano.SetFirstNote(36));
        piano.SetListener(&listener);
    }

    // A point on the upper part of a note's key (window coordinates)
    std::pair<int, int> On(int note) const
    {
        int left = 0;
        const CPianoKey* key = piano.KeyOf(note, left);
        return {left + key->Upper().left + key->Upper().width / 2, 20};
    }

    CPianoKeyboard piano;
    Recorder listener;
};

TEST(CPianoOctave, LaysOutTheKeysOfUnitFour)
{
    // u = 4, g = 1
    struct Case {
        int key;
        char shape;
        CPianoRect upper;
        CPianoRect lower;
    };
    const Case cases[] = {
        {0, 'A', {1, 0, 12, 40}, {1, 40, 16, 24}},    // C at g
        {1, 'D', {14, 0, 8, 39}, {}},                 // C# at 3u + 2g, 10u - g high
        {2, 'B', {23, 0, 8, 40}, {19, 40, 16, 24}},   // D at 4u + 3g
        {3, 'D', {32, 0, 8, 39}, {}},                 // D# at 7u + 4g
        {4, 'C', {41, 0, 12, 40}, {37, 40, 16, 24}},  // E at 8u + 5g
        {5, 'A', {55, 0, 12, 40}, {55, 40, 16, 24}},  // F at 12u + 7g
        {6, 'D', {68, 0, 8, 39}, {}},                 // F# at 15u + 8g
        {7, 'B', {77, 0, 8, 40}, {73, 40, 16, 24}},   // G at 16u + 9g
        {8, 'D', {86, 0, 8, 39}, {}},                 // G# at 19u + 10g
        {9, 'B', {95, 0, 8, 40}, {91, 40, 16, 24}},   // A at 20u + 11g
        {10, 'D', {104, 0, 8, 39}, {}},               // A# at 23u + 12g
        {11, 'C', {113, 0, 12, 40}, {109, 40, 16, 24}}, // B at 24u + 13g
    };
    const CPianoOctave octave(0, 4, 60);
    EXPECT_EQ(CPianoOctave::WidthFor(4), 126);
    EXPECT_EQ(CPianoOctave::HeightFor(4), 64);
    for (const Case& c : cases) {
        const CPianoKey& key = octave.Key(c.key);
        EXPECT_EQ(key.Shape(), c.shape) << c.key;
        EXPECT_EQ(key.Upper(), c.upper) << c.key;
        EXPECT_EQ(key.Lower(), c.lower) << c.key;
        EXPECT_EQ(key.Note(), 60 + c.key);
    }
}

TEST_F(Piano, SpansFiveOctavesFromNote36)
{
    EXPECT_EQ(piano.Width(), 630);
    EXPECT_EQ(piano.Height(), 64);
    EXPECT_EQ(piano.FirstNote(), 36);
    EXPECT_EQ(piano.LastNote(), 95);
    EXPECT_EQ(piano.Octave(3).Area(), (CPianoRect{378, 0, 126, 64}));
    EXPECT_EQ(piano.Octave(3).Key(0).Note(), 72);
}

TEST_F(Piano, HitTestsKeysGapsAndBorders)
{
    struct Case {
        const char* name;
        int x;
        int y;
        int note;
    };
    const Case cases[] = {
        {"C upper", 5, 20, 36},
        {"C lower", 5, 50, 36},
        {"C# body", 17, 20, 37},
        {"below C#: D's lower part", 20, 45, 38},
        {"C# bottom row is D's gap", 17, 39, 255},
        {"gap between E and F upper parts", 54, 20, 255},
        {"gap between the lower parts", 35, 50, 255},
        {"E lower under D#", 38, 50, 40},
        {"second octave's C", 126 + 5, 20, 48},
        {"last B", 630 - 10, 50, 95},
        {"left border", 0, 20, 255},
        {"top border", 5, 0, 255},
        {"last row", 5, 63, 36},
        {"below the piano", 5, 64, 255},
        {"right border", 630, 50, 255},
        {"outside", 700, 20, 255},
        {"negative", -5, 20, 255},
    };
    for (const Case& c : cases)
        EXPECT_EQ(piano.HitTest(c.x, c.y), c.note) << c.name;
}

TEST_F(Piano, PlaysAClickAndCapturesTheMouse)
{
    const auto [x, y] = On(60);
    EXPECT_EQ(piano.LeftDown(x, y), CPianoKeyboard::Capture::Take);
    EXPECT_TRUE(piano.IsPressed(60));
    EXPECT_EQ(piano.ButtonUp(), CPianoKeyboard::Capture::Keep); // capture stays until the mouse leaves
    EXPECT_FALSE(piano.IsPressed(60));
    EXPECT_EQ(listener.Take(), (Heard{"down 60", "up 60"}));
    EXPECT_TRUE(piano.HasCapture());
    EXPECT_EQ(piano.LeftDown(x, y), CPianoKeyboard::Capture::Keep); // a double click
    EXPECT_EQ(piano.Move(700, 10, true), CPianoKeyboard::Capture::Release);
    EXPECT_FALSE(piano.HasCapture());
}

TEST_F(Piano, ClickingBetweenKeysPlaysNothing)
{
    EXPECT_EQ(piano.LeftDown(54, 20), CPianoKeyboard::Capture::Take);
    piano.ButtonUp();
    EXPECT_TRUE(listener.Take().empty());
}

TEST_F(Piano, DragReleasesTheOldKeyBeforePressingTheNew)
{
    const auto [x60, y] = On(60);
    const auto x61 = On(61).first;
    const auto x62 = On(62).first;
    piano.LeftDown(x60, y);
    piano.Move(x60 + 1, y, true); // the same key: nothing
    piano.Move(x61, y, true);
    piano.Move(x62, y, true);
    piano.Move(On(64).first - 7, y, true); // the gap between D# and E: off every key
    piano.Move(On(64).first, y, true);
    piano.ButtonUp();
    EXPECT_EQ(listener.Take(),
              (Heard{"down 60", "up 60", "down 61", "up 61", "down 62", "up 62", "down 64", "up 64"}));
    for (int note = 36; note <= 95; ++note)
        EXPECT_FALSE(piano.IsPressed(note)) << note;
}

TEST_F(Piano, MovingWithoutTheButtonPlaysNothing)
{
    piano.Move(On(60).first, 20, false);
    piano.Move(On(62).first, 20, false);
    EXPECT_TRUE(listener.Take().empty());
    EXPECT_EQ(piano.KeyUnderMouse(), 62);
    EXPECT_FALSE(piano.HasCapture());
}

// The button may come up outside the window, where the piano does not hear
// it: leaving the window, or losing the capture, ends the press.
TEST_F(Piano, ReleasesTheKeyWhenTheMouseLeavesOrLosesCapture)
{
    const auto [x, y] = On(60);
    piano.LeftDown(x, y);
    EXPECT_EQ(piano.Move(-1, y, true), CPianoKeyboard::Capture::Release);
    EXPECT_EQ(listener.Take(), (Heard{"down 60", "up 60"}));
    EXPECT_EQ(piano.Move(x, y, true), CPianoKeyboard::Capture::Take); // back in with the button held
    piano.CaptureLost();
    EXPECT_FALSE(piano.HasCapture());
    EXPECT_EQ(listener.Take(), (Heard{"down 60", "up 60"}));
    piano.ButtonUp();
    EXPECT_TRUE(listener.Take().empty());
}

TEST_F(Piano, RightClickMarksAndPlaysAKey)
{
    EXPECT_EQ(piano.MarkedKey(), 60);
    const auto [x, y] = On(64);
    EXPECT_EQ(piano.RightDown(x, y), CPianoKeyboard::Capture::Keep);
    EXPECT_EQ(piano.MarkedKey(), 64);
    bool all = false;
    piano.TakeDirtyNotes(all);
    EXPECT_TRUE(all);
    // Moving on with the right button down does not change the key that ends.
    piano.Move(On(67).first, y, false);
    piano.ButtonUp();
    EXPECT_EQ(listener.Take(), (Heard{"down 64", "up 64"}));
    piano.RightDown(54, 20); // no key: nothing is marked or played
    EXPECT_EQ(piano.MarkedKey(), -1);
    EXPECT_TRUE(listener.Take().empty());
}

TEST_F(Piano, ANewPressEndsTheHeldOne)
{
    piano.RightDown(On(60).first, 20);
    piano.LeftDown(On(62).first, 20);
    piano.ButtonUp();
    EXPECT_EQ(listener.Take(), (Heard{"down 60", "up 60", "down 62", "up 62"}));
}

TEST_F(Piano, ColoursKeysByStateOctaveAndMark)
{
    struct Case {
        const char* name;
        int note;
        PianoColour colour;
    };
    piano.SetMarkedOctave(1); // notes 48-59
    piano.PressKey(37);
    piano.PressKey(38);
    piano.PressKey(60);
    const Case cases[] = {
        {"white at rest", 40, {255, 255, 255}},
        {"black at rest", 39, {0, 0, 0}},
        {"white in the marked octave", 50, {128, 255, 255}},
        {"black in the marked octave", 49, {4, 0, 0}},
        {"black pressed", 37, {255, 64, 128}},
        {"white pressed", 38, {255, 128, 0}},
        {"the marked key, pressed", 60, {255, 0, 0}},
        {"outside the piano", 20, {200, 200, 200}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(piano.KeyColour(c.note), c.colour) << c.name;
    piano.ReleaseKey(60);
    EXPECT_EQ(piano.KeyColour(60), (PianoColour{255, 0, 0})); // marked whether pressed or not
}

TEST_F(Piano, IgnoresKeysOutsideItsNotes)
{
    bool all = false;
    piano.TakeDirtyNotes(all);
    piano.PressKey(35);
    piano.PressKey(96);
    EXPECT_FALSE(piano.IsPressed(35));
    EXPECT_TRUE(piano.TakeDirtyNotes(all).empty());
    EXPECT_FALSE(all);
    piano.PressKey(95);
    piano.ReleaseKey(95);
    EXPECT_EQ(piano.TakeDirtyNotes(all), std::vector<int>{95});
}

TEST_F(Piano, RedrawsTheOldAndNewMarkedOctave)
{
    bool all = false;
    piano.TakeDirtyNotes(all);
    piano.SetMarkedOctave(2);
    const std::vector<int> dirty = piano.TakeDirtyNotes(all);
    EXPECT_EQ(dirty.size(), 24u);
    EXPECT_EQ(dirty.front(), 36);
    EXPECT_EQ(dirty.back(), 71);
}

TEST(CPianoKeyboard, RefusesImpossibleSetUps)
{
    CPianoKeyboard piano;
    EXPECT_FALSE(piano.SetUp(0, 4));
    EXPECT_FALSE(piano.SetUp(11, 4));
    EXPECT_FALSE(piano.SetUp(5, 0));
    EXPECT_FALSE(piano.SetUp(5, 33));
    EXPECT_EQ(piano.OctaveCount(), 0);
    EXPECT_EQ(piano.HitTest(10, 10), CPianoKeyboard::kNoKey);
    ASSERT_TRUE(piano.SetUp(5, 4));
    EXPECT_FALSE(piano.SetFirstNote(-1));
    EXPECT_FALSE(piano.SetFirstNote(69)); // 69 + 59 passes 127
    EXPECT_TRUE(piano.SetFirstNote(68));
    EXPECT_EQ(piano.LastNote(), 127);
}

} // namespace
