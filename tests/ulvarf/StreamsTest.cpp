// Memory streams and the serialisation of registered classes.

#include "ulvarf/CDMSerial.h"
#include "ulvarf/CMStream.h"
#include "ulvarf/CMemIn.h"
#include "ulvarf/CMemOut.h"
#include "ulvarf/CRTClassList.h"
#include "ulvarf/CRTClassListDestroyer.h"

#include "tests/support/ByteSamples.h"
#include "tests/ulvarf/TraceCapture.h"

#include <gtest/gtest.h>

#include <vector>

namespace zib::ulvarf {
namespace {

TEST(CMemIn, ReadsTheCallersBufferAndStopsAtItsEnd)
{
    const std::vector<uint8_t> data = {1, 2, 3, 4, 5};
    CMemIn in(data);
    uint8_t buffer[8] = {};
    EXPECT_EQ(in.Read(buffer, 3), 3u);
    EXPECT_EQ(buffer[2], 3);
    EXPECT_EQ(in.remaining(), 2u);
    EXPECT_EQ(in.Read(buffer, 8), 2u);
    EXPECT_EQ(buffer[1], 5);
    uint8_t byte = 0;
    EXPECT_FALSE(in.ReadByte(byte));
    EXPECT_TRUE(in.Seek(4));
    EXPECT_TRUE(in.ReadByte(byte));
    EXPECT_EQ(byte, 5);
}

TEST(CMemOut, StartsWith2000BytesAndGrowsPastEveryWrite)
{
    CMemOut out;
    EXPECT_EQ(out.capacity(), CMemOut::kInitialSize);
    const auto block = test::randomBytes(1500, 3);
    ASSERT_TRUE(out.Write(block.data(), block.size()));
    EXPECT_EQ(out.capacity(), 2000u);
    ASSERT_TRUE(out.Write(block.data(), block.size())); // 3000 needed
    EXPECT_GE(out.capacity(), 3000u + CMemOut::kGrowth);

    // Many small writes keep every byte in order.
    std::vector<uint8_t> expected(block);
    expected.insert(expected.end(), block.begin(), block.end());
    for (int i = 0; i < 100000; ++i) {
        const uint8_t b = uint8_t(i);
        ASSERT_TRUE(out.WriteByte(b));
        expected.push_back(b);
    }
    EXPECT_EQ(out.Take(), expected);
}

TEST(CMStream, WritesReservesPatchesAndReadsBack)
{
    CMStream stream;
    const uint8_t head[] = {0x07, 0x3C, 0x64};
    ASSERT_TRUE(stream.Write(head, 3));
    uint8_t* placeholder = stream.Reserve(2);
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder[0], 0);
    const size_t placeholderAt = 3;
    const auto tail = test::randomBytes(5000, 9); // forces a resize after the reserve
    ASSERT_TRUE(stream.Write(tail.data(), tail.size()));
    const uint8_t duration[] = {0x00, 0x60};
    ASSERT_TRUE(stream.Patch(placeholderAt, duration, 2));
    EXPECT_FALSE(stream.Patch(stream.size() - 1, duration, 2)); // past what is written

    uint8_t read[5] = {};
    EXPECT_EQ(stream.Read(read, 5), 5u);
    EXPECT_EQ(read[3], 0x00);
    EXPECT_EQ(read[4], 0x60);
    EXPECT_EQ(stream.size(), 5005u);
    EXPECT_FALSE(stream.failed());
}

TEST(CMStream, AnEmptyReservationOnANewStreamSucceeds)
{
    CMStream stream;
    EXPECT_NE(stream.Reserve(0), nullptr); // a null result would read as a failure
    EXPECT_EQ(stream.size(), 0u);
    EXPECT_FALSE(stream.failed());
}

TEST(CMStream, AResizeItCannotDoIsTracedAndSetsTheErrorState)
{
    CMStream stream(16, 100);
    test::TraceCapture capture;
    const auto data = test::randomBytes(80, 2);
    ASSERT_TRUE(stream.Write(data.data(), data.size())); // grows within the limit
    EXPECT_FALSE(stream.Write(data.data(), data.size())); // 160 > 100
    EXPECT_TRUE(stream.failed());
    EXPECT_EQ(stream.size(), 80u); // nothing of the failed write
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"CMStream::Resize - Unable to resize"});
    EXPECT_FALSE(stream.Resize(101));
    EXPECT_EQ(stream.Reserve(50), nullptr);
}

TEST(CRTClassList, StartsWith16GrowsBy8AndRefusesDuplicates)
{
    CRTClassList classes;
    EXPECT_EQ(classes.capacity(), 0u);
    for (uint16_t id = 1; id <= 16; ++id) ASSERT_TRUE(classes.Add(id));
    EXPECT_EQ(classes.capacity(), 16u);
    EXPECT_TRUE(classes.Add(17));
    EXPECT_EQ(classes.capacity(), 24u);
    EXPECT_FALSE(classes.Add(5));
    EXPECT_EQ(classes.size(), 17u);

    CRTClassListDestroyer destroyer(classes);
    destroyer.OnDetached();
    EXPECT_EQ(classes.size(), 0u);
    EXPECT_FALSE(classes.Contains(5));
}

// A serialisable object of three bytes.
class Triple : public CDMSerializable {
public:
    explicit Triple(uint16_t id) : id_(id) {}
    uint16_t ClassId() const override { return id_; }
    bool SaveData(COut& out) const override { return out.Write(bytes, 3); }
    bool LoadData(CIn& in) override { return in.Read(bytes, 3) == 3; }
    uint8_t bytes[3] = {};

private:
    uint16_t id_;
};

TEST(CDMSerial, WritesTheClassIdBeforeTheDataAndChecksItOnReading)
{
    CRTClassList classes;
    classes.Add(0x0102);
    CDMSerial serial(classes);
    Triple object(0x0102);
    object.bytes[0] = 7;
    object.bytes[2] = 9;

    CMemOut out;
    ASSERT_TRUE(serial.LoadAndWrite(object, out));
    const auto written = out.Take();
    EXPECT_EQ(written, (std::vector<uint8_t>{0x01, 0x02, 7, 0, 9}));

    Triple back(0x0102);
    CMemIn in(written);
    ASSERT_TRUE(serial.ReadAndLoad(back, in));
    EXPECT_EQ(back.bytes[2], 9);

    Triple other(0x0103);
    CMemIn again(written);
    EXPECT_FALSE(serial.ReadAndLoad(other, again)); // another class's id

    test::TraceCapture capture;
    CMemOut none;
    EXPECT_FALSE(serial.LoadAndWrite(other, none));
    EXPECT_EQ(none.size(), 0u);
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"CDMSerial::LoadAndWrite - Object not serializable"});
}

} // namespace
} // namespace zib::ulvarf
