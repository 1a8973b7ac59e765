// Program, drum-kit, performance and arrangement lists filled through Import,
// Paste and a drop up to the number of items their file keeps, and one past
// it: the document refuses the one too many, and the file it saves opens
// again as the same document, every item in its place, without a warning.
#include "docs/program/core/ArrListModel.h"
#include "docs/program/core/ItemBlocks.h"
#include "docs/program/core/PcgListModel.h"
#include "docs/program/core/PrfListModel.h"
#include "tests/docs/program/ProgramTestDoc.h"
#include "tests/support/ArrFileBuilder.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/PrfFileBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace item_limits_test {

using Said = std::vector<std::string>;

// The list a document shows.
const std::vector<CPcgItem>& shown(const PcgDocModel& d)
{
    return d.ShownItems();
}
const std::vector<CQePrfItem>& shown(const PrfDocModel& d)
{
    return d.items;
}
const std::vector<CArrItem>& shown(const ArrDocModel& d)
{
    return d.items;
}

// The bank of a Qe item; arrangements have none.
template <class Item> int bankOf(const Item& item)
{
    return item.bank;
}
int bankOf(const CArrItem&)
{
    return -1;
}

// A row as the file keeps it: name, letter (a Wq item's; a Qe item takes the
// document's), bank (Qe), place and data.
template <class Model> std::vector<std::string> rows(const Model& d, bool qe)
{
    std::vector<std::string> out;
    for (const auto& item : shown(d)) {
        uint64_t hash = 1469598103934665603ull;
        for (uint8_t b : item.data)
            hash = (hash ^ b) * 1099511628211ull;
        std::ostringstream line;
        line << item.NameText() << "|" << (qe ? '-' : char(item.model)) << "|" << (qe ? bankOf(item) : -1)
             << "/" << item.position << "|" << item.Size() << ":" << std::hex << hash;
        out.push_back(line.str());
    }
    return out;
}

std::string itemName(int i)
{
    return "It" + std::to_string(100 + i);
}

// A list of a new document: its item files and clipboard blocks, and what its file keeps.
template <class Model> struct Case {
    const char* what;
    const char* file;                                  // the document's file name
    std::function<void(Model&)> start;                 // a new document showing the list
    std::function<std::vector<uint8_t>(int)> itemFile; // item i as an item file
    const char* extension;                             // of the item files
    std::function<std::vector<uint8_t>(int)> block;    // items 0 .. count - 1 as a block
    int limit;                                         // the items the file keeps
    int reopenedModel;                                 // the letter of the full file opened again
};

enum class Road { Import, Paste, Drop };

template <class Model, class List> void expectKeptAtTheLimit(const Case<Model>& c)
{
    const bool qe = c.reopenedModel == 'F' || c.reopenedModel == 'X';
    for (Road road : {Road::Import, Road::Paste, Road::Drop})
        for (int past : {0, 1}) {
            SCOPED_TRACE(std::string(c.what) + ", road " + std::to_string(int(road)) + ", past " +
                         std::to_string(past));
            test::ProgramTestDoc<Model> t;
            c.start(t.doc);
            const int count = c.limit + past;
            if (road == Road::Import) {
                std::vector<std::string> files;
                for (int i = 0; i < count; ++i)
                    files.push_back(t.file(itemName(i) + "." + c.extension, c.itemFile(i)));
                EXPECT_TRUE(t.doc.ImportFiles(files));
            } else if (road == Road::Paste) {
                EXPECT_EQ(List(t.doc).Paste(c.block(count), "OnEditPaste"), c.limit);
            } else {
                EXPECT_TRUE(List(t.doc).OnDrop(c.block(count), 0, false));
            }
            EXPECT_EQ(int(shown(t.doc).size()), c.limit);
            const Said refused = {
                road == Road::Import ? "25" : "MAX ITEM NUM reached. Pasted %d items from clipboard"};
            EXPECT_EQ(t.said(), past ? refused : Said{});

            const auto saved = t.doc.BuildFileImage();
            ASSERT_TRUE(saved) << (t.said().empty() ? "" : t.said().back());
            test::ProgramTestDoc<Model> again;
            ASSERT_TRUE(again.open(c.file, *saved));
            EXPECT_EQ(again.said(), Said{});
            EXPECT_FALSE(again.doc.modified);
            EXPECT_EQ(again.doc.model, c.reopenedModel);
            if constexpr (std::is_same_v<Model, PcgDocModel>) again.doc.shownList = t.doc.shownList;
            EXPECT_EQ(rows(again.doc, qe), rows(t.doc, qe));
        }
}

PcgBlock pcgBlock(int model, int fileKind, int list, int count, const std::function<PcgBlockItem(int)>& item)
{
    PcgBlock block;
    block.model = uint8_t(model);
    block.fileKind = uint32_t(fileKind);
    block.shownList = uint32_t(list);
    for (int i = 0; i < count; ++i)
        block.items.push_back(item(i));
    return block;
}

// Wq programs and drum kits of a new document of `newKind` (1 Wq8, 2 Wq41).
Case<PcgDocModel> wqList(const char* what, const char* file, int newKind, int model, int list, int limit)
{
    const int fileKind = newKind == 1 ? 3 : 11;
    const auto record = [model, list](int i) {
        return list == 1 ? test::wqProgramRecord(model, itemName(i), uint8_t(i))
                         : test::wqDrumKit(model, itemName(i), uint8_t(i));
    };
    return {what,
            file,
            [newKind, list](PcgDocModel& d) {
                d.OnNewDocument(newKind);
                d.shownList = list;
            },
            [model, record](int i) { return test::wqItemFile(model, record(i)); },
            list == 1 ? "WPF" : "WDK",
            [=](int count) {
                return EncodePcgBlock(pcgBlock(model, fileKind, list, count, [&](int i) {
                    return PcgBlockItem{record(i), 0, {}};
                }));
            },
            limit,
            model};
}

ItemName18 name18(const std::string& text)
{
    ItemName18 name{};
    std::copy_n(text.begin(), std::min(text.size(), name.size()), name.begin());
    return name;
}

} // namespace item_limits_test

using namespace item_limits_test;

// A Wq program file has a record for each of its 64 or 128 programs and 2 or
// 8 drum kits; a Qe program file a position for each of 128 programs.
TEST(ItemLimits, ProgramFilesKeepWhatTheDocumentTakes)
{
    // Qe programs: resources of a program file, each its own.
    test::ProgramTestDoc<PcgDocModel> source;
    std::vector<test::QeProgram> programs;
    for (uint8_t i = 0; i < 8; ++i)
        programs.push_back({"P" + std::to_string(i), 9, i, 4, uint8_t(i + 1)});
    ASSERT_TRUE(source.open("source.pcg", test::qePcgImage(programs)));
    const auto data = [&source](int i) { return source.doc.programs[size_t(i % 8)].data; };
    const Case<PcgDocModel> qePrograms{
        "Qe programs",
        "s.pcg",
        [](PcgDocModel& d) { d.OnNewDocument(3); },
        [data](int i) { return test::qeItemFile('F', itemName(i), 9, data(i)); },
        "WPF",
        [data](int count) {
            return EncodePcgBlock(pcgBlock('F', 3, 1, count, [&](int i) {
                return PcgBlockItem{data(i), 9, name18(itemName(i))};
            }));
        },
        128,
        'F'};
    const Case<PcgDocModel> cases[] = {
        wqList("Wq8 programs", "s.pcg", 1, '9', 1, 64),
        wqList("Wq41 programs", "s.prg", 2, 'I', 1, 128),
        wqList("Wq8 drum kits", "s.pcg", 1, '9', 2, 2),
        wqList("Wq41 drum kits", "s.prg", 2, 'I', 2, 8),
        qePrograms,
    };
    for (const auto& c : cases)
        expectKeptAtTheLimit<PcgDocModel, PcgListModel>(c);
}

// A performance file has 16 positions; more than 8 performances make it a
// Qe9z file, as the keyboards have it.
TEST(ItemLimits, PerformanceFilesKeepWhatTheDocumentTakes)
{
    const auto data = [](int i) { return test::performanceData(1 + i % 3, uint8_t(i)); };
    const Case<PrfDocModel> c{"performances",
                              "s.prf",
                              [](PrfDocModel& d) { d.OnNewDocument(); },
                              [data](int i) { return test::wffItemFile('F', itemName(i), data(i)); },
                              "WFF",
                              [data](int count) {
                                  PrfBlock block;
                                  block.model = 'F';
                                  for (int i = 0; i < count; ++i)
                                      block.items.push_back({data(i), name18(itemName(i))});
                                  return EncodePrfBlock(block);
                              },
                              16,
                              'X'};
    expectKeptAtTheLimit<PrfDocModel, PrfListModel>(c);
}

// An arrangement file has a record for each of 64 arrangements (128 for the
// Wq41); a new document takes the model of its first item.
TEST(ItemLimits, ArrangementFilesKeepWhatTheDocumentTakes)
{
    const auto arrangements = [](const char* what, int model, int limit) {
        return Case<ArrDocModel>{
            what,
            "s.arr",
            [](ArrDocModel& d) { d.OnNewDocument(); },
            [model](int i) {
                return test::wqItemFile(model, test::arrRecord(model, itemName(i), uint8_t(i)));
            },
            "WAF",
            [model](int count) {
                ArrBlock block;
                block.model = uint8_t(model);
                for (int i = 0; i < count; ++i)
                    block.records.push_back(test::arrRecord(model, itemName(i), uint8_t(i)));
                return EncodeArrBlock(block);
            },
            limit,
            model};
    };
    const Case<ArrDocModel> cases[] = {
        arrangements("Wq8", '9', 64),
        arrangements("WqR65", 'M', 64),
        arrangements("Wq41", 'I', 128),
    };
    for (const auto& c : cases)
        expectKeptAtTheLimit<ArrDocModel, ArrListModel>(c);
}

// "17: RESERVED !!!" is no category a performance file keeps: choosing it
// changes nothing; every other category comes back.
TEST(ItemLimits, PerformanceCategoriesAreThoseAFileKeeps)
{
    for (int category : {0, 15, 16, 17, 19}) {
        SCOPED_TRACE(category);
        test::ProgramTestDoc<PrfDocModel> t;
        ASSERT_TRUE(t.open("live.prf", test::qePrfImage({{"Pop Live", 2, 0, test::performanceData(1, 1)},
                                                         {"Jazz", 2, 1, test::performanceData(2, 2)}})));
        PrfListModel(t.doc).SetCategory(category);
        const int kept = category == 16 ? 2 : category;
        EXPECT_EQ(t.doc.bank, kept);
        EXPECT_EQ(t.doc.modified, category != 16);
        const auto saved = t.doc.BuildFileImage();
        ASSERT_TRUE(saved);
        test::ProgramTestDoc<PrfDocModel> again;
        ASSERT_TRUE(again.open("live.prf", *saved));
        EXPECT_EQ(again.said(), Said{});
        EXPECT_EQ(again.doc.bank, kept);
        EXPECT_EQ(rows(again.doc, true), rows(t.doc, true));
    }
}

} // namespace zib
