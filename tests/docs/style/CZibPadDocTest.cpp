#include "docs/style/core/CZibPadDoc.h"
#include "docs/style/core/ItemFile.h"
#include "docs/style/core/StyListModel.h"

#include "platform/FileIo.h"
#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using Pads = test::PadDocHarness;

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
    // Empty places do not make a Qe4k pad file a Qe9z one; they take its letter.
    EXPECT_EQ(gaps.doc.m_Model, uint32_t('F'));
    EXPECT_EQ(gaps.doc.m_PadItems[1].model, uint32_t('F'));
    EXPECT_TRUE(gaps.ui.saw(StyViewNotice::ColumnsRebuilt));
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

    // One Qe9z pad makes the file Qe9z, its empty places too.
    std::vector<test::DasfResource> mixed = {test::qeEntry("Nine", 9, 3, 2, padInstance("Nine", 1))};
    Pads nine;
    ASSERT_TRUE(nine.doc.OpenImage(test::dasfImage(mixed), "/x/Nine.pad"));
    EXPECT_EQ(nine.doc.m_Model, uint32_t('X'));
    EXPECT_EQ(nine.doc.m_PadItems[0].model, uint32_t('X'));
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
        {test::dasfImage({test::stsEntry("Sts", 0, 0)}), "/x/a.pad", {"File Format NOT supported"}},
        {test::dasfImage({test::qeEntry("Two", 9, 0, 0, padInstance("Two", 2))}), "/x/a.pad",
         {"File Format NOT supported"}},
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
    p.ui.select({1});
    p.doc.OnEditEmpty();
    EXPECT_EQ(p.doc.m_PadItems[1].NameText(), "** (N/A) Empty **");
    EXPECT_TRUE(p.ui.saw(StyViewNotice::CloseToolWindows));
    EXPECT_EQ(p.doc.m_PadItems[1].Size(), 0u);
    EXPECT_EQ(p.doc.m_PadItems[1].bank, 3);
    p.doc.m_PadItems[1].model = 'X';
    p.doc.OnEditEmpty(); // already empty: only the letter
    EXPECT_EQ(p.doc.m_PadItems[1].model, uint32_t('F'));
    EXPECT_EQ(p.doc.RenameLimit(1), 0);
    EXPECT_TRUE(p.doc.RenameItem(2, "Groove"));
    p.ui.select({2});
    ASSERT_TRUE(p.doc.MoveItem(-1));
    EXPECT_EQ(p.names(), (std::vector<std::string>{"Pad0", "Groove", "** (N/A) Empty **"}));
    EXPECT_EQ(p.ui.selected, (std::vector<int>{1}));
    EXPECT_EQ(p.ui.focused, 1);
    p.doc.SetBank(29);
    EXPECT_EQ(p.doc.m_PadItems[0].bank, 29);
    EXPECT_EQ(p.doc.m_PadItems[2].bank, 3); // no data: keeps its bank
    p.ui.selected.clear();
    p.ui.focused = 0;
    p.doc.OnEditDelete();
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
    nine.ui.focused = 0;
    nine.ui.saveFiles.push_back(dir / "Nine.zpf");
    nine.doc.OnEditExtract();
    ASSERT_EQ(nine.ui.fileDialogs.size(), 1u);
    EXPECT_EQ(nine.ui.fileDialogs[0].title, "Extract Item");
    EXPECT_EQ(nine.ui.fileDialogs[0].fileName, "Pad0");
    EXPECT_EQ(nine.ui.fileDialogs[0].filter, "Zib Pad Files (*.ZPF)|*.ZPF||");
    std::vector<uint8_t> file;
    ASSERT_EQ(readWholeFile(dir / "Nine.zpf", file), FileIoError::None);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 5), "DASKX");
    EXPECT_EQ(file[9], 1); // version
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data()) + 29), "Pad0");
    EXPECT_EQ(file.size(), 65 + nine.doc.m_PadItems[0].Size());

    // A Qe9z pad into a Qe4k file: refused; a Qe4k pad from a "DASKX" file: added as 'F'.
    Pads four;
    ASSERT_TRUE(four.doc.OpenImage(padFile({0}), "/x/four.pad"));
    const auto refused = four.doc.ImportItems({dir / "Nine.zpf"});
    EXPECT_TRUE(refused.failed);
    EXPECT_EQ(four.texts(), (std::vector<std::string>{"Cannot import Qe9z style into Qe4k STY file"}));
    file[9] = 0;
    test::writeFile(dir / "Four.ZPF", file);
    four.ui.openFiles.push_back({dir / "Four.ZPF"});
    four.doc.ImportItem();
    EXPECT_EQ(four.ui.fileDialogs.back().title, "Import Pads");
    ASSERT_EQ(four.doc.PadCount(), 2);
    EXPECT_EQ(four.doc.m_PadItems[1].model, uint32_t('F'));
    EXPECT_EQ(four.doc.m_PadItems[1].bank, 3);
    EXPECT_EQ(four.doc.m_PadItems[1].resourceIndex, 1);

    // The header word at 16 of a Qe9z keyboard skips the file.
    file[5 + 16] = 1;
    test::writeFile(dir / "Skip.zpf", file);
    const auto skipped = four.doc.ImportItems({dir / "Skip.zpf", dir / "Four.ZPF"});
    EXPECT_EQ(skipped.imported, 1);
    EXPECT_FALSE(skipped.failed);

    // 31 pads and three files: one is added, then the limit of 32.
    while (four.doc.PadCount() < 31)
        four.doc.m_PadItems.push_back(four.doc.m_PadItems[0]);
    four.texts();
    const std::filesystem::path f = dir / "Four.ZPF";
    EXPECT_EQ(four.doc.ImportItems({f, f, f}).imported, 1);
    EXPECT_EQ(four.texts(), (std::vector<std::string>{"Insertion stopped - LIMIT reached!"}));

    Pads other;
    ASSERT_TRUE(other.doc.OpenImage(padFile({0}), "/x/o.pad"));
    EXPECT_TRUE(other.doc.ImportItems({dir / "x.wsf"}).failed);
    EXPECT_EQ(other.texts(), (std::vector<std::string>{"Error: Not ZPF file type: WSF"}));
}

// A new pad file starts without pads and without a model; an imported pad
// gives it its letter and bank 20, a pasted block is taken as from any pad
// file, and the file written then opens with both pads.
TEST(CZibPadDoc, ANewPadFileFillsByImportAndPasteAndIsWritten)
{
    test::TempDir dir;
    Pads source;
    ASSERT_TRUE(source.doc.OpenImage(padFile({0, 1}), "/x/source.pad"));
    test::writeFile(dir / "Pad0.ZPF", PadItemFileBytes(source.doc.m_Model, source.doc.m_PadItems[0]));

    Pads fresh;
    fresh.doc.NewDocument();
    EXPECT_EQ(fresh.doc.m_FileKind, 5u);
    EXPECT_EQ(fresh.doc.m_Model, uint32_t(' '));
    EXPECT_EQ(fresh.doc.PadCount(), 0);
    EXPECT_TRUE(fresh.ui.saw(StyViewNotice::ColumnsRebuilt));
    // Nothing to write yet: said so, and no image.
    EXPECT_TRUE(fresh.doc.BuildFileImage().empty());
    EXPECT_EQ(fresh.texts().size(), 1u);

    // The file's letter ("DASKX") is the document's.
    EXPECT_EQ(fresh.doc.ImportItems({dir / "Pad0.ZPF"}).imported, 1);
    EXPECT_EQ(fresh.doc.m_Model, uint32_t('X'));
    EXPECT_EQ(fresh.doc.m_FirstBank, 20);
    fresh.ui.clipboard = source.doc.CopyBlock(std::vector<int>{1}, -1)->Bytes();
    fresh.doc.OnEditPaste();
    EXPECT_EQ(fresh.names(), (std::vector<std::string>{"Pad0", "Pad1"}));
    EXPECT_TRUE(fresh.texts().empty());

    Pads reopened;
    ASSERT_TRUE(reopened.doc.OpenImage(fresh.doc.BuildFileImage(), "/x/new.pad"));
    EXPECT_EQ(reopened.names(), (std::vector<std::string>{"Pad0", "Pad1"}));
    EXPECT_EQ(PadCellText(reopened.doc, 1, 1, 0), "21 / 1");
}

TEST(CZibPadDoc, PadBlocks)
{
    Pads four;
    ASSERT_TRUE(four.doc.OpenImage(padFile({0, 1}), "/x/four.pad"));
    const auto fourBlock = four.doc.CopyBlock(std::vector<int>{0}, -1);
    ASSERT_TRUE(fourBlock);
    EXPECT_EQ(fourBlock->model, 'F');
    EXPECT_EQ(fourBlock->fileKind, 5u);
    EXPECT_EQ(fourBlock->selector, 1u);
    EXPECT_EQ(fourBlock->contentCode, StyClipboardBlock::kPads);

    // Qe4k pads paste and drop between Qe4k pad files.
    four.ui.clipboard = fourBlock->Bytes();
    four.doc.OnEditPaste();
    ASSERT_EQ(four.doc.PadCount(), 3);
    EXPECT_EQ(four.doc.m_PadItems[2].model, uint32_t('F'));
    EXPECT_EQ(four.ui.selected, (std::vector<int>{2}));
    EXPECT_EQ(four.doc.DropBlock(*fourBlock, 0, false, false, {}).rows, (std::vector<int>{0}));
    EXPECT_TRUE(four.ui.messages.empty());

    // A Qe9z pad does not go into a Qe4k file; the paste goes on with the next pad.
    Pads nine;
    ASSERT_TRUE(nine.doc.OpenImage(padFile({0, 2}, 1), "/x/nine.pad"));
    nine.ui.select({0});
    nine.doc.OnEditCopy();
    ASSERT_TRUE(nine.ui.clipboard);
    auto nineBlock = StyClipboardBlock::Read(*nine.ui.clipboard);
    ASSERT_TRUE(nineBlock);
    EXPECT_EQ(nineBlock->model, 'X');
    nineBlock->parts.push_back(fourBlock->parts[0]);
    four.ui.clipboard = nineBlock->Bytes();
    const int before = four.doc.PadCount();
    four.doc.OnEditPaste();
    EXPECT_EQ(four.texts(), (std::vector<std::string>{"Cannot import Qe9z style into Qe4k STY file"}));
    EXPECT_EQ(four.ui.messages.size(), 0u);
    ASSERT_EQ(four.doc.PadCount(), before + 1);
    EXPECT_EQ(four.doc.m_PadItems.back().model, uint32_t('F'));

    // Into a Qe9z file a Qe4k pad keeps 'F' and a Qe9z pad 'X'.
    nine.ui.clipboard = nineBlock->Bytes();
    nine.doc.OnEditPaste();
    ASSERT_EQ(nine.doc.PadCount(), 5);
    EXPECT_EQ(nine.doc.m_PadItems[3].model, uint32_t('X'));
    EXPECT_EQ(nine.doc.m_PadItems[4].model, uint32_t('F'));
    EXPECT_EQ(nine.doc.m_PadItems[3].kind, 9u);
    EXPECT_EQ(nine.doc.m_PadItems[3].bank, 3);
}

TEST(CZibPadDoc, PastesRefuseWhatDoesNotFit)
{
    Pads four;
    ASSERT_TRUE(four.doc.OpenImage(padFile({0}), "/x/four.pad"));
    const StyClipboardBlock good = *four.doc.CopyBlock(std::vector<int>{0}, -1);
    struct Case {
        const char* what;
        std::function<void(StyClipboardBlock&)> change;
        const char* text;
    } cases[] = {
        {"style items", [](StyClipboardBlock& b) { b.contentCode = StyClipboardBlock::kQeStyles; },
         "Wrong clipboard data type"},
        {"other kind", [](StyClipboardBlock& b) { b.fileKind = 2; }, "Wrong clipboard data type"},
        {"Wq letter", [](StyClipboardBlock& b) { b.model = '9'; }, "Wrong clipboard data size"},
        {"short part", [](StyClipboardBlock& b) { b.parts[0].resize(70); }, "Wrong clipboard data size"},
        {"header size past the part",
         [](StyClipboardBlock& b) { b.parts.push_back(std::vector<uint8_t>(60, 0xFF)); },
         "Wrong clipboard data size"},
    };
    for (const auto& c : cases) {
        StyClipboardBlock block = good;
        c.change(block);
        four.ui.clipboard = block.Bytes();
        four.doc.OnEditPaste();
        EXPECT_EQ(four.texts(), (std::vector<std::string>{c.text})) << c.what;
        EXPECT_EQ(four.doc.PadCount(), 1) << c.what;
    }
    // A count beyond the head's 138 slots.
    std::vector<uint8_t> bytes = good.Bytes();
    bytes[13] = 139;
    four.ui.clipboard = bytes;
    four.doc.OnEditPaste();
    EXPECT_EQ(four.texts(), (std::vector<std::string>{"Wrong clipboard data size"}));
    // A drop of another kind is ignored without a message.
    StyClipboardBlock styles = good;
    styles.fileKind = 2;
    EXPECT_TRUE(four.doc.DropBlock(styles, -1, false, false, {}).rows.empty());
    EXPECT_TRUE(four.ui.messages.empty());
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
    StyDocSettings perCv;
    perCv.styToMidiType = 1;
    std::vector<std::filesystem::path> lastFolders;
    perCv.setLastOpenedDirectory = [&lastFolders](const std::filesystem::path& f) { lastFolders.push_back(f); };
    p.doc.SetSettings(perCv);
    p.ui.select({0, 1});
    p.ui.folders.push_back(dir.path());
    EXPECT_EQ(p.doc.OnUtilPadToMidi(), 2);
    EXPECT_EQ(p.ui.folderDialogs, (std::vector<std::string>{"Select Destination Folder"}));
    EXPECT_EQ(p.texts(), (std::vector<std::string>{"Successfully converted 2 pads of 2 selected"}));
    EXPECT_EQ(p.ui.messages.size(), 0u);
    for (const char* name : {"Four_V11.mid", "Four_I11.mid", "Nine_V11.mid", "Nine_F31.mid", "Nine_I31.mid"})
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(dir / "Four_F31.mid"));
    EXPECT_EQ(p.doc.m_Folder, dir.path());
    EXPECT_EQ(lastFolders.back(), dir.path());
    EXPECT_EQ(p.ui.maxWaitDepth, 1);
    EXPECT_EQ(p.ui.waitDepth, 0);

    // One collected file per pad, its log and temporary files in the chosen folder.
    p.doc.SetSettings({});
    EXPECT_EQ(p.doc.PadsToMidi(std::vector<int>{0}, dir.path()), 1);
    EXPECT_TRUE(std::filesystem::exists(dir / "Four_QECOLLECT.MID"));
    EXPECT_TRUE(std::filesystem::exists(dir / "CollectQeCVMidi.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Four_tmp_V11.mid"));
    EXPECT_TRUE(p.ui.overwriteQuestions.empty());

    // An existing collected file is asked about: No skips the pad, Cancel ends the run.
    p.texts();
    p.ui.overwriteAnswers = {StyAnswer::No};
    EXPECT_EQ(p.doc.PadsToMidi(std::vector<int>{0}, dir.path()), 0);
    EXPECT_EQ(p.ui.overwriteQuestions, (std::vector<std::filesystem::path>{dir / "Four_QECOLLECT.MID"}));
    p.ui.overwriteAnswers = {StyAnswer::Cancel};
    EXPECT_EQ(p.doc.PadsToMidi(std::vector<int>{0, 1}, dir.path()), 0);
    EXPECT_EQ(p.texts(), (std::vector<std::string>{"Successfully converted 0 pads of 1 selected",
                                                   "Successfully converted 0 pads of 2 selected"}));
    p.ui.overwriteAnswers = {StyAnswer::YesToAll};
    EXPECT_EQ(p.doc.PadsToMidi(std::vector<int>{0, 1}, dir.path()), 2);
    EXPECT_EQ(p.ui.overwriteQuestions.size(), 3u); // Yes To All asks no more

    // Nothing selected: zero of zero after the folder choice.
    p.ui.selected.clear();
    p.ui.folders.push_back(dir.path());
    EXPECT_EQ(p.doc.OnUtilPadToMidi(), 0);
    EXPECT_EQ(p.ui.lastText(), "Successfully converted 0 pads of 0 selected");
}

TEST(CZibPadDoc, PadToMidiCountsOnlyWhatWasWritten)
{
    test::TempDir dir;
    Pads p;
    ASSERT_TRUE(p.doc.OpenImage(test::dasfImage({test::qeEntry("Four", 9, 3, 0, padInstance("Four", 0, {0, 4}))}),
                                "/x/a.pad"));
    StyDocSettings perCv;
    perCv.styToMidiType = 1;
    p.doc.SetSettings(perCv);
    // The second chord variation's file cannot be written: a folder stands in its way.
    std::filesystem::create_directory(dir / "Four_I11.mid");
    EXPECT_EQ(p.doc.PadsToMidi(std::vector<int>{0}, dir.path()), 0);
    EXPECT_EQ(p.ui.lastText(), "Successfully converted 0 pads of 1 selected");
}

} // namespace
} // namespace zib
