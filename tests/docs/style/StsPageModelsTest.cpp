// The STS pages without their windows and what the sheets write back.
#include "docs/style/core/StsArrangerInfoPageModel.h"
#include "docs/style/core/StsItemData.h"
#include "docs/style/core/StsSheetApply.h"
#include "docs/style/core/StsTrackPageModel.h"
#include "tests/support/StyFileBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using F = StsArrangerInfoPageModel::Field;
using Bytes = std::vector<uint8_t>;
using Strings = std::vector<std::string>;

Strings textsOf(const std::vector<StsArrangerInfoPageModel::Entry>& entries)
{
    Strings out;
    for (const auto& e : entries)
        out.push_back(e.text);
    return out;
}

TEST(StsArrangerInfoPageModel, EntriesByKindAndModel)
{
    Bytes data = test::stsInstance({0});
    data[StsItemData::kBank] = 16;
    StsArrangerInfoPageModel perf(data, 'X', StsArrangerInfoPageModel::kPerformance);
    EXPECT_EQ(perf.Entries(F::Bank).size(), 19u) << "no Reserved";
    EXPECT_EQ(perf.Selection(F::Bank), -1) << "bank 16 has no entry";
    EXPECT_TRUE(perf.Enabled(F::Bank));
    EXPECT_EQ(perf.Entries(F::Position).size(), 32u);
    EXPECT_EQ(perf.Entries(F::Element).size(), 12u);
    EXPECT_EQ(StsArrangerInfoPageModel(data, 'F', StsArrangerInfoPageModel::kPerformance).Entries(F::Position).size(),
              16u);

    data[StsItemData::kBank] = 2;
    StsArrangerInfoPageModel chunk(data, 'F');
    EXPECT_EQ(textsOf(chunk.Entries(F::Bank)), Strings{"Ballad"});
    EXPECT_EQ(textsOf(chunk.Entries(F::Position)), Strings{"4"});
    EXPECT_FALSE(chunk.Enabled(F::Bank));
    EXPECT_FALSE(chunk.Enabled(F::Position));
    EXPECT_TRUE(chunk.Enabled(F::Fill1));
    EXPECT_EQ(chunk.Selection(F::Bank), 0);
    EXPECT_EQ(chunk.Entries(F::Element).size(), 10u);
    EXPECT_EQ(textsOf(chunk.Entries(F::Variation)), (Strings{"Variation1", "Variation2", "Variation3", "Variation4"}));
    EXPECT_EQ(chunk.Entries(F::Fill1).back().text, "->4");
    data[StsItemData::kBank] = 25;
    EXPECT_EQ(textsOf(StsArrangerInfoPageModel(data, 'F').Entries(F::Bank)), Strings{"25"});
}

TEST(StsArrangerInfoPageModel, TempoEditAndSpin)
{
    Bytes data = test::stsInstance({});
    data[StsItemData::kTempo] = 41;
    StsArrangerInfoPageModel page(data, 'F');
    page.TempoStep(-1);
    page.TempoStep(-1);
    EXPECT_EQ(page.tempo, 40) << "41 stepped down twice ends at 40";
    EXPECT_TRUE(page.changed);
    page.tempo = 240;
    page.TempoStep(+1);
    EXPECT_EQ(page.tempo, 240);

    StsArrangerInfoPageModel typed(data, 'F');
    EXPECT_EQ(typed.TempoTyped("20"), std::nullopt);
    EXPECT_EQ(typed.tempo, 20) << "stays in the page";
    EXPECT_EQ(typed.TempoTyped("300"), std::optional<std::string>("240"));
    EXPECT_EQ(typed.tempo, 240);
    EXPECT_TRUE(typed.changed);
}

TEST(StsArrangerInfoPageModel, CombosChangeOnlyOnANewValue)
{
    Bytes data = test::stsInstance({});
    StsArrangerInfoPageModel page(data, 'F');
    page.Select(F::Variation, page.Selection(F::Variation));
    EXPECT_FALSE(page.changed);
    page.Select(F::Fill2, 14);
    EXPECT_EQ(page.fill2, 14);
    EXPECT_TRUE(page.changed);
}

TEST(StsTrackPageModel, RowsTextsVolumesAndPans)
{
    Bytes data = test::stsInstance({2});
    StsTrackPageModel style = StsTrackPageModel::StylePerformance(data, 'F');
    ASSERT_EQ(style.Rows().size(), 8u);
    EXPECT_EQ(style.Rows()[7].name, "ACC5");
    EXPECT_EQ(style.Rows()[3].sound, 121u << 24 | 3u << 16 | 4u);
    EXPECT_EQ(style.SoundText(3).rfind("(121,3,4) - ", 0), 0u) << style.SoundText(3);

    StsTrackPageModel sts = StsTrackPageModel::Realtime(data, 'F', 2, 0);
    ASSERT_EQ(sts.Rows().size(), 4u);
    EXPECT_EQ(sts.Rows()[0].name, "LOW");
    EXPECT_EQ(sts.Rows()[2].sound, 121u << 24 | 12u);
    EXPECT_TRUE(sts.SoundChosen(1, 121u << 24 | 64u << 16 | 5u));
    EXPECT_EQ(sts.SoundText(1), "User1Prg05") << "the STS page shows the name alone after a choice";
    EXPECT_EQ(sts.SoundText(0).find('('), std::string::npos);

    EXPECT_EQ(style.VolumeTyped(0, "200"), std::optional<std::string>("127"));
    EXPECT_EQ(style.Rows()[0].volume, 127);
    EXPECT_EQ(style.VolumeTyped(0, "12"), std::nullopt);
    style.VolumeStep(1, +1);
    EXPECT_EQ(style.Rows()[1].volume, 101);

    const Strings pans = StsTrackPageModel::PanTexts();
    ASSERT_EQ(pans.size(), 129u);
    EXPECT_EQ(pans[0], "Off");
    EXPECT_EQ(pans[1], "L-64");
    EXPECT_EQ(pans[65], "CNT");
    EXPECT_EQ(pans[128], "R+63");
    const struct {
        uint8_t pan;
        int entry;
    } cases[] = {{64, 65}, {0, 1}, {127, 128}, {255, 0}, {200, -1}, {128, -1}};
    for (const auto& c : cases) {
        Bytes d = data;
        d[StsItemData::kStyleTracks + StsTrackRecord::kPan] = c.pan;
        EXPECT_EQ(StsTrackPageModel::StylePerformance(d, 'F').PanSelection(0), c.entry) << int(c.pan);
    }
}

TEST(StsSheets, ApplyWritesOnlyChangedPagesAtTheirOffsets)
{
    const Bytes original = test::stsInstance({0, 3});
    Bytes data = original;
    StsTrackPageModel perf = StsTrackPageModel::StylePerformance(data, 'F');
    StsArrangerInfoPageModel arranger(data, 'F');
    EXPECT_FALSE(ApplyStsChunkSheet(data, perf, arranger)) << "OK after only opening changes nothing";
    EXPECT_EQ(data, original);

    perf.PanSelected(2, 0);
    perf.VolumeTyped(5, "77");
    arranger.TempoTyped("20");
    arranger.bank = 9;
    EXPECT_TRUE(ApplyStsChunkSheet(data, perf, arranger));
    Bytes expected = original;
    expected[136 + 37 * 2 + 13] = 255;
    expected[136 + 37 * 5 + 12] = 77;
    expected[41] = 40;
    EXPECT_EQ(data, expected) << "the tempo at least 40; bank and position not written";

    Bytes perfData = original;
    StsArrangerInfoPageModel perfPage(perfData, 'F', StsArrangerInfoPageModel::kPerformance);
    perfPage.Select(F::Bank, 0);
    perfPage.Select(F::Position, 7);
    EXPECT_TRUE(ApplyArrangerInfoPage(perfData, perfPage, true));
    EXPECT_EQ(perfData[38], 0);
    EXPECT_EQ(perfData[39], 7);

    // The second block (slot 3) is ordinal 1.
    Bytes stsData = original;
    StsTrackPageModel sts = StsTrackPageModel::Realtime(stsData, 'F', 3, 1);
    sts.VolumeTyped(3, "5");
    EXPECT_TRUE(ApplyStsPage(stsData, sts));
    expected = original;
    expected[432 + 261 + 113 + 37 * 3 + 12] = 5;
    EXPECT_EQ(stsData, expected);
}

TEST(StsSheets, AnOrdinalPastTheParsedBlocksWritesNothing)
{
    Bytes data = test::stsInstance({0}, 600);
    const Bytes original = data;
    StsTrackPageModel sts = StsTrackPageModel::Realtime(data, 'F', 1, 1);
    sts.VolumeTyped(0, "9");
    EXPECT_FALSE(ApplyStsPage(data, sts));
    EXPECT_EQ(data, original);
}

} // namespace
} // namespace zib
