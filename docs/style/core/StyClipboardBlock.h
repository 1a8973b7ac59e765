#pragma once

#include "docs/style/core/ItemFile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zib {

// The item block of the private clipboard format, shared by every item list
// and tree of the keyboard documents: a 584-byte head, then the item parts
// back to back. Head (little-endian, byte-packed):
//
//   0    u8        model letter of the source document
//   1    u32       file kind of the source (101 in the style-tree blocks)
//   5    u32       list selector (style view mode, 1 for pads, program list)
//   9    u32       0, or the arrangement record mode
//   13   u32       number of items
//   17   u8        content code: 1 Qe style items, 3 one STS block, 4 one
//                  style element, 5 one chord variation, 6 one STS item, 7 pads
//   18   14 bytes  unused (zero)
//   32   u32 x 138 size of each item's part, in item order
//
// Parts: Wq styles their data; Qe styles the 60-byte size header, the style
// data and the STS data (the bare header when the style size is 0); the STS
// item of content code 6 a header with style size 0 and the STS data; pads
// the header and the pad data.
class StyClipboardBlock {
public:
    static constexpr size_t kHeadSize = 584;
    static constexpr size_t kMaxItems = 138;

    enum ContentCode : uint8_t {
        kNone = 0,
        kQeStyles = 1,
        kStsBlock = 3,
        kStyleElement = 4,
        kChordVariation = 5,
        kStsItem = 6,
        kPads = 7,
    };

    // Head
    uint8_t model = 0;
    uint32_t fileKind = 0;
    uint32_t selector = 0;
    uint32_t recordMode = 0;
    uint8_t contentCode = kNone;
    // Parts, in order
    std::vector<std::vector<uint8_t>> parts;

    uint32_t Count() const { return uint32_t(parts.size()); }

    // The block as it goes on the clipboard; empty when it holds more than
    // 138 parts (the head has no room for their sizes).
    std::vector<uint8_t> Bytes() const;
    // A block read back; nullopt when the head is short, the count is above
    // 138, or the parts run past the bytes.
    static std::optional<StyClipboardBlock> Read(std::span<const uint8_t> bytes);

    // Parts
    // A Qe style part: header and data; no STS data when the style is empty.
    static std::vector<uint8_t> QeStylePart(const CStyItem& style, const CStyItem* sts);
    // The STS-only part: header with style size 0, then the STS data.
    static std::vector<uint8_t> StsPart(const CStyItem& style, const CStyItem& sts);
    // A pad part: header (size, version, release, name), then the data.
    static std::vector<uint8_t> PadPart(const CStyItem& pad);

    // The header of a Qe part and the data that follows it; nullopt when the
    // part is shorter than its header says.
    struct QePart {
        QeItemSizeHeader header;
        std::span<const uint8_t> style;
        std::span<const uint8_t> sts;
    };
    static std::optional<QePart> ReadQePart(std::span<const uint8_t> part);
};

} // namespace zib
