// The MIDI layer's scheduler, the playback engine and the bar grid, against
// their targets:
//   scheduler lateness p99 <= 1 ms (steady clock, a sink that only notes the
//     time; through JACK: JackPlaybackBench.cpp);
//   a dense song (16 tracks on 4 ports, 32nd notes at different ticks,
//     240 BPM) plays with no underrun;
//   a refill (the done callback with its FillStreamBuffer): median <= 5 us,
//     no allocation;
//   recording: <= 50 us per event at 10^4 events, <= 500 us at 10^5, input
//     at 1000 messages a second;
//   repainting a full bar grid over 10^5 events: <= 10 ms at any scroll position.

#include "devices/core/BarGridModel.h"
#include "devices/core/CMeasureTable.h"
#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/MidiHeader.h"
#include "devices/core/MidiSession.h"
#include "devices/core/OutStream.h"
#include "devices/core/OutStreamClient.h"
#include "devices/core/RecordingCanvas.h"
#include "tests/support/PlaybackFakes.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/StreamEvents.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <new>
#include <thread>

// Every allocation of the process, counted (the refill must make none). The
// replaced operators pair malloc with free, which the compiler cannot see
// through once they are inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
static std::atomic<uint64_t> g_allocations{0};

void* operator new(std::size_t n)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace zib {
namespace {

using Clock = std::chrono::steady_clock;

int64_t steadyUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count();
}

// Outputs that send nowhere; each send notes how late it came (steady clock).
class LatenessBackend : public MidiBackend {
public:
    explicit LatenessBackend(int ports)
    {
        for (int i = 0; i < ports; ++i) m_ports.push_back({"Bench", "Out " + std::to_string(10 + i)});
        m_lateUs.reserve(1 << 20);
    }
    std::vector<MidiPortName> OutputPorts() override { return m_ports; }
    std::vector<MidiPortName> InputPorts() override { return {}; }
    MidiResult OpenOutput(const MidiPortName&, std::unique_ptr<MidiOutSink>& sink) override
    {
        sink = std::make_unique<Sink>(*this);
        return MidiResult::NoError;
    }
    MidiResult OpenInput(const MidiPortName&, MidiInReceiver, std::unique_ptr<MidiInSource>&) override
    {
        return MidiResult::BadDeviceId;
    }

    std::vector<int64_t> Lateness()
    {
        std::lock_guard lock(m_mutex);
        return m_lateUs;
    }
    std::atomic<uint64_t> queued{0};
    bool steady = true;

private:
    struct Sink : MidiOutSink {
        explicit Sink(LatenessBackend& owner) : owner(owner) {}
        bool Send(std::span<const uint8_t>, int64_t dueUs) override
        {
            if (owner.steady) {
                const int64_t late = steadyUs() - dueUs;
                std::lock_guard lock(owner.m_mutex);
                if (owner.m_lateUs.size() < owner.m_lateUs.capacity()) owner.m_lateUs.push_back(late);
            }
            return true;
        }
        MidiResult Check(OutCall) override { return MidiResult::NoError; }
        void Queued(std::span<const uint8_t>, uintptr_t) override { owner.queued.fetch_add(1); }
        LatenessBackend& owner;
    };
    std::vector<MidiPortName> m_ports;
    std::mutex m_mutex;
    std::vector<int64_t> m_lateUs;
};

void reportPercentiles(benchmark::State& state, std::vector<int64_t> lateUs, double targetP99Us)
{
    if (lateUs.empty()) return;
    std::sort(lateUs.begin(), lateUs.end());
    const auto at = [&](double q) { return double(lateUs[std::min(lateUs.size() - 1, size_t(q * double(lateUs.size())))]); };
    state.counters["p50_us"] = at(0.50);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = double(lateUs.back());
    state.counters["events"] = double(lateUs.size());
    state.counters["p99_target_us"] = targetP99Us;
}

// Each stream plays 16th notes from two buffers that its client queues again as they come back.
struct Refiller : OutStreamClient {
    void OnStreamDone(OutStream& s, MidiHeader& h) override
    {
        s.Unprepare(h);
        if (stop.load()) return;
        s.Prepare(h);
        s.Queue(h);
    }
    void OnStreamPosition(OutStream&, MidiHeader&, uint32_t) override {}
    std::atomic<bool> stop{false};
};

void BM_SchedulerLateness(benchmark::State& state)
{
    const int streams = int(state.range(0));
    const uint32_t tempo = uint32_t(60'000'000 / state.range(1));
    auto clock = std::make_shared<SteadyMidiClock>();
    auto backend = std::make_shared<LatenessBackend>(streams);
    MidiDeviceList devices(clock);
    devices.AddBackend(backend);
    devices.Refresh();
    for (auto _ : state) {
        MidiSession session(devices);
        Refiller client;
        std::vector<std::unique_ptr<OutStream>> outs(static_cast<size_t>(streams));
        std::vector<test::StreamBufferBuilder> buffers(static_cast<size_t>(streams) * 2);
        for (int s = 0; s < streams; ++s) {
            session.OpenOutStream(s, client, outs[size_t(s)]);
            outs[size_t(s)]->SetTimeDiv(96);
            outs[size_t(s)]->SetTempo(tempo);
            for (int b = 0; b < 2; ++b) {
                auto& buf = buffers[size_t(s * 2 + b)];
                for (int e = 0; e < 8; ++e) buf.Event(24 + uint32_t(s), 0x643C90).Event(0, 0x003C90);
                MidiHeader& h = buf.Header(uintptr_t(b));
                outs[size_t(s)]->Prepare(h);
                outs[size_t(s)]->Queue(h);
            }
        }
        for (auto& o : outs) o->Restart();
        std::this_thread::sleep_for(std::chrono::milliseconds(4000));
        client.stop = true;
        for (auto& o : outs) o->Close();
    }
    reportPercentiles(state, backend->Lateness(), 1000);
}
BENCHMARK(BM_SchedulerLateness)
    ->Args({1, 120})->Args({4, 120})->Args({16, 120})->Args({1, 240})->Args({4, 240})->Args({16, 240})
    ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The application side of the engine over the lateness backend: port n on device n.
struct BenchHost : test::PlaybackHostBase {
    BenchHost(std::shared_ptr<MidiClock> clock, int ports, bool steady) : devices(std::move(clock))
    {
        backend = std::make_shared<LatenessBackend>(ports);
        backend->steady = steady;
        devices.AddBackend(backend);
        devices.Refresh();
        for (int p = 0; p < ports; ++p) outPorts[p] = {uint8_t(p), 1};
    }
    MidiDeviceList& Devices() override { return devices; }

    MidiDeviceList devices;
    std::shared_ptr<LatenessBackend> backend;
};

// 16 tracks on 4 ports, 32nd notes, each track 3 ticks after the one before (division 96)
std::vector<uint8_t> denseSong(uint32_t measures)
{
    test::SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 250000).TimeSig(0, 4, 2);
    for (int t = 0; t < 16; ++t) {
        auto& track = b.AddTrack().Port(0, t / 4);
        for (uint32_t tick = uint32_t(t * 3) % 12; tick < measures * 384; tick += 12)
            track.NoteOn(tick, t % 16, 40 + t, 90).NoteOff(tick + 6, t % 16, 40 + t);
    }
    return b.Build();
}

void BM_DenseSong(benchmark::State& state)
{
    BenchHost host(std::make_shared<SteadyMidiClock>(), 4, true);
    test::FakePlaybackDocument doc(denseSong(3)); // 3 s at 240 BPM
    for (int row = 0; row < 16; ++row) doc.tracks[size_t(row)].port = uint8_t(row / 4);
    test::FakePlaybackUi ui;
    for (auto _ : state) {
        PlaybackEngine engine(doc, ui, host);
        engine.PrepareForDocument();
        engine.StartMidiPlayback();
        while (ui.finished == 0 && host.playing.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            engine.DeliverUi();
        }
        engine.DeliverUi();
    }
    const auto late = host.backend->Lateness();
    const auto underruns = std::count_if(late.begin(), late.end(), [](int64_t us) { return us > 2000; });
    state.counters["underruns"] = double(underruns); // events more than 2 ms late
    reportPercentiles(state, late, 1000);
}
BENCHMARK(BM_DenseSong)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// One returned buffer and its refill, on the virtual clock: the layer plays
// the buffer, the engine's done callback unprepares it and FillStreamBuffer
// fills and queues it again.
void BM_RefillStep(benchmark::State& state)
{
    auto clock = std::make_shared<VirtualMidiClock>();
    BenchHost host(clock, 4, false);
    test::FakePlaybackDocument doc(denseSong(200));
    for (int row = 0; row < 16; ++row) doc.tracks[size_t(row)].port = uint8_t(row / 4);
    test::FakePlaybackUi ui;
    PlaybackEngine engine(doc, ui, host);
    engine.PrepareForDocument();
    engine.StartMidiPlayback();
    clock->Advance(100'000); // settled: every ring has its working size
    std::vector<double> stepNs;
    stepNs.reserve(1 << 16);
    uint64_t allocations = 0;
    for (auto _ : state) {
        const uint64_t queued = host.backend->queued.load();
        const uint64_t before = g_allocations.load();
        const auto t0 = Clock::now();
        clock->Advance(50);
        const auto t1 = Clock::now();
        allocations += g_allocations.load() - before;
        if (host.backend->queued.load() != queued && stepNs.size() < stepNs.capacity())
            stepNs.push_back(double(std::chrono::duration_cast<std::chrono::nanoseconds>(t1 - t0).count()));
        if (ui.requests > 1000) ui.requests = 0; // nobody reads the posted updates here
    }
    std::sort(stepNs.begin(), stepNs.end());
    if (!stepNs.empty()) {
        state.counters["refill_median_us"] = stepNs[stepNs.size() / 2] / 1000.0;
        state.counters["refill_p99_us"] = stepNs[stepNs.size() * 99 / 100] / 1000.0;
    }
    state.counters["allocations"] = double(allocations);
    state.counters["median_target_us"] = 5;
}
BENCHMARK(BM_RefillStep)->Iterations(200000)->Unit(benchmark::kMicrosecond);

// Recording into a song of `range(0)` events, one message a millisecond.
void BM_RecordPerEvent(benchmark::State& state)
{
    const uint32_t events = uint32_t(state.range(0));
    test::SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2);
    auto& t = b.AddTrack();
    // The song's notes lie ahead of the take, so every insertion shifts them.
    for (uint32_t i = 0; i < events / 2; ++i) t.NoteOn(4000 + i * 4, 0, 60, 90).NoteOff(4000 + i * 4 + 2, 0, 60);
    const auto image = b.Build();
    auto clock = std::make_shared<VirtualMidiClock>();
    std::vector<double> perEventUs;
    for (auto _ : state) {
        state.PauseTiming();
        test::PlaybackRig rig(image);
        rig.doc.tracks[1].record = 1;
        rig.doc.tracks[1].recordChannel = 17;
        rig.doc.thru = 0;
        rig.engine.PrepareForDocument();
        rig.engine.OnRecord();
        state.ResumeTiming();
        const uint8_t message[3] = {0xB0, 0x01, 0x40};
        for (int i = 0; i < 2000; ++i) {
            rig.host.clock->Advance(1000);
            const auto t0 = Clock::now();
            rig.host.fake->Inject("Test:In", message);
            perEventUs.push_back(double(std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - t0).count()) / 1000);
        }
        state.PauseTiming();
        rig.engine.StartMidiPlayback();
        rig.RunUntilFinished();
        state.ResumeTiming();
    }
    std::sort(perEventUs.begin(), perEventUs.end());
    double sum = 0;
    for (double v : perEventUs) sum += v;
    state.counters["mean_us"] = sum / double(perEventUs.size());
    state.counters["p99_us"] = perEventUs[perEventUs.size() * 99 / 100];
    state.counters["target_us"] = events <= 10000 ? 50 : 500;
}
BENCHMARK(BM_RecordPerEvent)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

// A full window of the bar grid (1600 x 1000 pixels) over 10^5 events
void BM_BarGridRepaint(benchmark::State& state)
{
    test::SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2);
    for (int t = 0; t < 40; ++t) {
        auto& track = b.AddTrack();
        for (uint32_t tick = uint32_t(t); tick < 1250 * 384; tick += 384) // 1250 notes a track: 10^5 events
            track.NoteOn(tick, t % 16, 30 + t, 90).NoteOff(tick + 100, t % 16, 30 + t);
    }
    const auto image = b.Build();
    CMidiParserEx sequence;
    sequence.ParseImage(image.data(), uint32_t(image.size()));
    CMeasureTable measures;
    measures.Build(sequence);
    BarGridModel grid;
    grid.Rebuild(measures, sequence);
    std::array<BarGridModel::Row, BarGridModel::kRows> rows{};
    for (auto& r : rows) r = {true, 0, 1250 * 384, false};
    const int scroll = int(state.range(0)) * (grid.ColumnLeft(1250) - 1600) / 100;
    RecordingCanvas canvas;
    for (auto _ : state) {
        canvas.Clear();
        grid.PaintHeader(canvas, scroll, 1600);
        grid.PaintRows(canvas, sequence, {scroll, 0, 1600, 1000}, rows, 0, 384 * 600);
        benchmark::DoNotOptimize(canvas.Commands().data());
    }
    state.counters["events"] = double(sequence.GetEventCount());
    state.counters["target_ms"] = 10;
}
BENCHMARK(BM_BarGridRepaint)->Arg(0)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zib
