#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/StyClipboardBlock.h"

#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/QeStyleBuilder.h"
#include "tests/support/StyFileBuilder.h"

#include <gtest/gtest.h>

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace sty_clipboard_test {

using Doc = test::StyDocHarness;

std::vector<uint8_t> qeFile(uint8_t version = 0, int styles = 2)
{
    std::vector<test::DasfResource> resources;
    for (int i = 0; i < styles; ++i) {
        const std::string name = "Qe" + std::to_string(i);
        resources.push_back(test::qeEntry(name, 2, 2, uint8_t(i), test::qeStyleInstance({name, version})));
        resources.push_back(test::stsEntry(name + "Sts", 2, uint8_t(i), 0, uint8_t(i)));
    }
    return test::dasfImage(resources);
}

std::vector<uint8_t> wqFile(char model, int items)
{
    return test::smallWqStyleFile(model, items, "Wq");
}

TEST(StyClipboardBlock, HeadAndPartsRoundTrip)
{
    StyClipboardBlock block;
    block.model = 'X';
    block.fileKind = 2;
    block.selector = 1;
    block.contentCode = StyClipboardBlock::kQeStyles;
    block.parts = {{1, 2, 3}, {4}};
    const std::vector<uint8_t> bytes = block.Bytes();
    ASSERT_EQ(bytes.size(), 584u + 4u);
    EXPECT_EQ(bytes[0], 'X');
    EXPECT_EQ(bytes[1], 2);
    EXPECT_EQ(bytes[5], 1);
    EXPECT_EQ(bytes[13], 2);
    EXPECT_EQ(bytes[17], 1);
    EXPECT_EQ(bytes[32], 3);
    EXPECT_EQ(bytes[36], 1);
    EXPECT_EQ(bytes[40], 0);
    EXPECT_EQ(bytes[584], 1);
    const auto back = StyClipboardBlock::Read(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->parts, block.parts);
    EXPECT_EQ(back->contentCode, 1);

    // Damaged blocks are not read.
    std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 1);
    EXPECT_FALSE(StyClipboardBlock::Read(cut));
    std::vector<uint8_t> many = bytes;
    many[13] = 139;
    EXPECT_FALSE(StyClipboardBlock::Read(many));
    EXPECT_FALSE(StyClipboardBlock::Read(std::vector<uint8_t>(100)));
    block.parts.resize(139);
    EXPECT_TRUE(block.Bytes().empty());
}

TEST(StyClipboard, CopyAndPasteBetweenQeDocuments)
{
    Doc four;
    ASSERT_TRUE(four.doc.OpenImage(qeFile(0), "/x/a.sty"));
    const auto block = four.doc.CopyBlock(std::vector<int>{1, 0}, -1);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->contentCode, StyClipboardBlock::kQeStyles);
    EXPECT_EQ(block->selector, 1u);
    ASSERT_EQ(block->Count(), 2u);
    const auto part = StyClipboardBlock::ReadQePart(block->parts[0]);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->header.styleSize, four.doc.m_StyItems[0].Size());
    EXPECT_EQ(block->parts[0].size(), 60 + four.doc.m_StyItems[0].Size() + four.doc.m_StsItems[0].Size());

    // Into a Qe9z document: added as they are, with their STS items.
    Doc nine;
    ASSERT_TRUE(nine.doc.OpenImage(qeFile(1, 1), "/x/b.sty"));
    ASSERT_TRUE(nine.doc.AcceptsPaste(*block));
    const auto pasted = nine.doc.PasteBlock(*block, "OnEditPaste");
    EXPECT_EQ(pasted.rows, (std::vector<int>{1, 2}));
    EXPECT_EQ(nine.names(), (std::vector<std::string>{"Qe0", "Qe0", "Qe1"}));
    EXPECT_EQ(nine.doc.m_StyItems[1].model, uint32_t('F'));
    EXPECT_EQ(nine.doc.m_StyItems[1].bank, 2);
    EXPECT_EQ(nine.doc.m_StsItems[2].NameText(), "Qe1Sts");
    EXPECT_EQ(nine.doc.m_StsItems[2].release, 1u);
    EXPECT_EQ(nine.doc.m_StsItems[2].data, four.doc.m_StsItems[1].data);
    EXPECT_TRUE(nine.doc.IsModified());

    // Qe9z items into the Qe4k document are converted.
    const auto nineBlock = nine.doc.CopyBlock(std::vector<int>{0}, -1);
    ASSERT_TRUE(nineBlock);
    const auto converted = four.doc.PasteBlock(*nineBlock, "OnEditPaste");
    ASSERT_EQ(converted.rows, (std::vector<int>{2}));
    EXPECT_EQ(four.doc.m_StyItems[2].model, uint32_t('F'));
    EXPECT_EQ(four.doc.m_StyItems[2].version, 0u);
    EXPECT_EQ(four.doc.StsCount(), 3);
    EXPECT_TRUE(four.notices.empty());
}

TEST(StyClipboard, PasteRulesOfKindSeriesAndViewMode)
{
    Doc wq;
    ASSERT_TRUE(wq.doc.OpenImage(wqFile('9', 1), "/x/w.sty"));
    Doc qe;
    ASSERT_TRUE(qe.doc.OpenImage(qeFile(), "/x/q.sty"));
    const auto qeBlock = qe.doc.CopyBlock(std::vector<int>{0}, -1);
    const auto wqBlock = wq.doc.CopyBlock(std::vector<int>{0}, -1);
    ASSERT_TRUE(qeBlock && wqBlock);
    EXPECT_EQ(wqBlock->contentCode, 0);
    EXPECT_FALSE(wq.doc.AcceptsPaste(*qeBlock));
    EXPECT_FALSE(wq.doc.AcceptsDrop(*qeBlock));
    EXPECT_TRUE(qe.doc.AcceptsPaste(*wqBlock));
    StyClipboardBlock otherKind = *qeBlock;
    otherKind.fileKind = 5;
    EXPECT_FALSE(qe.doc.AcceptsPaste(otherKind));
    qe.doc.ToggleViewMode();
    EXPECT_FALSE(qe.doc.AcceptsDrop(*wqBlock));
    qe.doc.ToggleViewMode();

    // A Wq block pasted into a Qe document is converted; it gets an empty STS item.
    const auto pasted = qe.doc.PasteBlock(*wqBlock, "OnEditPaste");
    ASSERT_EQ(pasted.rows, (std::vector<int>{2}));
    EXPECT_EQ(qe.doc.m_StyItems[2].NameText(), "Wq0");
    EXPECT_EQ(qe.doc.m_StyItems[2].model, uint32_t('F'));
    EXPECT_EQ(qe.doc.StsCount(), 3);
    EXPECT_EQ(qe.doc.m_StsItems[2].Size(), 0u);

    // Into a new document: it takes the block's model.
    CZibStyDoc fresh;
    fresh.NewDocument();
    ASSERT_TRUE(fresh.AcceptsPaste(*qeBlock));
    EXPECT_EQ(fresh.PasteBlock(*qeBlock, "OnEditPaste").rows.size(), 1u);
    EXPECT_EQ(fresh.m_Model, uint32_t('F'));
    EXPECT_EQ(fresh.StsCount(), 1);

    // A Wq part of a wrong size
    StyClipboardBlock small = *wqBlock;
    small.parts[0].resize(1000);
    EXPECT_TRUE(wq.doc.PasteBlock(small, "OnEditPaste").rows.empty());
    EXPECT_EQ(wq.texts(), (std::vector<std::string>{"Wrong clipboard data size"}));
}

// A Wq41 file has 48 style slots: a paste stops there.
TEST(StyClipboard, APasteStopsAtTheItemLimit)
{
    Doc source;
    ASSERT_TRUE(source.doc.OpenImage(wqFile('I', 1), "/x/w.sty"));
    StyClipboardBlock seventy = *source.doc.CopyBlock(std::vector<int>{0}, -1);
    seventy.parts.assign(70, seventy.parts[0]);

    Doc ten;
    ASSERT_TRUE(ten.doc.OpenImage(wqFile('I', 1), "/x/w.sty"));
    while (ten.doc.StyCount() < 10)
        ten.doc.m_StyItems.push_back(ten.doc.m_StyItems[0]);
    const auto pasted = ten.doc.PasteBlock(seventy, "OnEditPaste");
    EXPECT_EQ(pasted.rows.size(), 38u);
    EXPECT_EQ(ten.texts(),
              (std::vector<std::string>{"MAX ITEM NUM reached. Pasted 38 items from clipboard"}));
    EXPECT_TRUE(ten.doc.PasteBlock(seventy, "OnEditPaste").rows.empty());
    EXPECT_EQ(ten.texts(), (std::vector<std::string>{"MAX ITEM NUM reached. Pasted 0 items from clipboard"}));
}

TEST(StyClipboard, PastesRefuseBlocksThatDoNotHoldWhatTheySay)
{
    Doc source;
    ASSERT_TRUE(source.doc.OpenImage(qeFile(), "/x/q.sty"));
    const StyClipboardBlock good = *source.doc.CopyBlock(std::vector<int>{0, 1}, -1);
    std::vector<uint8_t> many = good.Bytes();
    many[13] = 139;
    std::vector<uint8_t> beyond = good.Bytes();
    beyond.resize(beyond.size() - 1);
    StyClipboardBlock overPart = good; // 60 + style + STS over the part
    overPart.parts[1][12] = 0xFF;
    StyClipboardBlock pads = good;
    pads.contentCode = StyClipboardBlock::kPads;
    StyClipboardBlock letter = good;
    letter.model = 'Q';
    StyClipboardBlock otherKind = good;
    otherKind.fileKind = 3;
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        std::vector<std::string> texts;
    } cases[] = {
        {"count over 138", many, {"Wrong clipboard data size"}},
        {"parts beyond the block", beyond, {"Wrong clipboard data size"}},
        {"STS past its part", overPart.Bytes(), {"Wrong clipboard data size"}},
        {"pad content", pads.Bytes(), {"Wrong clipboard data format"}},
        {"unknown letter", letter.Bytes(), {"Wrong clipboard data format"}},
        {"another file kind", otherKind.Bytes(), {}},
    };
    for (const auto& c : cases) {
        Doc d;
        ASSERT_TRUE(d.doc.OpenImage(qeFile(), "/x/q.sty"));
        d.ui.clipboard = c.bytes;
        d.doc.OnEditPaste();
        EXPECT_EQ(d.texts(), c.texts) << c.what;
        EXPECT_EQ(d.doc.StyCount(), 2) << c.what;
        EXPECT_FALSE(d.doc.IsModified()) << c.what;
        EXPECT_TRUE(d.doc.OnDrop(c.bytes, 0, false, false, {}).rows.empty()) << c.what;
        EXPECT_EQ(d.doc.StyCount(), 2) << c.what;
    }
    // No clipboard at all, or nothing of ours on it.
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(qeFile(), "/x/q.sty"));
    d.ui.clipboardAttaches = false;
    d.doc.OnEditPaste();
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"Cannot attach to clipboard"}));
    d.ui.clipboardAttaches = true;
    d.doc.OnEditPaste();
    EXPECT_TRUE(d.texts().empty());
}

TEST(StyClipboard, APasteGoesOnAfterAStyleThatCannotBeConverted)
{
    // A Qe9z style the library reads but whose pattern list is shorter than
    // its chord variations' uses: it cannot be rewritten for the Qe4k.
    test::QeStyleLayout layout;
    layout.version = 1;
    layout.header = test::qeHeaderRecord("Short", 0, 0, 0x0001);
    layout.mapChunks = 1;
    layout.map = {1};
    layout.patterns = {test::qePattern(2, 1536, test::PropStreamBuilder().noteOn(0, 36).noteOff(96, 36).end(1536))};
    test::QeElementChunk var1;
    var1.cvs = {test::qeCv(1536, {}, {{0, 0}, {1, 0}})};
    var1.trackTable = std::vector<uint8_t>(48, 0);
    layout.elements = {var1};
    CStyItem shortList;
    shortList.data = test::qeStyleResource(test::qeStyleChunk(layout));
    shortList.SetName("Short");
    shortList.version = 1;

    Doc nine;
    ASSERT_TRUE(nine.doc.OpenImage(qeFile(1, 2), "/x/nine.sty"));
    StyClipboardBlock block = *nine.doc.CopyBlock(std::vector<int>{0, 1}, -1);
    block.parts[0] = StyClipboardBlock::QeStylePart(shortList, nullptr);

    Doc four;
    ASSERT_TRUE(four.doc.OpenImage(qeFile(0, 1), "/x/four.sty"));
    four.ui.clipboard = block.Bytes();
    four.doc.OnEditPaste();
    EXPECT_EQ(four.texts(), (std::vector<std::string>{"Error while converting item!"}));
    ASSERT_EQ(four.doc.StyCount(), 2);
    EXPECT_EQ(four.doc.StsCount(), 2);
    EXPECT_EQ(four.doc.m_StyItems[1].NameText(), "Qe1");
    EXPECT_EQ(four.doc.m_StyItems[1].model, uint32_t('F'));
    EXPECT_EQ(four.ui.selected, (std::vector<int>{1})); // the pasted row only
    EXPECT_EQ(four.doc.m_PasteSource, 0u);
    EXPECT_FALSE(four.doc.TakeAbortRequest());
}

TEST(StyClipboard, CopyRefusesMoreRowsThanTheHeadHolds)
{
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(wqFile('I', 1), "/x/w.sty"));
    while (d.doc.StyCount() < 139)
        d.doc.m_StyItems.push_back(d.doc.m_StyItems[0]);
    std::vector<int> rows(139);
    for (int r = 0; r < 139; ++r)
        rows[size_t(r)] = r;
    d.ui.selected = rows;
    d.doc.OnEditCopy();
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"Cannot copy data to clipboard"}));
    EXPECT_FALSE(d.ui.clipboard);
    rows.pop_back();
    d.ui.selected = rows;
    d.doc.OnEditCopy();
    ASSERT_TRUE(d.ui.clipboard);
    EXPECT_EQ(StyClipboardBlock::Read(*d.ui.clipboard)->Count(), 138u);
}

TEST(StyClipboard, StsItemsOfTheStsView)
{
    Doc qe;
    ASSERT_TRUE(qe.doc.OpenImage(qeFile(0, 2), "/x/q.sty"));
    qe.doc.ToggleViewMode();
    const auto block = qe.doc.CopyBlock({}, 1);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->contentCode, StyClipboardBlock::kStsItem);
    EXPECT_EQ(block->selector, 2u);
    ASSERT_EQ(block->Count(), 1u);
    EXPECT_EQ(block->parts[0].size(), 60 + qe.doc.m_StsItems[1].Size());

    ASSERT_TRUE(qe.doc.PasteOneQeStsItem(*block, 0));
    EXPECT_EQ(qe.doc.m_StsItems[0].data, qe.doc.m_StsItems[1].data);
    EXPECT_EQ(qe.doc.m_StsItems[0].NameText(), "Qe1Sts");
    EXPECT_EQ(qe.doc.m_StsItems[0].release, 1u);

    // An STS item of size 0 is not copied; a block of another content is not pasted.
    ASSERT_TRUE(qe.doc.EmptyItems(std::vector<int>{1}, -1));
    EXPECT_FALSE(qe.doc.CopyBlock({}, 1));
    StyClipboardBlock styles = *block;
    styles.contentCode = StyClipboardBlock::kQeStyles;
    EXPECT_FALSE(qe.doc.PasteOneQeStsItem(styles, 0));
    StyClipboardBlock zero = *block;
    zero.parts[0].resize(60);
    zero.parts[0][12] = 0;
    zero.parts[0][13] = 0;
    EXPECT_FALSE(qe.doc.PasteOneQeStsItem(zero, 0));
    EXPECT_EQ(qe.texts(), (std::vector<std::string>{"Cannot copy zero-size STS item"}));
}

TEST(StyClipboard, MovingRenamingAndBanks)
{
    Doc qe;
    ASSERT_TRUE(qe.doc.OpenImage(qeFile(0, 3), "/x/q.sty"));
    qe.doc.m_StyItems[0].signatures[11] = 0x13;
    const int32_t bank0 = qe.doc.m_StyItems[0].bank;
    ASSERT_TRUE(qe.doc.MoveItem(+1, 0));
    EXPECT_EQ(qe.names(), (std::vector<std::string>{"Qe1", "Qe0", "Qe2"}));
    EXPECT_EQ(qe.doc.m_StsItems[1].NameText(), "Qe0Sts");
    EXPECT_EQ(qe.doc.m_StyItems[1].signatures[11], 0x13); // all twelve elements move along
    EXPECT_EQ(qe.doc.m_StyItems[0].position, 0u);          // places stay
    EXPECT_EQ(qe.doc.m_StyItems[0].bank, bank0);
    EXPECT_FALSE(qe.doc.MoveItem(-1, 0));
    EXPECT_FALSE(qe.doc.MoveItem(+1, 2));
    qe.doc.ToggleViewMode();
    EXPECT_FALSE(qe.doc.MoveItem(+1, 0));
    EXPECT_TRUE(qe.doc.RenameItem(0, "NewStsName"));
    EXPECT_EQ(qe.doc.m_StsItems[0].NameText(), "NewStsName");
    qe.doc.ToggleViewMode();
    EXPECT_EQ(qe.doc.RenameLimit(0), 18);
    EXPECT_TRUE(qe.doc.RenameItem(0, "A name longer than eighteen"));
    EXPECT_EQ(qe.doc.m_StyItems[0].NameText(), "A name longer than");

    qe.doc.SetBank(19);
    for (const auto& i : qe.doc.m_StyItems)
        EXPECT_EQ(i.bank, 19);
    EXPECT_EQ(qe.doc.m_FirstBank, 19);

    Doc wq;
    ASSERT_TRUE(wq.doc.OpenImage(wqFile('9', 2), "/x/w.sty"));
    EXPECT_EQ(wq.doc.RenameLimit(0), 10);
    for (const char* refused : {"InitStyle", "InitStyle5", "empty", "emptyish"}) {
        EXPECT_FALSE(wq.doc.RenameItem(0, refused)) << refused;
        EXPECT_EQ(wq.texts(), (std::vector<std::string>{"This name is not allowed"}));
    }
    EXPECT_EQ(wq.doc.m_StyItems[0].NameText(), "Wq0");
    ASSERT_TRUE(wq.doc.RenameItem(0, "Samba"));
    EXPECT_EQ(wq.doc.m_StyItems[0].NameText(), "Samba");
    EXPECT_EQ(std::string(wq.doc.m_StyItems[0].data.begin(), wq.doc.m_StyItems[0].data.begin() + 10), "Samba     ");
    EXPECT_EQ(wq.doc.m_StyItems[0].data[10], 0); // the name field only
}

TEST(StyClipboard, DropsPlaceTheRowsAtTheDropRow)
{
    Doc target;
    ASSERT_TRUE(target.doc.OpenImage(wqFile('I', 4), "/x/t.sty"));
    Doc source;
    ASSERT_TRUE(source.doc.OpenImage(wqFile('9', 2), "/x/s.sty"));
    const auto block = source.doc.CopyBlock(std::vector<int>{0, 1}, -1);
    ASSERT_TRUE(block);

    // From another window, onto row 1: converted and placed before it.
    const auto dropped = target.doc.DropBlock(*block, 1, false, true, {});
    EXPECT_EQ(dropped.rows, (std::vector<int>{1, 2}));
    EXPECT_EQ(target.names(), (std::vector<std::string>{"Wq0", "Wq0", "Wq1", "Wq1", "Wq2", "Wq3"}));
    EXPECT_EQ(target.doc.m_StyItems[1].model, uint32_t('I'));
    for (int i = 0; i < target.doc.StyCount(); ++i)
        EXPECT_EQ(target.doc.m_StyItems[size_t(i)].position, uint32_t(i));

    // Inside the own view: rows 0-1 dragged below row 3 land after it.
    Doc own;
    ASSERT_TRUE(own.doc.OpenImage(wqFile('9', 4), "/x/o.sty"));
    const std::vector<int> dragged{0, 1};
    const auto ownBlock = own.doc.CopyBlock(dragged, -1);
    const auto moved = own.doc.DropBlock(*ownBlock, 3, true, true, dragged);
    EXPECT_EQ(own.names(), (std::vector<std::string>{"Wq2", "Wq3", "Wq0", "Wq1"}));
    EXPECT_EQ(moved.rows, (std::vector<int>{2, 3}));

    // Onto one of the dragged rows: refused.
    const auto inside = own.doc.DropBlock(*ownBlock, 3, true, true, std::vector<int>{2, 3});
    EXPECT_TRUE(inside.rows.empty());
    EXPECT_EQ(own.texts(),
              (std::vector<std::string>{"Cannot move inside selected blok!!! Try moving in other way!"}));
    EXPECT_EQ(own.names(), (std::vector<std::string>{"Wq2", "Wq3", "Wq0", "Wq1"}));
}

TEST(StyClipboard, SavedFilesOpenWithTheSameItems)
{
    Doc wq;
    ASSERT_TRUE(wq.doc.OpenImage(wqFile('M', 3), "/x/w.sty"));
    ASSERT_TRUE(wq.doc.MoveItem(+1, 0));
    const std::vector<uint8_t> image = wq.doc.BuildFileImage();
    ASSERT_FALSE(image.empty());
    Doc again;
    ASSERT_TRUE(again.doc.OpenImage(image, "/x/w.sty"));
    EXPECT_EQ(again.names(), (std::vector<std::string>{"Wq1", "Wq0", "Wq2"}));
    EXPECT_EQ(std::vector<uint8_t>(image.begin(), image.begin() + 5), (std::vector<uint8_t>{'D', 'A', 'S', 'K', 'M'}));

    Doc qe;
    ASSERT_TRUE(qe.doc.OpenImage(qeFile(0, 3), "/x/q.sty"));
    ASSERT_TRUE(qe.doc.EmptyItems(std::vector<int>{1}, -1));
    qe.doc.SetBank(5);
    const std::vector<uint8_t> qeImage = qe.doc.BuildFileImage();
    ASSERT_FALSE(qeImage.empty());
    Doc qeAgain;
    ASSERT_TRUE(qeAgain.doc.OpenImage(qeImage, "/x/q.sty"));
    EXPECT_EQ(qeAgain.names(), (std::vector<std::string>{"Qe0", "** (N/A) EMPTY **", "Qe2"}));
    EXPECT_EQ(qeAgain.doc.m_StsItems[2].NameText(), "Qe2Sts");
    EXPECT_EQ(qeAgain.doc.m_StsItems[2].data, qe.doc.m_StsItems[2].data);
    EXPECT_EQ(qeAgain.doc.m_FirstBank, 5);
    EXPECT_TRUE(qeAgain.notices.empty());

    // A Wq8 file holds four styles at most; nothing is written otherwise.
    Doc five;
    ASSERT_TRUE(five.doc.OpenImage(wqFile('9', 4), "/x/f.sty"));
    five.doc.m_StyItems.push_back(five.doc.m_StyItems[0]);
    EXPECT_TRUE(five.doc.BuildFileImage().empty());
    EXPECT_EQ(five.texts(), (std::vector<std::string>{"Cannot save: 5 styles do not fit into the 4 places of this file!"}));
    CZibStyDoc none;
    none.NewDocument();
    EXPECT_TRUE(none.BuildFileImage().empty());
}

} // namespace sty_clipboard_test
} // namespace zib
