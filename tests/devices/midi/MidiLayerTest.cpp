#include "devices/core/FakeMidiBackend.h"
#include "devices/core/InPort.h"
#include "devices/core/InPortClient.h"
#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/MidiDispatcher.h"
#include "devices/core/MidiHeader.h"
#include "devices/core/MidiSession.h"
#include "devices/core/OutStream.h"
#include "devices/core/OutStreamClient.h"
#include "tests/support/AwaitState.h"
#include "tests/support/StreamEvents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zib {
namespace {

using test::StreamBufferBuilder;

// Two outputs and an input of fake devices on a virtual clock: device 0 the
// synthesizer's stand-in, 1 "Test:A", 2 "Test:B"; input 0 "Test:In".
struct Rig {
    std::shared_ptr<VirtualMidiClock> clock = std::make_shared<VirtualMidiClock>();
    std::shared_ptr<FakeMidiBackend> fake = std::make_shared<FakeMidiBackend>(
        clock, std::vector<MidiPortName>{{"", MidiDeviceList::kSynthName}, {"Test", "A"}, {"Test", "B"}},
        std::vector<MidiPortName>{{"Test", "In"}});
    MidiDeviceList devices{clock};

    Rig()
    {
        devices.AddBackend(fake);
        devices.Refresh();
    }

    // A stream on `device` with the session clock at `division` and `tempo`
    std::unique_ptr<OutStream> Open(MidiSession& session, OutStreamClient& client, int device,
                                    uint32_t division = 96, uint32_t tempo = 500000)
    {
        std::unique_ptr<OutStream> s;
        EXPECT_EQ(session.OpenOutStream(device, client, s), MidiResult::NoError);
        if (s) {
            EXPECT_EQ(s->SetTimeDiv(division), MidiResult::NoError);
            EXPECT_EQ(s->SetTempo(tempo), MidiResult::NoError);
        }
        return s;
    }

    // "<time> <device> <hex bytes>" of every message heard
    std::vector<std::string> Heard() const
    {
        std::vector<std::string> lines;
        for (const auto& s : fake->SentMessages()) {
            std::string line = std::to_string(s.timeUs) + " " + s.device;
            for (uint8_t b : s.bytes) {
                char hex[4];
                std::snprintf(hex, sizeof hex, " %02X", b);
                line += hex;
            }
            lines.push_back(line);
        }
        return lines;
    }
};

// Records every callback with the virtual time it came at.
struct Recorder : OutStreamClient, InPortClient {
    explicit Recorder(MidiClock& clock) : clock(clock) {}

    void OnStreamDone(OutStream& s, MidiHeader& h) override
    {
        log.push_back(std::to_string(clock.NowUs()) + " done " + std::to_string(s.DeviceId()) + "/" +
                      std::to_string(h.user));
        if (onDone) onDone(s, h);
    }
    void OnStreamPosition(OutStream& s, MidiHeader& h, uint32_t offset) override
    {
        log.push_back(std::to_string(clock.NowUs()) + " position " + std::to_string(s.DeviceId()) + "/" +
                      std::to_string(h.user) + " @" + std::to_string(offset));
    }
    void OnMidiInData(InPort&, uint32_t message, uint32_t ms) override
    {
        char text[32];
        std::snprintf(text, sizeof text, "in %06X %ums", message, ms);
        log.push_back(text);
    }

    MidiClock& clock;
    std::vector<std::string> log;
    std::function<void(OutStream&, MidiHeader&)> onDone;
};

constexpr uint32_t kNoteOn = 0x643C90;  // note 60, velocity 100, channel 1
constexpr uint32_t kNoteOff = 0x003C90; // its velocity-0 note-on

MidiHeader& Prepared(OutStream& s, StreamBufferBuilder& b, uintptr_t user)
{
    MidiHeader& h = b.Header(user);
    EXPECT_EQ(s.Prepare(h), MidiResult::NoError);
    return h;
}

// Division 96 at 500000 us per quarter note: one tick is 5208.3 us.
TEST(MidiLayerTest, EventsFallDueAcrossBuffersAndEachBufferReturnsAtItsLastEvent)
{
    Rig rig;
    MidiSession session(rig.devices);
    Recorder rec(*rig.clock);
    auto s = rig.Open(session, rec, 1);

    StreamBufferBuilder a, b, empty;
    a.Event(0, kNoteOn).Event(96, kNoteOff);
    b.Event(48, kNoteOn);
    MidiHeader& ha = Prepared(*s, a, 0);
    ASSERT_EQ(s->Queue(ha), MidiResult::NoError);
    ASSERT_EQ(s->Queue(Prepared(*s, b, 1)), MidiResult::NoError);
    MidiHeader& e = empty.Header(2, 64);
    ASSERT_EQ(s->Prepare(e), MidiResult::NoError);
    ASSERT_EQ(s->Queue(e), MidiResult::NoError);

    rig.clock->Advance(1'000'000); // a new stream is paused: nothing plays
    EXPECT_TRUE(rig.Heard().empty());
    EXPECT_TRUE(rec.log.empty());

    ASSERT_EQ(s->Restart(), MidiResult::NoError);
    rig.clock->Advance(2'000'000);
    const int64_t t0 = 1'000'000;
    EXPECT_EQ(rig.Heard(), (std::vector<std::string>{std::to_string(t0) + " Test:A 90 3C 64",
                                                     std::to_string(t0 + 500000) + " Test:A 90 3C 00",
                                                     std::to_string(t0 + 750000) + " Test:A 90 3C 64"}));
    // The empty buffer comes back at once once it is at the front, and in queue order.
    EXPECT_EQ(rec.log, (std::vector<std::string>{std::to_string(t0 + 500000) + " done 1/0",
                                                 std::to_string(t0 + 750000) + " done 1/1",
                                                 std::to_string(t0 + 750000) + " done 1/2"}));
    EXPECT_EQ(ha.flags & (MidiHeader::kDone | MidiHeader::kInQueue), MidiHeader::kDone);
}

TEST(MidiLayerTest, ATempoEventOrSetTempoRetimesEveryStreamOfTheSession)
{
    Rig rig;
    MidiSession session(rig.devices);
    Recorder rec(*rig.clock);
    auto s1 = rig.Open(session, rec, 1);
    auto s2 = rig.Open(session, rec, 2);

    // Stream A halves the tempo at tick 96; stream B plays at ticks 96 and 192.
    StreamBufferBuilder a, b;
    a.Event(96, mevt::kTempo | 250000);
    b.Event(96, kNoteOn).Event(96, kNoteOff);
    s1->Queue(Prepared(*s1, a, 0));
    s2->Queue(Prepared(*s2, b, 0));
    s1->Restart();
    s2->Restart();
    rig.clock->AdvanceTo(760'000);
    EXPECT_EQ(rig.Heard(), (std::vector<std::string>{"500000 Test:B 90 3C 64", "750000 Test:B 90 3C 00"}));
    EXPECT_EQ(session.Tempo(), 250000u);

    // SetTempo on one stream acts at once for the other too.
    rig.fake->ClearSent();
    StreamBufferBuilder c;
    c.Event(96, kNoteOn);
    s2->Queue(Prepared(*s2, c, 1)); // due 96 ticks after tick 192: 250000 us after 750000
    rig.clock->AdvanceTo(800'000);
    ASSERT_EQ(s1->SetTempo(125000), MidiResult::NoError); // 50000 us (19.2 ticks) in: 76.8 ticks left
    rig.clock->Advance(1'000'000);
    ASSERT_EQ(rig.Heard().size(), 1u);
    EXPECT_EQ(rig.Heard()[0], "900000 Test:B 90 3C 64");
}

TEST(MidiLayerTest, PositionComesBeforeItsBufferReturnsAndTheOffsetNamesTheEvent)
{
    Rig rig;
    MidiSession session(rig.devices);
    Recorder rec(*rig.clock);
    auto s = rig.Open(session, rec, 1);
    StreamBufferBuilder b;
    b.Event(0, kNoteOn).Event(10, mevt::kCallback | mevt::kNop | 4).Event(10, kNoteOff);
    MidiHeader& h = Prepared(*s, b, 7);
    s->Queue(h);
    s->Restart();
    rig.clock->Advance(1'000'000);
    ASSERT_EQ(rec.log.size(), 2u);
    EXPECT_NE(rec.log[0].find("position 1/7 @12"), std::string::npos);
    EXPECT_NE(rec.log[1].find("done 1/7"), std::string::npos);
    EXPECT_EQ(h.offset, 12u);
    // The buffer is handed back as it was queued: the engine reads its NOP parameters again.
    EXPECT_EQ(test::DescribeStreamEvents(h.data, h.bytesRecorded), "0 short 90 3C 64\n10 nop 4 callback\n10 short 90 3C 00\n");
}

TEST(MidiLayerTest, PauseHoldsTheStreamsPositionWhileAnotherStreamRuns)
{
    Rig rig;
    MidiSession session(rig.devices);
    Recorder rec(*rig.clock);
    auto s1 = rig.Open(session, rec, 1, 96, 960000); // 10 ms per tick
    auto s2 = rig.Open(session, rec, 2, 96, 960000);
    StreamBufferBuilder a, b;
    a.Event(10, kNoteOn).Event(10, kNoteOff);
    b.Event(30, kNoteOn);
    s1->Queue(Prepared(*s1, a, 0));
    s2->Queue(Prepared(*s2, b, 0));
    s1->Restart();
    s2->Restart();
    rig.clock->AdvanceTo(150'000);
    s1->Pause(); // at its tick 15, between its two events
    rig.clock->AdvanceTo(400'000);
    s1->Restart(); // five ticks remain
    rig.clock->AdvanceTo(1'000'000);
    EXPECT_EQ(rig.Heard(), (std::vector<std::string>{"100000 Test:A 90 3C 64", "300000 Test:B 90 3C 64",
                                                     "450000 Test:A 90 3C 00"}));

    // With every stream paused the session clock stands still.
    s1->Pause(); // at its tick 75
    s2->Pause();
    StreamBufferBuilder c;
    c.Event(60, kNoteOn); // its tick 80
    s1->Queue(Prepared(*s1, c, 1));
    rig.clock->AdvanceTo(5'000'000);
    EXPECT_EQ(rig.Heard().size(), 3u);
    s1->Restart();
    rig.clock->AdvanceTo(6'000'000);
    EXPECT_EQ(rig.Heard().back(), "5050000 Test:A 90 3C 64");
}

TEST(MidiLayerTest, AnEventPastDueGoesAtOnceAndTheEventsAfterItKeepTheirTime)
{
    Rig rig;
    MidiSession session(rig.devices);
    Recorder rec(*rig.clock);
    auto s = rig.Open(session, rec, 1, 100, 1'000'000); // 10 ms per tick
    StreamBufferBuilder a, b;
    a.Event(10, kNoteOn);
    b.Event(10, kNoteOff).Event(10, kNoteOn);
    s->Queue(Prepared(*s, a, 0));
    s->Restart();
    rig.clock->AdvanceTo(250'000); // the second buffer comes 50 ms after its first event was due
    s->Queue(Prepared(*s, b, 1));
    rig.clock->AdvanceTo(1'000'000);
    EXPECT_EQ(rig.Heard(), (std::vector<std::string>{"100000 Test:A 90 3C 64", "250000 Test:A 90 3C 00",
                                                     "300000 Test:A 90 3C 64"}));
    const auto sent = rig.fake->SentMessages();
    EXPECT_EQ(sent[1].dueUs, 200000);
}

TEST(MidiLayerTest, ShortMessagesGoOutAsTheBytesTheirStatusTakes)
{
    struct Case {
        uint32_t message;
        std::string heard;
    };
    const Case cases[] = {
        {0x7F40C5, "C5 40"},    // program change: one data byte, though two are written
        {0x7F20D3, "D3 20"},    // channel pressure
        {0x647B90, "90 7B 64"}, // note-on
        {0x0040E0, "E0 40 00"}, // pitch wheel
        {0x0000FE, "FE"},       // active sensing
        {0x0002F3, "F3 02"},    // song select
    };
    Rig rig;
    MidiSession session(rig.devices);
    Recorder rec(*rig.clock);
    auto s = rig.Open(session, rec, 1);
    // Queued and sent directly alike; SendShort works while the stream is paused.
    StreamBufferBuilder b;
    for (const Case& c : cases) b.Event(0, c.message);
    s->Queue(Prepared(*s, b, 0));
    for (const Case& c : cases) EXPECT_EQ(s->SendShort(c.message), MidiResult::NoError);
    EXPECT_EQ(s->SendShort(0x40), MidiResult::InvalidParameter); // a data byte is no message
    s->Restart();
    rig.clock->Advance(1000);
    const auto heard = rig.Heard();
    ASSERT_EQ(heard.size(), 2 * std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(heard[i], "0 Test:A " + cases[i].heard);
        EXPECT_EQ(heard[i + std::size(cases)], "0 Test:A " + cases[i].heard);
    }
}

TEST(MidiLayerTest, LongMessagesGoWholeAndABufferAnnouncingMoreThanItHoldsEndsThere)
{
    Rig rig;
    MidiSession session(rig.devices);
    Recorder rec(*rig.clock);
    auto s = rig.Open(session, rec, 1);
    std::vector<uint8_t> sysex(1019, 0x11);
    sysex.front() = 0xF0;
    sysex.back() = 0xF7;
    StreamBufferBuilder a, torn;
    a.Long(0, sysex).Event(0, kNoteOn);
    torn.Long(0, {0xF0, 0x01, 0xF7}, 40).Event(0, kNoteOn);
    s->Queue(Prepared(*s, a, 0));
    s->Queue(Prepared(*s, torn, 1));
    s->Restart();
    rig.clock->Advance(1000);
    const auto sent = rig.fake->SentMessages();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].bytes, sysex);
    EXPECT_EQ(sent[1].bytes, (std::vector<uint8_t>{0x90, 0x3C, 0x64}));
    EXPECT_EQ(rec.log.size(), 2u); // both came back
}

TEST(MidiLayerTest, CloseDropsQueuedBuffersSendsNothingMoreAndStalePostsAreDropped)
{
    Rig rig;
    ManualMidiDispatcher ui;
    MidiSession session(rig.devices, MidiSession::Delivery::Posted, &ui);
    Recorder rec(*rig.clock);
    auto s = rig.Open(session, rec, 1);
    StreamBufferBuilder a, b;
    a.Event(0, kNoteOn);
    b.Event(96, kNoteOff);
    MidiHeader& ha = Prepared(*s, a, 0);
    MidiHeader& hb = Prepared(*s, b, 1);
    s->Queue(ha);
    s->Queue(hb);
    s->Restart();
    rig.clock->Advance(1000); // buffer 0 done, its callback waits on the UI queue
    EXPECT_EQ(ui.PendingCount(), 1u);
    EXPECT_TRUE(rec.log.empty());
    ASSERT_EQ(s->Close(), MidiResult::NoError);
    EXPECT_FALSE(hb.flags & MidiHeader::kInQueue);
    EXPECT_EQ(ui.RunPending(), 1u); // runs, finds the stream closed, calls nobody
    rig.clock->Advance(10'000'000);
    EXPECT_TRUE(rec.log.empty());
    EXPECT_EQ(rig.Heard().size(), 1u);
    EXPECT_EQ(s->Queue(ha), MidiResult::InvalidHandle);
    EXPECT_EQ(s->Close(), MidiResult::InvalidHandle);

    // A posted callback of a live stream runs when the UI gets to it.
    auto t = rig.Open(session, rec, 2);
    StreamBufferBuilder c;
    c.Event(0, kNoteOn);
    t->Queue(Prepared(*t, c, 5));
    t->Restart();
    rig.clock->Advance(1000);
    EXPECT_TRUE(rec.log.empty());
    ui.RunPending();
    ASSERT_EQ(rec.log.size(), 1u);
    EXPECT_NE(rec.log[0].find("done 2/5"), std::string::npos);
}

TEST(MidiLayerTest, ACallbackMayQueueTheNextBufferOrCloseItsOwnStream)
{
    Rig rig;
    MidiSession session(rig.devices);
    Recorder rec(*rig.clock);
    auto s = rig.Open(session, rec, 1, 96, 96000); // 1 ms per tick
    StreamBufferBuilder b;
    b.Event(10, kNoteOn);
    MidiHeader& h = Prepared(*s, b, 0);
    int refills = 0;
    rec.onDone = [&](OutStream& stream, MidiHeader& done) {
        EXPECT_EQ(stream.Unprepare(done), MidiResult::NoError);
        if (++refills < 3) {
            EXPECT_EQ(stream.Prepare(done), MidiResult::NoError);
            EXPECT_EQ(stream.Queue(done), MidiResult::NoError);
        } else {
            EXPECT_EQ(stream.Close(), MidiResult::NoError);
        }
    };
    s->Queue(h);
    s->Restart();
    rig.clock->Advance(1'000'000);
    EXPECT_EQ(refills, 3);
    EXPECT_EQ(rig.Heard(), (std::vector<std::string>{"10000 Test:A 90 3C 64", "20000 Test:A 90 3C 64",
                                                     "30000 Test:A 90 3C 64"}));
}

TEST(MidiLayerTest, RefusedCallsReturnTheirCodesAndAVanishedDeviceRefusesQueue)
{
    Rig rig;
    MidiSession session(rig.devices);
    Recorder rec(*rig.clock);
    std::unique_ptr<OutStream> s;
    EXPECT_EQ(session.OpenOutStream(3, rec, s), MidiResult::BadDeviceId);
    rig.fake->FailOpen("Test:B", MidiResult::Allocated);
    EXPECT_EQ(session.OpenOutStream(2, rec, s), MidiResult::Allocated);
    ASSERT_EQ(session.OpenOutStream(1, rec, s), MidiResult::NoError);

    StreamBufferBuilder b;
    b.Event(0, kNoteOn);
    MidiHeader& h = b.Header(0);
    EXPECT_EQ(s->Queue(h), MidiResult::Unprepared);
    rig.fake->FailCall("Test:A", OutCall::Prepare, MidiResult::NoMemory);
    EXPECT_EQ(s->Prepare(h), MidiResult::NoMemory);
    rig.fake->FailCall("Test:A", OutCall::Prepare, MidiResult::NoError);
    ASSERT_EQ(s->Prepare(h), MidiResult::NoError);
    rig.fake->FailCall("Test:A", OutCall::Queue, MidiResult::NotReady);
    EXPECT_EQ(s->Queue(h), MidiResult::NotReady);
    rig.fake->FailCall("Test:A", OutCall::Queue, MidiResult::NoError);
    ASSERT_EQ(s->Queue(h), MidiResult::NoError);
    EXPECT_EQ(s->Queue(h), MidiResult::StillPlaying);
    EXPECT_EQ(s->Unprepare(h), MidiResult::StillPlaying);

    // The device goes while the buffer is queued: it still comes back, then Queue refuses.
    s->Restart();
    rig.fake->Unplug("Test:A");
    rig.clock->Advance(1000);
    EXPECT_EQ(rec.log.size(), 1u);
    EXPECT_TRUE(rig.Heard().empty());
    EXPECT_EQ(s->Unprepare(h), MidiResult::NoError);
    EXPECT_EQ(s->Prepare(h), MidiResult::NoError);
    EXPECT_EQ(s->Queue(h), MidiResult::NoDevice);
    EXPECT_EQ(s->SendShort(kNoteOff), MidiResult::NoDevice);
}

TEST(MidiLayerTest, InputExpandsRunningStatusAndDropsSystemBytesFromStartOn)
{
    Rig rig;
    MidiSession session(rig.devices);
    Recorder rec(*rig.clock);
    std::unique_ptr<InPort> in;
    ASSERT_EQ(session.OpenInPort(0, rec, in), MidiResult::NoError);
    EXPECT_EQ(session.OpenInPort(1, rec, in), MidiResult::BadDeviceId);
    ASSERT_EQ(session.OpenInPort(0, rec, in), MidiResult::NoError);

    const uint8_t early[] = {0x90, 0x40, 0x40};
    rig.fake->Inject("Test:In", early); // not started: dropped
    rig.clock->AdvanceTo(1000);
    ASSERT_EQ(in->Start(), MidiResult::NoError);
    rig.clock->AdvanceTo(6000);
    const uint8_t bytes[] = {
        0x90, 0x3C, 0x64, 0x3E, 0xF8, 0x50, // running status, a clock byte inside the message
        0x3C, 0x00,                         // velocity 0 passes as it is
        0xFE,                               // active sensing
        0xF0, 0x7E, 0x7F, 0x09, 0xF7,       // system exclusive, ends running status
        0x40,                               // stray data byte
        0xC2, 0x05, 0x06,                   // program changes with running status
        0xF2, 0x10, 0x20, 0x30,             // song position: skipped with its data
        0xD1, 0x7F,                         // channel pressure
    };
    rig.fake->Inject("Test:In", bytes);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"in 643C90 5ms", "in 503E90 5ms", "in 003C90 5ms", "in 0005C2 5ms",
                                                 "in 0006C2 5ms", "in 007FD1 5ms"}));
    ASSERT_EQ(in->Close(), MidiResult::NoError);
    rig.fake->Inject("Test:In", early);
    EXPECT_EQ(rec.log.size(), 6u);
    EXPECT_EQ(rig.fake->OpenInputCount(), 0);
}

TEST(MidiLayerTest, DirectDeliveryOnTheSteadyClockRunsCallbacksOnOneThreadAndCloseWaitsForThem)
{
    auto clock = std::make_shared<SteadyMidiClock>();
    auto fake = std::make_shared<FakeMidiBackend>(clock, std::vector<MidiPortName>{{"Test", "A"}},
                                                  std::vector<MidiPortName>{{"Test", "In"}});
    MidiDeviceList devices(clock);
    devices.AddBackend(fake);
    devices.Refresh();
    MidiSession session(devices);

    struct Client : OutStreamClient, InPortClient {
        // Runs until the test has begun to close the stream, and a while
        // longer: Close finds it running and has to wait for it.
        void OnStreamDone(OutStream&, MidiHeader&) override
        {
            threads.push_back(std::this_thread::get_id());
            inCallback = true;
            test::awaitState([this] { return closing.load(); });
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            inCallback = false;
        }
        void OnStreamPosition(OutStream&, MidiHeader&, uint32_t) override {}
        void OnMidiInData(InPort&, uint32_t, uint32_t) override { threads.push_back(std::this_thread::get_id()); }
        std::vector<std::thread::id> threads;
        std::atomic<bool> inCallback{false};
        std::atomic<bool> closing{false};
    } client;

    std::unique_ptr<OutStream> s;
    std::unique_ptr<InPort> in;
    ASSERT_EQ(session.OpenOutStream(0, client, s), MidiResult::NoError);
    ASSERT_EQ(session.OpenInPort(0, client, in), MidiResult::NoError);
    in->Start();
    const uint8_t note[] = {0x90, 0x3C, 0x64};
    fake->Inject("Test:In", note);
    StreamBufferBuilder b;
    b.Event(0, kNoteOn);
    MidiHeader& h = b.Header(0);
    s->Prepare(h);
    s->Queue(h);
    s->Restart();
    // Wait for the done callback to begin, then close from here: Close returns only after it.
    const bool entered = test::awaitState([&client] { return client.inCallback.load(); });
    client.closing = true;
    ASSERT_TRUE(entered);
    EXPECT_EQ(s->Close(), MidiResult::NoError);
    EXPECT_FALSE(client.inCallback);
    in->Close();
    ASSERT_EQ(client.threads.size(), 2u);
    EXPECT_TRUE(client.threads[0] == client.threads[1]);
    EXPECT_TRUE(client.threads[0] != std::this_thread::get_id());
}

} // namespace
} // namespace zib
