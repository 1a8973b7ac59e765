// Opening a container of 2000 uncompressed resources of about 10 KB, as the
// converters write them: every resource is compressed on reading.

#include "ulvarf/ulvarf.h"

#include "tests/support/ByteSamples.h"
#include "tests/support/ChunkBuilder.h"
#include "tests/support/DasfImageBuilder.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const std::vector<uint8_t>& bigImage()
{
    static const std::vector<uint8_t> image = [] {
        std::vector<zib::test::DasfResource> resources(2000);
        for (size_t i = 0; i < resources.size(); ++i) {
            resources[i].name = "Style " + std::to_string(i);
            resources[i].chunk = zib::test::ChunkBuilder()
                                     .open(0x06, 0, 0, 0x10)
                                     .leaf(0x01, 0, 0, 0x08, zib::test::midiLikeBytes(10000, uint32_t(i + 1)))
                                     .close()
                                     .bytes();
        }
        return zib::test::dasfImage(resources);
    }();
    return image;
}

void BM_OpenContainer2000Resources(benchmark::State& state)
{
    const auto& image = bigImage();
    for (auto _ : state) {
        ULRFContainer* container = _ULRFCreateInstance(image.data(), uint32_t(image.size()));
        benchmark::DoNotOptimize(container);
        _ULRFDeleteInstance(container);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size()));
}

void BM_WriteContainer2000Resources(benchmark::State& state)
{
    const auto& image = bigImage();
    ULRFContainer* container = _ULRFCreateInstance(image.data(), uint32_t(image.size()));
    std::vector<uint8_t> out(size_t(_ULRFOutBufferSize(container)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(_ULRFFillOutBuffer(container, out.data()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
    _ULRFDeleteInstance(container);
}

} // namespace

BENCHMARK(BM_OpenContainer2000Resources)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteContainer2000Resources)->Unit(benchmark::kMillisecond);
