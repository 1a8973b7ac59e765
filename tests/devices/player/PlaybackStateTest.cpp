// The engine's run states, its start failures and the failures of a
// device while it plays.

#include "devices/core/SynthBackend.h"
#include "tests/support/PlaybackFakes.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using State = PlaybackEngine::State;
using test::PlaybackRig;
using test::SmfBuilder;

// One note of `ticks` on channel 1 (division 96, 500 ms per quarter note)
std::vector<uint8_t> oneNote(uint32_t ticks = 384)
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(ticks, 0, 60);
    return b.Build();
}

TEST(PlaybackStateTest, ARunGoesThroughItsStatesAndFinishesOnTheUiThread)
{
    PlaybackRig rig(oneNote(24));
    ASSERT_TRUE(rig.engine.PrepareForDocument());
    rig.engine.StartMidiPlayback();
    EXPECT_EQ(rig.engine.GetState(), State::Playing);
    EXPECT_EQ(rig.host.playing.load(), 1);
    EXPECT_EQ(rig.host.active.load(), &rig.engine);
    EXPECT_EQ(rig.host.kind.load(), kMidiBarViewPlayer);
    EXPECT_LT(rig.engine.FreeBufferCount(), PlaybackEngine::kBufferCount);

    // The end marker is out: refills find nothing more (end of data), then
    // every buffer comes back (finished) and the finish waits for the UI.
    bool sawEndOfData = false;
    for (int i = 0; i < 1000 && rig.engine.GetState() != State::Finished; ++i) {
        rig.host.clock->Advance(1000);
        sawEndOfData = sawEndOfData || rig.engine.GetState() == State::EndOfData;
    }
    EXPECT_TRUE(sawEndOfData);
    ASSERT_EQ(rig.engine.GetState(), State::Finished);
    EXPECT_EQ(rig.engine.FreeBufferCount(), PlaybackEngine::kBufferCount);
    EXPECT_EQ(rig.ui.finished, 0);
    EXPECT_EQ(rig.host.playing.load(), 1);
    rig.Deliver();
    EXPECT_EQ(rig.ui.finished, 1);
    EXPECT_EQ(rig.engine.GetState(), State::Playing); // ready for the next run
    EXPECT_EQ(rig.host.playing.load(), 0);
    EXPECT_EQ(rig.host.active.load(), nullptr);
    EXPECT_EQ(rig.host.fake->OpenOutputCount(), 0);
    for (const auto& e : rig.doc.sequence.GetEvents()) EXPECT_EQ(e->played, 0u);
    // The position stays where the last buffer ended; the next Play starts there and rewinds past the end.
    EXPECT_EQ(rig.engine.PositionMeasure(), 0u);
    EXPECT_EQ(rig.engine.PositionBeat(), 0u);
    EXPECT_EQ(rig.engine.PositionTick(), 24u);
    rig.engine.StartMidiPlayback();
    EXPECT_EQ(rig.engine.GetState(), State::Playing);
    EXPECT_TRUE(rig.RunUntilFinished());
}

TEST(PlaybackStateTest, StopLetsTheQueuedBuffersComeBackBeforeTheFinish)
{
    PlaybackRig rig(oneNote());
    rig.engine.PrepareForDocument();
    rig.engine.StartMidiPlayback();
    rig.Advance(50000);
    const size_t queued = rig.host.fake->QueuedBuffers().size();
    rig.engine.StopPlayer(); // the Play toggle while playing
    EXPECT_EQ(rig.engine.GetState(), State::StopPending);
    EXPECT_TRUE(rig.RunUntilFinished());
    EXPECT_EQ(rig.host.fake->QueuedBuffers().size(), queued); // nothing refilled after the stop
    EXPECT_EQ(rig.host.playing.load(), 0);
}

TEST(PlaybackStateTest, AFinishPostedByAnEarlierRunDoesNotEndTheNextOne)
{
    PlaybackRig rig(oneNote());
    rig.engine.PrepareForDocument();
    rig.engine.StartMidiPlayback();
    rig.Advance(20000);
    rig.engine.StopMidiPlayback();
    for (int i = 0; i < 1000 && rig.engine.GetState() != State::Finished; ++i) rig.host.clock->Advance(1000);
    ASSERT_EQ(rig.engine.GetState(), State::Finished);
    // The window finishes the run itself (it is closing a frame, say) before the posted finish arrives.
    rig.engine.FinishMidiPlayback();
    EXPECT_EQ(rig.ui.finished, 1);
    rig.engine.StartMidiPlayback();
    const uint64_t run = rig.engine.RunId();
    rig.Deliver(); // the first run's finish
    EXPECT_EQ(rig.ui.finished, 1);
    EXPECT_EQ(rig.engine.GetState(), State::Playing);
    EXPECT_EQ(rig.host.playing.load(), 1);
    EXPECT_EQ(rig.engine.RunId(), run);
    EXPECT_TRUE(rig.RunUntilFinished());
    EXPECT_EQ(rig.ui.finished, 2);
}

TEST(PlaybackStateTest, NothingToPlayStartsNothing)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> image;
    };
    SmfBuilder empty(1, 96);
    empty.AddTrack().Tempo(0, 500000);
    SmfBuilder metaOnly(1, 96);
    metaOnly.AddTrack().Tempo(0, 500000);
    metaOnly.AddTrack().TrackName(0, "Words").Marker(96, "Here");
    const Case cases[] = {{"only the tempo track", empty.Build()}, {"no playable event", metaOnly.Build()}};
    for (const Case& c : cases) {
        PlaybackRig rig(c.image);
        rig.engine.PrepareForDocument();
        rig.engine.StartMidiPlayback();
        EXPECT_EQ(rig.host.playing.load(), 0) << c.name;
        EXPECT_TRUE(rig.host.fake->QueuedBuffers().empty()) << c.name;
        EXPECT_TRUE(rig.ui.messages.empty()) << c.name;
    }
}

// Each start failure shows one box, naming its cause (a device's failure in
// the device's own words, after which port failed); a Record that started
// the run is switched off again.
TEST(PlaybackStateTest, StartFailuresShowOneMessageAndLeaveNothingPlaying)
{
    struct Case {
        const char* name;
        std::function<void(PlaybackRig&)> arrange;
        int message; // -1: a text of its own
        const char* caption;
        std::string text;   // that text
        std::string status; // what the status bar says, if anything
    };
    const Case cases[] = {
        {"buffers", [](PlaybackRig& r) { r.host.failAlloc = true; }, PlaybackEngine::kMsgAllocateBuffers,
         "StartMidiPlayback", "", ""},
        {"port 0 opens nothing",
         [](PlaybackRig& r) { r.host.fake->FailOpen("Test:A", MidiResult::Allocated); }, -1,
         "OpenMidiOutPorts",
         "Cannot open default MIDI OUT port\r\nThe MIDI device is already in use by another program or port.",
         ""},
        {"port 0's synthesizer has no audio output",
         [](PlaybackRig& r) {
             r.host.fake->FailOpen("Test:A", MidiResult::BadDeviceId, SynthBackend::kNoAudioOutput);
         },
         -1, "OpenMidiOutPorts", "No audio output found for the built-in synthesizer",
         "No audio output found for the built-in synthesizer"},
        {"port 0 is off and port 1 opens nothing",
         [](PlaybackRig& r) {
             r.host.outPorts[0] = {1, 0};
             r.host.outPorts[1] = {2, 1};
             r.host.fake->FailOpen("Test:B", MidiResult::NoDevice);
         },
         -1, "StartMidiPlayback", "Cannot open any MIDI OUT port\r\nThe MIDI port is no longer connected.",
         ""},
        {"no usable port",
         [](PlaybackRig& r) {
             r.host.outPorts[0] = {1, 0};
         },
         PlaybackEngine::kMsgOpenAnyPort, "StartMidiPlayback", "", ""},
        {"restart",
         [](PlaybackRig& r) { r.host.fake->FailCall("Test:A", OutCall::Restart, MidiResult::NotReady); },
         PlaybackEngine::kMsgRestartPorts, "StartMidiPlayback", "", ""},
        {"a division in SMPTE frames", [](PlaybackRig& r) { r.doc.sequence.SetHeader(1, 2, 0xE728); },
         PlaybackEngine::kMsgMeasureParameter, "StartMidiPlayback", "", ""},
    };
    for (const Case& c : cases) {
        PlaybackRig rig(oneNote());
        rig.engine.PrepareForDocument();
        rig.doc.record = true;
        c.arrange(rig);
        rig.engine.StartMidiPlayback();
        rig.Deliver();
        ASSERT_EQ(rig.ui.messages.size(), 1u) << c.name;
        EXPECT_EQ(rig.ui.messages[0].number, c.message) << c.name;
        EXPECT_EQ(rig.ui.messages[0].caption, c.caption) << c.name;
        EXPECT_EQ(rig.ui.messages[0].text, c.text) << c.name;
        EXPECT_TRUE(rig.ui.errors.empty()) << c.name;
        EXPECT_EQ(rig.ui.statuses,
                  c.status.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.status})
            << c.name;
        EXPECT_EQ(rig.host.playing.load(), 0) << c.name;
        EXPECT_FALSE(rig.doc.record) << c.name << ": nothing records";
        EXPECT_TRUE(rig.host.fake->SentMessages().empty() || std::string(c.name) == "restart") << c.name;
        rig.host.clock->Advance(5'000'000);
        EXPECT_TRUE(rig.Heard().size() <= 1u) << c.name; // at most the chased volume, sent before the restart
    }
    // The device texts: one of ours, and the one for a number without a text
    PlaybackRig rig(oneNote());
    rig.engine.ShowPlaybackError(MidiResult::NoDevice);
    rig.engine.ShowPlaybackError(MidiResult(42));
    ASSERT_EQ(rig.ui.errors.size(), 2u);
    EXPECT_EQ(rig.ui.errors[0], "The MIDI port is no longer connected.\r\n");
    EXPECT_EQ(rig.ui.errors[1], "Strange error number returned!\r\n");
}

// Port 0's device cannot open, or port 0 is off: the song plays on the port
// that opened, port 0's track with it, and no box stops the musician; the
// status bar names a cause the device gives.
TEST(PlaybackStateTest, WithoutPortZerosDeviceTheOtherPortsStillPlay)
{
    struct Case {
        const char* name;
        std::function<void(PlaybackRig&)> arrange;
        std::vector<std::string> statuses;
    };
    const Case cases[] = {
        {"no audio output",
         [](PlaybackRig& r) {
             r.host.fake->FailOpen("Test:A", MidiResult::BadDeviceId, SynthBackend::kNoAudioOutput);
         },
         {"No audio output found for the built-in synthesizer"}},
        {"device busy",
         [](PlaybackRig& r) { r.host.fake->FailOpen("Test:A", MidiResult::Allocated); },
         {"Cannot open default MIDI OUT port - The MIDI device is already in use by another program or "
          "port."}},
        {"port 0 off",
         [](PlaybackRig& r) {
             r.host.outPorts[0] = {1, 0};
         },
         {}},
    };
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    b.AddTrack().Port(0, 1).NoteOn(48, 1, 64, 100).NoteOff(144, 1, 64);
    for (const Case& c : cases) {
        PlaybackRig rig(b.Build());
        rig.host.outPorts[1] = {2, 1};
        c.arrange(rig);
        rig.engine.PrepareForDocument();
        rig.engine.StartMidiPlayback();
        ASSERT_TRUE(rig.RunUntilFinished()) << c.name;
        EXPECT_TRUE(rig.ui.messages.empty()) << c.name;
        EXPECT_TRUE(rig.ui.errors.empty()) << c.name;
        EXPECT_EQ(rig.ui.statuses, c.statuses) << c.name;
        std::vector<std::string> notes;
        for (const std::string& line : rig.Heard())
            if (line.find(": 9") != std::string::npos || line.find(": 8") != std::string::npos)
                notes.push_back(line);
        EXPECT_EQ(notes, (std::vector<std::string>{"Test:B: 90 3C 64", "Test:B: 91 40 64", "Test:B: 80 3C 00",
                                                   "Test:B: 81 40 00"}))
            << c.name;
        EXPECT_EQ(rig.host.fake->OpenOutputCount(), 0) << c.name;
    }
}

TEST(PlaybackStateTest, APortNamingNoDevicePlaysOnTheBuiltInSynthAndSaysSoOnce)
{
    PlaybackRig rig(oneNote(24));
    rig.host.outPorts[0] = {7, 1}; // no device 7 here
    rig.engine.PrepareForDocument();
    rig.engine.StartMidiPlayback();
    EXPECT_TRUE(rig.RunUntilFinished());
    ASSERT_EQ(rig.ui.statuses.size(), 1u);
    EXPECT_EQ(rig.ui.statuses[0], "MIDI OUT device not found: playing on Zib built-in synth (General MIDI)");
    EXPECT_EQ(rig.Heard().back(), std::string(MidiDeviceList::kSynthName) + ": 80 3C 00");
    EXPECT_EQ(rig.host.outPorts[0].deviceId, 7); // the setting stays for when the device is back
}

// A bad tempo event at the head of the song fails the first fill with every
// buffer free; one later on stops the run cleanly; a vanished device or a
// refused buffer stops it with the device's text.
TEST(PlaybackStateTest, FailuresWhilePlayingStopTheRunCleanly)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> image;
        std::function<void(PlaybackRig&)> midway;
        size_t errors;
    };
    // The reader refuses such tempo events in a file; they are damaged after reading.
    SmfBuilder badFirst(1, 96);
    badFirst.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2); // the tempo is the song's first event
    badFirst.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    SmfBuilder badLater(1, 96);
    badLater.AddTrack().Tempo(0, 500000).Tempo(48, 400000);
    badLater.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(384, 0, 60);
    const Case cases[] = {
        {"tempo 0 first", badFirst.Build(), nullptr, 0},
        {"short tempo later", badLater.Build(), nullptr, 0},
        {"device gone", oneNote(), [](PlaybackRig& r) { r.host.fake->Unplug("Test:A"); }, 1},
        {"queue refused", oneNote(),
         [](PlaybackRig& r) { r.host.fake->FailCall("Test:A", OutCall::Queue, MidiResult::NotReady); }, 1},
        {"prepare refused", oneNote(),
         [](PlaybackRig& r) { r.host.fake->FailCall("Test:A", OutCall::Prepare, MidiResult::NoMemory); }, 1},
    };
    for (const Case& c : cases) {
        PlaybackRig rig(c.image);
        ASSERT_EQ(rig.doc.parseResult, 0) << c.name;
        for (const auto& e : rig.doc.sequence.GetEvents()) {
            if (e->status != 0xFF || e->data.size() < 6 || e->data[1] != 0x51) continue;
            if (c.name == std::string("tempo 0 first") && e->time == 0) e->data[3] = e->data[4] = e->data[5] = 0;
            if (c.name == std::string("short tempo later") && e->time == 48) e->length = 5;
        }
        rig.engine.PrepareForDocument();
        rig.engine.StartMidiPlayback();
        rig.Advance(20000);
        if (c.midway) c.midway(rig);
        rig.RunUntilFinished(10'000'000);
        EXPECT_EQ(rig.ui.finished, 1) << c.name;
        EXPECT_EQ(rig.ui.errors.size(), c.errors) << c.name;
        EXPECT_EQ(rig.host.playing.load(), 0) << c.name;
        EXPECT_EQ(rig.host.fake->OpenOutputCount(), 0) << c.name;
        EXPECT_EQ(rig.engine.FreeBufferCount(), PlaybackEngine::kBufferCount) << c.name;
        for (const auto& s : rig.host.fake->SentMessages())
            EXPECT_FALSE(s.bytes.size() == 3 && s.bytes[0] == 0xFF) << c.name;
        // Note 60 went out in every case but the first: it is ended.
        const auto heard = rig.Heard();
        if (std::string(c.name) == "tempo 0 first") {
            EXPECT_TRUE(rig.host.fake->QueuedBuffers().empty());
        } else if (std::string(c.name) != "device gone") {
            EXPECT_EQ(heard.back(), "Test:A: 90 3C 00") << c.name;
        }
    }
}

TEST(PlaybackStateTest, PlayStopStartsTheGivenPlayerOrStopsTheActiveOne)
{
    std::atomic<int> playing{0}, kind{0};
    std::atomic<IZibPlayer*> active{nullptr};
    PlayerSlot slot(playing, active, kind);
    struct Player : IZibPlayer {
        void StartPlayer() override { ++starts; }
        void StopPlayer() override { ++stops; }
        int starts = 0, stops = 0;
    } bar, console;
    slot.StartStop(&bar, kMidiBarViewPlayer);
    EXPECT_EQ(bar.starts, 1);
    slot.SetPlaying(&console, kStyleConsolePlayer);
    slot.StartStop(&bar, kMidiBarViewPlayer); // the console plays: it is the one stopped
    EXPECT_EQ(console.stops, 1);
    EXPECT_EQ(bar.starts, 1);
    slot.ClearIfActive(&bar);
    EXPECT_EQ(slot.Active(), &console);
    slot.ClearIfActive(&console);
    EXPECT_FALSE(slot.IsPlaying());
    EXPECT_EQ(slot.Kind(), kNoPlayer);
}

TEST(PlaybackStateTest, DestroyingTheEngineWhilePlayingEndsItsNotesAndClosesEverything)
{
    PlaybackRig rig(oneNote());
    rig.engine.PrepareForDocument();
    rig.engine.StartMidiPlayback();
    rig.Advance(30000);
    ASSERT_EQ(rig.host.fake->OpenInputCount(), 1);
    rig.DestroyEngine();
    EXPECT_EQ(rig.host.fake->OpenOutputCount(), 0);
    EXPECT_EQ(rig.host.fake->OpenInputCount(), 0);
    EXPECT_EQ(rig.host.playing.load(), 0);
    EXPECT_EQ(rig.Heard().back(), "Test:A: 90 3C 00");
    rig.host.clock->Advance(10'000'000);
    EXPECT_EQ(rig.Heard().back(), "Test:A: 90 3C 00"); // nothing after
}

} // namespace
} // namespace zib

namespace zib {
namespace {

// The track list's mixer while the song plays: a track's volume, pan and
// program go out at once on its port and channel; a track without one channel
// sends nothing (it would retune channel 1); the finish keeps what was set.
TEST(PlaybackStateTest, TheMixerSendsOnTheTracksPortAndChannelAndTheFinishKeepsTheMix)
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000);
    b.AddTrack().Port(0, 1).Controller(0, 3, 7, 90).NoteOn(0, 3, 60, 100).NoteOff(384, 3, 60);
    b.AddTrack().NoteOn(0, 4, 62, 100).NoteOn(0, 5, 64, 100).NoteOff(384, 4, 62).NoteOff(384, 5, 64);
    PlaybackRig rig(b.Build());
    rig.host.outPorts[1] = {2, 1};
    ASSERT_EQ(rig.doc.tracks[1].channel, 255); // two channels
    rig.engine.PrepareForDocument();
    rig.engine.StartMidiPlayback();
    rig.Advance(50000);
    rig.host.fake->ClearSent();
    rig.engine.SendTrackVolume(70, 1);
    rig.engine.SendTrackPan(20, 1);
    rig.engine.SendTrackProgram(9, 1);
    rig.engine.SendTrackController(91, 40, 1);
    rig.engine.SendTrackVolume(70, 2); // no single channel: nothing
    rig.engine.SendTrackVolume(70, 65); // no such track
    EXPECT_EQ(rig.Heard(), (std::vector<std::string>{"Test:B: B3 07 46", "Test:B: B3 0A 14", "Test:B: C3 09",
                                                     "Test:B: B3 5B 28"}));
    // The track list set the record's volume while playing.
    rig.doc.tracks[0].volume = 70;
    rig.engine.StartMidiPlayback();
    ASSERT_TRUE(rig.RunUntilFinished());
    ASSERT_EQ(rig.doc.mixChanges.size(), 1u);
    EXPECT_EQ(rig.doc.mixChanges[0].row, 0);
    EXPECT_EQ(rig.doc.mixChanges[0].volume, 70);
    EXPECT_EQ(rig.doc.mixChanges[0].pan, 255); // unchanged
    EXPECT_EQ(rig.doc.mixChanges[0].fromVolume, 90) << "the value the run started from";
}

} // namespace
} // namespace zib
