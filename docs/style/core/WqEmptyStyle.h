#pragma once

#include <cstdint>
#include <vector>

namespace zib {

// The images an emptied Wq style item takes:
// - layout A ('9', '<', 'H'), 1168 bytes: name "empty     ", bytes 10-333
//   zero, the pattern table (334-533) one hundred u16 of 1043 (4 bars of
//   4/4), the offset table (534-1167) 317 u16 of 1168: every run empty;
// - layout B ('I', 'M'), 1176 bytes: name "InitStyle" and seven blanks, the
//   same tables 8 bytes later (pattern table 342-541, offset table 542-1175
//   of 1176). Byte 9 of the name is the digit of the item's place in its
//   block of four: (list index mod 4) + 1.
// All numbers little-endian.
std::vector<uint8_t> WqEmptyStyleImage(uint32_t model, int listIndex);

} // namespace zib
