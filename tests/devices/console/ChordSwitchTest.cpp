#include "devices/core/ChordRecognizer.h"
#include "devices/core/CChordSwitch.h"
#include "devices/core/CChordTimer.h"
#include "tests/devices/console/ConsoleStyleFixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zib;
using test::ConsoleStyle;
using test::TimeSignatureByte;

namespace {

// Division 96 in 4/4: a beat is 96 ticks, a bar 384.
struct TicksCase {
    const char* name;
    StylePlace from;
    StylePlace to;
    uint32_t t;
    uint32_t oldLength;
    uint32_t newLength;
    uint8_t toSignature;
    SwitchTicks expected;
};

TEST(ComputeSwitchTicks, PlacesTheSwitchByElementVariationAndBar)
{
    const uint8_t fourFour = TimeSignatureByte(4, 2);
    const uint8_t threeFour = TimeSignatureByte(3, 2);
    const std::vector<TicksCase> cases = {
        {"same pattern", {0, 1}, {0, 1}, 100, 1536, 1536, fourFour, {100, 100}},
        {"shorter variation, remainder fits", {0, 1}, {0, 2}, 1000, 1536, 768, fourFour, {1000, 232}},
        {"shorter variation, remainder too long", {0, 1}, {0, 2}, 500, 1536, 384, fourFour, {500, 116}},
        {"longer variation", {0, 1}, {0, 2}, 500, 768, 1536, fourFour, {500, 500}},
        {"to an ending at the next bar", {0, 1}, {8, 0}, 500, 1536, 1536, fourFour, {768, 0}},
        {"to element 9 on a bar line", {0, 1}, {9, 0}, 768, 1536, 1536, fourFour, {768, 0}},
        {"to element 9 at the start", {0, 1}, {9, 0}, 0, 1536, 1536, fourFour, {0, 0}},
        {"other signature", {0, 1}, {1, 0}, 500, 1536, 1536, threeFour, {768, 0}},
        {"same signature, not the last beat", {0, 1}, {1, 0}, 500, 1536, 1536, fourFour, {500, 500}},
        {"same signature, last beat", {0, 1}, {1, 0}, 300, 1536, 1536, fourFour, {384, 384}},
        {"last beat of the pattern's last bar", {0, 1}, {1, 0}, 700, 768, 1536, fourFour, {0, 0}},
        {"old pattern longer", {0, 1}, {1, 0}, 1000, 1536, 768, fourFour, {1000, 232}},
    };
    for (const TicksCase& c : cases) {
        ConsoleStyle style(true);
        style.reader.elements[size_t(c.from.element)].variations[size_t(c.from.variation)].length = c.oldLength;
        style.reader.elements[size_t(c.to.element)].variations[size_t(c.to.variation)].length = c.newLength;
        style.reader.elements[size_t(c.to.element)].timeSignature = c.toSignature;
        style.reader.SetHeader(0, 1, 96);
        EXPECT_EQ(ComputeSwitchTicks(style.reader, c.from, c.to, c.t), c.expected) << c.name;
    }
}

TEST(ComputeSwitchTicks, SurvivesDamagedPatterns)
{
    ConsoleStyle style(true);
    style.reader.SetHeader(0, 1, 96);
    style.reader.elements[0].timeSignature = 0x53; // denominator 2^5: no bar length
    EXPECT_EQ(ComputeSwitchTicks(style.reader, {0, 0}, {8, 0}, 77), (SwitchTicks{77, 0}));
    // The last event past the end of its (empty) pattern
    EXPECT_EQ(ComputeSwitchTicks(style.reader, {1, 0}, {1, 1}, 500), (SwitchTicks{500, 500}));
    style.reader.elements[2].variations[0].length = 100;
    EXPECT_EQ(ComputeSwitchTicks(style.reader, {2, 0}, {2, 1}, 500), (SwitchTicks{500, 0}));
    // Places outside the style
    EXPECT_EQ(ComputeSwitchTicks(style.reader, {10, 0}, {0, 7}, 5), (SwitchTicks{5, 0}));
    style.reader.SetHeader(0, 1, 0); // division 0
    EXPECT_EQ(ComputeSwitchTicks(style.reader, {1, 0}, {8, 0}, 50), (SwitchTicks{50, 0}));
}

TEST(AssignedVariation, ReadsTheChordAssignOfTheElement)
{
    ConsoleStyle style(true);
    style.reader.elements[3].chordAssign[7] = 4;
    style.reader.elements[3].chordAssign[9] = 6; // no such chord variation
    EXPECT_EQ(AssignedVariation(style.reader, 3, 7), 4);
    EXPECT_EQ(AssignedVariation(style.reader, 3, 9), 0);
    EXPECT_EQ(AssignedVariation(style.reader, 3, 22), 0);
    EXPECT_EQ(AssignedVariation(style.reader, 10, 7), 0);
}

class ChordTimerTick : public ::testing::Test {
protected:
    ChordTimerTick()
    {
        style.reader.SetHeader(0, 1, 96);
        style.reader.elements[0].chordAssign.fill(0);
        style.reader.elements[0].chordAssign[7] = 2; // min
        style.reader.elements[0].chordAssign[12] = 3; // 7
        for (auto& cv : style.reader.elements[0].variations)
            cv.length = 1536;
        style.reader.elements[0].variations[2].length = 768;
    }

    void Play(std::initializer_list<int> notes)
    {
        for (int n : notes)
            if (chords.NoteOn(n)) timer.Arm(0);
    }

    ConsoleStyle style{true};
    ChordRecognizer chords{true};
    CChordTimer timer;
    CChordSwitch change;
};

TEST_F(ChordTimerTick, AppliesAChordAtOnceWhileStopped)
{
    Play({45, 48, 52}); // A min
    EXPECT_EQ(change.OnChordTimer(chords, timer, style.reader, false, 0), " A min         ");
    EXPECT_EQ(chords.Current(), (Chord{9, 7, 0}));
    EXPECT_EQ(change.current, (StylePlace{0, 2}));
    EXPECT_EQ(change.pending, (StylePlace{0, 2}));
    EXPECT_FALSE(change.changePending);
    EXPECT_FALSE(timer.IsArmed());
}

TEST_F(ChordTimerTick, MakesAChangePendingWhilePlaying)
{
    Play({45, 48, 52});
    change.OnChordTimer(chords, timer, style.reader, true, 1000);
    EXPECT_EQ(chords.Current(), Chord{});
    EXPECT_TRUE(change.changePending);
    EXPECT_EQ(change.pending, (StylePlace{0, 2}));
    EXPECT_EQ(change.current, (StylePlace{0, 0}));
    EXPECT_EQ(change.ticks, (SwitchTicks{1000, 232})); // into the shorter chord variation
    EXPECT_FALSE(timer.IsArmed());

    EXPECT_FALSE(change.Commit(chords));
    EXPECT_EQ(chords.Current(), (Chord{9, 7, 0}));
    EXPECT_EQ(change.current, (StylePlace{0, 2}));
    EXPECT_FALSE(change.changePending);
    EXPECT_EQ(change.ticks, SwitchTicks{});
}

TEST_F(ChordTimerTick, KeepsTheVariationForANewRootOfTheSameType)
{
    Play({45, 48, 52});
    change.OnChordTimer(chords, timer, style.reader, false, 0);
    for (int n : {45, 48, 52})
        chords.NoteOff(n);
    Play({47, 50, 54}); // B min
    change.OnChordTimer(chords, timer, style.reader, true, 200);
    EXPECT_TRUE(change.changePending);
    EXPECT_EQ(change.pending, (StylePlace{0, 2}));
    EXPECT_EQ(change.ticks, (SwitchTicks{200, 200}));
}

TEST_F(ChordTimerTick, LeavesTheSameChordAlone)
{
    change.OnChordTimer(chords, timer, style.reader, true, 300);
    EXPECT_FALSE(change.changePending);
    EXPECT_EQ(change.ticks, SwitchTicks{});
}

TEST_F(ChordTimerTick, CancelsThePendingChangeOnStop)
{
    Play({48, 52, 55, 58}); // C7
    change.OnChordTimer(chords, timer, style.reader, true, 300);
    ASSERT_TRUE(change.changePending);
    change.Cancel(chords);
    EXPECT_FALSE(change.changePending);
    EXPECT_EQ(chords.Pending(), chords.Current());
    EXPECT_EQ(change.pending, change.current);
    EXPECT_EQ(change.ticks, SwitchTicks{});
}

TEST_F(ChordTimerTick, ReportsAnElementChangeOnCommit)
{
    change.pending = {4, 1};
    change.changePending = true;
    EXPECT_TRUE(change.Commit(chords));
    EXPECT_EQ(change.current, (StylePlace{4, 1}));
}

// Qe channels: 8 BASS, 9 DRUM, 11 ACC1
TEST(SoundingNotes, FindsTheNotesOfTracksTwoAndUpAcrossATick)
{
    ConsoleStyle style(true);
    style.AddPattern(1, 0, 384, {{0, 384, 0, 40}}); // another pattern first: indexes are absolute
    const uint32_t first = style.AddPattern(0, 1, 768,
                                            {
                                                {0, 200, 8, 36},   // BASS across 100
                                                {0, 200, 9, 36},   // DRUM: never counted
                                                {50, 100, 11, 60}, // ends at 100
                                                {100, 300, 11, 64}, // starts at 100
                                                {60, 700, 11, 67}, // across 100 and 600
                                            });
    const auto& events = style.reader.GetEvents();
    auto keys = [&](const std::vector<uint32_t>& notes) {
        std::vector<int> out;
        for (uint32_t i : notes) {
            EXPECT_GE(i, first);
            out.push_back(events[i]->data[0]);
        }
        return out;
    };
    EXPECT_EQ(keys(SoundingNotes(style.reader, {0, 1}, 100)), (std::vector<int>{36, 67}));
    EXPECT_EQ(keys(SoundingNotes(style.reader, {0, 1}, 600)), (std::vector<int>{67}));
    EXPECT_TRUE(SoundingNotes(style.reader, {0, 1}, 0).empty());
    EXPECT_TRUE(SoundingNotes(style.reader, {0, 3}, 100).empty()); // an empty pattern
}

TEST(FirstEventAtOrAfter, StopsAtTheEndOfThePattern)
{
    ConsoleStyle style(true);
    const uint32_t first = style.AddPattern(0, 0, 384, {{0, 96, 11, 60}, {192, 288, 11, 62}});
    style.AddPattern(0, 1, 384, {{0, 96, 11, 60}});
    EXPECT_EQ(FirstEventAtOrAfter(style.reader, {0, 0}, 0), first);
    EXPECT_EQ(FirstEventAtOrAfter(style.reader, {0, 0}, 100), first + 2);
    EXPECT_EQ(FirstEventAtOrAfter(style.reader, {0, 0}, 384), first + 4); // the closing event
    EXPECT_EQ(FirstEventAtOrAfter(style.reader, {0, 0}, 385), std::nullopt);
    EXPECT_EQ(FirstEventAtOrAfter(style.reader, {0, 7}, 0), std::nullopt);
}

} // namespace
