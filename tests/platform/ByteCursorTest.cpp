#include "platform/ByteCursor.h"

#include <gtest/gtest.h>

#include <vector>

using zib::ByteCursor;

TEST(ByteCursor, ReadsBothByteOrders)
{
    const uint8_t data[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE};
    ByteCursor c(data, sizeof data);
    EXPECT_EQ(c.u16be(), 0x1234);
    EXPECT_EQ(c.u16le(), 0x7856);
    EXPECT_EQ(c.u24be(), 0x9ABCDEu);
    EXPECT_TRUE(c.atEnd());
    EXPECT_TRUE(c.ok());

    ByteCursor d(data, sizeof data);
    EXPECT_EQ(d.u32be(), 0x12345678u);
    d.seek(0);
    EXPECT_EQ(d.u32le(), 0x78563412u);
}

TEST(ByteCursor, ShortReadFailsWithoutMoving)
{
    const uint8_t data[] = {1, 2, 3};
    ByteCursor c(data, sizeof data);
    c.u8();
    EXPECT_EQ(c.u32be(), 0u);
    EXPECT_TRUE(c.failed());
    EXPECT_EQ(c.pos(), 1u);
    EXPECT_TRUE(c.bytes(5).empty());
    EXPECT_FALSE(c.skip(3));
    EXPECT_TRUE(c.skip(2));
    EXPECT_EQ(c.u8(), 0);
    EXPECT_EQ(c.peek(), 0);

    ByteCursor empty(nullptr, 10);
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_EQ(empty.u8(), 0);
    EXPECT_TRUE(empty.failed());
}

TEST(ByteCursor, VariableLengthNumbers)
{
    struct Case { std::vector<uint8_t> bytes; uint32_t value; size_t used; bool ok; };
    const Case cases[] = {
        {{0x00}, 0, 1, true},
        {{0x7F}, 0x7F, 1, true},
        {{0x81, 0x00}, 0x80, 2, true},
        {{0xFF, 0x7F}, 0x3FFF, 2, true},
        {{0x81, 0x80, 0x00}, 0x4000, 3, true},
        {{0xFF, 0xFF, 0xFF, 0x7F}, 0x0FFFFFFF, 4, true},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, 0, 0, false}, // fifth byte
        {{0x81}, 0, 0, false},                         // truncated
        {{}, 0, 0, false},
    };
    for (const auto& k : cases) {
        ByteCursor c(k.bytes.data(), k.bytes.size());
        EXPECT_EQ(c.varLen(), k.value);
        EXPECT_EQ(c.ok(), k.ok);
        EXPECT_EQ(c.pos(), k.used);
    }
}

TEST(ByteCursor, SubCursorIsBoundedByItsLength)
{
    const uint8_t data[] = {'M', 'T', 'h', 'd', 0, 0, 0, 2, 0xAA, 0xBB, 0xCC};
    ByteCursor c(data, sizeof data);
    EXPECT_FALSE(c.match("MTrk"));
    EXPECT_TRUE(c.match("MThd"));
    ByteCursor body = c.sub(c.u32be());
    EXPECT_EQ(body.u16be(), 0xAABB);
    EXPECT_EQ(body.u8(), 0);
    EXPECT_TRUE(body.failed());
    EXPECT_EQ(c.u8(), 0xCC);
    EXPECT_TRUE(c.sub(1).failed() || c.failed());
}
