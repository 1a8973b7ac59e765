#include "docs/style/core/CStsItemAccessor.h"
#include "docs/style/core/CStsTreeModel.h"

#include "platform/ByteCursor.h"
#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/StyFileBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using Doc = test::StyDocHarness;

uint32_t be32(std::span<const uint8_t> d, size_t at)
{
    return ByteCursor(d.data() + at, 4).u32be();
}

uint32_t le32(std::span<const uint8_t> d, size_t at)
{
    return ByteCursor(d.data() + at, 4).u32le();
}

// A Qe style file: Pop with STS data holding `slots` at 0, Bare without STS at 1.
std::vector<uint8_t> qeFile(const std::vector<uint8_t>& slots)
{
    return test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop"})),
                            test::stsDataEntry("PopSts", 2, 0, slots),
                            test::qeEntry("Bare", 2, 2, 1, test::qeStyleInstance({"Bare"}))});
}

TEST(CStsItemAccessor, FindsTheSlotsOfTheBlocks)
{
    std::vector<uint8_t> only3 = test::stsInstance({2});
    CStsItemAccessor a;
    ASSERT_EQ(a.Parse(only3), 0);
    EXPECT_EQ(a.GetStsCount(), 1);
    EXPECT_EQ(a.SlotOrdinals(), (std::array<uint8_t, 4>{255, 255, 0, 255}));
    EXPECT_EQ(a.SlotOffset(2), 432u);

    std::vector<uint8_t> two = test::stsInstance({3, 0});
    ASSERT_EQ(a.Parse(two), 0);
    EXPECT_EQ(a.SlotOrdinals(), (std::array<uint8_t, 4>{1, 255, 255, 0}));
    EXPECT_EQ(a.SlotOffset(0), 432u + 261u);

    const struct {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
    } cases[] = {
        {"length at 24 over the buffer", [](std::vector<uint8_t>& d) { d[27] = uint8_t(d[27] + 29); }},
        {"five blocks", [](std::vector<uint8_t>& d) { d[36] = 5; }},
        {"blocks past the buffer", [](std::vector<uint8_t>& d) { d[36] = 4; }},
        {"slot byte 4", [](std::vector<uint8_t>& d) { d[432] = 4; }},
        {"slot byte 255", [](std::vector<uint8_t>& d) { d[432] = 255; }},
        {"a slot twice", [](std::vector<uint8_t>& d) { d[432 + 261] = d[432]; }},
        {"shorter than its count says", [](std::vector<uint8_t>& d) { d.resize(432 + 261 + 100); }},
        {"shorter than the records", [](std::vector<uint8_t>& d) { d.resize(30); }},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> data = test::stsInstance({1, 2});
        c.damage(data);
        CStsItemAccessor damaged;
        EXPECT_EQ(damaged.Parse(data), 1) << c.what;
        EXPECT_EQ(damaged.GetStsCount(), 0) << c.what;
        EXPECT_FALSE(damaged.HasSlot(1)) << c.what;
        EXPECT_EQ(damaged.ReplaceSts(1, test::stsBlock(1, 0)), 0) << c.what;
    }
}

TEST(CStsItemAccessor, ReplacesOneBlockAndKeepsItsSlot)
{
    std::vector<uint8_t> data = test::stsInstance({0, 2});
    const std::vector<uint8_t> before = data;
    CStsItemAccessor a;
    ASSERT_EQ(a.Parse(data), 0);
    const std::vector<uint8_t> block = test::stsBlock(3, 0x40); // carries another slot number
    EXPECT_EQ(a.ReplaceSts(2, block), 1);
    EXPECT_EQ(data[432 + 261], 2);
    EXPECT_TRUE(std::equal(block.begin() + 1, block.end(), data.begin() + 432 + 261 + 1));
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 432 + 261, data.begin())); // the rest stays
    EXPECT_EQ(a.ReplaceSts(1, block), 0);                                             // absent
    EXPECT_EQ(a.ReplaceSts(0, std::vector<uint8_t>(260)), 0);
}

TEST(CStsItemAccessor, ValueTexts)
{
    const std::pair<int, const char*> pans[] = {{64, "CNT"}, {0, "L-64"}, {63, "L-1"}, {65, "R+1"},
                                                {127, "R+63"}, {254, "R+190"}, {255, "Off"}};
    for (const auto& [value, text] : pans)
        EXPECT_EQ(CStsItemAccessor::GetStsPanText(value), text) << value;
    const std::pair<int, const char*> fills[] = {{0, "OFF"}, {1, "1&2"}, {7, "UP"}, {8, "DOWN"},
                                                 {10, "DEC"}, {11, "->1"}, {14, "->4"}, {15, "???"}};
    for (const auto& [value, text] : fills)
        EXPECT_EQ(CStsItemAccessor::GetFillModeText(value), text) << value;
    EXPECT_EQ(CStsItemAccessor::GetSlotName(3), "STS4");
}

TEST(StsItemData, TypedAccessChangesOnlyItsBytes)
{
    std::vector<uint8_t> data = test::stsInstance({1});
    const std::vector<uint8_t> before = data;
    EXPECT_EQ(StsItemData::Get(data, StsItemData::kTempo), 120);
    EXPECT_EQ(StsItemData::Get(data, StsItemData::kFill2), 8);
    StsTrackRecord acc2 = StsTrackRecord::StyleTrack(data, 4);
    EXPECT_EQ(acc2.Sound(), 0x79040005u);
    acc2.SetSound(0x78000010);
    acc2.SetVolume(77);
    acc2.SetPan(255);
    StsTrackRecord up2 = StsTrackRecord::RealtimeTrack(data, 432, 2);
    EXPECT_EQ(up2.Sound() & 0xFF, 11u);
    EXPECT_EQ(up2.Volume(), 92);
    std::vector<size_t> changed;
    for (size_t i = 0; i < data.size(); ++i)
        if (data[i] != before[i]) changed.push_back(i);
    const size_t at = 136 + 37 * 4;
    EXPECT_EQ(changed, (std::vector<size_t>{at + 8, at + 9, at + 11, at + 12, at + 13}));
    EXPECT_FALSE(StsTrackRecord::StyleTrack(data, 8).Valid());
    EXPECT_FALSE(StsTrackRecord::RealtimeTrack(data, data.size() - 100, 3).Valid());
}

TEST(CStsTreeModel, TreeOfAnItemWithAndWithoutData)
{
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(qeFile({2}), "/x/q.sty"));
    CStsTreeModel pop(d.doc, 0);
    ASSERT_EQ(pop.FillStsTree("STS Tree: PopSts"), 1);
    EXPECT_EQ(pop.RootImage(), CStsTreeModel::kRootData);
    EXPECT_EQ(pop.SlotImage(2), CStsTreeModel::kSlotPresent);
    EXPECT_EQ(pop.SlotImage(0), CStsTreeModel::kSlotAbsent);
    EXPECT_TRUE(pop.CanCopy(-1));
    EXPECT_TRUE(pop.CanCopy(2));
    EXPECT_FALSE(pop.CanCopy(3));
    pop.Select(12);
    EXPECT_EQ(pop.SelectedSlot(), 2);
    pop.Select(0);
    EXPECT_EQ(pop.SelectedSlot(), -1);

    CStsTreeModel bare(d.doc, 1);
    ASSERT_EQ(bare.FillStsTree("STS Tree: x"), 1);
    EXPECT_EQ(bare.RootImage(), CStsTreeModel::kRootEmpty);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(bare.SlotImage(k), CStsTreeModel::kSlotAbsent);
        EXPECT_FALSE(bare.CanCopy(k));
    }
    EXPECT_FALSE(bare.CanCopy(-1));
    EXPECT_FALSE(bare.PasteSts(0));
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"Cannot paste style performance"}));
    EXPECT_EQ(d.notices.size(), 0u);

    // STS data that cannot be parsed gives no tree.
    d.doc.m_StsItems[0].data[36] = 9;
    EXPECT_EQ(pop.FillStsTree("x"), 0);
}

TEST(CStsTreeModel, CopiedBlocks)
{
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(qeFile({1, 3}), "/x/q.sty"));
    const CStyItem& sts = d.doc.m_StsItems[0];
    CStsTreeModel tree(d.doc, 0);
    ASSERT_EQ(tree.FillStsTree("x"), 1);
    ASSERT_TRUE(tree.CopyStsChunkToClipboard());
    ASSERT_TRUE(d.ui.clipboard);
    std::vector<uint8_t> block = *d.ui.clipboard;
    ASSERT_EQ(block.size(), 644 + sts.Size());
    EXPECT_EQ(block[0], 'F');
    EXPECT_EQ(le32(block, 1), 2u);  // file kind
    EXPECT_EQ(le32(block, 5), 1u);  // view mode
    EXPECT_EQ(le32(block, 9), 0u);
    EXPECT_EQ(le32(block, 13), 1u); // one item
    EXPECT_EQ(block[17], 6);
    EXPECT_EQ(le32(block, 32), sts.Size() + 60);
    EXPECT_EQ(le32(block, 584), 0u); // style size
    EXPECT_EQ(le32(block, 584 + 12), sts.Size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.data()) + 584 + 24), "Pop");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.data()) + 584 + 42), "PopSts");
    EXPECT_TRUE(std::equal(sts.data.begin(), sts.data.end(), block.begin() + 644));

    tree.Select(13); // STS4: the second block
    tree.OnCopy();
    block = *d.ui.clipboard;
    ASSERT_EQ(block.size(), 905u);
    EXPECT_EQ(block[17], 3);
    EXPECT_EQ(le32(block, 32), 321u);
    EXPECT_EQ(le32(block, 584 + 12), 261u);
    EXPECT_TRUE(std::equal(block.begin() + 644, block.end(), sts.data.begin() + 432 + 261));

    // An absent slot cannot be copied.
    EXPECT_FALSE(tree.CopyStsToClipboard(0));
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"Cannot copy data to clipboard"}));
    EXPECT_FALSE(CStsTreeModel(d.doc, 1).CopyStsChunkToClipboard()); // no STS data: nothing
}

TEST(CStsTreeModel, PastingTheWholeStsData)
{
    Doc source;
    ASSERT_TRUE(source.doc.OpenImage(qeFile({0, 1}), "/x/a.sty"));
    source.doc.m_StsItems[0].version = 3;
    source.doc.m_StsItems[0].release = 4;
    ASSERT_TRUE(CStsTreeModel(source.doc, 0).CopyStsChunkToClipboard());

    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(qeFile({2}), "/x/b.sty"));
    d.ui.clipboard = source.ui.clipboard;
    CStsTreeModel bare(d.doc, 1); // a style without STS data takes it
    ASSERT_TRUE(bare.PasteStsChunk());
    const CStyItem& sts = d.doc.m_StsItems[1];
    EXPECT_EQ(sts.data, source.doc.m_StsItems[0].data);
    EXPECT_EQ(sts.version, 3u);
    EXPECT_EQ(sts.release, 4u);
    EXPECT_EQ(sts.NameText(), "PopSts");
    EXPECT_EQ(bare.RootLabel(), "PopSts");
    EXPECT_EQ(bare.RootImage(), CStsTreeModel::kRootData);
    EXPECT_EQ(bare.SlotImage(1), CStsTreeModel::kSlotPresent);
    EXPECT_TRUE(d.doc.IsModified());
    EXPECT_EQ(d.ui.viewNotices.back(), std::make_pair(StyViewNotice::RowsChanged, 1));
    EXPECT_EQ(d.doc.m_PasteSource, 0u);
}

TEST(CStsTreeModel, PasteRefusals)
{
    Doc source;
    ASSERT_TRUE(source.doc.OpenImage(qeFile({0}), "/x/a.sty"));
    const std::vector<uint8_t> chunk = CStsTreeModel::StsChunkBlock(source.doc, 0);
    const std::vector<uint8_t> single =
        CStsTreeModel::SingleStsBlock(source.doc, 0, test::stsBlock(0, 0));
    auto with = [](std::vector<uint8_t> b, size_t at, uint8_t v) {
        b[at] = v;
        return b;
    };
    std::vector<uint8_t> zero = with(chunk, 584 + 12, 0);
    zero[584 + 13] = 0;
    struct Case {
        const char* what;
        std::optional<std::vector<uint8_t>> clipboard;
        bool attaches;
        bool slot; // PasteSts (STS2) instead of PasteStsChunk
        std::string text;
    } cases[] = {
        {"no clipboard", std::nullopt, false, false, "Cannot attach to clipboard"},
        {"nothing of ours", std::nullopt, true, false, ""},
        {"other kind", with(chunk, 1, 5), true, false, "Wrong clipboard data type"},
        {"single block to the root", single, true, false, "Wrong clipboard data format"},
        {"chunk to a slot", chunk, true, true, "Wrong clipboard data format"},
        {"zero size", zero, true, false, "Cannot copy zero-size STS item"},
        {"size past the block", with(chunk, 584 + 14, 0x10), true, false, "Wrong clipboard data size"},
        {"not 261 bytes", with(single, 584 + 12, 200), true, true, "Cannot paste STS data"},
        {"count over 138", with(chunk, 13, 200), true, false, "Wrong clipboard data size"},
    };
    for (const auto& c : cases) {
        Doc d;
        ASSERT_TRUE(d.doc.OpenImage(qeFile({2}), "/x/b.sty"));
        const std::vector<uint8_t> before = d.doc.m_StsItems[0].data;
        d.ui.clipboard = c.clipboard;
        d.ui.clipboardAttaches = c.attaches;
        CStsTreeModel tree(d.doc, 0);
        EXPECT_FALSE(c.slot ? tree.PasteSts(1) : tree.PasteStsChunk()) << c.what;
        EXPECT_EQ(d.texts(), c.text.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.text}) << c.what;
        EXPECT_EQ(d.doc.m_StsItems[0].data, before) << c.what;
        EXPECT_FALSE(d.doc.IsModified()) << c.what;
        EXPECT_EQ(d.doc.m_PasteSource, 0u) << c.what;
    }
    // A Wq document takes no STS data.
    Doc wq;
    ASSERT_TRUE(wq.doc.OpenImage(test::wqStyleFile('9', {test::smallWq8Image()}), "/x/w.sty"));
    wq.ui.clipboard = chunk;
    EXPECT_FALSE(CStsTreeModel(wq.doc, 0).PasteStsChunk());
    EXPECT_TRUE(wq.ui.messages.empty());
}

TEST(CStsTreeModel, PastingOneStsBlock)
{
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(qeFile({0}), "/x/b.sty"));
    std::vector<uint8_t> before = d.doc.m_StsItems[0].data;
    CStsTreeModel tree(d.doc, 0);
    ASSERT_EQ(tree.FillStsTree("x"), 1);

    // Into STS4 while only STS1 is present: the new block goes second and becomes STS2.
    d.ui.clipboard = CStsTreeModel::SingleStsBlock(d.doc, 0, test::stsBlock(3, 0x50));
    tree.Select(13);
    tree.OnPaste();
    const std::vector<uint8_t>& after = d.doc.m_StsItems[0].data;
    ASSERT_EQ(after.size(), before.size() + 261);
    EXPECT_EQ(after[36], 2);
    EXPECT_EQ(after[432], 0);
    EXPECT_EQ(after[432 + 261], 1);
    EXPECT_EQ(after[432 + 261 + 1], 0x51); // the pasted block's own bytes
    EXPECT_EQ(le32(after, 4), le32(before, 4) + 261);
    for (size_t at : {size_t(12), size_t(20), size_t(24)})
        EXPECT_EQ(be32(after, at), be32(before, at) + 261) << at;
    EXPECT_TRUE(std::equal(before.end() - 6, before.end(), after.end() - 6)); // the tail follows
    EXPECT_EQ(tree.SlotImage(0), CStsTreeModel::kSlotPresent);
    EXPECT_EQ(tree.SlotImage(1), CStsTreeModel::kSlotPresent);
    EXPECT_EQ(tree.SlotImage(3), CStsTreeModel::kSlotAbsent);
    EXPECT_EQ(tree.RootLabel(), "PopSts");

    // Into a present slot: replaced in place.
    before = after;
    d.ui.clipboard = CStsTreeModel::SingleStsBlock(d.doc, 0, test::stsBlock(2, 0x70));
    ASSERT_TRUE(tree.PasteSts(0));
    EXPECT_EQ(d.doc.m_StsItems[0].data.size(), before.size());
    EXPECT_EQ(d.doc.m_StsItems[0].data[432], 0);
    EXPECT_EQ(d.doc.m_StsItems[0].data[433], 0x71);

    // Four blocks are the most an item holds: a fifth cannot be inserted.
    ASSERT_TRUE(tree.PasteSts(2));
    ASSERT_TRUE(tree.PasteSts(3));
    EXPECT_EQ(d.doc.m_StsItems[0].data[36], 4);
    CStsItemAccessor full;
    ASSERT_EQ(full.Parse(d.doc.m_StsItems[0].data), 0);
    EXPECT_EQ(full.GetStsCount(), 4);
}

} // namespace
} // namespace zib
