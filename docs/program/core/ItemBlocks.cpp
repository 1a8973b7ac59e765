#include "docs/program/core/ItemBlocks.h"

#include "docs/style/core/StyClipboardBlock.h"
#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"

#include <algorithm>

namespace zib {

namespace {

// Between the size and the name of a Qe program part: 8 zero bytes and the u32 bank.
constexpr size_t kQeProgramExtra = 12;

bool isQeLetter(int model)
{
    return model == 'F' || model == 'X';
}

std::optional<StyClipboardBlock> readHead(std::span<const uint8_t> bytes)
{
    return StyClipboardBlock::Read(bytes);
}

// The parts of Qe items: u32 data size, `extra` bytes (a program's zeros and
// bank), the 18-byte name, then the data.
std::vector<uint8_t> namedPart(std::span<const uint8_t> extra, const ItemName18& name, const std::vector<uint8_t>& data)
{
    ByteWriter part;
    part.u32le(uint32_t(data.size()));
    part.bytes(extra);
    part.bytes(reinterpret_cast<const uint8_t*>(name.data()), name.size());
    part.bytes(data);
    return part.take();
}

// The same read back: false unless the size is all the part holds after
// its header.
bool readNamedPart(std::span<const uint8_t> part, std::span<uint8_t> extra, ItemName18& name,
                   std::vector<uint8_t>& data)
{
    ByteCursor in(part);
    const size_t header = 4 + extra.size() + name.size();
    if (!in.has(header)) return false;
    const uint32_t size = in.u32le();
    if (size != part.size() - header) return false;
    const auto between = in.bytes(extra.size());
    std::copy(between.begin(), between.end(), extra.begin());
    const auto nameBytes = in.bytes(name.size());
    std::copy(nameBytes.begin(), nameBytes.end(), name.begin());
    const auto bytes = in.bytes(size);
    data.assign(bytes.begin(), bytes.end());
    return true;
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
        ByteWriter extra;
        extra.fill(0, 8);
        extra.u32le(uint32_t(item.bank));
        out.parts.push_back(namedPart(extra.take(), item.name, item.data));
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
            std::array<uint8_t, kQeProgramExtra> extra{};
            if (!readNamedPart(part, extra, item.name, item.data)) return BlockError::WrongSize;
            item.bank = int32_t(ByteCursor(std::span<const uint8_t>(extra).subspan(8)).u32le());
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
    for (const auto& item : block.items)
        out.parts.push_back(namedPart({}, item.name, item.data));
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
        PrfBlockItem item;
        if (!readNamedPart(part, {}, item.name, item.data)) return BlockError::WrongSize;
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
