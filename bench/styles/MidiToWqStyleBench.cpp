// The MIDI-to-Wq-style converter on a large style MIDI file: all 36 chord
// variations of 4 bars at division 480, six tracks of eighth notes (DRUM in
// sixteenths) with controllers and pitch bends: 8064 notes in a 72 KB file.
#include "styles/CMidiToWqStyConverter.h"
#include "tests/support/NullStream.h"
#include "tests/support/StyleMidiBuilder.h"

#include <benchmark/benchmark.h>

#include <ostream>

using zib::test::StyleMidiBuilder;

namespace {

const char* const kElements[] = {"VAR1", "VAR2", "VAR3", "VAR4",  "INT1",
                                 "INT2", "END1", "END2", "FILL1", "FILL2"};
const char* const kKeys[] = {"CMajor", "Dmin", "EMajor", "Fmin", "GMajor", "Amin"};

const std::vector<uint8_t>& LargeStyleMidi()
{
    static const std::vector<uint8_t> midi = [] {
        StyleMidiBuilder b(480);
        const uint32_t bar = b.TicksPerBar();
        uint32_t at = bar; // bar 1 is the setup bar
        int cvIndex = 0;
        for (int e = 0; e < 10; ++e) {
            b.Command(at, std::string("Element: ") + kElements[e], StyleMidiBuilder::kText);
            for (int cv = 0; cv < (e < 4 ? 6 : 2); ++cv, ++cvIndex) {
                b.Command(at, std::string("CV: ") + kKeys[cv], StyleMidiBuilder::kText);
                for (uint32_t m = 0; m < 4; ++m) {
                    uint32_t start = at + m * bar;
                    for (uint32_t i = 0; i < 16; ++i)
                        b.NoteSpan(10, start + i * 120, start + i * 120 + 60,
                                   36 + int((i + m + uint32_t(cvIndex)) % 12));
                    for (int track = 1; track < 6; ++track) {
                        for (uint32_t i = 0; i < 8; ++i)
                            b.NoteSpan(10 + track, start + i * 240 + 7, start + i * 240 + 200,
                                       40 + track * 5 + int((i * 7 + m) % 12), 60 + int(i * 5));
                        b.Channel(10 + track).Controller(start + 13, 9 + track, 11, int(60 + m * 10));
                        b.Channel(10 + track).PitchBend(start + 600, 9 + track, 0x2000 + int(m * 64));
                    }
                }
                at += 4 * bar;
            }
        }
        b.Conductor().EndAt(at);
        return b.Build();
    }();
    return midi;
}

void BM_ConvertLargeStyleMidi(benchmark::State& state)
{
    const std::vector<uint8_t>& midi = LargeStyleMidi();
    zib::test::NullStream log;
    for (auto _ : state) {
        zib::CMidiToWqStyConverter converter;
        converter.SetModel('M');
        std::vector<uint8_t> file;
        int rc = converter.ConvertToImage(midi.data(), uint32_t(midi.size()), state.range(0) ? &log : nullptr,
                                          file);
        if (rc != 0) state.SkipWithError("conversion failed");
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(midi.size()));
    state.counters["file_bytes"] = double(midi.size());
}
BENCHMARK(BM_ConvertLargeStyleMidi)->Arg(0)->Arg(1)->ArgName("log")->Unit(benchmark::kMillisecond);

} // namespace
