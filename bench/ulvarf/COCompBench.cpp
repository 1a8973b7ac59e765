// COComp encode and decode throughput on pattern-like, random and degenerate
// data, with zlib at level 6 and memcpy on the same bytes for reference.

#include "ulvarf/COComp.h"

#include "tests/support/ByteSamples.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstring>
#include <vector>

namespace {

using zib::ulvarf::COComp;
using Bytes = std::vector<uint8_t>;

constexpr size_t kSize = 1 << 20;

enum Kind { MidiLike, Random, Zeros, Period3 };

const Bytes& sample(int kind)
{
    static const Bytes samples[] = {
        zib::test::midiLikeBytes(kSize),
        zib::test::randomBytes(kSize),
        Bytes(kSize, 0),
        zib::test::periodicBytes(kSize, {0x90, 0x3C, 0x64}),
    };
    return samples[kind];
}

void setLabel(benchmark::State& state, int kind)
{
    static const char* names[] = {"midi-like", "random", "zeros", "period-3"};
    state.SetLabel(names[kind]);
}

Bytes encode(const Bytes& input, int level)
{
    Bytes block(COComp::MaxBlockSize(input.size()));
    block.resize(COComp::Encode(input, block, 3, level));
    return block;
}

void BM_COCompEncode(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const int level = int(state.range(1));
    const Bytes& input = sample(kind);
    Bytes block(COComp::MaxBlockSize(input.size()));
    uint32_t length = 0;
    for (auto _ : state) {
        length = COComp::Encode(input, block, 3, level);
        benchmark::DoNotOptimize(length);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input.size()));
    state.counters["ratio"] = double(length) / double(input.size());
    setLabel(state, kind);
}

void BM_COCompDecode(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const Bytes& input = sample(kind);
    const Bytes block = encode(input, 2);
    Bytes out(input.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(COComp::Decode(block, out, true));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input.size()));
    setLabel(state, kind);
}

void BM_ZlibCompress6(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const Bytes& input = sample(kind);
    Bytes out(compressBound(uLong(input.size())));
    uLongf length = 0;
    for (auto _ : state) {
        length = uLongf(out.size());
        compress2(out.data(), &length, input.data(), uLong(input.size()), 6);
        benchmark::DoNotOptimize(length);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input.size()));
    state.counters["ratio"] = double(length) / double(input.size());
    setLabel(state, kind);
}

void BM_ZlibUncompress(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const Bytes& input = sample(kind);
    Bytes packed(compressBound(uLong(input.size())));
    uLongf packedLength = uLongf(packed.size());
    compress2(packed.data(), &packedLength, input.data(), uLong(input.size()), 6);
    Bytes out(input.size());
    for (auto _ : state) {
        uLongf length = uLongf(out.size());
        uncompress(out.data(), &length, packed.data(), packedLength);
        benchmark::DoNotOptimize(length);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input.size()));
    setLabel(state, kind);
}

void BM_Memcpy(benchmark::State& state)
{
    const Bytes& input = sample(Random);
    Bytes out(input.size());
    for (auto _ : state) {
        std::memcpy(out.data(), input.data(), input.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input.size()));
}

void allKinds(benchmark::internal::Benchmark* b)
{
    for (int kind : {MidiLike, Random, Zeros, Period3}) b->Arg(kind);
}

void allKindsAndLevels(benchmark::internal::Benchmark* b)
{
    for (int kind : {MidiLike, Random, Zeros, Period3})
        for (int level : {0, 1, 2}) b->Args({kind, level});
}

} // namespace

BENCHMARK(BM_COCompEncode)->Apply(allKindsAndLevels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_COCompDecode)->Apply(allKinds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibCompress6)->Apply(allKinds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibUncompress)->Apply(allKinds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
