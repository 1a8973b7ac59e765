// Writing the style model as a style chunk: the "New Style" tree byte for
// byte, the header forms, pruning, forced types and repeating patterns to
// their CV's length.

#include "ulvarf/CNstQeIfc.h"
#include "ulvarf/CQeStyleTree.h"
#include "ulvarf/CQeStyleWriter.h"

#include "tests/support/QeStyleBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace zib::ulvarf {
namespace {

using Bytes = std::vector<uint8_t>;
using zib::test::PropStreamBuilder;

Bytes qeTrackTable()
{
    Bytes table;
    const uint8_t expression[] = {120, 120, 121, 121, 121, 121, 121, 121};
    const uint8_t bankLsb[] = {0, 64, 32, 0, 0, 0, 0, 0};
    for (int t = 0; t < 8; ++t) {
        for (uint8_t v : {expression[t], uint8_t(0), bankLsb[t], uint8_t(0), uint8_t(21), uint8_t(108)}) table.push_back(v);
    }
    return table;
}

CQeStyleTree written(CNstStyle& style)
{
    const auto chunk = CQeStyleWriter::Write(style);
    EXPECT_TRUE(chunk);
    auto tree = CQeStyleTree::Parse(*chunk);
    EXPECT_TRUE(tree);
    return *tree;
}

TEST(CQeStyleWriter, NewStyleIsElementZeroWithOneEmptyTwoBarPattern)
{
    auto style = CNstQeIfc::NewStyle();
    const auto chunk = CQeStyleWriter::Write(*style);
    ASSERT_TRUE(chunk);

    zib::test::QeStyleLayout expected;
    expected.version = 1;
    expected.headerId2 = 2;
    expected.header = zib::test::qeHeaderRecord("New Style", 0xAAA0, 0xF8, 0x0001, true, 0x01,
                                                {8, 8, 8, 8, 8, 8, 8, 8});
    // One empty drum pattern, repeated from 384 ticks to the CV's 3072.
    expected.patterns = {zib::test::qePattern(2, 3072, {0x98, 0x80, 0x09, 0x2F, 0x00, 0x00})};
    zib::test::QeElementChunk element;
    element.cvMask = 0x01;
    element.ntt = 1;
    element.signature = 0x22;
    element.trackTable = qeTrackTable();
    element.cvs = {zib::test::qeCv(3072,
                                   {0x09, 0x7E, 0x00, 0x04, 0x03, 0x00, 0x00, 0x00, 0x98, 0x80, 0x09, 0x2F, 0x00, 0x00},
                                   {{0, 0}})};
    expected.elements = {element};
    EXPECT_EQ(*chunk, zib::test::qeStyleChunk(expected));

    // Writing made element 0, its CV 0 and that CV's drum pattern.
    EXPECT_EQ(style->QueryStyleElem(0), 1);
    EXPECT_EQ(style->QueryPattern(0, 0, 0), 1);
    EXPECT_EQ(style->FindChordVar(0, 0)->length, 3072u);
}

TEST(CQeStyleWriter, TheHeaderIsShortForVersionZeroAndLongOtherwise)
{
    for (int version : {0, 1, 7}) {
        auto style = CNstQeIfc::NewStyle();
        style->version = version;
        style->SetName("Abc");
        style->tracks[5].trackByte = 0x55;
        style->styleByteB = 9;
        const auto chunk = CQeStyleWriter::Write(*style);
        ASSERT_TRUE(chunk);
        EXPECT_EQ((*chunk)[1], version) << "style chunk id1";
        // The header record is the style chunk's first child.
        const uint8_t id2 = (*chunk)[8 + 2];
        const uint32_t size = uint32_t((*chunk)[12] << 24 | (*chunk)[13] << 16 | (*chunk)[14] << 8 | (*chunk)[15]);
        EXPECT_EQ(id2, version ? 2 : 0);
        EXPECT_EQ(size, version ? 3u + 17u : 3u + 6u);
        const auto tree = CQeStyleTree::Parse(*chunk);
        EXPECT_EQ(tree->header.trackBytes[5], version ? 0x55 : 0);
        EXPECT_EQ(tree->header.styleByteB, version ? 9 : 0);
    }
}

TEST(CQeStyleWriter, PruningDropsWhatCannotOrNeedNotBeStored)
{
    auto style = CNstQeIfc::NewStyle();
    const Bytes notes = PropStreamBuilder().noteOn(0, 60).noteOff(100, 60).end(3072);
    // Element 5 holds data in CVs 0 and 3: CV 3 goes whatever it holds.
    style->Pattern(5, 0, 3).SetStream(notes);
    style->Pattern(5, 3, 3).SetStream(notes);
    // Element 2: CV 1 holds data, CV 4 is empty, pattern 6 is created but empty.
    style->Pattern(2, 1, 0).SetStream(notes);
    style->Pattern(2, 1, 6);
    style->ChordVar(2, 4);
    style->Element(2).chordAssign = {4, 1, 0, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    // Element 9 has only empty CVs.
    style->ChordVar(9, 0);

    const CQeStyleTree tree = written(*style);
    EXPECT_EQ(tree.header.elementMask, (1u << 0) | (1u << 2) | (1u << 5));
    EXPECT_EQ(style->QueryStyleElem(9), 0);
    EXPECT_EQ(style->QueryChordVar(5, 3), 0);
    EXPECT_EQ(style->QueryChordVar(2, 4), 0);
    EXPECT_EQ(style->QueryPattern(2, 1, 6), 0);
    ASSERT_EQ(tree.elements.size(), 3u);
    EXPECT_EQ(tree.elements[1].cvMask, 0x02);
    EXPECT_EQ(tree.elements[2].cvMask, 0x01);
    // Chord-assign bytes naming missing CVs point at the first present one.
    EXPECT_EQ(tree.elements[1].chordAssign[0], 1);
    EXPECT_EQ(tree.elements[1].chordAssign[2], 1);
    EXPECT_EQ(tree.elements[1].chordAssign[3], 1);
    // Element 0 with its empty drum pattern, then the two patterns with data.
    ASSERT_EQ(tree.patterns.size(), 3u);
    EXPECT_EQ(tree.elements[1].cvs[0].uses, (std::vector<CQeStyleTree::Use>{{0, 0}}));
}

TEST(CQeStyleWriter, PatternsTakeTheForcedTypeOrTheirOwn)
{
    for (bool forcing : {true, false}) {
        auto style = CNstQeIfc::NewStyle();
        style->typeForcing = forcing;
        style->trackPatternType[4] = 1;
        CNstPattern& pattern = style->Pattern(0, 0, 4);
        pattern.SetStream(PropStreamBuilder().noteOn(0, 60).end(3072));
        pattern.chord = 7;
        pattern.key = 9;
        const CQeStyleTree tree = written(*style);
        ASSERT_EQ(tree.patterns.size(), 1u);
        const uint8_t type = forcing ? 1 : 2;
        EXPECT_EQ(tree.patterns[0].id, type + 2);
        EXPECT_EQ(tree.patterns[0].chord, 7);
        EXPECT_EQ(tree.patterns[0].key, 9);
        EXPECT_EQ(tree.elements[0].cvs[0].uses, (std::vector<CQeStyleTree::Use>{{type, 4}}));
    }
}

TEST(CQeStyleWriter, ShortPatternsAreRepeatedToTheSmallestMultipleReachingTheCv)
{
    struct Case {
        uint32_t patternLength;
        uint32_t cvLength;
        uint32_t writtenLength;
    };
    for (const Case& c : std::vector<Case>{{1536, 4608, 4608}, {1000, 1536, 2000}, {3072, 1536, 3072}, {0, 1536, 1536}}) {
        auto style = CNstQeIfc::NewStyle();
        style->ChordVar(0, 0).length = c.cvLength;
        CNstPattern& pattern = style->Pattern(0, 0, 1);
        pattern.length = c.patternLength;
        const Bytes original = PropStreamBuilder().noteOn(0, 60).noteOff(96, 60).end(std::max<uint32_t>(c.patternLength, 96));
        pattern.SetStream(original);
        const CQeStyleTree tree = written(*style);
        ASSERT_EQ(tree.patterns.size(), 1u);
        EXPECT_EQ(tree.patterns[0].length, c.writtenLength);
        const uint32_t period = c.patternLength ? c.patternLength : c.writtenLength;
        PropStreamBuilder expected;
        for (uint32_t at = 0; at < c.writtenLength; at += period) expected.noteOn(at, 60).noteOff(at + 96, 60);
        EXPECT_EQ(tree.patterns[0].stream, c.patternLength ? expected.end(c.writtenLength) : original);
    }
}

// The writer's own re-encodings (repeating a pattern to its CV, splitting a
// long one) run with both switches off: a note with a duration comes out as
// a note on and a note off. A pattern that needs neither keeps its bytes.
TEST(CQeStyleWriter, RepeatedAndSplitPatternsHoldNotesAsPairs)
{
    auto style = CNstQeIfc::NewStyle();
    style->ChordVar(0, 0).length = 3072;
    CNstPattern& repeated = style->Pattern(0, 0, 1);
    repeated.length = 1536;
    repeated.SetStream(PropStreamBuilder().note(0, 60, 100, 96).end(1536));
    CNstPattern& kept = style->Pattern(0, 0, 2);
    kept.length = 3072;
    const Bytes own = PropStreamBuilder().note(0, 40, 90, 200).end(3072);
    kept.SetStream(own);
    CNstPattern& split = style->Pattern(0, 0, 3);
    split.length = 3072;
    PropStreamBuilder notes; // 150 notes with a duration, a different key in each bar
    for (uint32_t i = 0; i < 75; ++i) notes.note(i * 20, 50, 80, 10);
    for (uint32_t i = 0; i < 75; ++i) notes.note(1536 + i * 20, 52, 80, 10);
    split.SetStream(notes.end(3072));

    const CQeStyleTree tree = written(*style);
    ASSERT_EQ(tree.patterns.size(), 4u); // PERC, BASS, ACC1 in two parts
    EXPECT_EQ(tree.patterns[0].stream,
              PropStreamBuilder().noteOn(0, 60).noteOff(96, 60).noteOn(1536, 60).noteOff(1632, 60).end(3072));
    EXPECT_EQ(tree.patterns[1].stream, own);
    PropStreamBuilder firstBar;
    for (uint32_t i = 0; i < 75; ++i) firstBar.noteOn(i * 20, 50, 80).noteOff(i * 20 + 10, 50);
    EXPECT_EQ(tree.patterns[2].stream, firstBar.end(1536));
}

TEST(CQeStyleWriter, CvsStartTheirPatternsThenPlayTheirOwnControlEvents)
{
    auto style = CNstQeIfc::NewStyle();
    CNstChordVar& cv = style->ChordVar(1, 0);
    cv.stream = PropStreamBuilder().tempo(768, 110).start(800, 5).end(3072);
    for (int t : {0, 3, 7}) style->Pattern(1, 0, t).SetStream(PropStreamBuilder().noteOn(0, 60).end(3072));
    const CQeStyleTree tree = written(*style);
    ASSERT_EQ(tree.elements.size(), 2u);
    const CQeStyleTree::ChordVar& record = tree.elements[1].cvs[0];
    // The own stream's stray start event is not carried over.
    EXPECT_EQ(record.stream, PropStreamBuilder().start(0, 0).start(0, 1).start(0, 2).tempo(768, 110).end(3072));
    EXPECT_EQ(record.uses, (std::vector<CQeStyleTree::Use>{{0, 0}, {2, 3}, {2, 7}}));
}

} // namespace
} // namespace zib::ulvarf
