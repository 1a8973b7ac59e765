#include "docs/style/core/CZibPadDoc.h"
#include "docs/style/core/ItemFile.h"
#include "docs/style/core/StyListModel.h"

#include "platform/FileIo.h"
#include "tests/docs/style/StyleDocFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

struct Pads {
    CZibPadDoc doc;
    std::vector<StyNotice> notices;
    Pads() { doc.SetNoticeSink([this](const StyNotice& n) { notices.push_back(n); }); }
    std::vector<std::string> texts()
    {
        std::vector<std::string> out;
        for (const auto& n : notices)
            out.push_back(n.English());
        notices.clear();
        return out;
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto& i : doc.m_PadItems)
            out.push_back(i.NameText());
        return out;
    }
};

std::vector<uint8_t> padInstance(const std::string& name, uint8_t version = 0, std::vector<int> elements = {0})
{
    return test::qeStyleInstance({name, version, elements, 0, true});
}

// A pad file with pads at the given positions of bank 3.
std::vector<uint8_t> padFile(std::vector<uint8_t> positions, uint8_t version = 0)
{
    std::vector<test::DasfResource> resources;
    for (uint8_t p : positions)
        resources.push_back(test::qeEntry("Pad" + std::to_string(p), 9, 3, p, padInstance("Pad", version)));
    return test::dasfImage(resources);
}

TEST(CZibPadDoc, OpensPadFilesWithTheirGaps)
{
    Pads gaps;
    ASSERT_TRUE(gaps.doc.OpenImage(padFile({0, 2, 5}), "/x/My.PAD"));
    EXPECT_EQ(gaps.names(), (std::vector<std::string>{"Pad0", "** (N/A) EMPTY **", "Pad2", "** (N/A) EMPTY **",
                                                      "** (N/A) EMPTY **", "Pad5"}));
    EXPECT_EQ(gaps.doc.m_Model, uint32_t('X')); // the placeholders carry 'X'
    EXPECT_EQ(gaps.doc.m_FileKind, 5u);
    EXPECT_EQ(gaps.doc.m_FirstBank, 3);
    const CQePadItem& empty = gaps.doc.m_PadItems[1];
    EXPECT_EQ(empty.bank, 20);
    EXPECT_EQ(empty.version, 1u);
    EXPECT_EQ(empty.resourceIndex, -1);
    const CQePadItem& pad = gaps.doc.m_PadItems[5];
    EXPECT_EQ(pad.kind, 9u);
    EXPECT_EQ(pad.model, uint32_t('F'));
    EXPECT_EQ(pad.resourceIndex, 2);
    EXPECT_EQ(pad.bankPosition, 5);
    EXPECT_EQ(PadCellText(gaps.doc, 5, 1, 0), "4 / 5");
    EXPECT_EQ(PadCellText(gaps.doc, 5, 4, 0), "4/4");
    EXPECT_EQ(PadRowImage(gaps.doc, 1), 1);

    std::vector<uint8_t> sixteen(16);
    for (uint8_t p = 0; p < 16; ++p)
        sixteen[p] = p;
    Pads full;
    ASSERT_TRUE(full.doc.OpenImage(padFile(sixteen), "/x/Full.pad"));
    EXPECT_EQ(full.doc.m_Model, uint32_t('F'));
    sixteen.push_back(16);
    Pads more;
    ASSERT_TRUE(more.doc.OpenImage(padFile(sixteen), "/x/More.pad"));
    EXPECT_EQ(more.doc.m_Model, uint32_t('X'));
}

TEST(CZibPadDoc, RefusesWhatIsNoPadFile)
{
    struct Case {
        std::vector<uint8_t> image;
        std::string path;
        std::vector<std::string> texts;
    } cases[] = {
        {padFile({0}), "/x/a.sty", {}},
        {{}, "/x/a.pad", {"File possibly corrupted - empty file"}},
        {{'D', 'A', 'S', 'K', 'F'}, "/x/a.pad", {"Not DASK or not supported file format!"}},
        {test::dasfImage({test::stsEntry("Sts", 0, 0)}), "/x/a.pad", {}},
    };
    for (const auto& c : cases) {
        Pads p;
        EXPECT_FALSE(p.doc.OpenImage(c.image, c.path)) << c.path;
        EXPECT_EQ(p.texts(), c.texts) << c.path;
        EXPECT_EQ(p.doc.PadCount(), 0);
    }
}

TEST(CZibPadDoc, DeleteEmptyMoveRenameAndBanks)
{
    Pads p;
    ASSERT_TRUE(p.doc.OpenImage(padFile({0, 1, 2}), "/x/a.pad"));
    ASSERT_EQ(p.doc.m_Model, uint32_t('F'));
    ASSERT_EQ(p.doc.OnEditEmpty(std::vector<int>{1}, -1), 1);
    EXPECT_EQ(p.doc.m_PadItems[1].NameText(), "** (N/A) Empty **");
    EXPECT_EQ(p.doc.m_PadItems[1].Size(), 0u);
    EXPECT_EQ(p.doc.m_PadItems[1].bank, 3);
    p.doc.m_PadItems[1].model = 'X';
    ASSERT_EQ(p.doc.OnEditEmpty(std::vector<int>{1}, -1), 1); // already empty: only the letter
    EXPECT_EQ(p.doc.m_PadItems[1].model, uint32_t('F'));
    EXPECT_EQ(p.doc.RenameLimit(1), 0);
    EXPECT_TRUE(p.doc.RenameItem(2, "Groove"));
    ASSERT_TRUE(p.doc.MoveItem(-1, 2));
    EXPECT_EQ(p.names(), (std::vector<std::string>{"Pad0", "Groove", "** (N/A) Empty **"}));
    p.doc.SetBank(29);
    EXPECT_EQ(p.doc.m_PadItems[0].bank, 29);
    EXPECT_EQ(p.doc.m_PadItems[2].bank, 3); // no data: keeps its bank
    ASSERT_EQ(p.doc.OnEditDelete({}, 0), 1);
    EXPECT_EQ(p.names(), (std::vector<std::string>{"Groove", "** (N/A) Empty **"}));
    EXPECT_EQ(p.doc.m_PadItems[1].position, 1u);
    EXPECT_TRUE(p.doc.IsModified());
}

TEST(CZibPadDoc, PadItemFiles)
{
    test::TempDir dir;
    Pads nine;
    ASSERT_TRUE(nine.doc.OpenImage(padFile({0}, 1), "/x/nine.pad"));
    ASSERT_EQ(nine.doc.m_PadItems[0].version, 1u);
    ASSERT_EQ(nine.doc.WriteItemFile(0, dir / "Nine.zpf"), 1);
    std::vector<uint8_t> file;
    ASSERT_EQ(readWholeFile(dir / "Nine.zpf", file), FileIoError::None);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 5), "DASKX");
    EXPECT_EQ(file[9], 1); // version
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data()) + 29), "Pad0");
    EXPECT_EQ(file.size(), 65 + nine.doc.m_PadItems[0].Size());

    // A Qe9z pad into a Qe4k file: refused; a Qe4k pad from a "DASKX" file: added as 'F'.
    Pads four;
    ASSERT_TRUE(four.doc.OpenImage(padFile({0}), "/x/four.pad"));
    const auto refused = four.doc.ImportItems({(dir / "Nine.zpf").string()});
    EXPECT_TRUE(refused.failed);
    EXPECT_EQ(four.texts(), (std::vector<std::string>{"Cannot import Qe9z style into Qe4k STY file"}));
    file[9] = 0;
    test::writeFile(dir / "Four.ZPF", file);
    EXPECT_EQ(four.doc.ImportItems({(dir / "Four.ZPF").string()}).imported, 1);
    ASSERT_EQ(four.doc.PadCount(), 2);
    EXPECT_EQ(four.doc.m_PadItems[1].model, uint32_t('F'));
    EXPECT_EQ(four.doc.m_PadItems[1].bank, 3);
    EXPECT_EQ(four.doc.m_PadItems[1].resourceIndex, 1);

    // The header word at 16 of a Qe9z keyboard skips the file.
    file[5 + 16] = 1;
    test::writeFile(dir / "Skip.zpf", file);
    const auto skipped = four.doc.ImportItems({(dir / "Skip.zpf").string(), (dir / "Four.ZPF").string()});
    EXPECT_EQ(skipped.imported, 1);
    EXPECT_FALSE(skipped.failed);

    // 63 pads and three files: one is added, then the limit.
    while (four.doc.PadCount() < 63)
        four.doc.m_PadItems.push_back(four.doc.m_PadItems[0]);
    four.texts();
    const std::string f = (dir / "Four.ZPF").string();
    EXPECT_EQ(four.doc.ImportItems({f, f, f}).imported, 1);
    EXPECT_EQ(four.texts(), (std::vector<std::string>{"Insertion stopped - LIMIT reached!"}));

    Pads other;
    ASSERT_TRUE(other.doc.OpenImage(padFile({0}), "/x/o.pad"));
    EXPECT_TRUE(other.doc.ImportItems({(dir / "x.wsf").string()}).failed);
    EXPECT_EQ(other.texts(), (std::vector<std::string>{"Error: Not ZPF file type: WSF"}));
}

TEST(CZibPadDoc, PadBlocks)
{
    Pads four;
    ASSERT_TRUE(four.doc.OpenImage(padFile({0, 1}), "/x/four.pad"));
    const auto fourBlock = four.doc.CopyBlock(std::vector<int>{0});
    ASSERT_TRUE(fourBlock);
    EXPECT_EQ(fourBlock->model, 'F');
    EXPECT_EQ(fourBlock->fileKind, 5u);
    EXPECT_EQ(fourBlock->contentCode, StyClipboardBlock::kPads);
    // A block from a Qe4k document is refused.
    EXPECT_TRUE(four.doc.OnEditPaste(*fourBlock).rows.empty());
    EXPECT_EQ(four.texts(), (std::vector<std::string>{"Wrong clipboard data size"}));
    EXPECT_TRUE(four.doc.DropBlock(*fourBlock, -1, false, false, {}).rows.empty());
    EXPECT_TRUE(four.notices.empty());

    // A Qe9z pad pasted into a Qe4k document is added as 'X'.
    Pads nine;
    ASSERT_TRUE(nine.doc.OpenImage(padFile({0, 2}, 1), "/x/nine.pad"));
    const auto nineBlock = nine.doc.CopyBlock(std::vector<int>{0});
    ASSERT_TRUE(nineBlock);
    EXPECT_EQ(nineBlock->model, 'X');
    const auto pasted = four.doc.OnEditPaste(*nineBlock);
    ASSERT_EQ(pasted.rows, (std::vector<int>{2}));
    EXPECT_EQ(four.doc.m_PadItems[2].model, uint32_t('X'));
    EXPECT_EQ(four.doc.m_PadItems[2].NameText(), "Pad0");
    EXPECT_EQ(four.doc.m_PadItems[2].kind, 9u);

    StyClipboardBlock styles = *nineBlock;
    styles.contentCode = StyClipboardBlock::kQeStyles;
    EXPECT_TRUE(four.doc.OnEditPaste(styles).rows.empty());
    EXPECT_EQ(four.texts(), (std::vector<std::string>{"Wrong clipboard data type"}));

    // A drop onto row 0 from another window.
    const auto dropped = four.doc.DropBlock(*nineBlock, 0, false, false, {});
    EXPECT_EQ(dropped.rows, (std::vector<int>{0}));
    EXPECT_EQ(four.doc.m_PadItems[0].model, uint32_t('X'));
    EXPECT_EQ(four.doc.m_PadItems[0].position, 0u);
}

TEST(CZibPadDoc, SavedPadFilesOpenAgain)
{
    Pads p;
    ASSERT_TRUE(p.doc.OpenImage(padFile({0, 3}), "/x/a.pad"));
    ASSERT_TRUE(p.doc.RenameItem(3, "Last"));
    const std::vector<uint8_t> image = p.doc.BuildFileImage();
    ASSERT_FALSE(image.empty());
    Pads again;
    ASSERT_TRUE(again.doc.OpenImage(image, "/x/a.pad"));
    EXPECT_EQ(again.names(), (std::vector<std::string>{"Pad0", "** (N/A) EMPTY **", "** (N/A) EMPTY **", "Last"}));
    EXPECT_EQ(again.doc.m_PadItems[3].data, p.doc.m_PadItems[3].data);
}

TEST(CZibPadDoc, PadToMidiWritesTheChordVariations)
{
    test::TempDir dir;
    Pads p;
    std::vector<test::DasfResource> resources = {
        test::qeEntry("Four", 9, 3, 0, padInstance("Four", 0, {0, 4})),
        test::qeEntry("Nine", 9, 3, 1, padInstance("Nine", 1, {0, 10, 11})),
    };
    ASSERT_TRUE(p.doc.OpenImage(test::dasfImage(resources), "/x/a.pad"));
    CZibPadDoc::PadToMidiSettings perCv;
    perCv.styToMidiType = 1;
    EXPECT_EQ(p.doc.OnUtilPadToMidi(std::vector<int>{0, 1}, dir.path(), perCv, {}), 2);
    EXPECT_EQ(p.texts(), (std::vector<std::string>{"Successfully converted 2 pads of 2 selected"}));
    for (const char* name : {"Four_V11.mid", "Four_I11.mid", "Nine_V11.mid", "Nine_F31.mid", "Nine_I31.mid"})
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(dir / "Four_F31.mid"));

    // One collected file per pad; an existing one is asked about.
    CZibPadDoc::PadToMidiSettings collected;
    std::vector<std::string> asked;
    auto answer = [&asked](const std::filesystem::path& file) {
        asked.push_back(file.filename().string());
        return CZibPadDoc::OverwriteAnswer::No;
    };
    EXPECT_EQ(p.doc.OnUtilPadToMidi(std::vector<int>{0}, dir.path(), collected, answer), 1);
    EXPECT_TRUE(std::filesystem::exists(dir / "Four_QECOLLECT.MID"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Four_tmp_V11.mid")); // temporary files go
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(p.doc.OnUtilPadToMidi(std::vector<int>{0}, dir.path(), collected, answer), 0);
    EXPECT_EQ(asked, (std::vector<std::string>{"Four_QECOLLECT.MID"}));
    EXPECT_EQ(p.doc.m_Folder, dir.path().string());
}

} // namespace
} // namespace zib
