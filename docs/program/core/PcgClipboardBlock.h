#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zib {

// The item block of the private clipboard format as the program list writes
// and reads it: a 584-byte head, then the items' parts back to back.
//
//   head (little-endian):  0 u8 model letter | 1 u32 file kind (3 or 11) |
//                          5 u32 shown list (1 programs, 2 drum kits) |
//                          13 u32 item count | 32 u32 x 138 part sizes
//   Qe part:  u32 data size | 8 unused bytes | u32 bank | char[18] name | the data
//   Wq part:  the record alone (a program 164 or 172 bytes, a drum kit 1484 or 1052)
class PcgClipboardBlock {
public:
    static constexpr size_t kHeadSize = 584;
    static constexpr int kMaxItems = 138;
    static constexpr size_t kQeItemHeader = 34;

    struct Part {
        size_t offset = 0; // of the part in the block
        size_t size = 0;
    };

    uint8_t model = 0;
    uint32_t fileKind = 0;
    uint32_t shownList = 0;
    std::vector<Part> parts;

    // Reads a block; nullopt when it is shorter than its head, claims more
    // than 138 items, or a part runs past its end.
    static std::optional<PcgClipboardBlock> Read(std::span<const uint8_t> block);

    // Writing: the head, then each part as it is added.
    PcgClipboardBlock(uint8_t modelLetter, uint32_t kind, uint32_t list);
    void AddWqPart(std::span<const uint8_t> record);
    void AddQePart(std::span<const uint8_t> data, int32_t bank, std::span<const char> name);
    std::vector<uint8_t> Bytes() const;

    // The parts of a block read: a Qe part's fields (nullopt when the part
    // is shorter than its header says).
    struct QePart {
        std::span<const uint8_t> data;
        int32_t bank = 0;
        std::span<const uint8_t> name; // 18 bytes
    };
    static std::optional<QePart> ReadQePart(std::span<const uint8_t> block, const Part& part);
    static std::span<const uint8_t> PartBytes(std::span<const uint8_t> block, const Part& part)
    {
        return block.subspan(part.offset, part.size);
    }

private:
    PcgClipboardBlock() = default;
    std::vector<uint8_t> body_;
};

} // namespace zib
