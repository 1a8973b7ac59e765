#include "devices/core/Transposer.h"
#include "devices/core/StyleTrackChannels.h"
#include "tests/devices/console/ConsoleStyleFixture.h"
#include "zibtbl/TensionPair.h"
#include "zibtbl/ZibTbl.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zib;
using test::ConsoleStyle;
using Result = Transposer::Result;

namespace {

constexpr int kMajor = 0;
constexpr int kMin = 7;
constexpr int kSeventh = 12;

// Channels (zero-based) of the Qe tracks used here
constexpr int kQeBass = 8;
constexpr int kQeDrum = 9;
constexpr int kQePerc = 10;
constexpr int kQeAcc1 = 11;
constexpr int kWqAcc1 = 12;

// One note on and its note off per test: the note on is event `first`, the
// note off `first + 1`.
class TransposerTest : public ::testing::Test {
protected:
    void Build(bool qe, int channel, int key, int recordedKey = 0, int recordedChord = kMajor, int tensionSwitch = 0,
               int ntt = 0, const TensionSource& tensions = ZibTblTensions())
    {
        style = std::make_unique<ConsoleStyle>(qe);
        first = style->AddPattern(0, 0, 384, {{0, 96, channel, key}});
        auto& cv = style->reader.elements[0].variations[0];
        const uint8_t track = StyleChannelTrack(qe, channel);
        if (track != kNoStyleTrack) {
            cv.key[track] = uint8_t(recordedKey);
            cv.chord[track] = uint8_t(recordedChord);
            style->reader.trackTension[track] = uint8_t(tensionSwitch);
        }
        style->reader.elements[0].ntt = uint8_t(ntt);
        transposer = std::make_unique<Transposer>(style->reader, tensions);
    }

    std::vector<int> Notes(uint32_t index, const Chord& chord, Result expected = Result::Moved)
    {
        TransposedNote out;
        EXPECT_EQ(transposer->Transpose(index, {0, 0}, chord, out), expected);
        return std::vector<int>(out.notes.begin(), out.notes.begin() + out.count);
    }

    std::unique_ptr<ConsoleStyle> style;
    std::unique_ptr<Transposer> transposer;
    uint32_t first = 0;
};

// The telling entries of the tension tables, reached through a style note.
// ACC1 recorded in C Major; the chord moves the root, the table the rest.
TEST_F(TransposerTest, MovesNotesWithTheTensionTables)
{
    struct Case {
        const char* name;
        bool qe;
        int tensionSwitch;
        int key;
        Chord chord;
        std::vector<int> expected;
    };
    const std::vector<Case> cases = {
        {"C Major to C min: the third falls", true, 0, 64, {0, kMin, 0}, {63}},
        {"C Major to C min: the sixth rises", true, 0, 69, {0, kMin, 0}, {70}},
        {"C Major to C min: the seventh falls", true, 0, 71, {0, kMin, 0}, {70}},
        {"C Major to C min: the fifth stays", true, 0, 67, {0, kMin, 0}, {67}},
        {"C Major to D min: root move first", true, 0, 64, {2, kMin, 0}, {65}},
        {"C Major to C 7: the root falls", true, 0, 60, {0, kSeventh, 0}, {58}},
        {"C Major to C 7: the sixth rises", true, 0, 69, {0, kSeventh, 0}, {70}},
        {"tension 9 lifts the root", true, 1, 60, {0, kMajor, 2}, {62}},
        {"tension 9 #11 splits the root", true, 1, 60, {0, kMajor, 14}, {66, 62}},
        {"tension 9 #11 on the fourth", true, 1, 65, {0, kMajor, 14}, {66}},
        {"G Major with 9 #11: pair around G", true, 1, 60, {7, kMajor, 14}, {73, 69}},
        {"Wq tension table", false, 1, 71, {0, kMajor, 2}, {74}},
        {"Wq plain table", false, 0, 71, {0, kMajor, 2}, {72}},
    };
    for (const Case& c : cases) {
        Build(c.qe, c.qe ? kQeAcc1 : kWqAcc1, c.key, 0, kMajor, c.tensionSwitch);
        EXPECT_EQ(Notes(first, c.chord), c.expected) << c.name;
    }
}

// A pair turns the note on into two and its note off into the same two.
TEST_F(TransposerTest, EndsBothNotesOfAPair)
{
    Build(true, kQeAcc1, 60, 0, kMajor, 1);
    TransposedNote on;
    TransposedNote off;
    ASSERT_EQ(transposer->Transpose(first, {0, 0}, {0, kMajor, 14}, on), Result::Moved);
    ASSERT_EQ(transposer->Transpose(first + 1, {0, 0}, {0, kMajor, 14}, off), Result::Moved);
    EXPECT_EQ(on.count, 2);
    EXPECT_EQ(off.count, 2);
    EXPECT_EQ(on.notes, off.notes);
    EXPECT_EQ(on.status, 0x90 | kQeAcc1);
    EXPECT_EQ(on.velocity, 100);
    EXPECT_EQ(off.status, 0x80 | kQeAcc1);
    EXPECT_EQ(off.velocity, 64);
}

TEST_F(TransposerTest, NeverMovesDrumOrPercussion)
{
    for (int channel : {kQeDrum, kQePerc}) {
        Build(true, channel, 38, 5, kMajor, 1);
        EXPECT_FALSE(transposer->StepOctaveShift(StyleChannelTrack(true, channel), 1));
        EXPECT_EQ(Notes(first, {7, kMin, 14}, Result::Unchanged), std::vector<int>{38}) << channel;
        EXPECT_EQ(Notes(first + 1, {7, kMin, 14}, Result::Unchanged), std::vector<int>{38}) << channel;
    }
}

// BASS follows the root only when its Tension switch is on; with it off the
// plain table moves its third like any other track's.
TEST_F(TransposerTest, LetsTheBassFollowTheRootWithItsTensionSwitchOn)
{
    Build(true, kQeBass, 40, 0, kMajor, 1);
    EXPECT_EQ(Notes(first, {2, kMin, 14}), std::vector<int>{42});
    Build(true, kQeBass, 40, 0, kMajor, 0);
    EXPECT_EQ(Notes(first, {2, kMin, 0}), std::vector<int>{41});
}

TEST_F(TransposerTest, EndsANoteAtTheOctaveItStartedIn)
{
    Build(true, kQeAcc1, 60);
    const int acc1 = StyleChannelTrack(true, kQeAcc1);
    ASSERT_TRUE(transposer->StepOctaveShift(acc1, 1));
    EXPECT_EQ(Notes(first, {}), std::vector<int>{72});
    ASSERT_TRUE(transposer->StepOctaveShift(acc1, -1));
    ASSERT_TRUE(transposer->StepOctaveShift(acc1, -1));
    EXPECT_EQ(transposer->OctaveShift(acc1), -1);
    EXPECT_EQ(Notes(first + 1, {}), std::vector<int>{72}); // the note off follows its note on
    EXPECT_EQ(Notes(first, {}), std::vector<int>{48});    // the next note on takes the new shift

    // An early note off (a chord switch) also ends the note where it started.
    TransposedNote off;
    ASSERT_TRUE(transposer->StepOctaveShift(acc1, 2));
    ASSERT_EQ(transposer->TransposeAsNoteOff(first, {0, 0}, {}, off), Result::Moved);
    EXPECT_EQ(off.notes[0], 48);
    EXPECT_EQ(off.status, 0x90 | kQeAcc1);
    EXPECT_EQ(off.velocity, 0);
    EXPECT_EQ(transposer->TransposeAsNoteOff(first + 1, {0, 0}, {}, off), Result::Failed);

    transposer->Reset();
    EXPECT_EQ(transposer->OctaveShift(acc1), 0);
    EXPECT_EQ(Notes(first + 1, {}), std::vector<int>{60});
}

TEST_F(TransposerTest, KeepsOctaveShiftsWithinTwoOctaves)
{
    Build(true, kQeAcc1, 60);
    const int acc5 = 7;
    EXPECT_TRUE(transposer->StepOctaveShift(acc5, 2));
    EXPECT_FALSE(transposer->StepOctaveShift(acc5, 1));
    EXPECT_EQ(transposer->OctaveShift(acc5), 2);
    EXPECT_TRUE(transposer->StepOctaveShift(acc5, -4));
    EXPECT_FALSE(transposer->StepOctaveShift(acc5, -1));
    EXPECT_FALSE(transposer->StepOctaveShift(8, 1)); // no such track
    Build(false, kWqAcc1, 60);
    EXPECT_FALSE(transposer->StepOctaveShift(6, 1)); // a Wq style has six tracks
}

// A note below the recorded key keeps its true interval, and a note moved
// past either end of the MIDI range comes back by octaves.
TEST_F(TransposerTest, KeepsNotesInRangeAndIntervalsTrue)
{
    // A Major recorded in A; C# (note 1) is its third, which A min lowers.
    Build(true, kQeAcc1, 1, 9, kMajor);
    EXPECT_EQ(Notes(first, {9, kMin, 0}), std::vector<int>{0});
    // To G Major the root move gives 1 + 7 - 9 = -1: an octave up, 11.
    EXPECT_EQ(Notes(first, {7, kMajor, 0}), std::vector<int>{11});
    Build(true, kQeAcc1, 127, 0, kMajor);
    ASSERT_TRUE(transposer->StepOctaveShift(3, 2));
    EXPECT_EQ(Notes(first, {11, kMajor, 0}), std::vector<int>{126}); // 127 + 11 + 24 -> 162 -> 126
}

TEST_F(TransposerTest, FollowsTheRootOnlyForADamagedRecordedChord)
{
    Build(true, kQeAcc1, 64, 0, 30);
    EXPECT_EQ(Notes(first, {2, kMin, 0}), std::vector<int>{66});
}

TEST_F(TransposerTest, FailsOnWhatIsNotAStyleNote)
{
    Build(true, 0, 60); // channel 1: no Qe track plays it
    EXPECT_TRUE(Notes(first, {}, Result::Failed).empty());
    Build(false, 15, 60); // channel 16: no Wq track
    EXPECT_TRUE(Notes(first, {}, Result::Failed).empty());
    Build(true, kQeAcc1, 60);
    EXPECT_TRUE(Notes(first + 2, {}, Result::Failed).empty()); // the closing event
    EXPECT_TRUE(Notes(first + 3, {}, Result::Failed).empty()); // past the events
    TransposedNote out;
    EXPECT_EQ(transposer->Transpose(first, {10, 0}, {}, out), Result::Failed);
    EXPECT_EQ(transposer->Transpose(first, {0, 6}, {}, out), Result::Failed);
}

// A tension source that answers one value and writes down what it was asked.
class FakeTensions : public TensionSource {
public:
    explicit FakeTensions(int32_t answer) : answer_(answer) {}
    int32_t QeTension(uint8_t flag, uint8_t ntt, int32_t source, uint8_t type, int32_t tension,
                      int32_t interval) const override
    {
        asked.push_back({flag, ntt, source, type, tension, interval});
        return answer_;
    }
    int32_t WqSeriesTension(uint8_t flag, int32_t sourceKind, uint8_t type, int32_t tension,
                            int32_t interval) const override
    {
        asked.push_back({flag, -1, sourceKind, type, tension, interval});
        return answer_;
    }
    mutable std::vector<std::vector<int>> asked;

private:
    int32_t answer_;
};

// The lookups get the track's Tension switch, the element's NTT byte, the
// recorded chord (its major/minor kind for the Wq series), the held chord and
// the interval above the recorded key; a packed pair gives two notes in the
// directions its bytes say.
TEST_F(TransposerTest, AsksTheTensionSourceAndDecodesPairs)
{
    const FakeTensions down(-2);
    Build(true, kQeAcc1, 64, 2, kMin, 0, 2, down);
    EXPECT_EQ(Notes(first, {5, kSeventh, 3}), std::vector<int>{65}); // 64 + 5 - 2 - 2
    EXPECT_EQ(down.asked, (std::vector<std::vector<int>>{{0, 2, kMin, kSeventh, 3, 2}}));

    // first offset 3 down, second offset 4 up
    const FakeTensions pair(int32_t(0x00030104));
    Build(true, kQeAcc1, 60, 0, kMajor, 5, 1, pair);
    EXPECT_EQ(Notes(first, {0, kMajor, 2}), (std::vector<int>{57, 64}));
    EXPECT_EQ(pair.asked, (std::vector<std::vector<int>>{{5, 1, kMajor, kMajor, 2, 0}}));

    const FakeTensions wq(1);
    Build(false, kWqAcc1, 62, 0, 9, 0, 0, wq);
    EXPECT_EQ(Notes(first, {0, kMajor, 0}), std::vector<int>{63});
    EXPECT_EQ(wq.asked, (std::vector<std::vector<int>>{{0, -1, 1, kMajor, 0, 2}}));

    // A recorded chord byte past the tables asks nothing: the root move only.
    const FakeTensions unused(5);
    Build(true, kQeAcc1, 64, 0, 22, 0, 0, unused);
    EXPECT_EQ(Notes(first, {2, kMin, 0}), std::vector<int>{66});
    EXPECT_TRUE(unused.asked.empty());
}

TEST(StyleTrackChannels, MapTracksAndChannelsBothWays)
{
    const std::vector<int> qe = {9, 10, 8, 11, 12, 13, 14, 15};
    const std::vector<int> wq = {9, 10, 11, 12, 13, 14};
    EXPECT_EQ(StyleTrackCount(true), 8);
    EXPECT_EQ(StyleTrackCount(false), 6);
    for (bool isQe : {true, false}) {
        const auto& channels = isQe ? qe : wq;
        for (int track = 0; track < int(channels.size()); ++track) {
            EXPECT_EQ(StyleTrackChannel(isQe, track), channels[size_t(track)]);
            EXPECT_EQ(StyleChannelTrack(isQe, channels[size_t(track)]), track);
        }
        EXPECT_EQ(StyleTrackChannel(isQe, int(channels.size())), -1);
        for (int channel = 0; channel < 8; ++channel)
            EXPECT_EQ(StyleChannelTrack(isQe, channel), kNoStyleTrack);
    }
    EXPECT_EQ(StyleChannelTrack(false, 15), kNoStyleTrack);
    EXPECT_EQ(StyleChannelTrack(true, 16), kNoStyleTrack);
    EXPECT_EQ(StyleChannelTrack(true, -1), kNoStyleTrack);
}

} // namespace
