// The arrangement document: the four layouts, the sibling name files, the
// item commands and .WAF item files, and saving.
#include "docs/program/core/ArrDocModel.h"

#include "tests/docs/program/ProgramTestDoc.h"
#include "tests/support/ArrFileBuilder.h"
#include "tests/support/RealFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace zib {
namespace {

using ArrTestDoc = test::ProgramTestDoc<ArrDocModel>;
using Said = std::vector<std::string>;

std::vector<uint8_t> waf(int model, const std::vector<uint8_t>& record)
{
    std::vector<uint8_t> out(5 + record.size());
    const uint8_t magic[] = {'D', 'A', 'S', 'K', uint8_t(model)};
    std::copy(std::begin(magic), std::end(magic), out.begin());
    std::copy(record.begin(), record.end(), out.begin() + 5);
    return out;
}

std::string fileName(int model)
{
    return std::string("set_") + char(model) + ".arr";
}

TEST(ArrDocOpen, EachLayoutIsCheckedByItsExactSize)
{
    struct Case {
        const char* what;
        int model, mode;
        int grow; // bytes added (or taken) at the end
        bool opens;
        Said said;
    };
    const Case cases[] = {
        {"Wq8", '9', 1, 0, true, {}},
        {"Wq6", '<', 1, 0, true, {}},
        {"WqT517", 'H', 1, 0, true, {}},
        {"WqR65", 'M', 1, 0, true, {}},
        {"Wq41 mode 1", 'I', 1, 0, true, {}},
        {"Wq41 mode 2", 'I', 2, 0, true, {}},
        {"Wq8 short", '9', 1, -1, false, {"14"}},
        {"Wq8 long", '9', 1, 1, false, {"14"}},
        {"WqR65 long", 'M', 1, 1, false, {"14"}},
        {"Wq41 between", 'I', 1, 30, false, {"14"}},
        {"Wq41 huge", 'I', 2, 1 << 20, false, {"14"}},
    };
    for (const Case& c : cases) {
        auto image = test::ArrFileBuilder(c.model, c.mode).image();
        if (c.grow < 0)
            image.resize(image.size() - size_t(-c.grow));
        else
            image.resize(image.size() + size_t(c.grow), 0x33);
        ArrTestDoc t;
        EXPECT_EQ(t.open(fileName(c.model), image), c.opens) << c.what;
        EXPECT_EQ(t.said(), c.said) << c.what;
        EXPECT_EQ(t.captions(), c.opens ? Said{} : Said{"ParseArr"}) << c.what;
        if (!c.opens) continue;
        EXPECT_EQ(t.doc.Count(), c.model == 'I' ? 128 : 64) << c.what;
        EXPECT_EQ(t.doc.recordMode, c.mode) << c.what;
        EXPECT_EQ(t.port.lastOpenedKind, 6) << c.what;
    }
}

TEST(ArrDocOpen, WhatIsNoArrangementFileIsRefused)
{
    auto z = test::ArrFileBuilder('9').image();
    z[4] = 'Z';
    struct Case {
        const char* name;
        std::vector<uint8_t> image;
        Said said;
    };
    const Case cases[] = {
        {"empty.arr", {}, {"46"}},
        {"tiny.arr", {'D', 'A', 'S'}, {"17"}}, // nothing read past the four bytes
        {"four.arr", {'D', 'A', 'S', 'K'}, {"17"}},
        {"other.arr", {'K', 'S', 'A', 'D', '9', 0, 0}, {"17"}},
        {"z.arr", z, {"18"}},
        {"a.sty", test::ArrFileBuilder('9').image(), {}}, // another extension: refused without a word
    };
    for (const Case& c : cases) {
        ArrTestDoc t;
        EXPECT_FALSE(t.open(c.name, c.image)) << c.name;
        EXPECT_EQ(t.said(), c.said) << c.name;
        EXPECT_TRUE(t.doc.items.empty());
    }
    ArrTestDoc lower;
    EXPECT_TRUE(lower.open("lower.arr", test::ArrFileBuilder('M').image()));
}

TEST(ArrDocOpen, RecordsKeepTheirBytesAndModeTwoTailsJoinThem)
{
    test::ArrFileBuilder builder('I', 2);
    auto record = test::arrRecord('I', "Tail Arr", 7, 2);
    builder.record(3, record);
    ArrTestDoc t;
    ASSERT_TRUE(t.open("a.arr", builder.image()));
    ASSERT_EQ(t.doc.items[3].Size(), 194u);
    EXPECT_EQ(t.doc.items[3].data, record);
    EXPECT_EQ(t.doc.items[3].NameText(), "Tail Arr");
    EXPECT_EQ(t.doc.items[3].position, 3u);
    EXPECT_EQ(t.doc.head.size(), 32u);

    ArrTestDoc a;
    ASSERT_TRUE(a.open("b.arr", test::ArrFileBuilder('<').image()));
    EXPECT_EQ(a.doc.items[63].NameText(), "Arr64");
    EXPECT_EQ(a.doc.items[63].Size(), 131u);
    EXPECT_EQ(a.doc.head.size(), 672u);
}

TEST(ArrDocOpen, UserNamesComeFromTheSiblingFilesWhenTheyFit)
{
    struct Case {
        const char* what;
        int model;
        std::vector<uint8_t> sty; // empty: none
        std::vector<uint8_t> prg;
        const char* styName;
        const char* prgName;
        bool styles, programs;
    };
    auto shortSty = test::userStyleFile('M', {"A", "B"});
    shortSty.resize(224 + 1176 * 47 + 5); // the last style's name runs past the end
    auto nonsense = test::userStyleFile('M', {"A"});
    nonsense[24] = 0xFF; // a size far past the file, then a second name is wanted
    nonsense[25] = 0xFF;
    nonsense[28] = 1;
    auto shortPrg = test::userProgramFile('M', {"P"});
    shortPrg.resize(48 + 172 * 100);
    const Case cases[] = {
        {"R65 both", 'M', test::userStyleFile('M', {"My Pop", "My Rock"}), test::userProgramFile('M', {"Lead"}),
         "set_M.sty", "set_M.prg", true, true},
        {"case of the names", 'M', test::userStyleFile('M', {"My Pop"}), test::userProgramFile('M', {"Lead"}),
         "SET_M.STY", "Set_M.Prg", true, true},
        {"other letter", 'M', test::userStyleFile('I', {"X"}), test::userProgramFile('9', {"X"}), "set_M.sty",
         "set_M.prg", false, false},
        {"Wq6 takes a Wq8 style file", '<', test::userStyleFile('9', {"Mine"}), test::userProgramFile('<', {"Prg"}),
         "set_<.sty", "set_<.pcg", true, true},
        {"Wq8 wants its own", '9', test::userStyleFile('<', {"Mine"}), test::userProgramFile('9', {"Prg"}),
         "set_9.sty", "set_9.pcg", false, true},
        {"truncated", 'M', shortSty, shortPrg, "set_M.sty", "set_M.prg", false, false},
        {"nonsense sizes", 'M', nonsense, {}, "set_M.sty", "", false, false},
        {"missing", 'I', {}, {}, "", "", false, false},
        {"head only", 'I', {'D', 'A', 'S', 'K', 'I'}, {'D', 'A'}, "set_I.sty", "set_I.prg", false, false},
    };
    for (const Case& c : cases) {
        ArrTestDoc t;
        if (!c.sty.empty()) t.file(c.styName, c.sty);
        if (!c.prg.empty()) t.file(c.prgName, c.prg);
        ASSERT_TRUE(t.open(fileName(c.model), test::ArrFileBuilder(c.model).image())) << c.what;
        EXPECT_TRUE(t.port.messages.empty()) << c.what;
        EXPECT_EQ(t.doc.userStyleNamesRead, c.styles) << c.what;
        EXPECT_EQ(t.doc.userProgramNamesRead, c.programs) << c.what;
        if (!c.styles) {
            EXPECT_EQ(t.doc.userStyleNames[0][0], '\0') << c.what;
        }
        if (!c.programs) {
            EXPECT_EQ(t.doc.userProgramNames[0][0], '\0') << c.what;
        }
    }
    ArrTestDoc t;
    t.file("set_M.sty", test::userStyleFile('M', {"My Pop", "My Rock"}));
    t.file("set_M.prg", test::userProgramFile('M', {"Lead", "Pad"}));
    ASSERT_TRUE(t.open("set_M.arr", test::ArrFileBuilder('M').image()));
    EXPECT_EQ(std::string(t.doc.userStyleNames[1].data()), "My Rock         ");
    EXPECT_EQ(std::string(t.doc.userProgramNames[1].data()), "Pad             ");
    ArrTestDoc a;
    a.file("set_9.sty", test::userStyleFile('9', {"S1", "S2", "S3", "S4"}));
    a.file("set_9.pcg", test::userProgramFile('9', {"P1", "P2"}));
    ASSERT_TRUE(a.open("set_9.arr", test::ArrFileBuilder('9').image()));
    EXPECT_EQ(std::string(a.doc.userStyleNames[3].data()), "S4        ");
    EXPECT_EQ(std::string(a.doc.userProgramNames[1].data()), "P2        ");
}

TEST(ArrDocItems, DeleteEmptyAndExtractActOnTheSelection)
{
    ArrTestDoc t;
    ASSERT_TRUE(t.open("a.arr", test::ArrFileBuilder('M').image()));
    t.select({}, -1);
    t.doc.OnEditDelete();
    EXPECT_EQ(t.doc.Count(), 64);
    t.select({5, 2}, 9);
    t.doc.OnEditDelete();
    ASSERT_EQ(t.doc.Count(), 62);
    EXPECT_EQ(t.doc.items[2].NameText(), "Arr4");
    EXPECT_EQ(t.doc.items[2].position, 2u);
    EXPECT_TRUE(t.doc.modified);

    t.select({}, 0);
    t.doc.OnEditEmpty();
    std::vector<uint8_t> emptied(164, 0);
    const std::string name = "EMPTYARR        ";
    std::copy(name.begin(), name.end(), emptied.begin());
    EXPECT_EQ(t.doc.items[0].data, emptied);
    EXPECT_EQ(t.doc.items[0].NameText(), "EMPTYARR");

    const std::string out = t.path("x.WAF");
    t.select({}, 1);
    t.port.saveAnswers.push_back(out);
    t.doc.OnEditExtract();
    EXPECT_EQ(t.port.choices.back().filter, "WqArrange Files (*.WAF)|*.WAF||");
    EXPECT_EQ(t.port.choices.back().fileName, "Arr2");
    EXPECT_EQ(test::readFileBytes(out), waf('M', t.doc.items[1].data));
    t.select({}, -1);
    t.doc.OnEditExtract();
    EXPECT_EQ(t.said(), Said{"23"});
}

TEST(ArrDocItems, ImportedItemsTakeTheDocumentsRecordSizeAndModel)
{
    struct Case {
        const char* what;
        int docModel, docMode; // docModel 0: a new document
        std::vector<uint8_t> file;
        bool added;
        Said said;
        int model, mode;
        size_t size;
    };
    const auto i164 = test::arrRecord('I', "I164", 1, 1);
    const auto i194 = test::arrRecord('I', "I194", 1, 2);
    const Case cases[] = {
        {"164 into empty", 0, 1, waf('I', i164), true, {}, 'I', 1, 164},
        {"194 into empty", 0, 1, waf('I', i194), true, {}, 'I', 2, 194},
        {"194 into mode 1", 'I', 1, waf('I', i194), true, {}, 'I', 1, 164},
        {"164 into mode 2", 'I', 2, waf('I', i164), true, {}, 'I', 2, 194},
        {"Wq8 into R65", 'M', 1, waf('9', test::arrRecord('9', "W8")), true, {}, 'M', 1, 164},
        {"R65 into Wq41 mode 2", 'I', 2, waf('M', test::arrRecord('M', "R")), true, {}, 'I', 2, 194},
        {"wrong size", 'M', 1, waf('9', std::vector<uint8_t>(130)), false, {"27"}, 'M', 1, 0},
        {"no model", 'M', 1, waf('Z', std::vector<uint8_t>(131)), false, {"26"}, 'M', 1, 0},
        {"not DASK", 'M', 1, {'K', 'S', 'A', 'D', 'M', 1}, false, {"26"}, 'M', 1, 0},
        {"head cut short", 'M', 1, {'D', 'A', 'S'}, false, {"15"}, 'M', 1, 0},
    };
    for (const Case& c : cases) {
        ArrTestDoc t;
        if (c.docModel)
            ASSERT_TRUE(t.open("d.arr", test::ArrFileBuilder(c.docModel, c.docMode).image()));
        else
            t.doc.OnNewDocument();
        t.makeRoom(1);
        if (!c.docModel) t.doc.items.clear();
        const int before = t.doc.Count();
        EXPECT_EQ(t.doc.ImportFiles({t.file("x.waf", c.file)}), c.added) << c.what;
        EXPECT_EQ(t.said(), c.said) << c.what;
        EXPECT_EQ(t.doc.Count(), before + (c.added ? 1 : 0)) << c.what;
        EXPECT_EQ(t.doc.model, c.model) << c.what;
        EXPECT_EQ(t.doc.recordMode, c.mode) << c.what;
        if (c.added) {
            EXPECT_EQ(t.doc.items.back().Size(), c.size) << c.what;
            EXPECT_EQ(t.doc.items.back().position, uint32_t(before)) << c.what;
        }
    }
    // The tails: a 164-byte item gets zeros, a 194-byte one keeps only its first 164 bytes.
    ArrTestDoc two;
    ASSERT_TRUE(two.open("d.arr", test::ArrFileBuilder('I', 2).image()));
    two.makeRoom(1);
    two.doc.ImportFiles({two.file("x.waf", waf('I', i164))});
    EXPECT_EQ(std::vector<uint8_t>(two.doc.items.back().data.begin() + 164, two.doc.items.back().data.end()),
              std::vector<uint8_t>(30, 0));
    ArrTestDoc one;
    ASSERT_TRUE(one.open("d.arr", test::ArrFileBuilder('I', 1).image()));
    one.makeRoom(1);
    one.doc.ImportFiles({one.file("x.waf", waf('I', i194))});
    EXPECT_EQ(one.doc.items.back().data, std::vector<uint8_t>(i194.begin(), i194.begin() + 164));
}

TEST(ArrDocItems, TheImportBatchStopsAtTheLimitAndAtAWrongExtension)
{
    ArrTestDoc t;
    // A WqR65 file keeps 64 arrangements.
    ASSERT_TRUE(t.open("d.arr", test::ArrFileBuilder('M').image()));
    t.makeRoom(1);
    const auto item = waf('M', test::arrRecord('M', "New"));
    EXPECT_TRUE(t.doc.ImportFiles({t.file("a.WAF", item), t.file("b.WAF", item)}));
    EXPECT_EQ(t.doc.Count(), 64);
    EXPECT_EQ(t.said(), Said{"25"});
    t.port.clear();
    t.doc.ImportItem(); // full: no dialog
    EXPECT_EQ(t.said(), Said{"25"});
    EXPECT_TRUE(t.port.choices.empty());

    ArrTestDoc w;
    ASSERT_TRUE(w.open("d.arr", test::ArrFileBuilder('M').image()));
    w.makeRoom(2);
    EXPECT_FALSE(w.doc.ImportFiles({w.file("a.waf", item), w.file("b.sty", item), w.file("c.WAF", item)}));
    EXPECT_EQ(w.doc.Count(), 63);
    EXPECT_EQ(w.port.texts(), Said{"Error: Not WAF file type: STY"});
    EXPECT_TRUE(w.doc.modified); // the item imported before it is kept and must be saved
}

TEST(ArrDocItems, ExtractThenImportGivesTheSameRecordBack)
{
    struct Case {
        int model, mode;
        size_t fileSize;
    };
    for (const Case c : {Case{'9', 1, 136}, Case{'M', 1, 169}, Case{'I', 2, 199}}) {
        ArrTestDoc t;
        ASSERT_TRUE(t.open("d.arr", test::ArrFileBuilder(c.model, c.mode).image()));
        t.makeRoom(1);
        const std::string file = t.path("item.WAF");
        ASSERT_TRUE(t.doc.ExtractItem(7, file));
        const auto bytes = test::readFileBytes(file);
        EXPECT_EQ(bytes.size(), c.fileSize);
        ASSERT_TRUE(t.doc.ImportFiles({file}));
        ASSERT_TRUE(t.doc.ExtractItem(t.doc.Count() - 1, t.path("again.WAF")));
        EXPECT_EQ(test::readFileBytes(t.path("again.WAF")), bytes);
    }
}

TEST(ArrDocSave, EveryLayoutSavesAndReopensWithItsRowsAndRecords)
{
    struct Case {
        int model, mode;
    };
    for (const Case c : {Case{'9', 1}, Case{'<', 1}, Case{'H', 1}, Case{'M', 1}, Case{'I', 1}, Case{'I', 2}}) {
        const auto image = test::ArrFileBuilder(c.model, c.mode).image();
        ArrTestDoc t;
        ASSERT_TRUE(t.open("d.arr", image));
        auto built = t.doc.BuildFileImage();
        ASSERT_TRUE(built);
        EXPECT_EQ(*built, image) << char(c.model);
        // Fewer rows: the file is filled with emptied records at the end.
        t.select({0, 1});
        t.doc.OnEditDelete();
        ASSERT_TRUE(t.doc.SaveTo(t.path("saved.arr")));
        ArrTestDoc again;
        ASSERT_TRUE(again.open("again.arr", test::readFileBytes(t.path("saved.arr"))));
        ASSERT_EQ(again.doc.Count(), t.doc.Count() + 2);
        for (int i = 0; i < t.doc.Count(); ++i)
            EXPECT_EQ(again.doc.items[size_t(i)].data, t.doc.items[size_t(i)].data);
        EXPECT_EQ(again.doc.items.back().data, t.doc.EmptyRecord());
        EXPECT_EQ(again.doc.items.back().NameText(), "EMPTYARR");
        EXPECT_EQ(again.doc.head, t.doc.head);
    }
    // More rows than the file has: refused, the file untouched.
    ArrTestDoc t;
    ASSERT_TRUE(t.open("d.arr", test::ArrFileBuilder('M').image()));
    t.doc.items.push_back(t.doc.items[0]);
    EXPECT_FALSE(t.doc.SaveTo(t.path("d.arr")));
    EXPECT_EQ(t.port.texts(), Said{"Cannot save: the list holds 65 items, the file has room for 64"});
    EXPECT_EQ(test::readFileBytes(t.path("d.arr")), test::ArrFileBuilder('M').image());
    // A new document writes a head of its own.
    ArrTestDoc n;
    n.doc.OnNewDocument();
    ASSERT_TRUE(n.doc.SaveTo(n.path("new.arr")));
    const auto bytes = test::readFileBytes(n.path("new.arr"));
    ASSERT_EQ(bytes.size(), 9056u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), "DASK9");
}

} // namespace
} // namespace zib
