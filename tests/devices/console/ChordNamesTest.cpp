#include "devices/core/ChordNames.h"

#include <gtest/gtest.h>

using namespace zib;

namespace {

TEST(FormatChordDisplay, ShowsRootTypeAndTensionInColumns)
{
    struct Case {
        Chord chord;
        const char* text;
    };
    const Case cases[] = {
        {{0, 0, 0}, "C  Major       "},
        {{5, 9, 2}, " F min7        9"},            // a one-letter root is right-aligned
        {{1, 12, 14}, "C# 7           9 #11"},
        {{11, 19, 23}, " B augMaj7       #11 13"},
        {{9, 21, 0}, " A Major       "},            // No3rdNo5th shows as Major
        {{4, 20, 6}, "E  Major             13"},   // and so does No3rd
        {{2, 22, 24}, "D  ??          "},            // out of range: "??" and " "
        {{12, 0, -1}, "?? Major       "},
        {{3, 7, 11}, "D# min        b9\t#11 13"}, // the set's own tab
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatChordDisplay(c.chord), c.text) << c.chord.root << " " << c.chord.type << " " << c.chord.tension;
}

TEST(ChordNames, CoverEveryTypeAndTensionSet)
{
    EXPECT_EQ(GetChordTypeDisplayName(0), "Major");
    EXPECT_EQ(GetChordTypeDisplayName(10), "min7b5");
    EXPECT_EQ(GetChordTypeDisplayName(19), "augMaj7");
    EXPECT_EQ(GetChordTypeDisplayName(-1), "??");
    EXPECT_EQ(GetTensionSetName(0), " ");
    EXPECT_EQ(GetTensionSetName(4), "    11");
    EXPECT_EQ(GetTensionSetName(22), "    11 13");
    EXPECT_EQ(GetTensionSetName(24), " ");
    EXPECT_EQ(GetChordRootName(0), "C ");
    EXPECT_EQ(GetChordRootName(11), "B");
}

} // namespace
