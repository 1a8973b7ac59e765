#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zib {

// The two blocks of the style and pad trees on the private clipboard: one
// chord variation (content code 5) and one style element (code 4). Both
// begin with the 584-byte head of the item blocks, here with the letter 'F'
// or 'X' at 0, 101 at 1 and the code at 17, then a record and Standard
// MIDI File images.
//
// Chord-variation block: the image size at 19 and 32; CvClipRecord (121
// bytes) at 584; the image at 705.
//   0 element   1 CV   2 signature   3 x 22 chord assignment
//   25 x 8 track chord   33 (40 bytes unused)   73 x 8 track key   81 (40 unused)
// Style-element block: each CV image's size at 32 + 4c; SeClipRecord (178
// bytes) at 584; the images back to back from 762, CV 0 first.
//   0 element   1 CV count n (0-6)   2 NTT   3 signature   4 x 22 chord assignment
//   26 x 8 expression   34 u32 x 8 program (LE)   66 x 8 range low   74 x 8 range high
//   82 x 6 x 8 track chord (CV c, track t at 82 + 8c + t)   130 x 6 x 8 track key
struct CvClipRecord {
    uint8_t element = 0;
    uint8_t cv = 0;
    uint8_t signature = 0;
    std::array<uint8_t, 22> chordAssign{};
    std::array<uint8_t, 8> trackChord{};
    std::array<uint8_t, 8> trackKey{};
};

struct SeClipRecord {
    uint8_t element = 0;
    uint8_t cvCount = 0;
    uint8_t ntt = 0;
    uint8_t signature = 0;
    std::array<uint8_t, 22> chordAssign{};
    std::array<uint8_t, 8> expression{};
    std::array<uint32_t, 8> program{}; // bank MSB << 24 | bank LSB << 16 | program
    std::array<uint8_t, 8> rangeLow{};
    std::array<uint8_t, 8> rangeHigh{};
    std::array<std::array<uint8_t, 8>, 6> trackChord{};
    std::array<std::array<uint8_t, 8>, 6> trackKey{};
};

// What a tree block read from the clipboard is.
enum class TreeBlockError {
    None,
    Format, // not a tree block of the Qe series: letter, 101 or content code
    Size,   // the record or the images do not lie inside the block, or n > 6
};

struct CvClipBlock {
    static constexpr uint8_t kContentCode = 5;
    static constexpr size_t kRecordAt = 584;
    static constexpr size_t kImageAt = 705;

    uint8_t letter = 'F';
    CvClipRecord record;
    std::vector<uint8_t> midi;

    std::vector<uint8_t> Bytes() const;
    static TreeBlockError Read(std::span<const uint8_t> bytes, CvClipBlock& out);
};

struct SeClipBlock {
    static constexpr uint8_t kContentCode = 4;
    static constexpr size_t kRecordAt = 584;
    static constexpr size_t kImageAt = 762;

    uint8_t letter = 'F';
    SeClipRecord record;
    std::vector<std::vector<uint8_t>> midi; // one image per CV, CV 0 first

    std::vector<uint8_t> Bytes() const;
    static TreeBlockError Read(std::span<const uint8_t> bytes, SeClipBlock& out);
};

// The head fields every tree paste tests first: the letter ('F' or 'X') and
// the value 101 at 1. Format when they are not so or the head is short.
TreeBlockError ReadTreeBlockHead(std::span<const uint8_t> bytes, uint8_t& letter, uint8_t& contentCode);

} // namespace zib
