// The MIDI document's text dump against midicsv on the same file (4 MB, 17
// tracks, 1M events), both as whole processes from the file to a text file
// (the document's open included); each iteration runs ours and then midicsv,
// the counters give both medians and the ratio.
#include "tests/support/MillionEventSong.h"
#include "tests/support/SideBySide.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <fstream>

using namespace zib;

namespace {

void TextDumpProcess(benchmark::State& state)
{
    const test::TempDir dir;
    const auto file = dir / "MillionEvents.mid";
    const auto& image = test::MillionEventSong();
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
    const std::string ourOut = (dir / "MillionEvents.txt").string();
    const std::string peerOut = (dir / "MillionEvents.csv").string();
    std::vector<double> ours, peer;
    for (auto _ : state) {
        const test::ProcessRun run = test::runProcess({MIDI_DUMP_TOOL, file.string(), ourOut});
        if (!run.started || run.exitCode != 0) {
            state.SkipWithError("the dump failed");
            return;
        }
        const double p = test::runMidicsv(state, file, peerOut);
        if (p < 0) return;
        state.SetIterationTime(run.seconds);
        ours.push_back(run.seconds);
        peer.push_back(p);
    }
    test::reportSideBySide(state, ours, peer);
    state.counters["dumpMB"] = double(std::filesystem::file_size(ourOut)) / 1e6;
    state.counters["csvMB"] = double(std::filesystem::file_size(peerOut)) / 1e6;
}
BENCHMARK(TextDumpProcess)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

} // namespace
