#include "docs/style/core/CStsTreeModel.h"

#include "docs/style/core/CStsItemAccessor.h"
#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/ItemDocSteps.h"
#include "platform/ByteWriter.h"

#include <algorithm>

namespace zib {

namespace {

// The document's paste-source marker holds the block's letter while a paste runs.
class PasteSourceMark {
public:
    PasteSourceMark(CZibStyDoc& doc, uint32_t letter) : doc_(doc) { doc_.m_PasteSource = letter; }
    ~PasteSourceMark() { doc_.m_PasteSource = 0; }
    PasteSourceMark(const PasteSourceMark&) = delete;
    PasteSourceMark& operator=(const PasteSourceMark&) = delete;

private:
    CZibStyDoc& doc_;
};

StyClipboardBlock headOf(const CZibStyDoc& doc, uint8_t contentCode)
{
    StyClipboardBlock block;
    block.model = uint8_t(doc.m_Model);
    block.fileKind = doc.m_FileKind;
    block.selector = doc.m_ViewMode;
    block.contentCode = contentCode;
    return block;
}

} // namespace

CStsTreeModel::CStsTreeModel(CZibStyDoc& doc, int index) : doc_(doc), index_(index) {}

int CStsTreeModel::FillStsTree(const std::string& rootLabel)
{
    rootLabel_ = rootLabel;
    ordinals_.fill(CStsItemAccessor::kAbsent);
    slotImages_.fill(kSlotAbsent);
    selectedSlot_ = -1;
    if (index_ < 0 || index_ >= doc_.StsCount()) return 0;
    CStyItem& sts = doc_.m_StsItems[size_t(index_)];
    rootImage_ = sts.Size() ? kRootData : kRootEmpty;
    if (sts.Size()) {
        CStsItemAccessor accessor;
        if (accessor.Parse(sts.data) != 0) return 0;
        ordinals_ = accessor.SlotOrdinals();
    }
    for (size_t k = 0; k < 4; ++k)
        slotImages_[k] = ordinals_[k] < CStsItemAccessor::kAbsent ? kSlotPresent : kSlotAbsent;
    return 1;
}

bool CStsTreeModel::CanCopy(int slot) const
{
    if (index_ < 0 || index_ >= doc_.StsCount()) return false;
    if (slot < 0) return doc_.m_StsItems[size_t(index_)].Size() != 0;
    return slot < 4 && ordinals_[size_t(slot)] < CStsItemAccessor::kAbsent;
}

void CStsTreeModel::OnCopy()
{
    if (selectedSlot_ < 0)
        CopyStsChunkToClipboard();
    else
        CopyStsToClipboard(selectedSlot_);
}

void CStsTreeModel::OnPaste()
{
    if (selectedSlot_ < 0)
        PasteStsChunk();
    else
        PasteSts(selectedSlot_);
}

std::vector<uint8_t> CStsTreeModel::StsChunkBlock(const CZibStyDoc& doc, int index)
{
    StyClipboardBlock block = headOf(doc, StyClipboardBlock::kStsItem);
    block.parts.push_back(StyClipboardBlock::StsPart(doc.m_StyItems[size_t(index)], doc.m_StsItems[size_t(index)]));
    return block.Bytes();
}

std::vector<uint8_t> CStsTreeModel::SingleStsBlock(const CZibStyDoc& doc, int index, std::span<const uint8_t> sts261)
{
    StyClipboardBlock block = headOf(doc, StyClipboardBlock::kStsBlock);
    QeItemSizeHeader header = QeItemSizeHeader::Of(doc.m_StyItems[size_t(index)], &doc.m_StsItems[size_t(index)]);
    header.styleSize = header.styleVersion = header.styleRelease = 0;
    header.stsSize = uint32_t(sts261.size());
    ByteWriter part;
    part.bytes(header.Bytes());
    part.bytes(sts261);
    block.parts.push_back(part.take());
    return block.Bytes();
}

bool CStsTreeModel::CopyStsChunkToClipboard()
{
    if (index_ < 0 || index_ >= doc_.StyCount() || index_ >= doc_.StsCount()) return false;
    if (doc_.m_StyItems[size_t(index_)].Size() == 0 || doc_.m_StsItems[size_t(index_)].Size() == 0) return false;
    return doc_.Port().WriteClipboard(StsChunkBlock(doc_, index_));
}

bool CStsTreeModel::CopyStsToClipboard(int slot)
{
    if (slot < 0 || slot > 3 || index_ < 0 || index_ >= doc_.StyCount() || index_ >= doc_.StsCount()) return false;
    CStsItemAccessor accessor;
    if (accessor.Parse(doc_.m_StsItems[size_t(index_)].data) != 0 || !accessor.HasSlot(slot)) {
        doc_.Port().Message(StyNotice::Numbered(stymsg::CannotCopyToClipboard, "CopyStsToClipboard"));
        return false;
    }
    return doc_.Port().WriteClipboard(SingleStsBlock(doc_, index_, accessor.SlotBlock(slot)));
}

std::optional<StyClipboardBlock> CStsTreeModel::ReadStsBlock(uint8_t contentCode, const char* caption)
{
    auto block = ReadClipboardBlock(doc_.Port(), caption);
    if (!block) return std::nullopt;
    StyUiPort& port = doc_.Port();
    if (block->fileKind != doc_.m_FileKind || !doc_.IsQe()) {
        port.Message(StyNotice::Numbered(stymsg::WrongClipboardType, caption));
        return std::nullopt;
    }
    if (block->contentCode != contentCode) {
        port.Message(StyNotice::Numbered(stymsg::WrongClipboardFormat, caption));
        return std::nullopt;
    }
    if (block->Count() < 1 || block->parts[0].size() < QeItemSizeHeader::kSize) {
        port.Message(StyNotice::Numbered(stymsg::WrongClipboardSize, caption));
        return std::nullopt;
    }
    return block;
}

bool CStsTreeModel::PasteStsChunk()
{
    static constexpr const char* kCaption = "PasteStsChunk";
    if (!doc_.IsQe() || index_ < 0 || index_ >= doc_.StyCount() || index_ >= doc_.StsCount()) return false;
    StyUiPort& port = doc_.Port();
    if (doc_.m_StyItems[size_t(index_)].Size() == 0) {
        port.Message(StyNotice::Numbered(stymsg::CannotPasteStylePerformance, kCaption));
        return false;
    }
    const auto block = ReadStsBlock(StyClipboardBlock::kStsItem, kCaption);
    if (!block) return false;
    PasteSourceMark mark(doc_, block->model);
    const std::vector<uint8_t>& part = block->parts[0];
    const QeItemSizeHeader header = QeItemSizeHeader::Read(part, false);
    if (header.stsSize == 0) {
        port.Message(StyNotice::Numbered(stymsg::ZeroSizeSts, kCaption));
        return false;
    }
    // The header's size must lie inside the block.
    if (header.stsSize > part.size() - QeItemSizeHeader::kSize) {
        port.Message(StyNotice::Numbered(stymsg::WrongClipboardSize, kCaption));
        return false;
    }
    CStyItem& sts = doc_.m_StsItems[size_t(index_)];
    sts.data.assign(part.begin() + QeItemSizeHeader::kSize,
                    part.begin() + ptrdiff_t(QeItemSizeHeader::kSize + header.stsSize));
    sts.version = header.stsVersion;
    sts.release = header.stsRelease;
    sts.SetName(std::string_view(header.stsName.data(), header.stsName.size()));
    ConvertItemName(sts.name, doc_.m_StyItems[size_t(index_)].model, 1);
    FillStsTree(sts.NameText());
    doc_.SetModified();
    port.ViewNotice(StyViewNotice::RowsChanged, index_);
    return true;
}

bool CStsTreeModel::PasteSts(int slot)
{
    static constexpr const char* kCaption = "PasteSts";
    if (!doc_.IsQe() || slot < 0 || slot > 3 || index_ < 0 || index_ >= doc_.StsCount()) return false;
    StyUiPort& port = doc_.Port();
    CStyItem& sts = doc_.m_StsItems[size_t(index_)];
    if (sts.Size() == 0) {
        port.Message(StyNotice::Numbered(stymsg::CannotPasteStylePerformance, "PasteStsChunk"));
        return false;
    }
    CStsItemAccessor accessor;
    if (accessor.Parse(sts.data) != 0) {
        port.Message(StyNotice::Numbered(stymsg::CannotPasteStsData, kCaption));
        return false;
    }
    ordinals_ = accessor.SlotOrdinals();
    const auto block = ReadStsBlock(StyClipboardBlock::kStsBlock, kCaption);
    if (!block) return false;
    PasteSourceMark mark(doc_, block->model);
    const std::vector<uint8_t>& part = block->parts[0];
    const QeItemSizeHeader header = QeItemSizeHeader::Read(part, false);
    if (header.stsSize == 0) {
        port.Message(StyNotice::Numbered(stymsg::ZeroSizeSts, kCaption));
        return false;
    }
    if (header.stsSize != StsItemData::kStsBlock || part.size() < QeItemSizeHeader::kSize + StsItemData::kStsBlock) {
        port.Message(StyNotice::Numbered(stymsg::CannotPasteStsData, kCaption));
        return false;
    }
    const std::span<const uint8_t> pasted(part.data() + QeItemSizeHeader::kSize, StsItemData::kStsBlock);

    if (accessor.HasSlot(slot)) {
        if (!accessor.ReplaceSts(slot, pasted)) {
            port.Message(StyNotice::Numbered(stymsg::StsNotPasted, kCaption));
            return false;
        }
    } else {
        // A new block: the blocks in slot order, the new one among them,
        // numbered 0, 1, 2 ... afterwards; the lengths grow by 261.
        const size_t oldCount = size_t(accessor.GetStsCount());
        const size_t newSize = sts.data.size() + StsItemData::kStsBlock;
        ByteWriter out(newSize);
        out.bytes(sts.data.data(), StsItemData::kFirstSts);
        for (int k = 0; k < 4; ++k) {
            if (k == slot)
                out.bytes(pasted);
            else if (accessor.HasSlot(k))
                out.bytes(accessor.SlotBlock(k));
        }
        const size_t rest = StsItemData::kFirstSts + StsItemData::kStsBlock * oldCount;
        out.bytes(sts.data.data() + rest, sts.data.size() - rest);
        if (out.size() != newSize) {
            port.Message(StyNotice::Numbered(stymsg::CannotCreateNewItem, kCaption));
            return false;
        }
        std::vector<uint8_t> data = out.take();
        auto addLE = [&data](size_t at) {
            const uint32_t v = uint32_t(data[at] | data[at + 1] << 8 | data[at + 2] << 16 | uint32_t(data[at + 3]) << 24) +
                               uint32_t(StsItemData::kStsBlock);
            for (size_t i = 0; i < 4; ++i)
                data[at + i] = uint8_t(v >> (8 * i));
        };
        auto addBE = [&data](size_t at) {
            const uint32_t v = (uint32_t(data[at]) << 24 | data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3]) +
                               uint32_t(StsItemData::kStsBlock);
            for (size_t i = 0; i < 4; ++i)
                data[at + i] = uint8_t(v >> (24 - 8 * i));
        };
        addLE(StsItemData::kLengthLE);
        addBE(StsItemData::kLengthBE1);
        addBE(StsItemData::kLengthBE2);
        addBE(StsItemData::kDataLength);
        data[StsItemData::kStsCount] = uint8_t(oldCount + 1);
        for (size_t k = 0; k <= oldCount; ++k)
            data[StsItemData::kFirstSts + StsItemData::kStsBlock * k] = uint8_t(k);
        sts.data.swap(data);
    }
    FillStsTree(sts.NameText());
    doc_.SetModified();
    port.ViewNotice(StyViewNotice::RowsChanged, index_);
    return true;
}

} // namespace zib
