// The Wq-to-Qe conversion of maximal Wq styles: every one of the 216 tracks
// holds 16 bars of notes and the image fills the largest style a keyboard
// takes (0xFFE0 bytes); and every track refers to a 16-bar Wq pattern that
// is played in place, as large as the 300000-byte output allows.
#include "styles/CWqToQeConverter.h"
#include "tests/support/WqImageBuilder.h"

#include <benchmark/benchmark.h>

using zib::CWqToQeConverter;
using zib::test::WqEv;
using zib::test::WqEvents;
using zib::test::WqImageBuilder;

namespace {

// 16 bars with `perBar` notes each, and the end.
WqEvents bars16(size_t perBar, uint8_t firstNote, uint8_t mark = 0, uint8_t pattern = 0)
{
    WqEvents events;
    for (int bar = 0; bar < 16; ++bar) {
        events.push_back(WqEv::bar(uint16_t(bar), 19, bar == 0 ? mark : uint8_t(mark ? 2 : 0), pattern));
        for (size_t i = 0; i < perBar; ++i)
            events.push_back(WqEv::note(uint16_t(i * 384 / perBar), uint8_t(firstNote + i % 24), 100, 20));
    }
    events.push_back(WqEv::end(15));
    return events;
}

const std::vector<uint8_t>& MaximalImage()
{
    static const std::vector<uint8_t> image = [] {
        WqImageBuilder b('M');
        const size_t events = (0xFFE0 - b.headSize()) / 4;
        const size_t perTrack = events / 216;
        const size_t perBar = (perTrack - 17) / 16;
        for (int e = 0; e < 10; ++e)
            for (int c = 0; c < (e < 4 ? 6 : 2); ++c) {
                b.cv(e, c, uint8_t(2 * c), 16);
                for (int t = 0; t < 6; ++t) b.slot(e, c, t, bars16(perBar, uint8_t(36 + 4 * t)));
            }
        return b.build();
    }();
    return image;
}

const std::vector<uint8_t>& PatternImage()
{
    static const std::vector<uint8_t> image = [] {
        WqImageBuilder b('9');
        for (int p = 0; p < 6; ++p) b.pattern(p, 19, 16, bars16(9, uint8_t(40 + p)));
        for (int e = 0; e < 10; ++e)
            for (int c = 0; c < (e < 4 ? 6 : 2); ++c) {
                b.cv(e, c, uint8_t(2 * c + 1), 16);
                for (int t = 0; t < 6; ++t) {
                    WqEvents refs;
                    for (int bar = 0; bar < 16; ++bar)
                        refs.push_back(WqEv::bar(uint16_t(bar), 19, bar == 0 ? 3 : 2, uint8_t(t)));
                    refs.push_back(WqEv::end(15));
                    b.slot(e, c, t, refs);
                }
            }
        return b.build();
    }();
    return image;
}

void Convert(benchmark::State& state, const std::vector<uint8_t>& image, char model)
{
    std::vector<uint8_t> out(CWqToQeConverter::kOutputCapacity);
    int written = 0;
    for (auto _ : state) {
        CWqToQeConverter converter;
        written = converter.Convert(image.data(), image.size(), uint32_t(uint8_t(model)), out.data(), out.size());
        if (written <= 0) state.SkipWithError("conversion failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size()));
    state.counters["image"] = double(image.size());
    state.counters["body"] = double(written);
}

void BM_ConvertMaximalStyle(benchmark::State& state) { Convert(state, MaximalImage(), 'M'); }
void BM_ConvertPatternStyle(benchmark::State& state) { Convert(state, PatternImage(), '9'); }

} // namespace

BENCHMARK(BM_ConvertMaximalStyle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertPatternStyle)->Unit(benchmark::kMillisecond);
