#pragma once

#include <cstdint>
#include <vector>

namespace zib::test {

// Arrangement-global (.ARG, 80 bytes) and global-data (.GBL, 448 bytes)
// images of model 'M' or 'I': "DASK", the letter, then the head's bytes
// 0xC0 + offset, and every byte from 32 on set to `fill` so that a test sets
// the fields it looks at.
std::vector<uint8_t> argImage(int model, uint8_t fill = 0);
std::vector<uint8_t> gblImage(int model, uint8_t fill = 0);

} // namespace zib::test
