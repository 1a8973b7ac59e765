#include "styles/CQeRecordParser.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/ByteWriter.h"
#include "tests/support/ChunkBuilder.h"
#include "tests/support/QeStyleBuilder.h"

namespace zib {
namespace {

using test::ChunkBuilder;
using test::PropStreamBuilder;

std::vector<uint8_t> cvRecord(uint8_t uses)
{
    ByteWriter w;
    PropStreamBuilder stream;
    for (uint8_t k = 0; k < uses; ++k) stream.start(0, k);
    const auto bytes = stream.end(1536);
    w.u32be(1536);
    w.u32be(uint32_t(bytes.size()));
    w.bytes(bytes);
    w.u8(uses);
    for (uint8_t k = 0; k < uses; ++k) {
        w.u8(k < 2 ? 0 : 2);
        w.u8(k);
    }
    return w.take();
}

std::vector<uint8_t> elementInfo(uint8_t cvMask, uint8_t chordBytes = 22)
{
    ByteWriter w;
    w.u8(cvMask);
    w.u8(1);
    w.u8(0x22);
    w.u8(chordBytes);
    w.fill(0, chordBytes);
    return w.take();
}

std::vector<uint8_t> trackTable()
{
    std::vector<uint8_t> table;
    for (uint8_t t = 0; t < 8; ++t)
        for (uint8_t v : {uint8_t(100), uint8_t(121), uint8_t(0), t, uint8_t(21), uint8_t(108)}) table.push_back(v);
    return table;
}

// An element container: info, track table, CV records.
std::vector<uint8_t> element(uint8_t cvMask, const std::vector<std::vector<uint8_t>>& cvs,
                             std::vector<uint8_t> info = {}, std::vector<uint8_t> tracks = {})
{
    ChunkBuilder b;
    b.open(0x03, 0, 0, 0x00);
    b.leaf(0x01, 0, 0, 0x08, info.empty() ? elementInfo(cvMask) : info);
    b.leaf(0x02, 0, 0, 0x08, tracks.empty() ? trackTable() : tracks);
    for (const auto& cv : cvs) b.leaf(0x03, 0, 0, 0x08, cv);
    b.close();
    return b.bytes();
}

TEST(CQeRecordParser, CountsThePatternUsesOfTheCvs)
{
    CQeRecordParser parser;
    uint16_t count = 99;
    EXPECT_EQ(parser.Parse(element(0x05, {cvRecord(3), cvRecord(2)}), count), 0);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(parser.GetCvCount(), 2);
    EXPECT_EQ(parser.GetLastUses(), 2);
    const auto table = trackTable();
    EXPECT_TRUE(std::equal(table.begin(), table.end(), parser.GetTrackTable().begin()));

    EXPECT_EQ(parser.Parse(element(0x00, {}), count), 0);
    EXPECT_EQ(count, 0);

    // Fewer chord-assign bytes, and an info chunk longer than its fields
    auto longInfo = elementInfo(0x01, 4);
    longInfo.insert(longInfo.end(), {0, 0, 0});
    EXPECT_EQ(parser.Parse(element(0x01, {cvRecord(6)}, longInfo), count), 0);
    EXPECT_EQ(count, 6);
}

TEST(CQeRecordParser, RefusesDamagedElements)
{
    const auto good = element(0x03, {cvRecord(1), cvRecord(2)});
    auto withId = [&](size_t at, uint8_t id) {
        auto chunk = good;
        chunk[at] = id;
        return chunk;
    };
    auto cut = [&](size_t size) {
        ChunkBuilder b;
        b.open(0x03, 0, 0, 0x00);
        b.raw(std::vector<uint8_t>(good.begin() + 8, good.begin() + ptrdiff_t(size)));
        b.close();
        return b.bytes();
    };
    const size_t info = 8, tracks = info + 8 + 26, firstCv = tracks + 8 + 48;
    auto badUses = cvRecord(2);
    badUses[7] = uint8_t(badUses.size()); // S reaching over N
    auto overlongInfo = elementInfo(0x01);
    overlongInfo[3] = 200; // n, with 22 bytes there
    struct Case {
        const char* what;
        std::vector<uint8_t> chunk;
        int code;
    };
    const std::vector<Case> cases = {
        {"shorter than a head", {0x03, 0, 0, 0}, 3},
        {"not an element", withId(0, 0x02), 2},
        {"size field wrong", [&] { auto c = good; c[7] = uint8_t(c[7] + 1); return c; }(), 1},
        {"track table first", withId(info, 0x02), 2},
        {"info cut short", cut(info + 12), 3},
        {"more chord bytes than there are", element(0x01, {cvRecord(1)}, overlongInfo), 3},
        {"second child not a track table", withId(tracks, 0x03), 2},
        {"track table cut short", cut(tracks + 8 + 40), 3},
        {"CV record of another id", withId(firstCv, 0x04), 2},
        {"CV record missing", element(0x03, {cvRecord(1)}), 3},
        {"uses count beyond the record", element(0x01, {badUses}), 3},
    };
    for (const Case& c : cases) {
        CQeRecordParser parser;
        uint16_t count = 99;
        EXPECT_EQ(parser.Parse(c.chunk, count), c.code) << c.what;
        EXPECT_EQ(count, 0) << c.what;
        EXPECT_NE(QeRecordErrorText(c.code), nullptr);
    }
    EXPECT_EQ(QeRecordErrorText(4), nullptr);
}

} // namespace
} // namespace zib
