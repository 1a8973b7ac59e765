#pragma once

#include <cstdint>

namespace zib::tbl {

// A tension entry of 20 or more turns one note into two. Layout of the value,
// from the least significant byte:
//   byte 0  magnitude of the second note's offset
//   byte 1  its direction (non-zero up, zero down)
//   byte 2  magnitude of the first note's offset
//   byte 3  its direction (non-zero up, zero down)
// Both offsets are in semitones from the note after the root move. A value
// below 20 is a plain semitone offset.
struct TensionPair {
    int first = 0;
    int second = 0;

    static constexpr std::int32_t kFirstPackedValue = 20;

    static constexpr bool isPacked(std::int32_t value) { return value >= kFirstPackedValue; }

    static constexpr TensionPair decode(std::int32_t value)
    {
        const auto bits = std::uint32_t(value);
        const int secondMagnitude = int(bits & 0xFF);
        const int firstMagnitude = int((bits >> 16) & 0xFF);
        return {((bits >> 24) & 0xFF) != 0 ? firstMagnitude : -firstMagnitude,
                ((bits >> 8) & 0xFF) != 0 ? secondMagnitude : -secondMagnitude};
    }

    // Packs the pair; each offset must lie within -255..255 and the result is
    // a packed value only when the second note goes up (byte 1 set).
    constexpr std::int32_t encode() const
    {
        const auto magnitude = [](int offset) { return std::uint32_t(offset < 0 ? -offset : offset) & 0xFF; };
        const std::uint32_t bits = magnitude(second) | (second >= 0 ? 1u : 0u) << 8 | magnitude(first) << 16 |
                                   (first >= 0 ? 1u : 0u) << 24;
        return std::int32_t(bits);
    }

    friend constexpr bool operator==(const TensionPair&, const TensionPair&) = default;
};

static_assert(TensionPair{6, 2}.encode() == 0x01060102);
static_assert(TensionPair::decode(0x01060102) == TensionPair{6, 2});

} // namespace zib::tbl
