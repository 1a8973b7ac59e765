// Serialising a maximal style (12 elements, all 40 CVs, 8 dense tracks of
// about 2000 events each) with its sharing and splitting, reading it back
// with its merging, and sharing alone over a growing number of chunks that
// agree in id and length, which must stay linear.

#include "ulvarf/CNstQeIfc.h"
#include "ulvarf/CPropPattUnmerge.h"
#include "ulvarf/CQeStyleReader.h"
#include "ulvarf/CQeStyleTree.h"
#include "ulvarf/CQeStyleWriter.h"
#include "ulvarf/CResourceInstance.h"
#include "ulvarf/CStyleEditor.h"

#include "tests/support/ByteSamples.h"
#include "tests/support/QeStyleBuilder.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <vector>

namespace {

using zib::ulvarf::CNstQeIfc;
using zib::ulvarf::CNstStyle;
using zib::ulvarf::CQeStyleTree;

constexpr uint32_t kPatternTicks = 8 * 1536;
constexpr uint32_t kEventsPerTrack = 2000;

// A dense pattern of 8 bars: 1000 short notes one after the other, now and
// then with a controller that comes back to rest before the next note, so
// that the pattern splits.
std::vector<uint8_t> densePattern(zib::test::SampleRandom& random)
{
    zib::test::PropStreamBuilder b;
    const uint32_t step = kPatternTicks / (kEventsPerTrack / 2);
    for (uint32_t i = 0; i < kEventsPerTrack / 2; ++i) {
        const uint32_t at = i * step;
        const uint8_t key = uint8_t(36 + random.below(48));
        b.noteOn(at, key, uint8_t(1 + random.below(127)));
        if (random.below(8) == 0) b.control(at + 1, 1, uint8_t(random.below(128))).control(at + 2, 1, 0);
        b.noteOff(at + step / 2, key);
    }
    return b.end(kPatternTicks);
}

// The dense patterns, made once: one per element, CV and track; every third
// CV of an element plays the patterns of its CV 0, so sharing has work.
const std::vector<std::vector<uint8_t>>& densePatterns()
{
    static const std::vector<std::vector<uint8_t>> patterns = [] {
        zib::test::SampleRandom random(11);
        std::vector<std::vector<uint8_t>> out;
        for (int i = 0; i < 12 * 6 * 8; ++i) out.push_back(densePattern(random));
        return out;
    }();
    return patterns;
}

// The first `elements` elements of the maximal style.
std::unique_ptr<CNstQeIfc> maximalStyle(int elements)
{
    auto style = CNstQeIfc::NewStyle();
    const auto& patterns = densePatterns();
    for (int e = 0; e < elements; ++e) {
        const int cvs = e < 4 ? 6 : 2;
        for (int c = 0; c < cvs; ++c) {
            zib::ulvarf::CNstChordVar& cv = style->ChordVar(e, c);
            cv.bars = 8;
            cv.length = kPatternTicks;
            const int source = c % 3 == 2 ? 0 : c;
            for (int t = 0; t < 8; ++t) {
                zib::ulvarf::CNstPattern& pattern = style->Pattern(e, c, t);
                pattern.length = kPatternTicks;
                pattern.bars = 8;
                pattern.SetStream(patterns[size_t((e * 6 + source) * 8 + t)]);
            }
        }
    }
    return style;
}

size_t eventsOf(int elements)
{
    size_t cvs = 0;
    for (int e = 0; e < elements; ++e) cvs += e < 4 ? 6 : 2;
    return cvs * 8 * kEventsPerTrack;
}

void BM_WriteMaximalStyle(benchmark::State& state)
{
    const int elements = int(state.range(0));
    auto style = maximalStyle(elements);
    size_t chunks = 0;
    for (auto _ : state) {
        auto chunk = zib::ulvarf::CQeStyleWriter::Write(*style);
        benchmark::DoNotOptimize(chunk);
        state.PauseTiming();
        chunks = CQeStyleTree::Parse(*chunk)->patterns.size();
        state.ResumeTiming();
    }
    state.counters["chunks"] = double(chunks);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(eventsOf(elements)));
    state.SetComplexityN(int64_t(chunks));
}

void BM_ReadMaximalStyle(benchmark::State& state)
{
    const int elements = int(state.range(0));
    auto style = maximalStyle(elements);
    const auto chunk = zib::ulvarf::CQeStyleWriter::Write(*style);
    for (auto _ : state) {
        CNstQeIfc back;
        zib::ulvarf::CQeStyleReader::Read(*chunk, back);
        benchmark::DoNotOptimize(back.QueryStyleElem(0));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(eventsOf(elements)));
}

// The whole export: pruning, sharing, splitting and compressing the resource.
void BM_CreateResourceMaximalStyle(benchmark::State& state)
{
    auto editor = zib::ulvarf::CStyleEditor::NewStyle(false);
    auto style = maximalStyle(12);
    editor->style().SetName("Maximal");
    for (int e = 0; e < 12; ++e) {
        for (int c = 0; c < 6; ++c) {
            for (int t = 0; t < 8; ++t) {
                if (!style->QueryPattern(e, c, t)) continue;
                editor->style().Pattern(e, c, t) = style->FindChordVar(e, c)->patterns[size_t(t)];
                editor->style().ChordVar(e, c).length = kPatternTicks;
                editor->style().ChordVar(e, c).bars = 8;
            }
        }
    }
    for (auto _ : state) {
        auto resource = editor->CreateResource();
        benchmark::DoNotOptimize(resource);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(eventsOf(12)));
}

// N distinct chunks of one id and length that differ only in their last
// event, each stored twice: sharing alone (nothing is long enough to split).
void BM_ShareChunksOfOneLength(benchmark::State& state)
{
    const size_t n = size_t(state.range(0));
    CQeStyleTree tree;
    tree.elements.emplace_back().signature = 0x22;
    for (size_t i = 0; i < 2 * n; ++i) {
        zib::test::PropStreamBuilder b;
        for (uint32_t k = 0; k < 50; ++k) b.noteOn(k * 10, 60).noteOff(k * 10 + 5, 60);
        CQeStyleTree::Pattern chunk;
        chunk.length = 1536;
        chunk.stream = b.control(1000, 7, uint8_t((i % n) & 0x7F)).control(1001, 8, uint8_t((i % n) >> 7)).end(1536);
        tree.patterns.push_back(chunk);
        if (i % 200 == 0) tree.elements.back().cvs.emplace_back().length = 1536;
        CQeStyleTree::ChordVar& cv = tree.elements.back().cvs.back();
        cv.uses.push_back({0, 0});
        tree.map.push_back(uint16_t(i + 1));
    }
    tree.mapChunks = uint16_t(tree.patterns.size());
    for (auto _ : state) {
        state.PauseTiming();
        CQeStyleTree work = tree;
        state.ResumeTiming();
        benchmark::DoNotOptimize(zib::ulvarf::CPropPattUnmerge::Run(work));
    }
    state.SetComplexityN(int64_t(2 * n));
}

} // namespace

BENCHMARK(BM_WriteMaximalStyle)->Arg(1)->Arg(3)->Arg(6)->Arg(12)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_ReadMaximalStyle)->Arg(12)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateResourceMaximalStyle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShareChunksOfOneLength)->RangeMultiplier(4)->Range(256, 16384)->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
