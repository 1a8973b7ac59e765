// Lookup throughput: a style playback step asks for one entry per note.

#include "zibtbl/ZibTbl.h"

#include <benchmark/benchmark.h>

namespace {

void BM_GetQeTensionWholeTable(benchmark::State& state)
{
    const auto flag = std::uint8_t(state.range(0));
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (int s = 0; s < 22; ++s)
            for (int c = 0; c < 22; ++c)
                for (int x = 0; x < 24; ++x)
                    for (int i = 0; i < 12; ++i)
                        sum += GetQeTension(flag, 0, s, std::uint8_t(c), x, i);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 22 * 22 * 24 * 12);
}
BENCHMARK(BM_GetQeTensionWholeTable)->Arg(0)->Arg(1);

void BM_GetWqSeriesTensionWholeTable(benchmark::State& state)
{
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (int k = 0; k < 2; ++k)
            for (int c = 0; c < 22; ++c)
                for (int x = 0; x < 24; ++x)
                    for (int i = 0; i < 12; ++i)
                        sum += GetWqSeriesTension(1, k, std::uint8_t(c), x, i);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 2 * 22 * 24 * 12);
}
BENCHMARK(BM_GetWqSeriesTensionWholeTable);

} // namespace
