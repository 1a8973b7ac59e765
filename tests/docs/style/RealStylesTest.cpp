#include "docs/style/core/CStsTreeModel.h"
#include "docs/style/core/StyListModel.h"
#include "docs/style/core/StyReports.h"
#include "docs/style/core/UlvaRfHandles.h"

#include "platform/FileIo.h"
#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/RealStyles.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/WqImageBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using Doc = test::StyDocHarness;

// Every cell of every row in both views.
void readEveryCell(CZibStyDoc& doc)
{
    for (int view = 0; view < (doc.IsQe() ? 2 : 1); ++view) {
        const auto columns = StyColumnSet(doc);
        const int rows = doc.StsView() ? doc.StsCount() : doc.StyCount();
        for (int r = 0; r < rows; ++r)
            for (int element = 0; element < 10; ++element)
                for (size_t c = 0; c < columns.size(); ++c)
                    StyCellText(doc, r, int(c), element);
        doc.ToggleViewMode();
    }
}

// The items of two documents hold the same.
void expectSameItems(const CZibStyDoc& a, const CZibStyDoc& b)
{
    ASSERT_EQ(a.StyCount(), b.StyCount());
    for (int i = 0; i < a.StyCount(); ++i) {
        const CStyItem& x = a.m_StyItems[size_t(i)];
        const CStyItem& y = b.m_StyItems[size_t(i)];
        EXPECT_EQ(x.data, y.data) << i;
        EXPECT_EQ(x.NameText(), y.NameText()) << i;
        EXPECT_EQ(x.version, y.version) << i;
        EXPECT_EQ(x.sounds, y.sounds) << i;
        EXPECT_EQ(x.signatures, y.signatures) << i;
        if (a.IsQe()) {
            EXPECT_EQ(a.m_StsItems[size_t(i)].data, b.m_StsItems[size_t(i)].data) << i;
        }
    }
}

TEST(RealStyles, EveryConvertedPsrStyleOnItsOwn)
{
    const auto& styles = test::convertedRealPsrStyles();
    if (styles.empty()) GTEST_SKIP() << "no real PSR styles";
    test::TempDir dir;
    for (const auto& style : styles) {
        SCOPED_TRACE(style.file);
        ASSERT_EQ(style.code, 0);
        ASSERT_FALSE(style.instance.empty());
        const auto image =
            test::dasfImage({test::qeEntry(style.name, 2, 3, 0, style.instance), test::stsDataEntry("Sts", 3, 0, {0, 3})});
        Doc d;
        ASSERT_TRUE(d.doc.OpenImage(image, (dir / "One.sty").string())) << d.ui.lastText();
        ASSERT_EQ(d.doc.StyCount(), 1);
        EXPECT_EQ(d.names()[0], style.name.substr(0, 18));
        EXPECT_TRUE(d.ui.messages.empty());
        readEveryCell(d.doc);
        EXPECT_NE(ItemsReportText(d.doc, "r").find("StyleName: " + d.names()[0]), std::string::npos);

        // Its style editor opens on the item; its STS tree shows the two blocks.
        UlrfResInstancePtr resource(_ULRFCreateResInstance(d.doc.m_StyItems[0].data.data(),
                                                           uint32_t(d.doc.m_StyItems[0].Size())));
        ASSERT_NE(resource, nullptr);
        UlsteEditorPtr editor(_ULStECreateInstance(resource.get()));
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(_ULStEQueryStyleElem(editor.get(), 0), 2);
        CStsTreeModel sts(d.doc, 0);
        EXPECT_EQ(sts.FillStsTree("STS Tree"), 1);
        EXPECT_EQ(sts.SlotImage(3), CStsTreeModel::kSlotPresent);

        // Extracted and imported byte for byte.
        ASSERT_EQ(d.doc.ExtractItem(0, dir / "One.wsf"), 1);
        Doc other;
        other.doc.NewDocument();
        ASSERT_EQ(other.doc.ImportStyle(dir / "One.wsf"), 1) << other.ui.lastText();
        EXPECT_EQ(other.doc.m_StyItems[0].data, d.doc.m_StyItems[0].data);
        EXPECT_EQ(other.doc.m_StsItems[0].data, d.doc.m_StsItems[0].data);
        EXPECT_EQ(other.doc.m_StyItems[0].sounds, d.doc.m_StyItems[0].sounds);

        // Saved and opened again.
        const std::vector<uint8_t> saved = d.doc.BuildFileImage();
        ASSERT_FALSE(saved.empty());
        Doc again;
        ASSERT_TRUE(again.doc.OpenImage(saved, (dir / "One.sty").string()));
        expectSameItems(d.doc, again.doc);

        // Ready for the playback console.
        d.ui.select({0});
        const auto playback = d.doc.PlaySelectedStyle();
        ASSERT_TRUE(playback);
        EXPECT_EQ(playback->reader->elements[0].present, 1u);
    }
}

TEST(RealStyles, AllConvertedPsrStylesInOneContainer)
{
    const auto& styles = test::convertedRealPsrStyles();
    if (styles.empty()) GTEST_SKIP() << "no real PSR styles";
    test::TempDir dir;
    std::vector<test::DasfResource> sameBank, banks;
    for (size_t i = 0; i < styles.size(); ++i) {
        ASSERT_EQ(styles[i].code, 0) << styles[i].file;
        // Positions 0-5 and, after a gap of three, 9 on (a Qe4k bank has 16).
        const uint8_t position = uint8_t(i < 6 ? i : i + 3);
        sameBank.push_back(test::qeEntry(styles[i].name, 2, 5, position, styles[i].instance));
        sameBank.push_back(test::stsDataEntry("Sts" + std::to_string(i), 5, position, {uint8_t(i % 4)}));
        banks.push_back(test::qeEntry(styles[i].name, 2, uint8_t(1 + i % 3), uint8_t(i), styles[i].instance));
    }
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(test::dasfImage(sameBank), (dir / "All.sty").string()));
    EXPECT_TRUE(d.ui.messages.empty());
    ASSERT_EQ(d.doc.StyCount(), int(styles.size() < 7 ? styles.size() : styles.size() + 3));
    for (size_t i = 0; i < styles.size(); ++i) {
        const size_t row = i < 6 ? i : i + 3;
        EXPECT_EQ(d.doc.m_StyItems[row].NameText(), styles[i].name.substr(0, 18));
        EXPECT_EQ(d.doc.m_StyItems[row].bank, 5);
        EXPECT_EQ(d.doc.m_StsItems[row].NameText(), "Sts" + std::to_string(i));
    }
    readEveryCell(d.doc);
    const std::string report = ItemsReportText(d.doc, "r");
    if (styles.size() > 6) {
        EXPECT_NE(report.find("Bank/Pos: 6/7 - EMPTY ITEM"), std::string::npos);
    }

    const std::vector<uint8_t> saved = d.doc.BuildFileImage();
    ASSERT_FALSE(saved.empty());
    Doc again;
    ASSERT_TRUE(again.doc.OpenImage(saved, (dir / "All.sty").string()));
    expectSameItems(d.doc, again.doc);

    // Styles of several banks are gathered in one, with the warning.
    Doc mixed;
    ASSERT_TRUE(mixed.doc.OpenImage(test::dasfImage(banks), (dir / "Banks.sty").string())) << mixed.ui.lastText();
    EXPECT_EQ(mixed.doc.StyCount(), int(styles.size()));
    ASSERT_EQ(mixed.ui.messages.size(), 1u);
    EXPECT_EQ(mixed.ui.messages[0].caption, "ParseQESty");

    // Two of them as collected MIDI files.
    EXPECT_EQ(d.doc.StylesToMidi(std::vector<int>{0, 2}, dir.path()), 2);
    EXPECT_EQ(d.ui.lastText(), "Successfully converted 2 styles of 2 selected");
}

TEST(RealStyles, WqStylesFromRealMidiFiles)
{
    const auto files = test::realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI files";
    test::TempDir dir;
    int made = 0;
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        Doc d;
        const std::vector<uint8_t> empty = test::WqImageBuilder::fromEmptyItem('9').build();
        ASSERT_TRUE(d.doc.OpenImage(test::wqStyleFile('9', {empty}), (dir / "Real.sty").string()));
        // The drum track of VAR1 CV1; files the importer refuses give no style.
        if (!d.doc.ReplaceWqTrackData(0, test::readFileBytes(path), 0, 0, 0)) continue;
        d.doc.m_StyItems[0].data[62] = 0; // key C major
        ASSERT_TRUE(d.doc.RenameItem(0, "Real"));
        ++made;
        ASSERT_GT(d.doc.m_StyItems[0].Size(), 1168u);
        readEveryCell(d.doc);
        EXPECT_NE(ItemsReportText(d.doc, "r").find("Real "), std::string::npos);

        ASSERT_EQ(d.doc.ExtractItem(0, dir / "Real.wsf"), 1);
        Doc other;
        ASSERT_TRUE(other.doc.OpenImage(test::wqStyleFile('9', {empty}), (dir / "Other.sty").string()));
        ASSERT_EQ(other.doc.ImportStyle(dir / "Real.wsf"), 1);
        EXPECT_EQ(other.doc.m_StyItems[1].data, d.doc.m_StyItems[0].data);

        const std::vector<uint8_t> saved = d.doc.BuildFileImage();
        ASSERT_FALSE(saved.empty());
        Doc again;
        ASSERT_TRUE(again.doc.OpenImage(saved, (dir / "Real.sty").string()));
        expectSameItems(d.doc, again.doc);

        // Converted to layout B and back.
        std::vector<uint8_t> before = d.doc.m_StyItems[0].data;
        ASSERT_EQ(d.doc.ConvertItem('9', 'M', 0), 0);
        ASSERT_EQ(d.doc.ConvertItem('M', '9', 0), 0);
        EXPECT_EQ(d.doc.m_StyItems[0].Size(), before.size());

        d.ui.select({0});
        EXPECT_TRUE(d.doc.PlaySelectedStyle()) << d.ui.lastText();
        d.ui.overwriteAnswers = {StyAnswer::YesToAll}; // the file of the last round
        EXPECT_EQ(d.doc.StylesToMidi(std::vector<int>{0}, dir.path()), 1);
    }
    EXPECT_GT(made, 0);
}

} // namespace
} // namespace zib
