// The Wq-series program file layouts, read and written whole.
#include "docs/program/core/WqPcgFile.h"

#include "tests/support/PcgFileBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

TEST(WqPcgFile, BothLayoutsReadEveryRecordAndAttachEachMapToItsKit)
{
    struct Case {
        int model;
        size_t head, total, record;
        int programs, kits;
    };
    for (const Case c : {Case{'9', 791, 14255, 164, 64, 2}, Case{'H', 791, 14255, 164, 64, 2},
                         Case{'I', 48, 30480, 172, 128, 8}, Case{'M', 48, 30480, 172, 128, 8}}) {
        test::WqPcgBuilder builder(c.model);
        builder.headByte(20, 0x5A);
        const auto image = builder.image();
        ASSERT_EQ(image.size(), c.total);

        WqPcgFile file;
        ASSERT_EQ(file.Parse(image, c.model, c.head), WqPcgFile::Error::None) << char(c.model);
        EXPECT_EQ(file.head, std::vector<uint8_t>(image.begin(), image.begin() + ptrdiff_t(c.head)));
        ASSERT_EQ(file.programs.size(), size_t(c.programs));
        ASSERT_EQ(file.drumKits.size(), size_t(c.kits));
        EXPECT_EQ(file.programs[5], test::wqProgramRecord(c.model, "Prog6", 5));
        for (int k = 0; k < c.kits; ++k) {
            // The builder fills map k with k + 1: family A stores the maps first, family B last.
            const auto& kit = file.drumKits[size_t(k)];
            ASSERT_EQ(kit.size(), c.record + (c.model == 'I' || c.model == 'M' ? 880 : 1320));
            EXPECT_EQ(std::string(kit.begin(), kit.begin() + 4), "Kit" + std::to_string(k + 1));
            EXPECT_EQ(kit[c.record], k + 1);
            EXPECT_EQ(kit.back(), k + 1);
        }
        // Written again byte for byte.
        const auto built = file.Build(c.model);
        ASSERT_TRUE(built);
        EXPECT_EQ(*built, image);
    }
}

TEST(WqPcgFile, SizesAreExactAndTheHeadMustFitTheModel)
{
    const auto a = test::WqPcgBuilder('9').image();
    struct Case {
        std::vector<uint8_t> image;
        int model;
        size_t head;
        WqPcgFile::Error error;
    };
    const Case cases[] = {
        {std::vector<uint8_t>(a.begin(), a.end() - 1), '9', 791, WqPcgFile::Error::BadSize},
        {[&] { auto b = a; b.push_back(0); return b; }(), '9', 791, WqPcgFile::Error::BadSize},
        {a, '9', 48, WqPcgFile::Error::ModelNotSupported}, // a family-A file under .PRG
        {test::WqPcgBuilder('I').image(), 'I', 791, WqPcgFile::Error::ModelNotSupported},
        {a, 'F', 791, WqPcgFile::Error::ModelNotSupported},
        {{}, 'M', 48, WqPcgFile::Error::BadSize},
    };
    for (const Case& c : cases) {
        WqPcgFile file;
        EXPECT_EQ(file.Parse(c.image, c.model, c.head), c.error);
        EXPECT_TRUE(file.programs.empty());
    }
}

TEST(WqPcgFile, BuildRefusesContentThatDoesNotFitTheLayout)
{
    WqPcgFile file;
    ASSERT_EQ(file.Parse(test::WqPcgBuilder('9').image(), '9', 791), WqPcgFile::Error::None);
    WqPcgFile fewer = file;
    fewer.programs.pop_back();
    EXPECT_FALSE(fewer.Build('9'));
    WqPcgFile shortRecord = file;
    shortRecord.programs[3].pop_back();
    EXPECT_FALSE(shortRecord.Build('9'));
    EXPECT_FALSE(file.Build('I'));
    // A file without its head gets "DASK", the model letter and zeros.
    WqPcgFile headless = file;
    headless.head.clear();
    const auto built = headless.Build('<');
    ASSERT_TRUE(built);
    EXPECT_EQ(std::string(built->begin(), built->begin() + 5), "DASK<");
    EXPECT_EQ((*built)[790], 0);
    EXPECT_EQ(built->size(), 14255u);
}

} // namespace
} // namespace zib
