// Scheduling a dense song into stream buffers: 500,000 events on 16 tracks
// and two ports, played through the fake devices' virtual clock from the
// start to the posted end (fill, queue, refill, position updates).

#include "tests/support/PlayerFakes.h"
#include "tests/support/SmfBuilder.h"

#include <benchmark/benchmark.h>

namespace zib::test {
namespace {

std::vector<uint8_t> DenseSong(int events)
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2);
    const int tracks = 16;
    const int perTrack = events / tracks / 2;
    for (int t = 0; t < tracks; ++t) {
        SmfTrack& track = b.AddTrack();
        if (t >= 8) track.Port(0, 1);
        for (int n = 0; n < perTrack; ++n) {
            const uint32_t tick = uint32_t(n) * 12 + uint32_t(t % 4);
            track.NoteOn(tick, t, 36 + (n + t) % 48, 100).NoteOff(tick + 6, t, 36 + (n + t) % 48);
        }
    }
    return b.Build();
}

void BM_ScheduleDenseSong(benchmark::State& state)
{
    const auto image = DenseSong(500'000);
    FakePlaybackDocument doc(image);
    FakePlayerView view;
    FakePlayerHost host;
    host.outPorts[1].enabled = 1;
    CMidiBarPlayer player(doc, view, host);
    player.PrepareForDocument();
    int64_t events = 0;
    for (auto _ : state) {
        host.devices->ClearSent();
        view.posted.clear();
        player.Rewind();
        player.StartMidiPlayback();
        while (view.posted.empty()) host.devices->RunUntilIdle();
        player.FinishMidiPlayback(view.posted.front());
        events += int64_t(host.devices->SentMessages().size());
    }
    state.SetItemsProcessed(events);
}
BENCHMARK(BM_ScheduleDenseSong)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace zib::test
