// The Wq style dumps on a maximal image: a 16-bar pattern of about 12000
// notes that every one of the 216 tracks refers to, so the MIDI export plays
// it 216 times (about 5M MIDI events, 20 MB of tracks).
#include "styles/CWqStyleFile.h"
#include "tests/support/NullStream.h"
#include "tests/support/WqImageBuilder.h"

#include <benchmark/benchmark.h>

#include <ostream>

using zib::CWqStyleFile;
using zib::test::WqEv;
using zib::test::WqEvents;
using zib::test::WqImageBuilder;

namespace {

const std::vector<uint8_t>& MaximalImage()
{
    static const std::vector<uint8_t> image = [] {
        WqImageBuilder b('M');
        WqEvents refs;
        for (int bar = 0; bar < 16; ++bar) refs.push_back(WqEv::bar(uint16_t(bar), 19, bar == 0 ? 3 : 2, 0));
        refs.push_back(WqEv::end(15));
        for (int e = 0; e < 10; ++e)
            for (int c = 0; c < (e < 4 ? 6 : 2); ++c) {
                b.cv(e, c, uint8_t(c), 16);
                for (int t = 0; t < 6; ++t) b.slot(e, c, t, refs);
            }
        size_t used = b.headSize() + 216 * WqImageBuilder::bytesOf(refs).size();
        size_t perBar = ((0xFFE0 - 4 - used) / 4 - 17) / 16;
        WqEvents pattern;
        for (int bar = 0; bar < 16; ++bar) {
            pattern.push_back(WqEv::bar(uint16_t(bar)));
            for (size_t i = 0; i < perBar; ++i)
                pattern.push_back(WqEv::note(uint16_t(i * 384 / perBar), uint8_t(36 + i % 48), 100, 24));
        }
        pattern.push_back(WqEv::end(15));
        b.pattern(0, 19, 16, pattern);
        return b.build();
    }();
    return image;
}

void BM_DumpStyleToMidi(benchmark::State& state)
{
    const auto& image = MaximalImage();
    CWqStyleFile style(image.data(), image.size(), 'M');
    size_t bytes = 0;
    for (auto _ : state) {
        std::vector<uint8_t> file;
        if (style.BuildStyleMidi(file) != 0) state.SkipWithError("export failed");
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["image_bytes"] = double(image.size());
    state.counters["midi_bytes"] = double(bytes);
}
BENCHMARK(BM_DumpStyleToMidi)->Unit(benchmark::kMillisecond);

void BM_DumpToText(benchmark::State& state)
{
    const auto& image = MaximalImage();
    CWqStyleFile style(image.data(), image.size(), 'M');
    zib::test::NullStream out;
    for (auto _ : state) {
        if (style.DumpToText(out, zib::WqDumpDate{1, 1, 2000}) != 1) state.SkipWithError("dump failed");
    }
    state.counters["image_bytes"] = double(image.size());
}
BENCHMARK(BM_DumpToText)->Unit(benchmark::kMillisecond);

} // namespace
