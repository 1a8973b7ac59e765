#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// Output of the Yamaha PSR style conversion command.

// The name of the converted style file: for the extensions PCS, PRS, SST and
// BCS (case ignored) the name up to its last '.' in "YD_%s.STY"; for any other
// the whole name in "YD_%s" (so Rock.sty becomes YD_Rock.sty).
std::string PsrOutputName(std::string_view fileName);

// The DASF container image of one style resource (all numbers big-endian):
//
//   offset   size  content
//   0        4     chunk id 01 00 01 14
//   4        4     S + 88: everything after these 8 bytes
//   8        4     chunk id 02 00 00 18
//   12       4     12
//   16       12    0B 00 00 00 00 00 00 "DASF" 00
//   28       4     chunk id 05 00 00 18
//   32       4     24
//   36       16    style name, zero-padded, cleaned as a file name
//   52       2     00 00
//   54       4     02 00 00 00
//   58       2     00 00
//   60       4     chunk id 06 00 01 10
//   64       4     S
//   68       S     the style resource
//   68 + S   4     chunk id FE 00 00 18
//   72 + S   4     20
//   76 + S   4     "DBEG"
//   80 + S   4     28 (offset of the chunk 05 00 00 18)
//   84 + S   4     60 (offset of the chunk 06 00 01 10)
//   88 + S   4     "DEND"
//   92 + S   4     2
//
// The file is S + 96 bytes long. The name field holds exactly 16 bytes, each
// non-zero byte that a file name cannot hold (the full stop too, and every
// byte outside 32..126) replaced by '_'; the zero padding stays.
std::vector<uint8_t> SingleResourceContainer(std::span<const uint8_t, 16> styleName,
                                             std::span<const uint8_t> resource);

// The 16-byte name field made from a text (cut at 16, zero-padded).
std::array<uint8_t, 16> StyleNameField(std::string_view name);

} // namespace zib
