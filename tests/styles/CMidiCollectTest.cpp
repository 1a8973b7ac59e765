#include "styles/CMidiCollect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "styles/CWqStyleFile.h"
#include "tests/styles/CollectedFileCheck.h"
#include "tests/styles/SmfListing.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/ReportedError.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/WqImageBuilder.h"

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace midi_collect_test {

using test::Collected;
using test::CollectedCommandCheck;
using test::contains;
using test::markers;
using test::SmfBuilder;
using test::SmfListing;
using test::SmfTrack;
using test::TempDir;
using test::WqEv;
using test::WqImageBuilder;

constexpr const char* kTerminators[] = {"V11", "V12", "V13", "V14", "V15", "V16", "V21", "V22", "V23",
                                        "V24", "V25", "V26", "V31", "V32", "V33", "V34", "V35", "V36",
                                        "V41", "V42", "V43", "V44", "V45", "V46", "I11", "I12", "I21",
                                        "I22", "E11", "E12", "E21", "E22", "F11", "F12", "F21", "F22"};

std::unique_ptr<Collected> collect(const std::filesystem::path& picked,
                                   const WqCvCollectSettings& settings = {})
{
    std::ostringstream log;
    const CvCollectResult result = CollectWqCvMidi(picked, settings, &log);
    return Collected::Of(result, log.str());
}

// Note-ons of one track as "tick channel key".
std::vector<std::string> noteOns(const SmfListing& listing, int track)
{
    std::vector<std::string> out;
    for (const auto& e : listing.events)
        if (e.track == track && (e.status & 0xF0) == 0x90 && e.data.size() == 2 && e.data[1] > 0)
            out.push_back(std::to_string(e.tick) + " " + std::to_string(e.status & 0x0F) + " " +
                          std::to_string(e.data[0]));
    return out;
}

// Controllers and programs at tick 0 of one track as "status data...".
std::vector<std::string> headOf(const SmfListing& listing, int track)
{
    std::vector<std::string> out;
    for (const auto& e : listing.events) {
        const int kind = e.status & 0xF0;
        if (e.track != track || e.tick != 0 || (kind != 0xB0 && kind != 0xC0)) continue;
        std::string text = std::to_string(e.status);
        for (uint8_t d : e.data)
            text += " " + std::to_string(d);
        out.push_back(text);
    }
    return out;
}

// The conductor texts through the MIDI-to-Wq-style text commands.
void expectCleanCommands(const std::vector<uint8_t>& file, int elements = 10)
{
    CollectedCommandCheck check(WqStyleSeries());
    ASSERT_EQ(check.Read(file), 0);
    EXPECT_EQ(check.fatal, 0);
    EXPECT_EQ(check.State().errors, 0) << check.Log();
    EXPECT_EQ(check.State().warnings, 0) << check.Log();
    for (int e = 0; e < elements; ++e)
        EXPECT_TRUE(check.State().elementFound[size_t(e)]) << e;
}

// A small Wq style: VAR1 CV1 two bars of 4/4 (DRUM and BASS), VAR1 CV3 one
// bar of 6/8 (ACC1), INT1 CV1 one bar (PERC).
std::vector<uint8_t> roundTripStyle()
{
    WqImageBuilder b('9');
    b.name("Round").tempo(100).timeSig(19);
    b.track(0, 0x0102, 110, 40).track(2, 0x0021, 90, 70);
    b.cv(0, 0, 0, 2).cv(0, 2, 0, 1).cv(4, 0, 0, 1);
    b.slot(
        0, 0, 0,
        {WqEv::bar(0), WqEv::note(0, 36, 100, 48), WqEv::bar(1), WqEv::note(200, 38, 90, 48), WqEv::end(1)});
    b.slot(
        0, 0, 2,
        {WqEv::bar(0), WqEv::note(0, 40, 100, 96), WqEv::note(192, 44, 100, 96), WqEv::bar(1), WqEv::end(1)});
    b.slot(0, 2, 3, {WqEv::bar(0, 37), WqEv::note(48, 60, 90, 96), WqEv::end(0)});
    b.slot(4, 0, 1, {WqEv::bar(0), WqEv::note(96, 70, 80, 48), WqEv::end(0)});
    return b.build();
}

TEST(CMidiCollect, CollectsTheChordVariationsOfAWqStyleExport)
{
    TempDir dir;
    const auto image = roundTripStyle();
    CWqStyleFile style(image.data(), image.size(), '9');
    size_t notesIn = 0;
    std::vector<std::string> drumHeadIn;
    for (auto [e, cv] : {std::pair{0, 0}, std::pair{0, 2}, std::pair{4, 0}}) {
        const auto path = dir / ("Round" + std::string(kTerminators[wq::cvIndexOf(e, cv)]) + ".mid");
        ASSERT_EQ(style.DumpChordVarToMidi(uint8_t(e), uint8_t(cv), 255, path), 0);
        SmfListing cvListing;
        ASSERT_EQ(cvListing.Read(test::readFileBytes(path)), 0);
        for (int t = 0; t < 7; ++t)
            notesIn += noteOns(cvListing, t).size();
        if (e == 0 && cv == 0) drumHeadIn = headOf(cvListing, 1);
    }

    const auto c = collect(dir / "RoundV13.mid");
    ASSERT_EQ(c->code, 0) << c->errorText << "\n" << c->log;
    EXPECT_EQ(c->output, dir / "Round_COLLECT.MID");
    EXPECT_EQ(c->listing.GetFormat(), 1);
    EXPECT_EQ(c->listing.GetDivision(), 96);
    ASSERT_EQ(c->listing.GetTrackCount(), 7); // the conductor and channels 10-15

    // The CVs one after the other from bar 2 on; a missing CV is one bar of
    // the signature before it, a missing first CV one bar of 4/4.
    const auto conductor = markers(c->listing, 0);
    for (const char* expected :
         {"0 Name: Round", "384 Element: VAR1", "384 CV: EMajor", "1152 CV: CMajor", "1536 CV: CMajor",
          "1824 CV: CMajor", "2112 CV: CMajor", "2400 CV: CMajor", "2688 Element: VAR2", "2688 CV: CMajor"})
        EXPECT_TRUE(contains(conductor, expected)) << expected;
    EXPECT_EQ(std::count_if(conductor.begin(), conductor.end(),
                            [](const std::string& m) { return m.find("Element: ") != std::string::npos; }),
              10);
    EXPECT_EQ(std::count_if(conductor.begin(), conductor.end(),
                            [](const std::string& m) { return m.find(" CV: ") != std::string::npos; }),
              36);

    // Every note, at the CV's start plus its place in the CV file.
    size_t notesOut = 0;
    for (int t = 1; t < 7; ++t)
        notesOut += noteOns(c->listing, t).size();
    EXPECT_EQ(notesOut, notesIn);
    EXPECT_TRUE(contains(noteOns(c->listing, 1), "384 9 36"));
    EXPECT_TRUE(contains(noteOns(c->listing, 1), "968 9 38")); // bar 2 of the CV, tick 200
    EXPECT_TRUE(contains(noteOns(c->listing, 3), "576 11 44"));
    EXPECT_TRUE(contains(noteOns(c->listing, 4), "1584 12 60")); // the 6/8 CV3 at 1536

    // Channel heads: pan, volume, bank MSB, LSB and program from the files;
    // DRUM has no pan of its own and keeps 31.
    // The CV file's head: bank MSB, LSB, program, volume.
    ASSERT_EQ(drumHeadIn.size(), 4u);
    EXPECT_EQ(headOf(c->listing, 1), (std::vector<std::string>{"185 10 31", drumHeadIn[3], drumHeadIn[0],
                                                               drumHeadIn[1], drumHeadIn[2]}));

    expectCleanCommands(c->file);
    EXPECT_EQ(c->log.find("Number of errors found"), std::string::npos);
}

TEST(CMidiCollect, MissingChordVariationsBecomeOneEmptyBar)
{
    TempDir dir;
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 3, 2).Tempo(0, 600000);
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).NoteOn(96, 9, 36, 100).NoteOff(200, 9, 36);
    test::writeBytes(dir / "SetV12.mid", smf.Build());

    const auto c = collect(dir / "SetV12.mid");
    ASSERT_EQ(c->code, 0) << c->errorText << "\n" << c->log;
    // The conductor, channel 1 (used), channels 10-15 (always); no channel 16.
    ASSERT_EQ(c->listing.GetTrackCount(), 8);
    // Five set-up events each, and the note pairs of channels 1 and 10.
    for (int t = 1; t < 8; ++t)
        EXPECT_EQ(c->listing.channelCounts[size_t(t)], t <= 2 ? 7u : 5u) << t;

    // The first bar (3/4) holds the heads; CV1 is missing: 4/4 for one bar.
    const auto conductor = markers(c->listing, 0);
    for (const char* expected :
         {"288 Element: VAR1", "288 CV: CMajor", "672 CV: CMajor", "960 CV: CMajor", "1248 CV: CMajor",
          "1536 CV: CMajor", "1824 CV: CMajor", "2112 Element: VAR2"})
        EXPECT_TRUE(contains(conductor, expected)) << expected;
    std::vector<std::string> signatures;
    for (const auto& line : c->listing.lines)
        if (line.rfind("0 ", 0) == 0 && line.find("timesig") != std::string::npos) signatures.push_back(line);
    ASSERT_GE(signatures.size(), 3u);
    EXPECT_EQ(signatures[0], "0 0 timesig 3/2^2 24 8");
    EXPECT_EQ(signatures[1], "0 288 timesig 4/2^2 24 8");
    EXPECT_EQ(signatures[2], "0 672 timesig 3/2^2 24 8");
    EXPECT_TRUE(contains(c->listing.lines, "0 0 tempo 600000"));
    EXPECT_TRUE(contains(noteOns(c->listing, 1), "672 0 60"));
    EXPECT_TRUE(contains(noteOns(c->listing, 2), "768 9 36"));

    const std::string folder = dir.path().string();
    EXPECT_NE(c->log.find("Cumulative time: 288. Forcing tact to 4/4 at NonExistent CV MIDI File: " + folder +
                          "/SetV11.mid\n"),
              std::string::npos);
    EXPECT_NE(c->log.find("Forcing tact to tact 3/4 of first CV in current SE. MIDI File: " + folder +
                          "/SetV13.mid\n"),
              std::string::npos);
    EXPECT_NE(c->log.find("Channel: 10, Delta Rest:      384 - Inserted MARKER: CV: CMajor - EMPTY CV!!!\n"),
              std::string::npos);
    expectCleanCommands(c->file);
}

TEST(CMidiCollect, AFileWithoutChannelEventsLastsOneBar)
{
    TempDir dir;
    SmfBuilder silent(1, 96);
    silent.AddTrack().TimeSig(0, 3, 2).Text(0, 1, "Intro");
    test::writeBytes(dir / "QuietV11.mid", silent.Build());
    SmfBuilder notes(1, 96);
    notes.AddTrack().TimeSig(0, 4, 2);
    notes.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(10, 9, 36);
    test::writeBytes(dir / "QuietV12.mid", notes.Build());

    const auto c = collect(dir / "QuietV11.mid");
    ASSERT_EQ(c->code, 0) << c->errorText;
    // Heads 3/4 (288), CV1 one bar of its own 3/4, CV2 at 576 with its 4/4.
    const auto conductor = markers(c->listing, 0);
    EXPECT_TRUE(contains(conductor, "288 CV: CMajor"));
    EXPECT_TRUE(contains(conductor, "576 CV: CMajor"));
    EXPECT_TRUE(contains(noteOns(c->listing, 1), "576 9 36"));
    EXPECT_TRUE(contains(conductor, "960 CV: CMajor"));
    expectCleanCommands(c->file);

    // Without a log the result is the same.
    const CvCollectResult quiet = CollectWqCvMidi(dir / "QuietV11.mid", {}, nullptr);
    ASSERT_EQ(quiet.code, 0);
    EXPECT_EQ(test::readFileBytes(quiet.outputPath), c->file);
}

TEST(CMidiCollect, TheFirstSignatureGivesTheDivisionAndLaterFilesAreRescaled)
{
    TempDir dir;
    SmfBuilder fine(1, 480);
    fine.AddTrack().TimeSig(0, 4, 2);
    fine.AddTrack().NoteOn(480, 9, 36, 100).NoteOff(960, 9, 36);
    test::writeBytes(dir / "DivV11.mid", fine.Build());
    SmfBuilder coarse(1, 96);
    coarse.AddTrack().Tempo(0, 500000);
    coarse.AddTrack().NoteOn(96, 9, 38, 100).NoteOff(97, 9, 38);
    test::writeBytes(dir / "DivV12.mid", coarse.Build());

    const auto c = collect(dir / "DivV11.mid");
    ASSERT_EQ(c->code, 0) << c->errorText;
    EXPECT_EQ(c->listing.GetDivision(), 480);
    const auto notes = noteOns(c->listing, 1);
    EXPECT_TRUE(contains(notes, "2400 9 36")); // bar 2 (1920) + 480
    EXPECT_TRUE(contains(notes, "4320 9 38")); // CV2 at 3840, 96 x 5
    EXPECT_TRUE(contains(markers(c->listing, 0), "3840 CV: CMajor"));
    expectCleanCommands(c->file);
}

TEST(CMidiCollect, OnlyTheFirstBarOfTheFirstTrackReachesTheConductor)
{
    TempDir dir;
    SmfBuilder smf(1, 96);
    smf.AddTrack()
        .TimeSig(0, 4, 2)
        .Tempo(0, 500000)
        .Text(0, 1, "Hello")
        .KeySig(0, 2, 0)
        .Tempo(384, 400000)
        .TimeSig(384, 3, 2)
        .Text(400, 1, "Late");
    smf.AddTrack()
        .Text(0, 1, "Track text")
        .NoteOn(0, 9, 36, 100)
        .NoteOff(10, 9, 36)
        .NoteOn(500, 9, 36, 90)
        .NoteOff(510, 9, 36);
    test::writeBytes(dir / "BarV11.mid", smf.Build());

    const auto c = collect(dir / "BarV11.mid");
    ASSERT_EQ(c->code, 0) << c->errorText << "\n" << c->log;
    std::vector<std::string> conductor;
    for (const auto& line : c->listing.lines)
        if (line.rfind("0 ", 0) == 0) conductor.push_back(line);
    for (const char* expected : {"0 384 tempo 500000", "0 384 meta1 \"Hello\"", "0 384 timesig 4/2^2 24 8",
                                 "0 768 timesig 3/2^2 24 8"})
        EXPECT_TRUE(contains(conductor, expected)) << expected;
    for (const char* absent : {"0 768 tempo 400000", "0 784 meta1 \"Late\"", "0 384 meta1 \"Track text\""})
        EXPECT_FALSE(contains(conductor, absent)) << absent;
    // The CV ends with the 3/4 bar of its last note: CV2 starts at 768 + 288.
    EXPECT_TRUE(contains(markers(c->listing, 0), "1056 CV: CMajor"));
    EXPECT_NE(
        c->log.find("Tempo       | BPM=150   | micros/quarter=400000 --- Out of first bar --- IGNORED!!!"),
        std::string::npos);
    EXPECT_NE(c->log.find("Variable length META TEXT event| len=4     | --- Out of first bar --- IGNORED!!!"),
              std::string::npos);
    expectCleanCommands(c->file);
}

// A time signature in a channel track sets the bars of the CV as one in the
// first track does, but only the first track's signatures are copied.
TEST(CMidiCollect, SignaturesOfOtherTracksSetTheBarsWithoutBeingCopied)
{
    TempDir dir;
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    smf.AddTrack()
        .TimeSig(384, 3, 2)
        .NoteOn(0, 9, 36, 100)
        .NoteOff(10, 9, 36)
        .NoteOn(500, 9, 36, 90)
        .NoteOff(510, 9, 36);
    test::writeBytes(dir / "SigV11.mid", smf.Build());

    const auto c = collect(dir / "SigV11.mid");
    ASSERT_EQ(c->code, 0) << c->errorText << "\n" << c->log;
    std::vector<std::string> signatures;
    for (const auto& line : c->listing.lines)
        if (line.find("timesig") != std::string::npos) signatures.push_back(line);
    // The heads, the first track's 4/4 and the forced 4/4 of the empty VAR2.
    ASSERT_GE(signatures.size(), 3u);
    EXPECT_EQ(signatures[0], "0 0 timesig 4/2^2 24 8");
    EXPECT_EQ(signatures[1], "0 384 timesig 4/2^2 24 8");
    EXPECT_EQ(std::count_if(signatures.begin(), signatures.end(),
                            [](const std::string& l) { return l.find("timesig 3/") != std::string::npos; }),
              0);
    EXPECT_NE(c->log.find("Time sig    |  3/4      | MIDI-clocks/click=24 | 32nds/quarter=8 --- IGNORED"),
              std::string::npos);
    // The CV ends with the 3/4 bar of its last note: CV2 starts at 384 + 384 + 288.
    EXPECT_TRUE(contains(markers(c->listing, 0), "1056 CV: CMajor"));
}

TEST(CMidiCollect, KeyChordsFromTheBassLineOrFromTheSettings)
{
    TempDir dir;
    // Bass notes (channel 12) per CV file.
    const std::map<std::string, std::vector<int>> bass = {
        {"V11", {62, 64, 65}},                    // D, then the minor third F
        {"V12", {57, 60}},                        // A, then C: the third wraps past the octave
        {"V13", {55, 59}},                        // G with a major third
        {"I11", {62, 65}},                        // an intro keeps C major
        {"I12", {62, 65}},     {"F11", {64, 67}}, // E minor
    };
    for (const auto& [terminator, notes] : bass) {
        SmfBuilder smf(1, 96);
        smf.AddTrack().TimeSig(0, 4, 2);
        SmfTrack& t = smf.AddTrack();
        uint32_t tick = 0;
        for (int n : notes) {
            t.NoteOn(tick, 11, n, 100).NoteOff(tick + 40, 11, n);
            tick += 48;
        }
        t.NoteOn(tick, 11, 60, 0); // a note-on of velocity 0 is no note
        test::writeBytes(dir / ("Key" + terminator + ".mid"), smf.Build());
    }

    const auto detected = collect(dir / "KeyV11.mid");
    ASSERT_EQ(detected->code, 0) << detected->errorText;
    std::vector<std::string> cvs;
    for (const std::string& m : markers(detected->listing, 0))
        if (m.find(" CV: ") != std::string::npos) cvs.push_back(m.substr(m.find("CV: ")));
    ASSERT_EQ(cvs.size(), 36u);
    EXPECT_EQ(cvs[0], "CV: Dmin");
    EXPECT_EQ(cvs[1], "CV: Amin");
    EXPECT_EQ(cvs[2], "CV: GMajor");
    EXPECT_EQ(cvs[24], "CV: CMajor"); // INT1 CV1
    EXPECT_EQ(cvs[25], "CV: CMajor");
    EXPECT_EQ(cvs[32], "CV: Emin"); // FILL1 CV1
    expectCleanCommands(detected->file);

    // From the settings: letter - 'A'; a bad or missing letter takes the default's.
    WqCvCollectSettings settings;
    settings.keyChordDetermination = 0;
    settings.keyChord = "DzH";
    const auto fromSettings = collect(dir / "KeyV11.mid", settings);
    ASSERT_EQ(fromSettings->code, 0);
    cvs.clear();
    for (const std::string& m : markers(fromSettings->listing, 0))
        if (m.find(" CV: ") != std::string::npos) cvs.push_back(m.substr(m.find("CV: ")));
    ASSERT_EQ(cvs.size(), 36u);
    EXPECT_EQ(cvs[0], "CV: C#min");   // 'D' = 3
    EXPECT_EQ(cvs[1], "CV: Cmin");    // 'z' -> default 'B'
    EXPECT_EQ(cvs[2], "CV: D#min");   // 'H' = 7 = 2 * 3 + 1
    EXPECT_EQ(cvs[3], "CV: CMajor");  // a missing CV is always C major
    EXPECT_EQ(cvs[24], "CV: CMajor"); // missing letter -> default 'A'
    EXPECT_EQ(cvs[25], "CV: Cmin");   // missing letter -> default 'B'
}

TEST(CMidiCollect, FailuresWriteNothing)
{
    struct Case {
        const char* name;
        const char* picked;
        std::vector<uint8_t> file; // written as the picked file when not empty
        int code;
        const char* logText;
    };
    SmfBuilder format0(0, 96);
    format0.AddTrack().NoteOn(0, 9, 36, 100);
    SmfBuilder offBar(1, 96);
    offBar.AddTrack().TimeSig(0, 4, 2).TimeSig(100, 3, 2);
    offBar.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(500, 9, 36);
    SmfBuilder lateConductor(1, 96);
    lateConductor.AddTrack().TimeSig(0, 4, 2).TimeSig(768, 3, 2);
    lateConductor.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(90, 9, 36);
    SmfBuilder whole(1, 96);
    whole.AddTrack().TimeSig(0, 4, 2);
    whole.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(90, 9, 36);
    const auto truncated = SmfBuilder::Truncated(whole.Build(), 30);

    const std::vector<Case> cases = {
        {"no terminator", "Style.mid", {}, 109, "does not contain correct CV name terminator"},
        {"unknown terminator", "StyleV17.mid", {}, 109, "does not contain correct CV name terminator"},
        {"no extension", "StyleV11mid1", {}, 109, "does not contain correct CV name terminator"},
        {"format 0", "F0V11.mid", format0.Build(), 106,
         "Error: Midi file format (0) not supported in this function"},
        {"signature off a bar line", "OffV11.mid", offBar.Build(), 101,
         "ERROR: Time sig out of right place    |  3/4"},
        {"conductor beyond the notes", "LateV11.mid", lateConductor.Build(), 108,
         "Found event in tempo track behind all events in channel tracks"},
        {"truncated", "CutV11.mid", truncated, 4, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (!c.file.empty()) test::writeBytes(dir / c.picked, c.file);
        const auto result = collect(dir / c.picked);
        EXPECT_EQ(result->code, c.code) << result->log;
        EXPECT_NE(result->log.find(c.logText), std::string::npos) << result->log;
        EXPECT_FALSE(result->errorText.empty());
        // The log ends with the error the collection stopped on.
        EXPECT_TRUE(result->log.ends_with("\n" + result->errorText + "\n")) << result->log;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            EXPECT_EQ(entry.path().filename().string(), c.picked) << "only the input stays";
    }
}

TEST(CMidiCollect, ErrorTexts)
{
    CMidiCollect collector;
    struct Case {
        int code;
        const char* text; // empty: no text
    };
    for (const Case& c :
         {Case{106, "CMidiCollect error: 106 - Midi format not supported in this function"},
          Case{107, "CMidiCollect error: 107 - Cannot allocate track buffers"},
          Case{108, "CMidiCollect error: 108 - Tempo track longer then channel tracks"},
          Case{109, "CMidiCollect error: 109 - Chord variation MIDI file name not correct"},
          Case{110, "CMidiCollect error: 110 - Unexpected MIDI channel found"},
          Case{111, "CMidiCollect error: 111 - Base files have different Time Division (PPQN)"},
          Case{112, ""}, Case{105, ""}, Case{113, ""},
          Case{101, "CMidiFileEx error: 101 - Time signature found at wrong place"},
          Case{7, "CMidiFile error: 7 - File open failed"}})
        EXPECT_EQ(test::ReportedError(collector, c.code), c.text) << c.code;
    char small[12];
    EXPECT_GT(collector.ReportError(small, sizeof small, 109), 0);
    EXPECT_EQ(std::string(small), "CMidiCollec");
}

TEST(CMidiCollect, NamesFromThePickedFile)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    smf.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(90, 9, 36);
    const auto file = smf.Build();

    {
        // The terminator alone: no style name.
        TempDir dir;
        test::writeBytes(dir / "V11.mid", file);
        const auto c = collect(dir / "V11.mid");
        ASSERT_EQ(c->code, 0);
        EXPECT_EQ(c->output, dir / "_COLLECT.MID");
        EXPECT_TRUE(contains(markers(c->listing, 0), "0 Name: NEWSTYLE"));
    }
    {
        // Terminators and members are matched without regard to case; the
        // style name is stored in Windows-1252.
        TempDir dir;
        test::writeBytes(dir / "Caf\xC3\xA9v11.MID", file);
        test::writeBytes(dir / "CAF\xC3\xA9V12.mid", file);
        test::writeBytes(dir / "Other\xC3\xA9V13.mid", file);
        const auto c = collect(dir / "Caf\xC3\xA9v11.MID");
        ASSERT_EQ(c->code, 0) << c->log;
        EXPECT_EQ(c->output, dir / "Caf\xC3\xA9_COLLECT.MID");
        EXPECT_TRUE(contains(markers(c->listing, 0), "0 Name: Caf\xE9"));
        EXPECT_EQ(noteOns(c->listing, 1), (std::vector<std::string>{"384 9 36", "768 9 36"}));
    }
}

TEST(CMidiCollect, TracksOfOneChannelAreMergedInTimeOrder)
{
    TempDir dir;
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    smf.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(10, 9, 36).NoteOn(192, 9, 36, 100).NoteOff(200, 9, 36);
    smf.AddTrack().NoteOn(96, 9, 42, 100).NoteOff(100, 9, 42).NoteOn(288, 9, 42, 100).NoteOff(300, 9, 42);
    test::writeBytes(dir / "TwoV11.mid", smf.Build());

    const auto c = collect(dir / "TwoV11.mid");
    ASSERT_EQ(c->code, 0) << c->errorText;
    EXPECT_EQ(noteOns(c->listing, 1),
              (std::vector<std::string>{"384 9 36", "480 9 42", "576 9 36", "672 9 42"}));
}

TEST(CMidiCollect, ReadsRealMidiFilesWithoutLoss)
{
    const auto files = test::realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI files";
    for (const auto& source : files) {
        SCOPED_TRACE(source.filename().string());
        TempDir dir;
        const auto bytes = test::readFileBytes(source);
        test::writeBytes(dir / "RealV11.mid", bytes);
        test::writeBytes(dir / "RealF22.mid", bytes);
        SmfListing in;
        ASSERT_EQ(in.Read(bytes), 0);
        size_t notesIn = 0;
        for (int t = 0; t < in.GetTrackCount(); ++t)
            notesIn += noteOns(in, t).size();

        const auto c = collect(dir / "RealV11.mid");
        ASSERT_EQ(c->code, 0) << c->errorText;
        size_t notesOut = 0;
        for (int t = 1; t < c->listing.GetTrackCount(); ++t)
            notesOut += noteOns(c->listing, t).size();
        EXPECT_EQ(notesOut, 2 * notesIn);
        expectCleanCommands(c->file);
    }
}

} // namespace midi_collect_test
} // namespace zib
