#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zib {

// Direct access to the index of a DASF container image held in memory, for
// the loaders that retag index entries before UlvaRf reads the image, and the
// container tests of the documents.
//
// Chunk heads are 8 bytes: id byte, two further id bytes, flag byte,
// big-endian payload size. The index chunk (id 5, flag 0x18) holds one
// 24-byte entry per resource: name bytes 0-17, type 18, user bytes 19 (bank)
// and 20 (position), bytes 21-23 the library's own.
struct DasfIndexEntry {
    std::array<char, 18> name{};
    uint8_t type = 0;
    uint8_t user1 = 0; // bank
    uint8_t user2 = 0; // position
};

// The index chunk, head included: walking from offset 0, the top chunk
// (id 1) is entered and any other chunk skipped. Empty when there is none, or
// when a head or the index chunk runs past the image.
std::span<const uint8_t> FindIndexChunk(std::span<const uint8_t> image);
std::span<uint8_t> FindIndexChunk(std::span<uint8_t> image);

// Entry i of an index chunk; 1, or 0 when the chunk's size is below 24 or
// not a multiple of 24, or i is not below size / 24. Writing leaves bytes
// 21-23 of the entry alone.
int ReadIndexEntry(std::span<const uint8_t> chunk, int i, DasfIndexEntry& entry);
int WriteIndexEntry(std::span<uint8_t> chunk, int i, const DasfIndexEntry& entry);

// The container test of the style and pad documents: at least 27 bytes;
// bytes 0-3 01 00 01 14; the big-endian size at 4-7 equals the length - 8;
// bytes 8-15 02 00 00 18 00 00 00 0C; bytes 23-26 "DASF".
bool IsDasfContainer(std::span<const uint8_t> image);

// A container image holding one converted Qe style (n bytes of style-chunk
// payload) as resource 0, n + 68 bytes, big-endian:
//
//   0-3    01 00 01 14        top chunk, size = total - 8
//   8-15   02 00 00 18 0000000C  root information, 12 bytes:
//   16-27  0B, six zeros, "DASF", 00
//   28-35  05 00 00 18 00000018  index chunk with one entry
//   36-53  entry name, NUL-padded to 18 bytes
//   54-59  type 02, bank 00, position 00, id bytes 00 00, unused 00
//   60-67  06 00 00 10, n     style resource chunk
//   68-    the n bytes
std::vector<uint8_t> MakeOneResourceContainer(std::span<const uint8_t> styleChunkPayload, std::string_view name);

} // namespace zib
