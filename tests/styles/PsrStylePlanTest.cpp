// The fixed tables of the PSR-style conversion: section to element mapping
// by the PsrStyToQeSty letters, tick scaling and the chord types.
#include "styles/PsrChordTypes.h"
#include "styles/PsrStylePlan.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace zib {
namespace {

// Section name -> element name of a mapping, the unmapped sections left out.
std::map<std::string, std::string> mapping(std::string_view letters)
{
    const char* sections[] = {"Main A",  "Fill In AA", "Fill In AB", "Intro A", "Ending A", "Main B",  "Fill In BA", "Fill In BB",
                              "Intro B", "Ending B",   "Main C",     "Fill In CC", "Intro C", "Ending C", "Main D",    "Fill In DD"};
    std::map<std::string, std::string> out;
    const auto elements = MapPsrSections(letters);
    for (int s = 0; s < kPsrSectionCount; ++s)
        if (elements[size_t(s)] >= 0) out[sections[s]] = PsrElementName(elements[size_t(s)]);
    return out;
}

TEST(PsrStylePlan, SectionMapping)
{
    const std::map<std::string, std::string> mains = {
        {"Main A", "VAR1"}, {"Main B", "VAR2"}, {"Main C", "VAR3"}, {"Main D", "VAR4"}};
    const auto with = [&](std::map<std::string, std::string> more) {
        more.insert(mains.begin(), mains.end());
        return more;
    };
    struct Case {
        const char* letters;
        std::map<std::string, std::string> expected;
    };
    const Case cases[] = {
        {"ABCDABADAB",
         with({{"Intro A", "INT1"}, {"Intro B", "INT2"}, {"Fill In AA", "FILL1"}, {"Fill In BB", "FILL2"},
               {"Ending A", "END1"}, {"Ending B", "END2"}})},
        {"ABCDBCEFAC",
         with({{"Intro B", "INT1"}, {"Intro C", "INT2"}, {"Fill In CC", "FILL1"}, {"Fill In DD", "FILL2"},
               {"Ending A", "END1"}, {"Ending C", "END2"}})},
        {"ABCDACBCBC",
         with({{"Intro A", "INT1"}, {"Intro C", "INT2"}, {"Fill In AB", "FILL1"}, {"Fill In BA", "FILL2"},
               {"Ending B", "END1"}, {"Ending C", "END2"}})},
        // A pair whose first letter does not come before its second is not used.
        {"ABCDBAAACB", mains},
        // Invalid texts read as the default.
        {"ABCDABADA", mapping("ABCDABADAB")},
        {"ABCDABADABA", mapping("ABCDABADAB")},
        {"ABCDADADAB", mapping("ABCDABADAB")}, // intro letter D
        {"ABCDABAGAB", mapping("ABCDABADAB")}, // fill letter G
        {"ABCDabadab", mapping("ABCDABADAB")},
        {"", mapping("ABCDABADAB")},
    };
    for (const Case& c : cases) EXPECT_EQ(mapping(c.letters), c.expected) << c.letters;
    EXPECT_TRUE(IsValidPsrStyToQeSty("ABCDCBFECA"));
    EXPECT_FALSE(IsValidPsrStyToQeSty("ABCDABADAD"));
}

TEST(PsrStylePlan, TicksScaleTo384PerQuarterRoundingHalfUp)
{
    struct Case {
        uint64_t ticks;
        uint16_t division;
        uint32_t expected;
    };
    const Case cases[] = {
        {1920, 1920, 384}, {7, 1920, 1}, {8, 1920, 2}, // 1.4 and 1.6
        {1, 768, 1},       {3, 768, 2},                // 0.5 and 1.5 round up
        {1, 769, 0},       {96, 96, 384},  {25, 96, 100}, {15360, 1920, 3072},
        {0xFFFFFFFFull, 96, 0xFFFFFFFFu}, // clamped
        {100, 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ScalePsrTicks(c.ticks, c.division), c.expected) << c.ticks << "/" << c.division;
}

TEST(PsrChordTypes, EveryRow)
{
    struct Row {
        const char* name;
        int exact;
        int nearest;
        int interval;
    };
    constexpr int n = kNoQeChordType;
    const Row rows[kPsrChordTypeCount] = {
        {"Maj", 0, 0, -1},      {"Maj6", 1, 1, -1},       {"Maj7", 2, 2, -1},      {"Maj7(#11)", n, 2, 6},
        {"Maj(9)", n, 0, 2},    {"Maj7(9)", n, 2, 2},     {"Maj6(9)", n, 1, 2},    {"aug", 17, 17, -1},
        {"min", 7, 7, -1},      {"min6", 8, 8, -1},       {"min7", 9, 9, -1},      {"min7b5", 10, 10, -1},
        {"min(9)", n, 7, 2},    {"min7(9)", n, 9, 2},     {"min7(11)", n, 9, 5},   {"minMaj7", 11, 11, -1},
        {"minMaj7(9)", n, 11, 2}, {"dim", 15, 15, -1},    {"dim7", 16, 16, -1},    {"7", 12, 12, -1},
        {"7sus4", 14, 14, -1},  {"7b5", 13, 13, -1},      {"7(9)", n, 12, 2},      {"7(#11)", n, 12, 6},
        {"7(13)", n, 12, 9},    {"7(b9)", n, 12, 1},      {"7(b13)", n, 18, 8},    {"7(#9)", n, 12, 3},
        {"Maj7aug", 19, 19, -1}, {"7aug", 18, 18, -1},    {"1+8", 21, 21, -1},     {"1+5", 20, 20, -1},
        {"sus4", 4, 4, -1},     {"1+2+5", 5, 5, -1},
    };
    ASSERT_EQ(PsrChordTypes().size(), size_t(kPsrChordTypeCount));
    for (int t = 0; t < kPsrChordTypeCount; ++t) {
        const PsrChordType* type = FindPsrChordType(t);
        ASSERT_NE(type, nullptr);
        EXPECT_STREQ(type->name, rows[t].name) << t;
        EXPECT_EQ(type->exactQe, rows[t].exact) << t;
        EXPECT_EQ(type->nearestQe, rows[t].nearest) << t;
        EXPECT_EQ(PsrTensionInterval(type->tension), rows[t].interval) << t;
    }
    EXPECT_EQ(FindPsrChordType(34), nullptr);
    EXPECT_EQ(FindPsrChordType(-1), nullptr);
}

} // namespace
} // namespace zib
