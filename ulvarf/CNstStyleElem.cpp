#include "ulvarf/CNstStyleElem.h"

namespace zib::ulvarf {

bool CNstStyleElem::HoldsNoData() const
{
    for (const auto& cv : cvs) {
        if (cv && !cv->IsEmpty()) return false;
    }
    return true;
}

int CNstStyleElem::FirstPresentCv() const
{
    for (int c = 0; c < kChordVars; ++c) {
        if (cvs[size_t(c)]) return c;
    }
    return -1;
}

void CNstStyleElem::RepairChordAssign()
{
    const int first = FirstPresentCv();
    for (uint8_t& cv : chordAssign) {
        if (cv >= kChordVars || !cvs[cv]) cv = uint8_t(first < 0 ? 0 : first);
    }
}

} // namespace zib::ulvarf
