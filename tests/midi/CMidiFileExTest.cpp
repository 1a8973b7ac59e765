#include "midi/CMidiFileEx.h"
#include "platform/FileIo.h"
#include "tests/midi/MidiTestHelpers.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

using namespace zib;
using namespace zib::test;

namespace {

struct Mbt {
    uint32_t measure, beat, tick;
    bool operator==(const Mbt&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Mbt& p)
{
    return os << p.measure << ':' << p.beat << ':' << p.tick;
}

// Exposes the map for tests that set it up directly.
class MapFile : public CMidiFileEx {
public:
    using CMidiFileEx::m_pendingDenominator;
    using CMidiFileEx::m_pendingNumerator;
    void SetDivision(uint16_t d) { m_division = d; }
    Mbt At(uint32_t t)
    {
        Mbt p{};
        EXPECT_EQ(TickToMbt(t, p.measure, p.beat, p.tick), 0) << t;
        return p;
    }
};

// Records the measure:beat:tick every callback sees.
class PositionRecorder : public CMidiFileEx {
public:
    std::vector<std::pair<uint32_t, Mbt>> seen; // event time, position

protected:
    int OnChannelEvent() override { return Note(); }
    int OnMetaTime() override { return Note(); }
    int OnMetaText() override { return Note(); }
    int Note()
    {
        seen.push_back({m_eventTime, Mbt{GetLastMeasure(), GetLastBeat(), GetLastTick()}});
        return 0;
    }
};

int parseExImage(CMidiFile& f, const std::vector<uint8_t>& image)
{
    return f.ParseMemory(image.data(), uint32_t(image.size()));
}

} // namespace

TEST(CMidiFileEx, DefaultMapConvertsTicksAndGrows)
{
    struct Case {
        uint32_t tick;
        Mbt position;
        uint32_t mapSize;
    };
    const Case cases[] = {
        {0, {0, 0, 0}, 1},
        {383, {0, 3, 95}, 1},
        {384, {1, 0, 0}, 2},
        {10000, {26, 0, 16}, 27},
    };
    for (const auto& c : cases) {
        MapFile f; // division 96, 4/4
        EXPECT_EQ(f.At(c.tick), c.position) << c.tick;
        EXPECT_EQ(f.GetTimeSigCount(), c.mapSize) << c.tick;
        for (uint32_t m = 0; m < f.GetTimeSigCount(); ++m)
            EXPECT_EQ(f.GetMeasureStartTick(m), m * 384);
    }
}

TEST(CMidiFileEx, FileSignaturesShapeTheMapAndEveryEventsPosition)
{
    // 3/4 at tick 0, 6/8 at the start of measure 2 (tick 576 at division 96)
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 3, 2).TimeSig(576, 6, 3).EndAt(1000);
    b.AddTrack().NoteOn(0, 0, 60, 1).NoteOn(300, 0, 60, 1).NoteOn(600, 0, 60, 1).NoteOn(900, 0, 60, 1);
    PositionRecorder r;
    ASSERT_EQ(parseExImage(r, b.Build()), 0);

    ASSERT_GE(r.GetTimeSigCount(), 3u);
    EXPECT_EQ(r.GetNumeratorAtMeasure(0), 3);
    EXPECT_EQ(r.GetNumeratorAtMeasure(1), 3);
    EXPECT_EQ(r.GetNumeratorAtMeasure(2), 6);
    EXPECT_EQ(r.GetDenominatorAtMeasure(2), 8);
    EXPECT_EQ(r.GetMeasureStartTick(2), 576u);
    EXPECT_EQ(r.GetMeasureLength(2), 288u);

    const std::vector<std::pair<uint32_t, Mbt>> expected = {
        {0, {0, 0, 0}},    {576, {2, 0, 0}},  // the two signatures
        {0, {0, 0, 0}},    {300, {1, 0, 12}}, // 3/4: measure 1 starts at 288
        {600, {2, 0, 24}}, {900, {3, 0, 36}}, // 6/8: beats of 48 ticks, measure 3 at 864
    };
    EXPECT_EQ(r.seen, expected);
}

TEST(CMidiFileEx, EveryParseStartsFromAFreshMap)
{
    // A 3/4 file, then a file without signatures: the second one is 4/4,
    // whether it comes from memory or from a named file.
    SmfBuilder threeFour(0, 96);
    threeFour.AddTrack().TimeSig(0, 3, 2).NoteOn(300, 0, 60, 1);
    SmfBuilder plain(0, 96);
    plain.AddTrack().NoteOn(300, 0, 60, 1);
    TempDir dir;
    ASSERT_EQ(writeFileAtomically(dir / "34.mid", threeFour.Build()), FileIoError::None);
    ASSERT_EQ(writeFileAtomically(dir / "plain.mid", plain.Build()), FileIoError::None);

    for (bool fromFile : {false, true}) {
        PositionRecorder r;
        ASSERT_EQ(fromFile ? r.ParseFile(dir / "34.mid") : parseExImage(r, threeFour.Build()), 0);
        EXPECT_EQ(r.seen.back().second, (Mbt{1, 0, 12})) << fromFile;
        r.seen.clear();
        ASSERT_EQ(fromFile ? r.ParseFile(dir / "plain.mid") : parseExImage(r, plain.Build()), 0);
        ASSERT_EQ(r.seen.size(), 1u);
        EXPECT_EQ(r.seen[0].second, (Mbt{0, 3, 12})) << fromFile;
        EXPECT_EQ(r.GetNumeratorAtMeasure(0), 4) << fromFile;
    }
}

TEST(CMidiFileEx, RefusesUnusableSignaturesAndDivisions)
{
    struct Case {
        const char* name;
        uint16_t division;
        std::function<void(SmfTrack&)> fill;
        int code;
    };
    const Case cases[] = {
        {"signature inside a measure", 96, [](SmfTrack& t) { t.NoteOn(0, 0, 1, 1).TimeSig(100, 3, 2); },
         CMidiFileEx::kTimeSigWrongPlace},
        {"division 0", 0, [](SmfTrack&) {}, CMidiFile::kBadMThdChunk},
        {"SMPTE division", 0xE728, [](SmfTrack&) {}, CMidiFile::kBadMThdChunk},
        {"numerator 0", 96, [](SmfTrack& t) { t.TimeSig(0, 0, 2); }, CMidiFile::kInvalidDenominator},
        {"denominator power 0", 96, [](SmfTrack& t) { t.TimeSig(0, 4, 0); }, CMidiFile::kInvalidDenominator},
        {"denominator power 8", 96, [](SmfTrack& t) { t.TimeSig(0, 4, 8); }, CMidiFile::kInvalidDenominator},
        {"beat shorter than a tick", 1, [](SmfTrack& t) { t.TimeSig(0, 4, 3); },
         CMidiFile::kInvalidDenominator},
        {"a measure of signature 4/4 at division 1 works", 1,
         [](SmfTrack& t) { t.TimeSig(0, 4, 2).NoteOn(9, 0, 1, 1); }, CMidiFile::kSuccess},
    };
    for (const auto& c : cases) {
        SmfBuilder b(0, c.division);
        c.fill(b.AddTrack());
        PositionRecorder r;
        EXPECT_EQ(parseExImage(r, b.Build()), c.code) << c.name;
    }
}

TEST(CMidiFileEx, MapGrowthIsBounded)
{
    MapFile f;
    uint32_t m, b, t;
    const uint32_t limit = CMidiFileEx::kMaxMeasures;
    EXPECT_EQ(f.TickToMbt((limit - 1) * 384, m, b, t), 0);
    EXPECT_EQ(m, limit - 1);
    EXPECT_EQ(f.TickToMbt(limit * 384, m, b, t), CMidiFileEx::kMeasureLimitExceeded);
    EXPECT_LE(f.GetTimeSigCount(), limit);

    // A hostile file: one event near 2^32 ticks at division 1.
    SmfBuilder hostile(0, 1);
    std::vector<uint8_t> far{0x90, 60, 1};
    for (int i = 0; i < 15; ++i)
        far.insert(far.end(), {0xFF, 0xFF, 0xFF, 0x7F, 60, 1});
    hostile.AddTrack().Raw(0, far);
    PositionRecorder r;
    EXPECT_EQ(parseExImage(r, hostile.Build()), CMidiFileEx::kMeasureLimitExceeded);
    EXPECT_LE(r.GetTimeSigCount(), limit);
}

TEST(CMidiFileEx, SetTimeSignatureKeepsLaterMeasuresInStep)
{
    MapFile f;
    f.At(4 * 384); // 5 measures of 4/4
    ASSERT_EQ(f.GetTimeSigCount(), 5u);
    EXPECT_EQ(f.SetTimeSignature(2, 3, 4, 3), 1);
    EXPECT_EQ(f.GetNumeratorAtMeasure(2), 3);
    EXPECT_EQ(f.GetNumeratorAtMeasure(3), 4);
    EXPECT_EQ(f.GetMeasureStartTick(2), 768u);
    EXPECT_EQ(f.GetMeasureStartTick(3), 1152u - 96);
    EXPECT_EQ(f.GetMeasureStartTick(4), 1536u - 96);

    // Past the end: copies of the last signature, then the new one.
    const uint32_t size = f.GetTimeSigCount();
    EXPECT_EQ(f.SetTimeSignature(int32_t(size + 2), 7, 8, -1), 1);
    ASSERT_EQ(f.GetTimeSigCount(), size + 3);
    EXPECT_EQ(f.GetNumeratorAtMeasure(size), 4);
    EXPECT_EQ(f.GetNumeratorAtMeasure(size + 1), 4);
    EXPECT_EQ(f.GetNumeratorAtMeasure(size + 2), 7);
    EXPECT_EQ(f.GetMeasureStartTick(size), 1440u + 384);
    EXPECT_EQ(f.GetMeasureStartTick(size + 2), 1440u + 3 * 384);
    EXPECT_EQ(f.GetMeasureLength(size + 2), 7u * 48);

    // The end is clamped to the map; a negative end runs to its end.
    EXPECT_EQ(f.SetTimeSignature(0, 2, 4, 1000), 1);
    for (uint32_t m = 0; m < f.GetTimeSigCount(); ++m)
        EXPECT_EQ(f.GetMeasureStartTick(m), m * 192u);
}

TEST(CMidiFileEx, SetTimeSignatureRefusesWhatItCannotHold)
{
    struct Case {
        int32_t m;
        uint8_t numerator, denominator;
    };
    const Case cases[] = {
        {-1, 4, 4},  {0, 0, 4}, {0, 4, 0}, {0, 4, 3}, {0, 4, 255}, {int32_t(CMidiFileEx::kMaxMeasures), 4, 4},
        {0, 4, 128}, // 96 x 4 / 128 = 3 ticks per beat: fine
    };
    for (const auto& c : cases) {
        MapFile f;
        f.At(384 * 3);
        const bool fine = c.denominator == 128;
        EXPECT_EQ(f.SetTimeSignature(c.m, c.numerator, c.denominator, -1), fine ? 1 : 0) << c.m;
        if (!fine) {
            EXPECT_EQ(f.GetMeasureStartTick(3), 3u * 384);
        }
    }
    // Starts that would pass 32 bits leave the map as it was.
    MapFile big;
    big.SetDivision(30000);
    ASSERT_EQ(big.SetTimeSignature(20000, 4, 4, -1), 1);
    EXPECT_EQ(big.SetTimeSignature(0, 255, 1, -1), 0);
    EXPECT_EQ(big.GetNumeratorAtMeasure(0), 4);
}

TEST(CMidiFileEx, HintedSearchAndLinearScanAgree)
{
    // A map with mixed signatures; every tick converts the same whether the
    // search starts at 0, at a hint, or goes through a plain linear scan.
    MapFile f;
    f.At(40 * 384);
    std::mt19937 rng(7);
    for (int i = 0; i < 12; ++i) {
        const uint8_t nums[] = {2, 3, 5, 6, 7, 12};
        const uint8_t dens[] = {2, 4, 8, 16};
        f.SetTimeSignature(int32_t(rng() % 40), nums[rng() % 6], dens[rng() % 4], int32_t(rng() % 45));
    }
    const auto map = f.GetTimeSigMap();

    auto linear = [&](uint32_t t) {
        // From measure 0: the entry before the first one at or after t.
        size_t first = 0;
        while (first < map.size() && map[first].startTick < t)
            ++first;
        const size_t m = first > 1 ? first - 1 : 0;
        const uint32_t perMeasure = map[m].numerator * 96u * 4 / map[m].denominator;
        const uint32_t perBeat = 96u * 4 / map[m].denominator;
        const uint32_t off = t - map[m].startTick;
        const uint32_t q = off / perMeasure, r = off % perMeasure;
        return Mbt{uint32_t(m + q), r / perBeat, r % perBeat};
    };

    int32_t hint = 0;
    for (uint32_t t = 0; t < f.GetEndOfLastMeasure(); t += 7) {
        const Mbt direct = f.At(t);
        EXPECT_EQ(direct, linear(t)) << t;
        Mbt hinted{};
        ASSERT_EQ(f.TickToMbtHinted(t, hint, hinted.beat, hinted.tick), 0);
        hinted.measure = uint32_t(hint);
        EXPECT_EQ(hinted, direct) << t;
    }
    EXPECT_EQ(f.GetTimeSigCount(), map.size());

    // Hints that do not fit are replaced by 0.
    for (int32_t bad : {-5, 1000, 39}) {
        Mbt p{};
        int32_t h = bad;
        ASSERT_EQ(f.TickToMbtHinted(100, h, p.beat, p.tick), 0);
        p.measure = uint32_t(h);
        EXPECT_EQ(p, linear(100)) << bad;
    }
}

TEST(CMidiFileEx, LocateAndMapQueries)
{
    MapFile f;
    f.At(3 * 384); // 4 measures
    EXPECT_EQ(f.LocateTick(500), 0);
    EXPECT_EQ((Mbt{f.GetLastMeasure(), f.GetLastBeat(), f.GetLastTick()}), (Mbt{1, 1, 20}));
    EXPECT_EQ(f.LocateTickFrom(1000, 2), 0);
    EXPECT_EQ(f.GetLastMeasure(), 2u);
    EXPECT_EQ(f.LocateTickFrom(1000, 4), CMidiFileEx::kInternalMapperError);

    EXPECT_EQ(f.GetMeasureStartTick(10), 3840u); // past the map: the last signature continues
    EXPECT_EQ(f.GetNumeratorAtMeasure(10), 4);
    EXPECT_EQ(f.GetEndOfLastMeasure(), 4u * 384);
    EXPECT_EQ(f.GetTicksPerMeasure(), 384u);
    EXPECT_EQ(f.GetTicksPerBeat(), 96u);
    // A new division counts at once, with no conversion since.
    f.SetHeader(1, 1, 480);
    EXPECT_EQ(f.GetTicksPerMeasure(), 1920u);
    EXPECT_EQ(f.GetTicksPerBeat(), 480u);
    f.SetHeader(1, 1, 96);

    // An emptied map answers safely and starts again on the next conversion.
    f.ClearTimeSigMap();
    EXPECT_EQ(f.GetTimeSigCount(), 0u);
    EXPECT_EQ(f.GetEndOfLastMeasure(), 0u);
    EXPECT_EQ(f.GetMeasureStartTick(2), 768u);
    EXPECT_EQ(f.At(400), (Mbt{1, 0, 16}));
}

TEST(CMidiFileEx, ErrorTextsAfterTheBaseTexts)
{
    CMidiFileEx f;
    EXPECT_EQ(errorText(f, 4), "CMidiFile error: 4 - Bad MTrk chunk");
    EXPECT_EQ(errorText(f, 101), "CMidiFileEx error: 101 - Time signature found at wrong place");
    EXPECT_EQ(errorText(f, 104), "CMidiFileEx error: 104 - Wrong FREAD operation");
    EXPECT_EQ(errorText(f, 30), "CMidiFileEx error: 30 - Measure limit exceeded");
    EXPECT_EQ(errorText(f, 105), "");
    EXPECT_EQ(errorText(f, 115), "");
}
