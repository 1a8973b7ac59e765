// The MIDI document's text dump against midicsv on the same file (4 MB, 17
// tracks, 1M events), both as whole processes from the file to a text file
// (the document's open included); each iteration runs ours and then midicsv,
// the counters give both medians and the ratio.
#include "tests/support/MillionEventSong.h"
#include "tests/support/BuildPaths.h"
#include "tests/support/SideBySide.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace zib;

namespace {

void TextDumpProcess(benchmark::State& state)
{
    const auto& file = test::MillionEventSongFile();
    const test::TempDir dir;
    const std::string ourOut = (dir / "MillionEvents.txt").string();
    const std::string peerOut = (dir / "MillionEvents.csv").string();
    std::vector<double> ours, peer;
    for (auto _ : state)
        if (!test::runBothProcesses(state, {test::BuildFile(MIDI_DUMP_TOOL), file.string(), ourOut}, "the dump failed", file,
                                    peerOut, ours, peer))
            return;
    test::reportSideBySide(state, ours, peer);
    state.counters["dumpMB"] = double(std::filesystem::file_size(ourOut)) / 1e6;
    state.counters["csvMB"] = double(std::filesystem::file_size(peerOut)) / 1e6;
}
BENCHMARK(TextDumpProcess)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

} // namespace
