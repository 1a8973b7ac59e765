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

    EXPECT_TRUE((t.select({}, -1), d.DeleteItems())); // nothing selected or focused: nothing happens
    EXPECT_EQ(d.ProgramCount(), 64);
    EXPECT_FALSE(d.modified);

    EXPECT_TRUE((t.select({3, 1, 99}, 0), d.DeleteItems())); // the focus does not count beside a selection
    ASSERT_EQ(d.ProgramCount(), 62);
    EXPECT_EQ(names(d.programs)[0], "Prog1");
    EXPECT_EQ(names(d.programs)[1], "Prog3");
    EXPECT_EQ(names(d.programs)[2], "Prog5");
    for (int i = 0; i < d.ProgramCount(); ++i)
        EXPECT_EQ(d.programs[size_t(i)].position, uint32_t(i));
    EXPECT_TRUE(d.modified);

    d.shownList = 2;
    EXPECT_TRUE((t.select({}, 0), d.DeleteItems()));
    EXPECT_EQ(names(d.drumKits), std::vector<std::string>{"Kit2"});
    EXPECT_EQ(d.drumKits[0].position, 0u);
    EXPECT_EQ(d.ProgramCount(), 62);
}

TEST(PcgDocItems, EmptyClearsRecordsAndNamesThemByListAndSeries)
{
    test::PcgTestDoc wq;
    ASSERT_TRUE(wq.open("a.prg", test::WqPcgBuilder('M').image()));
    EXPECT_TRUE((wq.select({2}, -1), wq.doc.EmptyItems()));
    EXPECT_EQ(wq.doc.programs[2].NameText(), "EMPTYPRG");
    EXPECT_EQ(wq.doc.programs[2].data, std::vector<uint8_t>(172, 0)); // the zeroed record keeps no name
    wq.doc.shownList = 2;
    EXPECT_TRUE((wq.select({}, 7), wq.doc.EmptyItems()));
    EXPECT_EQ(wq.doc.drumKits[7].NameText(), "EMPTYDRM");
    EXPECT_EQ(wq.doc.drumKits[7].data, std::vector<uint8_t>(1052, 0));
    EXPECT_EQ(wq.doc.drumKits[7].model, uint32_t('M'));
    EXPECT_EQ(wq.doc.DrumKitCount(), 8);
    EXPECT_TRUE(wq.doc.modified);

    test::PcgTestDoc qe;
    ASSERT_TRUE(qe.open("q.pcg", test::qePcgImage({{"Piano", 9, 0}, {"Organ", 9, 1}})));
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE((qe.select({1}, -1), qe.doc.EmptyItems()));
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
    const std::string wpf = (wq.dir / "p.WPF").string();
    wq.select({}, 4);
    wq.port.saveAnswers.push_back(wpf);
    wq.doc.OnEditExtract();
    ASSERT_EQ(wq.port.choices.size(), 1u);
    EXPECT_EQ(wq.port.choices[0].title, "Extract Item");
    EXPECT_EQ(wq.port.choices[0].filter, "WqProgram Files (*.WPF)|*.WPF||");
    EXPECT_EQ(wq.port.choices[0].defaultExt, "WPF");
    EXPECT_EQ(wq.port.choices[0].fileName, "Prog5");
    EXPECT_EQ(wq.port.choices[0].folder, wq.dir.path().string()); // the document's folder
    const auto bytes = test::readFileBytes(wpf);
    ASSERT_EQ(bytes.size(), 169u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), "DASK9");
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 5, bytes.end()), wq.doc.programs[4].data);
    wq.doc.shownList = 2;
    ASSERT_TRUE(wq.doc.ExtractItem(1, (wq.dir / "k.WDK").string()));
    EXPECT_EQ(test::readFileBytes(wq.dir / "k.WDK").size(), 5u + 1484u);

    test::PcgTestDoc qe;
    ASSERT_TRUE(qe.open("q.pcg", test::qePcgImage({{"Piano", 9, 0}, {"Organ", 9, 2}})));
    const auto& organ = qe.doc.programs[2];
    ASSERT_TRUE(qe.doc.ExtractItem(2, (qe.dir / "o.WPF").string()));
    const auto q = test::readFileBytes(qe.dir / "o.WPF");
    ASSERT_EQ(q.size(), 39u + organ.Size());
    EXPECT_EQ(std::string(q.begin(), q.begin() + 5), "DASKF");
    EXPECT_EQ(test::wordAt(q, 5), organ.Size());
    EXPECT_EQ(q[17], 9); // the bank
    EXPECT_EQ(std::string(q.begin() + 21, q.begin() + 39), std::string("Organ") + std::string(13, '\0'));
    EXPECT_EQ(std::vector<uint8_t>(q.begin() + 39, q.end()), organ.data);
    // An empty row writes the head and the header alone.
    ASSERT_TRUE(qe.doc.ExtractItem(1, (qe.dir / "e.WPF").string()));
    EXPECT_EQ(test::readFileBytes(qe.dir / "e.WPF").size(), 39u);
}

TEST(PcgDocItems, ExtractThenImportGivesTheSameItemFileBack)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> image;
        int list;
        size_t fileSize;
    };
    const Case cases[] = {
        {"a.pcg", test::WqPcgBuilder('9').image(), 1, 5 + 164},
        {"a.prg", test::WqPcgBuilder('I').image(), 1, 5 + 172},
        {"b.pcg", test::WqPcgBuilder('<').image(), 2, 5 + 1484},
        {"b.prg", test::WqPcgBuilder('M').image(), 2, 5 + 1052},
        {"q.pcg", test::qePcgImage({{"Piano", 9, 0}, {"Organ", 9, 2}}), 1, 0},
    };
    for (const Case& c : cases) {
        test::PcgTestDoc t;
        ASSERT_TRUE(t.open(c.name, c.image)) << c.name;
        t.doc.shownList = c.list;
        const std::string first = t.path("first.item"), again = t.path("again.item");
        const int row = t.doc.IsQe() ? 2 : 1;
        ASSERT_TRUE(t.doc.ExtractItem(row, first));
        const auto bytes = test::readFileBytes(first);
        if (c.fileSize) {
            EXPECT_EQ(bytes.size(), c.fileSize) << c.name;
        }
        const auto r = c.list == 1 ? t.doc.ImportPcgImage(bytes) : t.doc.ImportDrumKitImage(bytes);
        ASSERT_EQ(r, PcgItemResult::Added) << c.name;
        ASSERT_TRUE(t.doc.ExtractItem(int(t.doc.ShownItems().size()) - 1, again));
        EXPECT_EQ(test::readFileBytes(again), bytes) << c.name;
    }
}

TEST(PcgDocItems, ExtractRefusalsAndFailuresAreReported)
{
    test::PcgTestDoc t;
    ASSERT_TRUE(t.open("a.pcg", test::WqPcgBuilder('9').image()));
    t.doc.OnEditExtract(); // no focused row
    EXPECT_FALSE(t.doc.ExtractItem(0, (t.dir / "no" / "such" / "x.WPF").string()));
    ASSERT_EQ(t.port.messages.size(), 2u);
    EXPECT_EQ(t.said(), (std::vector<std::string>{"23", "9"}));
    EXPECT_EQ(t.captions(), (std::vector<std::string>{"OnEditExtract", "Extract Item"}));
    EXPECT_EQ(t.port.messages[0].icon, DocIcon::Exclamation);
    EXPECT_EQ(t.port.messages[1].icon, DocIcon::Stop);
    EXPECT_FALSE(std::filesystem::exists(t.dir / "no"));
    EXPECT_TRUE(t.port.choices.empty());
}

TEST(PcgDocItems, ExtractAllWritesEveryItemWithDataAndAsksBeforeOverwriting)
{
    test::PcgTestDoc t;
    ASSERT_TRUE(t.open("q.pcg", test::qePcgImage({{"A/B", 9, 0}, {"A/B", 9, 1}, {"C", 9, 3}, {"D", 9, 4}})));
    const auto out = t.dir / "out";
    std::filesystem::create_directory(out);
    writeFileAtomically(out / "C.WPF", std::string_view("old"));
    writeFileAtomically(out / "D.WPF", std::string_view("old"));
    t.port.folderAnswers.push_back(out.string());
    t.port.answers = {DocAnswer::No, DocAnswer::Yes}; // keep C, overwrite D
    t.doc.OnEditExtractAll();
    EXPECT_EQ(t.port.choices[0].title, "Select Destination Folder");
    EXPECT_EQ(t.port.questions, (std::vector<std::string>{"overwrite C.WPF", "overwrite D.WPF"}));
    // Two items of one name get a number instead of overwriting each other.
    EXPECT_EQ(test::readFileBytes(out / "A_B.WPF"), t.doc.ItemFileImage(0));
    EXPECT_EQ(test::readFileBytes(out / "A_B_2.WPF"), t.doc.ItemFileImage(1));
    EXPECT_EQ(test::readFileBytes(out / "C.WPF").size(), 3u);
    EXPECT_EQ(test::readFileBytes(out / "D.WPF"), t.doc.ItemFileImage(4));
    EXPECT_FALSE(std::filesystem::exists(out / "** (N_A) EMPTY __.WPF"));

    // Cancel ends the run; Yes To All stops asking.
    t.port.clear();
    t.port.folderAnswers.push_back(out.string());
    t.port.answers = {DocAnswer::Cancel};
    t.doc.OnEditExtractAll();
    EXPECT_EQ(t.port.questions.size(), 1u);
    t.port.clear();
    t.port.folderAnswers.push_back(out.string());
    t.port.answers = {DocAnswer::YesToAll};
    t.doc.OnEditExtractAll();
    EXPECT_EQ(t.port.questions.size(), 1u);
    EXPECT_EQ(test::readFileBytes(out / "C.WPF"), t.doc.ItemFileImage(3));
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
        // A shorter list is filled with emptied records at the end.
        (t.select({0}, -1), t.doc.DeleteItems());
        built = t.doc.BuildFileImage();
        ASSERT_TRUE(built);
        test::PcgTestDoc again;
        ASSERT_TRUE(again.open(model == 'I' ? "b.prg" : "b.pcg", *built));
        EXPECT_EQ(again.doc.programs[0].data, t.doc.programs[0].data);
        EXPECT_EQ(again.doc.programs.back().data, std::vector<uint8_t>(model == 'I' ? 172 : 164, 0));
        EXPECT_EQ(again.doc.head, t.doc.head);
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

    // Data that is no program is refused.
    qe.doc.programs[1].data = {2, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(qe.doc.BuildFileImage());
    EXPECT_EQ(qe.said().back(), "47");
}

TEST(PcgDocItems, SaveRefusesMoreItemsThanTheFileHoldsAndKeepsTheOldFile)
{
    test::PcgTestDoc t;
    ASSERT_TRUE(t.open("a.pcg", test::WqPcgBuilder('9').image()));
    const auto before = test::readFileBytes(t.dir / "a.pcg");
    for (int i = 0; i < 2; ++i)
        t.doc.programs.push_back(t.doc.programs[0]);
    EXPECT_FALSE(t.doc.SaveTo((t.dir / "a.pcg").string()));
    ASSERT_EQ(t.port.messages.size(), 1u);
    EXPECT_EQ(t.port.messages[0].what, "Cannot save: the list holds %d items, the file has room for %d");
    EXPECT_EQ(t.port.messages[0].args, (std::vector<std::string>{"66", "64"}));
    EXPECT_EQ(test::readFileBytes(t.dir / "a.pcg"), before);
}

TEST(PcgDocItems, NewDocumentsGetAHeadOfTheirOwnAndSaveAndReopen)
{
    test::PcgTestDoc t;
    t.doc.OnNewDocument(2);
    EXPECT_EQ(t.doc.ImportPcgImage(test::wqItemFile('I', test::wqProgramRecord('I', "Solo", 3))), PcgItemResult::Added);
    const std::string file = (t.dir / "new.prg").string();
    ASSERT_TRUE(t.doc.SaveTo(file));
    EXPECT_FALSE(t.doc.modified);
    const auto bytes = test::readFileBytes(file);
    ASSERT_EQ(bytes.size(), 30480u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), "DASKI");
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 5, bytes.begin() + 48), std::vector<uint8_t>(43, 0));
    test::PcgTestDoc again;
    ASSERT_TRUE(again.open("new.prg", bytes));
    EXPECT_EQ(again.doc.programs[0].NameText(), "Solo");
}

TEST(PcgDocItems, ClosingAModifiedDocumentAsksAndYesMeansSave)
{
    test::PcgTestDoc t;
    ASSERT_TRUE(t.open("a.pcg", test::WqPcgBuilder('9').image()));
    EXPECT_EQ(t.doc.SaveModified("a.pcg"), DocAnswer::No); // not modified: no question
    EXPECT_TRUE(t.port.questions.empty());
    t.doc.modified = true;
    for (DocAnswer a : {DocAnswer::Yes, DocAnswer::No, DocAnswer::Cancel}) {
        t.port.answers.push_back(a);
        EXPECT_EQ(t.doc.SaveModified("a.pcg"), a);
    }
    EXPECT_EQ(t.port.questions.back(), "Save changes to a.pcg");
}

} // namespace
} // namespace zib
