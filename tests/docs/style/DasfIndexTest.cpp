#include "docs/style/core/DasfIndex.h"
#include "docs/style/core/UlvaRfHandles.h"

#include "tests/support/StyFileBuilder.h"
#include "tests/support/ChunkBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::DasfResource;

TEST(DasfIndex, FindsReadsAndRewritesTheIndexOfAContainer)
{
    std::vector<uint8_t> image = test::dasfImage({test::stsEntry("One", 3, 4, 0, 0), test::stsEntry("Two", 5, 6)});
    std::span<uint8_t> index = FindIndexChunk(std::span<uint8_t>(image));
    ASSERT_EQ(index.size(), 8u + 48u);
    EXPECT_EQ(index[0], 5);

    DasfIndexEntry e;
    ASSERT_EQ(ReadIndexEntry(index, 1, e), 1);
    EXPECT_EQ(std::string(e.name.data()), "Two");
    EXPECT_EQ(e.type, 7);
    EXPECT_EQ(e.user1, 5);
    EXPECT_EQ(e.user2, 6);
    EXPECT_EQ(ReadIndexEntry(index, 2, e), 0);
    EXPECT_EQ(ReadIndexEntry(index, -1, e), 0);

    const uint8_t kept = index[8 + 24 + 21];
    e.type = 2;
    e.user2 = 9;
    ASSERT_EQ(WriteIndexEntry(index, 1, e), 1);
    UlrfContainerPtr c(_ULRFCreateInstance(image.data(), uint32_t(image.size())));
    ASSERT_NE(c, nullptr);
    char name[18];
    int type = 0, bank = 0, position = 0;
    ASSERT_TRUE(_ULRFEnumIndex(c.get(), 1, name, &type, &bank, &position));
    EXPECT_EQ(type, 2);
    EXPECT_EQ(position, 9);
    EXPECT_EQ(index[8 + 24 + 21], kept); // the library's own bytes stay
}

TEST(DasfIndex, RefusesIndexChunksOfABadSizeAndImagesThatEndEarly)
{
    // Index chunk of 30 bytes: not a multiple of 24.
    test::ChunkBuilder odd;
    odd.open(1, 0, 1, 0x14).leaf(5, 0, 0, 0x18, std::vector<uint8_t>(30)).close();
    std::vector<uint8_t> oddImage = odd.bytes();
    std::span<const uint8_t> index = FindIndexChunk(std::span<const uint8_t>(oddImage));
    ASSERT_FALSE(index.empty());
    DasfIndexEntry e;
    EXPECT_EQ(ReadIndexEntry(index, 0, e), 0);

    // An index chunk whose size runs past the image is not found.
    std::vector<uint8_t> cut = test::dasfImage({test::stsEntry("One", 0, 0)});
    cut.resize(40);
    EXPECT_TRUE(FindIndexChunk(std::span<const uint8_t>(cut)).empty());
    EXPECT_TRUE(FindIndexChunk(std::span<const uint8_t>()).empty());
    // A huge size field does not wrap the walk.
    std::vector<uint8_t> huge = {9, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xF8, 5, 0, 0, 0x18, 0, 0, 0, 0};
    EXPECT_TRUE(FindIndexChunk(std::span<const uint8_t>(huge)).empty());
}

TEST(DasfIndex, ContainerTest)
{
    const std::vector<uint8_t> good = test::dasfImage({test::stsEntry("One", 0, 0)});
    EXPECT_TRUE(IsDasfContainer(good));
    struct Case {
        size_t at;
        uint8_t value;
    } spoilt[] = {{0, 2}, {3, 0x15}, {7, 0}, {8, 3}, {15, 0x0D}, {23, 'd'}, {26, 'G'}};
    for (const auto& c : spoilt) {
        std::vector<uint8_t> bad = good;
        bad[c.at] = c.value;
        EXPECT_FALSE(IsDasfContainer(bad)) << c.at;
    }
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    EXPECT_FALSE(IsDasfContainer(longer));
    EXPECT_FALSE(IsDasfContainer(std::vector<uint8_t>(good.begin(), good.begin() + 26)));
}

TEST(DasfIndex, OneResourceContainerOpensWithItsStyle)
{
    std::vector<uint8_t> payload = {0x01, 0x00, 0x00, 0x10, 0, 0, 0, 4, 1, 2, 3, 4};
    const std::vector<uint8_t> image = MakeOneResourceContainer(payload, "My_Style");
    ASSERT_EQ(image.size(), payload.size() + 68);
    EXPECT_TRUE(IsDasfContainer(image));
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 60, image.begin() + 68),
              (std::vector<uint8_t>{0x06, 0, 0, 0x10, 0, 0, 0, uint8_t(payload.size())}));
    UlrfContainerPtr c(_ULRFCreateInstance(image.data(), uint32_t(image.size())));
    ASSERT_NE(c, nullptr);
    char name[18];
    int type = 0, bank = 0, position = 0;
    ASSERT_TRUE(_ULRFEnumIndex(c.get(), 0, name, &type, &bank, &position));
    EXPECT_EQ(std::string(name), "My_Style");
    EXPECT_EQ(type, 2);
    EXPECT_EQ(bank, 0);
    EXPECT_EQ(position, 0);
    EXPECT_FALSE(_ULRFEnumIndex(c.get(), 1, name, &type, &bank, &position));
}

} // namespace
} // namespace zib
