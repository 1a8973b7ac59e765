// Style and pad documents filled through Import, Paste and a drop up to the
// number of items their file keeps, and one past it: the document refuses
// the one too many, and the file it saves opens again as the same document,
// every item in its place, without a warning.
#include "docs/style/core/CQeStyleTreeEdits.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zib {
namespace {

using Styles = test::StyDocHarness;
using Pads = test::PadDocHarness;

// A row as the file keeps it: name, letter (not of an STS item), bank, place
// and data.
std::string rowLine(const CStyItem& item, bool qe, bool sts = false)
{
    uint64_t hash = 1469598103934665603ull;
    for (uint8_t b : item.data)
        hash = (hash ^ b) * 1099511628211ull;
    std::ostringstream out;
    out << item.NameText() << "|" << (sts ? '-' : char(item.model)) << "|" << (qe ? item.bank : -1) << "/"
        << item.position << "|" << item.Size() << ":" << std::hex << hash;
    return out.str();
}

template <class H> std::vector<std::string> rows(const H& h)
{
    std::vector<std::string> out;
    for (int r = 0; r < h.doc.ItemCount(); ++r)
        out.push_back(rowLine(h.doc.ItemAt(r), h.doc.IsQe()));
    if constexpr (std::is_same_v<H, Styles>)
        for (const CStyItem& sts : h.doc.m_StsItems)
            out.push_back(rowLine(sts, true, true));
    return out;
}

std::vector<uint8_t> qeStyles(uint8_t version)
{
    return test::dasfImage({test::qeEntry("Qe", 2, 4, 0, test::qeStyleInstance({"Qe", version, {0, 4}})),
                            test::stsEntry("QeSts", 4, 0, version, 0)});
}

std::vector<uint8_t> qePads(uint8_t version)
{
    return test::dasfImage(
        {test::qeEntry("Pad", 9, 3, 0, test::qeStyleInstance({"Pad", version, {0}, 0, true}))});
}

enum class Road { Import, Paste, Drop };

struct Case {
    const char* what;
    std::vector<uint8_t> file; // one item to start with
    const char* path;
    int limit;              // the items the file keeps
    uint32_t reopenedModel; // the letter of the full file opened again
};

// Opens the case's file and adds `add` copies of its item, each renamed,
// through `road`; the document then.
template <class H> std::unique_ptr<H> filled(const Case& c, Road road, int add, const test::TempDir& dir)
{
    H source;
    EXPECT_TRUE(source.doc.OpenImage(c.file, c.path));
    std::vector<std::filesystem::path> files;
    StyClipboardBlock block;
    for (int i = 0; i < add; ++i) {
        const std::string name = "N" + std::to_string(100 + i);
        EXPECT_TRUE(source.doc.RenameItem(0, name));
        auto copy = source.doc.CopyBlock(std::vector<int>{0}, -1);
        EXPECT_TRUE(copy);
        if (!copy) return nullptr;
        if (block.parts.empty())
            block = *copy;
        else
            block.parts.push_back(copy->parts[0]);
        files.push_back(dir / (name + (std::is_same_v<H, Pads> ? ".zpf" : ".wsf")));
        EXPECT_EQ(source.doc.ExtractItem(0, files.back()), 1);
    }
    auto h = std::make_unique<H>();
    EXPECT_TRUE(h->doc.OpenImage(c.file, c.path));
    switch (road) {
    case Road::Import:
        h->doc.ImportItems(files);
        break;
    case Road::Paste:
        h->doc.PasteBlock(block, "OnEditPaste");
        break;
    case Road::Drop:
        h->doc.DropBlock(block, 0, false, false, {});
        break;
    }
    return h;
}

template <class H> void expectKeptAtTheLimit(const Case& c)
{
    test::TempDir dir;
    for (Road road : {Road::Import, Road::Paste, Road::Drop})
        for (int past : {0, 1}) {
            SCOPED_TRACE(std::string(c.what) + ", road " + std::to_string(int(road)) + ", past " +
                         std::to_string(past));
            const auto h = filled<H>(c, road, c.limit - 1 + past, dir);
            ASSERT_TRUE(h);
            EXPECT_EQ(h->doc.ItemCount(), c.limit);
            const std::string pasted =
                "MAX ITEM NUM reached. Pasted " + std::to_string(c.limit - 1) + " items from clipboard";
            const std::vector<std::string> refused = {
                road == Road::Import ? "Insertion stopped - LIMIT reached!" : pasted};
            EXPECT_EQ(h->texts(), past ? refused : std::vector<std::string>{});

            const std::vector<uint8_t> saved = h->doc.BuildFileImage();
            ASSERT_FALSE(saved.empty()) << h->ui.lastText();
            H again;
            ASSERT_TRUE(again.doc.OpenImage(saved, c.path)) << again.ui.lastText();
            EXPECT_EQ(again.texts(), std::vector<std::string>{});
            EXPECT_FALSE(again.doc.IsModified());
            EXPECT_EQ(char(again.doc.m_Model), char(c.reopenedModel));
            EXPECT_EQ(rows(again), rows(*h));
            if (h->doc.IsQe()) {
                EXPECT_EQ(again.doc.m_FirstBank, h->doc.m_FirstBank);
            }
        }
}

} // namespace

// A Wq file has a slot for each item; a Qe style file a position for each, 32
// at most. A Qe4k file of more than 16 styles opens as a Qe9z one, as the
// keyboards have it.
TEST(ItemLimits, StyleFilesKeepWhatTheDocumentTakes)
{
    const Case cases[] = {
        {"Wq8", test::smallWqStyleFile('9', 1, "Wq"), "/x/s.sty", 4, '9'},
        {"WqR65", test::smallWqStyleFile('M', 1, "Wq"), "/x/s.sty", 16, 'M'},
        {"Wq41", test::smallWqStyleFile('I', 1, "Wq"), "/x/s.sty", 48, 'I'},
        {"Qe4k", qeStyles(0), "/x/s.sty", 32, 'X'},
        {"Qe9z", qeStyles(1), "/x/s.sty", 32, 'X'},
    };
    for (const Case& c : cases)
        expectKeptAtTheLimit<Styles>(c);
}

// A pad file has 32 positions; more than 16 pads make a Qe9z pad file.
TEST(ItemLimits, PadFilesKeepWhatTheDocumentTakes)
{
    const Case cases[] = {
        {"Qe4k", qePads(0), "/x/p.pad", 32, 'X'},
        {"Qe9z", qePads(1), "/x/p.pad", 32, 'X'},
    };
    for (const Case& c : cases)
        expectKeptAtTheLimit<Pads>(c);
}

// Add CV fills a variation up to six chord variations, any other element up
// to two, and stops there; the style stored and read again has every one.
TEST(ItemLimits, ChordVariationsAddedComeBackFromTheStoredStyle)
{
    struct Case {
        int element;
        int chordVariations;
    };
    for (const Case c : {Case{0, 6}, Case{3, 6}, Case{4, 2}, Case{9, 2}, Case{11, 2}}) {
        SCOPED_TRACE(c.element);
        test::QeEditorStyleBuilder style;
        _ULStESetQeVersion(style.editor(), 1);
        style.cvWithNotes(c.element, 0, {0});
        test::FakeStyUiPort ui;
        CStyItem item;
        CQeStyleTreeEdits edits(style.editor(), ui, 'X', &item);
        int refills = 0;
        edits.refill = [&refills] { ++refills; };
        edits.selection = {uint8_t(c.element), 255, 255};
        for (int i = 0; i < c.chordVariations; ++i)
            edits.OnQeAddCv();
        EXPECT_EQ(refills, c.chordVariations - 1) << "one more is no chord variation";
        EXPECT_TRUE(ui.messages.empty());

        const std::vector<uint8_t> stored = style.resource();
        UlrfResInstancePtr resource(_ULRFCreateResInstance(stored.data(), uint32_t(stored.size())));
        ASSERT_TRUE(resource);
        ULStEEditor* again = _ULStECreateInstance(resource.get());
        ASSERT_TRUE(again);
        for (int cv = 0; cv < c.chordVariations; ++cv)
            EXPECT_NE(_ULStEQueryChordVar(again, c.element, cv), 0) << cv;
        _ULStEDeleteInstance(again);
    }
}

} // namespace zib
