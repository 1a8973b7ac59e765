#include "styles/CWqStyleWriter.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/RealFixtures.h"
#include "tests/support/TempDir.h"
#include "tests/support/WqImageBuilder.h"

namespace zib {
namespace {

using test::WqEv;
using test::WqEvents;
using test::WqImageBuilder;

std::vector<uint8_t> bytes(const WqEvents& events) { return WqImageBuilder::bytesOf(events); }

size_t fileHeadSize(char model) { return model == 'I' || model == 'M' ? 224 : 96; }

// A slot's events with pattern references replaced by the pattern's bars, as
// the readers play them: plain bar event, then the events of the pattern bar
// whose number equals the repeat counter.
std::vector<uint8_t> expandSlot(const CWqStyleData& style, int slot)
{
    std::vector<uint8_t> out;
    auto run = style.GetSlotRun(slot);
    int counter = 0;
    for (size_t at = 0; at + 4 <= run.size(); at += 4) {
        WqEvent e = WqEvent::fromBytes(run.data() + at);
        if (!(e.isBar() && e.hasPattern())) {
            out.insert(out.end(), e.b.begin(), e.b.end());
            continue;
        }
        counter = e.barMark() == WqBarMark::Start ? 0 : counter + 1;
        int pattern = e.barPattern();
        e.b[2] = 0;
        e.b[3] &= 0x3F;
        out.insert(out.end(), e.b.begin(), e.b.end());
        auto prun = style.GetPatternRun(pattern);
        EXPECT_FALSE(prun.empty()) << "slot " << slot << " refers to empty pattern " << pattern;
        bool playing = false;
        for (size_t p = 0; p + 4 <= prun.size(); p += 4) {
            WqEvent pe = WqEvent::fromBytes(prun.data() + p);
            if (pe.isBar()) playing = pe.barNumber() == counter;
            else if (!pe.isEnd() && playing) out.insert(out.end(), pe.b.begin(), pe.b.end());
        }
    }
    return out;
}

struct Patternized {
    WqPatternizeResult result;
    std::vector<uint8_t> file;
    int patterns = 0;
};

Patternized patternize(const std::vector<uint8_t>& image, char model)
{
    CWqStyleWriter writer(image.data(), image.size(), uint32_t(model));
    Patternized p;
    p.result = writer.BuildPatternized(p.file);
    p.patterns = writer.GetPatternCount();
    return p;
}

TEST(CWqStyleWriter, CompareBars)
{
    const WqEv n1 = WqEv::note(0, 36, 100, 24), n2 = WqEv::note(48, 38, 100, 24), n3 = WqEv::note(96, 40, 90, 24);
    struct Row { const char* what; WqEvents a, b; int bars; };
    const Row rows[] = {
        {"identical one bar", {WqEv::bar(0), n1, WqEv::end(0)}, {WqEv::bar(0), n1, WqEv::end(0)}, 1},
        {"identical two bars", {WqEv::bar(0), n1, WqEv::bar(1), n2, WqEv::end(1)},
         {WqEv::bar(0), n1, WqEv::bar(1), n2, WqEv::end(1)}, 2},
        {"second bar differs", {WqEv::bar(0), n1, WqEv::bar(1), n2, WqEv::end(1)},
         {WqEv::bar(0), n1, WqEv::bar(1), n3, WqEv::end(1)}, 1},
        {"differs in first bar", {WqEv::bar(0), n1, n2, WqEv::end(0)}, {WqEv::bar(0), n1, n3, WqEv::end(0)}, 0},
        {"both reach a boundary", {WqEv::bar(0), n1, WqEv::bar(1), n2, WqEv::bar(2), WqEv::end(2)},
         {WqEv::bar(0), n1, WqEv::bar(1), n2, WqEv::end(1)}, 2},
        {"content only in the last shared bar", {WqEv::bar(0), n1, WqEv::bar(1), n2, WqEv::end(1)},
         {WqEv::bar(0), n1, WqEv::end(0)}, 0},
        {"one bar has an extra event", {WqEv::bar(0), n1, n2, WqEv::end(0)}, {WqEv::bar(0), n1, WqEv::end(0)}, 0},
        {"extra event before next bar", {WqEv::bar(0), n1, WqEv::bar(1), n2, WqEv::end(1)},
         {WqEv::bar(0), n1, n3, WqEv::bar(1), n2, WqEv::end(1)}, 0},
        {"only bar events shared", {WqEv::bar(0), WqEv::bar(1), n1, WqEv::end(1)}, {WqEv::bar(0), WqEv::bar(1), n2, WqEv::end(1)}, 0},
        {"empty bars then a differing bar", {WqEv::bar(0), WqEv::end(0)}, {WqEv::bar(0), n1, WqEv::end(0)}, 0},
        {"program change shared", {WqEv::bar(0), WqEv::program(0, 5), n1, WqEv::end(0)},
         {WqEv::bar(0), WqEv::program(0, 5), n1, WqEv::end(0)}, 0},
        {"different time signature", {WqEv::bar(0, 19), n1, WqEv::end(0)}, {WqEv::bar(0, 35), n1, WqEv::end(0)}, 0},
        {"runs end without end event", {WqEv::bar(0), n1}, {WqEv::bar(0), n1, n2, WqEv::end(0)}, 0},
        {"bars not numbered from 0", {WqEv::bar(1), n1, WqEv::end(0)}, {WqEv::bar(1), n1, WqEv::end(0)}, 0},
        {"no leading bar event", {n1, WqEv::bar(0), n2, WqEv::end(0)}, {n1, WqEv::bar(0), n2, WqEv::end(0)}, 0},
        {"empty", {}, {WqEv::bar(0), n1, WqEv::end(0)}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(CWqStyleWriter::CompareBars(bytes(r.a), bytes(r.b)), r.bars);
    }
}

// Two identical one-bar DRUM tracks of k events in Variation1 CV1 and CV2.
TEST(CWqStyleWriter, TwoIdenticalTracksShareOnePattern)
{
    for (int k : {1, 3}) {
        SCOPED_TRACE(k);
        WqEvents track{WqEv::bar(0)};
        for (int i = 0; i < k; ++i) track.push_back(WqEv::note(uint16_t(24 * i), uint8_t(36 + i), 100, 12));
        track.push_back(WqEv::end(0));
        auto image = WqImageBuilder('9').cv(0, 0, 0, 1).cv(0, 1, 1, 1).slot(0, 0, 0, track).slot(0, 1, 0, track).build();
        Patternized p = patternize(image, '9');
        ASSERT_EQ(p.result, WqPatternizeResult::Written);
        EXPECT_EQ(p.patterns, 1);
        CWqStyleData out(p.file.data() + 96, p.file.size() - 96, '9');
        ASSERT_EQ(out.Validate(), WqImageError::None);
        auto referencing = bytes({WqEv::bar(0, 19, 3, 0), WqEv::end(0)});
        for (int slot : {0, 6}) {
            auto run = out.GetSlotRun(slot);
            EXPECT_EQ(std::vector<uint8_t>(run.begin(), run.end()), referencing);
        }
        auto pattern = out.GetPatternRun(0);
        EXPECT_EQ(std::vector<uint8_t>(pattern.begin(), pattern.end()), bytes(track));
        EXPECT_EQ(out.GetPatternTimeSig(0), 19);
        EXPECT_EQ(out.GetPatternLength(0), 1);
        EXPECT_EQ(out.GetPatternLength(1), 0);
        EXPECT_EQ(out.GetPatternTimeSig(1), 19);
    }
}

TEST(CWqStyleWriter, DeclinedCases)
{
    const WqEv n1 = WqEv::note(0, 36, 100, 24), n2 = WqEv::note(48, 38, 100, 24);
    auto longTrack = [&](int bars) {
        WqEvents t;
        for (int i = 0; i < bars; ++i) t.insert(t.end(), {WqEv::bar(uint16_t(i)), n1, n2});
        t.push_back(WqEv::end(uint16_t(bars - 1)));
        return t;
    };
    struct Row { const char* what; char model; std::vector<uint8_t> image; WqPatternizeResult result; };
    const Row rows[] = {
        {"no shared first bar", '9',
         WqImageBuilder('9').cv(0, 0, 0, 1).cv(0, 1, 0, 1).slot(0, 0, 0, {WqEv::bar(0), n1, WqEv::end(0)})
             .slot(0, 1, 0, {WqEv::bar(0), n2, WqEv::end(0)}).slot(0, 1, 1, {WqEv::bar(0), n1, WqEv::end(0)}).build(),
         WqPatternizeResult::NoPattern},
        {"program change in the opening bar", 'M',
         WqImageBuilder('M').cv(0, 0, 0, 1).cv(1, 0, 0, 1)
             .slot(0, 0, 2, {WqEv::bar(0), WqEv::program(0, 0x0105), n1, n2, WqEv::end(0)})
             .slot(1, 0, 2, {WqEv::bar(0), WqEv::program(0, 0x0105), n1, n2, WqEv::end(0)}).build(),
         WqPatternizeResult::NoPattern},
        {"pattern over 16 bars", '9',
         WqImageBuilder('9').cv(0, 0, 0, 16).cv(0, 1, 0, 16).slot(0, 0, 0, longTrack(17)).slot(0, 1, 0, longTrack(17)).build(),
         WqPatternizeResult::NoPattern},
        {"damaged offsets", '9', WqImageBuilder('9').headByte(534 + 10, 0x00).build(), WqPatternizeResult::BadImage},
        {"already patternized", '9',
         WqImageBuilder('9').cv(0, 0, 0, 1).slot(0, 0, 0, {WqEv::bar(0, 19, 3, 0), WqEv::end(0)})
             .pattern(0, 19, 1, {WqEv::bar(0), n1, WqEv::end(0)}).build(),
         WqPatternizeResult::BadImage},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Patternized p = patternize(r.image, r.model);
        EXPECT_EQ(p.result, r.result);
        EXPECT_TRUE(p.file.empty());
    }
}

// Two shared three-note tracks save 4 bytes when patternized; a filler track
// brings the image to the wanted size.
std::vector<uint8_t> imageOfSize(size_t size)
{
    WqEvents shared{WqEv::bar(0), WqEv::note(0, 36, 100, 6), WqEv::note(12, 38, 100, 6), WqEv::note(24, 40, 100, 6),
                    WqEv::end(0)};
    WqEvents filler{WqEv::bar(0)};
    size_t fillerEvents = (size - 1168 - 40) / 4 - 2;
    for (size_t i = 0; i < fillerEvents; ++i)
        filler.push_back(WqEv::control(uint16_t(i % 384), uint8_t(1 + i % 100), uint8_t(i % 128)));
    filler.push_back(WqEv::end(0));
    return WqImageBuilder('9').cv(0, 0, 0, 1).cv(0, 1, 0, 1).cv(0, 2, 0, 1)
        .slot(0, 1, 0, shared).slot(0, 2, 0, shared).slot(0, 0, 3, filler).build();
}

TEST(CWqStyleWriter, SizeLimit)
{
    auto big = imageOfSize(0xFFE0 + 4);
    ASSERT_EQ(big.size(), 0xFFE0u + 4);
    Patternized tooLarge = patternize(big, '9');
    EXPECT_EQ(tooLarge.result, WqPatternizeResult::TooLarge);
    EXPECT_TRUE(tooLarge.file.empty());

    auto fits = imageOfSize(0xFFE0);
    Patternized ok = patternize(fits, '9');
    ASSERT_EQ(ok.result, WqPatternizeResult::Written);
    EXPECT_EQ(ok.file.size() - 96, 0xFFE0u - 4);
}

TEST(CWqStyleWriter, FileHeadsAreByteExact)
{
    std::vector<uint8_t> name = {'S', 't', 'y', 'l', 'e', 'N', 'a', 'm', 'e', '1', 'x', 'y'};
    // Layout A
    {
        auto head = CWqStyleWriter::MakeFileHead('9', name, 0x1234);
        ASSERT_EQ(head.size(), 96u);
        std::vector<uint8_t> expected = {'D', 'A', 'S', 'K', '9', 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                         32, 0, 0, 0, 40, 0, 0, 0, 72, 0, 0, 0, 24, 0, 0, 0,
                                         'S', 't', 'y', 'l', 'e', 'N', 'a', 'm', 'e', '1'};
        for (int i = 0; i < 3; ++i) for (char c : std::string("empty     ")) expected.push_back(uint8_t(c));
        // entries at 32, 32 + 0x1240, + 1168, + 1168
        uint32_t addresses[4] = {32, 32 + 0x1240, 32 + 0x1240 + 1168, 32 + 0x1240 + 2 * 1168};
        for (int i = 0; i < 4; ++i) {
            expected.insert(expected.end(), {uint8_t(addresses[i]), 0, uint8_t(addresses[i] >> 8), 4});
            expected.insert(expected.end(), {uint8_t(i == 0 ? 0x34 : 0), uint8_t(i == 0 ? 0x12 : 0)});
        }
        EXPECT_EQ(head, expected);
        for (char model : {'<', 'H'}) {
            auto other = CWqStyleWriter::MakeFileHead(uint32_t(model), name, 0x1234);
            std::vector<uint8_t> expect = expected;
            expect[4] = uint8_t(model);
            expect[5] = 0;
            expect[6] = 4;
            expect[7] = 1;
            EXPECT_EQ(other, expect) << model;
        }
    }
    // Layout B
    for (char model : {'I', 'M'}) {
        auto head = CWqStyleWriter::MakeFileHead(uint32_t(model), name, 0xABCD);
        ASSERT_EQ(head.size(), 224u);
        std::vector<uint8_t> expected(224, 0);
        std::copy_n("DASK", 4, expected.begin());
        expected[4] = uint8_t(model);
        if (model == 'I') { expected[5] = 5; expected[6] = 4; }
        else { expected[5] = 0; expected[6] = 4; expected[7] = 1; }
        expected[16] = 224;
        expected[21] = 0x30;
        int entries = model == 'I' ? 48 : 16;
        for (int i = 0; i < entries; ++i) {
            expected[22 + 4 * size_t(i)] = uint8_t(i);
            expected[23 + 4 * size_t(i)] = 1;
        }
        expected[24] = 0xCD;
        expected[25] = 0xAB;
        EXPECT_EQ(head, expected) << model;
    }
}

TEST(CWqStyleWriter, OnlyTheTablesOfTheHeadChange)
{
    WqEvents track{WqEv::bar(0), WqEv::note(0, 36, 100, 12), WqEv::note(24, 38, 100, 12), WqEv::end(0)};
    for (char model : {'9', 'I'}) {
        WqImageBuilder b(model);
        b.name("Keep Me").tempo(99).retrigger(0x3C).track(4, 0x0102, 77, 3);
        b.cv(0, 0, 0, 1).cv(4, 1, 0, 1).slot(0, 0, 1, track).slot(4, 1, 1, track);
        auto image = b.build();
        Patternized p = patternize(image, model);
        ASSERT_EQ(p.result, WqPatternizeResult::Written);
        size_t head = b.headSize(), fileHead = fileHeadSize(model);
        std::vector<uint8_t> before(image.begin(), image.begin() + ptrdiff_t(head - 834));
        std::vector<uint8_t> after(p.file.begin() + ptrdiff_t(fileHead), p.file.begin() + ptrdiff_t(fileHead + head - 834));
        EXPECT_EQ(before, after) << model;
        uint16_t sizeField = uint16_t(p.file[model == 'I' ? 24 : 76] | p.file[model == 'I' ? 25 : 77] << 8);
        EXPECT_EQ(sizeField, p.file.size() - fileHead);
    }
}

// Random styles whose tracks repeat each other's bars in many ways: the
// patternized file, expanded, gives back every slot's events exactly.
TEST(CWqStyleWriter, PatternizedStyleExpandsToTheOriginalTracks)
{
    std::mt19937 rng(20240611);
    int written = 0;
    for (int round = 0; round < 200; ++round) {
        char model = "9<HIM"[round % 5];
        auto pick = [&](int n) { return int(rng() % uint32_t(n)); };
        // A small alphabet of bar contents so that bars repeat across tracks.
        std::vector<WqEvents> barContents;
        for (int i = 0; i < 4 + pick(4); ++i) {
            WqEvents content;
            int events = pick(4);
            for (int j = 0; j < events; ++j) {
                switch (pick(8)) {
                case 0: content.push_back(WqEv::control(uint16_t(pick(384)), 7, uint8_t(pick(128)))); break;
                case 1: content.push_back(WqEv::pitchBend(uint16_t(pick(384)), uint16_t(pick(16384)))); break;
                case 2: if (pick(4) == 0) content.push_back(WqEv::program(0, uint16_t(pick(64)))); break;
                case 3: content.push_back(WqEv::note(510, uint8_t(30 + pick(40)), 100, uint16_t(pick(96)))); break;
                default:
                    content.push_back(WqEv::note(uint16_t(pick(384)), uint8_t(30 + pick(40)), uint8_t(2 * pick(64)),
                                                 pick(6) == 0 ? 510 : uint16_t(1 + pick(200))));
                }
            }
            barContents.push_back(content);
            // A bar that holds the first events of another one
            if (content.size() > 1 && pick(2) == 0) barContents.push_back(WqEvents(content.begin(), content.end() - 1));
        }
        WqImageBuilder b(model);
        std::map<int, std::vector<uint8_t>> originals;
        for (int e = 0; e < 10; ++e) {
            for (int c = 0; c < (e < 4 ? 6 : 2); ++c) {
                if (pick(3) == 0) continue;
                int bars = 1 + (pick(10) == 0 ? 16 + pick(3) : pick(6));
                uint8_t tsig = pick(5) == 0 ? 35 : 19;
                b.cv(e, c, uint8_t(pick(24)), uint8_t(std::min(bars, 16)));
                // Tracks of a CV start from one of a few shared openings.
                int opening = pick(3);
                for (int t = 0; t < 6; ++t) {
                    if (pick(4) == 0) continue;
                    WqEvents track;
                    for (int bar = 0; bar < bars; ++bar) {
                        track.push_back(WqEv::bar(uint16_t(bar), tsig));
                        int content = bar < 2 ? (opening + bar + t % 2) % int(barContents.size()) : pick(int(barContents.size()));
                        track.insert(track.end(), barContents[size_t(content)].begin(), barContents[size_t(content)].end());
                    }
                    track.push_back(WqEv::end(uint16_t(bars - 1)));
                    b.slot(e, c, t, track);
                    originals[WqImageBuilder::slotOf(e, c, t)] = bytes(track);
                }
            }
        }
        auto image = b.build();
        if (image.size() >= 0x10000) continue;
        Patternized p = patternize(image, model);
        if (p.result != WqPatternizeResult::Written) {
            EXPECT_TRUE(p.file.empty());
            continue;
        }
        ++written;
        size_t fileHead = fileHeadSize(model);
        ASSERT_GT(p.file.size(), fileHead);
        EXPECT_EQ(std::string(p.file.begin(), p.file.begin() + 4), "DASK");
        EXPECT_EQ(p.file[4], uint8_t(model));
        CWqStyleData out(p.file.data() + fileHead, p.file.size() - fileHead, uint32_t(model));
        ASSERT_EQ(out.Validate(), WqImageError::None) << "round " << round;
        EXPECT_EQ(out.GetOffsetEntry(316), p.file.size() - fileHead);
        EXPECT_LT(p.file.size() - fileHead, 0xFFE0u);
        for (int s = 0; s < 216; ++s) {
            auto it = originals.find(s);
            std::vector<uint8_t> expected = it == originals.end() ? std::vector<uint8_t>{} : it->second;
            ASSERT_EQ(expandSlot(out, s), expected) << "round " << round << " slot " << s;
        }
        for (int k = p.patterns; k < 100; ++k) EXPECT_TRUE(out.GetPatternRun(k).empty());
    }
    EXPECT_GT(written, 60);
}

TEST(CWqStyleWriter, WriteFileWritesWholeFileOrNothing)
{
    test::TempDir dir;
    WqEvents track{WqEv::bar(0), WqEv::note(0, 36, 100, 12), WqEv::note(24, 38, 100, 12), WqEv::end(0)};
    auto image = WqImageBuilder('M').cv(0, 0, 0, 1).cv(0, 1, 0, 1).slot(0, 0, 0, track).slot(0, 1, 0, track).build();
    CWqStyleWriter writer(image.data(), image.size(), 'M');
    auto path = dir / "STYLE.STY";
    ASSERT_EQ(writer.WriteFile(path), 1);
    auto written = test::readFileBytes(path);
    EXPECT_EQ(written.size(), 224 + writer.GetNewSize());

    auto plain = WqImageBuilder('M').cv(0, 0, 0, 1).slot(0, 0, 0, track).build();
    CWqStyleWriter declining(plain.data(), plain.size(), 'M');
    auto other = dir / "OTHER.STY";
    EXPECT_EQ(declining.WriteFile(other), 0);
    EXPECT_FALSE(std::filesystem::exists(other));
    EXPECT_EQ(declining.WriteFile(path), 0);
    EXPECT_EQ(test::readFileBytes(path), written) << "a declined write must leave an existing file alone";

    auto unpatternized = CWqStyleWriter::MakeUnpatternizedFile('M', plain);
    EXPECT_EQ(unpatternized.size(), 224 + plain.size());
    EXPECT_EQ(unpatternized[24] | unpatternized[25] << 8, int(plain.size()));
}

} // namespace
} // namespace zib
