#include "docs/style/core/ItemFile.h"

#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"

#include <algorithm>
#include <cstring>

namespace zib {

namespace {

void copyName(std::array<char, 18>& to, const CItemInfo::Name& from)
{
    std::copy_n(from.begin(), to.size(), to.begin());
}

void readName(ByteCursor& c, std::array<char, 18>& name)
{
    const auto bytes = c.bytes(name.size());
    if (!bytes.empty()) std::memcpy(name.data(), bytes.data(), name.size());
}

} // namespace

QeItemSizeHeader QeItemSizeHeader::Of(const CStyItem& style, const CStyItem* sts)
{
    QeItemSizeHeader h;
    h.styleSize = style.Size();
    h.styleVersion = style.version;
    h.styleRelease = style.release;
    copyName(h.styleName, style.name);
    if (sts) {
        h.stsSize = sts->Size();
        h.stsVersion = sts->version;
        h.stsRelease = sts->release;
        copyName(h.stsName, sts->name);
    }
    return h;
}

std::array<uint8_t, QeItemSizeHeader::kSize> QeItemSizeHeader::Bytes() const
{
    ByteWriter w;
    for (uint32_t v : {styleSize, styleVersion, styleRelease, stsSize, stsVersion, stsRelease})
        w.u32le(v);
    w.bytes(reinterpret_cast<const uint8_t*>(styleName.data()), styleName.size());
    w.bytes(reinterpret_cast<const uint8_t*>(stsName.data()), stsName.size());
    std::array<uint8_t, kSize> out{};
    std::copy(w.bytes().begin(), w.bytes().end(), out.begin());
    return out;
}

QeItemSizeHeader QeItemSizeHeader::Read(std::span<const uint8_t> bytes, bool old)
{
    QeItemSizeHeader h;
    ByteCursor c(bytes);
    if (old) {
        h.styleSize = c.u32le();
        h.stsSize = c.u32le();
    } else {
        h.styleSize = c.u32le();
        h.styleVersion = c.u32le();
        h.styleRelease = c.u32le();
        h.stsSize = c.u32le();
        h.stsVersion = c.u32le();
        h.stsRelease = c.u32le();
    }
    readName(c, h.styleName);
    readName(c, h.stsName);
    return h;
}

ItemFileError ReadItemFile(std::span<const uint8_t> file, bool withSts, ItemFileContent& content)
{
    content = {};
    ByteCursor c(file);
    if (!c.match("DASK") || !c.has(1)) return ItemFileError::NotExpectedFormat;
    content.letter = c.u8();
    const uint32_t l = content.letter;
    if (IsWqModel(l)) {
        const size_t minimum = IsWqFamilyB(l) ? 1176 : 1168;
        if (c.remaining() < minimum || c.remaining() > 0xFFE0) return ItemFileError::NotExpectedFormat;
        const auto rest = c.bytes(c.remaining());
        content.data.assign(rest.begin(), rest.end());
        return ItemFileError::None;
    }
    if (l != 'X' && l != 'F') return ItemFileError::NotExpectedFormat;
    const size_t headerSize = l == 'X' ? QeItemSizeHeader::kSize : QeItemSizeHeader::kOldSize;
    if (!c.has(headerSize)) return ItemFileError::HeaderShort;
    content.header = QeItemSizeHeader::Read(c.bytes(headerSize), l == 'F');
    if (!c.has(content.header.styleSize)) return ItemFileError::DataShort;
    const auto data = c.bytes(content.header.styleSize);
    content.data.assign(data.begin(), data.end());
    if (withSts && content.header.stsSize != 0) {
        if (!c.has(content.header.stsSize)) return ItemFileError::StsShort;
        const auto sts = c.bytes(content.header.stsSize);
        content.sts.assign(sts.begin(), sts.end());
    }
    return ItemFileError::None;
}

std::vector<uint8_t> StyleItemFileBytes(uint32_t documentModel, const CStyItem& style, const CStyItem* sts)
{
    const bool qe = IsQeModel(documentModel);
    ByteWriter w;
    w.text("DASK");
    w.u8(uint8_t(qe ? 'X' : documentModel));
    if (qe) {
        const auto header = QeItemSizeHeader::Of(style, sts).Bytes();
        w.bytes(header);
    }
    w.bytes(style.data);
    if (qe && sts && sts->Size() != 0) w.bytes(sts->data);
    return w.take();
}

std::vector<uint8_t> PadItemFileBytes(uint32_t documentModel, const CStyItem& pad)
{
    QeItemSizeHeader h;
    h.styleSize = pad.Size();
    h.styleVersion = pad.version;
    h.styleRelease = pad.release;
    if (IsQeModel(documentModel)) copyName(h.styleName, pad.name);
    ByteWriter w;
    w.text("DASKX");
    w.bytes(h.Bytes());
    w.bytes(pad.data);
    return w.take();
}

} // namespace zib
