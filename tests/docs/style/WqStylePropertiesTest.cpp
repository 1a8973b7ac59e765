#include "docs/style/core/WqStylePropertiesModel.h"

#include "tests/support/WqImageBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

StyleDocumentNames namesOf(uint32_t model)
{
    return {int(model), 2, false, {}};
}

std::vector<uint8_t> styleImage(char model)
{
    test::WqImageBuilder b = test::WqImageBuilder::fromEmptyItem(model);
    b.name("Props").tempo(100).retrigger(0b1100'0011).tension(0b1100'0111);
    for (int t = 0; t < 6; ++t)
        b.track(t, uint16_t(t + 1), uint8_t(90 + t), uint8_t(t == 5 ? 255 : t * 5));
    b.wrapAround(0, 3).wrapAround(3, 11);
    return b.build();
}

TEST(WqStylePropertiesModel, ReadsTheHeadOfBothLayouts)
{
    for (char model : {'9', 'M'}) {
        std::vector<uint8_t> image = styleImage(model);
        const WqStylePropertiesModel m(image, uint32_t(model), namesOf(uint32_t(model)));
        ASSERT_TRUE(m.Usable()) << model;
        EXPECT_EQ(m.name.substr(0, 5), "Props");
        EXPECT_EQ(m.tempo, 100);
        EXPECT_EQ(m.programs[2], 3);
        EXPECT_EQ(m.volumes[4], 94);
        EXPECT_EQ(m.pans[5], 255);
        EXPECT_EQ(m.retrigger, (std::array<bool, 4>{false, false, false, false})); // bits 2-5 of 0xC3
        EXPECT_EQ(m.tension, (std::array<bool, 3>{false, false, false}));            // bits 3-5 of 0xC7
        EXPECT_EQ(m.ranges[0], 4);
        EXPECT_EQ(m.ranges[3], 12);
    }
    std::vector<uint8_t> small(1175);
    EXPECT_FALSE(WqStylePropertiesModel(small, 'I', namesOf('I')).Usable());
    std::vector<uint8_t> qe(4000);
    EXPECT_FALSE(WqStylePropertiesModel(qe, 'F', namesOf('F')).Usable());
}

TEST(WqStylePropertiesModel, OkWritesOnlyItsFields)
{
    for (char model : {'<', 'I'}) {
        std::vector<uint8_t> image = styleImage(model);
        const std::vector<uint8_t> before = image;
        WqStylePropertiesModel m(image, uint32_t(model), namesOf(uint32_t(model)));
        m.retrigger = {true, false, true, true};
        m.tension = {true, true, false};
        m.programs[1] = 0x0105;
        m.ranges[1] = 7;
        m.tempo = 140;
        const std::array<int, 6> volumes{-1, 10, -1, -1, -1, -1};
        const std::array<int, 6> pans{32, -1, 15, -1, -1, -1};
        ASSERT_TRUE(m.Ok(volumes, pans, 3));
        const size_t shift = model == 'I' ? 8 : 0;
        EXPECT_EQ(image[11 + shift], 110);
        EXPECT_EQ(image[13 + shift], (0xC3 & ~0x3C) | 0x34); // other bits kept
        EXPECT_EQ(image[18 + shift], (0xC7 & ~0x38) | 0x18);
        EXPECT_EQ(image[15 + shift], 6);
        EXPECT_EQ(image[38 + shift + 4 * 1], 0x05);
        EXPECT_EQ(image[38 + shift + 4 * 1 + 1], 0x01);
        EXPECT_EQ(image[38 + shift + 4 * 1 + 2], 10);
        EXPECT_EQ(image[38 + shift + 3], 255); // "OFF"
        EXPECT_EQ(image[38 + shift + 4 * 2 + 3], 15);
        EXPECT_EQ(image[38 + shift + 4 * 3 + 2], before[38 + shift + 4 * 3 + 2]); // nothing chosen: kept
        if (model == 'I') {
            EXPECT_EQ(image[18], 3); // the category
        }
        // Nothing outside the head's fields changed.
        for (size_t i = 66 + shift; i < image.size(); ++i)
            ASSERT_EQ(image[i], before[i]) << model << " " << i;
    }
}

TEST(WqStylePropertiesModel, TempoIsClampedIntoItsList)
{
    const std::pair<int, uint8_t> cases[] = {{40, 10}, {240, 210}, {39, 10}, {0, 10}, {241, 210}, {300, 210}};
    for (const auto& [typed, stored] : cases) {
        std::vector<uint8_t> image = styleImage('9');
        WqStylePropertiesModel m(image, '9', namesOf('9'));
        m.tempo = typed;
        ASSERT_TRUE(m.Ok({}, {}, -1));
        EXPECT_EQ(image[11], stored) << typed;
    }
}

TEST(WqStylePropertiesModel, PanAndCategoryValuesOutsideTheLists)
{
    std::vector<uint8_t> image = styleImage('M');
    image[46 + 3] = 200; // no pan text
    image[18] = 20;      // no category
    WqStylePropertiesModel m(image, 'M', namesOf('M'));
    EXPECT_EQ(WqStylePropertiesModel::PanIndex(m.pans[0]), -1);
    EXPECT_EQ(WqStylePropertiesModel::PanIndex(255), 32);
    EXPECT_EQ(WqStylePropertiesModel::PanIndex(31), 31);
    EXPECT_EQ(m.category, 0);
    ASSERT_TRUE(m.Ok({}, {}, -1));
    EXPECT_EQ(image[46 + 3], 200); // kept
    EXPECT_EQ(image[18], 0);       // shown and stored as 0
    EXPECT_FALSE(m.Ok({}, {}, -1)) << "nothing more to change";
    const auto pans = WqStylePropertiesModel::PanTexts();
    ASSERT_EQ(pans.size(), 33u);
    EXPECT_EQ(pans[0], "L15");
    EXPECT_EQ(pans[15], "CNT");
    EXPECT_EQ(pans[31], "PRG");
    EXPECT_EQ(pans[32], "OFF");
    EXPECT_EQ(WqStylePropertiesModel::CategoryNames()[2], "Ballrom");
}

TEST(WqStylePropertiesModel, ProgramListsPerModel)
{
    const struct {
        uint32_t model;
        uint16_t last;
        size_t count;
    } cases[] = {{'9', 0x207, 2 * 128 + 8}, {'H', 0x207, 2 * 128 + 8}, {'I', 0x427, 4 * 128 + 40 - 64}, {'M', 0x40F, 4 * 128 + 16 - 128}};
    for (const auto& c : cases) {
        const std::vector<uint16_t> numbers = WqStylePropertiesModel::ProgramNumbers(c.model);
        ASSERT_FALSE(numbers.empty());
        EXPECT_EQ(numbers.back(), c.last) << char(c.model);
        EXPECT_EQ(numbers.size(), c.count) << char(c.model);
        for (uint16_t n : numbers)
            EXPECT_EQ(n & 0x80, 0) << char(c.model) << " " << n;
    }
    EXPECT_FALSE(WqStylePropertiesModel::IsListedProgram('I', 0x240));
    EXPECT_TRUE(WqStylePropertiesModel::IsListedProgram('I', 0x340));
    EXPECT_FALSE(WqStylePropertiesModel::IsListedProgram('M', 0x340));
    EXPECT_FALSE(WqStylePropertiesModel::IsListedProgram('M', 0x410));
}

TEST(QeTrackToWqTrackDlgModel, ChoicesAndValuesOutsideThem)
{
    EXPECT_EQ(QeTrackToWqTrackDlgModel::CheckedAtStart(4), 4);
    EXPECT_EQ(QeTrackToWqTrackDlgModel::CheckedAtStart(7), 0);
    EXPECT_EQ(QeTrackToWqTrackDlgModel::CheckedAtStart(0), 0);
    EXPECT_EQ(QeTrackToWqTrackDlgModel::Ok(7, 0), 7); // nothing checked: the setting stays
    EXPECT_EQ(QeTrackToWqTrackDlgModel::Ok(7, 2), 2);
    EXPECT_EQ(std::string(QeTrackToWqTrackDlgModel::ChoiceText(5)), "Acc2, Acc3, Acc5");
    EXPECT_EQ(QeTrackToWqTrackDlgModel::QeTracks(6), (std::array<int, 3>{5, 6, 7}));
}

} // namespace
} // namespace zib
