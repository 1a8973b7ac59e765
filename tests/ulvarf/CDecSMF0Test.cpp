// Standard MIDI File import of one chord variation: header checks, event
// conversions, the channel map, tempo, signature and track records, cuts,
// and files that are refused.

#include "ulvarf/CDecProp.h"
#include "ulvarf/CDecSMF0.h"
#include "ulvarf/CEncoderSMF0.h"

#include "tests/support/RealFixtures.h"
#include "tests/support/SmfBuilder.h"
#include "tests/ulvarf/TraceCapture.h"

#include "midi/CMidiFileParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zib::ulvarf {
// Named, so that its helpers stay apart from other test files built with it.
namespace dec_smf0_test {

using Bytes = std::vector<uint8_t>;
using test::SmfBuilder;

constexpr uint32_t kBar = 1536; // 4/4

std::vector<PropEvent> eventsOf(const Bytes& stream)
{
    std::vector<PropEvent> events;
    EXPECT_TRUE(CDecProp::DecodeEvents(stream, events));
    return events;
}

// The events of a track's stream without its end of track.
std::vector<PropEvent> bodyOf(const SmfImportTrack& track)
{
    auto events = eventsOf(track.stream);
    if (!events.empty() && events.back().IsEndOfTrack()) events.pop_back();
    return events;
}

SmfImportResult import(const Bytes& smf, const SmfImportTarget& target = {})
{
    SmfImportResult result;
    EXPECT_TRUE(CDecSMF0::ImportCv(smf, target, result));
    return result;
}

// Events of one format-0 file, read straight through the decoder.
std::vector<PropEvent> extract(const Bytes& smf, SmfExtract* last = nullptr)
{
    CDecSMF0 decoder(smf);
    EXPECT_TRUE(decoder.Open());
    std::vector<PropEvent> events;
    PropEvent event;
    SmfExtract step;
    while ((step = decoder.ExtractEvent(event)) == SmfExtract::Event) events.push_back(event);
    if (last) *last = step;
    return events;
}

TEST(CDecSMF0, RefusedFilesLeaveTheResultUntouched)
{
    auto format0 = [] {
        SmfBuilder smf(0, 384);
        smf.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(96, 9, 36);
        return smf;
    };
    const Bytes good = format0().Build();
    Bytes smpte = good;
    smpte[12] = 0xE7; // -25 frames
    smpte[13] = 0x28;
    Bytes longHeader = good;
    longHeader[7] = 0x40; // header length past the image

    struct Case {
        const char* name;
        Bytes smf;
    };
    std::vector<Case> cases = {
        {"format 1", [] {
             SmfBuilder smf(1, 384);
             smf.AddTrack().NoteOn(0, 9, 36, 100);
             return smf.Build();
         }()},
        {"format 0 announcing two tracks", format0().AnnouncedTracks(2).Build()},
        {"no MThd", format0().HeaderId("MThx").Build()},
        {"header length below 6", format0().HeaderLength(4).Build()},
        {"header length past the image", longHeader},
        {"no MTrk after the header", [&] {
             SmfBuilder smf(0, 384);
             smf.AddChunk("XTRK", {0, 0x90, 36, 100});
             return smf.AnnouncedTracks(1).Build();
         }()},
        {"cut inside the header", SmfBuilder::Truncated(good, 10)},
        {"cut inside the track head", SmfBuilder::Truncated(good, 18)},
        {"SMPTE division", smpte},
        {"empty", {}},
    };
    ASSERT_TRUE(import(good).tracks[0].created);
    for (const Case& c : cases) {
        SmfImportResult result;
        result.bars = 77;
        const auto copy = std::make_unique<uint8_t[]>(c.smf.size() + 1);
        std::copy(c.smf.begin(), c.smf.end(), copy.get());
        EXPECT_FALSE(CDecSMF0::ImportCv({copy.get(), c.smf.size()}, {}, result)) << c.name;
        EXPECT_EQ(result.bars, 77u) << c.name;
    }
}

// Past the header, a fault ends the decoding where it stands: what came
// before it is imported (notes still sounding end at the fault's tick).
TEST(CDecSMF0, DecodingFaultsImportWhatCameBefore)
{
    auto file = [](auto fill) {
        SmfBuilder smf(0, 384);
        fill(smf.AddTrack());
        return smf;
    };
    const auto note = [](uint32_t on, uint32_t off) {
        return std::vector<PropEvent>{PropEvent::Channel(on, PropKind::NoteOn, 9, 36, 100),
                                      PropEvent::Channel(off, PropKind::NoteOff, 9, 36, off == 96 ? 0 : 64)};
    };
    const Bytes whole = file([](test::SmfTrack& t) { t.NoteOn(0, 9, 36, 100).NoteOff(96, 9, 36); }).Build();
    struct Case {
        const char* name;
        Bytes smf;
        std::vector<PropEvent> drums; // empty: no pattern at all
    };
    const Case cases[] = {
        // A note on, then a note off cut after its key.
        {"cut note off", {0x4D, 0x54, 0x68, 0x64, 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0x80, 0x4D, 0x54, 0x72, 0x6B, 0, 0,
                          0, 7, 0x00, 0x99, 0x3C, 0x64, 0x60, 0x89, 0x3C},
         {PropEvent::Channel(0, PropKind::NoteOn, 9, 60, 100), PropEvent::Channel(96, PropKind::NoteOff, 9, 60, 64)}},
        {"cut inside an event",
         file([](test::SmfTrack& t) { t.NoteOn(0, 9, 36, 100).Raw(10, {0x99, 0x24}).NoEndOfTrack(); }).Build(),
         note(0, 10)},
        {"illegal status", file([](test::SmfTrack& t) { t.NoteOn(0, 9, 36, 100).Raw(10, {0xF2, 0x00, 0x00}); }).Build(),
         note(0, 10)},
        {"status byte for a data byte",
         file([](test::SmfTrack& t) { t.NoteOn(0, 9, 36, 100).Raw(10, {0x99, 0x90}); }).Build(), note(0, 10)},
        {"track chunk past the image", SmfBuilder::Truncated(whole, whole.size() - 3), note(0, 96)},
        {"second track chunk",
         [] {
             SmfBuilder smf(0, 384);
             smf.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(96, 9, 36);
             smf.AddTrack().NoteOn(0, 9, 40, 100).NoteOff(50, 9, 40);
             return smf.AnnouncedTracks(1).Build();
         }(),
         note(0, 96)},
        {"data byte without status", file([](test::SmfTrack& t) { t.Raw(0, {0x24, 0x40}); }).Build(), {}},
        {"meta length past the track",
         file([](test::SmfTrack& t) { t.Raw(0, {0xFF, 0x01, 0x7F, 'a'}).NoEndOfTrack(); }).Build(), {}},
    };
    SmfImportTarget target;
    target.elementHasData = true; // the patterns as decoded, not repeated over the CV
    for (const Case& c : cases) {
        SmfImportResult result;
        ASSERT_TRUE(CDecSMF0::ImportCv(c.smf, target, result)) << c.name;
        EXPECT_EQ(result.tracks[0].created, !c.drums.empty()) << c.name;
        if (!c.drums.empty()) {
            EXPECT_EQ(bodyOf(result.tracks[0]), c.drums) << c.name;
        }
        for (size_t t = 1; t < 8; ++t) EXPECT_FALSE(result.tracks[t].created) << c.name << " " << t;
        EXPECT_EQ(result.bars, 1u) << c.name;
    }
}

TEST(CDecSMF0, DecodingTraces)
{
    struct Case {
        const char* name;
        Bytes smf;
        const char* text;
        bool imports; // only a refused header fails the import
    };
    auto one = [](auto build) {
        SmfBuilder smf(0, 384);
        build(smf.AddTrack());
        return smf.Build();
    };
    Bytes twoTracks = [] {
        SmfBuilder smf(0, 384);
        smf.AddTrack().NoteOn(0, 9, 36, 100);
        smf.AddTrack().NoteOn(0, 9, 36, 100);
        return smf.AnnouncedTracks(1).Build();
    }();
    const Case cases[] = {
        {"missing status", one([](test::SmfTrack& t) { t.Raw(0, {0x24, 0x40}); }),
         "\nCDecSMF0::OnExtractEvent() - Missing status byte", true},
        {"illegal status", one([](test::SmfTrack& t) { t.Raw(0, {0xF4}); }),
         "\nCDecSMF0::OnExtractEvent() - Illegal status code", true},
        {"end of file", one([](test::SmfTrack& t) { t.Raw(0, {0x99, 0x24}).NoEndOfTrack(); }),
         "\nCDecSMF0::OnExtract() - Unexpected end of file reached", true},
        {"second chunk", twoTracks, "\nCDecSMF0::SetChunkDontWait() - Cannot decode more than one chunk", true},
        {"no input", {}, "\nCDecSMF0::WaitStreamOpened() - Failed to open CIn", false},
    };
    for (const Case& c : cases) {
        test::TraceCapture capture;
        SmfImportResult result;
        EXPECT_EQ(CDecSMF0::ImportCv(c.smf, {}, result), c.imports) << c.name;
        // Once, though the file is decoded twice.
        EXPECT_EQ(std::count(capture.texts().begin(), capture.texts().end(), c.text), 1) << c.name;
    }
}

TEST(CDecSMF0, ChannelsMapToStyleTracks)
{
    SmfBuilder smf(0, 384);
    auto& track = smf.AddTrack();
    const uint8_t channels[8] = {9, 10, 8, 11, 12, 13, 14, 15};
    for (int t = 0; t < 8; ++t) track.NoteOn(0, channels[t], 40 + t, 100).NoteOff(96, channels[t], 40 + t, 50);
    track.NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).EndAt(kBar); // channel 1: no style track
    const SmfImportResult result = import(smf.Build());
    for (int t = 0; t < 8; ++t) {
        ASSERT_TRUE(result.tracks[size_t(t)].created) << t;
        const std::vector<PropEvent> expected = {PropEvent::Channel(0, PropKind::NoteOn, channels[t], uint8_t(40 + t), 100),
                                                 PropEvent::Channel(96, PropKind::NoteOff, channels[t], uint8_t(40 + t), 50)};
        EXPECT_EQ(bodyOf(result.tracks[size_t(t)]), expected) << t;
    }
    for (int c = 0; c < 16; ++c) EXPECT_EQ(StyleTrackOfChannel(uint8_t(c)) < 0, c < 8) << c;
}

TEST(CDecSMF0, ChannelMessagesAndTheirConversions)
{
    SmfBuilder smf(0, 384);
    smf.AddTrack()
        .NoteOn(0, 9, 36, 0)                     // velocity 0: note off 64
        .Raw(1, {0x89, 0x24})                    // note off whose velocity is missing: the
        .Raw(201, {0x99, 0x24, 0x10})            // next byte (a delta of 200) has bit 7 set
        .Raw(202, {0x24, 0x11})                  // running status
        .Controller(203, 9, 7, 100)
        .Controller(203, 9, 121, 0)              // channel mode
        .Program(204, 9, 5)
        .ChannelPressure(204, 9, 6)
        .KeyPressure(205, 9, 36, 7)
        .PitchBend(206, 9, 0x2000)
        .EndAt(1536);
    const SmfImportResult result = import(smf.Build());
    const std::vector<PropEvent> expected = {
        PropEvent::Channel(0, PropKind::NoteOff, 9, 36, 64),
        PropEvent::Channel(1, PropKind::NoteOff, 9, 36, 64),
        PropEvent::Channel(201, PropKind::NoteOn, 9, 36, 0x10),
        PropEvent::Channel(202, PropKind::NoteOn, 9, 36, 0x11),
        PropEvent::Channel(203, PropKind::ControlChange, 9, 7, 100),
        PropEvent::Channel(203, PropKind::ChannelMode, 9, 121, 0),
        PropEvent::Channel(204, PropKind::ProgramChange, 9, 5),
        PropEvent::Channel(204, PropKind::ChannelPressure, 9, 6),
        PropEvent::Channel(205, PropKind::PolyPressure, 9, 36, 7),
        PropEvent::Channel(206, PropKind::PitchBend, 9, 0x00, 0x40),
        PropEvent::Channel(1536, PropKind::NoteOff, 9, 36, 64), // the two notes left sounding
        PropEvent::Channel(1536, PropKind::NoteOff, 9, 36, 64),
    };
    EXPECT_EQ(bodyOf(result.tracks[0]), expected);
}

TEST(CDecSMF0, VexSoundAndControlEventConversions)
{
    SmfBuilder smf(0, 384);
    smf.AddTrack()
        .SysEx(0, {0x42, 0x3F, 0x78, 0x01, 0x01, 0x09, 0x30, 0x64, 0xF7})       // VexSound on, channel 10
        .SysEx(10, {0x42, 0x31, 0x78, 0x01, 0x00, 0x0A, 0x30, 0x40, 0xF7})      // VexSound off, channel 11
        .SysEx(11, {0x42, 0x3F, 0x78, 0x01, 0x02, 0x09, 0x30, 0x64, 0xF7})      // b = 2: plain sysex
        .SysEx(12, {0x01, 0x02}, 0xF7)                                          // F7 form
        .Meta(20, 0x7F, {0x42, 0x60, 0x07, 1, 2, 3, 4, 5})
        .Meta(21, 0x7F, {0x42, 0x60, 0x08, 1, 2})                               // 4 bytes, two missing
        .Meta(22, 0x7F, {0x42, 0x60, 0x09, 1, 2, 3})                            // 1 byte, surplus skipped
        .Meta(23, 0x7F, {0x42, 0x60, 0x0A, 1, 2, 3})
        .Meta(24, 0x7F, {0x42, 0x60, 0x0B, 9})
        .Meta(25, 0x7F, {0x42, 0x60, 0x05, 1})                                  // dropped
        .Meta(26, 0x7F, {0x42, 0x60, 0x06, 1})                                  // dropped
        .Meta(27, 0x7F, {0x42, 0x60, 0x02, 50})                                 // stays 0x7F
        .Meta(28, 0x7F, {0x43, 0x00})                                           // stays 0x7F
        .Meta(29, 0x7E, {0x03, 0x00, 0x00, 0x00})                               // dropped
        .NoteOn(30, 9, 36, 100)
        .NoteOff(40, 9, 36)
        .EndAt(kBar);
    std::vector<PropEvent> events = extract(smf.Build());
    events.pop_back();
    const std::vector<PropEvent> expected = {
        PropEvent::Channel(0, PropKind::VexSoundOn, 9, 0x30, 0x64),
        PropEvent::Channel(10, PropKind::VexSoundOff, 10, 0x30, 0x40),
        PropEvent::SysExEvent(11, 0, {0xF0, 0x42, 0x3F, 0x78, 0x01, 0x02, 0x09, 0x30, 0x64, 0xF7}),
        PropEvent::SysExEvent(12, 0, {0x01, 0x02}),
        PropEvent::Control(20, {7, 1, 2, 3, 4, 5}),
        PropEvent::Control(21, {8, 1, 2, 0, 0}),
        PropEvent::Control(22, {9, 1}),
        PropEvent::Control(23, {10, 1, 2, 3}),
        PropEvent::Control(24, {11, 9}),
        PropEvent::MetaEvent(27, 0x7F, {0x42, 0x60, 0x02, 50}),
        PropEvent::MetaEvent(28, 0x7F, {0x43, 0x00}),
        PropEvent::Channel(30, PropKind::NoteOn, 9, 36, 100),
    };
    EXPECT_EQ(events, expected);

    // Through the import: VexSounds go to the track of their channel, the
    // other events to every style track.
    const SmfImportResult result = import(smf.Build());
    const auto drums = bodyOf(result.tracks[0]);
    ASSERT_EQ(drums.size(), 13u); // with the VexSound off that ends the sound at the end
    EXPECT_EQ(drums.back(), PropEvent::Channel(kBar, PropKind::VexSoundOff, 9, 0x30, 64));
    EXPECT_EQ(drums[0], expected[0]);
    EXPECT_EQ(drums[1].data, expected[2].data);
    EXPECT_EQ(drums[1].track, 9);
    const auto percussion = bodyOf(result.tracks[1]);
    EXPECT_EQ(percussion[0], expected[1]);
    ASSERT_TRUE(result.tracks[2].created);
    EXPECT_EQ(bodyOf(result.tracks[2]).size(), 9u); // two sysex, five control events, two metas
}

TEST(CDecSMF0, DeltasAreRescaledWithoutDrift)
{
    struct Case {
        uint16_t division;
        std::vector<uint32_t> deltas;
        std::vector<uint32_t> ticks;
    };
    const Case cases[] = {
        {96, {1, 24, 96}, {4, 100, 484}},
        {480, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {0, 1, 2, 3, 4, 4, 5, 6, 7, 8}},
        {0, {5, 7}, {5, 12}},
        {1, {0x0FFFFFFF, 1}, {0xFFFFFFFF, 0xFFFFFFFF}},
    };
    for (const Case& c : cases) {
        SmfBuilder smf(0, c.division);
        auto& track = smf.AddTrack();
        uint32_t tick = 0;
        for (uint32_t d : c.deltas) track.Controller(tick += d, 9, 7, 1);
        std::vector<uint32_t> ticks;
        for (const PropEvent& e : extract(smf.Build())) ticks.push_back(e.tick);
        EXPECT_EQ(ticks, c.ticks) << c.division;
    }
    // A delta of 2^28 - 1 at division 1 lies far past 32 bars: 64-bit arithmetic, then the cut.
    SmfBuilder smf(0, 1);
    smf.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(0x0FFFFFFF, 9, 36);
    const SmfImportResult result = import(smf.Build());
    EXPECT_EQ(result.bars, 32u);
    EXPECT_EQ(bodyOf(result.tracks[0]).back(), PropEvent::Channel(32 * kBar, PropKind::NoteOff, 9, 36, 64));
}

TEST(CDecSMF0, TempoAndItsChanges)
{
    SmfBuilder smf(0, 384);
    smf.AddTrack()
        .Tempo(0, 500000)                     // 120: the style tempo
        .Meta(10, 0x51, {0x07})               // short: ignored
        .Tempo(20, 0)                         // 0: ignored
        .Tempo(384, 600000)                   // 100 BPM = 83 %
        .Tempo(400, 600000)                   // no change
        .Tempo(768, 100000)                   // 600 BPM: 500 %, clamped to 255
        .Tempo(1152, 0xFFFFFF)                // 3.6 BPM: 3 %
        .NoteOn(0, 9, 36, 100)
        .NoteOff(1536, 9, 36);
    SmfImportTarget target;
    target.tempo = 90;
    const SmfImportResult result = import(smf.Build(), target);
    ASSERT_TRUE(result.tempo.has_value());
    EXPECT_EQ(*result.tempo, 120);
    const std::vector<PropEvent> expected = {PropEvent::Control(384, {2, 83}), PropEvent::Control(768, {2, 255}),
                                             PropEvent::Control(1152, {2, 3}), PropEvent::EndOfTrack(kBar)};
    EXPECT_EQ(eventsOf(result.controlStream), expected);
    // Tempo events stay out of the patterns.
    for (const PropEvent& e : bodyOf(result.tracks[0])) EXPECT_TRUE(e.IsChannel());

    // A file without a tempo keeps the style's, and every change is relative to it.
    SmfBuilder noTempo(0, 384);
    noTempo.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(96, 9, 36);
    EXPECT_FALSE(import(noTempo.Build()).tempo.has_value());
}

TEST(CDecSMF0, TheElementTakesSignatureAndTrackRecordsOnlyWhenItHeldNoData)
{
    SmfBuilder smf(0, 384);
    smf.AddTrack()
        .TimeSig(0, 3, 2)
        .Meta(0, 0x58, {0x05, 0x02})      // short: ignored
        .TimeSig(0, 0, 2)                 // numerator 0: ignored
        .TimeSig(0, 4, 7)                 // 4/128: cannot be stored
        .Controller(0, 8, 11, 90)         // bass (channel 9)
        .Controller(0, 8, 0, 1)
        .Controller(0, 8, 32, 2)
        .Program(0, 8, 33)
        .Controller(0, 0, 11, 10)         // channel 1: no style track
        .NoteOn(0, 8, 40, 100)
        .Controller(1152, 8, 11, 80)      // the last one wins the record
        .NoteOff(1152, 8, 40);
    const Bytes file = smf.Build();

    const SmfImportResult fresh = import(file);
    EXPECT_EQ(fresh.signature, (SmfSignature{3, 2}));
    EXPECT_EQ(fresh.setups[2], (SmfTrackSetup{80, 1, 2, 33}));
    EXPECT_EQ(fresh.setups[0], SmfTrackSetup{});
    EXPECT_EQ(fresh.bars, 1u); // 1152 ticks = one 3/4 bar
    EXPECT_EQ(fresh.length, 1152u);
    // Only the tick-0 expression leaves the pattern; bank and program stay.
    const std::vector<PropEvent> expected = {PropEvent::Channel(0, PropKind::ControlChange, 8, 0, 1),
                                             PropEvent::Channel(0, PropKind::ControlChange, 8, 32, 2),
                                             PropEvent::Channel(0, PropKind::ProgramChange, 8, 33),
                                             PropEvent::Channel(0, PropKind::NoteOn, 8, 40, 100),
                                             PropEvent::Channel(1152, PropKind::ControlChange, 8, 11, 80),
                                             PropEvent::Channel(1152, PropKind::NoteOff, 8, 40, 0)};
    EXPECT_EQ(bodyOf(fresh.tracks[2]), expected);

    SmfImportTarget withData;
    withData.elementHasData = true;
    withData.signature = {6, 3};
    withData.setups[2] = {100, 1, 0, 7};
    const SmfImportResult kept = import(file, withData);
    EXPECT_EQ(kept.signature, (SmfSignature{6, 3}));
    EXPECT_EQ(kept.setups, withData.setups);
    EXPECT_EQ(bodyOf(kept.tracks[2]), expected); // the same routing, whatever the record holds
}

// Setup events at tick 0: every controller 11 there leaves the pattern (the
// track record holds the expression and the export writes it first); bank
// selects and program changes stay, in file order, whatever the record holds.
TEST(CDecSMF0, OnlyTheTickZeroExpressionLeavesThePattern)
{
    SmfBuilder smf(0, 384);
    smf.AddTrack()
        .Controller(0, 8, 11, 127)
        .Controller(0, 8, 11, 100)
        .Program(0, 8, 5)
        .Program(0, 8, 7)
        .Controller(0, 8, 0, 3)
        .Controller(0, 8, 32, 4)
        .Controller(0, 9, 11, 64) // drums: a value no record holds, left out all the same
        .NoteOn(0, 8, 40, 100)
        .Controller(768, 8, 11, 90) // later expressions stay
        .NoteOff(1536, 8, 40);
    const Bytes file = smf.Build();
    const std::vector<PropEvent> bass = {PropEvent::Channel(0, PropKind::ProgramChange, 8, 5),
                                         PropEvent::Channel(0, PropKind::ProgramChange, 8, 7),
                                         PropEvent::Channel(0, PropKind::ControlChange, 8, 0, 3),
                                         PropEvent::Channel(0, PropKind::ControlChange, 8, 32, 4),
                                         PropEvent::Channel(0, PropKind::NoteOn, 8, 40, 100),
                                         PropEvent::Channel(768, PropKind::ControlChange, 8, 11, 90),
                                         PropEvent::Channel(1536, PropKind::NoteOff, 8, 40, 0)};
    for (bool elementHasData : {false, true}) {
        SmfImportTarget target;
        target.elementHasData = elementHasData;
        target.setups[2] = {127, 3, 4, 7}; // holds every value above
        const SmfImportResult result = import(file, target);
        EXPECT_EQ(bodyOf(result.tracks[2]), bass) << elementHasData;
        EXPECT_FALSE(result.tracks[0].created) << elementHasData;
    }
    // The record of a fresh element takes the last value of each kind.
    EXPECT_EQ(import(file).setups[2], (SmfTrackSetup{90, 3, 4, 7}));
}

// Exported and imported again, a CV keeps its notes, its record and the
// start it had: the record's expression, then its bank selects and program
// change in front of the pattern's own events.
TEST(CDecSMF0, ExportAndImportKeepTheNotesAndTheStartOfEachTrack)
{
    SmfBuilder smf(0, 384);
    smf.AddTrack()
        .Controller(0, 8, 11, 100)
        .Controller(0, 8, 0, 0)
        .Controller(0, 8, 32, 0)
        .Program(0, 8, 25)
        .NoteOn(0, 8, 40, 100)
        .NoteOff(768, 8, 40)
        .Controller(1536, 8, 32, 8)
        .Program(1536, 8, 25)
        .NoteOn(1536, 8, 40, 100)
        .NoteOff(2304, 8, 40)
        .EndAt(3072);
    const SmfImportResult first = import(smf.Build());
    EXPECT_EQ(first.setups[2], (SmfTrackSetup{100, 0, 8, 25}));

    SmfExportCv cv;
    cv.tempo = 120;
    cv.signature = first.signature;
    cv.bars = first.bars;
    cv.controlStream = first.controlStream;
    for (size_t t = 0; t < 8; ++t) {
        cv.tracks[t].created = first.tracks[t].created;
        cv.tracks[t].setup = first.setups[t];
        cv.tracks[t].stream = first.tracks[t].stream;
        cv.tracks[t].patternLength = first.tracks[t].bars * first.signature.BarLength();
    }
    const Bytes once = CEncoderSMF0::ExportCv(cv).value();
    // The bass channel as the exported file plays it.
    std::vector<PropEvent> played;
    for (const PropEvent& e : extract(once))
        if (e.IsChannel() && e.track == 8) played.push_back(e);
    const std::vector<PropEvent> start = {
        PropEvent::Channel(0, PropKind::ControlChange, 8, 11, 100), // the record
        PropEvent::Channel(0, PropKind::ControlChange, 8, 0, 0),    PropEvent::Channel(0, PropKind::ControlChange, 8, 32, 8),
        PropEvent::Channel(0, PropKind::ProgramChange, 8, 25),
        PropEvent::Channel(0, PropKind::ControlChange, 8, 0, 0), // the pattern
        PropEvent::Channel(0, PropKind::ControlChange, 8, 32, 0),   PropEvent::Channel(0, PropKind::ProgramChange, 8, 25),
        PropEvent::Channel(0, PropKind::NoteOn, 8, 40, 100)};
    ASSERT_GE(played.size(), start.size());
    EXPECT_EQ(std::vector<PropEvent>(played.begin(), played.begin() + std::ptrdiff_t(start.size())), start);

    // Imported again: the same notes, the same record, the same length.
    const SmfImportResult second = import(once);
    EXPECT_EQ(second.setups[2], first.setups[2]);
    EXPECT_EQ(second.bars, first.bars);
    auto notes = [](const SmfImportTrack& track) {
        std::vector<PropEvent> out;
        for (const PropEvent& e : bodyOf(track))
            if (e.kind == PropKind::NoteOn || e.kind == PropKind::NoteOff) out.push_back(e);
        return out;
    };
    EXPECT_EQ(notes(second.tracks[2]), notes(first.tracks[2]));
}

// Meta and system-exclusive events go to every style track, so they alone
// make all eight patterns; tempo and signature are the CV's and element's.
TEST(CDecSMF0, MetaAndSysExEventsGoToEveryStyleTrack)
{
    SmfBuilder smf(0, 384);
    smf.AddTrack()
        .Tempo(0, 500000)
        .TimeSig(0, 4, 2)
        .TrackName(0, "Groove")
        .SysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
        .NoteOn(0, 9, 36, 100)
        .NoteOff(96, 9, 36)
        .Marker(384, "B")
        .EndAt(1536);
    const SmfImportResult result = import(smf.Build());
    const std::vector<PropEvent> drums = {PropEvent::MetaEvent(0, 0x03, {'G', 'r', 'o', 'o', 'v', 'e'}),
                                          PropEvent::SysExEvent(0, 9, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}),
                                          PropEvent::Channel(0, PropKind::NoteOn, 9, 36, 100),
                                          PropEvent::Channel(96, PropKind::NoteOff, 9, 36, 0),
                                          PropEvent::MetaEvent(384, 0x06, {'B'})};
    EXPECT_EQ(bodyOf(result.tracks[0]), drums);
    for (size_t t = 1; t < 8; ++t) {
        ASSERT_TRUE(result.tracks[t].created) << t;
        const std::vector<PropEvent> others = {
            PropEvent::MetaEvent(0, 0x03, {'G', 'r', 'o', 'o', 'v', 'e'}),
            PropEvent::SysExEvent(0, kStyleTrackChannel[t], {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}),
            PropEvent::MetaEvent(384, 0x06, {'B'})};
        EXPECT_EQ(bodyOf(result.tracks[t]), others) << t;
    }

    // A text and a system-exclusive message alone give eight patterns.
    SmfBuilder quiet(0, 384);
    quiet.AddTrack().Text(0, 0x01, "x").SysEx(10, {0x41, 0xF7});
    const SmfImportResult eight = import(quiet.Build());
    for (const auto& track : eight.tracks) EXPECT_TRUE(track.created);

    // A file with nothing in it still gives a CV of one bar, without patterns.
    SmfBuilder empty(0, 384);
    empty.AddTrack().Tempo(0, 500000);
    const SmfImportResult none = import(empty.Build());
    EXPECT_EQ(none.bars, 1u);
    EXPECT_EQ(none.length, kBar);
    for (const auto& track : none.tracks) EXPECT_FALSE(track.created);
}

TEST(CDecSMF0, ACvOfAnEmptyElementIsFilledByRepeatingItsPatterns)
{
    // 1.5 bars: the CV gets 2 bars and the pattern plays again from 1.5 bars.
    SmfBuilder smf(0, 384);
    smf.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(100, 9, 36).NoteOn(2000, 9, 38, 90).EndAt(2304);
    const Bytes file = smf.Build();
    const SmfImportResult fresh = import(file);
    EXPECT_EQ(fresh.bars, 2u);
    EXPECT_EQ(fresh.length, 2 * kBar);
    const SmfImportTrack& drums = fresh.tracks[0];
    EXPECT_EQ(drums.length, 2 * kBar);
    EXPECT_EQ(drums.bars, 2u);
    // The note on at 2000 never ended in the file: it ends at the file's end.
    const std::vector<PropEvent> expected = {
        PropEvent::Channel(0, PropKind::NoteOn, 9, 36, 100),   PropEvent::Channel(100, PropKind::NoteOff, 9, 36, 0),
        PropEvent::Channel(2000, PropKind::NoteOn, 9, 38, 90), PropEvent::Channel(2304, PropKind::NoteOff, 9, 38, 64),
        PropEvent::Channel(2304, PropKind::NoteOn, 9, 36, 100), PropEvent::Channel(2404, PropKind::NoteOff, 9, 36, 0)};
    EXPECT_EQ(bodyOf(drums), expected);
    EXPECT_EQ(eventsOf(drums.stream).back(), PropEvent::EndOfTrack(2 * kBar));

    // An element with data takes the pattern as it is.
    SmfImportTarget withData;
    withData.elementHasData = true;
    const SmfImportResult kept = import(file, withData);
    EXPECT_EQ(kept.tracks[0].length, 2304u);
    EXPECT_EQ(kept.tracks[0].bars, 2u);
    EXPECT_EQ(bodyOf(kept.tracks[0]).size(), 4u);

    // All events at tick 0: the CV is one bar and nothing repeats for ever.
    SmfBuilder zero(0, 384);
    zero.AddTrack().Controller(0, 9, 7, 100).EndAt(0);
    const SmfImportResult one = import(zero.Build());
    EXPECT_EQ(one.bars, 1u);
    EXPECT_EQ(one.tracks[0].length, kBar);
    EXPECT_EQ(bodyOf(one.tracks[0]).size(), 1u);
}

TEST(CDecSMF0, APatternOfAFewTicksIsNotRepeatedWithoutBound)
{
    // 16/1: a bar of 24576 ticks; a pattern of one tick would be copied 24576 times.
    SmfBuilder smf(0, 384);
    auto& track = smf.AddTrack().TimeSig(0, 16, 0);
    for (int i = 0; i < 50; ++i) track.Controller(0, 9, 1, i);
    track.EndAt(1);
    test::TraceCapture capture;
    SmfImportResult result;
    EXPECT_FALSE(CDecSMF0::ImportCv(smf.Build(), {}, result));
    EXPECT_TRUE(capture.contains("CDecSMF0::ImportCv - Pattern too long once repeated over the CV"));

    // A few events fit.
    SmfBuilder few(0, 384);
    few.AddTrack().TimeSig(0, 16, 0).Controller(0, 9, 1, 1).EndAt(1);
    const SmfImportResult fit = import(few.Build());
    EXPECT_EQ(bodyOf(fit.tracks[0]).size(), 24576u);
}

TEST(CDecSMF0, LongFilesAreCutAt32BarsWithTheirNotesEnded)
{
    SmfBuilder smf(0, 384);
    auto& track = smf.AddTrack();
    for (uint32_t bar = 0; bar < 40; ++bar) track.NoteOn(bar * kBar, 9, 36, 100).NoteOff(bar * kBar + 96, 9, 36);
    track.NoteOn(31 * kBar + 1000, 10, 50, 100).NoteOff(33 * kBar, 10, 50);
    track.NoteOn(32 * kBar, 8, 40, 100); // at the cut: left out
    const SmfImportResult result = import(smf.Build());
    EXPECT_EQ(result.bars, 32u);
    EXPECT_EQ(result.length, 32 * kBar);
    EXPECT_EQ(bodyOf(result.tracks[0]).size(), 64u);
    const std::vector<PropEvent> percussion = {PropEvent::Channel(31 * kBar + 1000, PropKind::NoteOn, 10, 50, 100),
                                               PropEvent::Channel(32 * kBar, PropKind::NoteOff, 10, 50, 64)};
    EXPECT_EQ(bodyOf(result.tracks[1]), percussion);
    EXPECT_FALSE(result.tracks[2].created);
}

TEST(CDecSMF0, AFileWithoutEndOfTrackImportsWhatItHolds)
{
    SmfBuilder smf(0, 384);
    smf.AddTrack().NoteOn(0, 9, 36, 100).NoteOff(kBar, 9, 36).NoEndOfTrack();
    const SmfImportResult result = import(smf.Build());
    EXPECT_EQ(bodyOf(result.tracks[0]).size(), 2u);
    EXPECT_EQ(result.bars, 1u);
}

TEST(CDecSMF0, RealFilesImportWithEveryNoteEnded)
{
    // PSR styles are format-0 files followed by other chunks, with their
    // parts on channels 9-16; the short phrases are format 1 and go through
    // the format converter first.
    struct File {
        std::string name;
        Bytes bytes;
        bool style;
    };
    std::vector<File> files;
    for (const auto& path : test::realFixtureFiles("psr-styles"))
        files.push_back({path.filename().string(), test::readFileBytes(path), true});
    for (const auto& path : test::realFixtureFiles("midi")) {
        const Bytes image = test::readFileBytes(path);
        zib::CMidiFileParser parser;
        uint32_t size = 0;
        ASSERT_EQ(parser.ParseFormat0(image.data(), uint32_t(image.size()), size), 0) << path;
        Bytes out(size);
        ASSERT_EQ(parser.ConvertToFormat0(image.data(), uint32_t(image.size()), out.data(), size), 0) << path;
        files.push_back({path.filename().string(), out, false});
    }
    if (files.empty()) GTEST_SKIP() << "no real fixtures";
    for (const File& file : files) {
        SmfImportResult result;
        ASSERT_TRUE(CDecSMF0::ImportCv(file.bytes, {}, result)) << file.name;
        EXPECT_GE(result.bars, 1u) << file.name;
        EXPECT_LE(result.bars, 32u) << file.name;
        size_t created = 0;
        for (const SmfImportTrack& track : result.tracks) {
            if (!track.created) continue;
            ++created;
            // Every note on meets a note off, within the pattern.
            int sounding = 0;
            for (const PropEvent& e : bodyOf(track)) {
                if (e.kind == PropKind::NoteOn) ++sounding;
                if (e.kind == PropKind::NoteOff) --sounding;
                EXPECT_LE(e.tick, track.length) << file.name;
            }
            EXPECT_LE(sounding, 0) << file.name;
        }
        if (file.style) {
            EXPECT_GT(created, 0u) << file.name;
        }
    }
}

} // namespace dec_smf0_test
} // namespace zib::ulvarf
