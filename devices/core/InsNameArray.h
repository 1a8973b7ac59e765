#pragma once

#include <array>
#include <string>

namespace zib {

// 128 names of one list, indexed by program, note or controller number; an
// empty string means the number has no name. Names are Windows-1252 bytes.
using InsNameArray = std::array<std::string, 128>;

// Numbers the names of a list for a range value a..b of a definition line and
// returns the list's new name. Every range ends up as 0..127 (names "0" to
// "127") or 1..128 (names "1" to "128"): b is raised to 127 or lowered to 128;
// when a < b, a becomes 1 for b = 128 and 0 for b = 127, else the range is 1..128.
std::string NumberInsNames(InsNameArray& names, int first, int second);

} // namespace zib
