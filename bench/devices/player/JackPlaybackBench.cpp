// Playback through JACK on a private server (dummy driver, 32-frame periods
// at 48 kHz: tests/support/JackDummyServer.h). The MIDI layer's stream, or
// the playback engine, plays into a JACK input of the bench, which notes the
// steady time of each arrival.
//   BM_JackStreamLateness  an event every 20.8 ms for 3 s: each arrival
//                          against its due time, p50/p99/max (target p99
//                          <= 2 ms);
//   BM_JackStreamTempo     notes 125 ms apart, the tempo doubling, a program
//                          change and a system exclusive message 62.5 ms
//                          later: each gap against its nominal length;
//   BM_JackEngineSong      the engine plays a song whose tempo doubles at
//                          beat 2: the gaps between its notes against their
//                          nominal 250, 500 and 625 ms.
// The loopback tests check order and bytes only; the times are here.

#include "devices/core/InPort.h"
#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/MidiHeader.h"
#include "devices/core/MidiSession.h"
#include "devices/core/OutStream.h"
#include "devices/core/OutStreamClient.h"
#include "devices/core/PlaybackEngine.h"
#include "devices/core/RtMidiBackend.h"
#include "tests/devices/midi/JackTestPort.h"
#include "tests/support/JackDummyServer.h"
#include "tests/support/PlaybackFakes.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StreamEvents.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

namespace zib {
namespace {

int64_t steadyUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// The arrival times at the bench's JACK input.
struct Arrivals {
    void Put()
    {
        const int64_t at = steadyUs();
        std::lock_guard lock(mutex);
        atUs.push_back(at);
    }
    size_t Count()
    {
        std::lock_guard lock(mutex);
        return atUs.size();
    }
    std::vector<int64_t> Take()
    {
        std::lock_guard lock(mutex);
        return std::exchange(atUs, {});
    }
    std::mutex mutex;
    std::vector<int64_t> atUs;
};

struct NoCallbacks : OutStreamClient {
    void OnStreamDone(OutStream&, MidiHeader&) override {}
    void OnStreamPosition(OutStream&, MidiHeader&, uint32_t) override {}
};

// The private server, the bench's input port and the device list that sees it.
class JackRig {
public:
    JackRig()
        : collector("zibcollect", "in", test::JackTestPort::Direction::In,
                    [this](std::vector<uint8_t>) { heard.Put(); })
    {
        if (!server.IsUp()) {
            problem = server.Problem();
            return;
        }
        if (!collector.IsOpen()) {
            problem = "the bench's JACK port did not open";
            return;
        }
        devices.AddBackend(std::make_shared<RtMidiBackend>(RtMidiBackend::Api::Jack, "ZibBench"));
        devices.Refresh();
        out = devices.FindOutDevice("zibcollect:in");
        if (out < 0) problem = "the bench's JACK input is not listed";
    }

    // Waits until a message sent on the stream arrives: a new JACK
    // connection carries data only once the server's graph has it.
    bool Connect(OutStream& stream)
    {
        for (int i = 0; i < 200; ++i) {
            stream.SendShort(0x0079B0);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (heard.Count() > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                heard.Take();
                return true;
            }
        }
        return false;
    }

    test::JackDummyServer server;
    Arrivals heard;
    test::JackTestPort collector;
    MidiDeviceList devices{std::make_shared<SteadyMidiClock>()};
    int out = -1;
    std::string problem;
};

// Plays one buffer on a stream of the rig; the steady time just before the
// stream started, or -1 when it could not be played.
int64_t playBuffer(JackRig& rig, test::StreamBufferBuilder& events, size_t expected, int64_t waitMs)
{
    MidiSession session(rig.devices);
    NoCallbacks client;
    std::unique_ptr<OutStream> stream;
    if (session.OpenOutStream(rig.out, client, stream) != MidiResult::NoError || !rig.Connect(*stream)) return -1;
    stream->SetTimeDiv(96);
    stream->SetTempo(500000);
    MidiHeader& header = events.Header(0);
    stream->Prepare(header);
    stream->Queue(header);
    const int64_t start = steadyUs();
    stream->Restart();
    for (int64_t waited = 0; waited < waitMs && rig.heard.Count() < expected; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    stream->Close();
    return start;
}

double percentile(std::vector<int64_t> values, double q)
{
    std::sort(values.begin(), values.end());
    return double(values[std::min(values.size() - 1, size_t(q * double(values.size())))]);
}

void BM_JackStreamLateness(benchmark::State& state)
{
    JackRig rig;
    if (!rig.problem.empty()) {
        state.SkipWithError(rig.problem.c_str());
        return;
    }
    constexpr size_t kEvents = 144;
    constexpr double kStepUs = 4 * 500000.0 / 96; // 4 ticks at division 96, 120 BPM
    std::vector<int64_t> lateUs;
    for (auto _ : state) {
        test::StreamBufferBuilder events;
        for (size_t e = 0; e < kEvents; ++e) events.Event(e == 0 ? 0 : 4, 0x643C90);
        const int64_t start = playBuffer(rig, events, kEvents, 5000);
        const std::vector<int64_t> arrivals = rig.heard.Take();
        if (start < 0 || arrivals.size() != kEvents) {
            state.SkipWithError("the events did not all arrive");
            return;
        }
        for (size_t e = 0; e < kEvents; ++e) lateUs.push_back(arrivals[e] - (start + int64_t(std::llround(e * kStepUs))));
    }
    state.counters["period_frames"] = 32;
    state.counters["events"] = double(lateUs.size());
    state.counters["p50_us"] = percentile(lateUs, 0.50);
    state.counters["p99_us"] = percentile(lateUs, 0.99);
    state.counters["max_us"] = percentile(lateUs, 1.0);
    state.counters["p99_target_us"] = 2000;
}
BENCHMARK(BM_JackStreamLateness)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Each gap between arrivals against its nominal length, in ms.
void reportGaps(benchmark::State& state, const std::vector<int64_t>& arrivals, const std::vector<double>& nominalMs)
{
    double worst = 0;
    for (size_t i = 0; i < nominalMs.size(); ++i) {
        const double gap = double(arrivals[i + 1] - arrivals[0]) / 1000;
        state.counters["gap" + std::to_string(i + 1) + "_ms"] = gap;
        worst = std::max(worst, std::abs(gap - nominalMs[i]));
    }
    state.counters["worst_error_ms"] = worst;
}

void BM_JackStreamTempo(benchmark::State& state)
{
    JackRig rig;
    if (!rig.problem.empty()) {
        state.SkipWithError(rig.problem.c_str());
        return;
    }
    const std::vector<uint8_t> sysex = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    std::vector<int64_t> arrivals;
    for (auto _ : state) {
        // Notes at ticks 0 and 24, the tempo doubles at tick 48, a program
        // change there and a system exclusive message 24 ticks later.
        test::StreamBufferBuilder events;
        events.Event(0, 0x643C90).Event(24, 0x003C90).Event(24, mevt::kTempo | 250000).Event(0, 0x0005C1).Long(24, sysex);
        if (playBuffer(rig, events, 4, 3000) < 0) {
            state.SkipWithError("the stream did not connect");
            return;
        }
        arrivals = rig.heard.Take();
        if (arrivals.size() != 4) {
            state.SkipWithError("the events did not all arrive");
            return;
        }
    }
    reportGaps(state, arrivals, {125.0, 250.0, 312.5});
}
BENCHMARK(BM_JackStreamTempo)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

struct JackHost : test::PlaybackHostBase {
    explicit JackHost(MidiDeviceList& d) : devices(d) {}
    MidiDeviceList& Devices() override { return devices; }
    MidiDeviceList& devices;
};

void BM_JackEngineSong(benchmark::State& state)
{
    JackRig rig;
    if (!rig.problem.empty()) {
        state.SkipWithError(rig.problem.c_str());
        return;
    }
    JackHost host(rig.devices);
    host.outPorts[0] = {uint8_t(rig.out), 1};
    // Division 96 at 500 ms per beat, the tempo doubling at tick 96
    test::SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2).Tempo(96, 250000);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(48, 0, 60).NoteOn(96, 0, 62, 100).NoteOff(144, 0, 62);
    test::FakePlaybackDocument doc(b.Build());
    test::FakePlaybackUi ui;
    std::vector<int64_t> arrivals;
    for (auto _ : state) {
        PlaybackEngine engine(doc, ui, host);
        if (!engine.PrepareForDocument()) {
            state.SkipWithError("the engine did not prepare");
            return;
        }
        engine.StartMidiPlayback();
        for (int i = 0; i < 300 && ui.finished == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            engine.DeliverUi();
        }
        arrivals = rig.heard.Take();
        // The volume first, then four notes
        if (arrivals.size() != 5) {
            state.SkipWithError("the song did not arrive whole");
            return;
        }
        arrivals.erase(arrivals.begin());
    }
    reportGaps(state, arrivals, {250.0, 500.0, 625.0});
}
BENCHMARK(BM_JackEngineSong)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace zib
