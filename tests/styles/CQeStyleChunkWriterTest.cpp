#include "styles/CQeStyleChunkWriter.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/QeStyleBuilder.h"

namespace zib {
namespace {

using test::PropStreamBuilder;

const std::vector<uint8_t> kName = {'T', 'e', 's', 't', 0, 0};
const std::vector<uint8_t> kChords = {0, 1, 1, 0, 2};
const std::array<uint8_t, 6> kRecord = {100, 121, 0, 5, 21, 108};

// A small tree: header, two patterns, one element with two CVs.
bool writeTree(CQeStyleChunkWriter& w)
{
    const std::vector<uint16_t> uses = {1, 2, 2};
    const std::array<std::array<uint8_t, 6>, 8> tracks = {kRecord, kRecord, kRecord, kRecord,
                                                          kRecord, kRecord, kRecord, kRecord};
    const std::vector<QeCvUse> cv0 = {{0, 0}, {2, 3}};
    const std::vector<QeCvUse> cv1 = {{2, 3}};
    const uint8_t note[] = {0x41, 9, 36, 0xE4};
    return w.OpenContainer(0x01) && w.StyleHeader(kName, 0x5550, 0xF8, 0x0001) && w.OpenContainer(0x02) &&
           w.PatternMap(2, uses) && w.OpenPattern(0x02, 1536) &&
           w.Event(0, note) == CQeStyleChunkWriter::Status::Ok &&
           w.EndOfTrack(1536) == CQeStyleChunkWriter::Status::Ok && w.ClosePattern(0, 0) &&
           w.OpenPattern(0x04, 1536) && w.EndOfTrack(1536) == CQeStyleChunkWriter::Status::Ok &&
           w.ClosePattern(9, 4) && w.Close() && w.OpenContainer(0x03) && w.ElementInfo(0x03, 3, 0x22, kChords) &&
           w.TrackTable(tracks) && w.CvRecord(1536, cv0) == CQeStyleChunkWriter::Status::Ok &&
           w.CvRecord(3072, cv1) == CQeStyleChunkWriter::Status::Ok && w.Close() && w.Close() &&
           w.OpenDepth() == 0;
}

// The same tree from the test builders, which share no code with the writer.
std::vector<uint8_t> expectedTree()
{
    test::QeStyleLayout layout;
    layout.header = test::qeHeaderRecord("Test", 0x5550, 0xF8, 0x0001);
    layout.header.insert(layout.header.begin() + 5, {0, 0});
    layout.header[0] = 6;
    layout.mapChunks = 2;
    layout.map = {1, 2, 2};
    layout.patterns = {test::qePattern(2, 1536, PropStreamBuilder().noteOn(0, 36, 100, 9).end(1536)),
                       test::qePattern(4, 1536, PropStreamBuilder().end(1536), 9, 4)};
    test::QeElementChunk element;
    element.cvMask = 0x03;
    element.ntt = 3;
    element.signature = 0x22;
    element.chordAssign = kChords;
    for (int t = 0; t < 8; ++t) element.trackTable.insert(element.trackTable.end(), kRecord.begin(), kRecord.end());
    element.cvs = {test::qeCv(1536, PropStreamBuilder().start(0, 0).start(0, 1).end(1536), {{0, 0}, {2, 3}}),
                   test::qeCv(3072, PropStreamBuilder().start(0, 0).end(3072), {{2, 3}})};
    layout.elements = {element};
    return test::qeStyleChunk(layout);
}

TEST(CQeStyleChunkWriter, WritesTheStyleTreeOfTheBuilders)
{
    CQeStyleChunkWriter w(100000);
    ASSERT_TRUE(writeTree(w));
    EXPECT_FALSE(w.Failed());
    EXPECT_EQ(w.Data(), expectedTree());
}

TEST(CQeStyleChunkWriter, FailsForGoodWhenTheCapacityIsReached)
{
    const size_t full = expectedTree().size();
    for (size_t capacity = 0; capacity < full; ++capacity) {
        CQeStyleChunkWriter w(capacity);
        EXPECT_FALSE(writeTree(w)) << capacity;
        EXPECT_TRUE(w.Failed()) << capacity;
        EXPECT_LE(w.Size(), capacity);
        EXPECT_FALSE(w.U8(0));
    }
    CQeStyleChunkWriter exact(full);
    EXPECT_TRUE(writeTree(exact));
    EXPECT_EQ(exact.Size(), full);
    EXPECT_FALSE(exact.HasRoom(1));
}

TEST(CQeStyleChunkWriter, WritesDeltasOfAtMostFourBytes)
{
    CQeStyleChunkWriter w(100);
    EXPECT_EQ(w.Delta(0), CQeStyleChunkWriter::Status::Ok);
    EXPECT_EQ(w.Size(), 0u);
    EXPECT_EQ(w.Delta((1u << 28) - 1), CQeStyleChunkWriter::Status::Ok);
    EXPECT_EQ(w.Data(), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(w.Delta(1u << 28), CQeStyleChunkWriter::Status::DeltaTooLarge);
    const uint8_t event[] = {0x01, 60, 0xE4};
    EXPECT_EQ(w.Event(1u << 28, event), CQeStyleChunkWriter::Status::DeltaTooLarge);
    const QeCvUse use{0, 0};
    EXPECT_EQ(w.CvRecord(1u << 28, std::span(&use, 1)), CQeStyleChunkWriter::Status::DeltaTooLarge);
    EXPECT_EQ(w.Size(), 4u);
    EXPECT_FALSE(w.Failed());

    CQeStyleChunkWriter small(4);
    EXPECT_EQ(small.Event(200, event), CQeStyleChunkWriter::Status::NoRoom);
    EXPECT_EQ(small.Size(), 0u);
}

TEST(CQeStyleChunkWriter, TellsTheSizesOfClosedChunks)
{
    CQeStyleChunkWriter w(1000);
    uint32_t size = 0;
    ASSERT_TRUE(w.OpenContainer(0x03));
    ASSERT_TRUE(w.OpenPattern(0x03, 384));
    EXPECT_EQ(w.PatternStreamSize(), 0u);
    ASSERT_EQ(w.EndOfTrack(384), CQeStyleChunkWriter::Status::Ok);
    EXPECT_EQ(w.PatternStreamSize(), 6u);
    ASSERT_TRUE(w.ClosePattern(2, 0, &size));
    EXPECT_EQ(size, 16u);
    ASSERT_TRUE(w.Close(&size));
    EXPECT_EQ(size, 24u);
    EXPECT_FALSE(w.Close());
    EXPECT_FALSE(w.ClosePattern(0, 0));
}

} // namespace
} // namespace zib
