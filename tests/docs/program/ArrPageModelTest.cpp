// The five arrangement pages without their windows: every control writes its
// own bytes and nothing else, OK without edits keeps the record but for the
// fixed normalisations, Cancel and pages never shown write nothing.
#include "docs/program/core/ArrPageModel.h"

#include "tests/docs/program/ProgramTestDoc.h"
#include "tests/support/ArrFileBuilder.h"

#include <gtest/gtest.h>

#include <set>

namespace zib {
namespace {

using ArrTestDoc = test::ProgramTestDoc<ArrDocModel>;
using Bytes = std::vector<uint8_t>;
using Offsets = std::set<size_t>;

constexpr size_t kBlocksA[9] = {34, 42, 50, 58, 66, 74, 82, 90, 0};
constexpr size_t kBlocksB[9] = {39, 47, 55, 63, 71, 79, 87, 95, 103};

// A record in which every control finds its value.
Bytes baseline(int model)
{
    const bool a = model == '9' || model == '<' || model == 'H';
    Bytes r = test::arrRecord(model, "Base", 0, model == 'I' ? 2 : 1);
    const auto at = [a](size_t offsetA, size_t offsetB) { return a ? offsetA : offsetB; };
    r[at(14, 21)] = 90;                      // tempo 120
    r[at(10, 17)] = 5, r[at(11, 18)] = 0;    // style 5
    r[at(12, 19)] = 0, r[at(13, 20)] = 4;    // init var 64
    r[at(16, 23)] = 60;                      // split
    r[at(15, 22)] = 2;                       // keyboard assign
    r[at(18, 25)] = 0xFE;                    // transpose -2
    r[at(26, 33)] = 1, r[at(27, 34)] = 2;    // kick, snare
    r[at(21, 28)] = 0x05;                    // chord scan flags
    for (size_t v = 0; v < 4; ++v)
        r[at(22, 29) + v] = uint8_t(v);      // drum maps
    r[at(17, 24)] = 2;                       // ensemble
    if (a) {
        r[30] = 1, r[31] = 0, r[32] = 2, r[33] = 0;
    } else {
        r[37] = 1, r[38] = 2;
    }
    for (int row = 0; row < 9; ++row) {
        const size_t b = a ? kBlocksA[row] : kBlocksB[row];
        if (b == 0) continue;
        r[b] = 1, r[b + 1] = 0; // program word 1
        r[b + 2] = 100;         // volume
        r[b + 3] = 15;          // pan
        r[b + 4] = 0x21;        // sends
        r[b + 5] = 0;           // octave
        r[b + 6] = 0x01;        // play, internal
        r[b + 7] = 255;         // wrap "STY"
    }
    return r;
}

// The record after `page` read `before`, had control `id` moved to its next
// option, and was written back.
Bytes afterChange(const ArrDocModel& doc, int page, int id, const Bytes& before)
{
    ArrPageModel p(page, doc, ArrProgramForm::Code);
    p.Read(before);
    ArrControl* c = p.Control(id);
    EXPECT_TRUE(c) << id;
    if (!c) return before;
    c->value = c->kind == ArrControl::Kind::Check ? 1 - c->value : (c->value + 1) % int(c->options.size());
    Bytes after = before;
    p.Write(after);
    return after;
}

Offsets changedBytes(const Bytes& a, const Bytes& b)
{
    Offsets out;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) out.insert(i);
    return out;
}

struct ControlCase {
    int page, id;
    Offsets a, b; // bytes that change in family A and family B records
};

std::vector<ControlCase> everyControl()
{
    using P = ArrPageModel;
    std::vector<ControlCase> cases = {
        {1, P::kTempo, {14}, {21}},         {1, P::kStyle, {10}, {17}},       {1, P::kInitVar, {12}, {19}},
        {1, P::kSplit, {16}, {23}},         {1, P::kAssign, {15}, {22}},      {2, P::kTranspose, {18}, {25}},
        {2, P::kKick, {26}, {33}},          {2, P::kSnare, {27}, {34}},       {2, P::kScanLow, {21}, {28}},
        {2, P::kScanHigh, {21}, {28}},      {2, P::kBassInversion, {21}, {28}}, {2, P::kChordHold, {21}, {28}},
        {2, P::kChordLatch, {21}, {28}},    {2, P::kMap1, {22}, {29}},        {2, P::kMap1 + 1, {23}, {30}},
        {2, P::kMap1 + 2, {24}, {31}},      {2, P::kMap1 + 3, {25}, {32}},    {5, P::kEnsemble, {17}, {24}},
        {5, P::kFill1, {30}, {37}},         {5, P::kFill2, {32}, {38}},
    };
    for (int row = 0; row < 9; ++row) {
        const size_t a = kBlocksA[row], b = kBlocksB[row];
        const auto in = [](size_t block, size_t at) { return block == 0 ? Offsets{} : Offsets{block + at}; };
        for (int control = 0; control < 5; ++control) {
            const size_t at = control == 0 ? 0 : control == 1 ? 2 : control == 2 ? 3 : 4;
            cases.push_back({3, P::kRows + 10 * row + control, in(a, at), in(b, at)});
        }
        if (row >= 2) cases.push_back({4, P::kRows4 + 10 * row, in(a, 5), in(b, 5)}); // octave
        if (row >= 2 && row <= 5) cases.push_back({4, P::kRows4 + 10 * row + 1, in(a, 7), in(b, 7)}); // wrap
        for (int control : {2, 3})
            cases.push_back({4, P::kRows4 + 10 * row + control, in(a, 6), in(b, 6)});
        if (row < 6) cases.push_back({4, P::kRows4 + 10 * row + 4, {}, in(b, 6)}); // synchro: Wq41 only
        if (row >= 6)
            for (int control : {5, 6})
                cases.push_back({4, P::kRows4 + 10 * row + control, in(a, 6), in(b, 6)});
    }
    return cases;
}

TEST(ArrPages, EveryControlWritesItsOwnBytesAndNoOthers)
{
    for (int model : {'9', 'I', 'M'}) {
        ArrTestDoc t;
        ASSERT_TRUE(t.open("set.arr", test::ArrFileBuilder(model, model == 'I' ? 2 : 1).image()));
        const bool a = model == '9';
        const Bytes before = baseline(model);
        for (const ControlCase& c : everyControl()) {
            ArrPageModel page(c.page, t.doc, ArrProgramForm::Code);
            const ArrControl* control = page.Control(c.id);
            ASSERT_TRUE(control) << char(model) << " control " << c.id;
            Offsets expected = a ? c.a : c.b;
            // Disabled controls write nothing: the Wq8's LOW row, DRUM and PERC
            // octaves and wraps, synchro outside the Wq41, the Wq41's three
            // chord scan flags it does not have.
            if (!control->enabled) expected.clear();
            if (c.page == 4 && (c.id % 10) == 4 && model != 'I') expected.clear();
            EXPECT_EQ(changedBytes(before, afterChange(t.doc, c.page, c.id, before)), expected)
                << char(model) << " page " << c.page << " control " << c.id << " " << control->label;
        }
    }
}

// The sheet of a record with every page shown in turn, then OK on the last
void okAfterEveryPage(ArrDocModel& doc, int row)
{
    ArrSheetModel sheet(doc, row, ArrProgramForm::Code);
    for (int p = 1; p <= 5; ++p) {
        sheet.Show(p);
        if (p < 5) sheet.Leave(p);
    }
    sheet.Ok(5);
}

TEST(ArrPages, OkWithoutEditsKeepsTheRecordButTheFixedNormalisations)
{
    for (int model : {'9', 'I', 'M'}) {
        ArrTestDoc t;
        ASSERT_TRUE(t.open("set.arr", test::ArrFileBuilder(model, model == 'I' ? 2 : 1).image()));
        const bool a = model == '9';
        Bytes before = baseline(model);
        const size_t bass = a ? 50 : 55, drum = a ? 34 : 39;
        before[bass + 7] = 20;   // a wrap no list has: 255
        before[bass + 5] = 5;    // an octave outside -2..2: 0
        before[drum + 5] = 5;    // DRUM keeps its octave
        before[drum + 6] = 0x8D; // bit 7 and a solo: kept, no control changed
        if (a) {
            before[32] = 0, before[33] = 1; // a fill word of 256: 0
        } else {
            before[38] = 20; // a family-B fill byte stays
        }
        t.doc.items[0].data = before;
        okAfterEveryPage(t.doc, 0);
        Bytes expected = before;
        expected[bass + 7] = 255;
        expected[bass + 5] = 0;
        if (a) expected[33] = 0;
        EXPECT_EQ(changedBytes(expected, t.doc.items[0].data), Offsets{}) << char(model);
        EXPECT_TRUE(t.doc.modified);
    }
}

TEST(ArrPages, AnUntouchedOkChangesNothing)
{
    for (int model : {'9', 'M'}) {
        ArrTestDoc t;
        ASSERT_TRUE(t.open("set.arr", test::ArrFileBuilder(model).image()));
        const Bytes before = baseline(model);
        t.doc.items[0].data = before;
        okAfterEveryPage(t.doc, 0);
        EXPECT_EQ(t.doc.items[0].data, before) << char(model);
        EXPECT_FALSE(t.doc.modified) << char(model);
    }
}

TEST(ArrPages, CancelAndPagesNeverShownWriteNothing)
{
    ArrTestDoc t;
    ASSERT_TRUE(t.open("set.arr", test::ArrFileBuilder('M').image()));
    Bytes before = baseline('M');
    before[55 + 7] = 20;
    t.doc.items[3].data = before;
    {
        ArrSheetModel sheet(t.doc, 3, ArrProgramForm::Code);
        sheet.Show(1);
        ASSERT_TRUE(sheet.Page(1).Choose(ArrPageModel::kTempo, "200"));
        sheet.Leave(1); // into the working copy only
        EXPECT_EQ(sheet.Copy()[21], 170);
    } // Cancel: the sheet goes
    EXPECT_EQ(t.doc.items[3].data, before);
    EXPECT_FALSE(t.doc.modified);

    // OK after page 1 only: page 4, never shown, leaves its wrap alone.
    ArrSheetModel sheet(t.doc, 3, ArrProgramForm::Code);
    sheet.Show(1);
    ASSERT_TRUE(sheet.Page(1).Choose(ArrPageModel::kTempo, "200"));
    sheet.Ok(1);
    EXPECT_EQ(t.doc.items[3].data[21], 170);
    EXPECT_EQ(t.doc.items[3].data[55 + 7], 20);
}

TEST(ArrPages, ListsAndModelRules)
{
    ArrTestDoc h;
    ASSERT_TRUE(h.open("set.arr", test::ArrFileBuilder('H').image()));
    ArrPageModel p3(3, h.doc, ArrProgramForm::Code);
    const auto& programs = p3.Control(ArrPageModel::kRows)->options;
    EXPECT_EQ(programs.size(), 412u);
    EXPECT_EQ(std::count_if(programs.begin(), programs.end(), [](const std::string& s) { return s.rfind("Dr", 0) == 0; }),
              28);
    EXPECT_EQ(programs[256], "Dr11");
    EXPECT_EQ(programs[283], "Dr44");
    EXPECT_FALSE(p3.Control(ArrPageModel::kRows + 80)->enabled); // family A has no LOW row
    ArrTestDoc w8;
    ASSERT_TRUE(w8.open("set.arr", test::ArrFileBuilder('9').image()));
    ArrPageModel w3(3, w8.doc, ArrProgramForm::Name);
    EXPECT_FALSE(w3.Control(ArrPageModel::kRows + 80)->enabled);
    EXPECT_EQ(w3.Control(ArrPageModel::kRows)->options.size(), 264u);
    EXPECT_EQ(w3.Control(ArrPageModel::kRows)->options[64], "B11  SopranoSax");
    ArrPageModel w1(1, w8.doc, ArrProgramForm::Code);
    const ArrControl* assign = w1.Control(ArrPageModel::kAssign);
    EXPECT_EQ(assign->options[0], "SINGLE");
    EXPECT_EQ(assign->options[3], "M. DRUMS");
    EXPECT_FALSE(assign->optionEnabled[4]);
    EXPECT_EQ(w1.Control(ArrPageModel::kStyle)->options.size(), 52u);

    // The Wq41 sets or clears synchro (bit 4); other models keep it.
    for (int model : {'I', 'M'}) {
        ArrTestDoc t;
        ASSERT_TRUE(t.open("set.arr", test::ArrFileBuilder(model, 1).image()));
        Bytes r = baseline(model);
        r[39 + 6] = 0x11;
        ArrPageModel p4(4, t.doc, ArrProgramForm::Code);
        p4.Read(r);
        ASSERT_TRUE(p4.Choose(ArrPageModel::kRows4 + 2, "MUTE"));
        p4.Write(r);
        EXPECT_EQ(r[39 + 6], 0x15) << char(model);
    }
}

} // namespace
} // namespace zib
