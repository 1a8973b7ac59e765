// The buffers the engine queues for small built songs, event by event: one
// golden dump per case. Each buffer reads "<device> <buffer index>:", then
// its events as "<delta> <kind>" (DescribeStreamEvents).

#include "midi/MidiEventKind.h"
#include "platform/ByteCursor.h"
#include "tests/support/PlaybackFakes.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zib {
namespace {

using test::PlaybackRig;
using test::SmfBuilder;
using test::SmfTrack;

// Plays the song from the start to its end (or until `stopAtUs`, then stops).
std::string playAndDump(PlaybackRig& rig, int64_t stopAtUs = -1)
{
    EXPECT_EQ(rig.doc.parseResult, 0);
    EXPECT_TRUE(rig.engine.PrepareForDocument());
    rig.engine.StartMidiPlayback();
    if (stopAtUs >= 0) {
        rig.Advance(stopAtUs);
        rig.engine.StartMidiPlayback(); // the second Play stops
    }
    EXPECT_TRUE(rig.RunUntilFinished());
    EXPECT_EQ(rig.host.fake->ReturnedCount(), int(rig.host.fake->QueuedBuffers().size()));
    return rig.Dump();
}

// Track 0 holds the tempo (and a time signature when given).
SmfTrack& tempoTrack(SmfBuilder& b, int numerator = 4, int power = 2)
{
    return b.AddTrack().Tempo(0, 500000).TimeSig(0, numerator, power);
}

TEST(PlaybackDumpTest, APlainSongGoesOutByTickAndTimeStepThenTheEndMarker)
{
    SmfBuilder b(1, 96);
    tempoTrack(b);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(12, 0, 60).NoteOn(16, 0, 62, 90).NoteOff(24, 0, 62);
    PlaybackRig rig(b.Build());
    EXPECT_EQ(playAndDump(rig), R"(Test:A 0:
0 tempo 500000
Test:A 1:
0 nop 3
0 short 90 3C 64
Test:A 2:
6 nop 2
Test:A 3:
6 nop 2
Test:A 4:
0 short 80 3C 00
Test:A 5:
4 nop 2
Test:A 6:
0 short 90 3E 5A
Test:A 7:
6 nop 2
Test:A 8:
2 nop 2
Test:A 9:
0 short 80 3E 00
Test:A 10:
100 nop 4 callback
)");
    // Before the first buffer: each used track's chased state (only what the song sets)
    EXPECT_EQ(rig.Heard(), (std::vector<std::string>{"Test:A: B0 07 64", "Test:A: 90 3C 64", "Test:A: 80 3C 00",
                                                     "Test:A: 90 3E 5A", "Test:A: 80 3E 00"}));
}

TEST(PlaybackDumpTest, AMutedTracksEventsBecomeTimeStepsUnlessANoteOffEndsAPlayedNote)
{
    SmfBuilder b(1, 96);
    tempoTrack(b);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(6, 0, 60);
    b.AddTrack().NoteOn(0, 1, 64, 100).NoteOff(6, 1, 64);
    {
        PlaybackRig rig(b.Build());
        rig.doc.tracks[1].play = 0;
        EXPECT_EQ(playAndDump(rig), R"(Test:A 0:
0 tempo 500000
Test:A 1:
0 nop 3
0 short 90 3C 64
0 nop 2
Test:A 2:
6 nop 2
Test:A 3:
0 short 80 3C 00
0 nop 2
Test:A 4:
100 nop 4 callback
)");
    }
    {
        // Soloing track 2 mutes track 1.
        PlaybackRig rig(b.Build());
        rig.doc.tracks[1].solo = 1;
        playAndDump(rig);
        EXPECT_EQ(rig.Heard(), (std::vector<std::string>{"Test:A: B0 07 64", "Test:A: B1 07 64", "Test:A: 91 40 64",
                                                         "Test:A: 81 40 00"}));
    }
    {
        // Muted after its note-on went out: the note-off still goes.
        SmfBuilder c(1, 96);
        tempoTrack(c);
        c.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
        PlaybackRig rig(c.Build());
        rig.engine.PrepareForDocument();
        rig.engine.StartMidiPlayback();
        rig.Advance(100000);
        rig.doc.tracks[0].play = 0;
        rig.engine.OnTrackSwitchesChanged();
        EXPECT_TRUE(rig.RunUntilFinished());
        EXPECT_EQ(rig.Heard().back(), "Test:A: 80 3C 00");
    }
}

// Port 0 plays on "Test:A", port 1 on "Test:B"; port 2 is disabled and plays
// on port 0's stream. Events of one tick split by stream; after each data
// buffer the other used ports catch up to the fill tick.
TEST(PlaybackDumpTest, EachUsedPortHasItsStreamAndTheOthersShareStreamZero)
{
    SmfBuilder b(1, 96);
    tempoTrack(b);
    b.AddTrack().Port(0, 0).NoteOn(0, 0, 60, 100).NoteOff(12, 0, 60);
    b.AddTrack().Port(0, 1).NoteOn(0, 1, 64, 100).NoteOff(12, 1, 64);
    b.AddTrack().Port(0, 2).NoteOn(6, 2, 67, 100).NoteOff(12, 2, 67);
    PlaybackRig rig(b.Build());
    rig.host.outPorts[1] = {2, 1};
    rig.host.outPorts[2] = {2, 0};
    EXPECT_EQ(playAndDump(rig), R"(Test:A 0:
0 tempo 500000
Test:A 1:
0 nop 3
0 nop 3
0 short 90 3C 64
Test:B 2:
0 nop 3
0 short 91 40 64
Test:A 3:
0 nop 3
Test:A 4:
6 nop 2
Test:B 5:
6 nop 2
Test:A 6:
0 short 92 43 64
Test:A 7:
6 nop 2
Test:B 8:
6 nop 2
Test:A 9:
0 short 80 3C 00
Test:B 10:
0 short 81 40 00
Test:A 11:
0 short 82 43 00
Test:A 12:
100 nop 4 callback
)");
    EXPECT_EQ(rig.host.fake->OpenOutputCount(), 0); // closed at the finish
}

TEST(PlaybackDumpTest, ATempoEventHeadsItsBufferAndRetimesEveryPortWhenItPlays)
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000).Tempo(12, 250000);
    b.AddTrack().Port(0, 0).NoteOn(0, 0, 60, 100).NoteOff(24, 0, 60);
    b.AddTrack().Port(0, 1).NoteOn(0, 1, 64, 100).NoteOff(24, 1, 64);
    PlaybackRig rig(b.Build());
    rig.host.outPorts[1] = {2, 1};
    playAndDump(rig);
    // Ticks 0-12 at 5208 us, 12-24 at 2604 us: both ports end together at 93750 us.
    std::vector<std::string> offs;
    for (const auto& s : rig.host.fake->SentMessages())
        if (s.bytes.size() == 3 && (s.bytes[0] & 0xF0) == 0x80) offs.push_back(s.device + "@" + std::to_string(s.timeUs));
    EXPECT_EQ(offs, (std::vector<std::string>{"Test:A@93750", "Test:B@93750"}));
    EXPECT_EQ(rig.ui.tempoTexts.back(), "240");
    const std::string dump = rig.Dump();
    EXPECT_NE(dump.find(":\n0 tempo 250000\nTest:"), std::string::npos) << dump; // alone in its buffer
}

TEST(PlaybackDumpTest, SystemExclusiveGoesWholeUpTo1019RawBytesAndLongerOnesAndF7EventsAreSkipped)
{
    SmfBuilder b(1, 96);
    tempoTrack(b);
    std::vector<uint8_t> whole(1016, 0x11), tooLong(1017, 0x22); // raw lengths 1019 and 1020
    whole.back() = tooLong.back() = 0xF7;
    b.AddTrack().SysEx(0, whole).NoteOn(0, 0, 60, 1).SysEx(6, tooLong).SysEx(6, {0x01, 0x02}, 0xF7).NoteOff(12, 0, 60);
    PlaybackRig rig(b.Build());
    EXPECT_EQ(playAndDump(rig), R"(Test:A 0:
0 tempo 500000
Test:A 1:
0 nop 3
Test:A 2:
0 long F0 .. F7 (1017)
Test:A 3:
0 short 90 3C 01
Test:A 4:
6 nop 2
Test:A 5:
0 nop 3
0 nop 3
Test:A 6:
6 nop 2
Test:A 7:
0 short 80 3C 00
Test:A 8:
100 nop 4 callback
)");
    const auto sent = rig.host.fake->SentMessages();
    std::vector<uint8_t> expected(1 + whole.size(), 0xF0);
    std::copy(whole.begin(), whole.end(), expected.begin() + 1);
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[1].bytes, expected); // with its closing F7
}

// From 0 to Thru 24: the note that sounds across Thru ends before the wrap.
TEST(PlaybackDumpTest, TheLoopEndsNotesSoundingAcrossThruThenWrapsToFrom)
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOn(6, 0, 62, 100).NoteOff(12, 0, 60).NoteOff(30, 0, 62);
    PlaybackRig rig(b.Build());
    ASSERT_TRUE(rig.engine.PrepareForDocument());
    rig.engine.SetStartMarker(0, 0, 0);
    rig.engine.SetEndMarker(0, 0, 24);
    rig.doc.loop = true;
    rig.engine.StartMidiPlayback();
    rig.Advance(130000); // one pass is 125 ms
    rig.engine.StartMidiPlayback();
    ASSERT_TRUE(rig.RunUntilFinished());
    // The time signature the reader adds at tick 0 (nop 3) and the tempo open each pass.
    EXPECT_EQ(rig.Dump(), R"(Test:A 0:
0 nop 3
Test:A 1:
0 tempo 500000
Test:A 2:
0 short 90 3C 64
Test:A 3:
6 nop 2
Test:A 4:
0 short 90 3E 64
Test:A 5:
6 nop 2
Test:A 6:
0 short 80 3C 00
Test:A 7:
6 nop 2
Test:A 8:
6 nop 2
Test:A 9:
0 nop 2
Test:A 10:
0 short 90 3E 00
Test:A 11:
0 nop 3
Test:A 12:
0 tempo 500000
Test:A 13:
0 short 90 3C 64
Test:A 14:
6 nop 2
Test:A 15:
0 short 90 3E 64
Test:A 0:
6 nop 2
Test:A 1:
0 short 80 3C 00
Test:A 2:
6 nop 2
Test:A 3:
6 nop 2
Test:A 4:
0 nop 2
Test:A 5:
0 short 90 3E 00
Test:A 6:
0 nop 3
Test:A 7:
0 tempo 500000
Test:A 8:
0 short 90 3C 64
Test:A 9:
6 nop 2
Test:A 10:
0 short 90 3E 64
Test:A 11:
6 nop 2
Test:A 12:
0 short 80 3C 00
Test:A 13:
6 nop 2
)");
    EXPECT_EQ(rig.Heard().back(), "Test:A: 90 3E 00"); // nothing hangs after the stop
}

// 2 measures of 3/4 count in on the metronome port (port 1, "Test:B"): six
// clicks a beat apart, and port 0 waits as long before the song starts.
TEST(PlaybackDumpTest, ACountInOnAnotherPortDelaysEveryUsedPortByItsLength)
{
    SmfBuilder b(1, 24);
    tempoTrack(b, 3, 2);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(3, 0, 60);
    PlaybackRig rig(b.Build());
    rig.host.outPorts[1] = {2, 1};
    MetronomeSettings& m = rig.engine.Metronome();
    m.mode = MetronomeSettings::kBoth; // sounds in plain playback too
    m.precountUnit = 0;
    m.precountNumber = 2;
    m.port = 1;
    m.duration = 2;
    EXPECT_EQ(playAndDump(rig), R"(Test:B 0:
0 short 99 2A 7F
2 short 99 2A 00
Test:B 1:
22 short 99 2A 64
2 short 99 2A 00
Test:B 2:
22 short 99 2A 64
2 short 99 2A 00
Test:B 3:
22 short 99 2A 64
2 short 99 2A 00
Test:B 4:
22 short 99 2A 64
2 short 99 2A 00
Test:B 5:
22 short 99 2A 64
2 short 99 2A 00
22 nop 7
Test:A 6:
144 nop 2
Test:B 7:
0 short 99 2A 7F
Test:A 8:
0 tempo 500000
Test:A 9:
0 nop 3
0 short 90 3C 64
Test:A 10:
1 nop 2
Test:B 11:
1 nop 2
Test:A 12:
1 nop 2
Test:B 13:
1 nop 2
Test:B 14:
0 short 99 2A 00
Test:A 15:
1 nop 2
Test:B 0:
1 nop 2
Test:A 1:
0 short 80 3C 00
Test:A 2:
100 nop 4 callback
)");
    // The song's first note sounds with the first click after the count-in.
    const auto sent = rig.host.fake->SentMessages();
    int64_t note = -1, click = -1;
    for (const auto& s : sent) {
        if (s.bytes == std::vector<uint8_t>{0x90, 0x3C, 0x64}) note = s.timeUs;
        if (s.bytes == std::vector<uint8_t>{0x99, 0x2A, 0x7F} && s.timeUs > 0) click = s.timeUs;
    }
    EXPECT_EQ(note, 3'000'000); // six beats of 500 ms
    EXPECT_EQ(click, note);
    EXPECT_FALSE(rig.engine.PrecountActive());
}

// Port 0's device cannot open, so port 1's stream ("Test:A") takes port 0's
// part; it still waits for the count-in on the metronome port (port 2).
TEST(PlaybackDumpTest, ACountInDelaysTheStreamThatTookPortZerosPart)
{
    SmfBuilder b(1, 24);
    tempoTrack(b, 3, 2);
    b.AddTrack().Port(0, 1).NoteOn(0, 0, 60, 100).NoteOff(3, 0, 60);
    PlaybackRig rig(b.Build());
    rig.host.fake->FailOpen(MidiDeviceList::kSynthName, MidiResult::BadDeviceId);
    rig.host.outPorts[0] = {0, 1};
    rig.host.outPorts[1] = {1, 1};
    rig.host.outPorts[2] = {2, 1};
    MetronomeSettings& m = rig.engine.Metronome();
    m.mode = MetronomeSettings::kAlways;
    m.precountNumber = 2;
    m.port = 2;
    m.duration = 2;
    rig.engine.PrepareForDocument();
    rig.engine.StartMidiPlayback();
    ASSERT_TRUE(rig.RunUntilFinished());
    int64_t note = -1;
    for (const auto& s : rig.host.fake->SentMessages())
        if (s.bytes == std::vector<uint8_t>{0x90, 0x3C, 0x64}) {
            EXPECT_EQ(s.device, "Test:A");
            note = s.timeUs;
        }
    EXPECT_EQ(note, 3'000'000); // after six beats of 500 ms
}

TEST(PlaybackDumpTest, AStopLetsTheQueuedBuffersPlayThenEndsTheNotesStillSounding)
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(384, 0, 60);
    b.AddTrack().NoteOn(0, 1, 67, 100).NoteOff(1, 1, 67);
    PlaybackRig rig(b.Build());
    playAndDump(rig, 100000);
    // Note 60 went out and its note-off did not: a velocity-0 note-on ends it. Note 67 ended itself.
    const auto heard = rig.Heard();
    EXPECT_EQ(std::vector<std::string>(heard.end() - 2, heard.end()),
              (std::vector<std::string>{"Test:A: 81 43 00", "Test:A: 90 3C 00"}));
    EXPECT_EQ(rig.ui.finished, 1);
    EXPECT_EQ(rig.host.playing.load(), 0);
    EXPECT_EQ(rig.host.fake->OpenOutputCount(), 0);
}

TEST(PlaybackDumpTest, ASmallDivisionStepsOneTickAndAnUnusableOneIsRefused)
{
    SmfBuilder b(1, 8);
    b.AddTrack().Tempo(0, 500000);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(3, 0, 60);
    {
        PlaybackRig rig(b.Build());
        EXPECT_EQ(playAndDump(rig), R"(Test:A 0:
0 nop 3
Test:A 1:
0 tempo 500000
Test:A 2:
0 short 90 3C 64
Test:A 3:
1 nop 2
Test:A 4:
1 nop 2
Test:A 5:
1 nop 2
Test:A 6:
0 short 80 3C 00
Test:A 7:
100 nop 4 callback
)");
    }
    for (const uint16_t division : {uint16_t(0), uint16_t(0xE728)}) { // none, and 25 fps SMPTE
        PlaybackRig rig(b.Build());
        rig.doc.sequence.SetHeader(1, 2, division);
        rig.engine.StartMidiPlayback();
        ASSERT_EQ(rig.ui.messages.size(), 1u) << division;
        EXPECT_EQ(rig.ui.messages[0].number, PlaybackEngine::kMsgMeasureParameter);
        EXPECT_EQ(rig.ui.messages[0].caption, "StartMidiPlayback");
        EXPECT_EQ(rig.host.playing.load(), 0);
        EXPECT_TRUE(rig.host.fake->QueuedBuffers().empty());
    }
}

} // namespace
} // namespace zib


namespace zib {
namespace {

// Every real MIDI file plays to its end: each channel event of the song goes
// out once, in time order, and the run finishes with every stream closed.
TEST(PlaybackDumpTest, EveryRealMidiFilePlaysWholeAndInOrder)
{
    const auto files = test::realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI files";
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        PlaybackRig rig(test::readFileBytes(path));
        ASSERT_EQ(rig.doc.parseResult, 0);
        size_t channelEvents = 0;
        for (const auto& e : rig.doc.sequence.GetEvents())
            if (e->track != 0 && isChannelStatus(e->status)) ++channelEvents;
        ASSERT_TRUE(rig.engine.PrepareForDocument());
        rig.engine.StartMidiPlayback();
        if (channelEvents == 0) continue;
        ASSERT_TRUE(rig.RunUntilFinished(3'600'000'000LL, 20'000));
        size_t shortEvents = 0;
        for (const auto& b : rig.host.fake->QueuedBuffers()) {
            ByteCursor c(b.events.data(), b.events.size());
            while (c.has(mevt::kEventSize)) {
                c.skip(8);
                const uint32_t word = c.u32le();
                if (mevt::IsLong(word)) c.skip(mevt::PaddedLength(mevt::Parameter(word)));
                else if (mevt::Type(word) == 0) ++shortEvents;
            }
        }
        EXPECT_EQ(shortEvents, channelEvents);
        const auto sent = rig.host.fake->SentMessages();
        for (size_t i = 1; i < sent.size(); ++i) EXPECT_LE(sent[i - 1].timeUs, sent[i].timeUs);
        EXPECT_TRUE(rig.ui.errors.empty());
        EXPECT_EQ(rig.host.fake->OpenOutputCount(), 0);
    }
}

} // namespace
} // namespace zib
