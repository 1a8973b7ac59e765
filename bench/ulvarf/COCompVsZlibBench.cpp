// COComp at the level the library stores resources with (version 3, level 2)
// against zlib's compress2 at level 6 on the same bytes, in turns within
// each iteration, per kind of input:
//   real-styles      the Qe style resources that the real Yamaha styles
//                    convert to, each compressed on its own as the library
//                    compresses a resource's chunk;
//   real-styles-one  the same resources one after the other, as one block;
//   zeros, period-3, midi-like, random: 1 MB each.
// Counters: cocomp_ms and zlib_ms (the fastest iteration of each) and
// speed_vs_zlib, zlib's time over COComp's (the target is at least 1).

#include "styles/PsrStyleConversion.h"
#include "tests/support/ByteSamples.h"
#include "tests/support/RealFixtures.h"
#include "ulvarf/COComp.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using zib::ulvarf::COComp;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr size_t kSize = 1 << 20;

enum Kind { RealStyles, RealStylesOne, Zeros, Period3, MidiLike, Random };
const char* const kNames[] = {"real-styles", "real-styles-one", "zeros", "period-3", "midi-like", "random"};

// The payloads of the style resources (what follows each resource chunk's head).
std::vector<Bytes> realStyleResources()
{
    std::vector<Bytes> resources;
    for (const auto& path : zib::test::realFixtureFiles("psr-styles")) {
        const Bytes image = zib::test::readFileBytes(path);
        const zib::PsrConversionResult result =
            zib::ConvertPsrStyle(image, path.filename().string(), zib::PsrConvertSettings{}, nullptr);
        if (result.code == 0 && result.styleResource.size() > 8)
            resources.emplace_back(result.styleResource.begin() + 8, result.styleResource.end());
    }
    return resources;
}

const std::vector<Bytes>& inputs(int kind)
{
    static const std::vector<Bytes> kinds[] = {
        realStyleResources(),
        [] {
            Bytes one;
            for (const Bytes& r : realStyleResources()) one.insert(one.end(), r.begin(), r.end());
            return one.empty() ? std::vector<Bytes>{} : std::vector<Bytes>{one};
        }(),
        {Bytes(kSize, 0)},
        {zib::test::periodicBytes(kSize, {0x90, 0x3C, 0x64})},
        {zib::test::midiLikeBytes(kSize)},
        {zib::test::randomBytes(kSize)},
    };
    return kinds[kind];
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_COCompVsZlib(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const std::vector<Bytes>& blocks = inputs(kind);
    state.SetLabel(kNames[kind]);
    if (blocks.empty()) {
        state.SkipWithError("no real styles to convert");
        return;
    }
    size_t total = 0, largest = 0;
    for (const Bytes& b : blocks) total += b.size(), largest = std::max(largest, b.size());
    Bytes out(std::max(COComp::MaxBlockSize(largest), size_t(compressBound(uLong(largest)))));

    double cocompBest = 1e9, zlibBest = 1e9;
    size_t cocompBytes = 0, zlibBytes = 0;
    for (auto _ : state) {
        double cocomp = 0, zlib = 0;
        cocompBytes = zlibBytes = 0;
        for (const Bytes& block : blocks) {
            const auto start = Clock::now();
            cocompBytes += COComp::Encode(block, out, 3, 2);
            cocomp += secondsSince(start);
            benchmark::ClobberMemory();

            const auto zlibStart = Clock::now();
            uLongf length = uLongf(out.size());
            compress2(out.data(), &length, block.data(), uLong(block.size()), 6);
            zlib += secondsSince(zlibStart);
            zlibBytes += length;
            benchmark::ClobberMemory();
        }
        state.SetIterationTime(cocomp);
        cocompBest = std::min(cocompBest, cocomp);
        zlibBest = std::min(zlibBest, zlib);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(total));
    state.counters["input_kb"] = double(total) / 1024;
    state.counters["cocomp_ms"] = cocompBest * 1e3;
    state.counters["zlib_ms"] = zlibBest * 1e3;
    state.counters["speed_vs_zlib"] = zlibBest / cocompBest;
    state.counters["cocomp_size"] = double(cocompBytes) / double(total);
    state.counters["zlib_size"] = double(zlibBytes) / double(total);
}

} // namespace

BENCHMARK(BM_COCompVsZlib)
    ->DenseRange(RealStyles, Random)
    ->UseManualTime()
    ->MinTime(2.0)
    ->Unit(benchmark::kMillisecond);
