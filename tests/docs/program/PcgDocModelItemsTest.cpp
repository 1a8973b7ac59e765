// Delete, Empty Item, Extract Item and Save of the program document.
#include "tests/docs/program/PcgTestDoc.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/RealFixtures.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

std::vector<std::string> names(const std::vector<CPcgItem>& items)
{
    std::vector<std::string> out;
    for (const auto& i : items)
        out.push_back(i.NameText());
    return out;
}

TEST(PcgDocItems, DeleteTakesTheSelectionOrElseTheFocusedRowOfTheShownList)
{
    test::PcgTestDoc t;
    ASSERT_TRUE(t.open("a.pcg", test::WqPcgBuilder('9').image()));
    PcgDocModel& d = t.doc;

    EXPECT_TRUE(d.DeleteItems({}, -1)); // nothing selected or focused: nothing happens
    EXPECT_EQ(d.ProgramCount(), 64);
    EXPECT_FALSE(d.modified);

    EXPECT_TRUE(d.DeleteItems({3, 1, 99}, 0)); // the focus does not count beside a selection
    ASSERT_EQ(d.ProgramCount(), 62);
    EXPECT_EQ(names(d.programs)[0], "Prog1");
    EXPECT_EQ(names(d.programs)[1], "Prog3");
    EXPECT_EQ(names(d.programs)[2], "Prog5");
    for (int i = 0; i < d.ProgramCount(); ++i)
        EXPECT_EQ(d.programs[size_t(i)].position, uint32_t(i));
    EXPECT_TRUE(d.modified);

    d.shownList = 2;
    EXPECT_TRUE(d.DeleteItems({}, 0));
    EXPECT_EQ(names(d.drumKits), std::vector<std::string>{"Kit2"});
    EXPECT_EQ(d.drumKits[0].position, 0u);
    EXPECT_EQ(d.ProgramCount(), 62);
}

TEST(PcgDocItems, EmptyClearsRecordsAndNamesThemByListAndSeries)
{
    test::PcgTestDoc wq;
    ASSERT_TRUE(wq.open("a.prg", test::WqPcgBuilder('M').image()));
    EXPECT_TRUE(wq.doc.EmptyItems({2}, -1));
    EXPECT_EQ(wq.doc.programs[2].NameText(), "EMPTYPRG");
    EXPECT_EQ(wq.doc.programs[2].data, std::vector<uint8_t>(172, 0)); // the zeroed record keeps no name
    wq.doc.shownList = 2;
    EXPECT_TRUE(wq.doc.EmptyItems({}, 7));
    EXPECT_EQ(wq.doc.drumKits[7].NameText(), "EMPTYDRM");
    EXPECT_EQ(wq.doc.drumKits[7].data, std::vector<uint8_t>(1052, 0));
    EXPECT_EQ(wq.doc.drumKits[7].model, uint32_t('M'));
    EXPECT_EQ(wq.doc.DrumKitCount(), 8);
    EXPECT_TRUE(wq.doc.modified);

    test::PcgTestDoc qe;
    ASSERT_TRUE(qe.open("q.pcg", test::qePcgImage({{"Piano", 9, 0}, {"Organ", 9, 1}})));
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(qe.doc.EmptyItems({1}, -1));
        EXPECT_EQ(qe.doc.programs[1].NameText(), "** (N/A) Empty **");
        EXPECT_EQ(qe.doc.programs[1].Size(), 0u);
        EXPECT_EQ(qe.doc.programs[1].resourceIndex, 1); // the place in the bank stays
    }
    EXPECT_EQ(qe.doc.programs[0].NameText(), "Piano");
}

TEST(PcgDocItems, ExtractWritesTheItemFileOfTheSeries)
{
    test::PcgTestDoc wq;
    ASSERT_TRUE(wq.open("a.pcg", test::WqPcgBuilder('9').image()));
    const auto wpf = wq.dir / "p.WPF";
    ASSERT_TRUE(wq.doc.ExtractItem(4, wpf));
    const auto bytes = test::readFileBytes(wpf);
    ASSERT_EQ(bytes.size(), 169u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), "DASK9");
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 5, bytes.end()), wq.doc.programs[4].data);
    wq.doc.shownList = 2;
    ASSERT_TRUE(wq.doc.ExtractItem(1, wq.dir / "k.WDK"));
    EXPECT_EQ(test::readFileBytes(wq.dir / "k.WDK").size(), 5u + 1484u);

    test::PcgTestDoc qe;
    ASSERT_TRUE(qe.open("q.pcg", test::qePcgImage({{"Piano", 9, 0}, {"Organ", 9, 2}})));
    const auto& organ = qe.doc.programs[2];
    ASSERT_TRUE(qe.doc.ExtractItem(2, qe.dir / "o.WPF"));
    const auto q = test::readFileBytes(qe.dir / "o.WPF");
    ASSERT_EQ(q.size(), 39u + organ.Size());
    EXPECT_EQ(std::string(q.begin(), q.begin() + 5), "DASKF");
    EXPECT_EQ(test::wordAt(q, 5), organ.Size());
    EXPECT_EQ(q[17], 9); // the bank
    EXPECT_EQ(std::string(q.begin() + 21, q.begin() + 39), std::string("Organ") + std::string(13, '\0'));
    EXPECT_EQ(std::vector<uint8_t>(q.begin() + 39, q.end()), organ.data);
    // An empty row writes the head and the header alone.
    ASSERT_TRUE(qe.doc.ExtractItem(1, qe.dir / "e.WPF"));
    EXPECT_EQ(test::readFileBytes(qe.dir / "e.WPF").size(), 39u);
}

TEST(PcgDocItems, ExtractIntoAMissingFolderReportsAndWritesNothing)
{
    test::PcgTestDoc t;
    ASSERT_TRUE(t.open("a.pcg", test::WqPcgBuilder('9').image()));
    EXPECT_FALSE(t.doc.ExtractItem(0, t.dir / "no" / "such" / "x.WPF"));
    ASSERT_EQ(t.notices.size(), 1u);
    EXPECT_EQ(t.notices[0].caption, "Extract Item");
    EXPECT_EQ(t.notices[0].message, 9);
    EXPECT_FALSE(std::filesystem::exists(t.dir / "no"));
}

TEST(PcgDocItems, ExtractAllNamesEveryItemWithDataOnce)
{
    test::PcgTestDoc t;
    ASSERT_TRUE(t.open("q.pcg", test::qePcgImage({{"A/B", 9, 0}, {"A/B", 9, 1}, {"C", 9, 3}})));
    const auto all = t.doc.ExtractAllNames();
    const std::vector<std::pair<int, std::string>> expected = {{0, "A_B.WPF"}, {1, "A_B_2.WPF"}, {3, "C.WPF"}};
    EXPECT_EQ(all, expected);
}

TEST(PcgDocItems, SavingWritesTheFileAgainInItsOwnFormat)
{
    for (int model : {'9', 'I'}) {
        test::WqPcgBuilder builder(model);
        builder.headByte(30, 0x77);
        const auto image = builder.image();
        test::PcgTestDoc t;
        ASSERT_TRUE(t.open(model == 'I' ? "a.prg" : "a.pcg", image));
        auto built = t.doc.BuildFileImage();
        ASSERT_TRUE(built);
        EXPECT_EQ(*built, image);
        // A layout needs exactly its programs.
        t.doc.DeleteItems({0}, -1);
        EXPECT_FALSE(t.doc.BuildFileImage());
        EXPECT_EQ(t.said().back(), "47");
    }

    test::PcgTestDoc qe;
    ASSERT_TRUE(qe.open("q.pcg", test::qePcgImage({{"Piano", 9, 0, 4, 1}, {"Choir", 9, 2, 4, 2}})));
    const auto saved = qe.doc.BuildFileImage();
    ASSERT_TRUE(saved);
    test::PcgTestDoc again;
    ASSERT_TRUE(again.open("again.pcg", *saved));
    ASSERT_EQ(again.doc.ProgramCount(), 3);
    EXPECT_EQ(again.doc.programs[0].NameText(), "Piano");
    EXPECT_EQ(again.doc.programs[1].Size(), 0u);
    EXPECT_EQ(again.doc.programs[2].NameText(), "Choir");
    EXPECT_EQ(again.doc.programs[2].data, qe.doc.programs[2].data);
    EXPECT_EQ(again.doc.firstBank, 9);

    // Nothing to save, or data that is no program, is refused.
    qe.doc.EmptyItems({0, 2}, -1);
    EXPECT_FALSE(qe.doc.BuildFileImage());
    EXPECT_EQ(qe.said().back(), "16");
    qe.doc.programs[1].data = {2, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(qe.doc.BuildFileImage());
    EXPECT_EQ(qe.said().back(), "47");
}

} // namespace
} // namespace zib
