// Chord recognition over every set of pitch classes: each note on of the
// player runs one recognition, and a chord of n notes runs n of them.

#include "devices/core/ChordRecognizer.h"
#include "devices/core/ChordPatternTable.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// The notes of every pitch-class set 1-4095 in one chord-zone octave (C2-B2),
// bass first.
std::vector<std::vector<int>> allPitchClassSets()
{
    std::vector<std::vector<int>> sets;
    for (int mask = 1; mask < 4096; ++mask) {
        std::vector<int> notes;
        for (int pc = 0; pc < 12; ++pc)
            if (mask & 1 << pc) notes.push_back(36 + pc);
        sets.push_back(notes);
    }
    return sets;
}

// Playing each set note by note, then releasing it, as a player would.
void BM_RecogniseEveryPitchClassSet(benchmark::State& state)
{
    const auto sets = allPitchClassSets();
    zib::ChordRecognizer recognizer(state.range(0) != 0);
    int64_t notesPerRound = 0;
    for (const auto& set : sets)
        notesPerRound += int64_t(set.size());
    for (auto _ : state) {
        int named = 0;
        for (const auto& set : sets) {
            for (int note : set)
                named += recognizer.NoteOn(note);
            for (int note : set)
                recognizer.NoteOff(note);
        }
        benchmark::DoNotOptimize(named);
    }
    state.SetItemsProcessed(state.iterations() * notesPerRound);
    state.SetLabel("items = note ons");
}
BENCHMARK(BM_RecogniseEveryPitchClassSet)->Arg(1)->Arg(0);

// One look-up of every rotation of every set: the worst a note on asks of the table.
void BM_FindEveryRotation(benchmark::State& state)
{
    for (auto _ : state) {
        int hits = 0;
        for (int mask = 1; mask < 4096; ++mask)
            for (int root = 0; root < 12; ++root)
                hits += zib::FindChordPattern(zib::RotatePitchClassMask(uint16_t(mask), root)) != nullptr;
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * 4095 * 12);
}
BENCHMARK(BM_FindEveryRotation);

} // namespace
