#include "devices/core/ChordPatternTable.h"

namespace zib {

namespace {

constexpr uint16_t kPitchClassBits = 0x0FFF;
constexpr int16_t kNoRow = -1;

// Row index by mask, so that a look-up is one read.
std::array<int16_t, kPitchClassBits + 1> buildRowIndex()
{
    std::array<int16_t, kPitchClassBits + 1> index;
    index.fill(kNoRow);
    for (size_t row = kChordPatternData.size(); row-- > 0;)
        index[kChordPatternData[row].mask & kPitchClassBits] = int16_t(row);
    return index;
}

} // namespace

const ChordPattern* FindChordPattern(uint16_t mask)
{
    static const auto rowIndex = buildRowIndex();
    if (mask > kPitchClassBits) return nullptr;
    const int16_t row = rowIndex[mask];
    return row == kNoRow ? nullptr : &kChordPatternData[size_t(row)];
}

uint16_t RotatePitchClassMask(uint16_t mask, int count)
{
    mask &= kPitchClassBits;
    if (count < 0 || count > 12) return mask;
    for (int i = 0; i < count; ++i)
        mask = uint16_t((mask >> 1) | (mask & 1) << 11);
    return mask;
}

} // namespace zib
