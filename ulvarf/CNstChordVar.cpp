#include "ulvarf/CNstChordVar.h"

#include <algorithm>

namespace zib::ulvarf {

bool CNstChordVar::IsEmpty() const
{
    return std::all_of(patterns.begin(), patterns.end(), [](const CNstPattern& p) { return p.empty; });
}

uint8_t CNstChordVar::FitPatternBars(int v, int current, int d)
{
    d = std::max(d, 1);
    v = std::max(v, 1);
    if (v >= d) return uint8_t(std::min(d, 255));
    if (v < current) {
        while (d % v != 0) --v; // ends at 1 at the latest
    } else {
        while (d % v != 0) ++v; // ends at d at the latest
    }
    return uint8_t(std::min(v, 255));
}

void CNstChordVar::SetPatternBars(int t, int v)
{
    if (t < 0 || t >= kTracks) return;
    CNstPattern& pattern = patterns[size_t(t)];
    pattern.bars = FitPatternBars(v, pattern.bars, bars);
}

} // namespace zib::ulvarf
