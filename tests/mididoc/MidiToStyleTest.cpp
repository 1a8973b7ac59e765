// The MIDI-to-style commands with the real converters on small style files.
#include "mididoc/core/MidiToStyleCommand.h"

#include "mididoc/core/MidiDocModel.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/StyleMidiBuilder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace zib;
using namespace zib::test;

TEST(MidiToStyle, DefaultNamesDropTheCollectedFilesSuffix)
{
    struct Case {
        const char* title;
        StyleSeries series;
        const char* name;
    };
    for (const Case& c : {Case{"Pop_COLLECT.MID", StyleSeries::Wq, "Pop.STY"},
                          Case{"Pop_QECOLLECT.MID", StyleSeries::Qe, "Pop.STY"},
                          Case{"Pop_QECOLLECT.MID", StyleSeries::Wq, "Pop_QECOLLECT.STY"},
                          Case{"a.b.mid", StyleSeries::Qe, "a.b.STY"}, Case{"NoDot", StyleSeries::Wq, "NoDot.STY"}})
        EXPECT_EQ(MidiToStyleDefaultName(c.title, c.series), c.name) << c.title;
}

TEST(MidiToStyle, ASuccessfulConversionOpensTheStyle)
{
    TempDir dir;
    StyleMidiBuilder b;
    b.Command(0, "Name: Pop").Command(1, "Element: VAR1").Command(1, "CV: C Major");
    b.NoteSpan(10, b.Bar(1), b.Bar(1) + 48, 36, 100);
    b.EndAt(b.Bar(2));
    DocFixture f(b.Build(), (dir.path() / "Pop_QECOLLECT.mid").string());
    const auto target = dir.path() / "Pop.STY";
    f.dialogs.styleTarget = MidiToStyleTarget{target, 'F'};
    ASSERT_EQ(f.doc->OnUtilMidiToQeSty(), EditResult::Done);
    EXPECT_EQ(f.dialogs.styleNamesSeen, std::vector<std::string>{"Pop.STY"});
    EXPECT_TRUE(std::filesystem::exists(target));
    EXPECT_EQ(f.views.openedDocuments, std::vector<std::filesystem::path>{target});
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "MIDI2STY.TXT"));
    EXPECT_TRUE(f.reports.questions.empty());
}

TEST(MidiToStyle, AFailureKeepsTheLogAndAsks)
{
    TempDir dir;
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        DocFixture f(smallSong(1), (dir.path() / "Plain.mid").string());
        f.s.settings.DefaultKbdType = '9';
        const auto target = dir.path() / "Plain.STY";
        f.dialogs.styleTarget = MidiToStyleTarget{target, 'M'};
        f.reports.answer = yes;
        EXPECT_EQ(f.doc->OnUtilMidiToSty(), EditResult::Failed);
        // The model chosen is kept, before the conversion ran.
        EXPECT_EQ(f.dialogs.styleModelsSeen, std::vector<uint32_t>{'9'});
        EXPECT_EQ(f.s.settings.DefaultKbdType, 'M');
        EXPECT_EQ(std::get<int32_t>(f.s.profile.values.at("Settings/DefaultKbdType")), 'M');
        EXPECT_FALSE(std::filesystem::exists(target));
        EXPECT_TRUE(std::filesystem::exists(dir.path() / "MIDI2STY.TXT"));
        ASSERT_EQ(f.reports.questions.size(), 1u);
        EXPECT_EQ(f.reports.questions[0].uiText, "ERROR! %s\n\nDo you want to see TXT report?");
        EXPECT_EQ(f.reports.questions[0].caption, "OnUtilMidiToSty");
        EXPECT_EQ(f.views.viewerTitles, yes ? std::vector<std::string>{"MidiToStyle text report: "}
                                            : std::vector<std::string>{});
        EXPECT_TRUE(f.views.openedDocuments.empty());
    }
    // Cancel: nothing at all
    DocFixture g(smallSong(1));
    EXPECT_EQ(g.doc->OnUtilMidiToQeSty(), EditResult::Cancelled);
}

TEST(MidiToStyle, TheFileDumpGoesBesideTheFileAndIntoTheViewer)
{
    TempDir dir;
    DocFixture f(smallSong(1), (dir.path() / "Song.mid").string());
    ASSERT_EQ(f.doc->OnFileTextDump(), EditResult::Done);
    EXPECT_EQ(f.views.viewerFiles, std::vector<std::filesystem::path>{dir.path() / "Song.txt"});
    EXPECT_EQ(f.views.viewerTitles, std::vector<std::string>{"Midi file text description: "});
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "Song.txt"));
    f.views.viewerOk = false;
    EXPECT_EQ(f.doc->OnFileTextDump(), EditResult::Failed);
    EXPECT_TRUE(f.reports.Has(59));
    // Into a chosen file, and a file that cannot be written
    f.dialogs.dumpTarget = dir.path() / "Chosen.TXT";
    EXPECT_EQ(f.doc->OnMidiToText(), EditResult::Done);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "Chosen.TXT"));
    f.dialogs.dumpTarget = dir.path() / "no" / "such" / "x.txt";
    EXPECT_EQ(f.doc->OnMidiToText(), EditResult::Failed);
    EXPECT_TRUE(f.reports.Has(60));
    EXPECT_TRUE(f.reports.Has(61));
}
