// The style model: creation on access with the Qe hooks, the "New Style"
// defaults, queries, deletion and the pattern-bars rule.

#include "ulvarf/CNstQeIfc.h"

#include "tests/support/QeStyleBuilder.h"

#include <gtest/gtest.h>

#include <vector>

namespace zib::ulvarf {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(CNstStyle, NewStyleHasTheQeDefaultsAndNoElement)
{
    const auto style = CNstQeIfc::NewStyle();
    EXPECT_EQ(style->name(), "New Style");
    EXPECT_EQ(style->version, 1);
    EXPECT_EQ(style->release, 2);
    EXPECT_TRUE(style->typeForcing);
    EXPECT_EQ(style->styleByteA, 0);
    EXPECT_EQ(style->styleByteB, 0);
    const std::array<uint8_t, 8> types = {0, 0, 1, 2, 2, 2, 2, 2};
    const std::array<uint8_t, 8> modes = {0, 0, 2, 2, 2, 2, 2, 2};
    const std::array<uint8_t, 8> tensions = {0, 0, 0, 1, 1, 1, 1, 1};
    const std::array<uint8_t, 8> thirds = {1, 0, 0, 0, 0, 0, 0, 0};
    for (size_t t = 0; t < 8; ++t) {
        EXPECT_EQ(style->trackPatternType[t], types[t]) << t;
        EXPECT_EQ(style->tracks[t].mode, modes[t]) << t;
        EXPECT_EQ(style->tracks[t].tension, tensions[t]) << t;
        EXPECT_EQ(style->tracks[t].thirdFlag, thirds[t]) << t;
        EXPECT_EQ(style->tracks[t].trackByte, 8) << t;
    }
    for (int e = 0; e < 12; ++e) EXPECT_EQ(style->QueryStyleElem(e), 0);
}

TEST(CNstStyle, NewElementsTakeTheQeDefaultsOfTheirSlot)
{
    const std::array<uint8_t, 12> ntt = {1, 1, 1, 1, 3, 1, 1, 1, 3, 1, 1, 1};
    const std::array<uint8_t, 12> bars = {2, 2, 2, 2, 2, 2, 1, 1, 2, 2, 2, 2};
    const std::array<uint8_t, 8> expression = {120, 120, 121, 121, 121, 121, 121, 121};
    const std::array<uint8_t, 8> bankLsb = {0, 64, 32, 0, 0, 0, 0, 0};
    auto style = CNstQeIfc::NewStyle();
    for (int e = 0; e < 12; ++e) {
        const CNstStyleElem& element = style->Element(e);
        EXPECT_EQ(element.ntt, ntt[size_t(e)]) << e;
        EXPECT_EQ(element.newCvBars, bars[size_t(e)]) << e;
        EXPECT_EQ(element.numerator, 4);
        EXPECT_EQ(element.log2Denominator, 2);
        for (size_t t = 0; t < 8; ++t) {
            const CNstTrackRecord& r = element.tracks[t];
            EXPECT_EQ(r.expression, expression[t]);
            EXPECT_EQ(r.bankMsb, 0);
            EXPECT_EQ(r.bankLsb, bankLsb[t]);
            EXPECT_EQ(r.program, 0);
            EXPECT_EQ(r.rangeLow, 21);
            EXPECT_EQ(r.rangeHigh, 108);
        }
        EXPECT_EQ(style->QueryStyleElem(e), 1);
    }
}

TEST(CNstStyle, CvsAndPatternsAreMadeOnAccessFromTheirParents)
{
    auto style = CNstQeIfc::NewStyle();
    CNstStyleElem& element = style->Element(6); // FILL1: one bar for new CVs
    element.numerator = 3;
    element.log2Denominator = 3;
    CNstChordVar& cv = style->ChordVar(6, 1);
    EXPECT_EQ(cv.numerator, 3);
    EXPECT_EQ(cv.log2Denominator, 3);
    EXPECT_EQ(cv.bars, 1);
    EXPECT_EQ(cv.length, 576u);
    EXPECT_EQ(style->QueryChordVar(6, 1), 1);
    EXPECT_EQ(style->QueryPattern(6, 1, 2), 0);

    const CNstPattern& bass = style->Pattern(6, 1, 2);
    EXPECT_TRUE(bass.created());
    EXPECT_TRUE(bass.empty);
    EXPECT_EQ(bass.type, 1);
    EXPECT_EQ(bass.numerator, 3);
    EXPECT_EQ(bass.bars, 1);
    EXPECT_EQ(bass.length, 384u);
    EXPECT_EQ(bass.stream, zib::test::PropStreamBuilder().end(384));
    EXPECT_EQ(style->QueryPattern(6, 1, 2), 1);
    EXPECT_EQ(style->Pattern(6, 1, 5).type, 2);

    style->Pattern(6, 1, 2).SetStream(zib::test::PropStreamBuilder().noteOn(0, 40).end(576));
    EXPECT_EQ(style->QueryPattern(6, 1, 2), 2);
    EXPECT_EQ(style->QueryChordVar(6, 1), 2);
    EXPECT_EQ(style->QueryStyleElem(6), 2);
}

TEST(CNstStyle, QueriesAndDeletionsNeverCreate)
{
    auto style = CNstQeIfc::NewStyle();
    for (int e : {-1, 0, 12}) EXPECT_EQ(style->QueryStyleElem(e), 0);
    EXPECT_EQ(style->QueryChordVar(3, 0), 0);
    EXPECT_EQ(style->QueryPattern(3, 0, 0), 0);
    style->DeleteChordVar(3, 0);
    style->DeletePattern(3, 0, 0);
    style->DeleteStyleElem(3);
    EXPECT_EQ(style->FindElement(3), nullptr);

    style->Pattern(3, 2, 4).SetStream(zib::test::PropStreamBuilder().noteOn(0, 60).end(100));
    style->DeletePattern(3, 2, 4);
    EXPECT_EQ(style->QueryPattern(3, 2, 4), 0);
    EXPECT_EQ(style->FindChordVar(3, 2)->patterns[4].stream, CNstPattern::ClearedStream());
    style->DeleteChordVar(3, 2);
    EXPECT_EQ(style->QueryChordVar(3, 2), 0);
    EXPECT_EQ(style->QueryStyleElem(3), 1);
    style->DeleteStyleElem(3);
    EXPECT_EQ(style->QueryStyleElem(3), 0);
}

TEST(CNstStyle, PatternBarsAreBroughtToADivisorOfTheCvBars)
{
    struct Case {
        int v, current, d;
        uint8_t bars;
    };
    const std::vector<Case> cases = {
        {8, 1, 8, 8},  {9, 1, 8, 8},  {3, 4, 8, 2}, {3, 1, 8, 4}, {5, 6, 12, 4}, {5, 1, 12, 6},
        {0, 2, 8, 1},  {-3, 2, 8, 1}, {2, 1, 0, 1}, {7, 1, 7, 7}, {5, 1, 7, 7},  {1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CNstChordVar::FitPatternBars(c.v, c.current, c.d), c.bars) << c.v << " " << c.current << " " << c.d;
    }
}

TEST(CNstStyle, NamesKeep31BytesAndTheSizeEstimateEnds)
{
    auto style = CNstQeIfc::NewStyle();
    style->SetName(std::string(40, 'x'));
    EXPECT_EQ(style->name(), std::string(31, 'x'));
    style->SetName(std::string("ab\0cd", 5));
    EXPECT_EQ(style->name(), "ab");

    CNstPattern& pattern = style->Pattern(0, 0, 0);
    pattern.length = 0; // would double for ever
    EXPECT_GT(style->SizeEstimate(), 118u + 102u + 227u);
    pattern.length = 384; // 384, 768, 1536 and 3072 stay within the 2-bar CV
    const size_t perPattern = pattern.stream.size();
    EXPECT_EQ(style->SizeEstimate(), 118u + 102u + 227u + perPattern * 4 + 7 * CNstPattern::ClearedStream().size() * 4);
}

} // namespace
} // namespace zib::ulvarf
