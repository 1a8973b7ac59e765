#include "platform/Cp1252.h"

#include <gtest/gtest.h>

using namespace zib;

TEST(Cp1252, ConvertsBothWays)
{
    struct Case {
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {"Rock 8", "Rock 8"},
        {"\x80", "\xE2\x82\xAC"},              // euro sign
        {"Caf\xE9", "Caf\xC3\xA9"},            // e acute
        {"\x9F", "\xC5\xB8"},                  // Y diaeresis
        {"\x81\x8D", "\xC2\x81\xC2\x8D"},      // undefined bytes keep their number
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp1252ToUtf8(c.bytes), c.utf8);
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.bytes);
    }
}

TEST(Cp1252, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(Cp1252, UnrepresentableAndMalformedBecomeQuestionMarks)
{
    EXPECT_EQ(utf8ToCp1252("\xE4\xB8\xAD"), "?");          // a CJK character
    EXPECT_EQ(utf8ToCp1252("\xF0\x9F\x8E\xB5x"), "?x");    // outside the BMP
    EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");                // cut sequence
    EXPECT_EQ(utf8ToCp1252("\xC3(x"), "?(x");              // bad continuation
    EXPECT_EQ(utf8ToCp1252("\xFF"), "?");
}
