#pragma once

#include "docs/style/core/CQeSoundTables.h"

#include <cstdint>
#include <span>
#include <string>

namespace zib {

// Small value helpers of the Qe series shared by the style, pad, STS and
// performance code.

// The text of a Qe time-signature byte s: "%d/1" of s + 1 for 0-15, "%d/2" of
// s - 15 for 16-31, "%d/4" of s - 31 for 32-47, "%d/8" of s - 47 for 48-63,
// "%d/16" of s - 63 for 64-79; "N/A" otherwise.
std::string GetQeSignatureText(int signature);

// The signature text of one element of a serialised style; "N/A" for no data
// or a style the library cannot open.
std::string GetQeElementSignatureText(std::span<const uint8_t> style, int element);

// The name of a sound address (bank MSB << 24 | bank LSB << 16 | program) in
// a sound set (0 Qe4k, 1 Qe9z): a generated user-bank name, a factory table
// row, or "N/A".
std::string GetQeSoundName(uint32_t address, int soundSet,
                           const CQeSoundTables& tables = CQeSoundTables::BuiltIn());

// Checks an address against the Qe4k sounds and user banks: 0 when valid,
// else 1 after correcting it in place to LSB 0 (keeping the program when the
// table has it there and the bank was not a user bank) or to (121, 0, 0).
int ValidateQeSoundAddress(uint8_t& msb, uint8_t& lsb, uint8_t& program,
                           const CQeSoundTables& tables = CQeSoundTables::BuiltIn());

// The inverse of the 7-bit transfer packing (styles/PackQe7Bit.h): a group of
// up to 8 bytes (the bit-7 byte, then up to seven bytes) gives back
// min(count, 8) - 1 bytes; 0 for an empty source.
int UnpackQe7Bit(std::span<const uint8_t> source, std::span<uint8_t> destination);

} // namespace zib
