#include "zibtbl/TensionPair.h"

#include <gtest/gtest.h>

using zib::tbl::TensionPair;

TEST(TensionPair, ValuesFrom20OnAreDecodedAsPairs)
{
    EXPECT_FALSE(TensionPair::isPacked(-10));
    EXPECT_FALSE(TensionPair::isPacked(-1));
    EXPECT_FALSE(TensionPair::isPacked(19));
    EXPECT_TRUE(TensionPair::isPacked(20));
    // 20 itself: second magnitude 20 with byte 1 zero (down), first 0.
    EXPECT_EQ(TensionPair::decode(20), (TensionPair{0, -20}));
}

TEST(TensionPair, BytesHoldMagnitudesAndDirections)
{
    struct Case {
        TensionPair pair;
        std::uint32_t bits;
    };
    const Case cases[] = {
        {{6, 2}, 0x01060102},  // first 6 up, second 2 up
        {{-5, 3}, 0x00050103}, // first down
        {{0, 16}, 0x01000110}, // first stays
        {{-9, 1}, 0x00090101},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::uint32_t(c.pair.encode()), c.bits);
        EXPECT_EQ(TensionPair::decode(std::int32_t(c.bits)), c.pair);
        EXPECT_TRUE(TensionPair::isPacked(c.pair.encode()));
    }
    // Any non-zero direction byte means up.
    EXPECT_EQ(TensionPair::decode(0x7F0480FF), (TensionPair{4, 255}));
}
