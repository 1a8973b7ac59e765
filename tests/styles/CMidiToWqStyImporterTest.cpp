#include "styles/CMidiToWqStyImporter.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "platform/FileIo.h"
#include "styles/CWqStyleFile.h"
#include "tests/styles/SmfListing.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/StyleMidiBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/WqImageBuilder.h"

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace midi_to_wq_sty_importer_test {

using test::StyleMidiBuilder;
using test::WqEv;
using test::WqEvents;
using test::WqImageBuilder;

constexpr int kDrum = 10, kBass = 12, kAcc1 = 13;
constexpr uint32_t kBar = 384;

std::vector<uint8_t> bytesOf(const WqEvents& events)
{
    return WqImageBuilder::bytesOf(events);
}

struct Imported {
    int code = -1;
    std::string errorText;
    std::vector<uint8_t> events;
    std::array<uint32_t, 6> sizes{};
    int cvLength = 0;
    std::string log;
    int warnings = 0;
};

Imported import(const std::vector<uint8_t>& midi, int track, int ignoreFlags = 0)
{
    Imported out;
    CMidiToWqStyImporter importer;
    importer.SetModel('9');
    importer.SetIgnoreFlags(ignoreFlags);
    std::ostringstream log;
    importer.SetLog(&log);
    out.code = importer.Convert(midi.data(), uint32_t(midi.size()), track);
    char text[256] = {};
    importer.ReportError(text, sizeof text, out.code);
    out.errorText = text;
    out.events = importer.GetEvents();
    for (int t = 0; t < 6; ++t)
        out.sizes[size_t(t)] = importer.GetTrackSize(t);
    out.cvLength = importer.GetCvLength();
    out.log = log.str();
    out.warnings = importer.WarningCount();

    // The entry point gives the same without a log.
    MidiToWqTrackImport plain = ImportMidiToWqTrack(midi, '9', track, ignoreFlags);
    EXPECT_EQ(plain.code, out.code);
    EXPECT_EQ(plain.errorText, out.code ? out.errorText : "");
    EXPECT_EQ(plain.events, out.events);
    EXPECT_EQ(plain.trackSizes, out.sizes);
    EXPECT_EQ(plain.cvLength, out.cvLength);
    return out;
}

// Two bars of DRUM, BASS and ACC1 in a file without text commands.
std::vector<uint8_t> twoBars()
{
    StyleMidiBuilder b;
    b.Channel(kBass).Controller(0, 11, 7, 90).Program(0, 11, 33);
    b.NoteSpan(kDrum, 0, 24, 36).NoteSpan(kDrum, 96, 120, 38).NoteSpan(kDrum, kBar + 96, kBar + 120, 38);
    b.NoteSpan(kBass, 0, 192, 40, 110).NoteSpan(kBass, kBar + 200, 2 * kBar, 43, 90);
    b.Channel(kBass).Controller(kBar, 11, 7, 80);
    b.NoteSpan(kAcc1, 10, 20, 60, 70);
    b.Command(0, "Element: VAR1", StyleMidiBuilder::kText);
    b.Channel(kDrum).EndAt(2 * kBar);
    return b.Build();
}

TEST(CMidiToWqStyImporter, ImportsOneTrackAndSizesThemAll)
{
    std::vector<uint8_t> midi = twoBars();
    Imported bass = import(midi, 2);
    ASSERT_EQ(bass.code, 0) << bass.errorText << "\n" << bass.log;
    EXPECT_EQ(bass.events, bytesOf({WqEv::bar(0), WqEv::note(0, 40, 110, 192), WqEv::bar(1),
                                    WqEv::control(0, 7, 80), WqEv::note(200, 43, 90, 184), WqEv::end(1)}));
    EXPECT_EQ(bass.sizes, (std::array<uint32_t, 6>{24, 0, 24, 12, 0, 0}));
    EXPECT_EQ(bass.cvLength, 2);

    Imported drum = import(midi, 0);
    ASSERT_EQ(drum.code, 0);
    EXPECT_EQ(drum.events, bytesOf({WqEv::bar(0), WqEv::note(0, 36, 100, 24), WqEv::note(96, 38, 100, 24),
                                    WqEv::bar(1), WqEv::note(96, 38, 100, 24), WqEv::end(1)}));
    EXPECT_EQ(drum.sizes, bass.sizes);

    Imported empty = import(midi, 5);
    ASSERT_EQ(empty.code, 0);
    EXPECT_TRUE(empty.events.empty());
    EXPECT_NE(empty.log.find("\nConverting ACC3\n\n"), std::string::npos);
}

TEST(CMidiToWqStyImporter, RefusesWhatItCannotImport)
{
    struct Row {
        const char* what;
        std::function<std::vector<uint8_t>()> midi;
        int track;
        int code;
        std::string logLine;
    };
    auto oneNote = [](StyleMidiBuilder&& b) {
        b.NoteSpan(kDrum, 0, 10, 36);
        return b.Build();
    };
    const std::vector<Row> rows = {
        {"a note on channel 1",
         [] {
             StyleMidiBuilder b;
             b.NoteSpan(kDrum, 0, 10, 36).NoteSpan(1, kBar, kBar + 10, 60);
             return b.Build();
         },
         0, 107, "384          | 02:01:000 | Error: Cannot convert MIDI channel: 1 to arr track.\n"},
        {"format 0",
         [] {
             test::SmfBuilder smf(0, 96);
             smf.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(10, 9, 36);
             return smf.Build();
         },
         0, 115, "Error: MIDI file format not supported in MIDI2STY conversion - Format: 0\n"},
        {"division 24", [&] { return oneNote(StyleMidiBuilder(24)); }, 0, 116, ""},
        {"a 5/2 bar", [&] { return oneNote(StyleMidiBuilder(96, 5, 1)); }, 0, 117, ""},
        {"a time signature off the bar line",
         [&] {
             StyleMidiBuilder b;
             b.Conductor().TimeSig(100, 3, 2);
             return oneNote(std::move(b));
         },
         0, 101, "ERROR: Time sig out of wright place"},
        {"track 6", [&] { return oneNote(StyleMidiBuilder()); }, 6, 106, ""},
        {"track -1", [&] { return oneNote(StyleMidiBuilder()); }, -1, 106, ""},
        {"a note in the 17th bar",
         [] {
             StyleMidiBuilder b;
             b.NoteSpan(kDrum, 0, 10, 36).NoteSpan(kBass, 16 * kBar + 50, 16 * kBar + 60, 40);
             return b.Build();
         },
         0, 112, "Error: Too high (16) number of bars per CV\n"},
        {"17 bars",
         [] {
             StyleMidiBuilder b;
             b.NoteSpan(kDrum, 0, 10, 36).Conductor().EndAt(17 * kBar + 100);
             return b.Build();
         },
         0, 112, ""},
        {"a time a 6/4 bar cannot hold",
         [] {
             StyleMidiBuilder b(96, 6, 2);
             b.NoteSpan(kDrum, 0, 10, 36).NoteSpan(kDrum, 560, 570, 36);
             return b.Build();
         },
         0, 114, "560          | 01:06:080 | Error: Event time (560) does not fit a wq-series style bar\n"},
        {"a truncated file", [&] { return test::SmfBuilder::Truncated(oneNote(StyleMidiBuilder()), 50); }, 0,
         4, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Imported i = import(r.midi(), r.track);
        EXPECT_EQ(i.code, r.code) << i.log;
        EXPECT_TRUE(i.events.empty());
        EXPECT_EQ(i.cvLength, 0);
        if (r.code >= 100) {
            EXPECT_EQ(i.errorText, std::string("CMidiFile error: ") + std::to_string(r.code) + " - " +
                                       CMidiToWqStyImporter::ErrorText(r.code));
        }
        if (!r.logLine.empty()) {
            EXPECT_NE(i.log.find(r.logLine), std::string::npos) << i.log;
        }
    }
}

TEST(CMidiToWqStyImporter, RefusesAnEventBufferOf64Kilobytes)
{
    // 16 bars of DRUM: 17 bar and end events, the rest notes.
    auto drumOf = [](size_t bytes) {
        StyleMidiBuilder b;
        size_t notes = bytes / 4 - 17;
        for (size_t i = 0; i < notes; ++i) {
            uint32_t at = uint32_t(i % 16) * kBar + uint32_t(i / 16 % 380);
            b.Channel(kDrum).NoteOn(at, 9, 36, 100).NoteOff(at + 1, 9, 36);
        }
        b.NoteSpan(kBass, 0, 10, 40).Channel(kDrum).EndAt(16 * kBar);
        return b.Build();
    };
    std::vector<uint8_t> below = drumOf(0xFFFC), at = drumOf(0x10000);
    Imported ok = import(below, 0);
    EXPECT_EQ(ok.code, 0) << ok.errorText;
    EXPECT_EQ(ok.events.size(), 0xFFFCu);
    EXPECT_EQ(import(at, 0).code, 109);
    Imported other = import(at, 2);
    EXPECT_EQ(other.code, 0) << "only the chosen track fills the buffer";
    EXPECT_EQ(other.sizes[0], 0x10000u);
}

// The CV ends with the measure in which the last track chunk ends, less a
// last bar that only holds events in its first tenth of a quarter note.
TEST(CMidiToWqStyImporter, CvLengthFollowsTheFilesEnd)
{
    struct Row {
        int lastNote; // tick in measure 4 of a note-on (-1: none)
        int length;
    };
    for (const Row& r : {Row{-1, 4}, Row{0, 4}, Row{9, 4}, Row{10, 5}, Row{200, 5}}) {
        SCOPED_TRACE(r.lastNote);
        StyleMidiBuilder b;
        b.NoteSpan(kDrum, 0, 10, 36).NoteSpan(kDrum, 3 * kBar + 100, 3 * kBar + 110, 38);
        if (r.lastNote >= 0)
            b.NoteSpan(kDrum, 4 * kBar + uint32_t(r.lastNote), 4 * kBar + uint32_t(r.lastNote), 40, 90);
        b.Conductor().EndAt(4 * kBar + 300);
        Imported i = import(b.Build(), 0);
        ASSERT_EQ(i.code, 0) << i.log;
        EXPECT_EQ(i.cvLength, r.length);
        EXPECT_EQ(
            i.log.find(
                "WARNING: Found only few or none events in first 10% ticks of last bar. Decrementing CV "
                "length to: 4!!!\n") != std::string::npos,
            r.length == 4);
    }
}

// Setup values are those at the first tick; their first repetitions in the
// track are dropped like the ignored kinds.
TEST(CMidiToWqStyImporter, DropsSetupValuesOfTheFirstTick)
{
    StyleMidiBuilder b;
    auto& bass = b.Channel(kBass);
    bass.Controller(0, 11, 32, 1).Program(0, 11, 20).Controller(0, 11, 7, 90).Controller(0, 11, 10, 12);
    bass.Controller(10, 11, 7, 90).Controller(20, 11, 7, 70).Program(30, 11, 20).Program(35, 11, 21);
    bass.Controller(40, 11, 10, 13);
    b.NoteSpan(kBass, 50, 60, 40);
    std::vector<uint8_t> midi = b.Build();
    Imported all = import(midi, 2);
    ASSERT_EQ(all.code, 0) << all.log;
    EXPECT_EQ(all.events, bytesOf({WqEv::bar(0), WqEv::control(20, 7, 70), WqEv::program(35, 0x0115),
                                   WqEv::control(40, 10, 13), WqEv::note(50, 40, 100, 10), WqEv::end(0)}));
    Imported ignored = import(midi, 2, kWqIgnoreVolume | kWqIgnorePan);
    ASSERT_EQ(ignored.code, 0);
    EXPECT_EQ(ignored.events,
              bytesOf({WqEv::bar(0), WqEv::program(35, 0x0115), WqEv::note(50, 40, 100, 10), WqEv::end(0)}));
}

// A chord variation exported as a MIDI file comes back as the same tracks.
std::vector<uint8_t> cvStyle()
{
    WqImageBuilder b('9');
    b.track(0, 0x0105, 110, 31).track(2, 0x0021, 100, 10).track(3, 0x0128, 80, 15);
    b.cv(0, 0, 4, 2).cv(9, 1, 23, 3);
    b.slot(0, 0, 0,
           {WqEv::bar(0), WqEv::note(0, 36, 100, 24), WqEv::control(0, 7, 120), WqEv::note(96, 38, 80, 24),
            WqEv::bar(1), WqEv::note(0, 36, 100, 24), WqEv::note(288, 38, 90, 48), WqEv::end(1)});
    b.slot(0, 0, 2,
           {WqEv::bar(0), WqEv::note(0, 40, 110, 96), WqEv::pitchBend(100, 0x2100),
            WqEv::note(300, 43, 96, 510), WqEv::bar(1), WqEv::note(510, 43, 96, 120),
            WqEv::note(200, 45, 100, 150), WqEv::end(1)});
    b.slot(0, 0, 3,
           {WqEv::bar(0), WqEv::program(0, 0x0129), WqEv::note(0, 60, 70, 192), WqEv::aftertouch(10, 9),
            WqEv::poly(20, 60, 5), WqEv::end(0)});
    b.slot(9, 1, 0,
           {WqEv::bar(0, 19), WqEv::note(0, 49, 120, 96), WqEv::note(192, 57, 100, 510), WqEv::bar(1, 18),
            WqEv::note(510, 57, 100, 510), WqEv::note(96, 36, 100, 10), WqEv::bar(2, 19),
            WqEv::note(510, 57, 100, 12), WqEv::note(192, 38, 100, 12), WqEv::end(2)});
    return b.build();
}

TEST(CMidiToWqStyImporter, ImportsChordVariationExports)
{
    std::vector<uint8_t> image = cvStyle();
    CWqStyleFile style(image.data(), image.size(), '9');
    test::TempDir dir;
    for (auto [element, cv] : {std::pair{0, 0}, std::pair{9, 1}}) {
        SCOPED_TRACE(testing::Message() << "element " << element << " cv " << cv);
        ASSERT_EQ(style.DumpChordVarToMidi(uint8_t(element), uint8_t(cv), 255, dir / "CV.MID"), 0);
        std::vector<uint8_t> midi;
        ASSERT_EQ(readWholeFile(dir / "CV.MID", midi), FileIoError::None);
        for (int t = 0; t < 6; ++t) {
            SCOPED_TRACE(t);
            auto run = style.GetSlotRun(wq::trackSlotOf(element, cv, t));
            std::vector<uint8_t> original(run.begin(), run.end());
            Imported all = import(midi, t);
            ASSERT_EQ(all.code, 0) << all.errorText << "\n" << all.log;
            EXPECT_EQ(all.events, original);
            EXPECT_EQ(all.sizes[size_t(t)], original.size());
            EXPECT_EQ(all.cvLength, style.GetCvLength(uint8_t(element), uint8_t(cv)));
            if (original.empty()) continue;
            // The export of that one track
            std::vector<uint8_t> single;
            ASSERT_EQ(style.BuildChordVarMidi(uint8_t(element), uint8_t(cv), t, single), 0);
            Imported one = import(single, t);
            ASSERT_EQ(one.code, 0) << one.log;
            EXPECT_EQ(one.events, original);
        }
    }
}

TEST(CMidiToWqStyImporter, HasTextsForItsCodesOnly)
{
    CMidiToWqStyImporter importer;
    char text[128];
    struct Row {
        int code;
        const char* text;
    };
    for (const Row& r : {Row{100, "CMidiFile error: 100 - Application defined error code"},
                         Row{107, "CMidiFile error: 107 - Cannot convert MIDI channel to arr track"},
                         Row{112, "CMidiFile error: 112 - Chord variation bar number too high"},
                         Row{117, "CMidiFile error: 117 - Tact Denominator not supported by DASK wq-series"},
                         Row{13, "CMidiFile error: 13 - Missing MThd chunk"}}) {
        EXPECT_GT(importer.ReportError(text, sizeof text, r.code), 0);
        EXPECT_STREQ(text, r.text);
    }
    for (int code : {99, 118, 146, -5})
        EXPECT_EQ(importer.ReportError(text, sizeof text, code), 0) << code;
}

// The importer's own code numbers keep their texts, one by one.
TEST(CMidiToWqStyImporter, EveryCodeKeepsItsText)
{
    struct Row {
        int code;
        const char* text;
    };
    const Row rows[] = {
        {100, "Application defined error code"},
        {101, "Time signature found at wrong place"},
        {102, "Time signature found out of zero tick"},
        {103, "Cannot allocate space for RAM buffer"},
        {104, "Internal mapper error"},
        {105, "Wrong FREAD operation"},
        {106, "Wrong style track index"},
        {107, "Cannot convert MIDI channel to arr track"},
        {108, "Cannot allocate style buffer"},
        {109, "Style buffer limit overflow"},
        {110, "Cannot save style data to output file"},
        {111, "Wrong style pattern index"},
        {112, "Chord variation bar number too high"},
        {113, "Found fatal errors during parsing"},
        {114, "Found fatal errors during conversion"},
        {115, "MIDI file format not supported in MIDI2STY conversion"},
        {116, "Time Division not supported by DASK wq-styles"},
        {117, "Tact Denominator not supported by DASK wq-series"},
    };
    for (const Row& r : rows)
        EXPECT_STREQ(CMidiToWqStyImporter::ErrorText(r.code), r.text) << r.code;
}

// Real drum phrases import whole; files the style cannot take are refused.
TEST(CMidiToWqStyImporter, ReadsRealMidiFiles)
{
    for (const auto& path : test::realFixtureFiles("psr-styles")) {
        SCOPED_TRACE(path.filename().string());
        EXPECT_EQ(import(test::readFileBytes(path), 0).code, 115) << "format 0";
    }

    auto files = test::realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI files";
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        std::vector<uint8_t> midi = test::readFileBytes(path);
        test::SmfListing listing;
        ASSERT_EQ(listing.Read(midi), 0);
        size_t notes = 0;
        bool otherChannel = false;
        uint32_t end = 0;
        for (const auto& e : listing.events) {
            if (e.status >= 0xF0) continue;
            int channel = (e.status & 0x0F) + 1;
            otherChannel = otherChannel || channel < 10 || channel > 15;
            if ((e.status & 0xF0) == 0x90 && e.data.size() > 1 && e.data[1] > 0 && channel == 10) ++notes;
        }
        for (uint32_t t : listing.trackEnds)
            end = std::max(end, t);
        Imported drum = import(midi, 0);
        if (otherChannel) {
            EXPECT_EQ(drum.code, 107);
            continue;
        }
        uint32_t bar = 4u * listing.GetDivision();
        if (end >= 16 * bar + bar / 2) {
            EXPECT_EQ(drum.code, 112);
            continue;
        }
        ASSERT_EQ(drum.code, 0) << drum.errorText;
        size_t found = 0;
        for (size_t at = 0; at + 4 <= drum.events.size(); at += 4) {
            WqEvent e = WqEvent::fromBytes(drum.events.data() + at);
            if (e.kind() == WqEventKind::Note && e.time() != wq::kTie) ++found;
        }
        EXPECT_EQ(found, notes);
        EXPECT_GE(drum.cvLength, 1);
        EXPECT_LE(drum.cvLength, 16);
    }
}

} // namespace midi_to_wq_sty_importer_test
} // namespace zib
