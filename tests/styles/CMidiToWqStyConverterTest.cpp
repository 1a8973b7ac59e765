#include "styles/CMidiToWqStyConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "platform/FileIo.h"
#include "styles/CWqStyleData.h"
#include "styles/CWqStyleFile.h"
#include "styles/StyleConvertError.h"
#include "tests/styles/SmfListing.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/StyleMidiBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/WqImageBuilder.h"

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace midi_to_wq_sty_converter_test {

using test::StyleMidiBuilder;
using test::WqEv;
using test::WqEvents;
using test::WqImageBuilder;

constexpr int kDrum = 10, kPerc = 11, kBass = 12, kAcc1 = 13, kAcc2 = 14; // MIDI channels
constexpr uint32_t kBar = 384;
constexpr int kText = StyleMidiBuilder::kText; // the Wq style exports write their commands as text events

struct Converted {
    int code = -1;
    std::string errorText;
    std::vector<uint8_t> file;
    std::vector<uint8_t> image;
    std::string log;
    int errors = 0;
    int warnings = 0;
    bool patternized = false;
    uint32_t model = '9';

    CWqStyleData style() const { return CWqStyleData(image.data(), image.size(), model); }
    std::vector<uint8_t> slot(int element, int cv, int track) const
    {
        auto run = style().GetSlotRun(wq::trackSlotOf(element, cv, track));
        return std::vector<uint8_t>(run.begin(), run.end());
    }
};

Converted convert(const std::vector<uint8_t>& midi, char model = '9',
                  const WqStyleConvertSettings& settings = {})
{
    Converted out;
    out.model = uint32_t(model);
    CMidiToWqStyConverter converter;
    converter.SetModel(uint32_t(model));
    converter.SetSettings(settings);
    std::ostringstream log;
    out.code = converter.ConvertToImage(midi.data(), uint32_t(midi.size()), &log, out.file);
    char text[256] = {};
    converter.ReportError(text, sizeof text, out.code);
    out.errorText = text;
    out.image = converter.GetStyleImage();
    out.log = log.str();
    out.errors = converter.ErrorCount();
    out.warnings = converter.WarningCount();
    out.patternized = converter.IsPatternized();

    // The result does not depend on the log.
    CMidiToWqStyConverter silent;
    silent.SetModel(uint32_t(model));
    silent.SetSettings(settings);
    std::vector<uint8_t> file;
    EXPECT_EQ(silent.ConvertToImage(midi.data(), uint32_t(midi.size()), nullptr, file), out.code);
    EXPECT_EQ(file, out.file);
    return out;
}

std::vector<uint8_t> bytesOf(const WqEvents& events)
{
    return WqImageBuilder::bytesOf(events);
}

// VAR1 CV1 in bars 2-3 of a 4/4 file at division 96.
StyleMidiBuilder var1Style(const std::string& cv = "CV: CMajor")
{
    StyleMidiBuilder b;
    b.Command(0, "Name: Test", kText).Command(kBar, "Element: VAR1", kText).Command(kBar, cv, kText);
    return b;
}

TEST(CMidiToWqStyConverter, BuildsTheImageOfEveryModel)
{
    struct Model {
        char letter;
        size_t fileHead;
        const char* name; // the name field as stored
    };
    for (const Model& m :
         {Model{'9', 96, "MyStyle   "}, Model{'<', 96, "MyStyle   "}, Model{'H', 96, "MyStyle   "},
          Model{'I', 224, "MyStyle         "}, Model{'M', 224, "MyStyle         "}}) {
        SCOPED_TRACE(m.letter);
        StyleMidiBuilder b;
        b.Command(0, "Name: MyStyle", kText).Command(0, "Rflag: BASS,S", kText);
        b.Command(0, "TensionOFF: 14", kText);
        b.Command(0, "Shiftup: ACC3,12", kText);
        b.Command(kBar, "Element: VAR1", kText).Command(kBar, "Table: Maj6,2", kText);
        b.Command(kBar, "CV: DMajor", kText);
        b.Command(3 * kBar, "CV: Bmin", kText);
        b.Channel(kDrum)
            .Controller(0, 9, 7, 90)
            .Controller(0, 9, 10, 20)
            .Controller(0, 9, 32, 1)
            .Program(0, 9, 5);
        b.NoteSpan(kDrum, kBar, kBar + 48, 36, 100).NoteSpan(kDrum, kBar + 96, kBar + 144, 38, 80);
        b.NoteSpan(kDrum, 2 * kBar + 192, 2 * kBar + 240, 42, 64);
        b.NoteSpan(kBass, 3 * kBar + 96, 3 * kBar + 192, 40, 90);
        b.Conductor().EndAt(4 * kBar);
        Converted c = convert(b.Build(), m.letter);
        ASSERT_EQ(c.code, 0) << c.errorText << "\n" << c.log;
        const wq::Layout& layout = wq::layoutOf(uint32_t(m.letter));
        ASSERT_GE(c.image.size(), layout.headSize);
        CWqStyleData style = c.style();

        // Head values
        EXPECT_EQ(std::string(c.image.begin(), c.image.begin() + layout.nameWidth), m.name);
        EXPECT_EQ(style.GetTempo(), 120);
        EXPECT_EQ(style.GetTimeSigByte(), 19 | 0x80) << "4/4, division 96";
        EXPECT_EQ(style.GetRetriggerByte(), 0x38) << "BASS set to S, ACC1-ACC3 P";
        EXPECT_EQ(style.GetTensionByte(), 0x28) << "ACC2 turned off";
        EXPECT_EQ(style.GetWrapAround(0), 7);
        EXPECT_EQ(style.GetWrapAround(3), 11);
        if (wq::isLayoutB(uint32_t(m.letter))) {
            EXPECT_EQ(c.image[18], 12);
        }
        EXPECT_EQ(style.GetTrackWord(0, 0), 0x0105);
        EXPECT_EQ(style.GetTrackParam(0, 0), 90);
        EXPECT_EQ(style.GetTrackPan(0), 20);
        EXPECT_EQ(style.GetTrackWord(0, 2), 0);
        EXPECT_EQ(style.GetTrackParam(0, 2), 100);
        EXPECT_EQ(style.GetTrackPan(2), 31);
        EXPECT_EQ(style.GetCvKeyByte(0, 0), 4);
        EXPECT_EQ(style.GetCvLength(0, 0), 2);
        EXPECT_EQ(style.GetCvKeyByte(0, 1), 23);
        EXPECT_EQ(style.GetCvLength(0, 1), 1) << "the bar that only holds the file's end is dropped";
        EXPECT_EQ(style.GetCvLength(0, 2), 0);
        EXPECT_EQ(style.GetElementList(0, 1), 1);
        EXPECT_EQ(style.GetElementList(0, 0), 0);
        for (int k = 0; k < wq::kPatternCount; ++k)
            EXPECT_EQ(style.GetPatternTimeSig(k), 19);

        // Events of the two tracks with notes; every other slot is empty
        EXPECT_EQ(c.slot(0, 0, 0),
                  bytesOf({WqEv::bar(0), WqEv::note(0, 36, 100, 48), WqEv::note(96, 38, 80, 48), WqEv::bar(1),
                           WqEv::note(192, 42, 64, 48), WqEv::end(1)}));
        EXPECT_EQ(c.slot(0, 1, 2), bytesOf({WqEv::bar(0), WqEv::note(96, 40, 90, 96), WqEv::end(0)}));
        EXPECT_EQ(style.Validate(), WqImageError::None);
        EXPECT_EQ(c.image.size(), layout.headSize + 4 * 9);
        EXPECT_EQ(style.GetOffsetEntry(wq::kEndEntry), c.image.size());

        // One track per track number: nothing to share, the file is the image behind the model's head
        EXPECT_FALSE(c.patternized);
        ASSERT_EQ(c.file.size(), m.fileHead + c.image.size());
        EXPECT_EQ(std::string(c.file.begin(), c.file.begin() + 5), std::string("DASK") + m.letter);
        EXPECT_TRUE(std::equal(c.image.begin(), c.image.end(), c.file.begin() + long(m.fileHead)));
        EXPECT_EQ(c.errors, 0);
        EXPECT_EQ(c.warnings, 1) << "the dropped last bar";
    }
}

TEST(CMidiToWqStyConverter, WritesTheConversionLog)
{
    StyleMidiBuilder b = var1Style();
    b.NoteSpan(kDrum, kBar, kBar + 48, 36, 100);
    b.Channel(kDrum).EndAt(2 * kBar);
    std::vector<uint8_t> midi = b.Build();
    Converted c = convert(midi);
    ASSERT_EQ(c.code, 0) << c.log;
    const std::string expectedStart =
        "Converting MIDI file to wq-series style of format DASK9\n\nMIDI File size: " +
        std::to_string(midi.size()) + "\nFormat: 1, Num of tracks: 2, Division: 96\n\n" +
        "\n==================== Track #0 ====================\n\n";
    EXPECT_EQ(c.log.substr(0, expectedStart.size()), expectedStart);
    for (const char* line : {
             "0            | 01:01:000 | Tempo       | BPM=120   | micros/quarter=500000\n",
             "0            | 01:01:000 | Time sig    |  4/4      | MIDI-clocks/click=24 | 32nds/quarter=8\n",
             "0            | 01:01:000 | Name text cmd found: Name: Test\n",
             "384          | 02:01:000 | Element text cmd found: Element: VAR1\n",
             "384          | 02:01:000 | Note ON Event (Key= C2  , Vol= 100) found at channel: 10\n",
             "\nEnd of MIDI file parsing. Starting conversion procedure.\n\n",
             "\nConverting VAR1, CV1, DRUM\n\n384          | 02:01:000 | Note ON Event (Key= C2  , Vol= 100) "
             "found at "
             "channel: 10\n432          | 02:01:048 | Note OFF Event resolved (Key= C2  , Vol= 000) at "
             "channel: 10\n",
             "\nConverting FILL2, CV2, ACC3\n\n",
             "WARNING: VAR1, CV1. Found only few or none events in first 10% ticks of last bar. Decrementing "
             "CV length "
             "to: 1!!!\n",
             "\nTrying to patternize style data. Current style size: 1180\n"
             "Patternization failed. Style data remain unpatternized.\n",
         })
        EXPECT_NE(c.log.find(line), std::string::npos) << line;
    const std::string end = "\n\nEnd of parsing\nNumber of errors found: 0\nNumber of warnings found: 1\n";
    ASSERT_GE(c.log.size(), end.size());
    EXPECT_EQ(c.log.substr(c.log.size() - end.size()), end);
}

// Failures: the code, its text, and the log line that says why.
TEST(CMidiToWqStyConverter, RefusesWhatAWqStyleCannotHold)
{
    struct Row {
        const char* what;
        std::function<std::vector<uint8_t>()> midi;
        int code;
        std::string logLine;
    };
    auto withNote = [](StyleMidiBuilder&& b) {
        b.NoteSpan(kDrum, kBar, kBar + 48, 36);
        return b.Build();
    };
    const std::vector<Row> rows = {
        {"format 0",
         [] {
             test::SmfBuilder smf(0, 96);
             smf.AddTrack().Tempo(0, 500000);
             return smf.Build();
         },
         135, "Error: MIDI file format not supported in MIDI2STY conversion - Format: 0\n"},
        {"division 48", [&] { return withNote(StyleMidiBuilder(48)); }, 136,
         "Error: Time division not supported: 48 PPQN. Supported divisions: 96 PPQN and greater\n"},
        {"a half-note denominator", [&] { return withNote(StyleMidiBuilder(96, 3, 1)); }, 137,
         "0            | 01:01:000 | Error: Tact Denominator is not supported by DASK wq-series styles\n"},
        {"10/4", [&] { return withNote(StyleMidiBuilder(96, 10, 2)); }, 137,
         "Error: Time signature 10/4 is not supported by DASK wq-series styles\n"},
        {"a time signature inside a bar",
         [&] {
             StyleMidiBuilder b = var1Style();
             b.Conductor().TimeSig(kBar + 100, 3, 2);
             return withNote(std::move(b));
         },
         101,
         "484          | 02:02:004 | ERROR: Time sig out of wright place    |  3/4      | "
         "MIDI-clocks/click=24 | "
         "32nds/quarter=8\n"},
        {"channel 1",
         [] {
             StyleMidiBuilder b = var1Style();
             b.NoteSpan(1, kBar, kBar + 48, 60);
             return b.Build();
         },
         118, "384          | 02:01:000 | Error: Cannot convert MIDI channel: 1 to arr track.\n"},
        {"an event in no CV",
         [] {
             StyleMidiBuilder b;
             b.Command(kBar, "Element: VAR1", kText).Command(2 * kBar, "CV: CMajor", kText);
             b.NoteSpan(kDrum, kBar + 10, kBar + 20, 36);
             return b.Build();
         },
         104, "394          | 02:01:010 | Error: Wrong style element number found: 0\n"},
        {"a note in the setup bar",
         [] {
             StyleMidiBuilder b = var1Style();
             b.NoteSpan(kDrum, 10, 20, 36).NoteSpan(kDrum, kBar, kBar + 20, 36);
             return b.Build();
         },
         133, "10           | 01:01:010 | Error: Note events not allowed inside first bar of MIDI file!\n"},
        {"a misplaced command",
         [] {
             StyleMidiBuilder b = var1Style();
             b.Command(kBar + 5, "Rflag: BASS,S", kText);
             b.NoteSpan(kDrum, kBar, kBar + 20, 36);
             return b.Build();
         },
         133, "389          | 02:01:005 | Error: Rflag text cmd found at wrong place: Rflag: BASS,S\n"},
        {"Name out of place",
         [] {
             StyleMidiBuilder b;
             b.Command(kBar, "Name: Late", kText);
             return b.Build();
         },
         109, ""},
        {"no element",
         [] {
             StyleMidiBuilder b;
             b.Command(0, "Name: Empty", kText);
             return b.Build();
         },
         142, ""},
        {"no note", [] { return var1Style().Build(); }, 143, ""},
        {"an event in the 17th bar of a CV",
         [] {
             StyleMidiBuilder b = var1Style();
             b.NoteSpan(kDrum, kBar, kBar + 10, 36).NoteSpan(kDrum, 17 * kBar + 50, 17 * kBar + 60, 36);
             return b.Build();
         },
         132, "Error: Too high (16) number of bars per CV. SE: VAR1, CV:CV1\n"},
        {"a CV of 17 bars",
         [] {
             StyleMidiBuilder b = var1Style();
             b.Command(2 * kBar, "CV: Cmin", kText).Command(20 * kBar, "CV: DMajor", kText);
             b.NoteSpan(kDrum, kBar, kBar + 10, 36).NoteSpan(kDrum, 20 * kBar + 50, 20 * kBar + 60, 36);
             return b.Build();
         },
         132, "Error: Too high (16) number of bars per CV. SE: VAR1, CV:CV2\n"},
        {"a note held into the next CV",
         [] {
             StyleMidiBuilder b = var1Style();
             b.Command(2 * kBar, "CV: Cmin", kText);
             b.NoteSpan(kDrum, kBar, 2 * kBar + 10, 36).NoteSpan(kDrum, 2 * kBar + 96, 2 * kBar + 100, 38);
             return b.Build();
         },
         134,
         "778          | 03:01:010 | Error: Note OFF relative bar position (1) differs from relative CV "
         "position "
         "(0)\n"},
        {"a time a 6/4 bar cannot hold",
         [] {
             StyleMidiBuilder b(96, 6, 2);
             b.Command(b.Bar(1), "Element: VAR1", kText).Command(b.Bar(1), "CV: CMajor", kText);
             b.NoteSpan(kDrum, 576 + 528, 576 + 540, 36);
             return b.Build();
         },
         134, "1104         | 02:06:048 | Error: Event time (528) does not fit a wq-series style bar\n"},
        {"a truncated file", [] { return test::SmfBuilder::Truncated(var1Style().Build(), 40); }, 4, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Converted c = convert(r.midi());
        EXPECT_EQ(c.code, r.code) << c.log;
        EXPECT_TRUE(c.file.empty());
        char expected[256];
        if (r.code >= 100)
            std::snprintf(expected, sizeof expected, "CMidiFile error: %d - %s", r.code,
                          StyleConvertErrorText(r.code));
        else
            std::snprintf(expected, sizeof expected, "CMidiFile error: %d - Bad MTrk chunk", r.code);
        EXPECT_EQ(c.errorText, expected);
        if (!r.logLine.empty()) {
            EXPECT_NE(c.log.find(r.logLine), std::string::npos) << c.log;
        }
        EXPECT_NE(c.log.find("\n\nEnd of parsing\nNumber of errors found: " + std::to_string(c.errors) + "\n"),
                  std::string::npos)
            << c.log;
        EXPECT_GT(c.errors, 0) << "a run that stops counts its error";
    }
}

TEST(CMidiToWqStyConverter, ReportsOnlyCodesWithTexts)
{
    CMidiToWqStyConverter converter;
    char text[128];
    for (int code : {99, 147, 200, -1})
        EXPECT_EQ(converter.ReportError(text, sizeof text, code), 0) << code;
    EXPECT_GT(converter.ReportError(text, sizeof text, 8), 0);
    EXPECT_STREQ(text, "CMidiFile error: 8 - Reading past end of file");
    EXPECT_GT(converter.ReportError(text, sizeof text, 146), 0);
    EXPECT_STREQ(text, "CMidiFile error: 146 - Wrong VexSound event");
}

// Notes that reach into later bars are tied; a note ending on a bar line ends
// in the bar before it.
TEST(CMidiToWqStyConverter, TiesNotesAcrossBars)
{
    StyleMidiBuilder b = var1Style();
    const uint32_t cv = kBar;
    b.NoteSpan(kBass, cv, cv + kBar, 40, 100);               // to the bar line
    b.NoteSpan(kBass, cv + 192, cv + 2 * kBar + 50, 43, 80); // over two bar lines
    b.NoteSpan(kBass, cv + 300, cv + kBar + 100, 45, 60);    // over one
    b.NoteSpan(kBass, cv + 2 * kBar + 200, cv + 2 * kBar + 260, 47, 50);
    b.Conductor().EndAt(4 * kBar);
    Converted c = convert(b.Build());
    ASSERT_EQ(c.code, 0) << c.log;
    EXPECT_EQ(c.style().GetCvLength(0, 0), 3);
    EXPECT_EQ(c.slot(0, 0, 2),
              bytesOf({WqEv::bar(0), WqEv::note(0, 40, 100, 384), WqEv::note(192, 43, 80, 510),
                       WqEv::note(300, 45, 60, 510), WqEv::bar(1), WqEv::note(510, 43, 80, 510),
                       WqEv::note(510, 45, 60, 100), WqEv::bar(2), WqEv::note(510, 43, 80, 50),
                       WqEv::note(200, 47, 50, 60), WqEv::end(2)}));
}

TEST(CMidiToWqStyConverter, EndsUnpairedNotes)
{
    StyleMidiBuilder b = var1Style();
    b.Channel(kAcc1).NoteOn(kBar + 96, 12, 60, 100); // never released
    b.Channel(kAcc1).NoteOff(kBar + 200, 12, 62, 0); // nothing to release: dropped
    b.Channel(kAcc1).NoteOff(kBar, 12, 64, 0);       // on the CV's first tick: the bar before's
    b.Conductor().EndAt(3 * kBar);
    b.Channel(kAcc1).NoteOn(2 * kBar + 100, 12, 65, 100).NoteOff(2 * kBar + 110, 12, 65);
    Converted c = convert(b.Build());
    ASSERT_EQ(c.code, 0) << c.log;
    EXPECT_EQ(c.slot(0, 0, 3), bytesOf({WqEv::bar(0), WqEv::note(96, 60, 100, 288), WqEv::bar(1),
                                        WqEv::note(100, 65, 100, 10), WqEv::end(1)}));
    EXPECT_EQ(c.style().GetCvLength(0, 0), 2);
    EXPECT_EQ(c.warnings, 3) << "two notes and the dropped last bar";
    EXPECT_NE(c.log.find("584          | 02:03:008 | Warning: Found NoteOFF (Key= D4  , Vol= 000) without "
                         "corresponding NoteON. Discarded\n"),
              std::string::npos);
    EXPECT_NE(c.log.find("480          | 02:02:000 | Warning: Found NoteON (Key= C4  , Vol= 100) without "
                         "corresponding NoteOFF. Ended at the end of its bar\n"),
              std::string::npos);
}

// Setup values come from the first bar; in a track the first bank select,
// volume, pan or program equal to the setup value is dropped, as is every
// event of a kind the ignore flags name.
TEST(CMidiToWqStyConverter, DropsSetupRepetitionsAndIgnoredKinds)
{
    auto midi = [] {
        StyleMidiBuilder b = var1Style();
        auto& acc = b.Channel(kAcc2);
        acc.Controller(0, 13, 0, 2).Controller(0, 13, 32, 1).Program(0, 13, 9).Controller(0, 13, 10, 5);
        acc.Controller(kBar, 13, 7, 100).Controller(kBar, 13, 10, 5).Controller(kBar, 13, 0, 2);
        acc.Controller(kBar + 10, 13, 7, 90).Controller(kBar + 20, 13, 7, 100).Program(kBar + 30, 13, 9);
        acc.Program(kBar + 40, 13, 10).Program(kBar + 50, 13, 9).Controller(kBar + 60, 13, 64, 127);
        acc.PitchBend(kBar + 70, 13, 0x2001)
            .KeyPressure(kBar + 80, 13, 60, 33)
            .ChannelPressure(kBar + 90, 13, 44);
        b.NoteSpan(kAcc2, kBar + 100, kBar + 200, 60);
        return b.Build();
    }();
    struct Row {
        int flags;
        WqEvents events;
    };
    const WqEvents tail = {WqEv::control(60, 64, 127), WqEv::pitchBend(70, 0x2001),   WqEv::poly(80, 60, 33),
                           WqEv::aftertouch(90, 44),   WqEv::note(100, 60, 100, 100), WqEv::end(0)};
    auto with = [&](WqEvents head) {
        head.insert(head.begin(), WqEv::bar(0));
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    for (const Row& r : {
             Row{0, with({WqEv::control(10, 7, 90), WqEv::control(20, 7, 100), WqEv::program(40, 0x010A),
                          WqEv::program(50, 0x0109)})},
             Row{kWqIgnoreVolume, with({WqEv::program(40, 0x010A), WqEv::program(50, 0x0109)})},
             Row{kWqIgnoreProgram | kWqIgnoreBank | kWqIgnorePan,
                 with({WqEv::control(10, 7, 90), WqEv::control(20, 7, 100)})},
         }) {
        SCOPED_TRACE(r.flags);
        WqStyleConvertSettings settings;
        settings.ignoreFlags = r.flags;
        Converted c = convert(midi, '9', settings);
        ASSERT_EQ(c.code, 0) << c.log;
        EXPECT_EQ(c.slot(0, 0, 4), bytesOf(r.events));
        EXPECT_EQ(c.style().GetTrackWord(0, 4), 0x0109);
        EXPECT_EQ(c.style().GetTrackPan(4), 5);
    }
}

// The last-bar rule: a bar whose events all lie in the first tenth of a
// quarter note is not part of the CV (the end of the file falls there).
TEST(CMidiToWqStyConverter, DropsALastBarWithoutEvents)
{
    for (uint32_t late : {0u, 9u, 10u}) {
        SCOPED_TRACE(late);
        StyleMidiBuilder b = var1Style();
        b.NoteSpan(kDrum, kBar + 10, kBar + 20, 36).NoteSpan(kDrum, 3 * kBar + late, 3 * kBar + late, 38);
        Converted c = convert(b.Build());
        ASSERT_EQ(c.code, 0) << c.log;
        EXPECT_EQ(c.style().GetCvLength(0, 0), late < 10 ? 2 : 3);
        EXPECT_EQ(c.warnings, late < 10 ? 1 : 0);
    }
    // A one-bar CV keeps its bar.
    StyleMidiBuilder b = var1Style();
    b.NoteSpan(kDrum, kBar, kBar + 5, 36);
    Converted c = convert(b.Build());
    ASSERT_EQ(c.code, 0) << c.log;
    EXPECT_EQ(c.style().GetCvLength(0, 0), 1);
}

TEST(CMidiToWqStyConverter, FitsTheTrackSoundToTheModel)
{
    struct Row {
        char model;
        int bank, program;
        uint16_t word;
    };
    for (const Row& r : {Row{'9', 1, 100, 0x0164}, Row{'9', 2, 100, 0x0264}, Row{'I', 2, 70, 0x0200},
                         Row{'M', 2, 63, 0x023F}, Row{'9', 3, 5, 0x0000}, Row{'<', 3, 100, 0x0364},
                         Row{'M', 3, 64, 0x0300}, Row{'H', 4, 5, 0x0000}, Row{'I', 4, 5, 0x0405},
                         Row{'M', 5, 5, 0x0000}, Row{'X', 2, 5, 0x0000}, Row{'X', 3, 5, 0x0300}}) {
        SCOPED_TRACE(testing::Message() << r.model << " bank " << r.bank << " program " << r.program);
        StyleMidiBuilder b = var1Style();
        b.Channel(kPerc).Controller(0, 10, 32, r.bank).Program(0, 10, r.program);
        b.NoteSpan(kPerc, kBar, kBar + 10, 50);
        Converted c = convert(b.Build(), r.model);
        ASSERT_EQ(c.code, 0) << c.log;
        EXPECT_EQ(c.style().GetTrackWord(0, 1), r.word);
    }
}

TEST(CMidiToWqStyConverter, TakesKeysAndChordTablesFromTheSettings)
{
    StyleMidiBuilder b = var1Style("CV: Bmin");
    b.Command(kBar, "Table: Maj6,2", kText);
    b.NoteSpan(kDrum, kBar, kBar + 10, 36);
    std::vector<uint8_t> midi = b.Build();

    WqStyleConvertSettings settings;
    settings.keyChordDetermination = 0;
    settings.keyChord = "ABAAAAABAAAAABAAAAABAAAAABABABABABAX"; // FILL2 CV2 = 'X' - 'A' = 23
    settings.keyChord[0] = 'E';
    settings.chordDetermination = 0;
    settings.chordTable = std::string(200, 'A');
    settings.chordTable[5] = 'F';  // VAR1, Sus2 -> CV6
    settings.chordTable[99] = 'B'; // INT1, augMaj7 -> CV2
    Converted c = convert(midi, '9', settings);
    ASSERT_EQ(c.code, 0) << c.log;
    EXPECT_EQ(c.style().GetCvKeyByte(0, 0), 4);
    EXPECT_EQ(c.style().GetCvKeyByte(0, 1), 1);
    EXPECT_EQ(c.style().GetCvKeyByte(9, 1), 23);
    EXPECT_EQ(c.style().GetElementList(0, 1), 0) << "the Table command is not parsed";
    EXPECT_EQ(c.style().GetElementList(0, 5), 5);
    EXPECT_EQ(c.style().GetElementList(4, 19), 1);
    EXPECT_NE(
        c.log.find("Table text cmd found: Table: Maj6,2. Command not parsed as User-Defined determination is "
                   "set\n"),
        std::string::npos);

    // Letters outside their entry's range are refused before they are used.
    for (auto damage : std::vector<std::function<void(WqStyleConvertSettings&)>>{
             [](WqStyleConvertSettings& s) { s.keyChord[3] = 'Y'; },
             [](WqStyleConvertSettings& s) { s.keyChord.resize(35); },
             [](WqStyleConvertSettings& s) { s.chordTable[100] = 'C'; }, // INT2 has two CVs
             [](WqStyleConvertSettings& s) { s.chordTable[0] = 'G'; },
             [](WqStyleConvertSettings& s) { s.chordTable.clear(); }}) {
        WqStyleConvertSettings bad = settings;
        damage(bad);
        EXPECT_EQ(convert(midi, '9', bad).code, 100);
    }
}

// Bars of two tracks that repeat each other go into a shared pattern.
TEST(CMidiToWqStyConverter, StoresSharedBarsAsPatterns)
{
    StyleMidiBuilder b = var1Style();
    b.Command(2 * kBar, "CV: Cmin", kText);
    for (uint32_t cv : {kBar, 2 * kBar})
        for (uint32_t i = 0; i < 8; ++i)
            b.NoteSpan(kDrum, cv + i * 48, cv + i * 48 + 24, 36 + int(i % 3));
    Converted c = convert(b.Build(), 'M');
    ASSERT_EQ(c.code, 0) << c.log;
    EXPECT_TRUE(c.patternized);
    EXPECT_LT(c.file.size(), 224 + c.image.size());
    EXPECT_NE(c.log.find("Style data successfully patternized. New style size: "), std::string::npos);
    CWqStyleData stored(c.file.data() + 224, c.file.size() - 224, 'M');
    EXPECT_EQ(stored.GetPatternLength(0), 1);
    EXPECT_TRUE(WqEvent::fromBytes(stored.GetSlotRun(0).data()).hasPattern());
}

// Images at the size limit of the Wq style file: patterns cannot shrink a
// style whose only track is one CV's DRUM.
TEST(CMidiToWqStyConverter, RefusesAnImageTooLargeForTheFile)
{
    auto styleOfSize = [](size_t imageSize) {
        StyleMidiBuilder b = var1Style();
        size_t events = (imageSize - 1168) / 4 - 16 - 1;
        for (size_t i = 0; i < events; ++i) {
            uint32_t bar = uint32_t(i % 16), at = uint32_t(i / 16 % 383);
            b.Channel(kDrum)
                .NoteOn(kBar + bar * kBar + at, 9, 36, 100)
                .NoteOff(kBar + bar * kBar + at + 1, 9, 36);
        }
        return b.Build();
    };
    test::TempDir dir;
    struct Row {
        size_t size;
        int code;
    };
    for (const Row& r : {Row{65500, 0}, Row{65504, 120}, Row{65536, 120}}) {
        SCOPED_TRACE(r.size);
        std::vector<uint8_t> midi = styleOfSize(r.size);
        std::ostringstream log;
        CMidiToWqStyConverter converter;
        converter.SetOutputFile(dir / "BIG.STY");
        EXPECT_EQ(converter.Convert(midi.data(), uint32_t(midi.size()), &log), r.code)
            << log.str().substr(0, 2000);
        EXPECT_EQ(std::filesystem::exists(dir / "BIG.STY"), r.code == 0);
        if (r.size == 65504) {
            EXPECT_NE(log.str().find("Error: Style size greater then allowed: 65504.\n"), std::string::npos);
        }
        if (r.code == 0) {
            std::vector<uint8_t> file;
            ASSERT_EQ(readWholeFile(dir / "BIG.STY", file), FileIoError::None);
            EXPECT_EQ(file.size(), 96 + r.size);
            std::filesystem::remove(dir / "BIG.STY");
        }
    }
}

TEST(CMidiToWqStyConverter, WritesTheFileWholeOrNotAtAll)
{
    StyleMidiBuilder b = var1Style();
    b.NoteSpan(kDrum, kBar, kBar + 48, 36);
    std::vector<uint8_t> midi = b.Build();
    test::TempDir dir;

    std::ostringstream log;
    MidiToWqStyleResult ok = ConvertMidiToWqStyle(midi, dir / "OUT.STY", 'M', {}, &log);
    EXPECT_EQ(ok.code, 0);
    EXPECT_EQ(ok.errorText, "");
    std::vector<uint8_t> file;
    ASSERT_EQ(readWholeFile(dir / "OUT.STY", file), FileIoError::None);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 5), "DASKM");
    EXPECT_NE(log.str().find("Number of warnings found: 0\n"), std::string::npos);

    MidiToWqStyleResult noFolder = ConvertMidiToWqStyle(midi, dir / "missing" / "OUT.STY", '9', {}, nullptr);
    EXPECT_EQ(noFolder.code, 121);
    EXPECT_EQ(noFolder.errorText, "CMidiFile error: 121 - Cannot save style data to output file");
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

    // A failed conversion leaves an existing file as it was.
    std::vector<uint8_t> broken = test::SmfBuilder::Truncated(midi, 30);
    MidiToWqStyleResult failed = ConvertMidiToWqStyle(broken, dir / "OUT.STY", 'M', {}, nullptr);
    EXPECT_NE(failed.code, 0);
    std::vector<uint8_t> after;
    ASSERT_EQ(readWholeFile(dir / "OUT.STY", after), FileIoError::None);
    EXPECT_EQ(after, file);
}

// Several track chunks on one channel make one track, in time order.
TEST(CMidiToWqStyConverter, MergesTrackChunksOfOneChannel)
{
    StyleMidiBuilder b = var1Style();
    b.NoteSpan(kDrum, kBar, kBar + 10, 36).NoteSpan(kDrum, kBar + 192, kBar + 200, 36);
    b.Smf()
        .AddTrack()
        .NoteOn(kBar + 96, 9, 38, 90)
        .NoteOff(kBar + 100, 9, 38)
        .NoteOn(kBar + 288, 9, 38, 90)
        .NoteOff(kBar + 290, 9, 38);
    Converted c = convert(b.Build());
    ASSERT_EQ(c.code, 0) << c.log;
    EXPECT_EQ(c.slot(0, 0, 0),
              bytesOf({WqEv::bar(0), WqEv::note(0, 36, 100, 10), WqEv::note(96, 38, 90, 4),
                       WqEv::note(192, 36, 100, 8), WqEv::note(288, 38, 90, 2), WqEv::end(0)}));
}

// Higher divisions are scaled to 96 ticks per quarter note, rounding halves up.
TEST(CMidiToWqStyConverter, ScalesTicksToTheStyleResolution)
{
    StyleMidiBuilder b(480);
    const uint32_t bar = b.TicksPerBar();
    b.Command(bar, "Element: VAR1", kText).Command(bar, "CV: CMajor", kText);
    b.NoteSpan(kDrum, bar + 2, bar + 1917, 36).NoteSpan(kDrum, bar + 3, bar + 7, 38);
    b.Conductor().Tempo(0, 618556); // 97 BPM
    Converted c = convert(b.Build());
    ASSERT_EQ(c.code, 0) << c.log;
    EXPECT_EQ(c.style().GetTimeSigByte(), 19) << "no low-resolution flag above 96";
    EXPECT_EQ(c.style().GetTempo(), 97);
    EXPECT_EQ(c.slot(0, 0, 0),
              bytesOf({WqEv::bar(0), WqEv::note(0, 36, 100, 383), WqEv::note(1, 38, 100, 0), WqEv::end(0)}));
}

// What the style's bars hold follows the time signatures of the first track
// chunk; those of other chunks do not count.
TEST(CMidiToWqStyConverter, TakesBarSignaturesFromTheConductor)
{
    StyleMidiBuilder b = var1Style();
    b.Conductor().TimeSig(2 * kBar, 3, 2).TimeSig(2 * kBar + 288, 6, 3);
    b.Channel(kDrum).TimeSig(kBar, 7, 3);
    b.NoteSpan(kDrum, kBar + 10, kBar + 20, 36).NoteSpan(kDrum, 2 * kBar + 10, 2 * kBar + 20, 36);
    b.NoteSpan(kDrum, 2 * kBar + 288 + 100, 2 * kBar + 288 + 110, 36);
    Converted c = convert(b.Build());
    ASSERT_EQ(c.code, 0) << c.log;
    EXPECT_EQ(c.style().GetCvLength(0, 0), 3);
    EXPECT_EQ(c.slot(0, 0, 0), bytesOf({WqEv::bar(0, 19), WqEv::note(10, 36, 100, 10), WqEv::bar(1, 18),
                                        WqEv::note(10, 36, 100, 10), WqEv::bar(2, 37),
                                        WqEv::note(100, 36, 100, 10), WqEv::end(2)}));
}

// ---- Round trip: a Wq style written as a style MIDI file and converted back.

// A style of five CVs with every kind of event the MIDI form carries: ties,
// a 3/4 bar inside a CV, program changes in the track's bank, controllers
// that differ from the setup values, and a CV without bars before one with.
std::vector<uint8_t> roundTripStyle(char model, const std::function<void(WqImageBuilder&)>& change = nullptr)
{
    WqImageBuilder b(model);
    b.name("ROUNDTRIP").tempo(100).timeSig(19, true).retrigger(0x14).tension(0x28);
    b.wrapAround(0, 3).wrapAround(1, 11).wrapAround(2, 0).wrapAround(3, 7);
    if (b.layoutB()) b.headByte(18, 12);
    b.track(0, 0x0105, 110, 31).track(1, 0x0007, 90, 31).track(2, 0x0021, 100, 10);
    b.track(3, 0x0128, 80, 15).track(4, model == 'M' ? 0x0330 : 0x0003, 127, 0).track(5, 0x0101, 64, 30);

    b.cv(0, 0, 4, 2).cv(0, 1, 9, 2).cv(1, 0, 3, 0).cv(1, 1, 17, 1).cv(4, 0, 1, 1).cv(9, 1, 23, 3);
    b.chordTable(0, {0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1});
    b.chordTable(1, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0});
    b.chordTable(4, {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1});
    b.chordTable(9, {1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0});

    // VAR1 CV1: drums and a bass note tied over the bar line
    b.slot(0, 0, 0,
           {WqEv::bar(0), WqEv::note(0, 36, 100, 24), WqEv::control(0, 7, 120), WqEv::note(96, 38, 80, 24),
            WqEv::note(96, 42, 64, 12), WqEv::bar(1), WqEv::note(0, 36, 100, 24), WqEv::note(288, 38, 90, 48),
            WqEv::end(1)});
    b.slot(0, 0, 2,
           {WqEv::bar(0), WqEv::note(0, 40, 110, 96), WqEv::pitchBend(100, 0x2100),
            WqEv::note(300, 43, 96, 510), WqEv::bar(1), WqEv::note(510, 43, 96, 120),
            WqEv::note(200, 45, 100, 150), WqEv::end(1)});
    b.slot(0, 0, 3,
           {WqEv::bar(0), WqEv::program(0, 0x0129), WqEv::note(0, 60, 70, 192), WqEv::note(0, 64, 70, 192),
            WqEv::control(10, 11, 90), WqEv::bar(1), WqEv::note(0, 62, 72, 300), WqEv::end(1)});
    // VAR1 CV2: a note over two bar lines in ACC3, aftertouch in PERC
    b.slot(0, 1, 1, {WqEv::bar(0), WqEv::note(48, 70, 90, 24), WqEv::aftertouch(60, 50), WqEv::end(0)});
    b.slot(0, 1, 5,
           {WqEv::bar(0), WqEv::note(100, 72, 60, 510), WqEv::bar(1), WqEv::note(510, 72, 60, 200),
            WqEv::poly(300, 72, 40), WqEv::end(1)});
    // VAR2 CV2 (CV1 has no bars): one bar of PERC
    b.slot(1, 1, 1, {WqEv::bar(0), WqEv::note(0, 75, 100, 20), WqEv::note(200, 76, 100, 20), WqEv::end(0)});
    // INT1 CV1: a bank change in ACC2
    b.slot(4, 0, 4,
           {WqEv::bar(0), WqEv::control(0, 0, 5), WqEv::control(0, 10, 3), WqEv::note(0, 55, 90, 300),
            WqEv::end(0)});
    // FILL2 CV2: bars of 4/4, 3/4, 4/4 and a note held through the 3/4 bar
    b.slot(9, 1, 0,
           {WqEv::bar(0, 19), WqEv::note(0, 49, 120, 96), WqEv::note(192, 57, 100, 510), WqEv::bar(1, 18),
            WqEv::note(510, 57, 100, 510), WqEv::note(96, 36, 100, 10), WqEv::bar(2, 19),
            WqEv::note(510, 57, 100, 12), WqEv::note(192, 38, 100, 12), WqEv::end(2)});
    b.slot(9, 1, 2,
           {WqEv::bar(0, 19), WqEv::note(0, 28, 100, 380), WqEv::bar(1, 18), WqEv::note(0, 31, 100, 200),
            WqEv::end(1)});
    if (change) change(b);
    return b.build();
}

TEST(CMidiToWqStyConverter, ConvertsAStyleMidiExportBackToTheSameStyle)
{
    for (char model : {'9', '<', 'H', 'I', 'M'}) {
        SCOPED_TRACE(model);
        std::vector<uint8_t> original = roundTripStyle(model);
        CWqStyleFile style(original.data(), original.size(), uint32_t(model));
        std::vector<uint8_t> midi;
        ASSERT_EQ(style.BuildStyleMidi(midi), 0);

        Converted c = convert(midi, model);
        ASSERT_EQ(c.code, 0) << c.errorText << "\n" << c.log;
        ASSERT_EQ(c.image.size(), original.size());
        for (size_t i = 0; i < original.size(); ++i)
            ASSERT_EQ(c.image[i], original[i]) << "first difference at image byte " << i;
        EXPECT_EQ(c.errors, 0);
    }
}

// What the style MIDI form cannot carry, each shown on a copy of the style.
TEST(CMidiToWqStyConverter, RoundTripLosesWhatTheMidiFormCannotCarry)
{
    struct Row {
        const char* what;
        std::function<void(WqImageBuilder&)> change;    // made to the original
        std::function<void(const CWqStyleData&)> check; // what comes back
    };
    const std::vector<Row> rows = {
        {"a drum-kit sound comes back as its program", [](WqImageBuilder& b) { b.track(0, 0x0202, 110, 31); },
         [](const CWqStyleData& s) { EXPECT_EQ(s.GetTrackWord(0, 0), 0x0219); }},
        {"pan 255 (off) comes back as 127", [](WqImageBuilder& b) { b.track(2, 0x0021, 100, 255); },
         [](const CWqStyleData& s) { EXPECT_EQ(s.GetTrackPan(2), 127); }},
        {"DRUM and PERC pans come back as 31", [](WqImageBuilder& b) { b.track(1, 0x0007, 90, 12); },
         [](const CWqStyleData& s) { EXPECT_EQ(s.GetTrackPan(1), 31); }},
        {"a wrap-around point above 11 comes back as 11", [](WqImageBuilder& b) { b.wrapAround(1, 40); },
         [](const CWqStyleData& s) { EXPECT_EQ(s.GetWrapAround(1), 11); }},
        {"retrigger bits outside BASS-ACC3 are not kept", [](WqImageBuilder& b) { b.retrigger(0x14 | 0x81); },
         [](const CWqStyleData& s) { EXPECT_EQ(s.GetRetriggerByte(), 0x14); }},
        {"the origin is not kept", [](WqImageBuilder& b) { b.origin(1); },
         [](const CWqStyleData& s) { EXPECT_EQ(s.GetOrigin(), 0); }},
        {"blanks in the name become '_'", [](WqImageBuilder& b) { b.name("ROUND TRIP"); },
         [](const CWqStyleData& s) { EXPECT_EQ(s.GetRawStyleName(), "ROUND_TRIP"); }},
        {"a CV without a key comes back in C major", [](WqImageBuilder& b) { b.cv(4, 0, 30, 1); },
         [](const CWqStyleData& s) { EXPECT_EQ(s.GetCvKeyByte(4, 0), 0); }},
        {"a track without notes is dropped",
         [](WqImageBuilder& b) {
             b.slot(4, 0, 1, {WqEv::bar(0), WqEv::control(10, 1, 64), WqEv::end(0)});
         },
         [](const CWqStyleData& s) { EXPECT_FALSE(s.HasTrackData(4, 0, 1)); }},
        {"trailing bars without events are dropped",
         [](WqImageBuilder& b) {
             b.slot(0, 1, 1, {WqEv::bar(0), WqEv::note(48, 70, 90, 24), WqEv::bar(1), WqEv::end(1)});
         },
         [](const CWqStyleData& s) { EXPECT_EQ(s.GetSlotRun(wq::trackSlotOf(0, 1, 1)).size(), 12u); }},
        {"a note reaching the end of the CV ends two ticks early",
         [](WqImageBuilder& b) {
             b.slot(4, 0, 3, {WqEv::bar(0), WqEv::note(100, 60, 80, 284), WqEv::end(0)});
         },
         [](const CWqStyleData& s) {
             auto run = s.GetSlotRun(wq::trackSlotOf(4, 0, 3));
             ASSERT_EQ(run.size(), 12u);
             EXPECT_EQ(WqEvent::fromBytes(run.data() + 4).duration(), 282);
         }},
        {"a note tied in at the start of a CV is dropped",
         [](WqImageBuilder& b) {
             b.slot(4, 0, 3,
                    {WqEv::bar(0), WqEv::note(510, 60, 80, 100), WqEv::note(120, 62, 80, 20), WqEv::end(0)});
         },
         [](const CWqStyleData& s) {
             auto run = s.GetSlotRun(wq::trackSlotOf(4, 0, 3));
             ASSERT_EQ(run.size(), 12u);
             EXPECT_EQ(WqEvent::fromBytes(run.data() + 4).time(), 120);
         }},
        {"a note past its bar line without a tie is cut there",
         [](WqImageBuilder& b) {
             b.slot(0, 0, 1,
                    {WqEv::bar(0), WqEv::note(300, 50, 80, 200), WqEv::bar(1), WqEv::note(10, 50, 80, 20),
                     WqEv::end(1)});
         },
         [](const CWqStyleData& s) {
             auto run = s.GetSlotRun(wq::trackSlotOf(0, 0, 1));
             ASSERT_EQ(run.size(), 20u);
             EXPECT_EQ(WqEvent::fromBytes(run.data() + 4).duration(), 84);
         }},
        {"a first volume equal to the track's volume is dropped",
         [](WqImageBuilder& b) {
             b.slot(4, 0, 5,
                    {WqEv::bar(0), WqEv::control(0, 7, 64), WqEv::note(10, 60, 80, 20), WqEv::end(0)});
         },
         [](const CWqStyleData& s) { EXPECT_EQ(s.GetSlotRun(wq::trackSlotOf(4, 0, 5)).size(), 12u); }},
        {"a program change takes the bank of the track's sound",
         [](WqImageBuilder& b) {
             b.slot(4, 0, 2,
                    {WqEv::bar(0), WqEv::program(0, 0x0105), WqEv::note(10, 40, 80, 20), WqEv::end(0)});
         },
         [](const CWqStyleData& s) {
             auto run = s.GetSlotRun(wq::trackSlotOf(4, 0, 2));
             ASSERT_EQ(run.size(), 16u);
             EXPECT_EQ(WqEvent::fromBytes(run.data() + 4).w1(), 0x0005);
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::vector<uint8_t> original = roundTripStyle('9', r.change);
        std::vector<uint8_t> midi;
        ASSERT_EQ(CWqStyleFile(original.data(), original.size(), '9').BuildStyleMidi(midi), 0);
        Converted c = convert(midi, '9');
        ASSERT_EQ(c.code, 0) << c.errorText << "\n" << c.log;
        r.check(c.style());
    }
}

// Real files carry no text commands: each is refused with a code, never a
// crash. Their notes on channels 10-15, placed one bar later in VAR1 CV1 of
// a style, come through whole when they fit in 16 bars.
TEST(CMidiToWqStyConverter, ReadsRealMidiFiles)
{
    // The MIDI part of a PSR style is a format-0 file.
    for (const auto& path : test::realFixtureFiles("psr-styles")) {
        SCOPED_TRACE(path.filename().string());
        Converted c = convert(test::readFileBytes(path));
        EXPECT_EQ(c.code, 135) << c.errorText;
    }

    auto files = test::realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI files";
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        std::vector<uint8_t> midi = test::readFileBytes(path);
        Converted c = convert(midi);
        EXPECT_NE(c.code, 0);
        EXPECT_NE(c.errorText, "");
        EXPECT_TRUE(c.file.empty());

        test::SmfListing listing;
        ASSERT_EQ(listing.Read(midi), 0);
        StyleMidiBuilder b(listing.GetDivision());
        const uint32_t bar = b.TicksPerBar();
        b.Command(bar, "Element: VAR1", kText).Command(bar, "CV: CMajor", kText);
        size_t notes = 0;
        uint32_t lastTick = 0;
        for (const auto& e : listing.events) {
            int channel = (e.status & 0x0F) + 1;
            if (e.status >= 0xF0 || channel < 10 || channel > 15) continue;
            std::vector<uint8_t> bytes(1 + e.data.size(), e.status);
            std::copy(e.data.begin(), e.data.end(), bytes.begin() + 1);
            b.Channel(channel).Raw(bar + e.tick, bytes);
            if ((e.status & 0xF0) == 0x90 && e.data.size() > 1 && e.data[1] > 0) ++notes;
            lastTick = std::max(lastTick, e.tick);
        }
        if (notes == 0) continue;
        Converted style = convert(b.Build());
        if (lastTick >= 16 * bar) {
            EXPECT_EQ(style.code, 132);
            continue;
        }
        ASSERT_EQ(style.code, 0) << style.log.substr(0, 4000);
        size_t found = 0;
        for (int t = 0; t < wq::kTrackCount; ++t) {
            auto run = style.style().GetSlotRun(wq::trackSlotOf(0, 0, t));
            for (size_t at = 0; at + 4 <= run.size(); at += 4) {
                WqEvent e = WqEvent::fromBytes(run.data() + at);
                if (e.kind() == WqEventKind::Note && e.time() != wq::kTie) ++found;
            }
        }
        EXPECT_EQ(found, notes);
        EXPECT_EQ(style.errors, 0);
    }
}

} // namespace midi_to_wq_sty_converter_test
} // namespace zib
