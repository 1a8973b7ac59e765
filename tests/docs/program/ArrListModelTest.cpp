// The arrangement list without its window: labels, the program-name
// formatter in its two forms, moving, renaming, and the clipboard.
#include "docs/program/core/ArrListModel.h"

#include "tests/docs/program/ProgramTestDoc.h"
#include "tests/support/ArrFileBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using ArrTestDoc = test::ProgramTestDoc<ArrDocModel>;
using Said = std::vector<std::string>;

void open(ArrTestDoc& t, int model, int mode = 1)
{
    ASSERT_TRUE(t.open("set.arr", test::ArrFileBuilder(model, mode).image()));
}

TEST(ArrFormat, ProgramWordsInTheirCodeAndNameForms)
{
    struct Case {
        int model;
        uint16_t word;
        const char* code;
        const char* name;
    };
    const Case cases[] = {
        {'9', 0x000, "A11", "A11  Piano"},
        {'9', 0x040, "B11", "B11  SopranoSax"},
        {'9', 0x203, "Dr4", "Dr4  Elec Kit"},
        {'9', 0x208, "NUL", "NUL"}, // past the eight kits
        {'9', 0x300, "NUL", ""},
        {'9', 0x240, "NUL", ""},
        {'9', 0x340, "NUL", ""},
        {'9', 0x440, "B11", "B11  SopranoSax"}, // bit 0x400 does not count for family A
        {'<', 0x20F, "Dr28", nullptr},
        {'<', 0x300, "D11 ", "D11  Piano 8'"},
        {'<', 0x240, "NUL", "NUL"},
        {'H', 0x21B, "Dr44", nullptr},
        {'H', 0x21C, "NUL", "NUL"},
        {'M', 0x400, "Dr11", nullptr},
        {'M', 0x140, "D11 ", nullptr},
        {'M', 0x340, "?11 ", "NUL"},
        {'M', 0x500, "?11 ", "NUL"},
        {'I', 0x400, "R11 ", nullptr},
        {'I', 0x42D, "R66 ", "NUL"}, // kit 45 of 40
        {'I', 0x240, "?11 ", "NUL"},
        {'I', 0x440, "?11 ", ""},    // banks above 0x400 have no name
        {'M', 0x240, "F11 ", "F11"}, // user programs: the code alone without names
        {'M', 0x300, "F11 ", "F11"},
        {'I', 0x340, "G11 ", "G11"},
        {'9', 0x145, "U16", "U16"},
    };
    for (const Case& c : cases) {
        ArrTestDoc t;
        open(t, c.model, 1);
        EXPECT_EQ(FormatArrProgramName(t.doc, c.word, ArrProgramForm::Code), c.code) << char(c.model) << c.word;
        if (c.name) {
            EXPECT_EQ(FormatArrProgramName(t.doc, c.word, ArrProgramForm::Name), c.name) << char(c.model);
        }
    }
    // With the user program names read: "%s  %s" of the code and the name.
    ArrTestDoc m;
    std::vector<std::string> names(128);
    for (size_t i = 0; i < names.size(); ++i)
        names[i] = "User" + std::to_string(i);
    m.file("set.prg", test::userProgramFile('M', names));
    open(m, 'M');
    EXPECT_EQ(FormatArrProgramName(m.doc, 0x240, ArrProgramForm::Name), "F11  User0           ");
    EXPECT_EQ(FormatArrProgramName(m.doc, 0x300, ArrProgramForm::Name), "F11  User0           ");
    ArrTestDoc i;
    i.file("set.prg", test::userProgramFile('I', names));
    open(i, 'I');
    EXPECT_EQ(FormatArrProgramName(i.doc, 0x340, ArrProgramForm::Name), "G11  User64          ");
}

TEST(ArrFormat, PositionAndStyleLabels)
{
    EXPECT_EQ(ArrPositionLabel('I', 0), "F11");
    EXPECT_EQ(ArrPositionLabel('I', 64), "G11");
    EXPECT_EQ(ArrPositionLabel('I', 127), "G88");
    EXPECT_EQ(ArrPositionLabel('M', 9), "U22");
    EXPECT_EQ(ArrPositionLabel('<', 63), "D88");

    struct Case {
        int model;
        uint16_t style;
        const char* text;
    };
    const Case cases[] = {
        {'9', 0, "A11: Open Rock"},   {'9', 48, "U11: UserSt000"}, {'9', 51, "U14: UserSt003"},
        {'9', 52, "?15: ???"},        {'M', 256, "U11: UserSt000"}, {'M', 64, "B11: I. Waltz"},
        {'I', 64, "B11: Valzer"},     {'I', 0x200, "?11: ???"},     {'<', 72, "U11: UserSt000"},
        {'H', 107, "U14: UserSt003"}, {'M', 0x13F, "U88: UserSt063"}, // index 63: no name of 48
    };
    for (const Case& c : cases) {
        ArrTestDoc t;
        open(t, c.model);
        EXPECT_EQ(ArrStyleText(t.doc, c.style), c.text) << char(c.model) << c.style;
    }
    ArrTestDoc t;
    t.file("set.sty", test::userStyleFile('M', {"Mine"}));
    open(t, 'M');
    EXPECT_EQ(ArrStyleText(t.doc, 256), "U11: Mine            ");
    EXPECT_EQ(ArrStyleText(t.doc, 256 + 47), "U68: empty           ");
    EXPECT_EQ(ArrStyleText(t.doc, 256 + 48), "U71: UserSt048"); // past the 48 names read
}

TEST(ArrList, CellsShowTheRecordAndTheProgramColumnsWidenToNames)
{
    test::ArrFileBuilder builder('M');
    auto record = test::arrRecord('M', "Ballad", 0);
    record[17] = 64, record[18] = 0;    // style B11
    record[21] = 90;                    // tempo 120
    record[39] = 0x00, record[40] = 0x04; // DRUM: kit Dr11
    record[103] = 0x40, record[104] = 0x00; // LOW: B11
    builder.record(2, record);
    ArrTestDoc t;
    ASSERT_TRUE(t.open("set.arr", builder.image()));
    ArrListModel l(t.doc);
    ASSERT_EQ(l.Columns().size(), 13u);
    EXPECT_EQ(l.CellText(2, 0), "Ballad");
    EXPECT_EQ(l.CellText(2, 1), "U13");
    EXPECT_EQ(l.CellText(2, 2), "B11: I. Waltz");
    EXPECT_EQ(l.CellText(2, 3), "120");
    EXPECT_EQ(l.CellText(2, 4), "Dr11");
    EXPECT_EQ(l.CellText(2, 10), "B11 ");
    EXPECT_FALSE(l.ColumnClicked(2));
    EXPECT_TRUE(l.ColumnClicked(10));
    EXPECT_EQ(l.Columns()[4].width, 95);
    EXPECT_EQ(l.Columns()[3].width, 48);
    EXPECT_EQ(l.CellText(2, 4).substr(0, 6), "Dr11  ");
    EXPECT_TRUE(l.ColumnClicked(4));
    EXPECT_EQ(l.Columns()[4].width, 45);

    ArrTestDoc a;
    open(a, '9');
    EXPECT_EQ(ArrListModel(a.doc).CellText(0, 10), ""); // family A has no lower keyboard
}

TEST(ArrList, MovingAndRenaming)
{
    ArrTestDoc t;
    open(t, 'M');
    ArrListModel l(t.doc);
    const auto second = t.doc.items[1].data;
    t.select({1}, 1);
    l.MoveItem(-1);
    EXPECT_EQ(t.doc.items[0].data, second);
    EXPECT_EQ(t.doc.items[0].position, 0u);
    EXPECT_EQ(t.port.focused, 0);
    EXPECT_TRUE(t.doc.modified);
    t.doc.modified = false;
    l.MoveItem(-1); // the first row goes no higher
    t.select({63}, 63);
    l.MoveItem(+1);
    EXPECT_FALSE(t.doc.modified);

    // Rename: the name, and blank-padded in the record.
    t.select({}, 5);
    EXPECT_TRUE(l.CanRename());
    ASSERT_TRUE(l.EndLabelEdit(5, "Slow Blues and more"));
    EXPECT_EQ(t.doc.items[5].NameText(), "Slow Blues and m");
    EXPECT_EQ(std::string(t.doc.items[5].data.begin(), t.doc.items[5].data.begin() + 16), "Slow Blues and m");
    ASSERT_TRUE(l.EndLabelEdit(5, "Blues"));
    EXPECT_EQ(std::string(t.doc.items[5].data.begin(), t.doc.items[5].data.begin() + 17),
              std::string("Blues") + std::string(11, ' ') + char(16 + 5)); // byte 16 untouched
    // An emptied row cannot be renamed.
    t.doc.OnEditEmpty();
    EXPECT_FALSE(l.CanRename());
    EXPECT_FALSE(l.CanBeginLabelEdit(5));

    ArrTestDoc a;
    open(a, '9');
    ArrListModel al(a.doc);
    EXPECT_EQ(al.LabelLimit(), 10u);
    ASSERT_TRUE(al.EndLabelEdit(0, "Five"));
    EXPECT_EQ(std::string(a.doc.items[0].data.begin(), a.doc.items[0].data.begin() + 10), "Five      ");
}

std::vector<uint8_t> copyRows(ArrTestDoc& t, std::vector<int> rows)
{
    t.select(std::move(rows));
    auto block = ArrListModel(t.doc).CopyBlock();
    return block ? *block : std::vector<uint8_t>{};
}

TEST(ArrList, PastedBlocksAreCheckedThenConverted)
{
    ArrTestDoc r65, wq8, wq41;
    open(r65, 'M');
    open(wq8, '9');
    open(wq41, 'I', 2);
    const auto r65Block = copyRows(r65, {0, 1});
    ASSERT_EQ(r65Block.size(), 584u + 2 * 164);
    EXPECT_EQ(r65Block[0], 'M');
    EXPECT_EQ(r65Block[1], 6);
    const auto wq41Block = copyRows(wq41, {3});
    EXPECT_EQ(wq41Block[9], 2); // the record mode of the source

    // A WqR65 block into a Wq8 document: converted, 10-character names kept.
    wq8.makeRoom(2);
    ArrListModel l(wq8.doc);
    EXPECT_EQ(l.Paste(r65Block, "OnEditPaste"), 2);
    ASSERT_EQ(wq8.doc.Count(), 64);
    EXPECT_EQ(wq8.doc.items[62].Size(), 131u);
    EXPECT_EQ(wq8.doc.items[62].model, uint32_t('9'));
    EXPECT_EQ(wq8.doc.items[62].NameText(), "Arr1");
    EXPECT_EQ(wq8.doc.items[63].position, 63u);

    // A 194-byte Wq41 record into a new document sets its record mode.
    ArrTestDoc fresh;
    fresh.doc.OnNewDocument();
    EXPECT_EQ(ArrListModel(fresh.doc).Paste(wq41Block, "OnEditPaste"), 1);
    EXPECT_EQ(fresh.doc.model, 'I');
    EXPECT_EQ(fresh.doc.recordMode, 2);
    EXPECT_EQ(fresh.doc.items[0].data, wq41.doc.items[3].data);

    // A 164-byte Wq41 record into a record-mode-2 document: its 164 bytes, then a zero tail.
    ArrTestDoc one, two;
    open(one, 'I', 1);
    open(two, 'I', 2);
    two.makeRoom(1);
    EXPECT_EQ(ArrListModel(two.doc).Paste(copyRows(one, {5}), "OnEditPaste"), 1);
    auto tailed = one.doc.items[5].data;
    tailed.resize(194, 0);
    EXPECT_EQ(two.doc.items.back().data, tailed);

    auto badSize = r65Block;
    badSize[32] = 131; // a part size no 'M' record has
    auto badKind = r65Block;
    badKind[1] = 3; // a program block
    auto notOurs = r65Block;
    notOurs[0] = 'F';
    struct Case {
        std::vector<uint8_t> block;
        Said said;
    };
    const Case refused[] = {
        {badSize, {"35"}},
        {badKind, {"36"}},
        {notOurs, {}},
        {std::vector<uint8_t>(100), {"35"}},
    };
    for (const Case& c : refused) {
        ArrTestDoc d;
        open(d, 'M');
        d.makeRoom(1);
        EXPECT_EQ(ArrListModel(d.doc).Paste(c.block, "OnEditPaste"), 0);
        EXPECT_EQ(d.said(), c.said);
        EXPECT_EQ(d.doc.Count(), 63);
    }
}

TEST(ArrList, DropsMoveOnceAndRefuseTheirOwnRows)
{
    // A move within the full list needs no room; a copy needs a row of its own.
    struct Case {
        int room;
        std::vector<int> dragged;
        int target;
        bool move, dropped;
        std::vector<std::string> first;
    };
    const Case cases[] = {
        {0, {1, 2}, 5, true, true, {"Arr1", "Arr4", "Arr5", "Arr2", "Arr3", "Arr6"}},
        {0, {4}, 0, true, true, {"Arr5", "Arr1", "Arr2", "Arr3", "Arr4", "Arr6"}},
        {1, {1}, 3, false, true, {"Arr1", "Arr2", "Arr3", "Arr2", "Arr4", "Arr5"}},
        {0, {1}, 3, false, false, {"Arr1", "Arr2", "Arr3", "Arr4", "Arr5", "Arr6"}},
        {0, {1, 2, 3}, 3, true, false, {"Arr1", "Arr2", "Arr3", "Arr4", "Arr5", "Arr6"}},
    };
    for (const Case& c : cases) {
        ArrTestDoc t;
        open(t, 'M');
        t.makeRoom(c.room);
        ArrListModel l(t.doc);
        t.select(c.dragged, c.dragged[0]);
        const auto block = l.BeginDrag();
        ASSERT_TRUE(block);
        EXPECT_EQ(l.OnDrop(*block, c.target, c.move), c.dropped);
        l.EndDrag(c.move && c.dropped);
        std::vector<std::string> first;
        for (int i = 0; i < 6; ++i)
            first.push_back(t.doc.items[size_t(i)].NameText());
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(t.doc.Count(), 64 - c.room + (c.move || !c.dropped ? 0 : 1));
        for (int i = 0; i < t.doc.Count(); ++i)
            ASSERT_EQ(t.doc.items[size_t(i)].position, uint32_t(i));
    }
}

} // namespace
} // namespace zib
