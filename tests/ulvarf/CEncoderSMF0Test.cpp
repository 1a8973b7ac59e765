// Standard MIDI File export of one chord variation: the file layout, the
// event forms, repetition over the CV, the one end of track, and the round
// trip through the import and through the program's own MIDI reader.

#include "ulvarf/CDecProp.h"
#include "ulvarf/CDecSMF0.h"
#include "ulvarf/CEncoderProp.h"
#include "ulvarf/CEncoderSMF0.h"

#include "tests/ulvarf/PropEventSamples.h"
#include "tests/ulvarf/TraceCapture.h"

#include "midi/CMidiFile.h"
#include "midi/CMidiFileParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zib::ulvarf {
// Named, so that its helpers stay apart from other test files built with it.
namespace encoder_smf0_test {

using Bytes = std::vector<uint8_t>;
using List = std::vector<PropEvent>;

constexpr uint32_t kBar = 1536;
const Bytes kHeader = {0x4D, 0x54, 0x68, 0x64, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x01, 0x01, 0x80};

Bytes stream(const List& events)
{
    return CEncoderProp::CopyEvents(events).value();
}

Bytes exportCv(const SmfExportCv& cv)
{
    auto image = CEncoderSMF0::ExportCv(cv);
    EXPECT_TRUE(image.has_value());
    return image.value_or(Bytes{});
}

// The track events after the 22 bytes of chunk heads.
Bytes trackOf(const Bytes& image)
{
    return image.size() > 22 ? Bytes(image.begin() + 22, image.end()) : Bytes{};
}

Bytes cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Counts what the program's MIDI reader sees in an image.
class EventCounter : public zib::CMidiFile {
public:
    int endsOfTrack = 0;
    int channelEvents = 0;
    uint32_t lastEnd = 0;
    uint32_t lastChannelEvent = 0;

protected:
    int OnChannelEvent() override
    {
        ++channelEvents;
        lastChannelEvent = m_eventTime;
        return 0;
    }
    int OnMetaEndOfTrack() override
    {
        ++endsOfTrack;
        lastEnd = m_eventTime;
        return 0;
    }
};

TEST(CEncoderSMF0, AnEmptyCvIsHeaderTempoSignatureAndOneEndOfTrack)
{
    SmfExportCv cv;
    cv.tempo = 120;
    cv.bars = 2;
    const Bytes image = exportCv(cv);
    const Bytes track = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,       // 500000 us per quarter
                         0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, // 4/4, 24 clocks, 8
                         0x98, 0x00, 0xFF, 0x2F, 0x00};                   // end at 3072
    EXPECT_EQ(image, cat(cat(kHeader, {'M', 'T', 'r', 'k', 0, 0, 0, uint8_t(track.size())}), track));

    // No tempo event for a tempo of 0; the clocks follow the denominator.
    cv.tempo = 0;
    cv.signature = {6, 3};
    cv.bars = 1;
    EXPECT_EQ(trackOf(exportCv(cv)), (Bytes{0x00, 0xFF, 0x58, 0x04, 0x06, 0x03, 0x0C, 0x08, 0x89, 0x00, 0xFF, 0x2F, 0x00}));
}

TEST(CEncoderSMF0, EventForms)
{
    // Each event at tick 0, the end of track at 384 (delta 83 00, or what is
    // left of it after the event's own tail).
    const Bytes endAt384 = {0x83, 0x00, 0xFF, 0x2F, 0x00};
    const Bytes endAfter96 = {0x82, 0x20, 0xFF, 0x2F, 0x00};
    const Bytes endRightAway = {0x00, 0xFF, 0x2F, 0x00};
    struct Case {
        const char* name;
        PropEvent event;
        Bytes bytes;
        Bytes end;
        bool noteOffAsNoteOn = false;
    };
    const Case cases[] = {
        {"note off", PropEvent::Channel(0, PropKind::NoteOff, 9, 60, 70), {0x00, 0x89, 0x3C, 0x46}, endAt384},
        {"note off as note on", PropEvent::Channel(0, PropKind::NoteOff, 9, 60, 70), {0x00, 0x99, 0x3C, 0x00},
         endAt384, true},
        {"note on, ended with the track",
         PropEvent::Channel(0, PropKind::NoteOn, 9, 60, 100),
         {0x00, 0x99, 0x3C, 0x64, 0x83, 0x00, 0x89, 0x3C, 0x40},
         endRightAway},
        {"poly pressure", PropEvent::Channel(0, PropKind::PolyPressure, 3, 60, 16), {0x00, 0xA3, 0x3C, 0x10}, endAt384},
        {"control change", PropEvent::Channel(0, PropKind::ControlChange, 3, 7, 100), {0x00, 0xB3, 0x07, 0x64},
         endAt384},
        {"channel mode", PropEvent::Channel(0, PropKind::ChannelMode, 3, 121, 0), {0x00, 0xB3, 0x79, 0x00}, endAt384},
        {"program", PropEvent::Channel(0, PropKind::ProgramChange, 3, 5), {0x00, 0xC3, 0x05}, endAt384},
        {"channel pressure", PropEvent::Channel(0, PropKind::ChannelPressure, 3, 6), {0x00, 0xD3, 0x06}, endAt384},
        {"pitch bend", PropEvent::Channel(0, PropKind::PitchBend, 3, 0, 64), {0x00, 0xE3, 0x00, 0x40}, endAt384},
        {"channel from the low 4 bits", PropEvent::Channel(0, PropKind::ControlChange, 0x19, 7, 1),
         {0x00, 0xB9, 0x07, 0x01}, endAt384},
        {"note with duration",
         PropEvent::NoteWithDuration(0, 9, 60, 100, 96, 70),
         {0x00, 0x99, 0x3C, 0x64, 0x60, 0x89, 0x3C, 0x46},
         endAfter96},
        {"note of duration 0",
         PropEvent::NoteWithDuration(0, 9, 60, 100, 0, 70),
         {0x00, 0x99, 0x3C, 0x64, 0x00, 0x89, 0x3C, 0x46},
         endAt384},
        {"note outliving the track",
         PropEvent::NoteWithDuration(0, 9, 60, 100, 1000, 70),
         {0x00, 0x99, 0x3C, 0x64, 0x83, 0x00, 0x89, 0x3C, 0x46},
         endRightAway},
        {"VexSound off",
         PropEvent::Channel(0, PropKind::VexSoundOff, 9, 60, 70),
         {0x00, 0xF0, 0x09, 0x42, 0x3F, 0x78, 0x01, 0x00, 0x09, 0x3C, 0x46, 0xF7},
         endAt384},
        {"VexSound with duration",
         PropEvent::NoteWithDuration(0, 9, 60, 100, 96, 70, true),
         {0x00, 0xF0, 0x09, 0x42, 0x3F, 0x78, 0x01, 0x01, 0x09, 0x3C, 0x64, 0xF7, 0x60, 0xF0, 0x09, 0x42, 0x3F, 0x78,
          0x01, 0x00, 0x09, 0x3C, 0x46, 0xF7},
         endAfter96},
        {"text meta", PropEvent::MetaEvent(0, 0x01, {'a', 'b', 'c'}), {0x00, 0xFF, 0x01, 0x03, 'a', 'b', 'c'},
         endAt384},
        {"control event", PropEvent::Control(0, {2, 100}), {0x00, 0xFF, 0x7F, 0x04, 0x42, 0x60, 0x02, 0x64}, endAt384},
        {"sysex F0 ... F7", PropEvent::SysExEvent(0, 0, {0xF0, 0x43, 0x10, 0xF7}),
         {0x00, 0xF0, 0x03, 0x43, 0x10, 0xF7}, endAt384},
        {"sysex F0 only", PropEvent::SysExEvent(0, 0, {0xF0, 0x43}), {0x00, 0xF0, 0x01, 0x43}, endAt384},
        {"sysex F7 only", PropEvent::SysExEvent(0, 0, {0x43, 0x10, 0xF7}), {0x00, 0xF7, 0x03, 0x43, 0x10, 0xF7},
         endAt384},
        {"sysex neither", PropEvent::SysExEvent(0, 0, {0x43}), {0x00, 0xF7, 0x01, 0x43}, endAt384},
    };
    for (const Case& c : cases) {
        CEncoderSMF0 encoder;
        encoder.Open(c.noteOffAsNoteOn);
        encoder.PutEvent(c.event);
        ASSERT_TRUE(encoder.Close(384)) << c.name;
        EXPECT_EQ(trackOf(encoder.bytes()), cat(c.bytes, c.end)) << c.name;
    }
}

TEST(CEncoderSMF0, RunningStatusIsClearedByMetaSysExAndVexSound)
{
    CEncoderSMF0 encoder;
    for (const PropEvent& e : List{PropEvent::Channel(0, PropKind::NoteOn, 9, 36, 100),
                                   PropEvent::Channel(0, PropKind::NoteOn, 9, 38, 100),
                                   PropEvent::MetaEvent(0, 0x01, {}),
                                   PropEvent::Channel(0, PropKind::NoteOn, 9, 40, 100),
                                   PropEvent::Channel(0, PropKind::VexSoundOn, 9, 42, 100),
                                   PropEvent::Channel(0, PropKind::NoteOn, 9, 43, 100),
                                   PropEvent::Channel(0, PropKind::NoteOn, 8, 43, 100)})
        encoder.PutEvent(e);
    ASSERT_TRUE(encoder.Close(0));
    const Bytes track = trackOf(encoder.bytes());
    const Bytes start = {0x00, 0x99, 0x24, 0x64, 0x00, 0x26, 0x64, 0x00, 0xFF, 0x01, 0x00, 0x00, 0x99, 0x28, 0x64,
                         0x00, 0xF0, 0x09, 0x42, 0x3F, 0x78, 0x01, 0x01, 0x09, 0x2A, 0x64, 0xF7, 0x00, 0x99, 0x2B,
                         0x64, 0x00, 0x98, 0x2B, 0x64};
    ASSERT_GE(track.size(), start.size());
    EXPECT_EQ(Bytes(track.begin(), track.begin() + long(start.size())), start);
}

TEST(CEncoderSMF0, VarLenNumCutsAt2To28)
{
    test::TraceCapture capture;
    zib::ByteWriter out;
    CEncoderBase::VarLenNum(0x0FFFFFFF, out);
    EXPECT_TRUE(capture.texts().empty());
    CEncoderBase::VarLenNum(0x10000000, out);
    EXPECT_EQ(out.bytes(), (Bytes{0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_TRUE(capture.contains("CEncoderBase::VarLenNum - dwValue >= 2^28"));
}

TEST(CEncoderSMF0, PatternsRepeatOverTheCvWithOneEndOfTrack)
{
    SmfExportCv cv;
    cv.tempo = 0;
    cv.bars = 2;
    SmfExportTrack& drums = cv.tracks[0];
    drums.created = true;
    drums.setup = {110, 1, 2, 3};
    // A one-bar pattern whose stream runs on for another bar: that part is not played.
    const Bytes drumStream = stream({PropEvent::Channel(0, PropKind::NoteOn, 9, 36, 100),
                                     PropEvent::Channel(1500, PropKind::NoteOn, 9, 38, 100),
                                     PropEvent::Channel(1700, PropKind::NoteOff, 9, 38, 64),
                                     PropEvent::Channel(1800, PropKind::ControlChange, 9, 1, 1),
                                     PropEvent::EndOfTrack(2 * kBar)});
    drums.stream = drumStream;
    drums.patternLength = kBar;
    SmfExportTrack& bass = cv.tracks[2];
    bass.created = true;
    // A note lasting past the CV end, and the pattern's own end of track mid-CV.
    const Bytes bassStream = stream({PropEvent::NoteWithDuration(3000, 0, 40, 90, 500, 64), PropEvent::EndOfTrack(3050)});
    bass.stream = bassStream;

    const Bytes image = exportCv(cv);
    std::vector<PropEvent> events;
    {
        CDecSMF0 decoder(image);
        ASSERT_TRUE(decoder.Open());
        PropEvent e;
        SmfExtract step;
        while ((step = decoder.ExtractEvent(e)) == SmfExtract::Event) events.push_back(e);
        EXPECT_EQ(step, SmfExtract::End);
        EXPECT_EQ(decoder.tick(), 2u * kBar);
    }
    // Events as (tick, kind, channel, data1).
    std::vector<std::tuple<uint32_t, uint8_t, uint8_t, uint8_t>> got;
    for (const PropEvent& e : events)
        if (e.IsChannel()) got.emplace_back(e.tick, e.kind, e.track, e.data1);
    const std::vector<std::tuple<uint32_t, uint8_t, uint8_t, uint8_t>> expected = {
        {0, PropKind::ControlChange, 9, 11},   {0, PropKind::ControlChange, 9, 0},
        {0, PropKind::ControlChange, 9, 32},   {0, PropKind::ProgramChange, 9, 3},
        {0, PropKind::ControlChange, 8, 11},   {0, PropKind::ControlChange, 8, 0},
        {0, PropKind::ControlChange, 8, 32},   {0, PropKind::ProgramChange, 8, 0},
        {0, PropKind::NoteOn, 9, 36},          {1500, PropKind::NoteOn, 9, 38},
        {1536, PropKind::NoteOff, 9, 38},      {1536, PropKind::NoteOn, 9, 36},
        {3000, PropKind::NoteOn, 8, 40},       {3036, PropKind::NoteOn, 9, 38},
        {3072, PropKind::NoteOff, 9, 38},      {3072, PropKind::NoteOff, 8, 40},
        {3072, PropKind::NoteOff, 9, 36},      {3072, PropKind::NoteOff, 9, 36},
    };
    EXPECT_EQ(got, expected);

    // The program's reader sees one end of track, at the CV end, after everything.
    EventCounter reader;
    ASSERT_EQ(reader.ParseMemory(image.data(), uint32_t(image.size())), 0);
    EXPECT_EQ(reader.endsOfTrack, 1);
    EXPECT_EQ(reader.lastEnd, 2u * kBar);
    EXPECT_EQ(Bytes(image.end() - 3, image.end()), (Bytes{0xFF, 0x2F, 0x00}));
    EXPECT_EQ(uint32_t(image[18]) << 24 | uint32_t(image[19]) << 16 | uint32_t(image[20]) << 8 | image[21],
              image.size() - 22);
}

TEST(CEncoderSMF0, AMetaSharedByTracksIsWrittenOnce)
{
    SmfExportCv cv;
    cv.tempo = 120;
    const Bytes withText = stream({PropEvent::MetaEvent(0, 0x01, {'x'}), PropEvent::MetaEvent(0, 0x01, {'x'}),
                                   PropEvent::MetaEvent(0, 0x51, {0x07, 0xA1, 0x20}),
                                   PropEvent::Channel(0, PropKind::NoteOn, 9, 36, 100), PropEvent::EndOfTrack(kBar)});
    for (size_t t : {0u, 3u}) {
        cv.tracks[t].created = true;
        cv.tracks[t].stream = withText;
    }
    const Bytes image = exportCv(cv);
    const std::string bytes(image.begin(), image.end());
    auto count = [&](const std::string& what) {
        size_t n = 0;
        for (size_t at = bytes.find(what); at != std::string::npos; at = bytes.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count(std::string("\xFF\x01\x01x", 4)), 2u); // both copies of the first track, none of the second
    EXPECT_EQ(count(std::string("\xFF\x51\x03\x07\xA1\x20", 6)), 1u);
}

TEST(CEncoderSMF0, ACvWithoutBarLengthIsNotExported)
{
    test::TraceCapture capture;
    SmfExportCv cv;
    cv.signature = {0, 2};
    EXPECT_FALSE(CEncoderSMF0::ExportCv(cv).has_value());
    cv.signature = {4, 11};
    EXPECT_FALSE(CEncoderSMF0::ExportCv(cv).has_value());
    cv.signature = {16, 2};
    cv.bars = 200000;
    EXPECT_FALSE(CEncoderSMF0::ExportCv(cv).has_value());
    EXPECT_TRUE(capture.contains("CEncoderSMF0::ExportCv - Chord variation has no length"));

    // A pattern of one tick repeated over 32 bars of 16/1 would give 786432 copies.
    const Bytes tiny = stream({PropEvent::Channel(0, PropKind::ControlChange, 9, 1, 1),
                               PropEvent::Channel(0, PropKind::ControlChange, 9, 2, 1),
                               PropEvent::Channel(0, PropKind::ControlChange, 9, 3, 1),
                               PropEvent::Channel(0, PropKind::ControlChange, 9, 4, 1),
                               PropEvent::Channel(0, PropKind::ControlChange, 9, 5, 1),
                               PropEvent::Channel(0, PropKind::ControlChange, 9, 6, 1), PropEvent::EndOfTrack(1)});
    cv.signature = {16, 0};
    cv.bars = 32;
    cv.tracks[0] = {true, {}, tiny, 1};
    EXPECT_FALSE(CEncoderSMF0::ExportCv(cv).has_value());
    EXPECT_TRUE(capture.contains("CEncoderSMF0::ExportCv - Too many events once the patterns are repeated"));
}

// A multi-track CV as an import makes it, exported and imported again: the
// patterns come back with the bank selects and program change of the track
// record that the export writes at tick 0 in front of them (only the tick-0
// expression is left out, the record holding it).
TEST(CEncoderSMF0, ExportThenImportGivesThePatternsAfterTheirTrackRecord)
{
    // The original: a file with every kind of channel event on five style tracks.
    test::SampleRandom random(3);
    List fileEvents;
    for (uint8_t t : {0, 1, 2, 5, 7}) {
        const uint8_t channel = kStyleTrackChannel[t];
        for (uint32_t tick = 0; tick < 4 * kBar - 100; tick += 48 + random.below(200)) {
            const auto key = uint8_t(30 + random.below(60));
            fileEvents.push_back(PropEvent::Channel(tick, PropKind::NoteOn, channel, key, uint8_t(1 + random.below(127))));
            fileEvents.push_back(PropEvent::Channel(tick + 40, PropKind::NoteOff, channel, key, uint8_t(random.below(128))));
            if (random.below(3) == 0)
                fileEvents.push_back(PropEvent::Channel(tick + 10, PropKind::ControlChange, channel, 1, uint8_t(random.below(128))));
            if (random.below(4) == 0)
                fileEvents.push_back(PropEvent::Channel(tick + 20, PropKind::PitchBend, channel, uint8_t(random.below(128)),
                                                        uint8_t(random.below(128))));
            if (random.below(6) == 0) {
                fileEvents.push_back(PropEvent::Channel(tick + 30, PropKind::VexSoundOn, channel, key, 100));
                fileEvents.push_back(PropEvent::Channel(tick + 45, PropKind::VexSoundOff, channel, key, 20));
            }
            if (random.below(6) == 0)
                fileEvents.push_back(PropEvent::Channel(tick + 5, PropKind::ProgramChange, channel, uint8_t(random.below(128))));
        }
    }
    std::stable_sort(fileEvents.begin(), fileEvents.end(),
                     [](const PropEvent& a, const PropEvent& b) { return a.tick < b.tick; });

    SmfExportCv cv;
    cv.tempo = 97;
    cv.signature = {4, 2};
    cv.bars = 4;
    const Bytes control = stream({PropEvent::Control(768, {2, 150}), PropEvent::Control(3000, {2, 61}),
                                  PropEvent::EndOfTrack(4 * kBar)});
    cv.controlStream = control;
    std::array<Bytes, 8> streams, expected;
    for (size_t t = 0; t < 8; ++t) {
        const uint8_t channel = kStyleTrackChannel[t];
        List events;
        for (const PropEvent& e : fileEvents)
            if (e.track == channel) events.push_back(e);
        if (events.empty()) continue;
        events.push_back(PropEvent::EndOfTrack(4 * kBar));
        cv.tracks[t].created = true;
        // The file's last program change becomes the record of a fresh element.
        uint8_t program = uint8_t(t * 3);
        for (const PropEvent& e : events)
            if (e.kind == PropKind::ProgramChange) program = e.data1;
        cv.tracks[t].setup = {uint8_t(100 + t), uint8_t(t), 0, program};
        streams[t] = CEncoderProp::EncodeEvents(events, PropSwitches::BothOff()).value();
        cv.tracks[t].stream = streams[t];
        cv.tracks[t].patternLength = 4 * kBar;
        List imported = {PropEvent::Channel(0, PropKind::ControlChange, channel, 0, uint8_t(t)),
                         PropEvent::Channel(0, PropKind::ControlChange, channel, 32, 0),
                         PropEvent::Channel(0, PropKind::ProgramChange, channel, program)};
        imported.insert(imported.end(), events.begin(), events.end());
        expected[t] = CEncoderProp::EncodeEvents(imported, PropSwitches::BothOff()).value();
    }

    const Bytes image = exportCv(cv);
    for (bool elementHasData : {false, true}) {
        SmfImportTarget target;
        target.elementHasData = elementHasData;
        target.tempo = 55;
        for (size_t t = 0; t < 8; ++t) target.setups[t] = cv.tracks[t].setup;
        SmfImportResult result;
        ASSERT_TRUE(CDecSMF0::ImportCv(image, target, result));
        EXPECT_EQ(result.tempo, 97);
        EXPECT_EQ(result.signature, cv.signature);
        EXPECT_EQ(result.bars, 4u);
        EXPECT_EQ(result.length, 4 * kBar);
        EXPECT_EQ(result.controlStream, control);
        for (size_t t = 0; t < 8; ++t) {
            EXPECT_EQ(result.tracks[t].created, cv.tracks[t].created) << t;
            if (!cv.tracks[t].created) continue;
            EXPECT_EQ(result.setups[t], cv.tracks[t].setup) << t;
            EXPECT_EQ(result.tracks[t].stream, expected[t]) << t;

            EXPECT_EQ(result.tracks[t].length, 4 * kBar) << t;
        }
    }
}

TEST(CEncoderSMF0, TheExportedFileReadsCleanlyAfterTheFormatConverter)
{
    SmfExportCv cv;
    cv.bars = 2;
    const List drums = test::densePatternEvents(150, false, 0);
    const Bytes drumStream = stream(drums);
    const Bytes bassStream = stream({PropEvent::Channel(0, PropKind::VexSoundOn, 0, 40, 100),
                                     PropEvent::SysExEvent(10, 0, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}),
                                     PropEvent::Control(20, {7, 1, 2}), PropEvent::MetaEvent(30, 0x03, {'B'}),
                                     PropEvent::Channel(700, PropKind::VexSoundOff, 0, 40, 64),
                                     PropEvent::EndOfTrack(kBar)});
    cv.tracks[0] = {true, {}, drumStream, 2 * kBar};
    cv.tracks[2] = {true, {}, bassStream, kBar};
    const Bytes image = exportCv(cv);

    EventCounter direct;
    ASSERT_EQ(direct.ParseMemory(image.data(), uint32_t(image.size())), 0);
    EXPECT_EQ(direct.endsOfTrack, 1);

    // To format 1 (one track per channel) and back to format 0.
    zib::CMidiFileParser toTracks;
    uint32_t size = 0;
    ASSERT_EQ(toTracks.GetConvertedSize(image.data(), uint32_t(image.size()), size, true), 0);
    Bytes format1(size);
    ASSERT_EQ(toTracks.ConvertFormat(image.data(), uint32_t(image.size()), format1.data(), size, true), 0);
    EventCounter perChannel;
    ASSERT_EQ(perChannel.ParseMemory(format1.data(), uint32_t(format1.size())), 0);
    EXPECT_EQ(perChannel.GetFormat(), 1);
    EXPECT_EQ(perChannel.channelEvents, direct.channelEvents);
    EXPECT_EQ(perChannel.endsOfTrack, perChannel.GetTrackCount());

    zib::CMidiFileParser toOne;
    ASSERT_EQ(toOne.ParseFormat0(format1.data(), uint32_t(format1.size()), size), 0);
    Bytes format0(size);
    ASSERT_EQ(toOne.ConvertToFormat0(format1.data(), uint32_t(format1.size()), format0.data(), size), 0);
    EventCounter merged;
    ASSERT_EQ(merged.ParseMemory(format0.data(), uint32_t(format0.size())), 0);
    EXPECT_EQ(merged.channelEvents, direct.channelEvents);
    EXPECT_EQ(merged.endsOfTrack, 1);
    EXPECT_EQ(direct.lastEnd, 2u * kBar);
    // The converter ends its track right after the last event.
    EXPECT_EQ(merged.lastEnd, merged.lastChannelEvent);
}

} // namespace encoder_smf0_test
} // namespace zib::ulvarf
