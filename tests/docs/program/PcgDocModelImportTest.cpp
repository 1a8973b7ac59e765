// Import Item(s): program and drum-kit item files with the series and model
// checks and the conversions between Wq models.
#include "tests/docs/program/PcgTestDoc.h"
#include "tests/support/PcgFileBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::wordAt;
using Said = std::vector<std::string>;

// A document of the model: opened from a whole file, or new and empty.
void openWq(test::PcgTestDoc& t, int model)
{
    ASSERT_TRUE(t.open(model == 'I' || model == 'M' ? "d.prg" : "d.pcg", test::WqPcgBuilder(model).image()));
}

TEST(PcgDocImport, ProgramItemFilesAreCheckedConvertedOrRefused)
{
    auto wq8 = test::wqProgramRecord('9', "Wq8Prog", 1);
    test::putWord(wq8, 12, 1); // multisample 1 becomes 2 on the Wq41
    test::putWord(wq8, 15, 3); // and 3 becomes 10
    struct Case {
        const char* what;
        int docModel; // 0: a new empty Wq41 document
        std::vector<uint8_t> file;
        PcgItemResult result;
        Said said;
    };
    const Case cases[] = {
        {"Wq8 into Wq41", 'I', test::wqItemFile('9', wq8), PcgItemResult::Added, {}},
        {"WqR65 into Wq41", 'I', test::wqItemFile('M', test::wqProgramRecord('M', "R65")), PcgItemResult::Added, {}},
        {"Wq6Q into Wq8", '9', test::wqItemFile('<', test::wqProgramRecord('<', "Q")), PcgItemResult::Failed, {"28"}},
        {"WqR65 into Wq8", '9', test::wqItemFile('M', test::wqProgramRecord('M', "R65")), PcgItemResult::Failed,
         {"40"}},
        {"Qe into Wq8", '9', test::qeItemFile('F', "Qe", 9, std::vector<uint8_t>(20)), PcgItemResult::Failed,
         {"39"}},
        {"one byte short", '9', test::wqItemFile('9', std::vector<uint8_t>(163)), PcgItemResult::Failed, {"27"}},
        {"not DASK", '9', {'K', 'S', 'A', 'D', '9', 1, 2}, PcgItemResult::Failed, {"26"}},
        {"no model", '9', test::wqItemFile('Z', std::vector<uint8_t>(164)), PcgItemResult::Failed, {"26"}},
        {"head only", '9', {'D', 'A', 'S', 'K'}, PcgItemResult::Failed, {"15"}},
    };
    for (const Case& c : cases) {
        test::PcgTestDoc t;
        openWq(t, c.docModel);
        const int before = t.doc.ProgramCount();
        EXPECT_EQ(t.doc.ImportPcg(t.file("x.WPF", c.file)), c.result) << c.what;
        EXPECT_EQ(t.said(), c.said) << c.what;
        EXPECT_EQ(t.doc.ProgramCount(), before + (c.result == PcgItemResult::Added ? 1 : 0)) << c.what;
    }

    // The converted Wq8 program in the Wq41 layout.
    test::PcgTestDoc t;
    openWq(t, 'I');
    ASSERT_EQ(t.doc.ImportPcg(t.file("x.WPF", test::wqItemFile('9', wq8))), PcgItemResult::Added);
    const CPcgItem& item = t.doc.programs.back();
    EXPECT_EQ(item.model, uint32_t('I'));
    EXPECT_EQ(item.position, 128u);
    ASSERT_EQ(item.Size(), 172u);
    EXPECT_EQ(item.data[16], 15);
    EXPECT_EQ(item.data[17], 0);
    EXPECT_EQ(wordAt(item.data, 20), 2);
    EXPECT_EQ(wordAt(item.data, 22), 10);
    EXPECT_EQ(item.NameText(), "Wq8Prog");

    // WqR65 into Wq41: only the model letter changes.
    const auto r65 = test::wqProgramRecord('M', "R65");
    ASSERT_EQ(t.doc.ImportPcg(t.file("y.WPF", test::wqItemFile('M', r65))), PcgItemResult::Added);
    EXPECT_EQ(t.doc.programs.back().model, uint32_t('I'));
    EXPECT_EQ(t.doc.programs.back().data, r65);
}

TEST(PcgDocImport, AnEmptyDocumentTakesTheModelOfItsFirstItem)
{
    test::PcgTestDoc t;
    t.doc.OnNewDocument(2); // Wq41 .PRG
    const auto wq8 = test::wqProgramRecord('9', "Wq8Prog");
    ASSERT_EQ(t.doc.ImportPcg(t.file("x.WPF", test::wqItemFile('9', wq8))), PcgItemResult::Added);
    EXPECT_EQ(t.doc.model, '9');
    EXPECT_EQ(t.doc.fileKind, 3);
    EXPECT_EQ(t.doc.programs[0].data, wq8); // taken unchanged

    // A Wq41 item into an empty Wq8 document is refused all the same.
    test::PcgTestDoc w;
    w.doc.OnNewDocument(1);
    EXPECT_EQ(w.doc.ImportPcg(w.file("x.WPF", test::wqItemFile('I', test::wqProgramRecord('I', "I")))),
              PcgItemResult::Failed);
    EXPECT_EQ(w.said(), Said{"40"});
}

TEST(PcgDocImport, QeProgramsTakeTheHeaderSizeNameAndTheDocumentsBank)
{
    // A program as a Qe program file holds it: a resource instance of type 4.
    test::PcgTestDoc q;
    ASSERT_TRUE(q.open("q.pcg", test::qePcgImage({{"P", 9, 0}})));
    const std::vector<uint8_t> data = q.doc.programs[0].data;
    test::PcgTestDoc t;
    t.doc.OnNewDocument(0);
    ASSERT_EQ(t.doc.ImportPcg(t.file("a.WPF", test::qeItemFile('X', "Grand Piano   \xA0", 3, data))),
              PcgItemResult::Added);
    const CPcgItem& item = t.doc.programs[0];
    EXPECT_EQ(item.data, data);
    EXPECT_EQ(item.NameText(), "Grand Piano");
    EXPECT_EQ(item.model, uint32_t('X'));
    EXPECT_EQ(item.bank, 9); // a document without programs takes bank 9
    EXPECT_EQ(t.doc.firstBank, 9);
    EXPECT_EQ(item.kind, 4u);
    EXPECT_EQ(t.doc.model, 'F');
    EXPECT_EQ(t.doc.fileKind, 3);

    struct Case {
        std::vector<uint8_t> file;
        Said said;
    };
    const Case refused[] = {
        {test::qeItemFile('F', "Short", 3, data, uint32_t(data.size() + 1)),
         {"27"}}, // the header promises more
        {test::qeItemFile('F', "Long", 3, data, uint32_t(data.size() - 1)),
         {"27"}},                                                      // or less than the file holds
        {test::qeItemFile('F', "Huge", 3, data, 0xFFFFFFF0u), {"27"}}, // an absurd size: nothing allocated
        {{'D', 'A', 'S', 'K', 'F', 1, 2, 3}, {"15"}},                  // the header itself is cut short
        {test::qeItemFile('F', "Empty", 3, {}), {"26"}}, // no data: listed, it would not be saved
        {test::wqItemFile('9', test::wqProgramRecord('9', "W")), {"38"}},
    };
    for (const Case& c : refused) {
        test::PcgTestDoc q;
        q.doc.OnNewDocument(0);
        EXPECT_EQ(q.doc.ImportPcg(q.file("c.WPF", c.file)), PcgItemResult::Failed);
        EXPECT_EQ(q.said(), c.said);
        EXPECT_EQ(q.doc.ProgramCount(), 0);
    }
}

TEST(PcgDocImport, DrumKitsAreCheckedAndConvertedWithTheirKitNumber)
{
    // A Wq41 file keeps eight drum kits: two deleted make room.
    test::PcgTestDoc t;
    openWq(t, 'I');
    t.doc.shownList = 2;
    t.makeRoom(2);
    auto kit = test::wqDrumKit('9', "Wq8Kit");
    ASSERT_TRUE(t.doc.ImportFiles({t.file("k.wdk", test::wqItemFile('9', kit))}));
    const CPcgItem& converted = t.doc.drumKits.back();
    EXPECT_EQ(converted.Size(), 1052u);
    EXPECT_EQ(converted.model, uint32_t('I'));
    EXPECT_EQ(wordAt(converted.data, 20), 6); // kit 7 of the Wq41: index mod 8
    EXPECT_EQ(converted.position, 6u);
    ASSERT_TRUE(t.doc.ImportFiles({t.file("k2.WDK", test::wqItemFile('9', kit))}));
    EXPECT_EQ(wordAt(t.doc.drumKits[7].data, 20), 7);
    // Index 9: the Wq41 numbers it 1, the WqR65 15.
    t.doc.drumKits.resize(10, t.doc.drumKits[0]);
    t.doc.drumKits[9] = t.doc.drumKits[0];
    t.doc.drumKits[9].data = kit;
    ASSERT_EQ(t.doc.ConvertDrumKit('9', 'I', 9), 0);
    EXPECT_EQ(wordAt(t.doc.drumKits[9].data, 20), 1);
    t.doc.drumKits[9].data = kit;
    ASSERT_EQ(t.doc.ConvertDrumKit('9', 'M', 9), 0);
    EXPECT_EQ(wordAt(t.doc.drumKits[9].data, 20), 15);

    test::PcgTestDoc r;
    openWq(r, 'M');
    r.doc.shownList = 2;
    r.makeRoom(3);
    ASSERT_TRUE(r.doc.ImportFiles(
        {r.file("a.WDK", test::wqItemFile('9', kit)), r.file("b.WDK", test::wqItemFile('9', kit))}));
    EXPECT_EQ(wordAt(r.doc.drumKits[5].data, 20), 15);
    EXPECT_EQ(wordAt(r.doc.drumKits[6].data, 20), 14);
    // Wq41 and WqR65 kits trade their kit word.
    ASSERT_TRUE(r.doc.ImportFiles({r.file("c.WDK", test::wqItemFile('I', test::wqDrumKit('I', "I")))}));
    EXPECT_EQ(wordAt(r.doc.drumKits[7].data, 20), 15);
    EXPECT_EQ(r.doc.drumKits[7].model, uint32_t('M'));

    struct Case {
        int docModel;
        std::vector<uint8_t> file;
        Said said;
    };
    const Case refused[] = {
        {'9', test::wqItemFile('I', test::wqDrumKit('I', "I")), {"41"}},
        {'9', test::wqItemFile('9', std::vector<uint8_t>(1483)), {"14"}},
        {'I', test::wqItemFile('M', std::vector<uint8_t>(1484)), {"14"}},
        {'9', {'D', 'A', 'S', 'K'}, {"13"}},
        {'9', test::wqItemFile('F', std::vector<uint8_t>(1484)), {"39"}},
    };
    for (const Case& c : refused) {
        test::PcgTestDoc d;
        openWq(d, c.docModel);
        d.doc.shownList = 2;
        d.makeRoom(1);
        const int before = d.doc.DrumKitCount();
        EXPECT_EQ(d.doc.ImportDrumKit(d.file("x.WDK", c.file)), PcgItemResult::Failed);
        EXPECT_EQ(d.said(), c.said);
        EXPECT_EQ(d.doc.DrumKitCount(), before);
    }
}

TEST(PcgDocImport, TheBatchStopsAtTheLimitAtAWrongExtensionAndAtAFailure)
{
    const auto item = test::wqItemFile('9', test::wqProgramRecord('9', "P"));
    {
        // A Wq8 file keeps 64 programs.
        test::PcgTestDoc t;
        openWq(t, '9');
        t.makeRoom(1);
        ASSERT_EQ(t.doc.ProgramCount(), 63);
        const auto a = t.file("a.wpf", item), b = t.file("b.WPF", item), c = t.file("c.WPF", item);
        EXPECT_TRUE(t.doc.ImportFiles({a, b, c})); // the 65th is refused, the rest not tried
        EXPECT_EQ(t.doc.ProgramCount(), 64);
        EXPECT_EQ(t.said(), Said{"25"});
        EXPECT_TRUE(t.doc.modified);
        EXPECT_FALSE(t.doc.ImportItem()); // full already: no dialog
        EXPECT_EQ(t.said(), (Said{"25", "25"}));
        EXPECT_TRUE(t.port.choices.empty());
    }
    {
        test::PcgTestDoc t;
        openWq(t, '9');
        t.makeRoom(2);
        EXPECT_FALSE(t.doc.ImportFiles({t.file("a.WPF", item), t.file("b.sty", item), t.file("c.WPF", item)}));
        EXPECT_EQ(t.doc.ProgramCount(), 63);
        EXPECT_EQ(t.port.texts(), Said{"Error: Not WPF file type: STY"});
        EXPECT_EQ(t.captions(), Said{"ImportItem"});
        EXPECT_TRUE(t.doc.modified); // the item imported before the refused file is kept
    }
    {
        test::PcgTestDoc t;
        openWq(t, '9');
        t.makeRoom(2);
        const auto bad = t.file("bad.WPF", test::wqItemFile('9', std::vector<uint8_t>(10)));
        EXPECT_FALSE(t.doc.ImportFiles({t.file("a.WPF", item), bad, t.file("c.WPF", item)}));
        EXPECT_EQ(t.doc.ProgramCount(), 63);
        EXPECT_TRUE(t.doc.modified);
        EXPECT_FALSE(t.doc.ImportFiles({(t.dir / "missing.WPF").string()}));
        EXPECT_EQ(t.port.messages.back().what, "Cannot open file - %d");
    }
}

TEST(PcgDocImport, ConversionDispatchCoversEveryPair)
{
    test::PcgTestDoc t;
    openWq(t, '9');
    t.doc.programs[0].data = test::wqProgramRecord('9', "A");
    struct Case {
        int source, target, result;
    };
    const Case programCases[] = {{'<', '9', -1}, {'H', 'I', -1}, {'9', '<', -1}, {'I', '9', -2},
                                 {'M', '9', -2}, {'9', 'F', -1}, {'I', 'M', 0},  {'M', 'I', 0}};
    for (const Case& c : programCases)
        EXPECT_EQ(t.doc.ConvertProgram(c.source, c.target, 0), c.result) << char(c.source) << char(c.target);
    EXPECT_EQ(t.doc.ConvertProgram('9', 'M', 0), 0);
    EXPECT_EQ(t.doc.programs[0].model, uint32_t('M'));
    EXPECT_EQ(t.doc.programs[0].Size(), 172u);
    EXPECT_EQ(t.doc.ConvertProgram('9', 'I', 1000), -1);
    EXPECT_EQ(t.doc.ConvertDrumKit('<', 'I', 0), -1);
    EXPECT_EQ(t.doc.ConvertDrumKit('I', '9', 0), -2);
}

TEST(PcgDocImport, ARefusedConversionLeavesNothingBehindForTheNextImport)
{
    // The Wq6Q program cannot become a Wq8 program; the next Wq8 program is
    // then taken as it is, not mistaken for the refused one.
    test::PcgTestDoc t;
    openWq(t, '9');
    t.makeRoom(1);
    const auto good = test::wqProgramRecord('9', "Good", 5);
    EXPECT_FALSE(t.doc.ImportFiles({t.file("q.WPF", test::wqItemFile('<', test::wqProgramRecord('<', "Q"))),
                                    t.file("g.WPF", test::wqItemFile('9', good))}));
    EXPECT_EQ(t.doc.ProgramCount(), 63);
    EXPECT_TRUE(t.doc.ImportFiles({t.file("g.WPF", test::wqItemFile('9', good))}));
    EXPECT_EQ(t.doc.ProgramCount(), 64);
    EXPECT_EQ(t.doc.programs.back().data, good);
    EXPECT_EQ(t.said(), Said{"28"});
    EXPECT_EQ(t.port.events.back(), "scroll 63");
}

TEST(PcgDocImport, AnEmptyDocumentTakesTheFileKindOfItsFirstItemsFamily)
{
    struct Case {
        int newKind;
        int list; // 1 programs, 2 drum kits
        std::vector<uint8_t> file;
        int model, fileKind;
    };
    const Case cases[] = {
        {2, 2, test::wqItemFile('9', test::wqDrumKit('9', "K")), '9', 3},
        {2, 1, test::wqItemFile('<', test::wqProgramRecord('<', "P")), '<', 3},
        {2, 2, test::wqItemFile('M', test::wqDrumKit('M', "K")), 'M', 11},
        {2, 1, test::wqItemFile('M', test::wqProgramRecord('M', "P")), 'M', 11},
    };
    for (const Case& c : cases) {
        test::PcgTestDoc t;
        t.doc.OnNewDocument(c.newKind);
        t.doc.shownList = c.list;
        EXPECT_TRUE(t.doc.ImportFiles({t.file(c.list == 1 ? "x.WPF" : "x.WDK", c.file)}));
        EXPECT_EQ(t.doc.model, c.model);
        EXPECT_EQ(t.doc.fileKind, c.fileKind);
        EXPECT_NE(std::find(t.port.events.begin(), t.port.events.end(), "refill"), t.port.events.end());
    }
}

TEST(PcgDocImport, TheImportDialogStartsInTheDocumentsFolder)
{
    test::PcgTestDoc t;
    openWq(t, '9');
    t.makeRoom(1);
    t.port.openAnswers.push_back({t.file("a.WPF", test::wqItemFile('9', test::wqProgramRecord('9', "A")))});
    t.doc.OnEditImport();
    ASSERT_EQ(t.port.choices.size(), 1u);
    EXPECT_EQ(t.port.choices[0].title, "Import Programs");
    EXPECT_EQ(t.port.choices[0].filter, "WqProgram Files (*.WPF)|*.WPF||");
    EXPECT_EQ(t.port.choices[0].folder, t.dir.path().string());
    EXPECT_EQ(t.doc.ProgramCount(), 64);
    EXPECT_FALSE(t.doc.importing);
    t.doc.shownList = 2;
    t.makeRoom(1);
    t.doc.OnEditImport(); // cancelled
    ASSERT_EQ(t.port.choices.size(), 1u);
    EXPECT_EQ(t.port.choices[0].title, "Import DrumKit");
    EXPECT_EQ(t.port.choices[0].defaultExt, "WDK");
    EXPECT_EQ(t.doc.DrumKitCount(), 1);
}

} // namespace
} // namespace zib
