#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/StyleMidiExport.h"

#include "platform/ByteCursor.h"
#include "platform/FileIo.h"
#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/WqImageBuilder.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace zib {
namespace {

using Doc = test::StyDocHarness;
using test::WqEv;

// A Wq style: VAR1 CV1 (DRUM, BASS), VAR1 CV3 (BASS, 2 bars of 3/4), END2 CV2 (ACC3).
std::vector<uint8_t> wqStyle(const std::string& name)
{
    test::WqImageBuilder b = test::WqImageBuilder::fromEmptyItem('9');
    b.name(name).tempo(120).timeSig(19).track(0, 0x0200, 100, 15).track(2, 0x0021, 90, 15).track(5, 0x0005, 80, 15);
    b.cv(0, 0, 0, 1).cv(0, 2, 5, 2).cv(7, 1, 2, 1);
    std::array<uint8_t, 20> table{};
    table[1] = 2;
    b.chordTable(0, table);
    b.chordTable(7, std::array<uint8_t, 20>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    b.slot(0, 0, 0, {WqEv::bar(0), WqEv::note(0, 36, 100, 48), WqEv::note(192, 38, 100, 48), WqEv::end(0)});
    b.slot(0, 0, 2, {WqEv::bar(0), WqEv::note(0, 40, 90, 96), WqEv::end(0)});
    b.slot(0, 2, 2, {WqEv::bar(0, 18), WqEv::note(0, 43, 90, 96), WqEv::bar(1, 18), WqEv::note(0, 45, 90, 96), WqEv::end(1)});
    b.slot(7, 1, 5, {WqEv::bar(0), WqEv::note(0, 60, 80, 96), WqEv::end(0)});
    return b.build();
}

// Names, MIDI headers and track lengths of the files in a folder.
std::string fileSet(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::string out;
    for (const auto& file : files) {
        std::vector<uint8_t> bytes;
        if (readWholeFile(file, bytes) != FileIoError::None) continue;
        out += file.filename().string();
        if (bytes.size() >= 14 && std::equal(bytes.begin(), bytes.begin() + 4, "MThd")) {
            ByteCursor c(bytes);
            c.skip(8);
            const uint16_t format = c.u16be(), tracks = c.u16be(), division = c.u16be();
            out += ": format " + std::to_string(format) + ", " + std::to_string(tracks) + " tracks, division " +
                   std::to_string(division) + ", track bytes";
            for (uint16_t t = 0; t < tracks && c.has(8); ++t) {
                c.skip(4);
                const uint32_t length = c.u32be();
                out += " " + std::to_string(length);
                c.skip(length);
            }
        }
        out += "\n";
    }
    return out;
}

TEST(StyleToMidi, WqStylesAsCollectedFiles)
{
    test::TempDir dir;
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(test::wqStyleFile('9', {wqStyle("Pop/Rock"), wqStyle("Ballad")}), "/x/w.STY"));
    d.ui.select({0, 1});
    d.ui.folders.push_back(dir.path());
    EXPECT_EQ(d.doc.OnUtilStyToMidi(), 2);
    EXPECT_EQ(d.ui.folderDialogs, (std::vector<std::string>{"Select Destination Folder"}));
    EXPECT_EQ(d.doc.m_OutputFolder, dir.path());
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"Successfully converted 2 styles of 2 selected"}));
    EXPECT_EQ(d.ui.messages.size(), 0u);
    EXPECT_TRUE(std::filesystem::exists(dir / "Pop_Rock_COLLECT.mid")); // a name made a valid file name
    EXPECT_TRUE(std::filesystem::exists(dir / "Ballad_COLLECT.mid"));

    // Existing files are asked about, in order: No, Yes To All, Cancel.
    const struct {
        std::vector<StyAnswer> answers;
        size_t questions;
        int converted;
    } cases[] = {
        {{StyAnswer::No, StyAnswer::Yes}, 2, 1},
        {{StyAnswer::YesToAll}, 1, 2},
        {{StyAnswer::Cancel}, 1, 0},
        {{StyAnswer::Yes, StyAnswer::Cancel}, 2, 1},
    };
    for (const auto& c : cases) {
        d.ui.overwriteQuestions.clear();
        d.ui.overwriteAnswers.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(d.doc.StylesToMidi(std::vector<int>{0, 1}, dir.path()), c.converted);
        EXPECT_EQ(d.ui.overwriteQuestions.size(), c.questions);
        EXPECT_EQ(d.texts(), (std::vector<std::string>{"Successfully converted " + std::to_string(c.converted) +
                                                       " styles of 2 selected"}));
    }

    // Nothing selected: zero of zero.
    d.ui.selected.clear();
    d.ui.folders.push_back(dir.path());
    EXPECT_EQ(d.doc.OnUtilStyToMidi(), 0);
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"Successfully converted 0 styles of 0 selected"}));
}

TEST(StyleToMidi, FileSetsOfBothSeriesAndMethods)
{
    std::string golden;
    // Wq, one file per chord variation
    {
        test::TempDir dir;
        Doc d;
        ASSERT_TRUE(d.doc.OpenImage(test::wqStyleFile('9', {wqStyle("Pop")}), "/x/w.sty"));
        StyDocSettings perCv;
        perCv.styToMidiType = 1;
        d.doc.SetSettings(perCv);
        EXPECT_EQ(d.doc.StylesToMidi(std::vector<int>{0}, dir.path()), 1);
        golden += "== Wq, per CV\n" + fileSet(dir.path());
    }
    // Qe: a Qe4k style with its STS data and a Qe9z style with elements 10 and 11
    const auto pop = test::qeStyleInstance({"Pop", 0, {0, 4}});
    const auto nine = test::qeStyleInstance({"Nine", 1, {0, 10, 11}});
    const auto container = test::dasfImage(
        {test::qeEntry("Pop", 2, 2, 0, pop), test::stsDataEntry("PopSts", 2, 0, {0}), test::qeEntry("Nine", 2, 2, 1, nine)});
    for (int type : {0, 1}) {
        test::TempDir dir;
        Doc d;
        ASSERT_TRUE(d.doc.OpenImage(container, "/x/q.sty"));
        StyDocSettings settings;
        settings.styToMidiType = type;
        d.doc.SetSettings(settings);
        EXPECT_EQ(d.doc.StylesToMidi(std::vector<int>{0, 1}, dir.path()), 2) << type;
        golden += std::string("== Qe, ") + (type ? "per CV" : "collected") + "\n" + fileSet(dir.path());
    }
    // A Qe file per CV is the library's export brought to format 1: track 0
    // holds tempo, signature and its end right after them (19 bytes); each
    // channel track holds the track record's expression, bank select and
    // program, then the pattern, which keeps the imported file's tick-0 bank
    // select and program change, and its end right after the last note-off
    // (66 bytes).
    test::expectGolden("StyleToMidiFiles.txt", golden);
    EXPECT_NE(golden.find("Nine_I31.mid"), std::string::npos); // twelve elements for a Qe9z style
    EXPECT_EQ(golden.find("_tmp_"), std::string::npos);         // temporary files are gone
}

TEST(StyleToMidi, AStyleCountsOnlyWhenEveryFileWasWritten)
{
    test::TempDir dir;
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(test::wqStyleFile('9', {wqStyle("Pop")}), "/x/w.sty"));
    StyDocSettings perCv;
    perCv.styToMidiType = 1;
    d.doc.SetSettings(perCv);
    std::filesystem::create_directory(dir / "Pop_E22.mid"); // the last file cannot be written
    EXPECT_EQ(d.doc.StylesToMidi(std::vector<int>{0}, dir.path()), 0);
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"Successfully converted 0 styles of 1 selected"}));
}

// TMPDIR for one test.
struct TempEnvironment {
    test::TempDir dir;
    std::string old;
    bool had = false;
    TempEnvironment()
    {
        if (const char* t = std::getenv("TMPDIR")) old = t, had = true;
        setenv("TMPDIR", dir.path().c_str(), 1);
    }
    ~TempEnvironment()
    {
        if (had)
            setenv("TMPDIR", old.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    size_t files() const { return size_t(std::distance(std::filesystem::directory_iterator(dir.path()), {})); }
};

TEST(StylePlayback, AWqStyleOnOneTimeLine)
{
    TempEnvironment temp;
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(test::wqStyleFile('9', {wqStyle("A Very Long Name")}), "/x/w.sty"));
    d.ui.select({0});
    auto playback = d.doc.PlaySelectedStyle();
    ASSERT_TRUE(playback) << d.ui.lastText();
    EXPECT_EQ(playback->title, "A Very Lon"); // the item's name
    const CStyleMidiReader& r = *playback->reader;
    EXPECT_EQ(r.modelCode, uint32_t('9'));
    const auto& var1 = r.elements[0];
    EXPECT_EQ(var1.present, 1u);
    EXPECT_EQ(var1.chordVariations[1], 2);
    EXPECT_EQ(var1.tracks[0].expression, 100); // volume of DRUM
    EXPECT_EQ(var1.tracks[1].program, 0xFFFFFFFFu); // PERC has no data
    const auto& cv1 = var1.variations[0];
    const auto& cv3 = var1.variations[2];
    EXPECT_EQ(cv1.startTick, 0u);
    EXPECT_GT(cv1.length, 0u);
    EXPECT_EQ(cv3.startTick, cv1.length); // one after the other
    EXPECT_EQ(cv3.measures, 2u);
    EXPECT_EQ(cv3.timeSignatures[0], 0x22); // 3/4
    EXPECT_EQ(cv3.key[2], 2);               // key byte 5: D minor
    EXPECT_EQ(cv3.chord[2], 9);
    EXPECT_GT(cv3.firstEvent, cv1.firstEvent);
    EXPECT_EQ(r.elements[7].present, 1u);
    EXPECT_EQ(r.elements[7].variations[1].startTick, cv3.startTick + cv3.length);
    EXPECT_EQ(r.elements[1].present, 0u);
    EXPECT_EQ(temp.files(), 0u); // every temporary file was read and deleted
    EXPECT_EQ(d.ui.maxWaitDepth, 1);
}

TEST(StylePlayback, Refusals)
{
    TempEnvironment temp;
    std::vector<uint8_t> empty = test::WqImageBuilder::fromEmptyItem('9').build();
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(test::wqStyleFile('9', {wqStyle("Pop"), empty}), "/x/w.sty"));
    d.ui.focused = 0; // focused but not selected
    EXPECT_FALSE(d.doc.PlaySelectedStyle());
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"There is no selected item"}));
    d.ui.select({1});
    EXPECT_FALSE(d.doc.PlaySelectedStyle());
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"Cannot playback empty style!"}));

    // A temporary folder that cannot be written.
    setenv("TMPDIR", (temp.dir / "missing").c_str(), 1);
    d.ui.select({0});
    EXPECT_FALSE(d.doc.PlaySelectedStyle());
    const std::string text = d.ui.lastText();
    EXPECT_EQ(text.substr(0, 36), "Error: Cannot create CV MIDI file: /");
    EXPECT_NE(text.find("missing/Pop_V11-"), std::string::npos);
}

TEST(StylePlayback, QeStylesInWholeMeasures)
{
    const auto nine = test::qeStyleInstance({"Nine", 1, {0, 4, 10}});
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(test::dasfImage({test::qeEntry("Nine", 2, 2, 0, nine)}), "/x/q.sty"));
    d.ui.select({0});
    auto playback = d.doc.PlaySelectedStyle();
    ASSERT_TRUE(playback);
    const CStyleMidiReader& r = *playback->reader;
    EXPECT_EQ(r.modelCode, uint32_t('F'));
    EXPECT_EQ(r.elements[0].present, 1u);
    EXPECT_EQ(r.elements[4].present, 1u);
    EXPECT_EQ(r.elements[0].timeSignature, 0x23); // 4/4
    const auto& var1 = r.elements[0].variations[0];
    const auto& intro = r.elements[4].variations[0];
    EXPECT_EQ(var1.length % 1536, 0u);
    EXPECT_EQ(var1.measures, var1.length / 1536);
    EXPECT_EQ(intro.startTick, var1.length);
    EXPECT_EQ(r.elements[0].tracks[2].expression, 100);
    EXPECT_EQ(r.elements[0].tracks[1].program, 0xFFFFFFFFu); // no PERC pattern

    // A Qe style the library cannot read plays nothing, silently.
    d.doc.m_StyItems[0].data = {1, 2, 3};
    EXPECT_FALSE(d.doc.PlaySelectedStyle());
    EXPECT_TRUE(d.texts().empty());
}

} // namespace
} // namespace zib
