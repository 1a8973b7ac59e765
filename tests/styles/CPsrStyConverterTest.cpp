// Yamaha PSR styles converted into Qe style bodies: the first pass and its
// refusals, the plan of elements, CVs, tracks and patterns, the written
// chunks, and the library reading the result.
#include "styles/CPsrStyConverter.h"

#include "styles/ConversionLogSink.h"
#include "styles/PsrChordTypes.h"
#include "styles/PsrConvertError.h"
#include "tests/styles/SmfListing.h"
#include "tests/support/ChunkBuilder.h"
#include "tests/support/DasfImageBuilder.h"
#include "tests/support/LibraryStyle.h"
#include "tests/support/PsrStyleBuilder.h"
#include "tests/support/QeStyleBodyReader.h"
#include "tests/support/RealFixtures.h"
#include "ulvarf/ulvarf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace zib {
// Named, so that its helpers stay apart from other test files built with it.
namespace psr_sty_converter_test {

using Bytes = std::vector<uint8_t>;
using test::CsegEntry;
using test::CtabEntry;
using test::LibraryStyle;
using test::PropItem;
using test::PsrStyleBuilder;

// MIDI channels (0-15) and the Ctab destinations that put them on Qe tracks.
constexpr int kDrum = 9, kBass = 10, kAcc1 = 11, kAcc2 = 12;

struct Converted {
    int code = -1;
    std::string log;
    Bytes body;
    test::QeStyleBody parts;
};

Converted convert(CPsrStyConverter& converter, const Bytes& file, uint32_t capacity = CPsrStyConverter::kOutputCapacity)
{
    Converted out;
    std::ostringstream log;
    COStreamLogSink sink(log);
    converter.SetLog(&sink);
    converter.SetFileName("Test.sty");
    out.code = converter.Convert(file, capacity);
    converter.SetLog(nullptr);
    out.log = log.str();
    out.body = converter.GetOutput();
    if (out.code == 0) {
        out.parts = test::readQeStyleBody(out.body);
        EXPECT_EQ(out.parts.error, "");
    }
    return out;
}

Converted convert(const Bytes& file, uint32_t capacity = CPsrStyConverter::kOutputCapacity)
{
    CPsrStyConverter converter;
    return convert(converter, file, capacity);
}

std::string errorText(int code)
{
    CPsrStyConverter converter;
    char text[80] = "";
    const int n = converter.ReportError(text, sizeof text, code);
    return std::string(text, size_t(n));
}

// The events of a pattern as "tick kind d1 d2" (data bytes as stored),
// without the end of track.
std::vector<std::string> eventLines(const test::QeBodyPattern& pattern)
{
    bool ok = false;
    std::vector<std::string> out;
    for (const PropItem& item : test::readPropStream(pattern.stream, &ok)) {
        if (item.kind == 9) continue;
        std::ostringstream line;
        line << item.tick << " " << int(item.kind);
        for (uint8_t b : item.payload) line << " " << int(b);
        out.push_back(line.str());
    }
    EXPECT_TRUE(ok);
    return out;
}

int noteOnCount(const test::QeBodyPattern& pattern)
{
    int n = 0;
    for (const PropItem& item : test::readPropStream(pattern.stream))
        if (item.kind == 1) ++n;
    return n;
}

// The converted body read back through the library's exports: wrapped in
// the container the conversion command writes, extracted and opened in a
// style editor.
LibraryStyle openConverted(const Bytes& body)
{
    return LibraryStyle(test::psrStyleImage("Converted", body));
}

// Note-ons of one CV as the library renders it; -1 when it cannot.
int exportedNoteOns(const LibraryStyle& style, int e, int cv)
{
    const Bytes smf = style.ExportCv(e, cv);
    if (smf.empty()) return -1;
    test::SmfListing listing;
    if (listing.Read(smf) != 0) return -1;
    int n = 0;
    for (const auto& ev : listing.events)
        if ((ev.status & 0xF0) == 0x90 && ev.data[1] != 0) ++n;
    return n;
}

// A Ctab for every channel of a section group: destination = source
// channel, all chords, root C, Maj7.
CtabEntry ctab(int channel, std::array<uint8_t, 5> mute = {0x03, 0xFF, 0xFF, 0xFF, 0xFF}, uint8_t root = 0,
              uint8_t type = 2)
{
    return CtabEntry{uint8_t(channel), uint8_t(channel), mute, root, type, 27};
}

// Main A (bars 2-3) and Main B (bar 4) with drum, bass and piano.
PsrStyleBuilder twoSectionStyle()
{
    PsrStyleBuilder b;
    b.Sound(kDrum, 127, 0, 0).Sound(kBass, 0, 0, 33).Sound(kAcc1, 0, 112, 4);
    b.Section(b.Bar(1), "Main A").Section(b.Bar(3), "Main B");
    b.Notes(kDrum, 36, b.Bar(1), b.Bar(4), b.Beat());
    b.Notes(kBass, 36, b.Bar(1), b.Bar(4), 2 * b.Beat());
    b.Notes(kAcc1, 64, b.Bar(1), b.Bar(3), b.Bar(1));
    b.Casm({{"Main A,Main B", {ctab(kDrum), ctab(kBass), ctab(kAcc1)}}});
    return b;
}

TEST(CPsrStyConverter, WritesTheStyleTreeByteForByte)
{
    // One bar of Main A on the drum channel: a note, sustain, volume (not
    // kept) and a pitch bend, at division 96.
    PsrStyleBuilder b;
    b.Sound(kDrum, 127, 0, 0).Section(b.Bar(1), "Main A");
    b.Track().NoteOn(384, kDrum, 36, 100).Controller(400, kDrum, 64, 127).Controller(410, kDrum, 7, 90);
    b.Track().NoteOff(432, kDrum, 36, 0).PitchBend(500, kDrum, 0x2000 + 100);
    b.Casm({{"Main A", {ctab(kDrum)}}});
    const Converted c = convert(b.Build());
    ASSERT_EQ(c.code, 0) << c.log;

    Bytes name = {'D', 'u', 'n', 'm', 'o', 'r', 'e'};
    name.resize(18, 0);
    Bytes header = {18};
    header.insert(header.end(), name.begin(), name.end());
    header.insert(header.end(), {0x55, 0x50, 0xF8, 0x00, 0x01});
    Bytes info = {0x01, 0x00, 0x22, 22};
    info.resize(26, 0);
    Bytes tracks;
    for (int t = 0; t < 8; ++t) tracks.insert(tracks.end(), {100, uint8_t(t < 2 ? 120 : 121), 0, 0, 21, 108});
    const Bytes expected =
        test::ChunkBuilder()
            .open(0x01, 0, 0, 0x00)
            .leaf(0x01, 0, 0, 0x08, header)
            .open(0x02, 0, 0, 0x00)
            .leaf(0x01, 0, 0, 0x08, {0x00, 0x01, 0x00, 0x01, 0x00, 0x01})
            .leaf(0x02, 0, 0, 0x08,
                  {0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x17,    // length 1536, stream 23 bytes
                   0x01, 36, 0xE4,                                    // note on at 0
                   0xC0, 0x03, 64, 0xFF,                              // sustain at 64
                   0x81, 0x80, 0x00, 36, 0x80,                        // note off at 192
                   0x82, 0x90, 0x06, 100, 0xC0,                       // pitch bend at 464
                   0x88, 0xB0, 0x09, 0x2F, 0x00, 0x00})               // end at 1536
            .close()
            .open(0x03, 0, 0, 0x00)
            .leaf(0x01, 0, 0, 0x08, info)
            .leaf(0x02, 0, 0, 0x08, tracks)
            .leaf(0x03, 0, 0, 0x08,
                  {0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x0E, 0x09, 0x7E, 0x00, 0x04, 0x03, 0x00, 0x00, 0x00,
                   0x8C, 0x80, 0x09, 0x2F, 0x00, 0x00, 0x01, 0x00, 0x00})
            .close()
            .close()
            .bytes();
    EXPECT_EQ(c.body, expected);
    EXPECT_EQ(c.body.size(), size_t(expected.size()));
}

TEST(CPsrStyConverter, TheLibraryReadsTheConvertedStyle)
{
    CPsrStyConverter converter;
    const Converted c = convert(converter, twoSectionStyle().Build());
    ASSERT_EQ(c.code, 0) << c.log;
    EXPECT_EQ(c.parts.map, (std::vector<uint16_t>{1, 2, 3, 4, 5}));
    const auto name = converter.GetStyleName();
    EXPECT_EQ(std::string(name.begin(), name.begin() + 10), "Test Style");
    EXPECT_EQ(name[10], 0);

    const LibraryStyle style = openConverted(c.body);
    ASSERT_NE(style.editor(), nullptr);
    ULStEEditor* ed = style.editor();
    EXPECT_EQ(_ULStEQueryStyleElem(ed, 0), 2);
    EXPECT_EQ(_ULStEQueryStyleElem(ed, 1), 2);
    EXPECT_EQ(_ULStEQueryStyleElem(ed, 2), 0);
    EXPECT_EQ(_ULStEQueryChordVar(ed, 0, 0), 2);
    EXPECT_EQ(_ULStEQueryChordVar(ed, 0, 1), 0);
    for (int t : {0, 2, 3}) EXPECT_EQ(_ULStEQueryPattern(ed, 0, 0, t), 2) << t;
    EXPECT_EQ(_ULStEQueryPattern(ed, 0, 0, 1), 0);
    EXPECT_EQ(_ULStEQueryPattern(ed, 1, 0, 3), 0); // Main B has no piano

    // Sounds: drum kit, general bank; expression 100.
    uint32_t program = 0;
    _ULStEGetTrackProgram(ed, 0, 0, &program);
    EXPECT_EQ(program, 120u << 24);
    _ULStEGetTrackProgram(ed, 0, 2, &program);
    EXPECT_EQ(program, 121u << 24 | 33);
    _ULStEGetTrackProgram(ed, 0, 3, &program);
    EXPECT_EQ(program, 121u << 24 | 4);
    uint8_t byte = 0;
    _ULStEGetTrackExpression(ed, 0, 2, &byte);
    EXPECT_EQ(byte, 100);
    _ULStEGetSignature(ed, 0, &byte);
    EXPECT_EQ(byte, 0x23); // 4/4 packed
    _ULStEGetTrackChord(ed, 0, 0, 3, &byte);
    EXPECT_EQ(byte, 2); // Maj7
    _ULStEGetNTT(ed, 0, &byte);
    EXPECT_EQ(byte, 0);

    // Every note of the file arrives: 8 + 4 + 2 in Main A, 4 + 2 in Main B.
    EXPECT_EQ(exportedNoteOns(style, 0, 0), 14);
    EXPECT_EQ(exportedNoteOns(style, 1, 0), 6);
}

TEST(CPsrStyConverter, RefusesWhatItCannotConvert)
{
    const auto style = [](auto&& change) {
        PsrStyleBuilder b = twoSectionStyle();
        change(b);
        return b.Build();
    };
    const auto none = [](PsrStyleBuilder&) {};
    Bytes format1 = style(none);
    format1[9] = 1;
    Bytes division48 = style(none);
    division48[12] = 0, division48[13] = 48;
    Bytes smpte = style(none);
    smpte[12] = 0xE7, smpte[13] = 0x28;

    PsrStyleBuilder noSff1(96, "No markers", false);
    noSff1.Section(noSff1.Bar(1), "Main A").Notes(kDrum, 36, noSff1.Bar(1), noSff1.Bar(2), 96);
    noSff1.Casm({{"Main A", {ctab(kDrum)}}});

    PsrStyleBuilder noCasm;
    noCasm.Section(noCasm.Bar(1), "Main A").Notes(kDrum, 36, noCasm.Bar(1), noCasm.Bar(2), 96);

    PsrStyleBuilder silent;
    silent.Section(silent.Bar(1), "Main A").Section(silent.Bar(2), "Main B");
    silent.Track().Controller(silent.Bar(2), kDrum, 7, 100);
    silent.Casm({{"Main A", {ctab(kDrum)}}});

    // Only the tension notes of a chord without a Qe equal (D of C "Maj(9)"):
    // counted in pass 1, left out of the pattern.
    PsrStyleBuilder tensionOnly;
    tensionOnly.Section(tensionOnly.Bar(1), "Main A").Notes(kDrum, 62, tensionOnly.Bar(1), tensionOnly.Bar(2), 96);
    tensionOnly.Casm({{"Main A", {ctab(kDrum, {0x03, 0xFF, 0xFF, 0xFF, 0xFF}, 0, 4)}}});

    struct Case {
        const char* name;
        Bytes file;
        int code;
        const char* logLine;
    };
    const Case cases[] = {
        {"format 1", format1, 111, "Error: File format not supported in YamahaStyToQeSty conversion - Format: 1\n"},
        {"division 48", division48, 112,
         "Error: TimeDivision (TimeBase) not supported: 48 PPQN. Supported divisions: 96 PPQN and greater\n"},
        {"SMPTE division", smpte, 112, "Error: TimeDivision"},
        {"no SFF1 marker", noSff1.Build(), 128, "Error: SFF1 marker not found"},
        {"no CASM block", noCasm.Build(), 122, "CMidiFile error: 122 - CASM chunk not parsed successfuly"},
        {"damaged CASM block",
         style([](PsrStyleBuilder& b) { b.Casm({{"Main A,Main X", {}}}); }), 121,
         "Error: CYamahaCasmParser error: 19 - Found wrong section name\n"},
        {"denominator 32", style([](PsrStyleBuilder& b) { b.Track().TimeSig(b.Bar(3), 4, 5); }), 113, "Error: Tact"},
        {"numerator 0", style([](PsrStyleBuilder& b) { b.Track().TimeSig(b.Bar(3), 0, 2); }), 113, "Error: Tact"},
        {"signature change inside a bar", style([](PsrStyleBuilder& b) { b.Track().TimeSig(b.Bar(3) + 96, 3, 2); }),
         101, "ERROR: Time sig out of wright place"},
        {"signature change inside a section", style([](PsrStyleBuilder& b) { b.Track().TimeSig(b.Bar(2), 3, 2); }),
         101, "Error: Time signature change at tick 768 lies inside a section\n"},
        {"section found twice", style([](PsrStyleBuilder& b) { b.Section(b.Bar(4), "Main A"); }), 109,
         "Error: Section Main A already found\n"},
        {"markers at different offsets", style([](PsrStyleBuilder& b) { b.Section(b.Bar(4) + 10, "Main C"); }), 109,
         "Error: Section offset:10 differs from first section offset:0\n"},
        {"last section after the last event", style([](PsrStyleBuilder& b) { b.Section(b.Bar(6), "Main C"); }), 104,
         "ERROR: Last event found before last section start time!!!\n"},
        {"no notes in any section", silent.Build(), 119,
         "Conversion stopped: There is no defined QE style elements!!!\n"},
        {"pattern without events", tensionOnly.Build(), 120, "Error: VAR1_CV1_DRUM - Found no events in pattern!\n"},
    };
    for (const Case& c : cases) {
        const Converted out = convert(c.file);
        EXPECT_EQ(out.code, c.code) << c.name;
        EXPECT_TRUE(out.body.empty()) << c.name;
        EXPECT_NE(out.log.find(c.logLine), std::string::npos) << c.name << "\n" << out.log;
        // The error the run stopped on is counted once, whether or not it was
        // counted where it was found.
        EXPECT_NE(out.log.find("\nNumber of errors found: 1\nNumber of warnings found: "), std::string::npos)
            << c.name << "\n" << out.log;
    }
}

// INT1 holds two CVs; the drum sounds for every chord, the two pianos for
// some. A chord type that needs a third CV before min has been reached
// stops the conversion; after min it plays CV1, and later chord types still
// share the CVs made.
TEST(CPsrStyConverter, ChordTypesBeyondTheCvsOfAnElement)
{
    struct Case {
        const char* name;
        std::initializer_list<int> acc1; // PSR chord types the pianos sound for
        std::initializer_list<int> acc2;
        int code;
        std::string logLine;
    };
    const Case cases[] = {
        {"Maj7 needs a third CV", {1}, {2}, 108, "Error: Too many Cvs. Major or minor NOT processed!!! SE: INT1, CvNum: 2\n"},
        {"min needs a third CV", {1}, {8}, 108, "Error: Too many Cvs. Major or minor NOT processed!!! SE: INT1, CvNum: 2\n"},
        {"7 needs a third CV", {8, 9}, {19}, 0, "Warning: INT1 - 7: Found ChordVar out of limit. Forcing to ChVar1!\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PsrStyleBuilder b;
        b.Section(b.Bar(1), "Intro A");
        for (int ch : {kDrum, kAcc1, kAcc2}) b.Notes(ch, 60, b.Bar(1), b.Bar(3), 96);
        b.Casm({{"Intro A", {ctab(kDrum), ctab(kAcc1, test::chordMuteFor(c.acc1)), ctab(kAcc2, test::chordMuteFor(c.acc2))}}});
        CPsrStyConverter converter;
        const Converted out = convert(converter, b.Build());
        EXPECT_EQ(out.code, c.code) << out.log;
        EXPECT_NE(out.log.find(c.logLine), std::string::npos) << out.log;
        if (c.code != 0) {
            EXPECT_TRUE(out.body.empty());
            continue;
        }
        const PsrElement& int1 = converter.GetPlan().elements[4];
        EXPECT_EQ(int1.cvCount, 2);
        EXPECT_EQ(int1.cvChordMute[1], 0x0A00); // drum and the first piano
        EXPECT_EQ(int1.chordTable[0], 0);       // Major
        EXPECT_EQ(int1.chordTable[7], 1);       // min
        EXPECT_EQ(int1.chordTable[8], 1);       // min6 shares min's CV
        EXPECT_EQ(int1.chordTable[12], 0);      // 7: no room, CV1
        EXPECT_EQ(out.log.find("Too many Cvs"), std::string::npos);
    }
}

// A 5/4 style whose setup takes four beats: every section starts a beat
// before the end of its bar, Main A inside the file's first bar. Every note
// of a section arrives; none of the setup does.
TEST(CPsrStyConverter, SectionsStartingInsideTheFirstBarKeepAllTheirNotes)
{
    PsrStyleBuilder b(96, "Five Four", true, 5);
    const uint32_t setup = 4 * b.Beat();
    b.Track().NoteOn(b.Beat(), kDrum, 40, 100).NoteOff(2 * b.Beat(), kDrum, 40, 0); // in the setup
    b.Section(setup, "Main A").Section(setup + b.Bar(2), "Main B");
    b.Notes(kDrum, 36, setup, setup + b.Bar(3), b.Beat());
    b.Casm({{"Main A,Main B", {ctab(kDrum)}}});
    const Converted c = convert(b.Build());
    ASSERT_EQ(c.code, 0) << c.log;
    ASSERT_EQ(c.parts.patterns.size(), 2u);
    EXPECT_EQ(noteOnCount(c.parts.patterns[0]), 10); // two 5/4 bars, from the first bar on
    EXPECT_EQ(noteOnCount(c.parts.patterns[1]), 5);
    const std::vector<std::string> mainA = eventLines(c.parts.patterns[0]);
    ASSERT_FALSE(mainA.empty());
    EXPECT_EQ(mainA.front(), "0 1 36 228");
    for (const std::string& line : mainA) EXPECT_EQ(line.find(" 40 "), std::string::npos) << line;

    const LibraryStyle style = openConverted(c.body);
    ASSERT_NE(style.editor(), nullptr);
    uint8_t signature = 0;
    _ULStEGetSignature(style.editor(), 0, &signature);
    EXPECT_EQ(signature, 0x24); // 5/4 packed
    EXPECT_EQ(exportedNoteOns(style, 0, 0), 10);
    EXPECT_EQ(exportedNoteOns(style, 1, 0), 5);
}

// At 1920 ticks per quarter a tick is a fifth of a Qe tick. Every delta is
// the difference of the source times, scaled and rounded: three events 3
// ticks apart each get 1, where rounded positions (0.6, 1.2, 1.8) would give
// 1, 0, 1. The end of the stream still falls on the pattern's length.
TEST(CPsrStyConverter, DeltasAreRoundedFromTheSourceTimes)
{
    PsrStyleBuilder b(1920);
    const uint32_t start = b.Bar(1);
    b.Section(start, "Main A");
    b.Track().NoteOn(start + 3, kDrum, 36, 100).Controller(start + 6, kDrum, 64, 127).NoteOff(start + 9, kDrum, 36, 0);
    b.Casm({{"Main A", {ctab(kDrum)}}});
    const Converted c = convert(b.Build());
    ASSERT_EQ(c.code, 0) << c.log;
    ASSERT_EQ(c.parts.patterns.size(), 1u);
    EXPECT_EQ(eventLines(c.parts.patterns[0]), (std::vector<std::string>{"1 1 36 228", "2 3 64 255", "3 0 36 128"}));
    bool ok = false;
    const auto items = test::readPropStream(c.parts.patterns[0].stream, &ok);
    ASSERT_TRUE(ok);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.back().kind, 9);
    EXPECT_EQ(items.back().tick, 1536u);
    EXPECT_NE(c.log.find("Inserting EOT event with delta time:     1533\n"), std::string::npos);

    // Ten sustain events 3 ticks apart end on tick 10 where their source time
    // is 6: a note 5 ticks before the end of the bar would land after the
    // pattern's end, and stops on its last tick; the note-off that closes it
    // there falls on the end.
    PsrStyleBuilder drift(1920);
    drift.Section(start, "Main A");
    for (uint32_t t = 3; t <= 30; t += 3) drift.Track().Controller(start + t, kDrum, 64, 127);
    drift.Track().NoteOn(drift.Bar(2) - 5, kDrum, 36, 100);
    drift.Casm({{"Main A", {ctab(kDrum)}}});
    const Converted d = convert(drift.Build());
    ASSERT_EQ(d.code, 0) << d.log;
    ASSERT_EQ(d.parts.patterns.size(), 1u);
    std::vector<std::string> expected;
    for (int i = 1; i <= 10; ++i) expected.push_back(std::to_string(i) + " 3 64 255");
    expected.insert(expected.end(), {"1535 1 36 228", "1536 0 36 128"});
    EXPECT_EQ(eventLines(d.parts.patterns[0]), expected);
    EXPECT_EQ(exportedNoteOns(openConverted(d.body), 0, 0), 1);
}

TEST(CPsrStyConverter, ErrorTexts)
{
    EXPECT_EQ(errorText(100), "CMidiFile error: 100 - Application defined error code");
    EXPECT_EQ(errorText(114), "CMidiFile error: 114 - Not enought space allocated for style buffer");
    EXPECT_EQ(errorText(122), "CMidiFile error: 122 - CASM chunk not parsed successfuly");
    EXPECT_EQ(errorText(128), "CMidiFile error: 128 - SFF1 marker not found (probably not YAMAHA SFF file)");
    EXPECT_EQ(errorText(8), "CMidiFile error: 8 - Reading past end of file");
    EXPECT_EQ(errorText(129), "");
    EXPECT_EQ(errorText(99), "");
}

TEST(CPsrStyConverter, TakesTheSignatureOfASectionFromItsStartBar)
{
    // A 3/4 bar before Main B's marker at the same tick belongs to Main B.
    PsrStyleBuilder b;
    b.Section(b.Bar(1), "Main A");
    b.Track().TimeSig(b.Bar(2), 3, 2);
    b.Section(b.Bar(2), "Main B");
    b.Notes(kDrum, 36, b.Bar(1), b.Bar(2) + 3 * 96, 96);
    b.Casm({{"Main A,Main B", {ctab(kDrum)}}});
    CPsrStyConverter converter;
    const Converted c = convert(converter, b.Build());
    ASSERT_EQ(c.code, 0) << c.log;
    ASSERT_EQ(c.parts.elements.size(), 2u);
    EXPECT_EQ(c.parts.elements[0].timeSig, 0x22);
    EXPECT_EQ(c.parts.elements[1].timeSig, 3 * 8 + 2);
    EXPECT_EQ(converter.GetPlan().elements[1].stopTime, b.Bar(2) + 3 * 96u); // one 3/4 bar
    EXPECT_EQ(c.parts.elements[1].cvs[0].length, 1152u);
    EXPECT_NE(c.log.find("TimeSig not found for VAR1. Propagated from last found time signature (22)\n"),
              std::string::npos);
}

TEST(CPsrStyConverter, CvsWithTheSameSourcesSharePatterns)
{
    // Drum and bass sound for every chord, one piano only for major chords,
    // another only for minor chords.
    std::vector<int> major;
    for (int t = 0; t < 34; ++t)
        if (t < 8 || t > 18) major.push_back(t);
    std::array<uint8_t, 5> majorMute{}, minorMute{};
    for (int t : major) majorMute[size_t(4 - t / 8)] |= uint8_t(1u << (t % 8));
    for (int t = 8; t <= 18; ++t) minorMute[size_t(4 - t / 8)] |= uint8_t(1u << (t % 8));

    PsrStyleBuilder b;
    b.Section(b.Bar(1), "Main A");
    for (int ch : {kDrum, kBass, kAcc1, kAcc2}) b.Notes(ch, 60, b.Bar(1), b.Bar(2), 96);
    CtabEntry minorPiano = ctab(kAcc2, minorMute);
    minorPiano.dest = kAcc1;
    b.Casm({{"Main A", {ctab(kDrum), ctab(kBass), ctab(kAcc1, majorMute), minorPiano}}});

    CPsrStyConverter converter;
    const Converted c = convert(converter, b.Build());
    ASSERT_EQ(c.code, 0) << c.log;
    const PsrElement& var1 = converter.GetPlan().elements[0];
    EXPECT_EQ(var1.cvCount, 2);
    //                                Major Maj6 Maj7 M7b5 Sus4 Sus2 M7s4 min min6 min7 m7b5 mM7 7 7b5 7sus4 dim dimM7 aug aug7 augM7 No3 No35
    const std::array<uint8_t, 22> table = {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0};
    EXPECT_EQ(var1.chordTable, table);
    EXPECT_EQ(converter.GetPlan().differentPatterns, 4);
    EXPECT_EQ(converter.GetPlan().references, 6);
    EXPECT_EQ(c.parts.mapChunks, 4);
    EXPECT_EQ(c.parts.map, (std::vector<uint16_t>{1, 2, 3, 1, 2, 4}));
    ASSERT_EQ(c.parts.patterns.size(), 4u);
    ASSERT_EQ(c.parts.elements.size(), 1u);
    EXPECT_EQ(c.parts.elements[0].cvMask, 0x03);
    EXPECT_EQ(c.parts.elements[0].chordAssign, Bytes(table.begin(), table.end()));
    EXPECT_NE(c.log.find("VAR1_CV2_DRUM: 0200 --- PATTERN ALREADY FOUND at VAR1_CV1. PattOrdNum: 1, CvPatIdx: 0\n"),
              std::string::npos);
    EXPECT_NE(c.log.find("VAR1_CV2_ACC1: 1000 --- NEW PATTERN. PattOrdNum: 4, CvPatIdx: 2\n"), std::string::npos);

    const LibraryStyle style = openConverted(c.body);
    ASSERT_NE(style.editor(), nullptr);
    EXPECT_EQ(_ULStEQueryChordVar(style.editor(), 0, 1), 2);
    EXPECT_EQ(exportedNoteOns(style, 0, 0), 12);
    EXPECT_EQ(exportedNoteOns(style, 0, 1), 12);
    uint8_t cv = 9;
    _ULStEGetChordAssign(style.editor(), 0, 7, &cv);
    EXPECT_EQ(cv, 1);
}

TEST(CPsrStyConverter, LeavesOutTheTensionNoteOfAChordWithoutQeEqual)
{
    // "7(b13)" on G: the Qe type is aug7 and the notes of D# are left out.
    PsrStyleBuilder b;
    b.Section(b.Bar(1), "Main A");
    for (int key : {67, 63, 71, 51}) b.Notes(kAcc1, key, b.Bar(1), b.Bar(2), 192);
    b.Casm({{"Main A", {ctab(kAcc1, {0x03, 0xFF, 0xFF, 0xFF, 0xFF}, 7, 26)}}});
    const Converted c = convert(b.Build());
    ASSERT_EQ(c.code, 0) << c.log;
    ASSERT_EQ(c.parts.patterns.size(), 1u);
    const auto& pattern = c.parts.patterns[0];
    EXPECT_EQ(pattern.id, 4);
    EXPECT_EQ(pattern.chordKey, std::make_pair(uint8_t(18), uint8_t(7)));
    std::set<int> keys;
    for (const PropItem& item : test::readPropStream(pattern.stream))
        if (item.kind <= 1) keys.insert(item.payload[0]);
    EXPECT_EQ(keys, (std::set<int>{67, 71}));
    EXPECT_NE(c.log.find("Pattern ChordKey: G, Pattern ChordType: aug7\n"), std::string::npos);
}

TEST(CPsrStyConverter, ChannelsOfOneTrack)
{
    // ACC1 gets two pianos of different chord types: the busier stays, the
    // other moves to ACC5. BASS gets two basses: the busier one wins. ACC2
    // gets two channels of one type in other keys: the second is moved to
    // the first one's key.
    PsrStyleBuilder b;
    b.Section(b.Bar(1), "Main A");
    b.Notes(0, 60, b.Bar(1), b.Bar(2), 96).Notes(1, 60, b.Bar(1), b.Bar(2), 192);     // ACC1
    b.Notes(2, 40, b.Bar(1), b.Bar(2), 192).Notes(3, 40, b.Bar(1), b.Bar(2), 96);     // BASS
    b.Notes(4, 60, b.Bar(1), b.Bar(2), 192).Notes(5, 62, b.Bar(1), b.Bar(2), 192);    // ACC2
    const std::array<uint8_t, 5> all = {0x03, 0xFF, 0xFF, 0xFF, 0xFF};
    b.Casm({{"Main A",
             {CtabEntry{0, kAcc1, all, 0, 2, 27}, CtabEntry{1, kAcc1, all, 0, 8, 27}, CtabEntry{2, kBass, all, 0, 2, 27},
              CtabEntry{3, kBass, all, 0, 8, 27}, CtabEntry{4, kAcc2, all, 0, 2, 27}, CtabEntry{5, kAcc2, all, 2, 2, 27}}}});
    CPsrStyConverter converter;
    const Converted c = convert(converter, b.Build());
    ASSERT_EQ(c.code, 0) << c.log;
    const PsrElement& var1 = converter.GetPlan().elements[0];
    EXPECT_EQ(var1.sources[0][3], 0x0001);
    EXPECT_EQ(var1.sources[0][7], 0x0002);
    EXPECT_EQ(var1.sources[0][2], 0x0008);
    EXPECT_EQ(var1.sources[0][4], 0x0030);
    EXPECT_NE(c.log.find("Important: VAR1_CV1: creating one more QE track: ACC5\n"), std::string::npos);
    EXPECT_NE(c.log.find("Warning - VAR1_CV1_BASS: PSR src track 04 (min) dominant over 03 (Maj7). Later ignored!!!\n"),
              std::string::npos);
    ASSERT_EQ(c.parts.patterns.size(), 4u);
    // ACC2: both channels play C.
    std::set<int> keys;
    for (const PropItem& item : test::readPropStream(c.parts.patterns[2].stream))
        if (item.kind == 1) keys.insert(item.payload[0]);
    EXPECT_EQ(keys, std::set<int>{60});
    EXPECT_EQ(noteOnCount(c.parts.patterns[2]), 4);
    ASSERT_EQ(c.parts.elements.size(), 1u);
    EXPECT_EQ(c.parts.elements[0].cvs[0].uses,
              (std::vector<std::pair<uint8_t, uint8_t>>{{1, 2}, {2, 3}, {2, 4}, {2, 7}}));
}

TEST(CPsrStyConverter, TranslatesBanksAndPropagatesMissingValues)
{
    struct Case {
        int msb, lsb, program;
        uint8_t qeMsb, qeProgram;
    };
    const Case cases[] = {
        {127, 0, 5, 120, 5}, {126, 0, 35, 120, 116}, {126, 0, 3, 120, 56},
        {126, 1, 3, 121, 3}, {0, 0, 33, 121, 33},    {8, 2, 17, 121, 17},
    };
    for (const Case& k : cases) {
        // Main B sets no sound of its own: it inherits the setup's.
        PsrStyleBuilder b;
        b.Sound(kAcc1, k.msb, k.lsb, k.program).Section(b.Bar(1), "Main A").Section(b.Bar(2), "Main B");
        b.Track().Controller(b.Bar(1), kAcc1, 11, 90);
        b.Notes(kAcc1, 60, b.Bar(1), b.Bar(3), 96);
        b.Casm({{"Main A,Main B", {ctab(kAcc1)}}});
        CPsrStyConverter converter;
        const Converted c = convert(converter, b.Build());
        ASSERT_EQ(c.code, 0) << c.log;
        for (int e : {0, 1}) {
            const PsrTrackSettings& acc1 = converter.GetPlan().elements[size_t(e)].tracks[3];
            EXPECT_EQ(acc1.bankMsb, k.qeMsb) << k.msb << "/" << k.lsb;
            EXPECT_EQ(acc1.bankLsb, 0);
            EXPECT_EQ(acc1.program, k.qeProgram) << k.msb << "/" << k.lsb << "/" << k.program;
            EXPECT_EQ(acc1.expression, 90);
        }
        EXPECT_NE(c.log.find("Warning: Prog not found for Main B, chan: 12. Propagated from last found value: " +
                             std::to_string(k.program) + "\n"),
                  std::string::npos);
        EXPECT_NE(c.log.find("Warning: Expr not found for Main B, chan: 12. Propagated from last found value: 90\n"),
                  std::string::npos);
    }
}

TEST(CPsrStyConverter, PairsNotesInsideTheSection)
{
    // A note held over the end of Main A is closed there; the note-off that
    // falls in Main B has no note-on there and is dropped.
    PsrStyleBuilder b;
    b.Section(b.Bar(1), "Main A").Section(b.Bar(2), "Main B");
    b.Track().NoteOn(b.Bar(1), kAcc1, 60, 90).NoteOff(b.Bar(2) + 10, kAcc1, 60, 0);
    b.Track().NoteOn(b.Bar(2) + 96, kAcc1, 62, 90).NoteOff(b.Bar(2) + 192, kAcc1, 62, 64);
    b.Casm({{"Main A,Main B", {ctab(kAcc1)}}});
    const Converted c = convert(b.Build());
    ASSERT_EQ(c.code, 0) << c.log;
    ASSERT_EQ(c.parts.patterns.size(), 2u);
    EXPECT_EQ(eventLines(c.parts.patterns[0]), (std::vector<std::string>{"0 1 60 218", "1536 0 60 128"}));
    EXPECT_EQ(eventLines(c.parts.patterns[1]), (std::vector<std::string>{"384 1 62 218", "768 0 62 192"}));
    EXPECT_NE(c.log.find("Warning: Found NoteON (Key= C4  , Vol= 090) without corresponding NoteOFF. Closed at pattern end\n"),
              std::string::npos);
    EXPECT_NE(c.log.find("Warning: Found NoteOFF (Key= C4  , Vol= 000) without corresponding NoteON. Discarded\n"),
              std::string::npos);
}

TEST(CPsrStyConverter, NeverWritesPastItsCapacity)
{
    const Bytes file = twoSectionStyle().Build();
    const Converted whole = convert(file);
    ASSERT_EQ(whole.code, 0);
    for (uint32_t capacity : {0u, 8u, 40u, uint32_t(whole.body.size() / 2), uint32_t(whole.body.size() - 1)}) {
        const Converted c = convert(file, capacity);
        EXPECT_EQ(c.code, 114) << capacity;
        EXPECT_TRUE(c.body.empty());
        EXPECT_NE(c.log.find("\nNumber of bytes written in style buffer: "), std::string::npos);
    }
    EXPECT_EQ(convert(file, uint32_t(whole.body.size())).code, 0);

    // The caller's buffer gets exactly the output.
    CPsrStyConverter converter;
    Bytes buffer(whole.body.size() + 4, 0xEE);
    ASSERT_EQ(converter.Convert(file.data(), uint32_t(file.size()), buffer.data(), uint32_t(whole.body.size())), 0);
    EXPECT_EQ(converter.GetOutputSize(), whole.body.size());
    EXPECT_TRUE(std::equal(whole.body.begin(), whole.body.end(), buffer.begin()));
    EXPECT_EQ(buffer.back(), 0xEE);
}

TEST(CPsrStyConverter, LogsEveryStep)
{
    CPsrStyConverter converter;
    const Converted c = convert(converter, twoSectionStyle().Build());
    ASSERT_EQ(c.code, 0);
    const std::string lines[] = {
        "Converting Yamaha style: Test.sty to DASK QE4K style\n\n",
        "Format: 0, Num of tracks: 1, Division: 96\n\n",
        "0            | 01:01:000 | Marker      | SFF1\n",
        "384          | 02:01:000 | Note ON Event (Key= C2  , Vol= 100) found at channel: 10\n",
        "Found valid sections: Main A, Main B, \n",
        "Yamaha PSR section: Main A converted to Qe4k style element: VAR1 \n",
        "Yamaha PSR section: Intro C NOT converted to any Qe4k style element\n",
        "Dask Qe4k style element: VAR2, converted from Yamaha PSR section: Main B\n",
        "Dask Qe4k style element: INT1 - NOT CREATED\n",
        "\nCASM report\n\n",
        "\nFound following channel mapping for Main A: \n",
        "10\t10\tC\tMaj7            03 ff ff ff ff \n",
        "\nPrinting Qe ChordMute info for Main B\n",
        "Major\t\t\t0600\n",
        "Main B - StartBar:   4, StartTime:       1152, StopTime:       1536\n",
        "VAR1, StartBar:   2, EndBar:   3, StartTime:        384, StopTime:       1152\n",
        "\n====== Determining QeCvTrInfo for VAR1\n",
        "\nChordTable for VAR2:\n",
        "\n\nDefined Style Element Flags: 0003\n\n",
        "VAR1_CV1_ACC1: 0800 --- NEW PATTERN. PattOrdNum: 3, CvPatIdx: 2\n",
        "\nConverting VAR1, CV1, BASS\n\n",
        "Writing Patern Chunk: VAR1, CV1, BASS. Pattern index: 2\n",
        "Pattern ChordKey: C, Pattern ChordType: Maj7\n",
        "Inserting EOT event with delta time:      768\n",
        "Written DCWIFPL chunk of size: ",
        "SE Chunk Size for VAR2: ",
        "\nNumber of bytes written in style buffer: " + std::to_string(c.body.size()) + "\n",
        "\n\nEnd of parsing\nNumber of errors found: 0\n",
        // Main A takes the banks and programs of its three channels from
        // the setup bar, Main B those of two.
        "Number of warnings found: 15\n",
    };
    for (const std::string& line : lines) EXPECT_NE(c.log.find(line), std::string::npos) << line;

    // Without a log the result is the same.
    CPsrStyConverter quiet;
    ASSERT_EQ(quiet.Convert(twoSectionStyle().Build()), 0);
    EXPECT_EQ(quiet.GetOutput(), c.body);
}

// A refusal with 108 is right when some element's section sounds, for the
// chord types up to min, with more different sets of channels than the
// element has CVs.
bool needsMoreCvsBeforeMinor(const PsrStylePlan& plan)
{
    for (int e = 0; e < kPsrElementCount; ++e) {
        const PsrElement& element = plan.elements[size_t(e)];
        if (!element.defined) continue;
        const PsrSection& section = plan.sections[size_t(element.section)];
        std::set<uint16_t> masks;
        for (int q = 0; q <= 7; ++q)
            if (section.chordMute[size_t(q)] != 0) masks.insert(section.chordMute[size_t(q)]);
        if (int(masks.size()) > (e < 4 ? 6 : 2)) return true;
    }
    return false;
}

// Every real style converts without errors, opens in the library, and
// every note of the channels a pattern takes arrives in it (but the tension
// notes a chord without a Qe equal leaves out). A style whose intros,
// fills or endings need more CVs than they have is refused with 108 and
// then converted with its variations only.
TEST(CPsrStyConverter, RealStyles)
{
    const auto files = test::realFixtureFiles("psr-styles");
    if (files.empty()) GTEST_SKIP() << "no real PSR styles";
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const Bytes file = test::readFileBytes(path);
        CPsrStyConverter converter;
        Converted c = convert(converter, file);
        if (c.code == kPsrTooManyCvs) {
            EXPECT_NE(c.log.find("Error: Too many Cvs. Major or minor NOT processed!!!"), std::string::npos);
            EXPECT_TRUE(needsMoreCvsBeforeMinor(converter.GetPlan()));
            converter.SetSectionMapping("ABCDAAAAAA");
            c = convert(converter, file);
        }
        ASSERT_EQ(c.code, 0) << c.log.substr(c.log.size() > 2000 ? c.log.size() - 2000 : 0);
        EXPECT_EQ(converter.GetCounters().errors, 0);
        const PsrStylePlan& plan = converter.GetPlan();
        EXPECT_EQ(c.parts.patterns.size(), size_t(plan.differentPatterns));
        EXPECT_EQ(c.parts.map.size(), size_t(plan.references));

        // The source note-ons by channel (tick, key), and the CASM block as
        // the converter reads it.
        test::SmfListing listing;
        ASSERT_EQ(listing.Read(file), 0);
        std::array<std::vector<std::pair<uint32_t, uint8_t>>, 16> noteOns;
        for (const auto& ev : listing.events)
            if ((ev.status & 0xF0) == 0x90 && ev.data[1] != 0) noteOns[ev.status & 0x0F].emplace_back(ev.tick, ev.data[0]);
        CYamahaPsrCasmMapper mapper;
        for (size_t at = 14; at + 8 <= file.size();) {
            const uint32_t size = uint32_t(file[at + 4]) << 24 | uint32_t(file[at + 5]) << 16 |
                                  uint32_t(file[at + 6]) << 8 | file[at + 7];
            if (std::string(file.begin() + long(at), file.begin() + long(at) + 4) == "CASM") {
                ASSERT_EQ(mapper.Parse(file.data() + at, size + 8), 0);
            }
            at += 8 + size_t(size);
        }

        const LibraryStyle style = openConverted(c.body);
        ASSERT_NE(style.editor(), nullptr);
        size_t next = 0;
        for (int e = 0; e < kPsrElementCount; ++e) {
            const PsrElement& element = plan.elements[size_t(e)];
            EXPECT_EQ(_ULStEQueryStyleElem(style.editor(), e), element.defined ? 2 : 0) << e;
            if (!element.defined) continue;
            const PsrSection& section = plan.sections[size_t(element.section)];
            for (int cv = 0; cv < element.cvCount; ++cv) {
                EXPECT_EQ(_ULStEQueryChordVar(style.editor(), e, cv), 2) << e << "/" << cv;
                int cvNotes = 0;
                for (int t = 0; t < kQeTrackCount; ++t) {
                    const uint16_t mask = element.sources[size_t(cv)][size_t(t)];
                    const int number = element.patternNumber[size_t(cv)][size_t(t)];
                    if (mask == 0) continue;
                    EXPECT_EQ(_ULStEQueryPattern(style.editor(), e, cv, t), 2) << e << "/" << cv << "/" << t;
                    ASSERT_GT(number, 0);
                    ASSERT_LE(size_t(number), c.parts.patterns.size());
                    const int written = noteOnCount(c.parts.patterns[size_t(number - 1)]);
                    cvNotes += written;
                    if (size_t(number) <= next) continue;
                    next = size_t(number);

                    // Expected: the note-ons of the mask's channels in the section.
                    int first = 0;
                    while (!((mask >> first) & 1)) ++first;
                    uint8_t root = 0, type = 0;
                    mapper.GetSourceRoot(element.section, uint8_t(first), root);
                    mapper.GetSourceChordType(element.section, uint8_t(first), type);
                    const PsrChordType* chord = FindPsrChordType(type);
                    const int drop = chord->exactQe == kNoQeChordType ? (root + PsrTensionInterval(chord->tension)) % 12 : -1;
                    int expected = 0;
                    for (int ch = 0; ch < 16; ++ch) {
                        if (!((mask >> ch) & 1)) continue;
                        uint8_t r = 0;
                        mapper.GetSourceRoot(element.section, uint8_t(ch), r);
                        const int shift = r == 255 ? 0 : int(root) - int(r);
                        for (const auto& [tick, key] : noteOns[size_t(ch)])
                            if (tick >= section.startTime && tick < section.stopTime && ((key + shift) % 12 + 12) % 12 != drop)
                                ++expected;
                    }
                    EXPECT_EQ(written, expected) << e << "/" << cv << "/" << t;
                }
                EXPECT_EQ(exportedNoteOns(style, e, cv), cvNotes) << e << "/" << cv;
            }
        }
        EXPECT_EQ(next, c.parts.patterns.size());
    }
}

} // namespace psr_sty_converter_test
} // namespace zib
