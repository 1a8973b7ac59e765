// The real-world inputs in the real program: Qe styles converted from the
// real PSR styles, and Wq styles made from the real MIDI files, open from
// File > Open and the command line and list their rows. Only missing inputs
// skip (and fail in CI); inputs that are there but all fail to convert or
// import fail the test, naming each file and why.
#include "docs/style/core/CZibStyDoc.h"
#include "styles/CMidiToWqStyImporter.h"
#include "tests/docs/style/gui/StyleGuiFixture.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/RealStyles.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/WqImageBuilder.h"

namespace zib {
namespace {

using test::StyleGui;
using test::ZibRun;

// Every row's first cell, as logged.
std::vector<std::string> names(const ZibRun& r)
{
    std::vector<std::string> out;
    for (const auto& l : r.lines("row ")) {
        const size_t colon = l.find(": ");
        out.push_back(l.substr(colon + 2, l.find('|') - colon - 2));
    }
    return out;
}

TEST_F(StyleGui, RealPsrStylesConvertedToQeStylesOpenAndList)
{
    const auto& styles = test::convertedRealPsrStyles();
    if (styles.empty()) GTEST_SKIP() << "no real PSR styles";
    std::vector<test::DasfResource> entries;
    std::vector<std::string> expected;
    std::string failed;
    for (const auto& style : styles) {
        if (style.code != 0 || style.instance.empty()) {
            failed += "\n  " + style.file + ": the converter gave " + std::to_string(style.code);
            continue;
        }
        if (entries.size() >= 16) continue;
        entries.push_back(test::qeEntry(style.name, 2, 3, uint8_t(entries.size()), style.instance));
        expected.push_back(style.name.substr(0, 18));
    }
    ASSERT_FALSE(entries.empty()) << "no real PSR style converted:" << failed;
    const std::string sty = file("real.sty", test::dasfImage(entries));
    const std::string rows = "log-list " + std::to_string(entries.size()) + "\n";
    const ZibRun line = run(rows + "screenshot real-psr-styles\n", {sty});
    const ZibRun menu = run("dialog path " + sty + "\nmenu 57601\n" + rows);
    for (const ZibRun* r : {&line, &menu}) {
        std::vector<std::string> shown = names(*r);
        for (auto& n : shown)
            n = n.substr(0, n.find_last_not_of(' ') + 1);
        EXPECT_EQ(shown, expected) << logOf(*r);
        EXPECT_TRUE(r->lines("message:").empty()) << logOf(*r);
    }
}

TEST_F(StyleGui, WqStylesMadeFromRealMidiFilesOpenAndList)
{
    const auto files = test::realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI files";
    std::vector<std::vector<uint8_t>> items;
    std::vector<std::string> expected;
    std::string failed;
    for (const auto& path : files) {
        CZibStyDoc doc;
        const std::vector<uint8_t> empty = test::WqImageBuilder::fromEmptyItem('9').build();
        ASSERT_TRUE(doc.OpenImage(test::wqStyleFile('9', {empty}), (session_.files() / "x.sty").string()));
        // The drum track of VAR1 CV1; for a file the document refuses, what the importer says of it.
        const std::vector<uint8_t> midi = test::readFileBytes(path);
        if (!doc.ReplaceWqTrackData(0, midi, 0, 0, 0)) {
            const MidiToWqTrackImport import = ImportMidiToWqTrack(midi, doc.m_Model, 0, 0);
            failed +=
                "\n  " + path.filename().string() + ": " +
                (import.code ? "the importer gave " + std::to_string(import.code) + " " + import.errorText
                             : std::string("the importer took it, the style item did not"));
            continue;
        }
        const std::string name = "Real" + std::to_string(items.size());
        ASSERT_TRUE(doc.RenameItem(0, name));
        items.push_back(doc.m_StyItems[0].data);
        expected.push_back(name);
        if (items.size() == 4) break;
    }
    ASSERT_FALSE(items.empty()) << "no real MIDI file imported into a Wq style:" << failed;
    const std::string sty = file("realwq.sty", test::wqStyleFile('9', items));
    const std::string rows = "log-list " + std::to_string(items.size()) + "\n";
    for (const ZibRun& r : {run(rows, {sty}), run("dialog path " + sty + "\nmenu 57601\n" + rows)}) {
        EXPECT_EQ(names(r), expected) << logOf(r);
        EXPECT_NE(r.line("row 0:").find("|U11|"), std::string::npos) << logOf(r);
    }
}

} // namespace
} // namespace zib
