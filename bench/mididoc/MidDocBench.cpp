// The MIDI document with a large file: opening, the text dump, writing it
// back changed, and one undo group of ten thousand deletions.
#include "mididoc/core/CZibMidDoc.h"
#include "mididoc/core/MidiTextDump.h"
#include "tests/support/SmfBuilder.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zib;

// 16 tracks of four notes a beat over 200 bars, with controllers and a marker per bar.
const std::vector<uint8_t>& bigSong()
{
    static const std::vector<uint8_t> image = [] {
        test::SmfBuilder smf(1, 384);
        test::SmfTrack& conductor = smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000);
        for (uint32_t bar = 0; bar < 200; ++bar)
            conductor.Marker(bar * 1536, "Bar " + std::to_string(bar + 1));
        for (int k = 0; k < 16; ++k) {
            test::SmfTrack& t = smf.AddTrack().TrackName(0, "Track " + std::to_string(k + 1)).Program(0, k, k);
            for (uint32_t beat = 0; beat < 800; ++beat) {
                const uint32_t tick = beat * 384;
                for (int n = 0; n < 4; ++n)
                    t.NoteOn(tick + uint32_t(n) * 96, k, 40 + n, 90).NoteOff(tick + uint32_t(n) * 96 + 90, k, 40 + n);
                t.Controller(tick, k, 11, int(beat % 128));
            }
        }
        return smf.Build();
    }();
    return image;
}

void OpenDocument(benchmark::State& state)
{
    for (auto _ : state) {
        CZibMidDoc doc;
        benchmark::DoNotOptimize(doc.LoadImage("/bench/Big.mid", bigSong()));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bigSong().size()));
}
BENCHMARK(OpenDocument)->Unit(benchmark::kMillisecond);

void TextDump(benchmark::State& state)
{
    CZibMidDoc doc;
    doc.LoadImage("/bench/Big.mid", bigSong());
    for (auto _ : state)
        benchmark::DoNotOptimize(MidiTextDump(doc, "Big.mid"));
}
BENCHMARK(TextDump)->Unit(benchmark::kMillisecond);

void WriteChangedFile(benchmark::State& state)
{
    CZibMidDoc doc;
    doc.LoadImage("/bench/Big.mid", bigSong());
    for (int t = 0; t < CMidiParserEx::kMaxTracks; ++t)
        doc.Sequence().SetTrackModified(t, 1);
    doc.SetModified(true);
    std::vector<uint8_t> image;
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.BuildFileImage(image));
}
BENCHMARK(WriteChangedFile)->Unit(benchmark::kMillisecond);

// One command that deleted ten thousand events, undone and redone.
void UndoRedoLargeGroup(benchmark::State& state)
{
    CZibMidDoc doc;
    doc.LoadImage("/bench/Big.mid", bigSong());
    CMidiParserEx& sequence = doc.Sequence();
    uint32_t group = 1;
    for (size_t i = sequence.GetEventCount(), n = 0; i-- > 0 && n < 10000; ++n) {
        doc.UndoManager().RecordAction(UndoTargetEvent, *sequence.GetEvent(i), UndoDelete, group, int32_t(i),
                                       int32_t(i));
        group = 0;
        sequence.RemoveEvent(i);
    }
    for (auto _ : state) {
        doc.Undo();
        doc.Redo();
    }
}
BENCHMARK(UndoRedoLargeGroup)->Unit(benchmark::kMillisecond);

} // namespace
