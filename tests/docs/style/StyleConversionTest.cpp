#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "docs/style/core/WqEmptyStyle.h"
#include "docs/style/core/WqStyleItemConversion.h"
#include "styles/WqStyleLayout.h"

#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/WqImageBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::WqEv;

// Opens a document holding one Wq item of the model.
void openWq(test::StyDocHarness& h, char model, const std::vector<uint8_t>& data)
{
    EXPECT_TRUE(h.doc.OpenImage(test::wqStyleFile(model, {data}), "/x/Set.sty"));
    h.ui.clear();
}

using test::wordAt;

TEST(WqEmptyStyle, PlaceholderImages)
{
    const std::vector<uint8_t> a = WqEmptyStyleImage('9', 0);
    ASSERT_EQ(a.size(), 1168u);
    EXPECT_EQ(std::string(a.begin(), a.begin() + 10), "empty     ");
    EXPECT_EQ(a[333], 0);
    EXPECT_EQ(wordAt(a, 334), 1043);
    EXPECT_EQ(wordAt(a, 532), 1043);
    EXPECT_EQ(wordAt(a, 534), 1168);
    EXPECT_EQ(wordAt(a, 1166), 1168);
    EXPECT_EQ(ValidateWqImage(a.data(), a.size(), '9'), WqImageError::None);

    const std::vector<uint8_t> b = WqEmptyStyleImage('I', 5);
    ASSERT_EQ(b.size(), 1176u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 16), "InitStyle2      ");
    EXPECT_EQ(wordAt(b, 342), 1043);
    EXPECT_EQ(wordAt(b, 542), 1176);
    EXPECT_EQ(wordAt(b, 1174), 1176);
    EXPECT_EQ(ValidateWqImage(b.data(), b.size(), 'I'), WqImageError::None);
}

TEST(StyleConversion, LayoutAToBAndBack)
{
    // Program numbers below 256 have no bank: no model maps them.
    test::WqImageBuilder builder('<');
    builder.name("Swing").tempo(100).track(0, 0x0010, 100, 15).track(2, 0x0021, 90, 15).cv(0, 0, 0, 1);
    builder.slot(0, 0, 2, {WqEv::bar(0), WqEv::program(0, 0x0021), WqEv::note(0, 40, 90, 96), WqEv::end(0)});
    const std::vector<uint8_t> original = builder.build();
    test::StyDocHarness h_doc;
    openWq(h_doc, '<', original);
    CZibStyDoc& doc = h_doc.doc;
    ASSERT_EQ(doc.ConvertItem('<', 'I', 0), 0);
    const CStyItem& b = doc.m_StyItems[0];
    EXPECT_EQ(b.model, uint32_t('I'));
    ASSERT_EQ(b.Size(), original.size() + 8);
    EXPECT_EQ(std::string(b.data.begin(), b.data.begin() + 16), "Swing     " + std::string(6, ' '));
    EXPECT_EQ(wordAt(b.data, 16), 15);
    EXPECT_TRUE(std::equal(original.begin() + 10, original.begin() + 534, b.data.begin() + 18));
    EXPECT_EQ(wordAt(b.data, 542), wordAt(original, 534) + 8);
    EXPECT_EQ(wordAt(b.data, 1174), wordAt(original, 1166) + 8);
    EXPECT_EQ(std::vector<uint8_t>(original.begin() + 1168, original.end()),
              std::vector<uint8_t>(b.data.begin() + 1176, b.data.end()));
    EXPECT_EQ(ValidateWqImage(b.data.data(), b.data.size(), 'I'), WqImageError::None);
    EXPECT_EQ(b.NameText(), "Swing");

    ASSERT_EQ(doc.ConvertItem('I', '<', 0), 0);
    EXPECT_EQ(doc.m_StyItems[0].data, original); // nothing here needed a new program number
    EXPECT_EQ(doc.m_StyItems[0].model, uint32_t('<'));

    // '<' and 'H' share the layout: only the letter changes.
    ASSERT_EQ(doc.ConvertItem('<', 'H', 0), 0);
    EXPECT_EQ(doc.m_StyItems[0].model, uint32_t('H'));
    EXPECT_EQ(doc.m_StyItems[0].data, original);
}

TEST(StyleConversion, PlaceholdersChangeIntoEachOther)
{
    CZibStyDoc doc;
    doc.NewDocument();
    CStyItem empty;
    empty.data = WqEmptyStyleImage('9', 0);
    empty.SetName("empty");
    empty.model = '9';
    doc.m_Model = '9';
    for (int i = 0; i < 6; ++i)
        doc.m_StyItems.push_back(empty);
    ASSERT_EQ(doc.ConvertItem('9', 'M', 5), 0);
    EXPECT_EQ(doc.m_StyItems[5].NameText(), "InitStyle2");
    EXPECT_EQ(doc.m_StyItems[5].Size(), 1176u);
    EXPECT_EQ(doc.m_StyItems[5].data[9], '2');
    EXPECT_EQ(doc.m_StyItems[5].model, uint32_t('M'));

    ASSERT_EQ(doc.ConvertItem('M', '9', 5), 0);
    EXPECT_EQ(doc.m_StyItems[5].NameText(), "empty");
    EXPECT_EQ(doc.m_StyItems[5].Size(), 1168u);
}

TEST(StyleConversion, ProgramNumbersOfTracksAndEventsAreMapped)
{
    // Wq8 numbers of bank 1 whose index is 64-127 become bank 3 elsewhere.
    test::WqImageBuilder builder('9');
    builder.name("Mapped").track(0, 0x0146, 100, 15).track(1, 0x0010, 100, 15).cv(0, 0, 0, 1);
    builder.slot(0, 0, 0, {WqEv::bar(0), WqEv::control(0, 32, 1), WqEv::program(0, 0x0046), WqEv::note(0, 36, 100, 48),
                           WqEv::end(0)});
    builder.slot(0, 0, 1, {WqEv::bar(0), WqEv::program(0, 0x0047), WqEv::end(0)});
    const std::vector<uint8_t> original = builder.build();
    test::StyDocHarness h_doc;
    openWq(h_doc, '9', original);
    CZibStyDoc& doc = h_doc.doc;
    ASSERT_EQ(doc.ConvertItem('9', 'M', 0), 0);
    const std::vector<uint8_t>& d = doc.m_StyItems[0].data;
    EXPECT_EQ(wordAt(d, 46), 0x0306);   // DRUM track word
    EXPECT_EQ(wordAt(d, 50), 0x0010);   // below 256: stays
    const size_t drum = wordAt(d, 542); // DRUM run of VAR1 CV1
    EXPECT_EQ(d[drum + 4 + 3], 3);      // the bank select names bank 3
    EXPECT_EQ(wordAt(d, drum + 8 + 2), 0x0306);
    const size_t perc = wordAt(d, 544);
    // PERC has bank 0 (its word is below 256): 0x0047 is no banked number.
    EXPECT_EQ(wordAt(d, perc + 4 + 2), 0x0047);

    // WqT517 to WqR65 leaves the events as they are.
    test::StyDocHarness h_t517;
    openWq(h_t517, 'H', original);
    CZibStyDoc& t517 = h_t517.doc;
    ASSERT_EQ(t517.ConvertItem('H', 'M', 0), 0);
    const std::vector<uint8_t>& h = t517.m_StyItems[0].data;
    EXPECT_EQ(wordAt(h, wordAt(h, 542) + 8 + 2), 0x0046);
}

TEST(StyleConversion, DispatchTable)
{
    struct Case {
        uint32_t from, to;
        int result;
    } cases[] = {
        {'9', '9', -1}, {'M', 'M', -1}, {'I', 'I', -1}, {'F', 'F', 0}, {'X', 'X', -1},
        {'F', '9', -1}, {'Z', '9', -1}, {'9', 'Z', -1},
    };
    for (const auto& c : cases) {
        test::StyDocHarness h_doc;
    openWq(h_doc, '9', test::smallWq8Image());
    CZibStyDoc& doc = h_doc.doc;
        doc.m_StyItems[0].model = c.from;
        EXPECT_EQ(doc.ConvertItem(c.from, c.to, 0), c.result) << char(c.from) << " -> " << char(c.to);
    }
    test::StyDocHarness h_doc;
    openWq(h_doc, '9', test::smallWq8Image());
    CZibStyDoc& doc = h_doc.doc;
    EXPECT_EQ(doc.ConvertItem('9', 'M', 3), -1); // no such item
    doc.m_StyItems[0].model = 'F';
    EXPECT_EQ(doc.ConvertItem('F', 'X', 0), 0);
    doc.m_StyItems[0].model = 'X';
    EXPECT_EQ(doc.ConvertItem('F', 'X', 0), -1);

    // I <-> M keeps the data and the layout.
    test::StyDocHarness h_wq41;
    openWq(h_wq41, 'I', test::smallWq8Image("R", 'I'));
    CZibStyDoc& wq41 = h_wq41.doc;
    const auto before = wq41.m_StyItems[0].data;
    ASSERT_EQ(wq41.ConvertItem('I', 'M', 0), 0);
    EXPECT_EQ(wq41.m_StyItems[0].model, uint32_t('M'));
    EXPECT_EQ(wq41.m_StyItems[0].Size(), before.size());
}

TEST(StyleConversion, DamagedWqItemsAreRefusedUntouched)
{
    std::vector<uint8_t> damaged = test::smallWq8Image("Bad");
    damaged[534 + 2 * 316] = 0xFF; // the end entry points past the item
    damaged[534 + 2 * 316 + 1] = 0xFF;
    test::StyDocHarness h_doc;
    openWq(h_doc, '9', damaged);
    CZibStyDoc& doc = h_doc.doc;
    EXPECT_EQ(doc.ConvertItem('9', 'M', 0), -1);
    EXPECT_EQ(doc.m_StyItems[0].data, damaged);
    EXPECT_EQ(doc.m_StyItems[0].model, uint32_t('9'));
}

TEST(StyleConversion, WqToQeGivesAStyleChunk)
{
    test::StyDocHarness h;
    openWq(h, '9', test::smallWq8Image("Rock"));
    CZibStyDoc& doc = h.doc;
    std::vector<StyNotice>& notices = h.ui.messages;
    ASSERT_EQ(doc.ConvertItem('9', 'F', 0), 0);
    const CStyItem& item = doc.m_StyItems[0];
    EXPECT_EQ(item.model, uint32_t('F'));
    ASSERT_GT(item.Size(), 8u);
    EXPECT_EQ(item.data[0], 0x01); // the style container
    EXPECT_TRUE(notices.empty());

    // A Wq item the converter refuses: its message, and -3.
    std::vector<uint8_t> tooLong = test::smallWq8Image("Long");
    tooLong[62] = 0;
    tooLong[63] = 17; // CV length 17 bars
    test::StyDocHarness hb;
    openWq(hb, '9', tooLong);
    CZibStyDoc& bad = hb.doc;
    std::vector<StyNotice>& badNotices = hb.ui.messages;
    const int result = bad.ConvertItem('9', 'X', 0);
    if (result != 0) {
        EXPECT_EQ(result, -3);
        ASSERT_FALSE(badNotices.empty());
        EXPECT_EQ(badNotices.back().caption, "ConvertStyWQ8ToQE4K");
        EXPECT_EQ(badNotices.back().English().substr(0, 20), "Style Long not conve");
        EXPECT_EQ(bad.m_StyItems[0].data, tooLong);
    }
}

TEST(StyleConversion, ReplacingOneWqTrack)
{
    test::WqImageBuilder builder('9');
    builder.name("Replace").cv(0, 0, 0, 1).cv(0, 1, 0, 1).cv(4, 0, 0, 1);
    builder.slot(0, 0, 2, {WqEv::bar(0), WqEv::note(0, 40, 90, 96), WqEv::end(0)});
    builder.slot(0, 1, 0, {WqEv::bar(0), WqEv::note(0, 36, 90, 48), WqEv::end(0)});
    builder.slot(4, 0, 0, {WqEv::bar(0), WqEv::note(0, 38, 90, 48), WqEv::end(0)});
    const std::vector<uint8_t> original = builder.build();
    test::StyDocHarness h_doc;
    openWq(h_doc, '9', original);
    CZibStyDoc& doc = h_doc.doc;

    // Two bars of BASS (channel 12) at 96 ticks per quarter.
    test::SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2).EndAt(768);
    auto& bass = smf.AddTrack();
    bass.NoteOn(0, 11, 40, 100).NoteOff(96, 11, 40).NoteOn(384, 11, 43, 100).NoteOff(480, 11, 43).EndAt(768);
    const std::vector<uint8_t> midi = smf.Build();

    ASSERT_EQ(doc.ReplaceWqTrackData(0, midi, 0, 0, 2), 1);
    const std::vector<uint8_t>& d = doc.m_StyItems[0].data;
    EXPECT_EQ(ValidateWqImage(d.data(), d.size(), '9'), WqImageError::None);
    const int entry = test::WqImageBuilder::slotOf(0, 0, 2);
    const size_t begin = wordAt(d, 534 + 2 * size_t(entry));
    const size_t end = wordAt(d, 536 + 2 * size_t(entry));
    const int64_t delta = int64_t(d.size()) - int64_t(original.size());
    EXPECT_EQ(int64_t(end - begin), int64_t(3 * 4) + delta);
    EXPECT_EQ(d[63], 2); // VAR1 CV1 length: two bars
    // Every later run moved by the same amount and kept its events.
    const int later = test::WqImageBuilder::slotOf(4, 0, 0);
    EXPECT_EQ(wordAt(d, 534 + 2 * size_t(later)), wordAt(original, 534 + 2 * size_t(later)) + delta);
    EXPECT_EQ(wordAt(d, 1166), wordAt(original, 1166) + delta);
    const size_t moved = wordAt(d, 534 + 2 * size_t(later));
    EXPECT_TRUE(std::equal(d.begin() + ptrdiff_t(moved), d.begin() + ptrdiff_t(moved) + 12,
                           original.begin() + wordAt(original, 534 + 2 * size_t(later))));
    // Runs before it stay where they were.
    EXPECT_EQ(wordAt(d, 534 + 2 * size_t(entry - 1)), wordAt(original, 534 + 2 * size_t(entry - 1)));

    EXPECT_EQ(doc.ReplaceWqTrackData(0, std::vector<uint8_t>{1, 2, 3}, 0, 0, 2), 0);
    EXPECT_EQ(doc.ReplaceWqTrackData(0, midi, 4, 2, 2), 0); // Intro1 has two CVs
    EXPECT_EQ(doc.ReplaceWqTrackData(0, midi, 0, 0, 6), 0);
}

} // namespace
} // namespace zib
