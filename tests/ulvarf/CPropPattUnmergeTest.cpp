// Sharing and splitting patterns on writing, and merging them on reading:
// where patterns split, which chunks are shared, and the property that a
// written style reads back with the patterns it was written from.

#include "ulvarf/CNstQeIfc.h"
#include "ulvarf/CPropEventList.h"
#include "ulvarf/CPropPattUnmerge.h"
#include "ulvarf/CQeStyleReader.h"
#include "ulvarf/CQeStyleTree.h"
#include "ulvarf/CQeStyleWriter.h"

#include "tests/support/ByteSamples.h"
#include "tests/support/QeStyleBuilder.h"
#include "tests/ulvarf/PropEventSamples.h"
#include "tests/ulvarf/TraceCapture.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace zib::ulvarf {
namespace {

using Bytes = std::vector<uint8_t>;
using zib::test::PropStreamBuilder;

constexpr uint32_t kBar = 1536;

// `perBar` (at most 100) events in each of `bars` bars: short notes, on a
// key of their bar when `varied`, and a controller that is not looked at
// when the count is odd.
Bytes evenPattern(uint32_t bars, size_t perBar, bool varied = false)
{
    PropStreamBuilder b;
    for (uint32_t bar = 0; bar < bars; ++bar) {
        const uint32_t base = bar * kBar;
        const uint8_t key = uint8_t(varied ? 40 + bar : 60);
        for (size_t i = 0; i + 1 < perBar; i += 2) {
            const uint32_t at = base + uint32_t(i) * 15;
            b.noteOn(at, key).noteOff(at + 10, key);
        }
        if (perBar % 2) b.control(base + 1500, 7, 90);
    }
    return b.end(bars * kBar);
}

CQeStyleTree::Pattern drumChunk(Bytes stream, uint32_t length)
{
    CQeStyleTree::Pattern chunk;
    chunk.id = 2;
    chunk.length = length;
    chunk.stream = std::move(stream);
    return chunk;
}

size_t eventsOf(const Bytes& stream) { return CPropEventList::Decode(stream).size(); }

TEST(CPropPattUnmerge, PatternsBelow120EventsStayWhole)
{
    const auto parts = CPropPattUnmerge::Split(drumChunk(evenPattern(7, 17), 7 * kBar), kBar);
    ASSERT_EQ(eventsOf(evenPattern(7, 17)), 119u);
    EXPECT_EQ(parts.size(), 1u);
}

TEST(CPropPattUnmerge, LongPatternsSplitAtBarLines)
{
    // 200 events over 8 bars: parts of 40 to 120 events, closed at the first
    // bar line after 40 events.
    const Bytes stream = evenPattern(8, 25);
    const auto parts = CPropPattUnmerge::Split(drumChunk(stream, 8 * kBar), kBar);
    ASSERT_EQ(parts.size(), 4u);
    for (size_t j = 0; j < parts.size(); ++j) {
        EXPECT_EQ(parts[j].start, j * 2 * kBar);
        EXPECT_EQ(parts[j].end, (j + 1) * 2 * kBar);
        EXPECT_EQ(parts[j].chunk.length, 2 * kBar);
        EXPECT_GE(eventsOf(parts[j].chunk.stream), 40u);
        // Every part holds the same two bars, from its own tick 0.
        EXPECT_EQ(parts[j].chunk.stream, evenPattern(2, 25));
    }
}

TEST(CPropPattUnmerge, NothingIsSplitWhileANoteOrControllerIsHeld)
{
    struct Case {
        const char* name;
        Bytes stream;
        std::vector<uint32_t> starts;
    };
    // 8 bars of 25 events, with something held across the bar line at 3072.
    auto held = [](auto hold) {
        PropStreamBuilder b;
        for (uint32_t bar = 0; bar < 8; ++bar) {
            for (uint32_t i = 0; i < 12; ++i) b.noteOn(bar * kBar + i * 20, 60).noteOff(bar * kBar + i * 20 + 10, 60);
            hold(b, bar);
        }
        return b.end(8 * kBar);
    };
    const std::vector<Case> cases = {
        {"nothing held", held([](PropStreamBuilder& b, uint32_t bar) { b.control(bar * kBar + 1500, 7, 1); }),
         {0, 3072, 6144, 9216}},
        {"a note", held([](PropStreamBuilder& b, uint32_t bar) {
             if (bar == 1) b.noteOn(bar * kBar + 1500, 70);
             else if (bar == 2) b.noteOff(bar * kBar + 1500, 70);
             else b.control(bar * kBar + 1500, 7, 1);
         }),
         {0, 4608, 7680}},
        {"the sustain pedal", held([](PropStreamBuilder& b, uint32_t bar) {
             b.control(bar * kBar + 1500, 64, bar == 1 ? 127 : 0);
         }),
         {0, 4608, 7680}},
        {"a note with its duration", held([](PropStreamBuilder& b, uint32_t bar) {
             if (bar == 1) b.note(bar * kBar + 1500, 70, 90, 100);
             else b.control(bar * kBar + 1500, 7, 1);
         }),
         {0, 4608, 7680}},
        {"pitch bend", held([](PropStreamBuilder& b, uint32_t bar) {
             b.channel(bar * kBar + 1500, 6, {0, uint8_t(bar == 1 ? 90 : 64)});
         }),
         {0, 4608, 7680}},
    };
    for (const Case& c : cases) {
        const auto parts = CPropPattUnmerge::Split(drumChunk(c.stream, 8 * kBar), kBar);
        std::vector<uint32_t> starts;
        for (const auto& part : parts) starts.push_back(part.start);
        EXPECT_EQ(starts, c.starts) << c.name;
    }
}

TEST(CPropPattUnmerge, PatternsShorterThanABarSplitIntoPartsOfTheTarget)
{
    // 200 events in half a bar: parts of exactly 80 events while more than 80 remain.
    PropStreamBuilder b;
    for (uint32_t i = 0; i < 100; ++i) b.noteOn(i * 7, 50).noteOff(i * 7 + 3, 50);
    const auto parts = CPropPattUnmerge::Split(drumChunk(b.end(768), 768), kBar);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(eventsOf(parts[0].chunk.stream), 80u);
    EXPECT_EQ(eventsOf(parts[1].chunk.stream), 120u);
    EXPECT_EQ(parts[1].start, 280u);
    EXPECT_EQ(parts[1].chunk.length, 768u - 280u);
}

TEST(CPropPattUnmerge, PartsOfRandomPatternsBeginAtRest)
{
    zib::test::SampleRandom random(7);
    size_t splits = 0;
    for (int round = 0; round < 60; ++round) {
        const uint32_t length = (2 + random.below(7)) * kBar;
        const Bytes stream = zib::test::randomPropPattern(random, length, 120 + random.below(300));
        const auto parts = CPropPattUnmerge::Split(drumChunk(stream, length), kBar);
        splits += parts.size() - 1;
        for (size_t j = 0; j + 1 < parts.size(); ++j) {
            const CPropEventList events = CPropEventList::Decode(parts[j].chunk.stream);
            std::map<int, int> open;
            for (const auto& event : events.events()) {
                if (event.kind == 1) ++open[events.Payload(event, 0)];
                if (event.kind == 0) {
                    EXPECT_GT(open[events.Payload(event, 0)]--, 0) << "a note held into a part";
                }
                EXPECT_LT(event.tick, parts[j].chunk.length);
            }
            for (auto [key, count] : open) EXPECT_EQ(count, 0) << "note " << key << " held out of a part";
        }
    }
    EXPECT_GT(splits, 10u);
}

TEST(CPropPattUnmerge, IdenticalPatternsOfTwoCvsAreStoredOnce)
{
    auto style = CNstQeIfc::NewStyle();
    const Bytes stream = PropStreamBuilder().noteOn(0, 36).noteOff(96, 36).end(3072);
    style->Pattern(0, 0, 0).SetStream(stream);
    style->Pattern(0, 0, 0).length = 3072;
    style->Pattern(0, 3, 0).SetStream(stream);
    style->Pattern(0, 3, 0).length = 3072;
    style->Pattern(0, 3, 1).SetStream(PropStreamBuilder().noteOn(0, 40).end(3072));
    style->Pattern(0, 3, 1).length = 3072;
    const auto chunk = CQeStyleWriter::Write(*style);
    const auto tree = CQeStyleTree::Parse(*chunk);
    ASSERT_EQ(tree->patterns.size(), 2u);
    EXPECT_EQ(tree->mapChunks, 2);
    EXPECT_EQ(tree->map, (std::vector<uint16_t>{1, 1, 2}));
    EXPECT_EQ(tree->patterns[0].stream, stream);
}

TEST(CPropPattUnmerge, ASplitPatternIsStoredAsPartsTheCvPlaysInTurn)
{
    auto style = CNstQeIfc::NewStyle();
    CNstPattern& pattern = style->Pattern(0, 0, 3); // 2 bars
    pattern.length = 2 * kBar;
    pattern.SetStream(evenPattern(2, 100));
    const auto chunk = CQeStyleWriter::Write(*style);
    const auto tree = CQeStyleTree::Parse(*chunk);
    // n = 200: parts of 40-120 events closed at the bar line, one part a bar;
    // both bars hold the same events, so one chunk plays twice.
    ASSERT_EQ(tree->patterns.size(), 1u);
    EXPECT_EQ(tree->patterns[0].stream, evenPattern(1, 100));
    EXPECT_EQ(tree->map, (std::vector<uint16_t>{1}));
    // The lone use that plays it twice ends with a stop, so the CV reads back
    // merged with both bars (not as one two-bar pattern holding a single bar).
    EXPECT_EQ(tree->elements[0].cvs[0].stream, PropStreamBuilder().start(0, 0).stop(2 * kBar, 0).end(2 * kBar));
    CNstQeIfc back;
    ASSERT_TRUE(CQeStyleReader::Read(*chunk, back));
    EXPECT_EQ(back.FindChordVar(0, 0)->patterns[3].stream, evenPattern(2, 100));

    pattern.SetStream(PropStreamBuilder().noteOn(0, 60).noteOff(10, 60).end(2 * kBar));
    CNstPattern& other = style->Pattern(0, 0, 4);
    other.length = 2 * kBar;
    PropStreamBuilder b;
    for (uint32_t i = 0; i < 60; ++i) b.noteOn(i * 20, 62).noteOff(i * 20 + 10, 62);
    for (uint32_t i = 0; i < 60; ++i) b.noteOn(kBar + i * 20, 64).noteOff(kBar + i * 20 + 10, 64);
    other.SetStream(b.end(2 * kBar));
    const auto tree2 = CQeStyleTree::Parse(*CQeStyleWriter::Write(*style));
    ASSERT_EQ(tree2->patterns.size(), 3u);
    const auto& cv = tree2->elements[0].cvs[0];
    EXPECT_EQ(cv.uses, (std::vector<CQeStyleTree::Use>{{2, 3}, {2, 4}, {2, 4}}));
    EXPECT_EQ(tree2->map, (std::vector<uint16_t>{1, 2, 3}));
    EXPECT_EQ(cv.stream, PropStreamBuilder().start(0, 0).start(0, 1).stop(kBar, 1).start(kBar, 2).end(2 * kBar));
}

TEST(CPropPattUnmerge, ACvOfMoreThan255UsesCannotBeStored)
{
    // 64 uses of one chunk that splits into 4 different parts.
    CQeStyleTree tree;
    tree.patterns = {drumChunk(evenPattern(8, 25, true), 8 * kBar)};
    tree.mapChunks = 1;
    CQeStyleTree::Element& element = tree.elements.emplace_back();
    element.signature = 0x22;
    CQeStyleTree::ChordVar& cv = element.cvs.emplace_back();
    cv.length = 8 * kBar;
    PropStreamBuilder starts;
    for (uint8_t k = 0; k < 64; ++k) {
        cv.uses.push_back({0, 0});
        tree.map.push_back(1);
        starts.start(0, k);
    }
    cv.stream = starts.end(8 * kBar);
    CQeStyleTree fewer = tree;
    fewer.elements[0].cvs[0].uses.resize(63);
    fewer.map.resize(63);
    EXPECT_FALSE(CPropPattUnmerge::Run(tree));
    zib::test::TraceCapture trace;
    EXPECT_TRUE(CPropPattUnmerge::Run(fewer));
    EXPECT_TRUE(trace.contains("Warning! Many Cv Patterns 252"));
}

// The property: random patterns, long and short, some repeated figures and
// some shared between CVs, are written (shared and split) and read back
// (merged) exactly as they were.
TEST(CPropPattUnmerge, SplitThenMergeGivesBackEveryPattern)
{
    zib::test::SampleRandom random(2024);
    for (int round = 0; round < 6; ++round) {
        auto style = CNstQeIfc::NewStyle();
        std::vector<Bytes> pool;
        for (int e = 0; e < 12; ++e) {
            const int cvs = e < 4 ? 6 : 2;
            for (int c = 0; c < cvs; ++c) {
                if (random.below(3) == 0) continue;
                CNstChordVar& cv = style->ChordVar(e, c);
                cv.bars = uint8_t(1 + random.below(4));
                cv.length = cv.bars * kBar;
                for (int t = 0; t < 8; ++t) {
                    const uint32_t pick = random.below(6);
                    Bytes stream;
                    if (pick == 0) continue;
                    if (pick == 1 && !pool.empty()) {
                        stream = pool[random.below(uint32_t(pool.size()))]; // shared, when the length agrees
                        if (CPropEventList::Decode(stream).endTick() != cv.length) continue;
                    } else if (pick == 2) {
                        stream = zib::test::repeatedPropFigure(random, cv.bars, 40 + random.below(60));
                    } else {
                        stream = zib::test::randomPropPattern(random, cv.length, random.below(2) ? 20 + random.below(100)
                                                                                              : 120 + random.below(500));
                    }
                    pool.push_back(stream);
                    CNstPattern& pattern = style->Pattern(e, c, t);
                    pattern.length = cv.length;
                    pattern.bars = cv.bars;
                    pattern.SetStream(stream);
                }
            }
        }
        const auto chunk = CQeStyleWriter::Write(*style); // prunes the model
        ASSERT_TRUE(chunk);
        const auto tree = CQeStyleTree::Parse(*chunk);
        size_t created = 0;
        for (int e = 0; e < 12; ++e) {
            for (int c = 0; c < 6; ++c) {
                for (int t = 0; t < 8; ++t) created += style->QueryPattern(e, c, t) != 0;
            }
        }
        // Both sharing and splitting took place.
        EXPECT_GT(tree->map.size(), created);
        EXPECT_LT(tree->patterns.size(), tree->map.size());

        zib::test::TraceCapture trace;
        CNstQeIfc back;
        ASSERT_TRUE(CQeStyleReader::Read(*chunk, back));
        for (const std::string& text : trace.texts()) EXPECT_NE(text.rfind("Warning!", 0), 0u) << text;
        for (int e = 0; e < 12; ++e) {
            for (int c = 0; c < 6; ++c) {
                for (int t = 0; t < 8; ++t) {
                    ASSERT_EQ(back.QueryPattern(e, c, t), style->QueryPattern(e, c, t)) << e << c << t;
                    if (!style->QueryPattern(e, c, t)) continue;
                    const CNstPattern& want = style->FindChordVar(e, c)->patterns[size_t(t)];
                    const CNstPattern& got = back.FindChordVar(e, c)->patterns[size_t(t)];
                    EXPECT_EQ(got.length, want.length);
                    // Split parts are re-encoded with both switches off: notes
                    // with a duration come back as pairs, the same events.
                    EXPECT_EQ(playedEvents(got.stream), playedEvents(want.stream)) << e << " " << c << " " << t;
                }
            }
        }
    }
}

} // namespace
} // namespace zib::ulvarf
