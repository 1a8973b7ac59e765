#include "platform/ByteWriter.h"

#include <gtest/gtest.h>

using zib::ByteWriter;
using Bytes = std::vector<uint8_t>;

TEST(ByteWriter, WritesBothByteOrdersAndPatches)
{
    ByteWriter w;
    w.text("MTrk");
    w.u32be(0);
    w.u16le(0x1234);
    w.u24be(0x07A120);
    EXPECT_TRUE(w.patchU32be(4, 5));
    EXPECT_EQ(w.bytes(), (Bytes{'M', 'T', 'r', 'k', 0, 0, 0, 5, 0x34, 0x12, 0x07, 0xA1, 0x20}));
    EXPECT_FALSE(w.patchU32be(10, 1));
}

TEST(ByteWriter, VariableLengthNumbers)
{
    struct Case { uint32_t value; Bytes bytes; };
    const Case cases[] = {
        {0, {0x00}}, {0x7F, {0x7F}}, {0x80, {0x81, 0x00}}, {0x2000, {0xC0, 0x00}},
        {0x3FFF, {0xFF, 0x7F}}, {0x4000, {0x81, 0x80, 0x00}}, {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const auto& k : cases) {
        ByteWriter w;
        EXPECT_TRUE(w.varLen(k.value));
        EXPECT_EQ(w.bytes(), k.bytes);
        EXPECT_EQ(ByteWriter::varLenSize(k.value), k.bytes.size());
    }
    ByteWriter w;
    EXPECT_FALSE(w.varLen(0x10000000));
    EXPECT_EQ(w.size(), 0u);
    EXPECT_TRUE(w.failed());
}

TEST(ByteWriter, LimitRefusesWritesThatDoNotFit)
{
    ByteWriter w(5);
    EXPECT_TRUE(w.u32be(1));
    EXPECT_FALSE(w.u16be(2));
    EXPECT_EQ(w.size(), 4u);
    EXPECT_FALSE(w.u8(3)); // failure is sticky
    EXPECT_TRUE(w.failed());
}
