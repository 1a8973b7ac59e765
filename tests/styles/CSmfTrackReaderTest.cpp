#include "styles/CSmfTrackReader.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/ByteWriter.h"
#include "tests/support/QeStyleBuilder.h"

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace smf_track_reader_test {

using test::PropStreamBuilder;

std::vector<uint8_t> patternChunk(uint8_t id, uint32_t length, const std::vector<uint8_t>& stream, int sizeError = 0)
{
    const size_t trailer = id == 2 ? 0 : 2;
    ByteWriter w;
    w.u8(id);
    w.u8(0);
    w.u8(0);
    w.u8(0x08);
    w.u32be(uint32_t(int(8 + stream.size() + trailer) + sizeError));
    w.u32be(length);
    w.u32be(uint32_t(stream.size()));
    w.bytes(stream);
    if (trailer) {
        w.u8(12); // chord
        w.u8(7);  // key
    }
    return w.take();
}

struct Filtered {
    int init = -1;
    int build = -1;
    std::vector<uint8_t> chunk;
};

Filtered filter(const std::vector<uint8_t>& chunk)
{
    Filtered out;
    CSmfTrackReader reader;
    out.init = reader.Init(chunk);
    if (out.init != 0) return out;
    out.chunk.assign(reader.GetOutputSize(), 0);
    out.build = reader.Build(chunk, out.chunk);
    return out;
}

// A note, a VexSound 96 ticks later, a note 96 ticks after that and the end
// 96 ticks later: the second note takes the VexSound's delta (192 = 81 C0).
TEST(CSmfTrackReader, DropsVexSoundsAndKeepsTheTimes)
{
    const auto source = PropStreamBuilder()
                            .note(0, 60, 100, 48)
                            .channel(96, 14, {62, 100, 0, 48, 64})
                            .note(192, 64, 100, 48)
                            .end(288);
    const auto expected = PropStreamBuilder().note(0, 60, 100, 48).note(192, 64, 100, 48).end(288);
    ASSERT_EQ(expected[6], 0x81);
    ASSERT_EQ(expected[7], 0xC0);
    for (uint8_t id : {2, 3, 4}) {
        const Filtered out = filter(patternChunk(id, 1536, source));
        ASSERT_EQ(out.init, 0);
        EXPECT_EQ(out.build, 0);
        EXPECT_EQ(out.chunk, patternChunk(id, 1536, expected)) << int(id);
        EXPECT_EQ(out.chunk.size(), expected.size() + (id == 2 ? 16 : 18));
    }
}

TEST(CSmfTrackReader, DropsTheKindsWithoutAnEventAndKeepsTheOthers)
{
    const auto source = PropStreamBuilder()
                            .channel(0, 13, {40, 90})          // VexSound on
                            .noteOn(0, 41, 90)
                            .channel(10, 12, {40, 90})         // VexSound off
                            .channel(20, 15, {1})              // kinds 15-29: no event
                            .channel(30, 29, {1, 2})
                            .raw({0xA8, 0x2B, 0x01, 0x02, 0x83}) // +40: the 0x20 form
                            .raw({0x81, 0x00, 41, 0xC0})         // +1: note off at 31 + 40
                            .sysEx(100, 0, {0x43, 0x10})
                            .meta(100, 0x01, {'x'})
                            .channel(100, 11, {1})             // kind 11
                            .end(384);
    const auto expected = PropStreamBuilder()
                              .noteOn(0, 41, 90)
                              .raw({0xC7, 0x00, 41, 0xC0}) // 71 = 10 + 10 + 10 + 40 + 1
                              .sysEx(70, 0, {0x43, 0x10})  // the source's deltas: 70, 0, 0, 284
                              .meta(70, 0x01, {'x'})
                              .end(354);
    const Filtered out = filter(patternChunk(2, 384, source));
    ASSERT_EQ(out.init, 0);
    ASSERT_EQ(out.build, 0);
    EXPECT_EQ(out.chunk, patternChunk(2, 384, expected));
}

// A dropped event that changes the track passes the change on, so the
// events after it stay on their tracks.
TEST(CSmfTrackReader, KeepsTheTracksOfTheEventsAfterADroppedTrackChange)
{
    const auto source = PropStreamBuilder()
                            .channel(0, 14, {30, 90, 0, 10, 64}, 9) // first event: the track change to 9
                            .noteOn(0, 36, 90, 9)
                            .channel(10, 13, {31, 90}, 10)          // change to 10 on a dropped event
                            .channel(20, 12, {31, 90}, 10)
                            .noteOn(30, 37, 90, 10)
                            .channel(40, 13, {32, 90}, 3)           // 10 -> 3, then 3 -> 9 on a kept one
                            .meta(40, 0x01, {'m'})                  // a meta event keeps no track change
                            .noteOff(50, 36, 64, 9)
                            .end(384);
    const auto expected = PropStreamBuilder()
                              .noteOn(0, 36, 90, 9)
                              .noteOn(30, 37, 90, 10)
                              .meta(40, 0x01, {'m'})
                              .noteOff(50, 36, 64, 9)
                              .end(384);
    const Filtered out = filter(patternChunk(4, 384, source));
    ASSERT_EQ(out.init, 0);
    ASSERT_EQ(out.build, 0);
    EXPECT_EQ(out.chunk, patternChunk(4, 384, expected));
}

TEST(CSmfTrackReader, WritesNothingWhenItCannot)
{
    const auto stream = PropStreamBuilder().noteOn(0, 60).channel(10, 13, {1, 2}).noteOff(96, 60).end(384);
    const auto chunk = patternChunk(2, 384, stream);

    CSmfTrackReader reader;
    EXPECT_EQ(reader.Init(patternChunk(2, 384, stream, -1)), 1); // size field one byte short
    EXPECT_EQ(reader.GetOutputSize(), 0u);
    std::vector<uint8_t> out(64, 0xEE);
    EXPECT_EQ(reader.Build(chunk, out), 7);
    EXPECT_EQ(out, std::vector<uint8_t>(64, 0xEE));

    ASSERT_EQ(reader.Init(chunk), 0);
    const size_t size = reader.GetOutputSize();
    EXPECT_EQ(size, chunk.size() - 4); // the VexSound with its delta byte
    struct Case {
        const char* what;
        std::span<uint8_t> buffer;
    };
    std::vector<uint8_t> small(size - 1, 0xEE);
    std::vector<uint8_t> tiny(16, 0xEE);
    for (const Case& c : {Case{"no buffer", {}}, Case{"below 17 bytes", tiny}, Case{"smaller than measured", small}}) {
        EXPECT_EQ(reader.Build(chunk, c.buffer), 7) << c.what;
        for (uint8_t b : c.buffer) EXPECT_EQ(b, 0xEE) << c.what;
    }
    // Another chunk than the measured one
    const auto other = patternChunk(2, 384, PropStreamBuilder().noteOn(0, 60).noteOn(0, 61).noteOff(96, 60).end(384));
    std::vector<uint8_t> buffer(size, 0xEE);
    EXPECT_EQ(reader.Build(other, buffer), 7);
    EXPECT_EQ(buffer, std::vector<uint8_t>(size, 0xEE));
    EXPECT_EQ(reader.Build(chunk, buffer), 0);
}

// Dropped deltas that add up to 2^28 ticks cannot be given to the next event.
TEST(CSmfTrackReader, RefusesAMergedDeltaBeyondTheDeltaForm)
{
    const auto stream = PropStreamBuilder()
                            .channel(0x0FFFFFFF, 13, {1, 2})
                            .raw({0x81, 0x0D, 0x01, 0x82}) // +1: VexSound on
                            .raw({0x00, 60, 0xE4})         // note off, delta 0
                            .bytes();
    CSmfTrackReader reader;
    EXPECT_EQ(reader.Init(patternChunk(2, 384, stream)), 4);
}

} // namespace smf_track_reader_test
} // namespace zib
