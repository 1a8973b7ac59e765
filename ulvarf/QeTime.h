#pragma once

#include "ulvarf/PropEvent.h"

#include <cstdint>

namespace zib::ulvarf {

// Time in the Qe style world: 384 ticks per quarter note; a bar holds
// numerator x (1536 >> log2 denominator) ticks.
inline constexpr uint32_t kQeTicksPerQuarter = 384;

// The latest tick a stream can reach in one delta from tick 0 (deltas are
// below 2^28); CV lengths read from a resource are kept within it.
inline constexpr uint32_t kMaxStreamTick = PropFrame::kMaxDelta;

// Ticks of one bar; 0 for a signature that has no bar (numerator 0, or a
// denominator so small that the shift leaves nothing).
constexpr uint32_t BarLength(uint32_t numerator, uint32_t log2Denominator)
{
    return log2Denominator > 10 ? 0 : numerator * (1536u >> log2Denominator);
}

// The packed signature of the style-editor exports:
// (numerator - 1) in bits 0-3, log2 denominator in bits 4-7.
constexpr uint8_t PackSignature(uint8_t numerator, uint8_t log2Denominator)
{
    return uint8_t(((numerator - 1) & 0x0F) | (log2Denominator << 4));
}

// The element signature byte of the style resource: numerator x 8 + log2
// denominator (low 3 bits).
constexpr uint8_t ElementSignatureByte(uint8_t numerator, uint8_t log2Denominator)
{
    return uint8_t((numerator << 3) | (log2Denominator & 7));
}

} // namespace zib::ulvarf
