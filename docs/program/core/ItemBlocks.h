#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace zib {

// The item blocks of the private clipboard format that the program,
// performance and arrangement lists copy, paste and drag: the 584-byte block
// head shared with the style lists (model letter at 0, file kind at 1, list
// selector at 5, record mode at 9, count at 13, 138 part sizes from 32),
// then the parts back to back.
//
//   programs and drum kits (kind 3 or 11, selector = shown list):
//     Wq part  the record alone (164 / 172; a kit 1484 / 1052)
//     Qe part  u32 data size | 8 unused | u32 bank | char[18] name | data  (34 + size)
//   performances (kind 4):
//     part     u32 data size | char[18] name | data                       (22 + size)
//   arrangements (kind 6, record mode at 9):
//     part     the record (131 family A, 164 'M', 164 or 194 'I')
//
// Decoding checks the whole block before anything is pasted.

enum class BlockError {
    None,
    WrongSize, // short head, count above 138, parts past the end, a part of a size it cannot have
    WrongType, // the head names no model or kind this block may come from
};

using ItemName18 = std::array<char, 18>;

struct PcgBlockItem {
    std::vector<uint8_t> data;
    int32_t bank = 0;  // Qe parts
    ItemName18 name{}; // Qe parts
};
struct PcgBlock {
    uint8_t model = 0;
    uint32_t fileKind = 0;
    uint32_t shownList = 1;
    std::vector<PcgBlockItem> items;
};
// Empty when it holds more than 138 items.
std::vector<uint8_t> EncodePcgBlock(const PcgBlock& block);
BlockError DecodePcgBlock(std::span<const uint8_t> bytes, PcgBlock& block);

struct PrfBlockItem {
    std::vector<uint8_t> data;
    ItemName18 name{};
};
struct PrfBlock {
    uint8_t model = 0;
    uint32_t fileKind = 4;
    std::vector<PrfBlockItem> items;
};
std::vector<uint8_t> EncodePrfBlock(const PrfBlock& block);
BlockError DecodePrfBlock(std::span<const uint8_t> bytes, PrfBlock& block);

struct ArrBlock {
    uint8_t model = 0;
    uint32_t fileKind = 6;
    uint32_t recordMode = 0; // the source's record mode, 'I' only
    std::vector<std::vector<uint8_t>> records;
};
std::vector<uint8_t> EncodeArrBlock(const ArrBlock& block);
// A head of no Wq model or of another file kind than 6 is WrongType (the
// block's model and kind are filled in all the same); a record of a size the
// head's model cannot have is WrongSize.
BlockError DecodeArrBlock(std::span<const uint8_t> bytes, ArrBlock& block);

// Record sizes of an arrangement item of a model: 131 for '9', '<', 'H',
// 164 for 'M', 164 or 194 for 'I'.
bool IsArrRecordSize(int model, size_t size);

} // namespace zib
