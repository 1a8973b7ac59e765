#include "docs/style/core/StyClipboardBlock.h"

#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"

namespace zib {

std::vector<uint8_t> StyClipboardBlock::Bytes() const
{
    if (parts.size() > kMaxItems) return {};
    ByteWriter w;
    w.u8(model);
    w.u32le(fileKind);
    w.u32le(selector);
    w.u32le(recordMode);
    w.u32le(Count());
    w.u8(contentCode);
    w.fill(0, 14);
    for (size_t i = 0; i < kMaxItems; ++i)
        w.u32le(i < parts.size() ? uint32_t(parts[i].size()) : 0);
    for (const auto& part : parts)
        w.bytes(part);
    return w.take();
}

std::optional<StyClipboardBlock> StyClipboardBlock::Read(std::span<const uint8_t> bytes)
{
    ByteCursor c(bytes);
    if (!c.has(kHeadSize)) return std::nullopt;
    StyClipboardBlock block;
    block.model = c.u8();
    block.fileKind = c.u32le();
    block.selector = c.u32le();
    block.recordMode = c.u32le();
    const uint32_t count = c.u32le();
    block.contentCode = c.u8();
    if (count > kMaxItems) return std::nullopt;
    c.seek(32);
    std::vector<uint32_t> sizes(count);
    for (auto& size : sizes)
        size = c.u32le();
    c.seek(kHeadSize);
    for (uint32_t size : sizes) {
        if (!c.has(size)) return std::nullopt;
        const auto part = c.bytes(size);
        block.parts.emplace_back(part.begin(), part.end());
    }
    return block;
}

std::vector<uint8_t> StyClipboardBlock::QeStylePart(const CStyItem& style, const CStyItem* sts)
{
    QeItemSizeHeader header = QeItemSizeHeader::Of(style, sts);
    ByteWriter w;
    w.bytes(header.Bytes());
    if (style.Size() == 0) return w.take();
    w.bytes(style.data);
    if (sts) w.bytes(sts->data);
    return w.take();
}

std::vector<uint8_t> StyClipboardBlock::StsPart(const CStyItem& style, const CStyItem& sts)
{
    QeItemSizeHeader header = QeItemSizeHeader::Of(style, &sts);
    header.styleSize = 0;
    header.styleVersion = 0;
    header.styleRelease = 0;
    ByteWriter w;
    w.bytes(header.Bytes());
    w.bytes(sts.data);
    return w.take();
}

std::vector<uint8_t> StyClipboardBlock::PadPart(const CStyItem& pad)
{
    QeItemSizeHeader header = QeItemSizeHeader::Of(pad, nullptr);
    ByteWriter w;
    w.bytes(header.Bytes());
    w.bytes(pad.data);
    return w.take();
}

std::optional<StyClipboardBlock::QePart> StyClipboardBlock::ReadQePart(std::span<const uint8_t> part)
{
    if (part.size() < QeItemSizeHeader::kSize) return std::nullopt;
    QePart out;
    out.header = QeItemSizeHeader::Read(part.first(QeItemSizeHeader::kSize), false);
    const std::span<const uint8_t> rest = part.subspan(QeItemSizeHeader::kSize);
    if (out.header.styleSize > rest.size()) return std::nullopt;
    out.style = rest.first(out.header.styleSize);
    // The STS data follows the style's data. A part whose style is empty is
    // the bare header (nothing follows) or the STS-only part (the STS follows).
    const std::span<const uint8_t> after = rest.subspan(out.header.styleSize);
    if (after.size() >= out.header.stsSize)
        out.sts = after.first(out.header.stsSize);
    else if (out.header.styleSize != 0)
        return std::nullopt;
    return out;
}

} // namespace zib
