#include "midi/EventBytes.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zib;

namespace {

EventBytes bytesOf(size_t n, uint8_t first)
{
    EventBytes b;
    for (size_t i = 0; i < n; ++i)
        b.push_back(uint8_t(first + i));
    return b;
}

std::vector<uint8_t> contents(const EventBytes& b)
{
    return std::vector<uint8_t>(b.begin(), b.end());
}

} // namespace

// Short bytes are kept in the event and long ones on the heap in the same
// place: every exchange, move and copy between the two kinds keeps both sides.
TEST(EventBytes, ExchangesKeepBytesWhereverTheyAreHeld)
{
    const size_t sizes[] = {0, 3, EventBytes::kInline, EventBytes::kInline + 1, 300};
    for (size_t a : sizes)
        for (size_t b : sizes) {
            SCOPED_TRACE(testing::Message() << a << " <-> " << b);
            EventBytes x = bytesOf(a, 1), y = bytesOf(b, 100);
            const auto wantX = contents(x), wantY = contents(y);
            x.swap(y);
            EXPECT_EQ(contents(x), wantY);
            EXPECT_EQ(contents(y), wantX);

            EventBytes moved(std::move(x));
            EXPECT_EQ(contents(moved), wantY);
            EventBytes copy;
            copy = moved;
            EXPECT_EQ(contents(copy), wantY);
            EXPECT_TRUE(copy == moved);
            if (!copy.empty()) {
                ++copy[0];
                EXPECT_FALSE(copy == moved);
            }
        }
}

TEST(EventBytes, GrowingPastTheInlineRoomKeepsTheBytes)
{
    EventBytes b = bytesOf(EventBytes::kInline, 10);
    b.resize(40, 0xEE);
    ASSERT_EQ(b.size(), 40u);
    for (size_t i = 0; i < EventBytes::kInline; ++i)
        EXPECT_EQ(b[i], 10 + i);
    EXPECT_EQ(b[EventBytes::kInline], 0xEE);
    EXPECT_EQ(b[39], 0xEE);
    // Assigning from its own bytes
    b.assign(b.begin() + 2, b.begin() + 5);
    EXPECT_EQ(contents(b), (std::vector<uint8_t>{12, 13, 14}));

    std::vector<uint8_t> editing(20, 7);
    b.swap(editing);
    EXPECT_EQ(contents(b), std::vector<uint8_t>(20, 7));
    EXPECT_EQ(editing, (std::vector<uint8_t>{12, 13, 14}));
}
