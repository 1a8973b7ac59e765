#pragma once

// A COComp level-2 encoder (version 3) written as plainly as the rules
// read: every position's three-byte hash chain walked candidate by
// candidate up to the 2000th, the one-position look-ahead, the token forms.
// The library's encoder finds the same matches by faster means; the tests
// and the search fuzz target hold its blocks to this one's. Needs nothing
// but the standard library.

#include <cstdint>
#include <span>
#include <vector>

namespace zib::test {

std::vector<uint8_t> encodeWithPlainChains(std::span<const uint8_t> input);

} // namespace zib::test
