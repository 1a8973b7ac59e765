// Property event stream decode and encode rates (events per second), and
// the Standard MIDI File export and import of a dense chord variation.

#include "ulvarf/CDecProp.h"
#include "ulvarf/CDecSMF0.h"
#include "ulvarf/CEncoderProp.h"
#include "ulvarf/CEncoderSMF0.h"
#include "ulvarf/CEventsPool.h"
#include "ulvarf/EventCell.h"

#include "tests/ulvarf/PropEventSamples.h"

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace {

using namespace zib::ulvarf;
using Bytes = std::vector<uint8_t>;

constexpr size_t kEvents = 2000;

// A dense pattern in its stored form (notes with durations).
const std::vector<PropEvent>& storedEvents()
{
    static const std::vector<PropEvent> events = zib::test::densePatternEvents(kEvents, false);
    return events;
}

const Bytes& storedStream()
{
    static const Bytes stream = CEncoderProp::CopyEvents(storedEvents()).value();
    return stream;
}

void BM_PropDecodeEvents(benchmark::State& state)
{
    std::vector<PropEvent> events;
    for (auto _ : state) {
        events.clear();
        benchmark::DoNotOptimize(CDecProp::DecodeEvents(storedStream(), events));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(storedEvents().size()));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(storedStream().size()));
}

void BM_PropDecodeCells(benchmark::State& state)
{
    for (auto _ : state) {
        CDecProp decoder(storedStream());
        uint32_t delta = 0;
        for (EventCell* cell; (cell = decoder.ExtractEvent(delta));) decoder.pool().FreeEvents(cell);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(storedEvents().size()));
}

void BM_PropDecodeGroups(benchmark::State& state)
{
    for (auto _ : state) {
        CDecProp decoder(storedStream());
        EventCell* group = nullptr;
        while (decoder.NextGroup(group) >= 0) decoder.pool().FreeEvents(group);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(storedEvents().size()));
}

void BM_PropCopyEvents(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(CEncoderProp::CopyEvents(storedEvents()));
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(storedEvents().size()));
}

// Both switches off: notes expanded into note on and note off.
void BM_PropEncodeExpanded(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(CEncoderProp::EncodeEvents(storedEvents(), PropSwitches::BothOff()));
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(storedEvents().size()));
}

// Both switches on, from plain note ons and offs: the pairing of a stored stream.
void BM_PropEncodePaired(benchmark::State& state)
{
    static const std::vector<PropEvent> plain = zib::test::densePatternEvents(kEvents, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(CEncoderProp::EncodeEvents(plain, PropSwitches::BothOn()));
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(plain.size()));
}

// A chord variation of 8 dense tracks of about 2000 events each.
struct DenseCv {
    std::array<Bytes, 8> streams;
    SmfExportCv cv;
    size_t events = 0;

    DenseCv()
    {
        const std::vector<PropEvent>& pattern = storedEvents();
        cv.bars = (pattern.back().tick + 1535) / 1536;
        for (size_t t = 0; t < 8; ++t) {
            streams[t] = storedStream();
            cv.tracks[t].created = true;
            cv.tracks[t].stream = streams[t];
            cv.tracks[t].patternLength = cv.bars * 1536;
            events += pattern.size();
        }
    }
};

const DenseCv& denseCv()
{
    static const DenseCv cv;
    return cv;
}

void BM_SmfExportCv(benchmark::State& state)
{
    size_t size = 0;
    for (auto _ : state) {
        auto image = CEncoderSMF0::ExportCv(denseCv().cv);
        size = image ? image->size() : 0;
        benchmark::DoNotOptimize(image);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(denseCv().events));
    state.counters["file bytes"] = double(size);
}

// The file of the CV above; the import keeps its first 32 bars.
void BM_SmfImportCv(benchmark::State& state)
{
    static const Bytes image = CEncoderSMF0::ExportCv(denseCv().cv).value();
    static const size_t imported = [] {
        SmfImportResult result;
        CDecSMF0::ImportCv(image, {}, result);
        size_t n = 0;
        for (const SmfImportTrack& track : result.tracks) {
            std::vector<PropEvent> events;
            CDecProp::DecodeEvents(track.stream, events);
            n += events.size();
        }
        return n;
    }();
    for (auto _ : state) {
        SmfImportResult result;
        benchmark::DoNotOptimize(CDecSMF0::ImportCv(image, {}, result));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(imported));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size()));
}

} // namespace

BENCHMARK(BM_PropDecodeEvents);
BENCHMARK(BM_PropDecodeCells);
BENCHMARK(BM_PropDecodeGroups);
BENCHMARK(BM_PropCopyEvents);
BENCHMARK(BM_PropEncodeExpanded);
BENCHMARK(BM_PropEncodePaired);
BENCHMARK(BM_SmfExportCv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmfImportCv)->Unit(benchmark::kMillisecond);
