#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zib {

// The 7-bit transfer packing of Qe-series data inside system-exclusive
// messages: each group of up to seven bytes becomes one byte holding bit 7 of
// the group's bytes (bit i for byte i), followed by the group's bytes with
// bit 7 cleared.

// Packs the first seven bytes of `group` at most into `out`; returns the
// bytes written (group size + 1, at most 8), 0 for an empty group.
int PackQe7Bit(std::span<const uint8_t> group, std::span<uint8_t, 8> out);

// Packs a whole block group by group; a last short group of n bytes gives
// n + 1 bytes.
std::vector<uint8_t> PackQe7BitBlock(std::span<const uint8_t> data);

// Size of PackQe7BitBlock's result for `size` bytes.
size_t PackedQe7BitSize(size_t size);

// Undoes PackQe7BitBlock on the data of a system-exclusive message: group by
// group up to its end or to the first byte with bit 7 set (the closing F7),
// where it stops even inside a group.
std::vector<uint8_t> UnpackQe7BitBlock(std::span<const uint8_t> packed);

} // namespace zib
