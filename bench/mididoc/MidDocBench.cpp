// The MIDI document core on a synthetic 64-track file of 200k events and on
// one four times that size: opening, the rows of the whole-file list, the
// large edits with their Undo and Redo, and the text dumps.
#include "app/core/ZibSettings.h"
#include "mididoc/core/EventListDump.h"
#include "mididoc/core/EventListModel.h"
#include "mididoc/core/MidiDocModel.h"
#include "mididoc/core/TempoTrackModel.h"
#include "tests/app/core/MemoryProfile.h"
#include "tests/support/SmfBuilder.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

using namespace zib;

// 64 tracks, each with its name, program and volume and then notes and a
// controller per beat; `scale` 1 gives about 200k events.
const std::vector<uint8_t>& song(int scale)
{
    static std::map<int, std::vector<uint8_t>> images;
    auto& image = images[scale];
    if (image.empty()) {
        test::SmfBuilder smf(1, 384);
        test::SmfTrack& conductor = smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000);
        const uint32_t beats = 520 * uint32_t(scale);
        for (uint32_t bar = 0; bar < beats / 4; bar += 8)
            conductor.Marker(bar * 1536, "Bar " + std::to_string(bar + 1));
        for (int k = 0; k < 64; ++k) {
            const int channel = k % 16;
            test::SmfTrack& t = smf.AddTrack().TrackName(0, "Track " + std::to_string(k + 1)).Program(0, channel, k);
            t.Controller(0, channel, 7, 100);
            for (uint32_t beat = 0; beat < beats; ++beat) {
                const uint32_t tick = beat * 384 + uint32_t(k);
                t.NoteOn(tick, channel, 40 + k % 40, 90).NoteOff(tick + 300, channel, 40 + k % 40);
                if (beat % 2 == 0) t.Controller(tick, channel, 11, int(beat % 128));
            }
        }
        image = smf.Build();
    }
    return image;
}

struct Doc {
    test::MemoryProfile profile;
    ZibSettings settings{profile};
    std::atomic<int> playing{0};
    MidiDocModel model{settings, playing};
    explicit Doc(int scale) { model.OpenImage("/bench/Big.mid", song(scale)); }
};

void Open(benchmark::State& state)
{
    for (auto _ : state) {
        Doc doc(int(state.range(0)));
        EventListModel list(doc.model);
        std::array<uint8_t, 65> shown{};
        shown.fill(1);
        list.SetShownTracks(shown);
        list.RefillRows();
        benchmark::DoNotOptimize(list.RowCount());
        state.PauseTiming(); // freeing the document is not part of opening
    }
    state.counters["events"] = double(Doc(int(state.range(0))).model.Sequence().GetEventCount());
}
BENCHMARK(Open)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void RefillRows(benchmark::State& state)
{
    Doc doc(int(state.range(0)));
    EventListModel list(doc.model);
    std::array<uint8_t, 65> shown{};
    shown.fill(1);
    list.SetShownTracks(shown);
    for (auto _ : state)
        benchmark::DoNotOptimize(list.RefillRows());
}
BENCHMARK(RefillRows)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void TextDump(benchmark::State& state)
{
    Doc doc(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.model.DumpText("Big.mid"));
}
BENCHMARK(TextDump)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

} // namespace
