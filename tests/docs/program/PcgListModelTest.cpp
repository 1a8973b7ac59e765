// The program list without its window: texts, command states, moving,
// renaming, banks, and the clipboard block with its paste rules.
#include "docs/program/core/PcgListModel.h"

#include "tests/docs/program/PcgTestDoc.h"
#include "tests/support/PcgFileBuilder.h"

#include "midi/ProgramNames.h"

#include <gtest/gtest.h>

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace pcg_list_model_test {

using Said = std::vector<std::string>;

void openWq(test::PcgTestDoc& t, int model)
{
    ASSERT_TRUE(t.open(model == 'I' || model == 'M' ? "d.prg" : "d.pcg", test::WqPcgBuilder(model).image()));
}

void openQe(test::PcgTestDoc& t, std::vector<test::QeProgram> programs = {{"Piano", 9, 0, 4, 1},
                                                                         {"Organ", 9, 1, 4, 2},
                                                                         {"Choir", 9, 3, 4, 3}})
{
    ASSERT_TRUE(t.open("q.pcg", test::qePcgImage(programs)));
}

// The block of the given rows of a document's shown list.
std::vector<uint8_t> copyRows(test::PcgTestDoc& t, std::vector<int> rows)
{
    t.select(std::move(rows));
    auto block = PcgListModel(t.doc).CopyBlock();
    return block ? *block : std::vector<uint8_t>{};
}

TEST(PcgList, ColumnsAndCellsFollowTheSeriesAndTheShownList)
{
    test::PcgTestDoc qe;
    openQe(qe);
    PcgListModel q(qe.doc);
    ASSERT_EQ(q.Columns().size(), 10u);
    EXPECT_EQ(q.Columns()[2].title, "Size");
    EXPECT_EQ(q.CellText(3, 0), "Choir");
    EXPECT_EQ(q.CellText(3, 1), "10 / 3");
    EXPECT_EQ(q.CellText(3, 2), std::to_string(qe.doc.programs[3].Size()));
    EXPECT_EQ(q.CellText(2, 2), "0");
    EXPECT_EQ(q.CellText(3, 3), "");

    for (int model : {'9', 'M'}) {
        test::PcgTestDoc t;
        openWq(t, model);
        const size_t s1 = model == '9' ? 12 : 20, s2 = model == '9' ? 15 : 22;
        test::putWord(t.doc.programs[1].data, s1, 7);
        test::putWord(t.doc.programs[1].data, s2, 300);
        test::putWord(t.doc.drumKits[1].data, s1, 5);
        PcgListModel l(t.doc);
        ASSERT_EQ(l.Columns().size(), 10u);
        EXPECT_EQ(l.Columns()[3].title, "Multisample 2");
        EXPECT_EQ(l.CellText(1, 0), "Prog2");
        EXPECT_EQ(l.CellText(1, 2), GetProgramName(model, 7));
        EXPECT_EQ(l.CellText(1, 3), GetProgramName(model, 300));
        EXPECT_EQ(l.StsViewMessage(), 119);
        l.OnStsView();
        EXPECT_EQ(l.StsViewMessage(), 118);
        EXPECT_EQ(l.RowCount(), model == '9' ? 2 : 8);
        EXPECT_EQ(l.CellText(1, 0), "Kit2");
        EXPECT_EQ(l.CellText(1, 2), "6");
        EXPECT_EQ(l.CellText(1, 3), "---");
    }
    EXPECT_EQ(q.StsViewMessage(), -1);
}

TEST(PcgList, WqRowsCarryTheirBankAndPositionLabels)
{
    struct Case {
        int model, list, row;
        const char* label;
    };
    const Case cases[] = {
        {'I', 1, 0, "F11"},  {'I', 1, 63, "F88"}, {'I', 1, 70, "G17"},  {'M', 1, 127, "G88"},
        {'M', 2, 0, "Dr27"}, {'M', 2, 1, "Dr28"}, {'I', 2, 0, "R51"},   {'I', 2, 7, "R58"},
        {'9', 1, 9, "U22"},  {'9', 2, 0, "Dr07"}, {'9', 2, 1, "Dr08"},
    };
    for (const Case& c : cases) {
        test::PcgTestDoc t;
        openWq(t, c.model);
        t.doc.shownList = c.list;
        EXPECT_EQ(PcgListModel(t.doc).BankLabel(c.row), c.label) << char(c.model) << c.list << " " << c.row;
    }
}

TEST(PcgList, MovingSwapsTheContentsWhilePlacesStay)
{
    test::PcgTestDoc t;
    openQe(t);
    PcgListModel l(t.doc);
    const auto organ = t.doc.programs[1].data;
    t.select({1, 3}, 1);
    l.MoveItem(+1);
    EXPECT_EQ(t.doc.programs[2].NameText(), "Organ");
    EXPECT_EQ(t.doc.programs[2].data, organ);
    EXPECT_EQ(t.doc.programs[2].bank, 9);
    EXPECT_EQ(t.doc.programs[2].position, 2u);
    EXPECT_EQ(t.doc.programs[2].resourceIndex, -1); // the empty place's numbers stay with it
    EXPECT_EQ(t.doc.programs[1].Size(), 0u);
    EXPECT_EQ(t.doc.programs[1].bank, -1);
    EXPECT_TRUE(t.doc.modified);
    // The moved row alone is selected, focused and shown.
    EXPECT_EQ(t.port.selected, std::vector<int>{2});
    EXPECT_EQ(t.port.focused, 2);
    EXPECT_EQ(t.port.events.back(), "scroll 2");

    test::PcgTestDoc w;
    openWq(w, '9');
    PcgListModel wl(w.doc);
    w.port.events.clear();
    EXPECT_FALSE(wl.CanMove());
    w.select({}, 63);
    EXPECT_TRUE(wl.CanMove());
    wl.MoveItem(+1);
    w.select({}, 0);
    wl.MoveItem(-1);
    EXPECT_FALSE(w.doc.modified);
    EXPECT_TRUE(w.port.events.empty());
}

TEST(PcgList, RenameStoresTheNameAndForWqItemsTheirRecordsName)
{
    test::PcgTestDoc w;
    openWq(w, '9');
    PcgListModel wl(w.doc);
    ASSERT_TRUE(wl.EndLabelEdit(0, "Bells"));
    EXPECT_EQ(w.doc.programs[0].NameText(), "Bells");
    EXPECT_EQ(std::string(w.doc.programs[0].data.begin(), w.doc.programs[0].data.begin() + 10), "Bells     ");
    ASSERT_TRUE(wl.EndLabelEdit(1, "A name far too long for it"));
    EXPECT_EQ(w.doc.programs[1].NameText(), "A name far");
    EXPECT_EQ(w.doc.programs[1].data[10], 10 + 1); // the record after its name is untouched

    test::PcgTestDoc q;
    openQe(q);
    PcgListModel ql(q.doc);
    EXPECT_FALSE(ql.CanBeginLabelEdit(2)); // the empty place
    q.select({}, 2);
    EXPECT_FALSE(ql.CanRename());
    q.select({0}, 0);
    EXPECT_TRUE(ql.CanRename());
    const auto data = q.doc.programs[0].data;
    ASSERT_TRUE(ql.EndLabelEdit(0, "A Qe name of twenty chars"));
    EXPECT_EQ(q.doc.programs[0].NameText(), "A Qe name of twent");
    EXPECT_EQ(q.doc.programs[0].data, data);
    EXPECT_FALSE(ql.CanEditProperties());
    w.select({0}, 0);
    EXPECT_TRUE(wl.CanEditProperties());
}

TEST(PcgList, BankChangesKeepDrumKitsAndOrdinarySoundsApart)
{
    struct Case {
        int firstBank, chosen;
        bool changed;
        Said said;
    };
    const Case cases[] = {{9, 10, true, {}}, {9, 11, false, {"44"}}, {11, 9, false, {"43"}}, {10, 3, false, {}}};
    for (const Case& c : cases) {
        test::PcgTestDoc t;
        openQe(t, {{"A", uint8_t(c.firstBank), 0}, {"B", uint8_t(c.firstBank), 2}});
        PcgListModel l(t.doc);
        EXPECT_EQ(l.OnBankRange(c.chosen), c.changed);
        EXPECT_EQ(t.said(), c.said);
        EXPECT_EQ(t.doc.firstBank, c.changed ? c.chosen : c.firstBank);
        EXPECT_EQ(t.doc.programs[2].bank, c.changed ? c.chosen : c.firstBank);
        EXPECT_EQ(t.doc.programs[1].bank, -1); // the empty place has no bank
        EXPECT_EQ(t.doc.modified, c.changed);
    }
}

TEST(PcgList, WqItemsPastedConvertOrSetTheModelOfAnEmptyDocument)
{
    test::PcgTestDoc src;
    openWq(src, '9');
    const auto block = copyRows(src, {2, 0});
    ASSERT_EQ(block.size(), 584u + 2 * 164);

    test::PcgTestDoc r65;
    openWq(r65, 'M');
    r65.makeRoom(2);
    PcgListModel l(r65.doc);
    EXPECT_EQ(l.Paste(block, "OnEditPaste"), 2);
    ASSERT_EQ(r65.doc.ProgramCount(), 128);
    EXPECT_EQ(r65.doc.programs[126].NameText(), "Prog1"); // in list order
    EXPECT_EQ(r65.doc.programs[126].Size(), 172u);
    EXPECT_EQ(r65.doc.programs[126].model, uint32_t('M'));
    EXPECT_EQ(r65.doc.programs[127].position, 127u);
    EXPECT_TRUE(r65.doc.modified);

    test::PcgTestDoc empty;
    empty.doc.OnNewDocument(2);
    EXPECT_EQ(PcgListModel(empty.doc).Paste(block, "OnEditPaste"), 2);
    EXPECT_EQ(empty.doc.model, '9');
    EXPECT_EQ(empty.doc.fileKind, 3);
    EXPECT_EQ(empty.doc.programs[1].data, src.doc.programs[2].data);

    // Drum kits go to the drum-kit list of a document that shows it.
    src.doc.shownList = 2;
    const auto kits = copyRows(src, {1});
    EXPECT_EQ(l.Paste(kits, "OnEditPaste"), 0); // the target shows programs
    r65.doc.shownList = 2;
    r65.makeRoom(2);
    EXPECT_EQ(l.Paste(kits, "OnEditPaste"), 1);
    EXPECT_EQ(r65.doc.drumKits.back().Size(), 1052u);
    EXPECT_EQ(test::wordAt(r65.doc.drumKits.back().data, 20), 14); // kit index 6
}

TEST(PcgList, PastesThatDoNotFitAreRefused)
{
    test::PcgTestDoc wq8, r65, qe, qe9z;
    openWq(wq8, '9');
    openWq(r65, 'M');
    wq8.makeRoom(1);
    openQe(qe);
    openQe(qe9z);
    qe9z.doc.model = 'X';
    const auto wq8Block = copyRows(wq8, {0});
    const auto r65Block = copyRows(r65, {0});
    const auto qeBlock = copyRows(qe, {0});
    const auto qe9zBlock = copyRows(qe9z, {0});
    auto shortPart = wq8Block;
    shortPart[32] = 163; // the part size no program has
    auto damaged = wq8Block;
    damaged[32] = 0xFF; // a part past the block's end
    damaged[33] = 0xFF;
    struct Case {
        test::PcgTestDoc* target;
        std::vector<uint8_t> block;
        Said said;
    };
    const Case cases[] = {
        {&qe, wq8Block, {"38"}},
        {&wq8, qeBlock, {"39"}},
        {&wq8, r65Block, {"40"}},
        {&qe, qe9zBlock, {}}, // a Qe9z program into a Qe4k document adds nothing
        {&wq8, shortPart, {"35"}},
        {&wq8, damaged, {"35"}},
        {&wq8, std::vector<uint8_t>(583), {"35"}},
    };
    for (const Case& c : cases) {
        c.target->port.clear();
        const int before = c.target->doc.ProgramCount();
        EXPECT_EQ(PcgListModel(c.target->doc).Paste(c.block, "OnEditPaste"), 0);
        EXPECT_EQ(c.target->said(), c.said);
        EXPECT_EQ(c.target->doc.ProgramCount(), before);
    }
    // Wq6Q programs have no conversion to the WqR65.
    test::PcgTestDoc q6;
    openWq(q6, '<');
    test::PcgTestDoc wq8b;
    openWq(wq8b, '9');
    wq8b.makeRoom(1);
    EXPECT_EQ(PcgListModel(wq8b.doc).Paste(copyRows(q6, {0}), "OnEditPaste"), 0);
    EXPECT_EQ(wq8b.said(), Said{"28"});
}

TEST(PcgList, QeProgramsKeepDrumKitBankApartAndTakeTheDocumentsBank)
{
    test::PcgTestDoc src;
    openQe(src, {{"Kit", 11, 0}, {"Piano", 9, 0}});
    test::PcgTestDoc dst;
    openQe(dst, {{"Organ", 10, 0}});
    // The drum-kit bank is 11: the source holds both kinds, so its banks were unified.
    ASSERT_EQ(src.doc.firstBank, 9);
    src.doc.programs[0].bank = 11;
    PcgListModel l(dst.doc);
    EXPECT_EQ(l.Paste(copyRows(src, {0}), "OnEditPaste"), 0);
    EXPECT_EQ(dst.said(), Said{"42"});
    EXPECT_EQ(l.Paste(copyRows(src, {1}), "OnEditPaste"), 1);
    const CPcgItem& pasted = dst.doc.programs.back();
    EXPECT_EQ(pasted.bank, 10); // the document's bank, not the block's
    EXPECT_EQ(pasted.NameText(), "Piano");
    EXPECT_EQ(pasted.data, src.doc.programs[1].data);
    EXPECT_EQ(pasted.resourceIndex, 1);

    test::PcgTestDoc fresh;
    fresh.doc.OnNewDocument(0);
    EXPECT_EQ(PcgListModel(fresh.doc).Paste(copyRows(src, {0}), "OnEditPaste"), 1);
    EXPECT_EQ(fresh.doc.firstBank, 11); // an empty document takes the pasted bank
}

// A program whose data Save could not write as a program resource is
// refused at import and at paste with the import message: the document stays
// as it was and saves.
TEST(PcgList, QeProgramsThatCouldNotBeSavedAreRefusedAtImportAndPaste)
{
    test::PcgTestDoc src;
    openQe(src);
    const std::vector<uint8_t> good = src.doc.programs[0].data;
    ASSERT_GT(good.size(), 8u);
    auto brokenChunk = good;
    brokenChunk[4] ^= 0x40; // the chunk length of the resource head no longer fits
    auto performance = good;
    performance[0] = 1; // a performance resource
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"broken chunk", brokenChunk},
        {"a performance", performance},
        {"no resource at all", std::vector<uint8_t>(good.size(), 0x5A)},
    };
    for (const auto& [what, data] : cases) {
        SCOPED_TRACE(what);
        test::PcgTestDoc dst;
        openQe(dst);
        const auto saved = dst.doc.BuildFileImage();
        ASSERT_TRUE(saved);
        EXPECT_EQ(dst.doc.ImportPcg(dst.file("bad.WPF", test::qeItemFile('F', "Bad", 9, data))),
                  PcgItemResult::Failed);
        PcgBlock block;
        block.model = 'F';
        block.fileKind = 3;
        block.items.push_back({data, 9, {'B', 'a', 'd'}});
        EXPECT_EQ(PcgListModel(dst.doc).Paste(EncodePcgBlock(block), "OnEditPaste"), 0);
        EXPECT_EQ(dst.said(), (Said{"26", "26"}));
        EXPECT_EQ(dst.captions(), (Said{"ImportPcg", "PastePcgItem"}));
        EXPECT_EQ(dst.doc.ProgramCount(), 4);
        EXPECT_EQ(dst.doc.BuildFileImage(), saved);
    }
    // The program as it came goes in both ways.
    test::PcgTestDoc dst;
    openQe(dst);
    EXPECT_EQ(dst.doc.ImportPcg(dst.file("good.WPF", test::qeItemFile('F', "Good", 9, good))), PcgItemResult::Added);
    PcgBlock block;
    block.model = 'F';
    block.fileKind = 3;
    block.items.push_back({good, 9, {'G'}});
    EXPECT_EQ(PcgListModel(dst.doc).Paste(EncodePcgBlock(block), "OnEditPaste"), 1);
    EXPECT_TRUE(dst.doc.BuildFileImage());
    EXPECT_TRUE(dst.said().empty());
}

// A Wq8 file keeps 64 programs: a paste stops there.
TEST(PcgList, APasteStopsAtTheLimitAndTellsHowManyItPasted)
{
    test::PcgTestDoc src;
    openWq(src, '9');
    std::vector<int> rows;
    for (int i = 0; i < 64; ++i)
        rows.push_back(i);
    const auto block = copyRows(src, rows);
    test::PcgTestDoc dst;
    openWq(dst, '9');
    dst.makeRoom(20);
    PcgListModel l(dst.doc);
    EXPECT_EQ(l.Paste(copyRows(src, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), "OnEditPaste"), 10);
    EXPECT_EQ(l.Paste(block, "OnDrop"), 10);
    EXPECT_EQ(dst.doc.ProgramCount(), 64);
    EXPECT_EQ(dst.port.texts(), Said{"MAX ITEM NUM reached. Pasted 10 items from clipboard"});
    EXPECT_EQ(dst.captions(), Said{"OnDrop"});
}

TEST(PcgList, DroppedItemsMoveUpToTheDropRowInTheirOrder)
{
    test::PcgTestDoc src;
    openWq(src, '9');
    test::PcgTestDoc t;
    openWq(t, '9');
    t.makeRoom(3);
    PcgListModel l(t.doc);
    EXPECT_TRUE(l.OnDrop(copyRows(src, {10, 11}), 3, false));
    EXPECT_EQ(t.doc.programs[3].NameText(), "Prog11");
    EXPECT_EQ(t.doc.programs[4].NameText(), "Prog12");
    EXPECT_EQ(t.doc.programs[5].NameText(), "Prog4");
    EXPECT_EQ(t.doc.programs[62].NameText(), "Prog61");
    EXPECT_EQ(t.doc.programs[3].position, 3u); // places stay with the rows
    EXPECT_EQ(t.port.selected, (std::vector<int>{3, 4}));
    EXPECT_EQ(t.port.focused, 3);
    // On no row they stay at the end.
    EXPECT_TRUE(l.OnDrop(copyRows(src, {0}), -1, false));
    EXPECT_EQ(t.doc.programs[63].NameText(), "Prog1");
}

TEST(PcgList, DragsWithinOneViewMoveOnceAndCopiesKeepTheOriginals)
{
    struct Case {
        const char* what;
        int room; // rows deleted first: a move within the full list needs none
        std::vector<int> dragged;
        int target;
        bool move;
        bool dropped;
        std::vector<std::string> firstRows;
        int count;
        Said said;
    };
    const std::vector<std::string> unmoved = {"Prog1", "Prog2", "Prog3", "Prog4", "Prog5", "Prog6", "Prog7"};
    const Case cases[] = {
        // Rows 1-2 moved onto row 5: they land after it, and are deleted once.
        {"move down",
         0,
         {1, 2},
         5,
         true,
         true,
         {"Prog1", "Prog4", "Prog5", "Prog6", "Prog2", "Prog3", "Prog7"},
         64,
         {}},
        {"move up",
         0,
         {4, 5},
         1,
         true,
         true,
         {"Prog1", "Prog5", "Prog6", "Prog2", "Prog3", "Prog4", "Prog7"},
         64,
         {}},
        {"copy",
         1,
         {1},
         3,
         false,
         true,
         {"Prog1", "Prog2", "Prog3", "Prog2", "Prog4", "Prog5", "Prog6"},
         64,
         {}},
        {"copy into the full list",
         0,
         {1},
         3,
         false,
         false,
         unmoved,
         64,
         {"MAX ITEM NUM reached. Pasted %d items from clipboard"}},
        {"onto itself", 0, {1, 2, 3}, 2, true, false, unmoved, 64, {"37"}},
    };
    for (const Case& c : cases) {
        test::PcgTestDoc t;
        openWq(t, '9');
        t.makeRoom(c.room);
        PcgListModel l(t.doc);
        t.select(c.dragged, c.dragged[0]);
        const auto block = l.BeginDrag();
        ASSERT_TRUE(block) << c.what;
        EXPECT_EQ(l.OnDrop(*block, c.target, c.move), c.dropped) << c.what;
        l.EndDrag(c.move && c.dropped); // the drag's end comes after the drop
        std::vector<std::string> first;
        for (int i = 0; i < 7; ++i)
            first.push_back(t.doc.programs[size_t(i)].NameText());
        EXPECT_EQ(first, c.firstRows) << c.what;
        EXPECT_EQ(t.doc.ProgramCount(), c.count) << c.what;
        EXPECT_EQ(t.said(), c.said) << c.what;
    }
    // A move whose drop went to another view deletes the dragged rows at its end.
    test::PcgTestDoc src, dst;
    openWq(src, '9');
    openWq(dst, 'M');
    dst.makeRoom(2);
    PcgListModel from(src.doc), to(dst.doc);
    src.select({0, 1});
    const auto block = from.BeginDrag();
    ASSERT_TRUE(block);
    EXPECT_TRUE(to.OnDrop(*block, 0, true));
    from.EndDrag(true);
    EXPECT_EQ(src.doc.ProgramCount(), 62);
    EXPECT_EQ(src.doc.programs[0].NameText(), "Prog3");
    EXPECT_EQ(dst.doc.programs[0].NameText(), "Prog1");
    EXPECT_EQ(dst.doc.programs[0].model, uint32_t('M'));
}

TEST(PcgList, ClipboardCommandsUseTheSelectionAndSelectWhatWasPasted)
{
    test::PcgTestDoc t;
    openWq(t, '9');
    PcgListModel l(t.doc);
    EXPECT_FALSE(l.CanCopy());
    EXPECT_FALSE(l.CanPaste());
    t.select({2, 3}, 2);
    EXPECT_TRUE(l.CanCopy());
    l.OnEditCut();
    EXPECT_TRUE(l.CanPaste());
    EXPECT_EQ(t.doc.ProgramCount(), 62);
    t.port.events.clear();
    l.OnEditPaste();
    EXPECT_EQ(t.doc.ProgramCount(), 64);
    EXPECT_EQ(t.doc.programs[62].NameText(), "Prog3");
    EXPECT_EQ(t.port.selected, (std::vector<int>{62, 63}));
    EXPECT_EQ(t.port.focused, 62);
    EXPECT_NE(std::find(t.port.events.begin(), t.port.events.end(), "scroll 63"), t.port.events.end());

    // What the clipboard could not give is said.
    t.port.clipboardState = ClipboardRead::State::CannotAttach;
    l.OnEditPaste();
    t.port.clipboardState = ClipboardRead::State::NoData;
    l.OnEditPaste();
    EXPECT_EQ(t.said(), (Said{"33", "34"}));
    EXPECT_EQ(t.doc.ProgramCount(), 64);

    // More rows than a block holds are not copied.
    test::PcgTestDoc qe;
    openQe(qe, {{"A", 9, 0}, {"B", 9, 127}});
    std::vector<int> all;
    for (int i = 0; i < 139; ++i)
        qe.doc.programs.push_back(qe.doc.programs[0]);
    for (int i = 0; i < qe.doc.ProgramCount(); ++i)
        all.push_back(i);
    qe.select(all);
    EXPECT_FALSE(PcgListModel(qe.doc).CopyBlock());
    EXPECT_EQ(qe.said(), Said{"35"});
}

} // namespace pcg_list_model_test
} // namespace zib
