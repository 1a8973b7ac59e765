// The MIDI file road against midicsv on the same file (4 MB, 17 tracks, 1M
// events): each iteration runs ours and then midicsv, so that both meet the
// same load on the machine; the counters give both medians and the ratio.
//   CMidiFileProcess   the bare SMF engine's parse as a whole process, vs
//                      `midicsv FILE /dev/null`
//   ParseImage         the editable sequence's load (what opening a MIDI
//                      document runs), timed inside a fresh process, with
//                      the time to free it and the peak memory per event
#include "tests/support/MillionEventSong.h"
#include "tests/support/BuildPaths.h"
#include "tests/support/SideBySide.h"

#include <benchmark/benchmark.h>

#include <sstream>

using namespace zib;

namespace {

void CMidiFileProcess(benchmark::State& state)
{
    const auto& file = test::MillionEventSongFile();
    std::vector<double> ours, peer;
    for (auto _ : state)
        if (!test::runBothProcesses(state, {test::BuildFile(MIDI_ROAD_TOOL), "file", file.string()}, "the parse failed", file,
                                    "/dev/null", ours, peer))
            return;
    test::reportSideBySide(state, ours, peer);
}
BENCHMARK(CMidiFileProcess)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

void ParseImage(benchmark::State& state)
{
    const auto& file = test::MillionEventSongFile();
    std::vector<double> ours, peer, freeing, peakPerEvent;
    double events = 0;
    for (auto _ : state) {
        const test::ProcessRun run = test::runProcess({test::BuildFile(MIDI_ROAD_TOOL), "image", file.string()}, true);
        std::istringstream figures(run.output);
        double parse = 0, freed = 0, peak = 0;
        figures >> events >> parse >> freed >> peak;
        if (!run.started || run.exitCode != 0 || !figures || events <= 0) {
            state.SkipWithError("the load failed");
            return;
        }
        const double p = test::runMidicsv(state, file, "/dev/null");
        if (p < 0) return;
        state.SetIterationTime(parse);
        ours.push_back(parse);
        peer.push_back(p);
        freeing.push_back(freed / parse);
        peakPerEvent.push_back(peak / events);
    }
    test::reportSideBySide(state, ours, peer);
    state.counters["events"] = events;
    state.counters["free/load"] = test::median(freeing);
    state.counters["peakBytes/event"] = test::median(peakPerEvent);
}
BENCHMARK(ParseImage)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

} // namespace
