// Collecting a full Wq CV set: the 36 chord-variation files of a style whose
// every track plays a dense four-bar pattern (128 notes per track and CV,
// about 28000 notes in all), as the Wq style export writes them.
#include "styles/CMidiCollect.h"
#include "styles/CWqStyleFile.h"
#include "tests/support/NullStream.h"
#include "tests/support/TempDir.h"
#include "tests/support/WqImageBuilder.h"

#include <benchmark/benchmark.h>

#include <ostream>
#include <string>

using zib::test::WqEv;
using zib::test::WqEvents;
using zib::test::WqImageBuilder;

namespace {

constexpr const char* kTerminators[] = {"V11", "V12", "V13", "V14", "V15", "V16", "V21", "V22", "V23",
                                        "V24", "V25", "V26", "V31", "V32", "V33", "V34", "V35", "V36",
                                        "V41", "V42", "V43", "V44", "V45", "V46", "I11", "I12", "I21",
                                        "I22", "E11", "E12", "E21", "E22", "F11", "F12", "F21", "F22"};

// The set, written once into a folder that lives as long as the program.
const zib::test::TempDir& FullSet()
{
    static const zib::test::TempDir dir;
    static const bool written = [] {
        constexpr int kBars = 4;
        constexpr int kNotesPerBar = 32;
        WqImageBuilder b('M');
        b.name("Bench").tempo(120).timeSig(19);
        WqEvents refs;
        for (int bar = 0; bar < kBars; ++bar)
            refs.push_back(WqEv::bar(uint16_t(bar), 19, bar == 0 ? 3 : 2, 0));
        refs.push_back(WqEv::end(kBars - 1));
        for (int e = 0; e < 10; ++e)
            for (int cv = 0; cv < (e < 4 ? 6 : 2); ++cv) {
                b.cv(e, cv, uint8_t(cv), kBars);
                for (int t = 0; t < 6; ++t)
                    b.slot(e, cv, t, refs);
            }
        WqEvents pattern;
        for (int bar = 0; bar < kBars; ++bar) {
            pattern.push_back(WqEv::bar(uint16_t(bar)));
            for (int i = 0; i < kNotesPerBar; ++i)
                pattern.push_back(WqEv::note(uint16_t(i * 12), uint8_t(36 + (i * 7) % 48), 100, 10));
        }
        pattern.push_back(WqEv::end(kBars - 1));
        b.pattern(0, 19, kBars, pattern);
        const auto image = b.build();
        zib::CWqStyleFile style(image.data(), image.size(), 'M');
        for (int e = 0; e < 10; ++e)
            for (int cv = 0; cv < (e < 4 ? 6 : 2); ++cv) {
                const int slot = e < 4 ? e * 6 + cv : e * 2 + 16 + cv;
                if (style.DumpChordVarToMidi(uint8_t(e), uint8_t(cv), 255,
                                             dir / (std::string("Bench") + kTerminators[slot] + ".mid")) != 0)
                    return false;
            }
        return true;
    }();
    (void)written;
    return dir;
}

void Collect(benchmark::State& state, std::ostream* log)
{
    const auto& dir = FullSet();
    size_t bytes = 0;
    for (auto _ : state) {
        const zib::CvCollectResult result = zib::CollectWqCvMidi(dir / "BenchV11.mid", {}, log);
        if (result.code != 0) state.SkipWithError(result.errorText.c_str());
        bytes = std::filesystem::file_size(result.outputPath);
    }
    state.counters["collected_bytes"] = double(bytes);
}

void BM_CollectWqSet(benchmark::State& state)
{
    Collect(state, nullptr);
}
BENCHMARK(BM_CollectWqSet)->Unit(benchmark::kMillisecond);

void BM_CollectWqSetWithLog(benchmark::State& state)
{
    zib::test::NullStream log;
    Collect(state, &log);
}
BENCHMARK(BM_CollectWqSetWithLog)->Unit(benchmark::kMillisecond);

} // namespace
