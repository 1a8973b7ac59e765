#include "docs/style/core/CQePcgBank.h"
#include "docs/style/core/CQePrfBank.h"
#include "docs/style/core/CQeStyBank.h"
#include "docs/style/core/ItemBuilders.h"

#include "tests/support/StyFileBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::DasfResource;

std::vector<uint8_t> style(const std::string& name = "Style", uint8_t version = 0)
{
    return test::qeStyleInstance({name, version});
}

// A container of styles at (bank, position) each.
std::vector<uint8_t> styles(std::vector<std::pair<uint8_t, uint8_t>> places, uint8_t version = 0)
{
    const std::vector<uint8_t> instance = style("S", version);
    std::vector<DasfResource> resources;
    for (size_t i = 0; i < places.size(); ++i)
        resources.push_back(
            test::qeEntry("Style" + std::to_string(i), 2, places[i].first, places[i].second, instance));
    return test::dasfImage(resources);
}

TEST(CQeStyBank, LoadsStylesAndLinksTheirStsBlocks)
{
    const std::vector<uint8_t> instance = style("Pop");
    const std::vector<uint8_t> image = test::dasfImage({
        test::qeEntry("Pop", 2, 3, 0, instance),
        test::stsEntry("PopSts", 3, 0, 2, 7),
        test::qeEntry("Rock", 2, 3, 5, instance),
        test::stsEntry("Lonely", 3, 9, 1, 1),
    });
    CQeStyBank bank;
    UlrfContainerPtr c = bank.Load(image);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(bank.changed, 0u);
    EXPECT_EQ(bank.GetModelCode(), uint32_t('F'));
    EXPECT_EQ(bank.GetMaxPosition(), 5);
    EXPECT_EQ(bank.FindByPosition(0), 0);
    EXPECT_EQ(bank.FindByPosition(5), 2);
    EXPECT_EQ(bank.FindByPosition(1), -1);
    EXPECT_EQ(bank.FindByPosition(2000), -1);
    EXPECT_EQ(bank.FindByPosition(-1), -1);
    EXPECT_EQ(std::string(bank.entries[2].name.data()), "Rock");
    EXPECT_EQ(bank.entries[0].headerWordA, 0u); // the version of a Qe4k style
    EXPECT_EQ(bank.stsEntries[1].headerWordA, 2u);
    EXPECT_EQ(bank.stsEntries[1].headerWordB, 7u);
    EXPECT_EQ(bank.LinkOf(0).stsSlot, 1);
    EXPECT_EQ(bank.LinkOf(0).styleResourceIndex, 0);
    EXPECT_EQ(bank.LinkOf(2).stsSlot, -1); // no STS block at bank 3, position 5
    EXPECT_EQ(bank.FindStsByBankPosition(3, 9), 3);
    EXPECT_EQ(bank.FindStsByBankPosition(3, 8), -1);
    // The container stays open and reads the styles compressed as they were.
    CStyItem item;
    EXPECT_EQ(QeItemBuild::Built, GetQEItem(item, c.get(), 2, 2, {}));
    EXPECT_EQ(item.model, uint32_t('F'));
}

TEST(CQeStyBank, RepairsBanksAndPositions)
{
    struct Case {
        const char* what;
        std::vector<std::pair<uint8_t, uint8_t>> places;
        uint32_t changed;
        std::vector<int> banks;
        std::vector<int> positions;
    } cases[] = {
        {"one valid bank", {{3, 0}, {3, 1}}, 0, {3, 3}, {0, 1}},
        {"most common bank", {{3, 0}, {3, 1}, {5, 2}}, 1, {3, 3, 3}, {0, 1, 2}},
        {"bank 16 becomes 17", {{16, 0}, {16, 1}}, 1, {17, 17}, {0, 1}},
        {"bank 20 is no style bank", {{20, 0}, {20, 1}}, 1, {0, 0}, {0, 1}},
        {"lowest bank on a tie", {{7, 0}, {4, 1}}, 1, {4, 4}, {0, 1}},
        {"two at position 4", {{3, 4}, {3, 4}}, 1, {3, 3}, {0, 1}},
        {"position beyond 16", {{3, 0}, {3, 16}}, 1, {3, 3}, {0, 1}},
    };
    for (const auto& c : cases) {
        CQeStyBank bank;
        ASSERT_NE(bank.Load(styles(c.places)), nullptr) << c.what;
        EXPECT_EQ(bank.changed, c.changed) << c.what;
        for (size_t i = 0; i < c.banks.size(); ++i) {
            EXPECT_EQ(bank.entries[i].bank, c.banks[i]) << c.what << " " << i;
            EXPECT_EQ(bank.entries[i].position, c.positions[i]) << c.what << " " << i;
        }
    }
}

TEST(CQeStyBank, Qe9zStylesAndManyStylesMakeModelX)
{
    CQeStyBank nine;
    ASSERT_NE(nine.Load(styles({{3, 0}, {3, 20}}, 1)), nullptr);
    EXPECT_EQ(nine.GetModelCode(), uint32_t('X'));
    EXPECT_EQ(nine.entries[0].headerWordA, 1u);
    EXPECT_EQ(nine.changed, 0u); // position 20 is fine for Qe9z styles (limit 32)

    std::vector<std::pair<uint8_t, uint8_t>> seventeen;
    for (uint8_t p = 0; p < 17; ++p)
        seventeen.push_back({2, p});
    CQeStyBank many;
    ASSERT_NE(many.Load(styles(seventeen)), nullptr);
    EXPECT_EQ(many.GetModelCode(), uint32_t('X'));
    EXPECT_EQ(many.changed, 0u);

    seventeen.pop_back();
    CQeStyBank sixteen;
    ASSERT_NE(sixteen.Load(styles(seventeen)), nullptr);
    EXPECT_EQ(sixteen.GetModelCode(), uint32_t('F'));
}

TEST(CQeStyBank, RefusesWhatHoldsNoStyle)
{
    CQeStyBank bank;
    EXPECT_EQ(bank.Load(test::dasfImage({test::stsEntry("Sts", 0, 0)})), nullptr);
    EXPECT_EQ(bank.Load(test::dasfImage({})), nullptr);
    EXPECT_EQ(bank.Load(std::vector<uint8_t>{1, 2, 3}), nullptr);
    std::vector<uint8_t> spoilt = styles({{0, 0}});
    spoilt[8] = 9;
    EXPECT_EQ(bank.Load(spoilt), nullptr);
}

TEST(CQeStyBank, PadIndexRepairsWithThePadLimits)
{
    const std::vector<uint8_t> pad = test::qeStyleInstance({"Pad", 0, {0}, 0, true});
    CQeStyBank bank;
    ASSERT_NE(bank.LoadPadIndex(test::dasfImage({test::qeEntry("P1", 9, 25, 40, pad)})), nullptr);
    EXPECT_EQ(bank.changed, 1u); // position 40 is beyond the 32 pads
    EXPECT_EQ(bank.entries[0].position, 0);
    EXPECT_EQ(bank.entries[0].bank, 25); // banks up to 29 are pad banks

    CQeStyBank kept;
    ASSERT_NE(kept.LoadPadIndex(test::dasfImage({test::qeEntry("P1", 9, 16, 31, pad)})), nullptr);
    EXPECT_EQ(kept.changed, 0u);
    EXPECT_EQ(kept.entries[0].bank, 16);
    EXPECT_EQ(kept.LoadPadIndex(styles({{0, 0}})), nullptr); // styles are no pads
}

TEST(CQeBank, ProgramAndPerformanceTables)
{
    const std::vector<uint8_t> chunk = test::stsChunk(4, 9);
    std::vector<DasfResource> programs;
    for (int i = 0; i < 3; ++i) {
        DasfResource r;
        r.name = "Prog" + std::to_string(i);
        r.type = 4;
        r.user1 = 2;
        r.user2 = uint8_t(130 + i); // beyond the 128 positions
        r.chunk = chunk;
        programs.push_back(r);
    }
    const std::vector<uint8_t> pcg = test::dasfImage(programs);
    UlrfContainerPtr c(_ULRFCreateInstance(pcg.data(), uint32_t(pcg.size())));
    CQePcgBank pcgBank;
    ASSERT_EQ(pcgBank.EnumIndex(c.get()), 1);
    EXPECT_EQ(pcgBank.changed, 1u);
    EXPECT_EQ(pcgBank.entries[2].position, 2);
    EXPECT_EQ(pcgBank.entries[5].kind, 4u); // free program slots keep kind 4
    EXPECT_EQ(pcgBank.entries[5].bank, -1);

    std::vector<DasfResource> performances = programs;
    for (auto& r : performances) {
        r.type = 1;
        r.user2 = 0;
    }
    performances[1].user2 = 1;
    performances[2].user2 = 2;
    const std::vector<uint8_t> prf = test::dasfImage(performances);
    CQePrfBank prfBank;
    UlrfContainerPtr pc = prfBank.Load(prf);
    ASSERT_NE(pc, nullptr);
    EXPECT_EQ(prfBank.GetModelCode(), uint32_t('F'));
    EXPECT_EQ(prfBank.entries[1].headerWordA, 4u);
    EXPECT_EQ(prfBank.entries[1].headerWordB, 9u);
    EXPECT_EQ(prfBank.entries[7].headerWordA, uint32_t(-1));
    CQePrfItem item;
    ASSERT_TRUE(GetQEItemUnComp(item, pc.get(), 1, 'F', {}));
    EXPECT_EQ(item.data[0], 1); // type 1 again
    EXPECT_EQ(std::vector<uint8_t>(item.data.begin() + 8, item.data.end()), chunk);

    CQePcgBank none;
    EXPECT_EQ(none.EnumIndex(pc.get()), 0);
}

} // namespace
} // namespace zib
