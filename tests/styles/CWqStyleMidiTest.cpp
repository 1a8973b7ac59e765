#include "styles/CWqStyleFile.h"
#include "tests/support/BuildPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "midi/CMidiFileParser.h"
#include "midi/CStyleMidiReader.h"
#include "styles/CStyleTextCommands.h"
#include "styles/CWqStyleMidiWriter.h"
#include "tests/styles/SmfListing.h"
#include "tests/support/Golden.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/TempDir.h"
#include "tests/support/WqImageBuilder.h"

namespace zib {
namespace {

using test::SmfListing;
using test::WqEv;
using test::WqEvents;
using test::WqImageBuilder;

struct Exported {
    int result = 0;
    std::vector<uint8_t> file;
    std::vector<StyleNotice> notices;
    SmfListing listing;
};

std::unique_ptr<Exported> exportStyle(const std::vector<uint8_t>& image, char model, bool percOnDrum = false,
                                      bool countOnly = false)
{
    auto out = std::make_unique<Exported>();
    out->listing.countOnly = countOnly;
    CWqStyleFile style(image.data(), image.size(), uint32_t(model));
    style.SetPercOnDrumChannel(percOnDrum);
    style.SetNoticeSink([&](const StyleNotice& n) { out->notices.push_back(n); });
    out->result = style.BuildStyleMidi(out->file);
    if (out->result == 0) {
        EXPECT_EQ(out->listing.Read(out->file), 0) << "the export must parse cleanly";
    }
    return out;
}

std::unique_ptr<Exported> exportCv(const std::vector<uint8_t>& image, char model, uint8_t element, uint8_t cv, int track)
{
    auto out = std::make_unique<Exported>();
    CWqStyleFile style(image.data(), image.size(), uint32_t(model));
    style.SetNoticeSink([&](const StyleNotice& n) { out->notices.push_back(n); });
    out->result = style.BuildChordVarMidi(element, cv, track, out->file);
    if (out->result == 0) {
        EXPECT_EQ(out->listing.Read(out->file), 0) << "the export must parse cleanly";
    }
    return out;
}

// A small style: a two-bar VAR1 CV1 with a tie across the bar line and a
// two-bar pattern on BASS, an empty VAR1 CV2 before a 6/8 CV3, and INT1 with
// every other event kind.
std::vector<uint8_t> smallStyle()
{
    WqImageBuilder b('9');
    b.name("Small").tempo(120).timeSig(19).retrigger(0x04).tension(0x08);
    b.wrapAround(0, 6).wrapAround(1, 0).wrapAround(2, 11).wrapAround(3, 2);
    b.track(0, 0x0202, 127, 15).track(1, 0x0010, 100, 31).track(2, 0x0120, 90, 5).track(3, 0x0005, 80, 25);
    b.track(4, 0x0006, 70, 15).track(5, 0x0307, 60, 255);
    b.chordTable(0, {0, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2});
    b.cv(0, 0, 0, 2).cv(0, 1, 3, 0).cv(0, 2, 5, 1);
    b.slot(0, 0, 0, {WqEv::bar(0), WqEv::note(0, 36, 100, 48), WqEv::note(300, 38, 80, 510), WqEv::control(96, 7, 90),
                     WqEv::bar(1), WqEv::note(510, 38, 80, 48), WqEv::note(200, 42, 60, 400), WqEv::end(1)});
    b.slot(0, 0, 2, {WqEv::bar(0, 19, 3, 0), WqEv::bar(1, 19, 2, 0), WqEv::end(1)});
    b.pattern(0, 19, 2, {WqEv::bar(0), WqEv::note(0, 48, 64, 96), WqEv::bar(1), WqEv::note(96, 50, 64, 96), WqEv::end(1)});
    b.slot(0, 2, 3, {WqEv::bar(0, 37), WqEv::note(48, 60, 90, 510), WqEv::end(0)});
    b.cv(4, 0, 1, 1);
    b.slot(4, 0, 1, {WqEv::bar(0), WqEv::pitchBend(10, 8192), WqEv::aftertouch(20, 64), WqEv::program(30, 0x0009),
                     WqEv::poly(40, 42, 33), WqEv::raw(1, 2, 3, 4), WqEv::note(50, 56, 120, 20), WqEv::end(0)});
    return b.build();
}

// The golden listing was checked line by line against the export's rules for
// this style; where each kind of line comes from:
// - conductor head: tempo byte 90 -> 500000, the 4/4 signature (24 clocks,
//   8 32nds), "Name:", Rflag P for BASS (retrigger 0x04), TensionOFF for
//   ACC2 and ACC3 (tension 0x08), Shiftup = wrap-around + 1;
// - the setup bar: the chord variations start at tick 384, bar 2, because
//   the MIDI-to-style converters refuse notes in a file's first bar (a
//   deliberate departure, so that an exported style converts back);
// - VAR1: "Element:", the 20 Table lines (entries above 5 written as CV6),
//   "NTT: 3", "CV: CMajor"; the CV of length 0 before CV3 still gets its
//   "CV:" line (deliberate: it keeps the CV numbering when converted back);
//   CV3's 6/8 bar brings a time signature at 1152; INT1 "NTT: 4" and 4/4
//   again at 1440;
// - channel heads: track name, bank MSB/LSB and program from the sound word
//   (DRUM kit 2 -> bank 2 program 25; ACC3's kind 3 on a '9' -> 0, 0), pan for
//   BASS-ACC3 (ACC3's pan 255 written as 127, the highest data byte a MIDI
//   file holds), volume;
// - events: "VAR1CV1_DRUM" texts per CV, notes with the note-off velocity,
//   the tie into bar 2 ending at 48 there, the last bar's note ending two
//   ticks before the bar line (1150), BASS's pattern bars at marks 11 and
//   10, ACC1's tie closing at its 6/8 CV's end, INT1's PERC events of every
//   kind on channel 11, the raw event ignored; every track ends at 1824.
TEST(DumpStyleToMidi, GoldenListingOfASmallStyle)
{
    auto out = exportStyle(smallStyle(), '9');
    ASSERT_EQ(out->result, 0);
    std::string listing;
    for (const std::string& line : out->listing.lines) listing += line + "\n";
    test::compareWithGolden(listing, (test::SourceDir() / "tests/styles/golden/WqStyleMidiSmall.txt").string());
}

// One two-bar VAR1 CV1 in 4/4 at tempo byte 90: the setup bar, then the CV.
TEST(DumpStyleToMidi, OneCvStyle)
{
    auto image = WqImageBuilder('9').tempo(120).timeSig(19).tension(0)
                     .cv(0, 0, 0, 2)
                     .slot(0, 0, 0, {WqEv::bar(0), WqEv::note(0, 36, 100, 24), WqEv::bar(1), WqEv::end(1)})
                     .build();
    ASSERT_EQ(image[11], 90);
    auto out = exportStyle(image, '9');
    ASSERT_EQ(out->result, 0);
    ASSERT_EQ(out->file.size() > 14, true);
    EXPECT_EQ(std::string(out->file.begin(), out->file.begin() + 4), "MThd");
    EXPECT_EQ(out->listing.GetFormat(), 1);
    EXPECT_EQ(out->listing.GetTrackCount(), 7);
    EXPECT_EQ(out->listing.GetDivision(), 96);
    EXPECT_NE(std::find(out->listing.lines.begin(), out->listing.lines.end(), "0 0 tempo 500000"), out->listing.lines.end());

    auto texts = out->listing.Texts(0);
    std::vector<std::string> expected = {"Name: NEW_STYLE", "Rflag: 12,S", "Rflag: 13,S", "Rflag: 14,S", "Rflag: 15,S",
                                         "TensionOFF: 13", "TensionOFF: 14", "TensionOFF: 15", "Shiftup: BASS,1",
                                         "Shiftup: ACC1,1", "Shiftup: ACC2,1", "Shiftup: ACC3,1", "Element: VAR1"};
    const char* chords[] = {"Major", "Maj6", "Maj7", "Maj7b5", "Sus4", "Sus2", "Maj7sus4", "min", "min6", "min7",
                            "min7b5", "minMaj7", "7", "7b5", "7sus4", "dim", "dimMaj7", "aug", "aug7", "augMaj7"};
    for (const char* chord : chords) expected.push_back(std::string("Table: ") + chord + ",1");
    expected.push_back("NTT: 3");
    expected.push_back("CV: CMajor");
    EXPECT_EQ(texts, expected);
    // The element's commands stand at the start of bar 2.
    for (const auto& e : out->listing.events) {
        if (e.track == 0 && e.type == 0x01 && e.text().rfind("Name", 0) != 0 && e.text().rfind("Rflag", 0) != 0 &&
            e.text().rfind("TensionOFF", 0) != 0 && e.text().rfind("Shiftup", 0) != 0) {
            EXPECT_EQ(e.tick, 384u) << e.text();
        }
    }
    // Every track ends after the setup bar and the CV's 2 bars.
    ASSERT_EQ(out->listing.trackEnds.size(), 7u);
    for (uint32_t end : out->listing.trackEnds) EXPECT_EQ(end, 384u + 768u);
    // The DRUM note lies in the CV, none in the setup bar.
    auto drum = out->listing.ChannelEvents(1);
    EXPECT_NE(std::find(drum.begin(), drum.end(), "1 384 ch 99 36 100"), drum.end());
    EXPECT_NE(std::find(drum.begin(), drum.end(), "1 408 ch 89 36 100"), drum.end());
    for (const auto& e : out->listing.events) {
        if ((e.status & 0xE0) == 0x80) {
            EXPECT_GE(e.tick, 384u) << "no note in the setup bar";
        }
    }
}

TEST(DumpStyleToMidi, TiesAndPatternsFollowTheBars)
{
    auto out = exportStyle(smallStyle(), '9');
    ASSERT_EQ(out->result, 0);
    auto drum = out->listing.ChannelEvents(1);
    auto has = [](const std::vector<std::string>& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); };
    // Bar 1 (from tick 384): the tied note sounds into bar 2 and ends at 48 there.
    EXPECT_TRUE(has(drum, "1 684 ch 99 38 80"));
    EXPECT_TRUE(has(drum, "1 816 ch 89 38 80"));
    // In the CV's last bar a note reaching the bar line ends two ticks before it.
    EXPECT_TRUE(has(drum, "1 968 ch 99 42 60"));
    EXPECT_TRUE(has(drum, "1 1150 ch 89 42 60"));
    // BASS plays pattern 0: its first bar at the mark 11, its second at the mark 10.
    auto bass = out->listing.ChannelEvents(3);
    EXPECT_TRUE(has(bass, "3 384 ch 9B 48 64"));
    EXPECT_TRUE(has(bass, "3 480 ch 8B 48 64"));
    EXPECT_TRUE(has(bass, "3 864 ch 9B 50 64"));
    EXPECT_TRUE(has(bass, "3 960 ch 8B 50 64"));
    // The 6/8 CV3 (one bar of 288 ticks) follows at 1152; its tie closes at its end.
    auto acc1 = out->listing.ChannelEvents(4);
    EXPECT_TRUE(has(acc1, "4 1200 ch 9C 60 90"));
    EXPECT_TRUE(has(acc1, "4 1440 ch 8C 60 90"));
    auto times = out->listing.lines;
    EXPECT_TRUE(has(times, "0 1152 timesig 6/2^3 24 8"));
    EXPECT_TRUE(has(times, "0 1440 timesig 4/2^2 24 8"));
}

TEST(DumpStyleToMidi, ElementCommands)
{
    WqEvents oneBar{WqEv::bar(0), WqEv::note(0, 40, 100, 24), WqEv::end(0)};
    WqImageBuilder b('M');
    b.tension(0x10); // ACC2 tension on
    for (int e : {4, 5, 6, 7}) b.cv(e, 0, 0, 1).slot(e, 0, 0, oneBar);
    b.cv(8, 1, 2, 1).slot(8, 1, 0, oneBar); // FILL1 with only CV2: CV1 keeps its number
    auto out = exportStyle(b.build(), 'M');
    ASSERT_EQ(out->result, 0);
    auto texts = out->listing.Texts(0);
    auto after = [&](const std::string& element) {
        auto it = std::find(texts.begin(), texts.end(), "Element: " + element);
        EXPECT_NE(it, texts.end()) << element;
        return it == texts.end() || it + 21 >= texts.end() ? std::string() : *(it + 21);
    };
    EXPECT_EQ(after("INT1"), "NTT: 4");
    EXPECT_EQ(after("END1"), "NTT: 4");
    EXPECT_EQ(after("INT2"), "NTT: 3");
    EXPECT_EQ(after("END2"), "NTT: 3");
    EXPECT_EQ(after("FILL1"), "NTT: 3");
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "TensionOFF: 14"), 0);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "TensionOFF: 13"), 1);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Element: VAR1"), 0);
    // FILL1 CV1 has no bars: its CV command is followed at once by CV2's.
    std::vector<uint32_t> fillCvTicks;
    bool inFill = false;
    for (const auto& e : out->listing.events) {
        if (e.track != 0 || e.type != 0x01) continue;
        if (e.text() == "Element: FILL1") inFill = true;
        else if (inFill && e.text().rfind("CV: ", 0) == 0) fillCvTicks.push_back(e.tick);
    }
    ASSERT_EQ(fillCvTicks.size(), 2u);
    EXPECT_EQ(fillCvTicks[0], fillCvTicks[1]);
}

// The conductor's commands, read by the Wq text-command processor as the
// MIDI-to-Wq converter reads them, are accepted without an error or warning
// and give back the style's settings, even from damaged wrap-around bytes.
// (The tension switches cannot travel: the Wq commands only switch tension off.)
TEST(DumpStyleToMidi, ConductorCommandsReadBackThroughTheWqCommands)
{
    struct Row { uint8_t wrap; int shiftup; };
    const Row rows[] = {{0, 0}, {6, 6}, {11, 11}, {12, 11}, {200, 11}, {255, 11}};
    for (const Row& r : rows) {
        SCOPED_TRACE(int(r.wrap));
        WqEvents oneBar{WqEv::bar(0), WqEv::note(0, 40, 100, 24), WqEv::end(0)};
        WqImageBuilder b('9');
        b.name("Round").retrigger(0x28).tension(0x10);
        for (int i = 0; i < 4; ++i) b.wrapAround(i, i == 1 ? r.wrap : uint8_t(i));
        b.cv(0, 0, 4, 1).slot(0, 0, 0, oneBar).cv(0, 2, 7, 2).slot(0, 2, 2, oneBar);
        b.cv(9, 1, 23, 1).slot(9, 1, 5, oneBar);
        // Entries above the element's last CV are written as its last CV.
        b.chordTable(0, {0, 1, 2, 3, 4, 5, 6, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        b.chordTable(9, {0, 1, 2, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
        auto out = exportStyle(b.build(), '9');
        ASSERT_EQ(out->result, 0);

        CConversionLog silent;
        CStyleTextCommands commands(WqStyleSeries(), silent);
        commands.Reset({});
        for (const auto& e : out->listing.events) {
            if (e.track != 0 || e.status != 0xFF || e.type != 0x01) continue;
            int measure = int(e.tick / 384); // every bar is 4/4
            StyleEventPosition pos{e.tick, measure, int(e.tick % 384) / 96, int(e.tick % 96)};
            ASSERT_EQ(commands.Dispatch(pos, e.type, e.text()), 0) << e.text();
        }
        const StyleCommandState& s = commands.State();
        EXPECT_EQ(s.errors, 0);
        EXPECT_EQ(s.warnings, 0);
        EXPECT_EQ(s.styleName, "Round");
        EXPECT_EQ(s.shiftup[2], 0);
        EXPECT_EQ(s.shiftup[3], r.shiftup);
        EXPECT_EQ(s.shiftup[4], 2);
        EXPECT_EQ(s.shiftup[5], 3);
        EXPECT_EQ(s.rflag[2], 0);
        EXPECT_EQ(s.rflag[3], 1);
        EXPECT_EQ(s.rflag[5], 1);
        // Measure 0 is the setup bar. VAR1: CV1 in measure 1, CV2 without bars,
        // CV3 in measures 2-3; FILL2 CV2 from measure 4.
        EXPECT_EQ(s.cvChord[0][0], 4);
        EXPECT_EQ(s.cvChord[0][2], 7);
        EXPECT_EQ(s.firstMeasure[0][0][0], 1);
        EXPECT_EQ(s.lastMeasure[0][0][0], 1);
        EXPECT_EQ(s.firstMeasure[0][1][0], 2);
        EXPECT_EQ(s.lastMeasure[0][1][0], 1) << "CV2 keeps its number and no bar";
        EXPECT_EQ(s.firstMeasure[0][2][0], 2);
        EXPECT_EQ(s.lastMeasure[0][2][0], 3);
        EXPECT_EQ(s.firstMeasure[9][1][0], 4);
        EXPECT_EQ(s.cvChord[9][1], 23);
        const int var1Table[] = {0, 1, 2, 3, 4, 5, 5, 5};
        for (int i = 0; i < 8; ++i) EXPECT_EQ(s.chordTable[0][size_t(i)], var1Table[i]) << i;
        const int fill2Table[] = {0, 1, 1, 1, 0};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(s.chordTable[9][size_t(i)], fill2Table[i]) << i;
        EXPECT_EQ(s.chordTable[9][19], 1);
    }
}

TEST(DumpStyleToMidi, PercussionOnTheDrumChannel)
{
    auto image = WqImageBuilder('9').cv(0, 0, 0, 1).slot(0, 0, 1, {WqEv::bar(0), WqEv::note(0, 40, 100, 24), WqEv::end(0)}).build();
    auto apart = exportStyle(image, '9', false);
    auto together = exportStyle(image, '9', true);
    auto has = [](const std::vector<std::string>& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); };
    EXPECT_TRUE(has(apart->listing.ChannelEvents(2), "2 384 ch 9A 40 100"));
    EXPECT_TRUE(has(together->listing.ChannelEvents(2), "2 384 ch 99 40 100"));
}

TEST(DumpStyleToMidi, Failures)
{
    // A CV longer than 16 bars stops the export with the message.
    auto tooLong = exportStyle(WqImageBuilder('9').name("Long").cv(1, 2, 0, 17)
                                   .slot(1, 2, 0, {WqEv::bar(0), WqEv::end(0)}).build(), '9');
    EXPECT_EQ(tooLong->result, -2);
    ASSERT_EQ(tooLong->notices.size(), 1u);
    EXPECT_EQ(tooLong->notices[0].kind, StyleNoticeKind::CvTooLong);
    EXPECT_EQ(tooLong->notices[0].caption, "DumpStyleToMidi");
    EXPECT_EQ(tooLong->notices[0].text,
              "Fatal error: Chord variation length greater then 16!\nStyleName: Long______, SE:Variation2, CV:CV3");
    EXPECT_TRUE(tooLong->file.empty());

    // A damaged offset table is refused, never walked.
    auto damaged = exportStyle(WqImageBuilder('9').headByte(534 + 100, 0xFF).headByte(534 + 101, 0xFF).build(), '9');
    EXPECT_EQ(damaged->result, -2);
    ASSERT_EQ(damaged->notices.size(), 1u);
    EXPECT_EQ(damaged->notices[0].kind, StyleNoticeKind::DamagedData);

    // The file is written whole or not at all.
    test::TempDir dir;
    auto image = smallStyle();
    CWqStyleFile style(image.data(), image.size(), '9');
    EXPECT_EQ(style.DumpStyleToMidi(dir / "missing" / "out.mid"), -2);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
    ASSERT_EQ(style.DumpStyleToMidi(dir / "out.mid"), 0);
    std::vector<uint8_t> built;
    ASSERT_EQ(style.BuildStyleMidi(built), 0);
    EXPECT_EQ(test::readFileBytes(dir / "out.mid"), built);
}

// A maximal image whose 16-bar pattern is referenced by every track of three
// VAR1 CVs: each track plays it 3 times, far more than the fixed 122880-byte
// track blocks of old could hold.
std::vector<uint8_t> maximalImage()
{
    WqImageBuilder b('9');
    WqEvents refs;
    for (int bar = 0; bar < 16; ++bar) refs.push_back(WqEv::bar(uint16_t(bar), 19, bar == 0 ? 3 : 2, 0));
    refs.push_back(WqEv::end(15));
    for (int c = 0; c < 3; ++c) {
        b.cv(0, c, uint8_t(c), 16);
        for (int t = 0; t < 6; ++t) b.slot(0, c, t, refs);
    }
    size_t used = 1168 + 18 * WqImageBuilder::bytesOf(refs).size();
    size_t events = (0xFFE0 - 4 - used) / 4 - 17;
    WqEvents pattern;
    for (int bar = 0; bar < 16; ++bar) {
        pattern.push_back(WqEv::bar(uint16_t(bar)));
        for (size_t i = 0; i < events / 16; ++i)
            pattern.push_back(WqEv::note(uint16_t(i * 384 / (events / 16)), uint8_t(36 + i % 48), 100, 12));
    }
    pattern.push_back(WqEv::end(15));
    b.pattern(0, 19, 16, pattern);
    return b.build();
}

TEST(DumpStyleToMidi, MaximalImageWithOnePatternEverywhere)
{
    auto image = maximalImage();
    ASSERT_LT(image.size(), 0xFFE0u);
    ASSERT_GT(image.size(), 0xFF00u);
    auto out = exportStyle(image, '9', false, true);
    ASSERT_EQ(out->result, 0);
    size_t perBar = ((0xFFE0 - 4 - (1168 + 18 * 68)) / 4 - 17) / 16;
    size_t notes = 3 * 16 * perBar;
    for (int t = 1; t < 7; ++t) EXPECT_EQ(out->listing.channelCounts[size_t(t)], (t <= 2 ? 4u : 5u) + 2 * notes) << t;
    EXPECT_GT(out->file.size(), size_t(6 * 2 * 122880));
    for (uint32_t end : out->listing.trackEnds) EXPECT_EQ(end, 384u + 3u * 16u * 384u);
}

// The chord-variation file reads back through the format-0 conversion into
// the CV MIDI reader, as the style document plays styles.
std::vector<uint8_t> toFormat0(const std::vector<uint8_t>& file)
{
    CMidiFileParser parser;
    uint32_t size = 0;
    EXPECT_EQ(parser.ParseFormat0(file.data(), uint32_t(file.size()), size), 0);
    std::vector<uint8_t> out(size);
    EXPECT_EQ(parser.ConvertToFormat0(file.data(), uint32_t(file.size()), out.data(), size), 0);
    return out;
}

TEST(DumpChordVarToMidi, ReadsBackThroughTheCvReader)
{
    auto image = smallStyle();
    CStyleMidiReader reader;
    reader.ResetElements();
    struct Cv { uint8_t element, cv; };
    for (Cv c : {Cv{0, 0}, Cv{4, 0}}) {
        auto out = exportCv(image, '9', c.element, c.cv, 255);
        ASSERT_EQ(out->result, 0);
        EXPECT_EQ(out->listing.GetFormat(), 1);
        EXPECT_EQ(out->listing.GetTrackCount(), 7);
        auto format0 = toFormat0(out->file);
        reader.elements[c.element].variations[c.cv].firstEvent = uint32_t(reader.GetEventCount());
        ASSERT_EQ(reader.ReadImage(format0.data(), uint32_t(format0.size())), 0);
        ASSERT_EQ(reader.PairNotes(c.element, c.cv), 0);
    }
    // Notes of VAR1 CV1 from tick 0, with durations; then INT1 CV1's events.
    struct Expect { uint32_t time; uint8_t status; uint8_t d1; uint32_t duration; };
    auto find = [&](size_t from, size_t to, Expect x) {
        for (size_t i = from; i < to; ++i) {
            const auto& e = *reader.GetEvents()[i];
            if (e.time == x.time && e.status == x.status && !e.data.empty() && e.data[0] == x.d1)
                return (e.status & 0xF0) != 0x90 || e.duration == x.duration;
        }
        return false;
    };
    size_t split = reader.elements[4].variations[0].firstEvent, end = reader.GetEventCount();
    // Notes on the drum channels keep no duration; their note-offs stay.
    EXPECT_TRUE(find(0, split, {0, 0x99, 36, 0}));
    EXPECT_TRUE(find(0, split, {48, 0x89, 36, 0}));
    EXPECT_TRUE(find(0, split, {300, 0x99, 38, 0}));
    EXPECT_TRUE(find(0, split, {432, 0x89, 38, 0}));
    EXPECT_TRUE(find(0, split, {584, 0x99, 42, 0}));
    EXPECT_TRUE(find(0, split, {766, 0x89, 42, 0}));
    EXPECT_TRUE(find(0, split, {0, 0x9B, 48, 96}));
    EXPECT_TRUE(find(0, split, {480, 0x9B, 50, 96}));
    EXPECT_TRUE(find(0, split, {96, 0xB9, 7, 0}));
    EXPECT_TRUE(find(0, split, {0, 0xBB, 10, 0})) << "the pan of BASS stays";
    EXPECT_FALSE(find(0, split, {0, 0xB9, 0, 0})) << "the first bank select is dropped by the reader";
    EXPECT_TRUE(find(split, end, {10, 0xEA, 0, 0}));
    EXPECT_TRUE(find(split, end, {20, 0xDA, 64, 0}));
    EXPECT_TRUE(find(split, end, {30, 0xCA, 9, 0}));
    EXPECT_TRUE(find(split, end, {40, 0xAA, 42, 0}));
    EXPECT_TRUE(find(split, end, {50, 0x9A, 56, 0}));
    EXPECT_TRUE(find(split, end, {70, 0x8A, 56, 0}));
    EXPECT_TRUE(find(0, split, {0, 0x9C, 60, 0}) == false) << "CV3 is not part of CV1";
    EXPECT_EQ(reader.unmatchedNoteOffs, 0u);
}

TEST(DumpChordVarToMidi, OneTrackAndFileLayout)
{
    auto image = smallStyle();
    auto out = exportCv(image, '9', 0, 0, 2);
    ASSERT_EQ(out->result, 0);
    for (int t = 1; t < 7; ++t) {
        if (t == 3) continue;
        EXPECT_TRUE(out->listing.ChannelEvents(t).empty()) << t;
    }
    auto bass = out->listing.ChannelEvents(3);
    std::vector<std::string> expected = {"3 0 ch BB 0 0",     "3 0 ch BB 32 1",   "3 0 ch CB 32",     "3 0 ch BB 10 5",
                                         "3 0 ch BB 7 90",    "3 0 ch 9B 48 64",  "3 96 ch 8B 48 64", "3 480 ch 9B 50 64",
                                         "3 576 ch 8B 50 64"};
    EXPECT_EQ(bass, expected);
    EXPECT_EQ(out->listing.Texts(3), std::vector<std::string>{"VAR1CV1_BASS"});
    EXPECT_EQ(out->listing.Texts(1, 0x03), std::vector<std::string>{"DRUM"});
    EXPECT_TRUE(out->listing.Texts(0).empty()) << "no commands in the first track: the collector copies its texts";
    for (uint32_t end : out->listing.trackEnds) EXPECT_EQ(end, 768u);
    auto has = [&](const std::string& s) {
        return std::find(out->listing.lines.begin(), out->listing.lines.end(), s) != out->listing.lines.end();
    };
    EXPECT_TRUE(has("0 0 tempo 500000"));
    EXPECT_TRUE(has("0 0 timesig 4/2^2 24 8"));

    auto sixEight = exportCv(image, '9', 0, 2, -1);
    ASSERT_EQ(sixEight->result, 0);
    EXPECT_NE(std::find(sixEight->listing.lines.begin(), sixEight->listing.lines.end(), "0 0 timesig 6/2^3 24 8"),
              sixEight->listing.lines.end());
    for (uint32_t end : sixEight->listing.trackEnds) EXPECT_EQ(end, 288u);
}

TEST(DumpChordVarToMidi, ResultCodes)
{
    auto image = smallStyle();
    struct Row { const char* what; uint8_t element, cv; int track; int result; };
    const Row rows[] = {
        {"element 10", 10, 0, 255, -1}, {"INT1 CV3", 4, 2, 255, -1}, {"track 6", 0, 0, 6, -1},
        {"empty CV", 0, 1, 255, -1},    {"CV of no length", 1, 0, 255, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        auto out = exportCv(image, '9', r.element, r.cv, r.track);
        EXPECT_EQ(out->result, r.result);
        EXPECT_TRUE(out->notices.empty());
    }
    auto tooLong = exportCv(WqImageBuilder('I').cv(9, 1, 0, 20).build(), 'I', 9, 1, 255);
    EXPECT_EQ(tooLong->result, -2);
    ASSERT_EQ(tooLong->notices.size(), 1u);
    EXPECT_EQ(tooLong->notices[0].kind, StyleNoticeKind::CvTooLong);

    test::TempDir dir;
    CWqStyleFile style(image.data(), image.size(), '9');
    EXPECT_EQ(style.DumpChordVarToMidi(0, 0, 255, dir / "no" / "TmpRary.mid"), -3);
    EXPECT_EQ(style.DumpChordVarToMidi(0, 0, 255, dir / "TmpRary.mid"), 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "TmpRary.mid"));
}

} // namespace
} // namespace zib
