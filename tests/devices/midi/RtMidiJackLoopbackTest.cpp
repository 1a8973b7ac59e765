#include "devices/core/InPort.h"
#include "devices/core/InPortClient.h"
#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/MidiHeader.h"
#include "devices/core/MidiSession.h"
#include "devices/core/OutStream.h"
#include "devices/core/OutStreamClient.h"
#include "devices/core/PlaybackEngine.h"
#include "devices/core/PlaybackHost.h"
#include "devices/core/RtMidiBackend.h"
#include "tests/devices/midi/JackTestPort.h"
#include "tests/support/AwaitState.h"
#include "tests/support/CiRun.h"
#include "tests/support/JackDummyServer.h"
#include "tests/support/PlaybackFakes.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StreamEvents.h"
#include "ui/core/PlayerSlot.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zib {
namespace {

// What a JACK port of the test receives, in order.
struct Arrivals {
    struct Item {
        std::vector<uint8_t> bytes;
    };
    void Put(std::vector<uint8_t> bytes)
    {
        std::lock_guard lock(mutex);
        items.push_back({std::move(bytes)});
        changed.notify_all();
    }
    // Waits until `n` have come; the limit only bounds a hang, unless a
    // caller asks for a short look.
    bool WaitFor(size_t n, std::chrono::milliseconds limit = test::kHangCeiling)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, [&] { return items.size() >= n; });
    }
    // The arrivals as hex, one message per group, for failure messages
    std::string Listing()
    {
        std::lock_guard lock(mutex);
        std::string text;
        char hex[4];
        for (const auto& item : items) {
            for (uint8_t b : item.bytes) {
                std::snprintf(hex, sizeof hex, "%02X", b);
                text += hex;
            }
            text += ' ';
        }
        return text;
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Item> items;
};

// Whether the private JACK server is up; a CI run needs it.
bool upOrMissingInCi(const test::JackDummyServer& server)
{
    if (!server.IsUp())
        test::reportMissingInCi("a private JACK server on the dummy driver (package jackd2): " +
                                server.Problem());
    return server.IsUp();
}

struct Client : OutStreamClient, InPortClient {
    void OnStreamDone(OutStream&, MidiHeader&) override { done.Put({}); }
    void OnStreamPosition(OutStream&, MidiHeader&, uint32_t) override {}
    void OnMidiInData(InPort&, uint32_t m, uint32_t) override
    {
        input.Put({uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16)});
    }
    Arrivals done, input;
};

// Zib's stream plays into a JACK input of the test, and a JACK output of the
// test plays into Zib's input port, on a private JACK server with the dummy
// driver. The times of arrival are measured in bench/ (a loaded machine
// would fail any bound here).
TEST(RtMidiJackLoopbackTest, StreamEventsArriveInOrderAndWholeAndInputComesBack)
{
    test::JackDummyServer server;
    if (!upOrMissingInCi(server)) GTEST_SKIP() << server.Problem();

    // The messages that probe the connection are kept apart from the rest.
    const std::vector<uint8_t> probe = {0xB0, 0x79, 0x00};
    Arrivals heard, probes;
    test::JackTestPort collector("zibcollect", "in", test::JackTestPort::Direction::In, [&](std::vector<uint8_t> m) {
        (m == probe ? probes : heard).Put(std::move(m));
    });
    test::JackTestPort player("zibplay", "out", test::JackTestPort::Direction::Out);
    ASSERT_TRUE(collector.IsOpen());
    ASSERT_TRUE(player.IsOpen());

    MidiDeviceList devices(std::make_shared<SteadyMidiClock>());
    devices.AddBackend(std::make_shared<RtMidiBackend>(RtMidiBackend::Api::Jack, "ZibTest"));
    devices.Refresh();
    const int out = devices.FindOutDevice("zibcollect:in");
    const int in = devices.FindInDevice("zibplay:out");
    ASSERT_GE(out, 0);
    ASSERT_GE(in, 0);

    MidiSession session(devices);
    Client client;
    std::unique_ptr<OutStream> stream;
    std::unique_ptr<InPort> port;
    ASSERT_EQ(session.OpenOutStream(out, client, stream), MidiResult::NoError);
    ASSERT_EQ(session.OpenInPort(in, client, port), MidiResult::NoError);
    ASSERT_EQ(port->Start(), MidiResult::NoError);
    stream->SetTimeDiv(96);
    stream->SetTempo(500000);

    // A new JACK connection carries data only once the server's graph has it;
    // on a loaded machine that takes a while, so a probe goes out until one passes.
    bool sent = true;
    const bool connected = test::awaitState([&] {
        sent = sent && stream->SendShort(0x0079B0) == MidiResult::NoError;
        return !sent || probes.WaitFor(1, std::chrono::milliseconds(50));
    });
    ASSERT_TRUE(sent);
    ASSERT_TRUE(connected);

    // Notes at ticks 0 and 24 (125 ms apart), the tempo doubles at tick 48,
    // then a program change and a system exclusive message 62.5 ms apart.
    const std::vector<uint8_t> sysex = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    test::StreamBufferBuilder b;
    b.Event(0, 0x643C90).Event(24, 0x003C90).Event(24, mevt::kTempo | 250000).Event(0, 0x0005C1).Long(24, sysex);
    MidiHeader& h = b.Header(0);
    ASSERT_EQ(stream->Prepare(h), MidiResult::NoError);
    ASSERT_EQ(stream->Queue(h), MidiResult::NoError);
    ASSERT_EQ(stream->Restart(), MidiResult::NoError);

    ASSERT_TRUE(heard.WaitFor(4)) << "arrived: " << heard.Listing();
    ASSERT_TRUE(client.done.WaitFor(1));
    std::vector<std::vector<uint8_t>> bytes;
    for (const auto& item : heard.items) bytes.push_back(item.bytes);
    EXPECT_EQ(bytes, (std::vector<std::vector<uint8_t>>{{0x90, 0x3C, 0x64}, {0x90, 0x3C, 0x00}, {0xC1, 0x05}, sysex}));

    const std::vector<uint8_t> note = {0x92, 0x40, 0x50};
    // The same for the test's own connection to Zib's input: the note goes out until it comes in.
    ASSERT_TRUE(test::awaitState([&] {
        player.Send(note);
        return client.input.WaitFor(1, std::chrono::milliseconds(50));
    }));
    EXPECT_EQ(client.input.items[0].bytes, (std::vector<uint8_t>{0x92, 0x40, 0x50}));

    port->Close();
    stream->Close();
}

} // namespace
} // namespace zib


namespace zib {
namespace {

// The application side on the steady clock with RtMidi's JACK ports: port 0
// plays on the test's JACK input.
struct JackHost : test::PlaybackHostBase {
    explicit JackHost(MidiDeviceList& d) : devices(d) {}
    MidiDeviceList& Devices() override { return devices; }

    MidiDeviceList& devices;
};

// The playback engine plays a small song into JACK, in order and whole.
TEST(RtMidiJackLoopbackTest, TheEnginePlaysASongThroughJackInOrder)
{
    test::JackDummyServer server;
    if (!upOrMissingInCi(server)) GTEST_SKIP() << server.Problem();
    Arrivals heard;
    test::JackTestPort collector("zibsong", "in", test::JackTestPort::Direction::In,
                                 [&](std::vector<uint8_t> m) { heard.Put(std::move(m)); });
    ASSERT_TRUE(collector.IsOpen());

    MidiDeviceList devices(std::make_shared<SteadyMidiClock>());
    devices.AddBackend(std::make_shared<RtMidiBackend>(RtMidiBackend::Api::Jack, "ZibTest"));
    devices.Refresh();
    const int out = devices.FindOutDevice("zibsong:in");
    ASSERT_GE(out, 0);
    JackHost host(devices);
    host.outPorts[0] = {uint8_t(out), 1};

    // Division 96 at 500 ms per beat, the tempo doubling at tick 96
    test::SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2).Tempo(96, 250000);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(48, 0, 60).NoteOn(96, 0, 62, 100).NoteOff(144, 0, 62);
    test::FakePlaybackDocument doc(b.Build());
    test::FakePlaybackUi ui;
    PlaybackEngine engine(doc, ui, host);
    ASSERT_TRUE(engine.PrepareForDocument());
    engine.StartMidiPlayback();
    ASSERT_EQ(host.playing.load(), 1);
    EXPECT_TRUE(test::awaitState(
        [&] {
            engine.DeliverUi();
            return ui.finished != 0;
        },
        std::chrono::milliseconds(10)));
    EXPECT_EQ(ui.finished, 1);
    ASSERT_TRUE(heard.WaitFor(5)) << "arrived: " << heard.Listing();
    std::vector<std::vector<uint8_t>> bytes;
    for (const auto& item : heard.items) bytes.push_back(item.bytes);
    EXPECT_EQ(bytes, (std::vector<std::vector<uint8_t>>{
                         {0xB0, 0x07, 0x64}, {0x90, 0x3C, 0x64}, {0x80, 0x3C, 0x00}, {0x90, 0x3E, 0x64}, {0x80, 0x3E, 0x00}}));
}

} // namespace
} // namespace zib
