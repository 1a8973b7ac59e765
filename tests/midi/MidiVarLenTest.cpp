#include "midi/MidiVarLen.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zib;

TEST(MidiVarLen, EncodesTheDocumentedValues)
{
    struct Case {
        uint32_t value;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {0, {0x00}},
        {0x7F, {0x7F}},
        {0x80, {0x81, 0x00}},
        {0x3FFF, {0xFF, 0x7F}},
        {0x4000, {0x81, 0x80, 0x00}},
        {0x1FFFFF, {0xFF, 0xFF, 0x7F}},
        {0x200000, {0x81, 0x80, 0x80, 0x00}},
        {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const auto& c : cases) {
        uint8_t out[4] = {0xAA, 0xAA, 0xAA, 0xAA};
        const int n = WriteMidiVarLen(c.value, out);
        EXPECT_EQ(std::vector<uint8_t>(out, out + n), c.bytes) << c.value;
        EXPECT_EQ(MidiVarLenSize(c.value), int(c.bytes.size()));

        uint32_t count = 0;
        EXPECT_EQ(ReadMidiVarLen(c.bytes.data(), c.bytes.size(), count), c.value);
        EXPECT_EQ(count, c.bytes.size());
    }
}

TEST(MidiVarLen, RefusesValuesThatNeedMoreThanFourBytes)
{
    uint8_t out[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    for (uint32_t v : {0x10000000u, 0xFFFFFFFFu}) {
        EXPECT_EQ(WriteMidiVarLen(v, out), 0);
        EXPECT_EQ(MidiVarLenSize(v), 0);
    }
    EXPECT_EQ(out[0], 0xAA); // nothing written
}

TEST(MidiVarLen, ReadStopsAtTheAvailableBytes)
{
    const uint8_t open[] = {0x81, 0x80}; // continues past the bytes given
    const uint8_t fiveBytes[] = {0x81, 0x80, 0x80, 0x80, 0x00};
    uint32_t count = 99;
    EXPECT_EQ(ReadMidiVarLen(open, sizeof open, count), 0u);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(ReadMidiVarLen(fiveBytes, sizeof fiveBytes, count), 0u);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(ReadMidiVarLen(nullptr, 4, count), 0u);
    EXPECT_EQ(count, 0u);
}
