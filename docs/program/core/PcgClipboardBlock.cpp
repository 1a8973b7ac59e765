#include "docs/program/core/PcgClipboardBlock.h"

#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"

#include <algorithm>

namespace zib {

PcgClipboardBlock::PcgClipboardBlock(uint8_t modelLetter, uint32_t kind, uint32_t list)
    : model(modelLetter), fileKind(kind), shownList(list)
{
}

std::optional<PcgClipboardBlock> PcgClipboardBlock::Read(std::span<const uint8_t> block)
{
    if (block.size() < kHeadSize) return std::nullopt;
    ByteCursor in(block);
    PcgClipboardBlock b;
    b.model = in.u8();
    b.fileKind = in.u32le();
    b.shownList = in.u32le();
    in.seek(13);
    const uint32_t count = in.u32le();
    if (count > uint32_t(kMaxItems)) return std::nullopt;
    in.seek(32);
    size_t offset = kHeadSize;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t size = in.u32le();
        if (size > block.size() - offset) return std::nullopt;
        b.parts.push_back({offset, size});
        offset += size;
    }
    return b;
}

void PcgClipboardBlock::AddWqPart(std::span<const uint8_t> record)
{
    parts.push_back({kHeadSize + body_.size(), record.size()});
    body_.insert(body_.end(), record.begin(), record.end());
}

void PcgClipboardBlock::AddQePart(std::span<const uint8_t> data, int32_t bank, std::span<const char> name)
{
    ByteWriter w;
    w.u32le(uint32_t(data.size()));
    w.fill(0, 8);
    w.u32le(uint32_t(bank));
    for (size_t i = 0; i < 18; ++i)
        w.u8(i < name.size() ? uint8_t(name[i]) : 0);
    w.bytes(data);
    parts.push_back({kHeadSize + body_.size(), w.size()});
    body_.insert(body_.end(), w.bytes().begin(), w.bytes().end());
}

std::vector<uint8_t> PcgClipboardBlock::Bytes() const
{
    ByteWriter w;
    w.reserve(kHeadSize + body_.size());
    w.u8(model);
    w.u32le(fileKind);
    w.u32le(shownList);
    w.u32le(0);
    w.u32le(uint32_t(parts.size()));
    w.fill(0, 32 - w.size());
    for (size_t i = 0; i < size_t(kMaxItems); ++i)
        w.u32le(i < parts.size() ? uint32_t(parts[i].size) : 0);
    w.bytes(body_);
    return w.take();
}

std::optional<PcgClipboardBlock::QePart> PcgClipboardBlock::ReadQePart(std::span<const uint8_t> block,
                                                                      const Part& part)
{
    ByteCursor in(PartBytes(block, part));
    if (!in.has(kQeItemHeader)) return std::nullopt;
    QePart q;
    const uint32_t size = in.u32le();
    in.skip(8);
    q.bank = int32_t(in.u32le());
    q.name = in.bytes(18);
    if (!in.has(size)) return std::nullopt;
    q.data = in.bytes(size);
    return q;
}

} // namespace zib
