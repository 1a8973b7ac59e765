#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zib::ulvarf {

// The stored form of a Qe style: the old-form chunk tree inside a style
// resource, held as records. Every number is big-endian.
//
//   level  chunk  flags  content
//   1      01     0x00   style chunk, id1 = version byte
//   2      01     0x08   header record, id2 = 0 (short) or 2 (long form)
//   2      02     0x00   pattern container
//   3      01     0x08   pattern map: BE16 k (chunks), BE16 n (uses), n BE16
//                        values (1-based chunk of each use)
//   3      02-04  0x08   pattern chunk, id = type + 2: BE32 length, BE32 S,
//                        S stream bytes, ids 3 and 4: chord, key
//   2      03     0x00   style element, one per set bit of the element mask
//   3      01     0x08   element info: CV mask, NTT, signature (numerator x 8
//                        + log2 denominator), n, n chord-assign bytes
//   3      02     0x08   track table: 8 x (expression, bank MSB, bank LSB,
//                        program, range low, range high)
//   3      03     0x08   CV record, one per set bit of the CV mask: BE32
//                        length, BE32 S, S stream bytes, N, N x (type, track)
//
// Header record: L, L name bytes, BE16 track modes (2 bits per track),
// tension bits, BE16 element mask; long form: third-flag bits, 8 track
// bytes, style bytes A and B. A reader takes the third-flag bits when id2 is
// 1 or more and the rest of the long form when it is 2 or more.
//
// Parsing never refuses a tree it can walk: a field cut off by its chunk's
// end reads as 0, a stream or pair list that claims more than its chunk holds
// is cut to what is there (traced), and chunks of unknown ids are skipped.
struct CQeStyleTree {
    static constexpr size_t kTrackTableSize = 48;

    struct Header {
        std::vector<uint8_t> name; // as stored (the model keeps 31 bytes)
        uint16_t trackModes = 0;
        uint8_t tensionBits = 0;
        uint16_t elementMask = 0;
        uint8_t thirdFlagBits = 0;
        std::array<uint8_t, 8> trackBytes{};
        uint8_t styleByteA = 0;
        uint8_t styleByteB = 0;
        uint8_t release = 0; // the record chunk's id2
    };
    struct Pattern {
        uint8_t id = 2; // pattern type + 2
        uint32_t length = 0;
        std::vector<uint8_t> stream;
        uint8_t chord = 0;
        uint8_t key = 0;
    };
    struct Use {
        uint8_t type = 0;
        uint8_t track = 0;
        bool operator==(const Use&) const = default;
    };
    struct ChordVar {
        uint32_t length = 0;
        std::vector<uint8_t> stream;
        std::vector<Use> uses;
    };
    struct Element {
        bool hasInfo = false;
        uint8_t cvMask = 0;
        uint8_t ntt = 0;
        uint8_t signature = 0;
        std::vector<uint8_t> chordAssign; // as stored, at most 22 bytes kept
        bool hasTrackTable = false;
        size_t trackRecords = 0; // whole records present in the table
        std::array<uint8_t, kTrackTableSize> trackTable{};
        std::vector<ChordVar> cvs;
    };

    // Reading and writing
    // Parses a style chunk (head included); null when its head does not fit.
    static std::optional<CQeStyleTree> Parse(std::span<const uint8_t> styleChunk);
    // The style chunk; null when a count does not fit its field (more than
    // 65535 pattern uses, more than 255 uses in one CV).
    std::optional<std::vector<uint8_t>> Serialise() const;

    // Pattern uses
    size_t UseCount() const;

    // Fields
    uint8_t version = 0; // the style chunk's id1
    bool hasHeader = false;
    Header header;
    bool hasMap = false;
    uint16_t mapChunks = 0;    // k
    std::vector<uint16_t> map; // the n values
    std::vector<Pattern> patterns;
    std::vector<Element> elements;
};

} // namespace zib::ulvarf
