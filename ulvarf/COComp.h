#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zib::ulvarf {

// The COComp block that holds a compressed resource payload:
//
//   offset  bytes  content
//   0       1      'O'
//   1       1      'C'
//   2       1      version digit, '2' or '3'
//   3       1      level digit, '0'..'2'
//   4       4      uncompressed length, little-endian
//   8       ...    token stream
//   last    1      version 3 only: XOR of all uncompressed bytes
//
// Token stream (t = first byte of a token):
//   0            literal run of next byte + 18
//   1 00 00      end of stream (must close the stream)
//   1 hi lo      literal run of the big-endian count
//   2..15        literal run of t + 2
//   16..31       far match; length (t&7)+2, or next byte + 10 (t&7 = 0), or a
//                big-endian 16-bit length (t&7 = 1); then b0 b1; distance
//                b0*64 + b1/4 + 16385, + 16384 when t&8
//   32..63       match; length (t&31)+2, or next byte + 34 (t&31 = 0), or a
//                big-endian 16-bit length (t&31 = 1); then b0 b1; distance
//                b0*64 + b1/4 + 1
//   64..255      short match of t/32 + 1 bytes; then b0; distance
//                (t&31)*64 + b0/4 + 1
// The low two bits of a match's last offset byte count 0-3 literal bytes that
// follow the match directly. Matches copy byte by byte from the output, so a
// distance below the length repeats bytes.
class COComp {
public:
    static constexpr size_t kHeaderSize = 8;
    static constexpr uint32_t kMaxMatch = 65535;
    static constexpr uint32_t kMaxDistance = 49152;
    // The longest output one byte of token stream can stand for: a 5-byte
    // match token reaches 65535 bytes. A block claiming more is corrupt.
    static constexpr uint64_t kMaxExpansion = 13107;
    // Largest uncompressed length accepted from a block, whatever it claims,
    // so that a damaged length word never asks for an absurd allocation.
    static constexpr uint32_t kMaxUncompressed = 256u << 20;

    // Results of DecodeRaw besides the byte count.
    static constexpr int64_t kCorrupt = -1;  // truncated token, misplaced end marker, distance before the output
    static constexpr int64_t kOverflow = -2; // a token would write past the output

    struct Header {
        int version = 0;
        int level = 0;
        bool valid = false;
    };

    // Block header
    // A block is valid when it is longer than 14 bytes, starts "OC" with
    // version '2' or '3' and level '0'..'2', and its stream could produce the
    // length it claims (at most kMaxUncompressed).
    static Header ParseHeader(std::span<const uint8_t> block);
    // The stored length, or 0 when the block is not valid.
    static uint32_t UncompressedLength(std::span<const uint8_t> block);

    // Decoding
    // Decodes into `out` (at least the uncompressed length); returns the
    // length, or 0 when the stream does not produce exactly that many bytes
    // or, with `check`, a version-3 check byte differs.
    static uint32_t Decode(std::span<const uint8_t> block, std::span<uint8_t> out, bool check);
    // Decodes a bare token stream; the byte count, kCorrupt or kOverflow.
    static int64_t DecodeRaw(std::span<const uint8_t> stream, std::span<uint8_t> out);

    // Encoding
    // Encodes `input` as a block of the given version (2, 3) and level (0-2)
    // into `out`; returns the block length, or 0 for an unknown version or
    // level, or when the block would not fit in `out`.
    static uint32_t Encode(std::span<const uint8_t> input, std::span<uint8_t> out, int version, int level);
    // An output capacity that always holds the block of n input bytes.
    static size_t MaxBlockSize(size_t n);
};

} // namespace zib::ulvarf
