// The MIDI-to-Qe-style converter on a large style file: all 12 elements with
// every CV (40 CVs of 8 bars) and all 8 tracks playing sixteenth notes with
// sustain and pitch bends, about 92000 events (370 KB) in 320 patterns.
#include "styles/CMidiToQeStyConverter.h"
#include "tests/support/NullStream.h"
#include "tests/support/StyleMidiBuilder.h"

#include <benchmark/benchmark.h>

#include <ostream>
#include <string>

namespace {

const std::vector<uint8_t>& LargeStyle()
{
    static const std::vector<uint8_t> image = [] {
        const char* names[] = {"VAR1",  "VAR2",  "VAR3", "VAR4", "INT1",  "INT2",
                               "FILL1", "FILL2", "END1", "END2", "FILL3", "INT3"};
        const int channels[] = {10, 11, 9, 12, 13, 14, 15, 16};
        zib::test::StyleMidiBuilder b;
        b.Command(0, "Name: Benchmark Style");
        for (int ch : channels)
            b.Setup(ch, 0, 100, 121, 0, 1);
        int bar = 1;
        for (int e = 0; e < 12; ++e) {
            b.Command(bar, std::string("Element: ") + names[e]);
            for (int cv = 0; cv < (e < 4 ? 6 : 2); ++cv) {
                b.Command(bar, "CV: C Major");
                for (int k = 0; k < 8; ++k, ++bar)
                    for (int ch : channels) {
                        for (int step = 0; step < 16; ++step)
                            b.Note(ch, b.Bar(bar) + uint32_t(step) * 24, 36 + (step * 7 + ch) % 48,
                                   64 + step * 3, 20);
                        b.Channel(ch)
                            .Controller(b.Bar(bar), ch - 1, 64, 127)
                            .Controller(b.Bar(bar, 3), ch - 1, 64, 0);
                        b.Channel(ch)
                            .PitchBend(b.Bar(bar, 2), ch - 1, 0x2500)
                            .PitchBend(b.Bar(bar, 2, 48), ch - 1, 0x2000);
                    }
            }
        }
        b.EndAt(b.Bar(bar));
        return b.Build();
    }();
    return image;
}

// Argument 0: no log; 1: the conversion log (one line per event) to a stream.
void BM_ConvertLargeStyleMidi(benchmark::State& state)
{
    const std::vector<uint8_t>& midi = LargeStyle();
    zib::test::NullStream log;
    zib::CMidiToQeStyConverter converter;
    std::vector<uint8_t> file;
    for (auto _ : state) {
        const int rc = converter.ConvertToImage(midi.data(), uint32_t(midi.size()),
                                                state.range(0) ? &log : nullptr, file);
        if (rc != 0) state.SkipWithError("conversion failed");
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(midi.size()));
    state.counters["midi_bytes"] = double(midi.size());
    state.counters["style_bytes"] = double(file.size());
}
BENCHMARK(BM_ConvertLargeStyleMidi)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
