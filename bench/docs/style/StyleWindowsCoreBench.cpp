// The headless parts of the style and pad windows: building the sound list
// of each series, filling the tree of a style of twelve elements, and the
// rebuild of an edited chord variation of 1k to 10k events (which should
// grow linearly).
#include "docs/style/core/CQeSoundTables.h"
#include "docs/style/core/QeSoundList.h"
#include "docs/style/core/QeStyleEditor.h"
#include "docs/style/core/StyTreeModel.h"
#include "docs/style/core/StyleBufferRebuild.h"
#include "midi/CMidiParserEx.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/SmfBuilder.h"
#include "ulvarf/ulvarf.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zib;

void BM_BuildSoundList(benchmark::State& state)
{
    const CQeSoundTables& tables = CQeSoundTables::BuiltIn();
    for (auto _ : state) {
        QeSoundList list = QeSoundList::Build(tables, int(state.range(0)));
        benchmark::DoNotOptimize(list.Size());
    }
}
BENCHMARK(BM_BuildSoundList)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A Qe9z style whose twelve elements have their chord variations with notes.
std::vector<uint8_t> twelveElementStyle()
{
    test::QeEditorStyleBuilder b;
    uint8_t version = 1;
    _ULStESetQeVersion(b.editor(), version);
    for (int e = 0; e < 12; ++e)
        for (int cv = 0; cv < (e < 4 ? 6 : 2); ++cv)
            b.cvWithNotes(e, cv, {0, 1, 2, 3, 4, 5, 6, 7}, 2);
    return b.resource();
}

void BM_FillTwelveElementTree(benchmark::State& state)
{
    LibraryQeStyleEditor::Made made = LibraryQeStyleEditor::FromItem(twelveElementStyle());
    if (!made.editor) {
        state.SkipWithError("no style editor");
        return;
    }
    for (auto _ : state) {
        StyTreeModel tree = StyTreeModel::FillQe(*made.editor, "Style Tree: Twelve");
        benchmark::DoNotOptimize(tree.Nodes().size());
    }
}
BENCHMARK(BM_FillTwelveElementTree)->Unit(benchmark::kMillisecond);

// A chord variation of `events` channel events (notes on eight channels).
std::unique_ptr<CMidiParserEx> sequenceOf(int events)
{
    test::SmfBuilder smf(0, 384);
    auto& track = smf.AddTrack();
    track.TimeSig(0, 4, 2);
    for (int i = 0; i < events / 2; ++i) {
        const uint32_t tick = uint32_t(i) * 24;
        const int channel = 8 + i % 8;
        track.NoteOn(tick, channel, 36 + i % 48, 100).NoteOff(tick + 12, channel, 36 + i % 48);
    }
    const std::vector<uint8_t> image = smf.Build();
    auto s = std::make_unique<CMidiParserEx>();
    s->ParseImage(image.data(), uint32_t(image.size()));
    return s;
}

void BM_RebuildQeTrack(benchmark::State& state)
{
    auto sequence = sequenceOf(int(state.range(0)));
    for (auto _ : state) {
        QeTrackBytes track = BuildQeTrackBytes(*sequence);
        std::vector<uint8_t> image = SmfImageOf(sequence->GetDivision(), {track.bytes});
        benchmark::DoNotOptimize(image.size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RebuildQeTrack)->Arg(1000)->Arg(2500)->Arg(5000)->Arg(10000)->Complexity(benchmark::oN)->Unit(
    benchmark::kMicrosecond);

} // namespace
