#pragma once

#include "tests/support/ProcessRun.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace zib::test {

// The middle value (the mean of the two middle ones for an even count)
inline double median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// midicsv on `file`, writing its CSV to `out`; the run's wall time, or a
// negative value (and the benchmark marked failed) when it did not run
inline double runMidicsv(benchmark::State& state, const std::filesystem::path& file, const std::string& out)
{
    const ProcessRun peer = runProcess({"midicsv", file.string(), out});
    if (!peer.started || peer.exitCode != 0) {
        state.SkipWithError("midicsv did not run (Debian package midicsv)");
        return -1;
    }
    return peer.seconds;
}

// One iteration of a side-by-side run of whole processes: `ours` (a program
// and its arguments), then midicsv on `file` writing to `peerOut`; both wall
// times are noted. False, and the benchmark marked failed with `failure` when
// ours did not run to a zero exit, when either did not run.
inline bool runBothProcesses(benchmark::State& state, const std::vector<std::string>& ours,
                             const char* failure, const std::filesystem::path& file,
                             const std::string& peerOut, std::vector<double>& oursSeconds,
                             std::vector<double>& peerSeconds)
{
    const ProcessRun run = runProcess(ours);
    if (!run.started || run.exitCode != 0) {
        state.SkipWithError(failure);
        return false;
    }
    const double p = runMidicsv(state, file, peerOut);
    if (p < 0) return false;
    state.SetIterationTime(run.seconds);
    oursSeconds.push_back(run.seconds);
    peerSeconds.push_back(p);
    return true;
}

// The counters of a side-by-side run: both medians in milliseconds and the
// ratio of ours to the peer's (below 1: faster than midicsv)
inline void reportSideBySide(benchmark::State& state, const std::vector<double>& ours,
                             const std::vector<double>& peer)
{
    const double o = median(ours), p = median(peer);
    state.counters["ours_ms"] = o * 1e3;
    state.counters["midicsv_ms"] = p * 1e3;
    state.counters["ours/midicsv"] = p > 0 ? o / p : 0;
    state.counters["midicsv/ours"] = o > 0 ? p / o : 0;
}

} // namespace zib::test
