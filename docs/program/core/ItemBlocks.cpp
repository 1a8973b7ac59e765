#include "docs/program/core/ItemBlocks.h"

#include "docs/style/core/StyClipboardBlock.h"
#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"

#include <algorithm>

namespace zib {

namespace {

constexpr size_t kQeProgramHeader = 34;
constexpr size_t kPerformanceHeader = 22;

bool isQeLetter(int model)
{
    return model == 'F' || model == 'X';
}

std::optional<StyClipboardBlock> readHead(std::span<const uint8_t> bytes)
{
    return StyClipboardBlock::Read(bytes);
}

void copyName(ItemName18& name, std::span<const uint8_t> bytes)
{
    std::copy_n(bytes.begin(), std::min(bytes.size(), name.size()), name.begin());
}

} // namespace

bool IsArrRecordSize(int model, size_t size)
{
    switch (model) {
    case '9':
    case '<':
    case 'H': return size == 131;
    case 'M': return size == 164;
    case 'I': return size == 164 || size == 194;
    default: return false;
    }
}

std::vector<uint8_t> EncodePcgBlock(const PcgBlock& block)
{
    StyClipboardBlock out;
    out.model = block.model;
    out.fileKind = block.fileKind;
    out.selector = block.shownList;
    for (const auto& item : block.items) {
        if (!isQeLetter(block.model)) {
            out.parts.push_back(item.data);
            continue;
        }
        ByteWriter part;
        part.u32le(uint32_t(item.data.size()));
        part.fill(0, 8);
        part.u32le(uint32_t(item.bank));
        part.bytes(reinterpret_cast<const uint8_t*>(item.name.data()), item.name.size());
        part.bytes(item.data);
        out.parts.push_back(part.take());
    }
    return out.Bytes();
}

BlockError DecodePcgBlock(std::span<const uint8_t> bytes, PcgBlock& block)
{
    const auto head = readHead(bytes);
    if (!head) return BlockError::WrongSize;
    block.model = head->model;
    block.fileKind = head->fileKind;
    block.shownList = head->selector;
    block.items.clear();
    for (const auto& part : head->parts) {
        PcgBlockItem item;
        if (isQeLetter(head->model)) {
            ByteCursor in(part);
            if (!in.has(kQeProgramHeader)) return BlockError::WrongSize;
            const uint32_t size = in.u32le();
            if (size != part.size() - kQeProgramHeader) return BlockError::WrongSize;
            in.skip(8);
            item.bank = int32_t(in.u32le());
            copyName(item.name, in.bytes(18));
            const auto data = in.bytes(size);
            item.data.assign(data.begin(), data.end());
        } else {
            item.data = part;
        }
        block.items.push_back(std::move(item));
    }
    return BlockError::None;
}

std::vector<uint8_t> EncodePrfBlock(const PrfBlock& block)
{
    StyClipboardBlock out;
    out.model = block.model;
    out.fileKind = block.fileKind;
    out.selector = 0;
    for (const auto& item : block.items) {
        ByteWriter part;
        part.u32le(uint32_t(item.data.size()));
        part.bytes(reinterpret_cast<const uint8_t*>(item.name.data()), item.name.size());
        part.bytes(item.data);
        out.parts.push_back(part.take());
    }
    return out.Bytes();
}

BlockError DecodePrfBlock(std::span<const uint8_t> bytes, PrfBlock& block)
{
    const auto head = readHead(bytes);
    if (!head) return BlockError::WrongSize;
    block.model = head->model;
    block.fileKind = head->fileKind;
    block.items.clear();
    for (const auto& part : head->parts) {
        ByteCursor in(part);
        if (!in.has(kPerformanceHeader)) return BlockError::WrongSize;
        const uint32_t size = in.u32le();
        if (size != part.size() - kPerformanceHeader) return BlockError::WrongSize;
        PrfBlockItem item;
        copyName(item.name, in.bytes(18));
        const auto data = in.bytes(size);
        item.data.assign(data.begin(), data.end());
        block.items.push_back(std::move(item));
    }
    return BlockError::None;
}

std::vector<uint8_t> EncodeArrBlock(const ArrBlock& block)
{
    StyClipboardBlock out;
    out.model = block.model;
    out.fileKind = block.fileKind;
    out.selector = 0;
    out.recordMode = block.recordMode;
    out.parts = block.records;
    return out.Bytes();
}

BlockError DecodeArrBlock(std::span<const uint8_t> bytes, ArrBlock& block)
{
    auto head = readHead(bytes);
    if (!head) return BlockError::WrongSize;
    block.model = head->model;
    block.fileKind = head->fileKind;
    block.recordMode = head->recordMode;
    const int model = head->model;
    if (model != '9' && model != '<' && model != 'H' && model != 'I' && model != 'M') return BlockError::WrongType;
    if (head->fileKind != 6) return BlockError::WrongType;
    for (const auto& part : head->parts)
        if (!IsArrRecordSize(model, part.size())) return BlockError::WrongSize;
    block.records = std::move(head->parts);
    return BlockError::None;
}

} // namespace zib
