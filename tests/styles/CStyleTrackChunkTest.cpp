#include "styles/CStyleTrackChunk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ByteWriter.h"
#include "tests/support/QeStyleBuilder.h"

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace style_track_chunk_test {

using test::PropStreamBuilder;

// A pattern chunk around a stream; `sizeError` makes the size field lie.
std::vector<uint8_t> patternChunk(uint8_t id, uint32_t length, const std::vector<uint8_t>& stream,
                                  std::vector<uint8_t> trailer = {}, int sizeError = 0,
                                  std::optional<uint32_t> declaredStream = std::nullopt)
{
    ByteWriter w;
    w.u8(id);
    w.u8(0);
    w.u8(0);
    w.u8(0x08);
    w.u32be(uint32_t(int(8 + stream.size() + trailer.size()) + sizeError));
    w.u32be(length);
    w.u32be(declaredStream.value_or(uint32_t(stream.size())));
    w.bytes(stream);
    w.bytes(trailer);
    return w.take();
}

// Records which slot every event went to.
class SlotRecorder : public CStyleTrackChunk {
public:
    int Walk(const std::vector<uint8_t>& chunk)
    {
        SetChunk(chunk);
        slots.clear();
        return WalkChunk();
    }
    std::vector<std::string> slots; // "slot kind time length"

protected:
    int OnOtherEvent() override { return Record(1); }
    int OnChannelEvent() override { return Record(2); }
    int OnMetaEvent() override { return Record(3); }

private:
    int Record(int slot)
    {
        slots.push_back(std::to_string(slot) + " " + std::to_string(GetKind()) + " " +
                        std::to_string(GetRunningTime()) + " " + std::to_string(GetEventBytes().size()));
        return 0;
    }
};

TEST(CStyleTrackChunk, WritesAndDecodesTheDeltaForm)
{
    struct Case {
        uint64_t value;
        std::vector<uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {0, {}},
        {1, {0x81}},
        {127, {0xFF}},
        {128, {0x81, 0x80}},
        {192, {0x81, 0xC0}},
        {16383, {0xFF, 0xFF}},
        {16384, {0x81, 0x80, 0x80}},
        {(1u << 21) - 1, {0xFF, 0xFF, 0xFF}},
        {1u << 21, {0x81, 0x80, 0x80, 0x80}},
        {(1u << 28) - 1, {0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        uint8_t out[4] = {};
        const int count = CStyleTrackChunk::WriteDelta(c.value, out);
        EXPECT_EQ(std::vector<uint8_t>(out, out + count), c.bytes) << c.value;
        std::vector<uint8_t> followed = c.bytes;
        followed.push_back(0x07); // the kind byte ends the delta
        EXPECT_EQ(CStyleTrackChunk::DecodeDelta(followed), c.value) << c.value;
    }
    for (uint64_t tooLarge : {uint64_t(1) << 28, uint64_t(1) << 40}) {
        uint8_t out[4] = {0xAA, 0xAA, 0xAA, 0xAA};
        EXPECT_EQ(CStyleTrackChunk::WriteDelta(tooLarge, out), CStyleTrackChunk::kDeltaTooLarge);
        EXPECT_EQ(out[0], 0xAA);
    }
    EXPECT_EQ(CStyleTrackChunk::DecodeDelta(std::vector<uint8_t>{0x05, 0x81}), 0u);
}

TEST(CStyleTrackChunk, HandsEveryEventToItsSlot)
{
    const auto stream = PropStreamBuilder()
                            .note(0, 60, 100, 96, 9)                 // kind 7 with track change: 7 bytes
                            .channel(10, 14, {62, 100, 0, 96, 64}, 9) // VexSound with duration
                            .channel(20, 3, {7, 100}, 9)              // controller
                            .sysEx(30, 0, {0x43, 0x10}, 9)            // system exclusive
                            .channel(40, 11, {1, 2, 3}, 9)            // unknown kind
                            .raw({0x2B, 0x01, 0x02, 0x83})            // 0x20 form of kind 11
                            .raw({0x1E})                              // continue marker, no payload
                            .channel(60, 4, {5}, 9)                   // program change
                            .end(1536);
    SlotRecorder walker;
    EXPECT_EQ(walker.Walk(patternChunk(3, 1536, stream, {9, 4})), 0);
    const std::vector<std::string> slots = {"2 7 0 7",  "1 14 10 6", "2 3 20 3", "2 10 30 6", "1 11 40 4",
                                            "1 11 40 4", "2 30 40 1", "2 4 60 2", "3 9 1536 4"};
    EXPECT_EQ(walker.slots, slots);
    EXPECT_TRUE(walker.HasChord());
    EXPECT_TRUE(walker.HasKey());
    EXPECT_EQ(walker.GetChord(), 9);
    EXPECT_EQ(walker.GetKey(), 4);
    EXPECT_EQ(walker.GetRunningTime(), 1536u);

    // One byte after the stream, or three, is no trailer.
    for (std::vector<uint8_t> tail : {std::vector<uint8_t>{9}, std::vector<uint8_t>{9, 4, 0}}) {
        EXPECT_EQ(walker.Walk(patternChunk(3, 1536, stream, tail)), 0);
        EXPECT_FALSE(walker.HasChord());
    }
}

TEST(CStyleTrackChunk, StopsAtDamagedChunks)
{
    const auto good = PropStreamBuilder().noteOn(0, 60).noteOff(96, 60).end(384);
    struct Case {
        const char* what;
        std::vector<uint8_t> chunk;
        int code;
    };
    const std::vector<Case> cases = {
        {"size field one byte short", patternChunk(2, 384, good, {}, -1), 1},
        {"size field one byte long", patternChunk(2, 384, good, {}, +1), 1},
        {"shorter than a head", {0x02, 0x00, 0x00, 0x08, 0x00}, 2},
        {"no stream size", {0x02, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x04, 0, 0, 1, 0x80}, 2},
        {"stream size beyond the chunk", patternChunk(2, 384, good, {}, 0, uint32_t(good.size() + 1)), 2},
        {"five delta bytes", patternChunk(2, 384, {0x81, 0x80, 0x80, 0x80, 0x80, 0x01, 60, 0xE4}), 4},
        {"delta at the end of the stream", patternChunk(2, 384, {0x01, 60, 0xE4, 0x81}), 2},
        {"track change cut off", patternChunk(2, 384, {0x41}), 2},
        {"payload without its last byte", patternChunk(2, 384, {0x01, 60, 100}), 2},
        {"meta data cut off", patternChunk(2, 384, {0x09, 0x01, 0x00, 0x05, 'a', 'b'}), 2},
        {"0x20 form without bit 7", patternChunk(2, 384, {0x2B, 0x01, 0x02, 0x03}), 6},
        {"0x20 form cut off", patternChunk(2, 384, {0x2B, 0x01}), 2},
        {"event reaching into the trailer", patternChunk(3, 384, {0x01, 60}, {0xE4, 0x00}), 2},
    };
    for (const Case& c : cases) {
        SlotRecorder walker;
        EXPECT_EQ(walker.Walk(c.chunk), c.code) << c.what;
        EXPECT_NE(TrackChunkErrorText(c.code), nullptr);
    }
    EXPECT_EQ(TrackChunkErrorText(5), nullptr);
    EXPECT_EQ(TrackChunkErrorText(-1), nullptr);
}

} // namespace style_track_chunk_test
} // namespace zib
