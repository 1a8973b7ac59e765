#include "docs/style/core/CQeStyBank.h"
#include "docs/style/core/ItemBuilders.h"

#include "tests/support/StyFileBuilder.h"
#include "tests/support/WqImageBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

std::vector<StyNotice> collected;
StyNoticeSink collect()
{
    collected.clear();
    return [](const StyNotice& n) { collected.push_back(n); };
}

TEST(GetItem, WqStylesAreCopiedAndNamedByTheirModel)
{
    const std::vector<uint8_t> wq8 = test::smallWq8Image("Rock Pop");
    CStyItem item;
    ASSERT_TRUE(GetItem(item, wq8, '9', collect()));
    EXPECT_EQ(item.NameText(), "Rock Pop");
    EXPECT_EQ(item.data, wq8);
    EXPECT_EQ(item.model, uint32_t('9'));

    const std::vector<uint8_t> empty8 = test::WqImageBuilder('9').name("whatever").build();
    ASSERT_EQ(empty8.size(), 1168u);
    ASSERT_TRUE(GetItem(item, empty8, '<', collect()));
    EXPECT_EQ(item.NameText(), "empty");

    const std::vector<uint8_t> init = test::WqImageBuilder('M').name("Foo").build();
    ASSERT_EQ(init.size(), 1176u);
    ASSERT_TRUE(GetItem(item, init, 'M', collect()));
    EXPECT_EQ(item.NameText(), "InitStyle");

    std::vector<uint8_t> longB = test::WqImageBuilder('I').name("Sixteen chars ab").build();
    longB.resize(1180);
    ASSERT_TRUE(GetItem(item, longB, 'I', collect()));
    EXPECT_EQ(item.NameText(), "Sixteen chars ab");
    // Shorter than a name: only what is there is copied.
    ASSERT_TRUE(GetItem(item, std::vector<uint8_t>{'A', 'b'}, '9', collect()));
    EXPECT_EQ(item.NameText(), "Ab");
    EXPECT_TRUE(collected.empty());
}

TEST(GetItem, WqProgramsAndDrumKits)
{
    std::vector<uint8_t> record(172, 0);
    const std::string name = "Grand Piano 1   ";
    std::copy(name.begin(), name.end(), record.begin());
    CItemInfo program;
    ASSERT_TRUE(GetItem(program, record, '9', 3, false, {}));
    EXPECT_EQ(program.Size(), 164u);
    EXPECT_EQ(program.NameText(), "Grand Pian");
    ASSERT_TRUE(GetItem(program, record, 'M', 11, false, {}));
    EXPECT_EQ(program.Size(), 172u);
    EXPECT_EQ(program.NameText(), "Grand Piano 1");

    struct Case {
        uint32_t model;
        int fileKind;
        bool ok;
        uint32_t size;
    } kits[] = {{'9', 3, true, 1484}, {'H', 3, true, 1484}, {'I', 11, true, 1052},
                {'9', 11, false, 0},  {'M', 3, false, 0},   {'F', 3, false, 0}};
    for (const auto& k : kits) {
        CItemInfo kit;
        EXPECT_EQ(GetItem(kit, record, k.model, k.fileKind, true, {}), k.ok) << char(k.model);
        EXPECT_EQ(kit.Size(), k.size);
    }
    CItemInfo shortRecord;
    EXPECT_FALSE(GetItem(shortRecord, std::vector<uint8_t>(100), '9', 3, false, {}));
}

TEST(GetQEItem, StylesCarryVersionSignaturesAndSounds)
{
    const std::vector<uint8_t> nine = test::qeStyleInstance({"Nine", 1, {0, 4}, 0x79010005});
    const std::vector<uint8_t> two = test::qeStyleInstance({"Two", 2});
    const std::vector<uint8_t> image = test::dasfImage({test::qeEntry("Nine", 2, 3, 0, nine),
                                                        test::qeEntry("Two", 2, 3, 1, two),
                                                        test::stsEntry("Sts", 3, 0, 1, 2)});
    UlrfContainerPtr c(_ULRFCreateInstance(image.data(), uint32_t(image.size())));
    ASSERT_NE(c, nullptr);

    CStyItem item;
    item.SetName("old");
    ASSERT_EQ(QeItemBuild::Built, GetQEItem(item, c.get(), 0, 2, collect()));
    EXPECT_EQ(item.model, uint32_t('X'));
    EXPECT_EQ(item.version, 1u);
    EXPECT_EQ(item.NameText(), "");
    EXPECT_EQ(item.signatures[0], 0x23); // 4/4
    EXPECT_EQ(item.sounds[0][2], 0x79010005u);
    // The data is the compressed serialised instance: it opens again.
    CStyItem copy;
    copy.data = item.data;
    EXPECT_EQ(AddSoundInfo(copy), 1);
    EXPECT_EQ(copy.sounds[0][2], 0x79010005u);
    EXPECT_EQ(copy.signatures, item.signatures);

    // A style of version 2 is not read, and says nothing.
    CStyItem bad;
    EXPECT_NE(QeItemBuild::Built, GetQEItem(bad, c.get(), 1, 2, collect()));
    EXPECT_TRUE(collected.empty());
    EXPECT_EQ(bad.Size(), 0u);

    // STS blocks come decompressed, with model 'F'.
    CStyItem sts;
    ASSERT_EQ(QeItemBuild::Built, GetQEItem(sts, c.get(), 2, 7, collect()));
    EXPECT_EQ(sts.model, uint32_t('F'));
    EXPECT_EQ(std::vector<uint8_t>(sts.data.begin() + 8, sts.data.end()), test::stsChunk(1, 2));

    // A resource that is not there.
    EXPECT_NE(QeItemBuild::Built, GetQEItem(item, c.get(), 3, 2, collect()));
    ASSERT_EQ(collected.size(), 1u);
    EXPECT_EQ(collected[0].English(), "Cannot extract QE data resource at index: 3");
    EXPECT_EQ(collected[0].caption, "GetQEItem");

    // An STS block read as a style has no style editor.
    EXPECT_NE(QeItemBuild::Built, GetQEItem(item, c.get(), 2, 2, collect()));
    ASSERT_EQ(collected.size(), 1u);
    EXPECT_EQ(collected[0].English(), "Cannot create sound list for QE data resource (index: 2)");

    CStyItem none;
    EXPECT_EQ(AddSoundInfo(none), 0);
}

} // namespace
} // namespace zib
