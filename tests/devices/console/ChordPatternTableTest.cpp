#include "devices/core/ChordPatternReader.h"
#include "tests/support/BuildPaths.h"
#include "devices/core/ChordPatternTable.h"
#include "platform/FileIo.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using namespace zib;

namespace {

uint16_t maskOf(const std::vector<int>& semitones)
{
    uint16_t mask = 0;
    for (int s : semitones)
        mask = uint16_t(mask | 1u << s);
    return mask;
}

enum Type { Major = 0, Maj6 = 1, Maj7 = 2, Sus4 = 4, Sus2 = 5, Min = 7, Seventh = 12, AugMaj7 = 19 };

// The rows every build of the table must hold, as the recogniser relies on them.
struct TellingRow {
    std::vector<int> semitones;
    int type;
    int tension;
};

const std::vector<TellingRow> kTellingRows = {
    {{0}, Major, 0},
    {{0, 7}, Major, 0},
    {{0, 4}, Major, 0},
    {{0, 4, 7}, Major, 0},
    {{0, 1, 4, 7}, Major, 1},
    {{0, 2, 4, 7}, Major, 2},
    {{0, 3, 4, 7}, Major, 3},
    {{0, 4, 5, 7}, Major, 4},
    {{0, 4, 6, 7}, Major, 5},
    {{0, 1, 4, 6, 7}, Major, 9},
    {{0, 2, 4, 6, 7}, Major, 14},
    {{0, 3, 4, 5, 7}, Major, 17},
    {{0, 1, 2, 4, 7}, Major, 2},
    {{0, 1, 2, 3, 4, 5, 6, 7}, Major, 19},
    {{0, 8, 11}, AugMaj7, 0},
    {{0, 2, 8, 11}, AugMaj7, 2},
};

TEST(ChordPatternTable, HoldsTheTellingRows)
{
    for (const TellingRow& row : kTellingRows) {
        const uint16_t mask = maskOf(row.semitones);
        const ChordPattern* found = FindChordPattern(mask);
        ASSERT_NE(found, nullptr) << "mask " << mask;
        EXPECT_EQ(found->chordType, row.type) << "mask " << mask;
        EXPECT_EQ(found->tension, row.tension) << "mask " << mask;
    }
}

// 269 rows with unique masks that all hold the root, grouped by chord type in
// the order of first appearance, Major in rows 0-39, 71 rows of "7",
// augMaj7 in rows 250-268, and no row of No3rd or No3rdNo5th.
TEST(ChordPatternTable, RowsAreGroupedByTypeInTheirOrder)
{
    const std::vector<int> typeOrder = {0, 1, 2, 4, 5, 12, 14, 13, 3, 6, 7, 8, 9, 11, 15, 16, 10, 17, 18, 19};
    std::set<uint16_t> masks;
    std::vector<int> typesSeen;
    std::map<int, int> rowsOfType;
    for (size_t i = 0; i < kChordPatternData.size(); ++i) {
        const ChordPattern& row = kChordPatternData[i];
        EXPECT_TRUE(masks.insert(row.mask).second) << "row " << i;
        EXPECT_EQ(row.mask & 1, 1) << "row " << i;
        EXPECT_EQ(row.mask & 0xF000, 0) << "row " << i;
        EXPECT_GE(row.tension, 0);
        EXPECT_LT(row.tension, 24);
        if (typesSeen.empty() || typesSeen.back() != row.chordType) typesSeen.push_back(row.chordType);
        ++rowsOfType[row.chordType];
        EXPECT_EQ(FindChordPattern(row.mask), &row);
    }
    EXPECT_EQ(kChordPatternData.size(), 269u);
    EXPECT_EQ(typesSeen, typeOrder);
    EXPECT_EQ(rowsOfType[Major], 40);
    EXPECT_EQ(rowsOfType[Seventh], 71);
    EXPECT_EQ(kChordPatternData[39].chordType, Major);
    EXPECT_EQ(kChordPatternData[249].chordType, 18);
    EXPECT_EQ(kChordPatternData[250].chordType, AugMaj7);
}

TEST(ChordPatternTable, FindsNothingForUnnamedOrOversizedMasks)
{
    EXPECT_EQ(FindChordPattern(0), nullptr);
    EXPECT_EQ(FindChordPattern(maskOf({0, 1})), nullptr);
    EXPECT_EQ(FindChordPattern(maskOf({4, 7})), nullptr); // no root
    EXPECT_EQ(FindChordPattern(0x1000 | maskOf({0, 4, 7})), nullptr);
}

// The program's table is the data file's, compiled by the build.
TEST(ChordPatternTable, IsTheDataFileCompiled)
{
    std::vector<uint8_t> bytes;
    ASSERT_EQ(readWholeFile((test::SourceDir() / "data/chords/chord-patterns.tsv").string(), bytes),
              FileIoError::None);
    const ChordPatternRead read = readChordPatternTable(std::string(bytes.begin(), bytes.end()), "t.tsv");
    ASSERT_TRUE(read.ok()) << read.errors.front();
    ASSERT_EQ(read.rows.size(), kChordPatternData.size());
    for (size_t i = 0; i < read.rows.size(); ++i)
        EXPECT_EQ(read.rows[i], kChordPatternData[i]) << "row " << i;
}

TEST(RotatePitchClassMask, TurnsTheCandidateRootIntoBitZero)
{
    struct Case {
        uint16_t mask;
        int count;
        uint16_t expected;
    };
    const Case cases[] = {
        {maskOf({4, 7, 11}), 4, maskOf({0, 3, 7})},  // E G B from E: min
        {maskOf({0, 4, 7}), 7, maskOf({0, 5, 9})},   // C E G from G
        {maskOf({0, 4, 7}), 0, maskOf({0, 4, 7})},
        {maskOf({0, 4, 7}), 12, maskOf({0, 4, 7})},  // a full turn
        {maskOf({0, 4, 7}), 13, maskOf({0, 4, 7})},  // above 12: unchanged
        {maskOf({0, 4, 7}), -1, maskOf({0, 4, 7})},
        {uint16_t(0x1000 | maskOf({1})), 1, maskOf({0})}, // bits above 11 dropped
    };
    for (const Case& c : cases)
        EXPECT_EQ(RotatePitchClassMask(c.mask, c.count), c.expected) << c.mask << " by " << c.count;
}

std::string readError(const std::string& content)
{
    const ChordPatternRead read = readChordPatternTable(content, "t.tsv");
    return read.errors.empty() ? std::string() : read.errors.front();
}

TEST(ChordPatternReader, ReportsEachFaultWithItsLine)
{
    struct Case {
        const char* name;
        std::string row;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"two columns", "0 4 7\tMajor", "t.tsv:2: error: expected 3 tab-separated columns (semitones, type, tension), found 2"},
        {"not numbers", "0 x 7\tMajor\tnone", "t.tsv:2: error: semitones: \"0 x 7\" is not a list of numbers"},
        {"above 11", "0 4 12\tMajor\tnone", "t.tsv:2: error: semitones: 12 is above 11"},
        {"descending", "0 7 4\tMajor\tnone", "t.tsv:2: error: semitones: 4 is not in ascending order"},
        {"no root", "4 7\tMajor\tnone", "t.tsv:2: error: semitones: the first must be 0 (the root)"},
        {"empty semitones", "\tMajor\tnone", "t.tsv:2: error: semitones: empty"},
        {"unknown type", "0 4 7\tMajr\tnone", "t.tsv:2: error: type: \"Majr\" is not a chord type from Major to augMaj7"},
        {"No3rd is not a row's", "0 7\tNo3rd\tnone", "t.tsv:2: error: type: \"No3rd\" is not a chord type from Major to augMaj7"},
        {"unknown tension", "0 4 7\tMajor\tb13", "t.tsv:2: error: tension: \"b13\" is not a tension set"},
        {"repeated mask", "0 4 7\tMaj6\tnone", "t.tsv:2: error: semitones: \"0 4 7\" appear in an earlier row"},
    };
    for (const Case& c : cases) {
        // Line 1 holds a good row, so line 2 is the faulty one.
        EXPECT_EQ(readError("0 4 7\tMajor\tnone\n" + c.row + "\n"), c.error) << c.name;
    }
}

TEST(ChordPatternReader, CountsTheRowsAndSkipsComments)
{
    std::string content = "# comment\r\n\r\n";
    const ChordPatternRead oneRow = readChordPatternTable(content + "0 4 7\tMajor\t9+#11\r\n", "t.tsv");
    EXPECT_EQ(oneRow.errors, std::vector<std::string>{"t.tsv:0: error: the table holds 1 rows, not 269"});
    ASSERT_EQ(oneRow.rows.size(), 1u);
    EXPECT_EQ(oneRow.rows[0], (ChordPattern{maskOf({0, 4, 7}), 0, 14}));
}

TEST(ChordPatternReader, WritesEveryRowIntoTheSource)
{
    const std::string source = chordPatternTableSource({{maskOf({0, 4, 7}), 0, 0}, {maskOf({0, 8, 11}), 19, 2}});
    EXPECT_NE(source.find("    {0x091, 0, 0},\n"), std::string::npos) << source;
    EXPECT_NE(source.find("    {0x901, 19, 2},\n"), std::string::npos) << source;
    EXPECT_NE(source.find("kChordPatternData"), std::string::npos);
}

} // namespace
