#include "zibtbl/TensionPair.h"
#include "zibtbl/TensionTables.h"
#include "zibtbl/ZibTbl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

using zib::tbl::TensionPair;

namespace {

// Chord types and tension sets named in the cases.
constexpr int kMajor = 0;
constexpr int kMaj7 = 2;
constexpr int kMin = 7;
constexpr int kMin7 = 9;
constexpr int kSeventh = 12;
constexpr int kNo3rdNo5th = 21;
constexpr int kTension9 = 2;
constexpr int kTension9Sharp11 = 14;
constexpr int kLastTension = 23;

enum class Lookup { Qe, Wq };

// One table row: the selectors and the (source, target, tension), with the
// intervals that must hold a value; with `othersZero` every other interval is 0.
struct RowCase {
    const char* name;
    Lookup lookup;
    std::uint8_t tensionFlag;
    int selector; // nttMode (Qe) or sourceKind (Wq)
    int source;   // Qe only
    int target;
    int tension;
    std::vector<std::pair<int, std::int32_t>> expected;
    bool othersZero;
};

std::int32_t lookup(const RowCase& c, int interval)
{
    if (c.lookup == Lookup::Qe)
        return GetQeTension(c.tensionFlag, std::uint8_t(c.selector), c.source, std::uint8_t(c.target),
                            c.tension, interval);
    return GetWqSeriesTension(c.tensionFlag, c.selector, std::uint8_t(c.target), c.tension, interval);
}

const std::int32_t kPair9Sharp11 = TensionPair{6, 2}.encode(); // bytes 2, 1, 6, 1 from the least significant

const std::vector<RowCase> kTellingRows = {
    {"Table9MajorToMin", Lookup::Qe, 0, 0, kMajor, kMin, 0, {{4, -1}, {9, 1}, {11, -1}}, true},
    {"Table9MajorTo7", Lookup::Qe, 0, 0, kMajor, kSeventh, 0, {{0, -2}, {9, 1}, {11, -1}}, false},
    {"Table10MajorToMajorWith9", Lookup::Qe, 1, 0, kMajor, kMajor, kTension9, {{0, 2}}, true},
    {"Table10MajorToMajorWith9Sharp11",
     Lookup::Qe,
     1,
     0,
     kMajor,
     kMajor,
     kTension9Sharp11,
     {{0, kPair9Sharp11}, {5, 1}},
     false},
    {"Table1MajorWith9", Lookup::Wq, 1, 0, 0, kMajor, kTension9, {{11, 3}}, false},
    {"Table2MajorWith9", Lookup::Wq, 0, 0, 0, kMajor, kTension9, {{11, 1}}, false},
};

class TellingRows : public testing::TestWithParam<RowCase> {};

TEST_P(TellingRows, HoldTheirValues)
{
    const RowCase& c = GetParam();
    for (int i = 0; i < 12; ++i) {
        std::int32_t want = 0;
        bool pinned = c.othersZero;
        for (auto [interval, value] : c.expected) {
            if (interval == i) {
                want = value;
                pinned = true;
            }
        }
        if (pinned) {
            EXPECT_EQ(lookup(c, i), want) << "interval " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ZibTbl, TellingRows, testing::ValuesIn(kTellingRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ZibTbl, PackedPairOfTable10DecodesToTwoNotesUp)
{
    const std::int32_t v = GetQeTension(1, 0, kMajor, kMajor, kTension9Sharp11, 0);
    ASSERT_TRUE(TensionPair::isPacked(v));
    EXPECT_EQ(TensionPair::decode(v), (TensionPair{6, 2}));
    EXPECT_EQ(std::uint32_t(v), 0x01060102u);
}

TEST(ZibTbl, QeTensionFlagTestsOnlyZeroAgainstNonZero)
{
    for (std::uint8_t flag : {1, 2, 0x80, 0xFF})
        EXPECT_EQ(GetQeTension(flag, 0, kMajor, kMajor, kTension9, 0), 2) << int(flag);
    EXPECT_EQ(GetQeTension(0, 0, kMajor, kMajor, kTension9, 0), 0);
}

TEST(ZibTbl, UnknownSelectorsGiveZero)
{
    // Each base entry is non-zero, so a 0 shows the selector was refused.
    ASSERT_EQ(GetQeTension(0, 0, kMajor, kSeventh, 0, 0), -2);
    for (int ntt : {3, 4, 0x7F, 0xFF})
        EXPECT_EQ(GetQeTension(0, std::uint8_t(ntt), kMajor, kSeventh, 0, 0), 0) << ntt;

    ASSERT_EQ(GetWqSeriesTension(1, 0, kMajor, kTension9, 11), 3);
    for (int flag : {2, 0x80, 0xFF})
        EXPECT_EQ(GetWqSeriesTension(std::uint8_t(flag), 0, kMajor, kTension9, 11), 0);
    for (int kind : {2, -1, INT_MIN, INT_MAX})
        EXPECT_EQ(GetWqSeriesTension(1, kind, kMajor, kTension9, 11), 0);
}

// Every index argument is range-checked: a damaged style's chord byte must
// give the neutral 0, never a read outside the tables.
struct IndexCase {
    int source;
    int target;
    int tension;
    int interval;
};

TEST(ZibTbl, OutOfRangeIndexesGiveZero)
{
    // Base: Qe Major -> 7 (root to b7), Wq Major with 9 (B up to the 9th).
    ASSERT_EQ(GetQeTension(0, 0, kMajor, kSeventh, 0, 0), -2);
    ASSERT_EQ(GetQeTension(1, 0, kMajor, kSeventh, 0, 0), -2);
    const std::vector<IndexCase> qe = {
        {-1, kSeventh, 0, 0},
        {22, kSeventh, 0, 0},
        {INT_MIN, kSeventh, 0, 0},
        {INT_MAX, kSeventh, 0, 0},
        {kMajor, 22, 0, 0},
        {kMajor, 255, 0, 0},
        {kMajor, kSeventh, -1, 0},
        {kMajor, kSeventh, 24, 0},
        {kMajor, kSeventh, INT_MIN, 0},
        {kMajor, kSeventh, INT_MAX, 0},
        {kMajor, kSeventh, 0, -1},
        {kMajor, kSeventh, 0, 12},
        {kMajor, kSeventh, 0, INT_MIN},
        {kMajor, kSeventh, 0, INT_MAX},
    };
    for (std::uint8_t ntt : {0, 1, 2})
        for (std::uint8_t flag : {0, 1})
            for (const IndexCase& c : qe)
                EXPECT_EQ(GetQeTension(flag, ntt, c.source, std::uint8_t(c.target), c.tension, c.interval), 0)
                    << "ntt " << int(ntt) << " flag " << int(flag) << " source " << c.source << " target "
                    << c.target << " tension " << c.tension << " interval " << c.interval;

    ASSERT_EQ(GetWqSeriesTension(1, 0, kMajor, kTension9, 11), 3);
    const std::vector<IndexCase> wq = {
        {0, 22, kTension9, 11},
        {0, 255, kTension9, 11},
        {0, kMajor, -1, 11},
        {0, kMajor, 24, 11},
        {0, kMajor, INT_MIN, 11},
        {0, kMajor, INT_MAX, 11},
        {0, kMajor, kTension9, -1},
        {0, kMajor, kTension9, 12},
        {0, kMajor, kTension9, INT_MIN},
        {0, kMajor, kTension9, INT_MAX},
    };
    for (std::uint8_t flag : {0, 1})
        for (int kind : {0, 1})
            for (const IndexCase& c : wq)
                EXPECT_EQ(GetWqSeriesTension(flag, kind, std::uint8_t(c.target), c.tension, c.interval), 0)
                    << "flag " << int(flag) << " kind " << kind << " target " << c.target << " tension "
                    << c.tension << " interval " << c.interval;
}

TEST(ZibTbl, LastEntriesAreReadable)
{
    // Table 10 ends at index 139,391: source 21, target 21, tension 23, interval 11.
    static_assert(zib::tbl::qeEntryIndex(21, 21, 23, 11) == 139'391);
    const std::int32_t last = GetQeTension(1, 0, kNo3rdNo5th, kNo3rdNo5th, kLastTension, 11);
    EXPECT_TRUE(TensionPair::isPacked(last) || (last >= -10 && last <= 9));
    EXPECT_EQ(GetQeTension(1, 0, kNo3rdNo5th, kNo3rdNo5th, kLastTension, 12), 0);
    const std::int32_t wqLast = GetWqSeriesTension(0, 1, 21, kLastTension, 11);
    EXPECT_TRUE(wqLast >= -2 && wqLast <= 2);
}

// Musical consistency of the generated tables.

TEST(ZibTbl, PlayingOverTheRecordedChordMovesNothing)
{
    for (std::uint8_t ntt : {0, 1})
        for (std::uint8_t flag : {0, 1})
            for (int chord = 0; chord < 22; ++chord)
                for (int i = 0; i < 12; ++i)
                    EXPECT_EQ(GetQeTension(flag, ntt, chord, std::uint8_t(chord), 0, i), 0)
                        << "ntt " << int(ntt) << " flag " << int(flag) << " chord " << chord << " interval "
                        << i;
    // Wq-series tracks are recorded over Maj7 (kind 0) and min7 (kind 1).
    for (std::uint8_t flag : {0, 1})
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(GetWqSeriesTension(flag, 0, kMaj7, 0, i), 0) << i;
            EXPECT_EQ(GetWqSeriesTension(flag, 1, kMin7, 0, i), 0) << i;
        }
}

TEST(ZibTbl, TensionSetMattersOnlyWithTheTensionSwitchOn)
{
    for (int chordType = 0; chordType < 22; ++chordType)
        for (int tension = 1; tension < 24; ++tension)
            for (int i = 0; i < 12; ++i) {
                const auto t = std::uint8_t(chordType);
                for (int kind : {0, 1}) {
                    EXPECT_EQ(GetWqSeriesTension(0, kind, t, tension, i),
                              GetWqSeriesTension(0, kind, t, 0, i));
                    // With no tension held the switch changes nothing.
                    EXPECT_EQ(GetWqSeriesTension(1, kind, t, 0, i), GetWqSeriesTension(0, kind, t, 0, i));
                }
                for (std::uint8_t ntt : {0, 1, 2})
                    for (int source = 0; source < 22; source += 3) {
                        EXPECT_EQ(GetQeTension(0, ntt, source, t, tension, i),
                                  GetQeTension(0, ntt, source, t, 0, i));
                        EXPECT_EQ(GetQeTension(1, ntt, source, t, 0, i),
                                  GetQeTension(0, ntt, source, t, 0, i));
                    }
            }
}

TEST(ZibTbl, WqCompatibilityModeReadsTheSourceAsMajorOrMinor)
{
    // nttMode 2 plays a Qe track as a Wq-series track recorded over the
    // source chord's kind: minor when its third is minor.
    const std::vector<int> minorSources = {7, 8, 9, 10, 11, 15, 16};
    for (int source = 0; source < 22; ++source) {
        const bool minor = std::find(minorSources.begin(), minorSources.end(), source) != minorSources.end();
        for (std::uint8_t flag : {0, 1})
            for (int target = 0; target < 22; ++target)
                for (int tension = 0; tension < 24; ++tension)
                    for (int i = 0; i < 12; ++i)
                        ASSERT_EQ(GetQeTension(flag, 2, source, std::uint8_t(target), tension, i),
                                  GetWqSeriesTension(flag, minor ? 1 : 0, std::uint8_t(target), tension, i))
                            << "flag " << int(flag) << " source " << source << " target " << target
                            << " tension " << tension << " interval " << i;
    }
}

TEST(ZibTbl, NttModeChoosesTheVoiceThatTakesTheAddedTone)
{
    // A triad-recorded track over Maj7: "Transpose Root" moves the root down
    // to the 7th, "Transpose 5th" moves the fifth up to it.
    EXPECT_EQ(GetQeTension(0, 0, kMajor, kMaj7, 0, 0), -1);
    EXPECT_EQ(GetQeTension(0, 0, kMajor, kMaj7, 0, 7), 0);
    EXPECT_EQ(GetQeTension(0, 1, kMajor, kMaj7, 0, 0), 0);
    EXPECT_EQ(GetQeTension(0, 1, kMajor, kMaj7, 0, 7), 4);
    // A four-note recording keeps its voices: the 7th moves, root and fifth stay.
    EXPECT_EQ(GetQeTension(0, 1, kMaj7, kSeventh, 0, 11), -1);
    EXPECT_EQ(GetQeTension(0, 1, kMaj7, kSeventh, 0, 7), 0);
    EXPECT_EQ(GetQeTension(0, 0, kMaj7, kSeventh, 0, 0), 0);
}

} // namespace
