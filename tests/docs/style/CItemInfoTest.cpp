#include "docs/style/core/CItemInfo.h"
#include "docs/style/core/CStyItem.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

CItemInfo::Name nameOf(std::string_view bytes)
{
    CItemInfo item;
    item.SetName(bytes);
    return item.name;
}

std::string text(const CItemInfo::Name& name)
{
    return std::string(name.data(), std::find(name.begin(), name.end(), '\0'));
}

TEST(ConvertItemName, TrimCutsTrailingBlanksAtTheModelsWidth)
{
    struct Case {
        std::string in;
        uint32_t model;
        std::string out;
    } cases[] = {
        {"ABC" + std::string(15, ' '), 'F', "ABC"},
        {"ABC" + std::string(15, ' '), 'X', "ABC"},
        {"Rock Pop" + std::string(8, ' '), 'I', "Rock Pop"},
        {"empty     ", '9', "empty"},
        {"InitStyle      ", 'M', "InitStyle"},
        // only the first byte is not blank: byte 0 is never examined
        {"A" + std::string(17, ' '), 'F', "A" + std::string(17, ' ')},
        // bytes from 128 on count as blanks
        {"Caf\xC8" + std::string(14, ' '), 'X', "Caf"},
        // a Wq8 name is 10 bytes: what lies beyond is cut with the blanks
        {"Ballad    XYZ", '<', "Ballad"},
        {"Ballad    XYZ", 'H', "Ballad"},
    };
    for (const auto& c : cases) {
        CItemInfo::Name name = nameOf(c.in);
        ConvertItemName(name, c.model, 1);
        EXPECT_EQ(text(name), c.out) << c.in << " model " << char(c.model);
    }
}

TEST(ConvertItemName, PadTurnsNulsIntoBlanksUpToTheWidth)
{
    CItemInfo::Name name = nameOf("Abc");
    ConvertItemName(name, '9', 2);
    EXPECT_EQ(std::string(name.data(), 10), "Abc       ");
    EXPECT_EQ(name[10], '\0');

    CItemInfo::Name qe = nameOf("Abc");
    ConvertItemName(qe, 'F', 0);
    EXPECT_EQ(std::string(qe.data(), 18), "Abc" + std::string(15, ' '));
    EXPECT_EQ(qe[18], '\0');

    CItemInfo::Name empty{};
    ConvertItemName(empty, 'M', 2);
    EXPECT_EQ(empty[0], '\0'); // byte 0 is not touched
    EXPECT_EQ(std::string(empty.data() + 1, 15), std::string(15, ' '));
}

TEST(ConvertItemName, WidthsOfTheModels)
{
    for (uint32_t m : {'F', 'X'})
        EXPECT_EQ(ItemNameWidth(m), 18u);
    for (uint32_t m : {'I', 'M'})
        EXPECT_EQ(ItemNameWidth(m), 16u);
    for (uint32_t m : {'9', '<', 'H', ' '})
        EXPECT_EQ(ItemNameWidth(m), 10u);
}

TEST(CStyItem, StartsWithoutSignaturesOrSounds)
{
    CStyItem item;
    for (uint8_t s : item.signatures)
        EXPECT_EQ(s, 255);
    EXPECT_EQ(item.resourceIndex, 0);
    EXPECT_EQ(item.bank, 0);
    EXPECT_EQ(item.Size(), 0u);
    EXPECT_EQ(item.sounds[11][7], 0u);
}

} // namespace
} // namespace zib
