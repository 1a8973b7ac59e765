// Converting the largest real Yamaha PSR style into a Qe style body: one
// first pass and one more pass over the whole file for every pattern (more
// than a hundred), with and without the dump log. Skipped when the real
// styles are absent.
#include "styles/CPsrStyConverter.h"
#include "styles/ConversionLogSink.h"
#include "tests/support/NullStream.h"
#include "tests/support/RealFixtures.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <ostream>

namespace {

const std::vector<uint8_t>& LargestStyle()
{
    static const std::vector<uint8_t> image = [] {
        std::filesystem::path largest;
        for (const auto& path : zib::test::realFixtureFiles("psr-styles"))
            if (largest.empty() || std::filesystem::file_size(path) > std::filesystem::file_size(largest)) largest = path;
        return largest.empty() ? std::vector<uint8_t>() : zib::test::readFileBytes(largest);
    }();
    return image;
}

void ConvertLargestStyle(benchmark::State& state, bool withLog)
{
    const std::vector<uint8_t>& image = LargestStyle();
    if (image.empty()) {
        state.SkipWithError("no real PSR styles");
        return;
    }
    zib::test::NullStream out;
    zib::COStreamLogSink sink(out);
    size_t outputBytes = 0;
    for (auto _ : state) {
        zib::CPsrStyConverter converter;
        if (withLog) converter.SetLog(&sink);
        if (converter.Convert(image) != 0) {
            state.SkipWithError("conversion failed");
            return;
        }
        outputBytes = converter.GetOutputSize();
        benchmark::DoNotOptimize(converter.GetOutput().data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size()));
    state.counters["output_bytes"] = double(outputBytes);
}

void BM_PsrConvertLargest(benchmark::State& state) { ConvertLargestStyle(state, false); }
void BM_PsrConvertLargestWithLog(benchmark::State& state) { ConvertLargestStyle(state, true); }

} // namespace

BENCHMARK(BM_PsrConvertLargest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PsrConvertLargestWithLog)->Unit(benchmark::kMillisecond);
