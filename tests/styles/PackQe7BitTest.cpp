#include "styles/PackQe7Bit.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

TEST(PackQe7Bit, OneGroup)
{
    struct Case {
        std::vector<uint8_t> group;
        std::vector<uint8_t> packed;
    };
    const std::vector<Case> cases = {
        {{}, {}},
        {{0x05}, {0x00, 0x05}},
        {{0x80, 0x01, 0xFF}, {0x05, 0x00, 0x01, 0x7F}},
        {{0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87}, {0x7F, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07}},
        // At most seven bytes are taken.
        {{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0xFF}, {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07}},
    };
    for (const Case& c : cases) {
        uint8_t out[8] = {};
        const int n = PackQe7Bit(c.group, out);
        EXPECT_EQ(std::vector<uint8_t>(out, out + n), c.packed);
    }
}

TEST(PackQe7Bit, WholeBlocks)
{
    for (size_t size : {0u, 1u, 6u, 7u, 8u, 13u, 14u, 15u, 1000u}) {
        std::vector<uint8_t> data(size);
        for (size_t i = 0; i < size; ++i)
            data[i] = uint8_t(i * 37 + 0x80 * (i % 3 == 0));
        const std::vector<uint8_t> packed = PackQe7BitBlock(data);
        EXPECT_EQ(packed.size(), PackedQe7BitSize(size)) << size;
        EXPECT_EQ(PackedQe7BitSize(size), size / 7 * 8 + (size % 7 ? size % 7 + 1 : 0));
        // Every group: its high-bit byte, then its bytes without bit 7.
        std::vector<uint8_t> back;
        for (size_t at = 0; at < packed.size();) {
            const uint8_t high = packed[at++];
            EXPECT_LT(high, 0x80);
            for (int i = 0; i < 7 && at < packed.size(); ++i) {
                EXPECT_LT(packed[at], 0x80);
                back.push_back(uint8_t(packed[at++] | (high >> i & 1) << 7));
            }
        }
        EXPECT_EQ(back, data) << size;
    }
}

// Unpacking gives the block back, and stops at the closing F7 of the
// message, also inside a group.
TEST(PackQe7Bit, UnpacksWhatItPacks)
{
    for (size_t size : {0u, 1u, 6u, 7u, 8u, 13u, 14u, 15u, 1000u}) {
        std::vector<uint8_t> data(size);
        for (size_t i = 0; i < size; ++i)
            data[i] = uint8_t(i * 53 + 0x80 * (i % 2 == 0));
        std::vector<uint8_t> message = PackQe7BitBlock(data);
        EXPECT_EQ(UnpackQe7BitBlock(message), data) << size;
        message.push_back(0xF7);
        message.insert(message.end(), {0x01, 0x02, 0x03});
        EXPECT_EQ(UnpackQe7BitBlock(message), data) << size << " with F7";
    }
    struct Case {
        std::vector<uint8_t> packed;
        std::vector<uint8_t> data;
    };
    const std::vector<Case> cases = {
        {{0xF7}, {}},
        {{0x01}, {}},
        {{0x03, 0x11, 0xF7, 0x22}, {0x91}},
        {{0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x7F, 0x08, 0xF7}, {1, 2, 3, 4, 5, 6, 7, 0x88}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnpackQe7BitBlock(c.packed), c.data);
}

} // namespace
} // namespace zib
