#include "midi/CMidiByteBuffer.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zib;

namespace {
std::vector<uint8_t> contents(const CMidiByteBuffer& b)
{
    return std::vector<uint8_t>(b.GetData(), b.GetData() + b.GetLength());
}
} // namespace

TEST(CMidiByteBuffer, AppendStopsAtTheCapacity)
{
    CMidiByteBuffer b;
    ASSERT_TRUE(b.Allocate(5));
    const uint8_t three[] = {1, 2, 3};
    EXPECT_EQ(b.Append(three, 3), 3);
    EXPECT_EQ(b.Append(three, 3), -1); // would pass the capacity: nothing written
    EXPECT_TRUE(b.Overflowed());
    EXPECT_EQ(b.GetLength(), 3u);
    EXPECT_EQ(b.Append(three, 2), 5);
    EXPECT_EQ(contents(b), (std::vector<uint8_t>{1, 2, 3, 1, 2}));

    CMidiByteBuffer none; // never allocated
    EXPECT_EQ(none.Append(three, 1), -1);
    EXPECT_EQ(none.Append(nullptr, 0), 0);
}

TEST(CMidiByteBuffer, SetLengthIsClampedToTheCapacity)
{
    CMidiByteBuffer b;
    ASSERT_TRUE(b.Allocate(4));
    b.SetLength(10);
    EXPECT_EQ(b.GetLength(), 4u);
    b.SetLength(1);
    EXPECT_EQ(b.GetLength(), 1u);
}

TEST(CMidiByteBuffer, WritesVariableLengthNumbers)
{
    CMidiByteBuffer b;
    ASSERT_TRUE(b.Allocate(16));
    EXPECT_EQ(b.WriteVarLen(0x4000), 3);
    EXPECT_EQ(b.WriteVarLen(0x10000000), -1);
    EXPECT_EQ(contents(b), (std::vector<uint8_t>{0x81, 0x80, 0x00}));
}

TEST(CMidiByteBuffer, ControllerWritersOfAStyleTrack)
{
    CMidiByteBuffer b;
    ASSERT_TRUE(b.Allocate(64));
    b.WriteBankSelect(0x0102, 2);
    b.WritePan(64, 0);
    b.WriteVolume(100, 6);
    EXPECT_EQ(contents(b),
              (std::vector<uint8_t>{0x00, 0xBB, 0x00, 0x01, 0x00, 0xBB, 0x20, 0x02, // bank on channel 12
                                    0xB9, 0x0A, 64,                                 // pan, channel 10
                                    0xBF, 0x07, 100}));                             // volume, channel 16
    // Track 7 would give 0xC0, a program change: refused.
    EXPECT_EQ(b.WritePan(1, 7), -1);
    EXPECT_EQ(b.WriteVolume(1, 7), -1);
    EXPECT_EQ(b.WriteBankSelect(1, 7), -1);
}
