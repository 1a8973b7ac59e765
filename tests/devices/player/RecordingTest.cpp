// Input while playing: which tracks record which channels, thru, pairing,
// held notes at the stop and at a loop wrap, the take as one undo group.
// Input comes as (time, bytes) scripts on the fake input "Test:In".

#include "tests/support/AwaitState.h"
#include "tests/support/PlaybackFakes.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace zib {
namespace {

using test::PlaybackRig;
using test::SmfBuilder;

struct Input {
    int64_t atUs;
    std::vector<uint8_t> bytes;
};

// A song of four beats (division 96, 500 ms a beat) with one long note on
// track 1; tracks 2 and 3 are empty and armed as the case says.
std::vector<uint8_t> backing()
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2);
    b.AddTrack().NoteOn(0, 0, 36, 80).NoteOff(384, 0, 36);
    return b.Build();
}

// Records the script from the start of the song, stops at `stopUs`, and
// returns the recorded events as "track@tick status data..."
std::vector<std::string> record(PlaybackRig& rig, const std::vector<Input>& script, int64_t stopUs = 1'900'000)
{
    EXPECT_TRUE(rig.engine.PrepareForDocument());
    rig.engine.OnRecord(); // sets the record flag and starts
    int64_t now = 0;
    for (const Input& in : script) {
        rig.Advance(in.atUs - now);
        now = in.atUs;
        rig.host.fake->Inject("Test:In", in.bytes);
    }
    rig.Advance(stopUs - now);
    rig.engine.StartMidiPlayback(); // stop
    EXPECT_TRUE(rig.RunUntilFinished());
    std::vector<std::string> recorded;
    for (const auto& e : rig.doc.sequence.GetEvents()) {
        if (e->track < 2) continue;
        std::string line = std::to_string(e->track) + "@" + std::to_string(e->time);
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", e->status);
        line += hex;
        for (uint32_t i = 0; i < e->length && i < e->data.size(); ++i) {
            std::snprintf(hex, sizeof hex, " %02X", e->data[i]);
            line += hex;
        }
        recorded.push_back(line);
    }
    return recorded;
}

void arm(PlaybackRig& rig, int track, uint32_t code)
{
    rig.doc.tracks[size_t(track - 1)].record = 1;
    rig.doc.tracks[size_t(track - 1)].recordChannel = code;
}

// At 250 ms the last buffer back ends at tick 48: that is where the input goes.
TEST(RecordingTest, EachArmedTrackRecordsTheChannelsOfItsCode)
{
    struct Case {
        uint32_t code;
        std::vector<std::string> recorded;
    };
    const Case cases[] = {
        {0, {}},
        {5, {"2@48 94 40 64"}},
        {17, {"2@48 90 40 64", "2@48 94 40 64", "2@48 99 40 64", "2@48 9F 40 64"}},
        {18 | (1u << 0 | 1u << 9) << 16, {"2@48 90 40 64", "2@48 99 40 64"}},
        {18, {}}, // an empty mask
        {19, {}},
    };
    for (const Case& c : cases) {
        PlaybackRig rig(backing());
        arm(rig, 2, c.code);
        const auto recorded =
            record(rig, {{250'000, {0x90, 0x40, 0x64, 0x94, 0x40, 0x64, 0x99, 0x40, 0x64, 0x9F, 0x40, 0x64}}});
        // The notes are still held at the stop and end there.
        std::vector<std::string> ons;
        for (const auto& r : recorded)
            if (r.size() > 2 && r.substr(r.size() - 2) != "00") ons.push_back(r);
        EXPECT_EQ(ons, c.recorded) << "code " << (c.code & 0xFFFF);
    }
}

TEST(RecordingTest, NotesPairAsTheyArriveAndUnmatchedNoteOffsAreDropped)
{
    PlaybackRig rig(backing());
    arm(rig, 2, 17);
    const auto recorded = record(rig, {
                                          {250'000, {0x80, 0x41, 0x40}},       // no note-on: dropped
                                          {300'000, {0x90, 0x40, 0x64}},       // held
                                          {600'000, {0x90, 0x40, 0x00}},       // its note-off
                                          {700'000, {0xC3, 0x05, 0xD3, 0x20}}, // one data byte each
                                          {800'000, {0xB0, 0x07, 0x50}},
                                      });
    EXPECT_EQ(recorded, (std::vector<std::string>{"2@54 90 40 64", "2@114 90 40 00", "2@132 C3 05", "2@132 D3 20",
                                                  "2@150 B0 07 50"}));
    const auto& events = rig.doc.sequence.GetEvents();
    const CMidiEvent* on = nullptr;
    const CMidiEvent* off = nullptr;
    for (const auto& e : events) {
        if (e->track == 2 && e->status == 0x90) (e->data[1] ? on : off) = e.get();
        EXPECT_EQ(e->flags & CMidiEvent::kRecorded, 0) << "the marks go when the take enters the undo history";
        EXPECT_EQ(e->state, 0);
    }
    ASSERT_TRUE(on && off);
    EXPECT_EQ(on->duration, 60u);
    EXPECT_EQ(on->pairId, off->pairId);
    EXPECT_GE(on->pairId, 0);
    EXPECT_EQ(on->paired, 1u);
    EXPECT_EQ(off->paired, 1u);
    for (size_t i = 0; i < events.size(); ++i) EXPECT_EQ(events[i]->index, i);
    EXPECT_EQ(rig.doc.countRefreshes, 1);
    EXPECT_TRUE(rig.ui.lastFinishChanged);
}

TEST(RecordingTest, AHeldNoteEndsAtTheStopAndTheTakeIsOneUndoGroup)
{
    PlaybackRig rig(backing());
    arm(rig, 2, 1);
    const size_t before = rig.doc.sequence.GetEventCount();
    const auto recorded = record(rig, {{300'000, {0x90, 0x3C, 0x64}}, {310'000, {0x90, 0x3E, 0x64}}}, 1'000'000);
    // Stopped at 1 s, tick 192: the notes end there.
    EXPECT_EQ(recorded, (std::vector<std::string>{"2@54 90 3C 64", "2@54 90 3E 64", "2@192 90 3C 00",
                                                  "2@192 90 3E 00"}));
    EXPECT_EQ(rig.engine.HeldNoteCount(), 0);
    ASSERT_EQ(rig.doc.undo.size(), 4u);
    EXPECT_TRUE(rig.doc.undo[0].groupStart);
    for (size_t i = 1; i < 4; ++i) EXPECT_FALSE(rig.doc.undo[i].groupStart);
    EXPECT_EQ(rig.doc.UndoLastGroup(), 4);
    EXPECT_EQ(rig.doc.sequence.GetEventCount(), before);
}

TEST(RecordingTest, ThruEchoesOnceToTheFirstMatchingTracksPortAndOnlyWhileRecording)
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2);
    b.AddTrack().Port(0, 0).NoteOn(0, 0, 36, 80).NoteOff(384, 0, 36);
    b.AddTrack().Port(0, 1).Marker(0, "mine");
    b.AddTrack().Port(0, 0).Marker(0, "mine too");
    PlaybackRig rig(b.Build());
    rig.host.outPorts[1] = {2, 1};
    arm(rig, 2, 17);
    arm(rig, 3, 17);
    rig.doc.thru = 1u << 2; // channel 3 only
    record(rig, {{250'000, {0x92, 0x45, 0x70, 0xF8, 0xFE, 0x90, 0x46, 0x70}}, {300'000, {0x92, 0x45, 0x00}}});
    std::vector<std::string> echoed;
    for (const auto& line : rig.Heard())
        if (line.find(" 45 ") != std::string::npos || line.find(" 46 ") != std::string::npos) echoed.push_back(line);
    EXPECT_EQ(echoed, (std::vector<std::string>{"Test:B: 92 45 70", "Test:B: 92 45 00"}));
    int recorded = 0;
    for (const auto& e : rig.doc.sequence.GetEvents())
        if ((e->track == 2 || e->track == 3) && (e->status & 0xF0) == 0x90) ++recorded;
    EXPECT_EQ(recorded, 8); // both tracks: note 45 on and off, note 46 on and its end at the stop

    // Without the record flag nothing is echoed or recorded.
    PlaybackRig quiet(backing());
    arm(quiet, 2, 17);
    quiet.engine.PrepareForDocument();
    quiet.engine.StartMidiPlayback();
    quiet.Advance(250'000);
    quiet.host.fake->Inject("Test:In", std::vector<uint8_t>{0x90, 0x40, 0x64});
    EXPECT_TRUE(quiet.RunUntilFinished());
    EXPECT_EQ(quiet.Heard().size(), 3u); // the chased volume and the song's note
    EXPECT_EQ(quiet.doc.sequence.GetEventCount(), 4u);
}

TEST(RecordingTest, EveryLoopPassClosesItsHeldNotesAtThru)
{
    PlaybackRig rig(backing());
    arm(rig, 2, 17);
    ASSERT_TRUE(rig.engine.PrepareForDocument());
    rig.engine.SetStartMarker(0, 0, 0);
    rig.engine.SetEndMarker(1, 0, 0); // one measure: 2 s a pass
    rig.doc.loop = true;
    rig.engine.OnRecord();
    rig.Advance(500'000);
    rig.host.fake->Inject("Test:In", std::vector<uint8_t>{0x90, 0x30, 0x60});
    rig.Advance(2'000'000); // past the wrap
    rig.engine.StartMidiPlayback();
    ASSERT_TRUE(rig.RunUntilFinished());
    std::vector<std::pair<uint32_t, int>> notes; // tick, velocity
    for (const auto& e : rig.doc.sequence.GetEvents())
        if (e->track == 2) notes.push_back({e->time, e->data[1]});
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[1], std::make_pair(384u, 0)); // ended at Thru in its own pass
    EXPECT_EQ(notes[0].second, 0x60);
    EXPECT_EQ(rig.doc.sequence.GetEvents()[0]->time, 0u);
}

// Recording into a song that goes on: the song keeps playing in order, the
// recorded events are not played back, and the markers keep their events.
TEST(RecordingTest, InsertionsKeepTheFillersPlaceAndTheMarkers)
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2);
    auto& t = b.AddTrack();
    for (uint32_t tick = 0; tick < 384; tick += 24) t.NoteOn(tick, 0, 48 + int(tick / 24), 90).NoteOff(tick + 12, 0, 48 + int(tick / 24));
    PlaybackRig rig(b.Build());
    arm(rig, 2, 17);
    rig.doc.thru = 0; // no echo: what is heard comes from the sequence
    ASSERT_TRUE(rig.engine.PrepareForDocument());
    rig.engine.SetStartMarker(0, 3, 0);
    const int64_t fromIndex = rig.engine.From().index;
    std::vector<Input> flood;
    for (int i = 0; i < 200; ++i) flood.push_back({100'000 + 5'000 * i, {0xB1, 0x01, uint8_t(i % 128)}});
    rig.engine.OnRecord();
    int64_t now = 0;
    for (const Input& in : flood) {
        rig.Advance(in.atUs - now);
        now = in.atUs;
        rig.host.fake->Inject("Test:In", in.bytes);
    }
    rig.Advance(2'000'000 - now);
    rig.engine.StartMidiPlayback();
    ASSERT_TRUE(rig.RunUntilFinished());
    std::vector<int> keys;
    for (const auto& line : rig.Heard())
        if (line.rfind("Test:A: 90 ", 0) == 0 && line.substr(line.size() - 2) != "00")
            keys.push_back(std::stoi(line.substr(11, 2), nullptr, 16));
    std::vector<int> expected;
    for (int k = 48; k < 64; ++k) expected.push_back(k);
    EXPECT_EQ(keys, expected);
    for (const auto& line : rig.Heard()) EXPECT_EQ(line.find("B1 01"), std::string::npos) << line;
    const auto& events = rig.doc.sequence.GetEvents();
    EXPECT_EQ(events.size(), 2u + 32u + 200u); // tempo, signature, the song, the take
    EXPECT_EQ(rig.engine.From().index > fromIndex, true);
    EXPECT_EQ(events[size_t(rig.engine.From().index)]->time, 288u);
    for (size_t i = 1; i < events.size(); ++i) EXPECT_LE(events[i - 1]->time, events[i]->time);
}

// The grid has 2000 measures: recording that reaches the last one stops there.
TEST(RecordingTest, RecordingStopsByItselfAtTheLastMeasure)
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 10000).TimeSig(0, 4, 2); // 40 ms a measure
    b.AddTrack().NoteOn(1997 * 384, 0, 60, 90).NoteOff(1997 * 384 + 96, 0, 60);
    PlaybackRig rig(b.Build());
    arm(rig, 2, 17);
    ASSERT_TRUE(rig.engine.PrepareForDocument());
    rig.engine.JumpToMbt(1997, 0, 0);
    rig.engine.OnRecord();
    rig.Advance(60'000); // in measure 1998
    rig.host.fake->Inject("Test:In", std::vector<uint8_t>{0x90, 0x40, 0x50});
    EXPECT_TRUE(rig.RunUntilFinished(1'000'000)); // no Stop needed
    EXPECT_FALSE(rig.doc.record);
    uint32_t last = 0;
    for (const auto& e : rig.doc.sequence.GetEvents()) last = std::max(last, e->time);
    EXPECT_LT(last, 1999u * 384u);
    int recorded = 0;
    for (const auto& e : rig.doc.sequence.GetEvents()) recorded += e->track == 2;
    EXPECT_EQ(recorded, 2); // the note and its end where the run stopped
}

// On the steady clock: the delivery thread refills and records while another
// thread floods the input and the UI thread reads the sequence under the
// engine's lock. The run ends cleanly and the take is whole and in order.
TEST(RecordingTest, AFloodFromAnotherThreadIsRecordedWhilePlayingOnTheSteadyClock)
{
    struct SteadyHost : test::PlaybackHostBase {
        SteadyHost()
        {
            devices.AddBackend(fake);
            devices.Refresh();
            outPorts[0] = {0, 1};
            inPorts[0] = {0, 1};
        }
        MidiDeviceList& Devices() override { return devices; }
        std::shared_ptr<SteadyMidiClock> clock = std::make_shared<SteadyMidiClock>();
        std::shared_ptr<FakeMidiBackend> fake = std::make_shared<FakeMidiBackend>(
            clock, std::vector<MidiPortName>{{"Test", "A"}}, std::vector<MidiPortName>{{"Test", "In"}});
        MidiDeviceList devices{clock};
    } host;

    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 125000).TimeSig(0, 4, 2); // 480 BPM: short
    auto& t = b.AddTrack();
    for (uint32_t tick = 0; tick < 4 * 384; tick += 12) t.NoteOn(tick, 0, 60, 90).NoteOff(tick + 6, 0, 60);
    test::FakePlaybackDocument doc(b.Build());
    doc.tracks[1].record = 1;
    doc.tracks[1].recordChannel = 17;
    doc.thru = 0;
    test::FakePlaybackUi ui;
    PlaybackEngine engine(doc, ui, host);
    ASSERT_TRUE(engine.PrepareForDocument());
    engine.OnRecord();
    ASSERT_EQ(host.playing.load(), 1);

    std::atomic<bool> done{false};
    std::atomic<int> sent{0};
    std::thread flood([&] {
        for (int i = 0; i < 400 && !done; ++i) {
            const uint8_t on[] = {0x91, uint8_t(40 + i % 40), 0x50}, off[] = {0x81, uint8_t(40 + i % 40), 0x00};
            host.fake->Inject("Test:In", on);
            host.fake->Inject("Test:In", off);
            sent += 2;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    });
    // The UI thread paints meanwhile: it reads the sequence under the lock.
    for (int i = 0; i < 100; ++i) {
        {
            auto lock = engine.LockSequence();
            const auto& events = doc.sequence.GetEvents();
            for (size_t j = 1; j < events.size(); ++j) ASSERT_LE(events[j - 1]->time, events[j]->time);
        }
        engine.DeliverUi();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    flood.join();
    engine.StartMidiPlayback(); // stop
    ASSERT_TRUE(test::awaitState([&] {
        engine.DeliverUi();
        return ui.finished != 0;
    }));
    ASSERT_EQ(ui.finished, 1);
    int recorded = 0;
    const auto& events = doc.sequence.GetEvents();
    for (size_t j = 0; j < events.size(); ++j) {
        EXPECT_EQ(events[j]->index, j);
        if (j > 0) {
            EXPECT_LE(events[j - 1]->time, events[j]->time);
        }
        recorded += events[j]->track == 2;
    }
    EXPECT_EQ(recorded, sent.load()); // every note-on met its note-off
    EXPECT_EQ(engine.HeldNoteCount(), 0);
}

} // namespace
} // namespace zib
