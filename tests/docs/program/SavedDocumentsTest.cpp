// Program, performance, arrangement, arrangement-global and global documents
// edited through their own commands, saved, and the saved file opened again
// by the program's own reader: it holds what the document held.
#include "docs/program/core/ArgDocModel.h"
#include "docs/program/core/ArgGlobalDlgModel.h"
#include "docs/program/core/ArrDocModel.h"
#include "docs/program/core/ArrListModel.h"
#include "docs/program/core/ArrPageModel.h"
#include "docs/program/core/GblDocModel.h"
#include "docs/program/core/GlobalDataDlgModel.h"
#include "docs/program/core/MidiChannelDlgModel.h"
#include "docs/program/core/PcgListModel.h"
#include "docs/program/core/PrfDocModel.h"
#include "docs/program/core/PrfListModel.h"
#include "docs/program/core/PrgPageModel.h"
#include "tests/docs/program/PcgTestDoc.h"
#include "tests/support/ArrFileBuilder.h"
#include "tests/support/GlobalFileBuilder.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/PrfFileBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>

namespace zib {
namespace {

using ArrTestDoc = test::ProgramTestDoc<ArrDocModel>;
using PrfTestDoc = test::ProgramTestDoc<PrfDocModel>;
using GblTestDoc = test::ProgramTestDoc<GblDocModel>;
using ArgTestDoc = test::ProgramTestDoc<ArgDocModel>;

// One item as a line: name, model, bank, row and its data (size and a hash)
std::string itemLine(const CItemInfo& item, int bank = -1)
{
    uint64_t hash = 1469598103934665603ull;
    for (uint8_t b : item.data)
        hash = (hash ^ b) * 1099511628211ull;
    std::ostringstream out;
    out << item.NameText() << "|" << char(item.model) << "|" << bank << "/" << item.position << "|" << item.Size()
        << ":" << std::hex << hash;
    return out.str();
}

template <class Item> std::vector<std::string> wqLines(const std::vector<Item>& items)
{
    std::vector<std::string> lines;
    for (const Item& item : items)
        lines.push_back(itemLine(item));
    return lines;
}

// A Qe container holds positions up to the last one in use: empty rows after
// it are no part of the file.
template <class Item> std::vector<std::string> qeLines(const std::vector<Item>& items)
{
    size_t used = items.size();
    while (used > 0 && items[used - 1].Size() == 0)
        --used;
    std::vector<std::string> lines;
    for (size_t i = 0; i < used; ++i)
        lines.push_back(itemLine(items[i], items[i].Size() ? items[i].bank : -1));
    return lines;
}

// A Wq file has room for a fixed number of items: a shorter list is written
// with emptied records after it. The first lines are the document's, the
// rest those of `emptied` in their rows.
void expectListThenEmptied(const std::vector<std::string>& reopened, const std::vector<std::string>& edited,
                           CItemInfo emptied)
{
    ASSERT_GE(reopened.size(), edited.size());
    EXPECT_EQ(std::vector<std::string>(reopened.begin(), reopened.begin() + std::ptrdiff_t(edited.size())), edited);
    for (size_t i = edited.size(); i < reopened.size(); ++i) {
        emptied.position = uint32_t(i);
        EXPECT_EQ(reopened[i], itemLine(emptied));
    }
}

template <class Doc> using Edit = std::pair<const char*, std::function<void(Doc&)>>;

// The edited document's file as Save builds it, opened again as `name`;
// null when it could not be built or opened.
template <class Doc> std::unique_ptr<Doc> reopened(Doc& t, const std::string& name)
{
    EXPECT_TRUE(t.doc.modified);
    const auto saved = t.doc.BuildFileImage();
    auto again = std::make_unique<Doc>();
    if (!saved || !again->open(name, *saved)) {
        ADD_FAILURE() << "saved " << bool(saved);
        return nullptr;
    }
    return again;
}

// The list commands every item document has, through its list model
template <class List, class Doc> std::vector<Edit<Doc>> listEdits()
{
    return {
        {"rename", [](Doc& t) { ASSERT_TRUE(List(t.doc).EndLabelEdit(1, "Renamed")); }},
        {"move down",
         [](Doc& t) {
             t.select({0}, 0);
             List(t.doc).MoveItem(+1);
         }},
        {"delete",
         [](Doc& t) {
             t.select({0, 1});
             ASSERT_TRUE(t.doc.DeleteItems());
         }},
        {"delete, then paste a copy",
         [](Doc& t) {
             t.select({1});
             const auto block = List(t.doc).CopyBlock();
             ASSERT_TRUE(block);
             t.select({0});
             ASSERT_TRUE(t.doc.DeleteItems());
             EXPECT_EQ(List(t.doc).Paste(*block, "OnEditPaste"), 1);
         }},
    };
}

} // namespace

TEST(SavedDocuments, ProgramsAndDrumKits)
{
    std::vector<Edit<test::PcgTestDoc>> edits = listEdits<PcgListModel, test::PcgTestDoc>();
    const std::vector<Edit<test::PcgTestDoc>> wqOnly = {
        {"program page",
         [](test::PcgTestDoc& t) {
             PrgPageModel page(1);
             ASSERT_TRUE(page.Read(t.doc, 1));
             page.ChooseOctave(0, PrgPageModel::OctaveTexts().front());
             const PrgPageModel* pages[] = {&page};
             ASSERT_TRUE(WritePrgPages(t.doc, pages));
         }},
        {"rename a drum kit",
         [](test::PcgTestDoc& t) {
             t.doc.shownList = 2;
             ASSERT_TRUE(PcgListModel(t.doc).EndLabelEdit(1, "Jazz Kit"));
         }},
    };
    edits.insert(edits.end(), wqOnly.begin(), wqOnly.end());
    struct File {
        const char* name;
        std::vector<uint8_t> image;
    };
    const std::vector<File> files = {
        {"wq8.pcg", test::WqPcgBuilder('9').image()},
        {"wq41.prg", test::WqPcgBuilder('I').image()},
        {"qe.pcg", test::qePcgImage({{"Piano", 9, 0, 4, 1}, {"Organ", 9, 1, 4, 2}, {"Choir", 9, 3, 4, 3}})},
    };
    for (const File& file : files)
        for (size_t e = 0; e < edits.size(); ++e) {
            const auto& [name, edit] = edits[e];
            SCOPED_TRACE(std::string(file.name) + ": " + name);
            test::PcgTestDoc t;
            ASSERT_TRUE(t.open(file.name, file.image));
            // Qe programs have no pages and no drum kits.
            if (t.doc.IsQe() && e >= edits.size() - wqOnly.size()) continue;
            edit(t);
            const auto again = reopened(t, file.name);
            ASSERT_TRUE(again);
            EXPECT_EQ(again->doc.head, t.doc.head);
            if (t.doc.IsQe()) {
                EXPECT_EQ(qeLines(again->doc.programs), qeLines(t.doc.programs));
                continue;
            }
            CPcgItem emptied;
            emptied.model = uint32_t(t.doc.model);
            emptied.data.assign(again->doc.programs[0].Size(), 0);
            expectListThenEmptied(wqLines(again->doc.programs), wqLines(t.doc.programs), emptied);
            EXPECT_EQ(wqLines(again->doc.drumKits), wqLines(t.doc.drumKits));
        }
}

TEST(SavedDocuments, Performances)
{
    std::vector<Edit<PrfTestDoc>> edits = listEdits<PrfListModel, PrfTestDoc>();
    edits.push_back({"category", [](PrfTestDoc& t) { PrfListModel(t.doc).SetCategory(5); }});
    for (const auto& [name, edit] : edits) {
        SCOPED_TRACE(name);
        PrfTestDoc t;
        ASSERT_TRUE(t.open("live.prf", test::qePrfImage({{"Pop Live", 2, 0, test::performanceData(1, 1)},
                                                         {"Jazz", 2, 1, test::performanceData(2, 2)},
                                                         {"Rock", 2, 3, test::performanceData(1, 3)}})));
        edit(t);
        const auto again = reopened(t, "live.prf");
        ASSERT_TRUE(again);
        EXPECT_EQ(qeLines(again->doc.items), qeLines(t.doc.items));
        EXPECT_EQ(again->doc.bank, t.doc.bank);
    }
}

TEST(SavedDocuments, Arrangements)
{
    std::vector<Edit<ArrTestDoc>> edits = listEdits<ArrListModel, ArrTestDoc>();
    edits.push_back(
        {"properties", [](ArrTestDoc& t) {
             ArrSheetModel sheet(t.doc, 1, ArrProgramForm::Code);
             sheet.Show(1);
             ASSERT_TRUE(sheet.Page(1).Choose(ArrPageModel::kTempo, "200"));
             sheet.Ok(1);
         }});
    struct File {
        int model, mode;
    };
    for (const File file : {File{'9', 1}, File{'M', 1}, File{'I', 2}})
        for (const auto& [name, edit] : edits) {
            SCOPED_TRACE(std::string(1, char(file.model)) + ": " + name);
            ArrTestDoc t;
            ASSERT_TRUE(t.open("set.arr", test::ArrFileBuilder(file.model, file.mode).image()));
            edit(t);
            const auto again = reopened(t, "set.arr");
            ASSERT_TRUE(again);
            EXPECT_EQ(again->doc.head, t.doc.head);
            CArrItem emptied;
            emptied.SetName("EMPTYARR");
            emptied.model = uint32_t(file.model);
            emptied.data = t.doc.EmptyRecord();
            expectListThenEmptied(wqLines(again->doc.items), wqLines(t.doc.items), emptied);
        }
}

// The global documents hold one image: what the dialog's OK made of it comes
// back, and so do its rows.
TEST(SavedDocuments, GlobalAndArrangementGlobalData)
{
    for (int model : {'M', 'I'}) {
        SCOPED_TRACE(char(model));
        GblTestDoc g;
        ASSERT_TRUE(g.open("set.gbl", test::gblImage(model, 1)));
        GlobalDataDlgModel dialog(g.doc);
        ScaleDlgModel scale = dialog.ScaleDialog(3);
        ASSERT_TRUE(scale.SetText(4, "-20"));
        dialog.SetScale(3, scale.Ok());
        g.doc.ApplyImage(dialog.Ok());
        const auto gAgain = reopened(g, "set.gbl");
        ASSERT_TRUE(gAgain);
        EXPECT_EQ(gAgain->doc.image, g.doc.image);
        EXPECT_EQ(gAgain->doc.image[64 + 12 * 3 + 4], uint8_t(-20));

        ArgTestDoc a;
        ASSERT_TRUE(a.open("set.arg", test::argImage(model, 1)));
        ArgGlobalDlgModel channels(a.doc);
        MidiChannelDlgModel bass(channels.records[2].label, channels.Datum(2));
        bass.selection = 5;
        channels.SetChannelDatum(bass.Ok());
        a.doc.ApplyImage(channels.Ok());
        const auto aAgain = reopened(a, "set.arg");
        ASSERT_TRUE(aAgain);
        EXPECT_EQ(aAgain->doc.image, a.doc.image);
        ASSERT_EQ(aAgain->doc.texts.size(), a.doc.texts.size());
        for (size_t i = 0; i < a.doc.texts.size(); ++i)
            EXPECT_EQ(aAgain->doc.texts[i].value, a.doc.texts[i].value) << aAgain->doc.texts[i].name;
    }
}

} // namespace zib
