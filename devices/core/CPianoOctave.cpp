#include "devices/core/CPianoOctave.h"

namespace zib {

namespace {

constexpr char kShapes[CPianoOctave::kKeys] = {'A', 'D', 'B', 'D', 'C', 'A', 'D', 'B', 'D', 'B', 'D', 'C'};

// Key lefts as (units, thirds of a unit)
constexpr int kLeftUnits[CPianoOctave::kKeys] = {0, 3, 4, 7, 8, 12, 15, 16, 19, 20, 23, 24};
constexpr int kLeftThirds[CPianoOctave::kKeys] = {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13};

} // namespace

CPianoOctave::CPianoOctave(int left, int unit, uint8_t firstNote)
    : m_area(left, 0, WidthFor(unit), HeightFor(unit))
{
    const int g = unit / 3;
    for (int i = 0; i < kKeys; ++i)
        m_keys[size_t(i)] =
            CPianoKey(kShapes[i], kLeftUnits[i] * unit + kLeftThirds[i] * g, 0, unit, uint8_t(firstNote + i));
}

void CPianoOctave::SetFirstNote(uint8_t note)
{
    for (int i = 0; i < kKeys; ++i)
        m_keys[size_t(i)].SetNote(uint8_t(note + i));
}

int CPianoOctave::HitTest(int x, int y) const
{
    for (int i = 0; i < kKeys; ++i)
        if (m_keys[size_t(i)].Contains(x, y)) return i;
    return -1;
}

} // namespace zib
