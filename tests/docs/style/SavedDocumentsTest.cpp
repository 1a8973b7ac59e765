// Style files of both series and pad files edited through the document's own
// commands, saved, and the saved file opened again by the program's own
// reader: every item holds what the document held.
#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/DasfImageBuilder.h"
#include "tests/support/RealStyles.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StyFileBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>

namespace zib {
namespace {

using Doc = test::StyDocHarness;
using Pads = test::PadDocHarness;

// What the reader makes of an item: name, model, version, bank (Qe), row,
// its data (size and a hash) and a hash of its sounds and signatures.
// Rows without data read back alike, emptied or empty; a Wq placeholder is
// named by the reader's rule whatever its data says; an STS item's model is
// not in the file.
struct ItemKind {
    bool qe = false;
    bool sts = false;
};

std::string itemLine(const CStyItem& item, ItemKind kind)
{
    if (kind.qe && item.Size() == 0) return "empty row " + std::to_string(item.position);
    const bool placeholder = !kind.qe && item.Size() <= (IsWqFamilyB(item.model) ? 1176u : 1168u);
    auto fold = [](uint64_t hash, uint64_t value) { return (hash ^ value) * 1099511628211ull; };
    uint64_t data = 1469598103934665603ull, more = data;
    for (uint8_t b : item.data)
        data = fold(data, b);
    for (const auto& element : item.sounds)
        for (uint32_t sound : element)
            more = fold(more, sound);
    for (uint8_t s : item.signatures)
        more = fold(more, s);
    std::ostringstream out;
    out << (placeholder ? "(placeholder)" : item.NameText()) << "|" << (kind.sts ? '-' : char(item.model)) << "|v"
        << item.version << "|" << (kind.qe ? item.bank : -1) << "/" << item.position << "|" << item.Size() << ":"
        << std::hex << data << "|" << more;
    return out.str();
}

// The rows of a document's list. A Qe container holds positions up to the
// last one in use: empty rows after it are no part of the file.
template <class Item> std::vector<std::string> lines(const std::vector<Item>& items, ItemKind kind)
{
    size_t used = items.size();
    while (kind.qe && used > 0 && items[used - 1].Size() == 0)
        --used;
    std::vector<std::string> out;
    for (size_t i = 0; i < used; ++i)
        out.push_back(itemLine(items[i], kind));
    return out;
}

std::vector<uint8_t> qeStyleFile(uint8_t version)
{
    std::vector<test::DasfResource> resources;
    for (int i = 0; i < 3; ++i) {
        const std::string name = "Qe" + std::to_string(i);
        resources.push_back(test::qeEntry(name, 2, 2, uint8_t(i), test::qeStyleInstance({name, version, {0, 4}})));
        resources.push_back(test::stsEntry(name + "Sts", 2, uint8_t(i), 0, uint8_t(i)));
    }
    return test::dasfImage(resources);
}

// Two bars of BASS (channel 12) for the track data of a Wq style
std::vector<uint8_t> bassTrack()
{
    test::SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2).EndAt(768);
    smf.AddTrack().NoteOn(0, 11, 40, 100).NoteOff(96, 11, 40).NoteOn(384, 11, 43, 100).NoteOff(480, 11, 43).EndAt(768);
    return smf.Build();
}

template <class H> using Edit = std::pair<const char*, std::function<void(H&)>>;

// The edited document's file as Save builds it, opened again; null when it
// could not be built or opened.
template <class H> std::unique_ptr<H> reopened(H& h, const std::string& path)
{
    EXPECT_TRUE(h.doc.IsModified());
    const std::vector<uint8_t> saved = h.doc.BuildFileImage();
    auto again = std::make_unique<H>();
    if (saved.empty() || !again->doc.OpenImage(saved, path)) {
        ADD_FAILURE() << h.ui.lastText() << again->ui.lastText();
        return nullptr;
    }
    return again;
}

template <class H> void pasteCopy(H& h, int row)
{
    const auto block = h.doc.CopyBlock(std::vector<int>{row}, -1);
    ASSERT_TRUE(block);
    EXPECT_FALSE(h.doc.PasteBlock(*block, "OnEditPaste").rows.empty());
}

// The list commands of style and pad documents
template <class H> std::vector<Edit<H>> itemEdits()
{
    return {
        {"rename", [](H& h) { ASSERT_TRUE(h.doc.RenameItem(1, "Funk")); }},
        {"move down", [](H& h) { ASSERT_TRUE(h.doc.MoveItem(+1, 0)); }},
        {"delete", [](H& h) { EXPECT_EQ(h.doc.DeleteSelectedItems(std::vector<int>{0}, -1), 1); }},
        {"empty", [](H& h) { ASSERT_TRUE(h.doc.EmptyItems(std::vector<int>{1}, -1)); }},
        {"paste a copy", [](H& h) { pasteCopy(h, 2); }},
    };
}

} // namespace

TEST(SavedDocuments, Styles)
{
    std::vector<Edit<Doc>> edits = itemEdits<Doc>();
    edits.push_back(
        {"track data (Wq) or bank (Qe)",
         [](Doc& d) {
             if (d.doc.IsQe()) {
                 d.doc.SetBank(5);
                 return;
             }
             ASSERT_EQ(d.doc.ReplaceWqTrackData(1, bassTrack(), 0, 0, 2), 1) << d.ui.lastText();
         }});
    struct File {
        const char* name;
        std::vector<uint8_t> image;
    };
    std::vector<File> files = {
        {"wq8", test::smallWqStyleFile('9', 3, "Wq")},
        {"wqr65", test::smallWqStyleFile('M', 3, "Wq")},
        {"qe4k", qeStyleFile(0)},
        {"qe9z", qeStyleFile(1)},
    };
    // Real styles: the PSR fixtures as the program converts them, three in a container.
    std::vector<test::DasfResource> real;
    for (const auto& style : test::convertedRealPsrStyles()) {
        if (style.code != 0 || real.size() == 3) continue;
        const auto position = uint8_t(real.size());
        real.push_back(test::qeEntry(style.name, 2, 4, position, style.instance));
    }
    if (!real.empty()) files.push_back({"real", test::dasfImage(real)});
    for (const File& file : files)
        for (const auto& [name, edit] : edits) {
            SCOPED_TRACE(std::string(file.name) + ": " + name);
            Doc d;
            ASSERT_TRUE(d.doc.OpenImage(file.image, "/x/s.sty"));
            edit(d);
            const auto again = reopened(d, "/x/s.sty");
            ASSERT_TRUE(again);
            const ItemKind kind{d.doc.IsQe(), false};
            EXPECT_EQ(lines(again->doc.m_StyItems, kind), lines(d.doc.m_StyItems, kind));
            if (kind.qe) {
                EXPECT_EQ(lines(again->doc.m_StsItems, {true, true}), lines(d.doc.m_StsItems, {true, true}));
                EXPECT_EQ(again->doc.m_FirstBank, d.doc.m_FirstBank);
            }
        }
}

TEST(SavedDocuments, Pads)
{
    std::vector<Edit<Pads>> edits = itemEdits<Pads>();
    edits.push_back({"bank", [](Pads& p) { p.doc.SetBank(4); }});
    std::vector<test::DasfResource> pads;
    for (uint8_t p : {0, 1, 2})
        pads.push_back(test::qeEntry("Pad" + std::to_string(p), 9, 3, p,
                                     test::qeStyleInstance({"Pad" + std::to_string(p), p == 2, {0, 4}, 0, true})));
    const std::vector<uint8_t> image = test::dasfImage(pads);
    for (const auto& [name, edit] : edits) {
        SCOPED_TRACE(name);
        Pads p;
        ASSERT_TRUE(p.doc.OpenImage(image, "/x/p.pad"));
        edit(p);
        const auto again = reopened(p, "/x/p.pad");
        ASSERT_TRUE(again);
        EXPECT_EQ(lines(again->doc.m_PadItems, {true, false}), lines(p.doc.m_PadItems, {true, false}));
        EXPECT_EQ(again->doc.m_FirstBank, p.doc.m_FirstBank);
    }
}

} // namespace zib
