#include "tests/support/RealFixtures.h"
#include "midi/CMidiFileParser.h"
#include "midi/CMidiParserEx.h"
#include "tests/midi/MidiTestHelpers.h"

#include <gtest/gtest.h>

using namespace zib;
using namespace zib::test;

namespace {

std::vector<uint8_t> convertFormat(const std::vector<uint8_t>& input, int& code)
{
    CMidiFileParser c;
    uint32_t size = 0;
    code = c.GetConvertedSize(input.data(), uint32_t(input.size()), size, false);
    if (code) return {};
    std::vector<uint8_t> out(size);
    code = c.ConvertFormat(input.data(), uint32_t(input.size()), out.data(), size, false);
    EXPECT_EQ(c.GetBytesWritten(), size); // the announced size is the size written
    return out;
}

} // namespace

TEST(RealFixtures, MidiFilesLoadAndWriteBackUnchanged)
{
    const auto files = realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI fixtures";
    for (const auto& path : files) {
        const auto image = readFileBytes(path);
        CMidiParserEx p;
        ASSERT_EQ(p.ParseImage(image.data(), uint32_t(image.size())), 0) << path;
        EXPECT_GT(p.GetEventCount(), 0u) << path;
        if (p.GetFormat() != 1 || p.GetTrackShift()) continue;
        std::vector<uint8_t> out(image.size());
        ASSERT_EQ(p.WriteToMemory(out.data(), uint32_t(out.size())), 0) << path;
        EXPECT_EQ(out, image) << path;
    }
}

TEST(RealFixtures, MidiFilesConvertBothWaysWithTheSameEvents)
{
    const auto files = realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI fixtures";
    for (const auto& path : files) {
        const auto image = readFileBytes(path);
        int code = -1;
        const auto once = convertFormat(image, code);
        ASSERT_EQ(code, 0) << path;
        const auto twice = convertFormat(once, code);
        ASSERT_EQ(code, 0) << path;
        EXPECT_EQ(sortedEvents(once), sortedEvents(image)) << path;
        EXPECT_EQ(sortedEvents(twice), sortedEvents(image)) << path;
    }
}

// One track, format 0, division 384: the events of the input, ticks unchanged.
TEST(RealFixtures, MidiFilesBecomeOneTrackOfDivision384)
{
    const auto files = realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI fixtures";
    for (const auto& path : files) {
        const auto image = readFileBytes(path);
        CMidiFileParser c;
        uint32_t size = 0;
        ASSERT_EQ(c.ParseFormat0(image.data(), uint32_t(image.size()), size), 0) << path;
        std::vector<uint8_t> out(size);
        ASSERT_EQ(c.ConvertToFormat0Division384(image.data(), uint32_t(image.size()), out.data(), size), 0)
            << path;
        EventRecorder r;
        ASSERT_EQ(r.ParseMemory(out.data(), size), 0) << path;
        EXPECT_EQ(r.GetFormat(), 0) << path;
        EXPECT_EQ(r.GetTrackCount(), 1) << path;
        EXPECT_EQ(r.GetDivision(), 384) << path;
        EXPECT_EQ(r.trackEnds.size(), 1u) << path;
        EXPECT_EQ(sortedEvents(out), sortedEvents(image)) << path;
    }
}

TEST(RealFixtures, MidiPartOfPsrStylesParses)
{
    const auto files = realFixtureFiles("psr-styles");
    if (files.empty()) GTEST_SKIP() << "no real PSR style fixtures";
    for (const auto& path : files) {
        const auto image = readFileBytes(path);
        EventRecorder r;
        ASSERT_EQ(r.ParseMemory(image.data(), uint32_t(image.size())), 0) << path;
        EXPECT_EQ(r.GetFormat(), 0) << path;
        ASSERT_FALSE(r.unknownChunks.empty()) << path;
        EXPECT_EQ(r.unknownChunks[0], 0x4341534Du) << path; // "CASM", reported and skipped

        CMidiParserEx p;
        ASSERT_EQ(p.ParseImage(image.data(), uint32_t(image.size())), 0) << path;
        EXPECT_GT(p.GetEventCount(), 0u) << path;

        // One track per channel holds the same events (the other chunks are not MIDI).
        int code = -1;
        const auto format1 = convertFormat(image, code);
        ASSERT_EQ(code, 0) << path;
        auto expected = r.events;
        for (auto& e : expected) e.track = 0;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sortedEvents(format1), expected) << path;
    }
}
