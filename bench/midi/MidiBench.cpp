// Throughput of the MIDI file model on large synthetic files.
#include "midi/CMidiFile.h"
#include "midi/CMidiFileEx.h"
#include "midi/CMidiParserEx.h"
#include "platform/ByteWriter.h"
#include "tests/support/SmfBuilder.h"

#include <benchmark/benchmark.h>

#include <random>
#include <sys/resource.h>

using namespace zib;
using zib::test::SmfBuilder;

namespace {

// About 10 MB and 1M events in 16 tracks: notes and controllers with
// running status, every fourth event a lyric text.
const std::vector<uint8_t>& LargeFile()
{
    static const std::vector<uint8_t> image = [] {
        SmfBuilder b(1, 480);
        b.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000);
        std::mt19937 rng(1);
        for (int t = 0; t < 16; ++t) {
            auto& track = b.AddTrack();
            uint32_t tick = 0;
            for (int i = 0; i < 62500; ++i) {
                tick += rng() % 40;
                if (i % 4 == 3)
                    track.Text(tick, 0x05, "lyric text of a song line");
                else if (i % 2)
                    track.NoteOff(tick, t, 40 + int(rng() % 40));
                else
                    track.NoteOn(tick, t, 40 + int(rng() % 40), 1 + int(rng() % 126));
            }
        }
        return b.Build();
    }();
    return image;
}

// 64 tracks, 500k events: notes of 63 instruments under one conductor
// track. Written directly, so that the memory high-water mark belongs to the
// parse and not to building the file.
const std::vector<uint8_t>& SixtyFourTrackFile()
{
    static const std::vector<uint8_t> image = [] {
        ByteWriter w;
        w.text("MThd");
        w.u32be(6);
        w.u16be(1);
        w.u16be(64);
        w.u16be(384);
        const uint8_t conductor[] = {0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, 0x00, 0xFF,
                                     0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00};
        w.text("MTrk");
        w.u32be(sizeof conductor);
        w.bytes(conductor, sizeof conductor);
        std::mt19937 rng(2);
        for (int t = 1; t < 64; ++t) {
            const size_t mark = w.size();
            w.text("MTrk");
            w.u32be(0);
            const uint8_t channel = uint8_t(t % 16);
            for (int i = 0; i < 7936 / 2; ++i) {
                const uint8_t key = uint8_t(30 + rng() % 60);
                w.varLen(rng() % 100);
                const uint8_t on[] = {uint8_t(0x90 | channel), key, 100};
                w.bytes(on, sizeof on);
                w.varLen(1 + rng() % 200);
                const uint8_t off[] = {uint8_t(0x80 | channel), key, 0};
                w.bytes(off, sizeof off);
            }
            const uint8_t end[] = {0x00, 0xFF, 0x2F, 0x00};
            w.bytes(end, sizeof end);
            w.patchU32be(mark + 4, uint32_t(w.size() - mark - 8));
        }
        return w.take();
    }();
    return image;
}

class NoOpReader : public CMidiFile {};

void BM_CMidiFileParse(benchmark::State& state)
{
    const auto& image = LargeFile();
    NoOpReader reader;
    for (auto _ : state) {
        const int rc = reader.ParseMemory(image.data(), uint32_t(image.size()));
        if (rc) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(rc);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size()));
    state.counters["MB"] = double(image.size()) / 1e6;
}
BENCHMARK(BM_CMidiFileParse)->Unit(benchmark::kMillisecond);

long PeakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_CMidiParserExParseImage(benchmark::State& state)
{
    const auto& image = SixtyFourTrackFile();
    const long before = PeakRssKb();
    size_t events = 0;
    for (auto _ : state) {
        CMidiParserEx parser;
        const int rc = parser.ParseImage(image.data(), uint32_t(image.size()));
        if (rc) state.SkipWithError("parse failed");
        events = parser.GetEventCount();
    }
    state.counters["events"] = double(events);
    state.counters["imageMB"] = double(image.size()) / 1e6;
    state.counters["peakRSS_MB"] = double(PeakRssKb()) / 1024.0;
    state.counters["peakRSSGrowth_MB"] = double(PeakRssKb() - before) / 1024.0;
}
BENCHMARK(BM_CMidiParserExParseImage)->Unit(benchmark::kMillisecond);

void BM_TickToMbt(benchmark::State& state)
{
    CMidiFileEx map;
    // 10,000 measures with a signature change every 7 measures
    const uint8_t numerators[] = {4, 3, 6, 5, 7};
    for (int m = 0; m < 10000; m += 7)
        map.SetTimeSignature(m, numerators[(m / 7) % 5], m % 2 ? 8 : 4, m + 7);
    map.SetTimeSignature(9999, 4, 4, -1);
    const uint32_t end = map.GetEndOfLastMeasure();
    std::mt19937 rng(3);
    std::vector<uint32_t> ticks(4096);
    for (auto& t : ticks)
        t = rng() % end;
    size_t i = 0;
    uint32_t m = 0, b = 0, t = 0;
    for (auto _ : state) {
        map.TickToMbt(ticks[i++ & 4095], m, b, t);
        benchmark::DoNotOptimize(m);
    }
    state.counters["measures"] = double(map.GetTimeSigCount());
}
BENCHMARK(BM_TickToMbt);

} // namespace
