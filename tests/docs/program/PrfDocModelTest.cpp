// Qe performance files: the container and its bank index, .WFF item files,
// the list with its clipboard and the Qe9z to Qe4k conversion, saving, and
// what "Performance settings" takes back.
#include "docs/program/core/PrfDocModel.h"
#include "docs/program/core/PrfListModel.h"
#include "docs/program/core/PrfSheetModel.h"

#include "tests/docs/program/ProgramTestDoc.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/PrfFileBuilder.h"
#include "tests/support/RealFixtures.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using PrfTestDoc = test::ProgramTestDoc<PrfDocModel>;
using Said = std::vector<std::string>;

std::vector<uint8_t> fourPerformances()
{
    return test::qePrfImage({{"Pop Live", 2, 0, test::performanceData(1, 1)},
                             {"Ballad Night", 2, 1, test::performanceData(2, 2)},
                             {"Dance", 2, 4, test::performanceData(1, 3)},
                             {"Jazz Club", 2, 5, test::performanceData(4, 4)}});
}

TEST(PrfDocOpen, PerformancesAreListedByPositionWithEmptyRowsForGaps)
{
    PrfTestDoc t;
    ASSERT_TRUE(t.open("live.prf", fourPerformances()));
    ASSERT_EQ(t.doc.Count(), 6);
    EXPECT_EQ(t.doc.model, 'F');
    EXPECT_EQ(t.doc.bank, 2);
    EXPECT_EQ(t.doc.items[2].NameText(), "** (N/A) EMPTY **");
    EXPECT_EQ(t.doc.items[3].Size(), 0u);
    EXPECT_EQ(t.doc.items[3].resourceIndex, -1);
    EXPECT_EQ(t.doc.items[4].NameText(), "Dance");
    EXPECT_EQ(t.doc.items[4].data, test::performanceData(1, 3)); // taken uncompressed, type 1
    EXPECT_EQ(t.doc.items[5].kind, 1u);
    EXPECT_EQ(t.port.lastOpenedKind, 4);
    EXPECT_TRUE(t.port.messages.empty());
    PrfListModel l(t.doc);
    EXPECT_EQ(l.CellText(5, 1), "3 / 5");
    EXPECT_EQ(l.CellText(5, 2), std::to_string(test::performanceData(4, 4).size()));

    // More than eight performances: a Qe9z file.
    std::vector<test::QePerformance> many;
    for (uint8_t i = 0; i < 9; ++i)
        many.push_back({"P" + std::to_string(i), 17, i, test::performanceData(1, i)});
    PrfTestDoc x;
    ASSERT_TRUE(x.open("many.prf", test::qePrfImage(many)));
    EXPECT_EQ(x.doc.model, 'X');
}

TEST(PrfDocOpen, WhatIsNoPerformanceFileIsRefused)
{
    auto damaged = fourPerformances();
    damaged[8] = 3; // the root information chunk
    auto broken = fourPerformances();
    broken[33] = 0x7F; // the index chunk runs past its parent
    struct Case {
        const char* name;
        std::vector<uint8_t> image;
        bool opens;
        Said said;
    };
    const Case cases[] = {
        {"empty.prf", {}, false, {"46"}},
        {"tiny.prf", {1, 0, 1}, false, {"17"}},
        {"damaged.prf", damaged, false, {"17"}},
        {"broken.prf", broken, false, {"17"}},
        {"a.sty", fourPerformances(), false, {}},
        {"programs.prf", test::qePcgImage({{"Piano", 9, 0}}), true, {}}, // no performances: empty
        {"lower.prf", fourPerformances(), true, {}},
    };
    for (const Case& c : cases) {
        PrfTestDoc t;
        EXPECT_EQ(t.open(c.name, c.image), c.opens) << c.name;
        EXPECT_EQ(t.said(), c.said) << c.name;
    }
}

TEST(PrfDocItems, DeleteEmptyExtractAndImport)
{
    PrfTestDoc t;
    ASSERT_TRUE(t.open("live.prf", fourPerformances()));
    t.select({}, 2);
    t.doc.OnEditEmpty(); // an empty row of a Qe4k document stays as it is
    EXPECT_EQ(t.doc.items[2].NameText(), "** (N/A) EMPTY **");
    t.select({0}, 2);
    t.doc.OnEditEmpty();
    EXPECT_EQ(t.doc.items[0].NameText(), "** (N/A) Empty **");
    EXPECT_EQ(t.doc.items[0].Size(), 0u);
    t.select({2, 3});
    t.doc.OnEditDelete();
    ASSERT_EQ(t.doc.Count(), 4);
    EXPECT_EQ(t.doc.items[2].NameText(), "Dance");
    EXPECT_EQ(t.doc.items[2].position, 2u);

    // Extract -> import -> extract gives the same file.
    const std::string file = t.path("dance.WFF");
    ASSERT_TRUE(t.doc.ExtractItem(2, file));
    const auto bytes = test::readFileBytes(file);
    EXPECT_EQ(bytes.size(), 27u + t.doc.items[2].Size());
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), "DASKF");
    ASSERT_TRUE(t.doc.ImportFiles({file}));
    ASSERT_TRUE(t.doc.ExtractItem(4, t.path("again.WFF")));
    EXPECT_EQ(test::readFileBytes(t.path("again.WFF")), bytes);
    EXPECT_EQ(t.doc.items[4].bank, 2); // the document's category
}

TEST(PrfDocItems, ImportedFilesAreCheckedBeforeAnythingIsTaken)
{
    const auto data = test::performanceData(1, 9);
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        Said said;
    };
    const Case cases[] = {
        {"Qe9z into Qe4k", test::wffItemFile('X', "X", data), {"26"}},
        {"not DASK", [&] { auto f = test::wffItemFile('F', "F", data); f[0] = 'K'; return f; }(), {"26"}},
        {"size promises more", test::wffItemFile('F', "F", data, uint32_t(data.size() + 1)), {"27"}},
        {"absurd size", test::wffItemFile('F', "F", data, 0xFFFFFFF0u), {"27"}},
        {"header cut short", {'D', 'A', 'S', 'K', 'F', 1, 0}, {"15"}},
    };
    for (const Case& c : cases) {
        PrfTestDoc t;
        t.doc.OnNewDocument();
        EXPECT_FALSE(t.doc.ImportFiles({t.file("x.wff", c.file)})) << c.what;
        EXPECT_EQ(t.said(), c.said) << c.what;
        EXPECT_EQ(t.doc.Count(), 0) << c.what;
    }
    // Into an empty document: the category becomes 17, shown as 18.
    PrfTestDoc t;
    t.doc.OnNewDocument();
    ASSERT_TRUE(t.doc.ImportFiles({t.file("a.WFF", test::wffItemFile('F', "New One", data))}));
    EXPECT_EQ(t.doc.bank, 17);
    EXPECT_EQ(PrfListModel(t.doc).CellText(0, 1), "18 / 0");
    EXPECT_EQ(t.doc.items[0].NameText(), "New One");
    // 16 at most: a performance file has 16 positions.
    for (int i = 1; i < 15; ++i)
        t.doc.items.push_back(t.doc.items[0]);
    const auto item = t.file("b.WFF", test::wffItemFile('F', "B", data));
    EXPECT_TRUE(t.doc.ImportFiles({item, item}));
    EXPECT_EQ(t.doc.Count(), 16);
    EXPECT_EQ(t.said(), Said{"25"});
}

// A performance whose data Save could not write as a performance resource is
// refused at import and at paste with the import message: the document stays
// as it was and saves.
TEST(PrfDocItems, PerformancesThatCouldNotBeSavedAreRefusedAtImportAndPaste)
{
    const auto good = test::performanceData(1, 9);
    auto brokenChunk = good;
    brokenChunk[4] ^= 0x40; // the chunk length of the resource head no longer fits
    auto program = good;
    program[0] = 4; // a program resource
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"broken chunk", brokenChunk},
        {"a program", program},
        {"no resource at all", std::vector<uint8_t>(good.size(), 0x5A)},
    };
    for (const auto& [what, data] : cases) {
        SCOPED_TRACE(what);
        PrfTestDoc t;
        ASSERT_TRUE(t.open("live.prf", fourPerformances()));
        const auto saved = t.doc.BuildFileImage();
        ASSERT_TRUE(saved);
        EXPECT_FALSE(t.doc.ImportFiles({t.file("bad.WFF", test::wffItemFile('F', "Bad", data))}));
        PrfBlock block;
        block.model = 'F';
        block.items.push_back({data, {'B', 'a', 'd'}});
        EXPECT_EQ(PrfListModel(t.doc).Paste(EncodePrfBlock(block), "OnEditPaste"), 0);
        EXPECT_EQ(t.said(), (Said{"26", "26"}));
        EXPECT_EQ(t.captions(), (Said{"ImportPerf", "PastePrfItem"}));
        EXPECT_EQ(t.doc.Count(), 6);
        EXPECT_EQ(t.doc.BuildFileImage(), saved);
    }
}

std::vector<uint8_t> copyRows(PrfTestDoc& t, std::vector<int> rows)
{
    t.select(std::move(rows));
    auto block = PrfListModel(t.doc).CopyBlock();
    return block ? *block : std::vector<uint8_t>{};
}

TEST(PrfList, APasteStopsAtSixteenAndTellsHowManyItPasted)
{
    PrfTestDoc src;
    ASSERT_TRUE(src.open("live.prf", fourPerformances()));
    for (int i = 0; i < 64; ++i)
        src.doc.items.push_back(src.doc.items[0]);
    std::vector<int> rows;
    for (int i = 0; i < 70; ++i)
        rows.push_back(i);
    const auto block = copyRows(src, rows);
    PrfTestDoc dst;
    ASSERT_TRUE(dst.open("dst.prf", fourPerformances()));
    for (int i = 0; i < 4; ++i)
        dst.doc.items.push_back(dst.doc.items[0]);
    ASSERT_EQ(dst.doc.Count(), 10);
    PrfListModel l(dst.doc);
    EXPECT_EQ(l.Paste(block, "OnEditPaste"), 6);
    EXPECT_EQ(dst.port.texts(), Said{"MAX ITEM NUM reached. Pasted 6 items from clipboard"});
    // A block whose part disagrees with its data size is refused whole.
    auto bad = copyRows(src, {0, 1});
    bad[584] ^= 1;
    PrfTestDoc d;
    ASSERT_TRUE(d.open("d.prf", fourPerformances()));
    EXPECT_EQ(PrfListModel(d.doc).Paste(bad, "OnEditPaste"), 0);
    EXPECT_EQ(d.said(), Said{"35"});
    EXPECT_EQ(d.doc.Count(), 6);
}

TEST(PrfList, AQe9zPerformanceBecomesAQe4kOne)
{
    struct Case {
        const char* what;
        int position, element;
        uint8_t lsb;
        int newPosition, newElement;
        uint8_t newLsb;
        Said said;
    };
    const char* kPosition = "Warning: Qe9z To Qe4k performance conversion!\nFound incorrect style position for "
                            "performance: Nine. Changed to zero position!";
    const char* kSounds = "Warning: Qe9z To Qe4k performance conversion!\nFound sounds not available on Qe4k, for "
                          "performance: Nine. Changed to best-guess sound";
    const Case cases[] = {
        {"position 16 stays", 16, 2, 0, 16, 2, 0, {}},
        {"position 17 goes to 0", 17, 2, 0, 0, 2, 0, {kPosition}},
        {"element 10 and sound (121, 8, 0)", 3, 10, 8, 3, 4, 0, {kSounds}},
        {"element 11", 3, 11, 0, 3, 4, 0, {}},
    };
    for (const Case& c : cases) {
        auto data = test::performanceData(1, 5);
        data[39] = uint8_t(c.position);
        data[43] = uint8_t(c.element);
        test::setPerformanceSound(data, 2, true, 121, c.lsb, 0);
        std::vector<test::QePerformance> nine;
        for (uint8_t i = 0; i < 9; ++i)
            nine.push_back({i == 0 ? "Nine" : "P", 17, i, i == 0 ? data : test::performanceData(1, i)});
        PrfTestDoc x;
        ASSERT_TRUE(x.open("x.prf", test::qePrfImage(nine)));
        ASSERT_EQ(x.doc.model, 'X');
        PrfTestDoc f;
        ASSERT_TRUE(f.open("f.prf", fourPerformances()));
        EXPECT_EQ(PrfListModel(f.doc).Paste(copyRows(x, {0}), "OnEditPaste"), 1) << c.what;
        EXPECT_EQ(f.port.texts(), c.said) << c.what;
        const auto& out = f.doc.items.back().data;
        EXPECT_EQ(out[39], c.newPosition) << c.what;
        EXPECT_EQ(out[43], c.newElement) << c.what;
        EXPECT_EQ(out[432 + 113 + 74 + 9], c.newLsb) << c.what;
        EXPECT_EQ(out.size(), data.size());
    }
}

TEST(PrfList, DataThatCannotBeReadIsRefusedBeforeTheConversionTouchesIt)
{
    auto shortData = test::performanceData(1, 1);
    shortData.resize(692);
    auto noSts = test::performanceData(0, 1, 300);
    auto longLength = test::performanceData(1, 1);
    longLength[24] = 0x7F; // a data length far past the buffer
    for (const auto& data : {shortData, noSts, longLength}) {
        PrfBlock block;
        block.model = 'X';
        block.fileKind = 4;
        block.items.push_back({data, {'B', 'a', 'd'}});
        PrfTestDoc f;
        ASSERT_TRUE(f.open("f.prf", fourPerformances()));
        EXPECT_EQ(PrfListModel(f.doc).Paste(EncodePrfBlock(block), "OnEditPaste"), 0);
        EXPECT_EQ(f.said(), Said{"31"});
        EXPECT_EQ(f.captions(), Said{"PastePrfItem"});
        EXPECT_EQ(f.doc.Count(), 6);
    }
}

TEST(PrfList, AMoveInsideTheListDeletesTheDraggedRowsOnce)
{
    PrfTestDoc t;
    ASSERT_TRUE(t.open("live.prf", fourPerformances()));
    PrfListModel l(t.doc);
    t.select({0, 1}, 0);
    const auto block = l.BeginDrag();
    ASSERT_TRUE(block);
    EXPECT_FALSE(l.OnDrop(*block, 1, true)); // onto its own rows
    EXPECT_EQ(t.said(), Said{"37"});
    EXPECT_TRUE(l.OnDrop(*block, 4, true));
    l.EndDrag(true);
    ASSERT_EQ(t.doc.Count(), 6);
    std::vector<std::string> names;
    for (const auto& item : t.doc.items)
        names.push_back(item.NameText());
    EXPECT_EQ(names, (std::vector<std::string>{"** (N/A) EMPTY **", "** (N/A) EMPTY **", "Dance", "Pop Live",
                                               "Ballad Night", "Jazz Club"}));
    for (int i = 0; i < t.doc.Count(); ++i)
        EXPECT_EQ(t.doc.items[size_t(i)].position, uint32_t(i));
}

TEST(PrfList, MovingRenamingAndTheCategory)
{
    PrfTestDoc t;
    ASSERT_TRUE(t.open("live.prf", fourPerformances()));
    PrfListModel l(t.doc);
    t.select({}, 5);
    l.MoveItem(+1);
    t.select({}, 0);
    l.MoveItem(-1);
    EXPECT_FALSE(t.doc.modified);
    l.MoveItem(+1);
    EXPECT_EQ(t.doc.items[1].NameText(), "Pop Live");
    EXPECT_EQ(t.doc.items[1].position, 1u);
    EXPECT_FALSE(l.CanBeginLabelEdit(2)); // empty rows are not renamed
    ASSERT_TRUE(l.EndLabelEdit(1, "A name far longer than eighteen"));
    EXPECT_EQ(t.doc.items[1].NameText(), "A name far longer"); // 18 characters, trimmed
    l.SetCategory(5);
    EXPECT_EQ(t.doc.bank, 5);
    EXPECT_EQ(t.doc.items[1].bank, 5);
    EXPECT_EQ(t.doc.items[2].bank, -1);
    EXPECT_EQ(l.CellText(4, 1), "6 / 4");
}

TEST(PrfDocSave, SavedFilesOpenWithTheSameRowsAndData)
{
    PrfTestDoc t;
    ASSERT_TRUE(t.open("live.prf", fourPerformances()));
    ASSERT_TRUE(t.doc.SaveTo(t.path("saved.prf")));
    PrfTestDoc again;
    ASSERT_TRUE(again.open("again.prf", test::readFileBytes(t.path("saved.prf"))));
    ASSERT_EQ(again.doc.Count(), t.doc.Count());
    for (int i = 0; i < t.doc.Count(); ++i) {
        EXPECT_EQ(again.doc.items[size_t(i)].NameText(), t.doc.items[size_t(i)].NameText()) << i;
        EXPECT_EQ(again.doc.items[size_t(i)].data, t.doc.items[size_t(i)].data) << i;
    }
    EXPECT_EQ(again.doc.bank, 2);
    EXPECT_TRUE(again.port.messages.empty());
}

TEST(PrfSheet, PropertiesTakeBackWhatTheChangedPagesOwn)
{
    PrfTestDoc t;
    ASSERT_TRUE(t.open("live.prf", fourPerformances()));
    EXPECT_FALSE(PrfSheetModel::CanOpen(t.doc, -1));
    t.doc.items[1].data.resize(600);
    EXPECT_FALSE(PrfSheetModel::CanOpen(t.doc, 1));
    t.doc.items[4].data[36] = 2; // two STS blocks said, one there
    EXPECT_FALSE(PrfSheetModel::CanOpen(t.doc, 4));
    EXPECT_FALSE(PrfSheetModel::CanOpen(t.doc, 2)); // empty: no settings, no message
    EXPECT_EQ(t.said(), (Said{"23", "31", "31"}));
    EXPECT_EQ(t.captions(), (Said{"EditProperties", "EditProperties", "EditProperties"}));

    // An empty performance offers no Properties.
    PrfListModel list(t.doc);
    t.select({2}, 2);
    EXPECT_FALSE(list.CanEditProperties());
    t.select({0}, 0);
    EXPECT_TRUE(list.CanEditProperties());

    // The pages show the performance: a Qe4k document, its first STS block.
    ASSERT_TRUE(PrfSheetModel::CanOpen(t.doc, 0));
    const auto before = t.doc.items[0].data;
    auto& data = t.doc.items[0].data;
    {
        PrfSheetModel sheet(t.doc, 0);
        EXPECT_EQ(sheet.ArrangerPage().Kind(), StsArrangerInfoPageModel::kPerformance);
        EXPECT_EQ(sheet.ArrangerPage().tempo, before[41]);
        EXPECT_EQ(sheet.StylePage().Rows().size(), 8u);
        ASSERT_EQ(sheet.StsPage().Rows().size(), 4u);
        EXPECT_EQ(sheet.StsPage().Rows()[0].sound, 121u << 24 | 10u); // LOW of the first block
        // OK without an edit keeps every byte and the document unmodified.
        EXPECT_FALSE(sheet.Ok());
        EXPECT_EQ(data, before);
        EXPECT_FALSE(t.doc.modified);
    }
    {
        // Only the arranger page changed: a tempo below 40 is written as 40, a
        // volume edited on a page that is not marked changed stays out.
        PrfSheetModel sheet(t.doc, 0);
        sheet.ArrangerPage().TempoTyped("30");
        sheet.StylePage().VolumeTyped(3, "99");
        sheet.StylePage().changed = false;
        EXPECT_TRUE(sheet.Ok());
        auto expected = before;
        expected[41] = 40;
        EXPECT_EQ(data, expected);
        EXPECT_TRUE(t.doc.modified);
    }
    {
        // Every page: bank and position (a performance's), ACC1 volume, LOW sound.
        PrfSheetModel sheet(t.doc, 0);
        sheet.ArrangerPage().Select(StsArrangerInfoPageModel::Field::Bank, 5);
        sheet.ArrangerPage().Select(StsArrangerInfoPageModel::Field::Position, 7);
        sheet.StylePage().VolumeTyped(3, "99");
        ASSERT_TRUE(sheet.StsPage().SoundChosen(0, 0x78020000u | 33u));
        EXPECT_TRUE(sheet.Ok());
        EXPECT_EQ(data[38], 5);
        EXPECT_EQ(data[39], 7);
        EXPECT_EQ(data[136 + 37 * 3 + 12], 99);
        EXPECT_EQ(data[432 + 113 + 8], 0x78);
        EXPECT_EQ(data[432 + 113 + 9], 0x02);
        EXPECT_EQ(data[432 + 113 + 11], 33);
        EXPECT_EQ(data[200], before[200]); // a byte no page owns
    }
}

} // namespace
} // namespace zib
