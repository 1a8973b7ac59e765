#include "docs/program/core/PrfListModel.h"

#include "docs/program/core/ItemRows.h"
#include "docs/style/core/QeValueHelpers.h"
#include "docs/style/core/StsItemData.h"

#include <algorithm>

namespace zib {

std::vector<PrfListModel::Column> PrfListModel::Columns()
{
    return {{"Performance Name", 120}, {"Bank/Position", 80}, {"Size", 55}, {"Ver", 45}, {"Rel", 45}, {"", 45}};
}

std::string PrfListModel::CellText(int row, int column) const
{
    if (row < 0 || row >= RowCount()) return {};
    const CQePrfItem& item = doc_.items[size_t(row)];
    switch (column) {
    case 0: return item.NameText();
    case 1: return std::to_string(doc_.bank + 1) + " / " + std::to_string(item.position);
    case 2: return std::to_string(item.Size());
    default: return {};
    }
}

bool PrfListModel::CanMove() const
{
    const int f = doc_.Port().FocusedRow();
    return RowCount() > 0 && f >= 0 && f < RowCount();
}

bool PrfListModel::CanCopy() const
{
    return RowCount() > 0 && !doc_.Port().SelectedRows().empty();
}

bool PrfListModel::CanRename() const
{
    return CanBeginLabelEdit(doc_.Port().FocusedRow());
}

bool PrfListModel::CanEditProperties() const
{
    const int f = doc_.Port().FocusedRow();
    return f >= 0 && f < RowCount() && !doc_.items[size_t(f)].data.empty();
}

void PrfListModel::MoveItem(int direction)
{
    const int row = doc_.Port().FocusedRow();
    const int other = row + (direction > 0 ? 1 : -1);
    if (row < 0 || row >= RowCount() || other < 0 || other >= RowCount()) return;
    CQePrfItem& a = doc_.items[size_t(row)];
    CQePrfItem& b = doc_.items[size_t(other)];
    std::swap(a.name, b.name);
    std::swap(a.data, b.data);
    std::swap(a.model, b.model);
    doc_.Port().Redraw(std::min(row, other), std::max(row, other));
    doc_.Port().SetSelection({other}, other);
    doc_.Port().ScrollTo(other);
    doc_.modified = true;
}

bool PrfListModel::CanBeginLabelEdit(int row) const
{
    return row >= 0 && row < RowCount() && !doc_.items[size_t(row)].data.empty();
}

bool PrfListModel::EndLabelEdit(int row, std::string_view text)
{
    if (!CanBeginLabelEdit(row)) return false;
    CQePrfItem& item = doc_.items[size_t(row)];
    if (RenameKeepsName(item, text, uint32_t(doc_.model))) return true;
    item.SetName(text.substr(0, 18));
    ConvertItemName(item.name, uint32_t(doc_.model), 1);
    doc_.Port().Redraw(row, row);
    doc_.modified = true;
    return true;
}

void PrfListModel::SetCategory(int category)
{
    // "17: RESERVED !!!" is no category a file keeps.
    if (!CQeBank::IsValidBank(PrfDocModel::kResourceType, category)) return;
    doc_.bank = category;
    for (CQePrfItem& item : doc_.items)
        if (!item.data.empty()) item.bank = category;
    doc_.Port().RedrawAll();
    doc_.modified = true;
}

std::optional<std::vector<uint8_t>> PrfListModel::CopyBlock()
{
    auto rows = MarkedRows(doc_.Port().SelectedRows(), -1, RowCount());
    if (rows.empty()) return std::nullopt;
    if (rows.size() > 138) {
        doc_.Notify(DocMessage::Numbered(35, "CopyToClipboard"));
        return std::nullopt;
    }
    std::reverse(rows.begin(), rows.end());
    PrfBlock block;
    block.model = uint8_t(doc_.model);
    block.fileKind = uint32_t(doc_.fileKind);
    for (int row : rows) {
        const CQePrfItem& item = doc_.items[size_t(row)];
        PrfBlockItem part;
        part.data = item.data;
        std::copy_n(item.name.begin(), part.name.size(), part.name.begin());
        block.items.push_back(std::move(part));
    }
    return EncodePrfBlock(block);
}

void PrfListModel::PlaceDropped(int count, int target)
{
    MoveAppendedTo(doc_.items, count, target);
    RenumberPositions(doc_.items);
}

int PrfListModel::Paste(std::span<const uint8_t> bytes, const char* caption)
{
    PrfBlock block;
    if (DecodePrfBlock(bytes, block) != BlockError::None) {
        doc_.Notify(DocMessage::Numbered(35, caption));
        return 0;
    }
    if ((block.model != 'F' && block.model != 'X') || block.fileKind != uint32_t(doc_.fileKind)) return 0;
    doc_.sourceModel = block.model;
    return PasteItems(
        block.items.size(), [&](size_t i) { return PastePrfItem(block, block.items[i]); }, caption);
}

PrfItemResult PrfListModel::PastePrfItem(const PrfBlock& block, const PrfBlockItem& part)
{
    if ((block.model != 'F' && block.model != 'X') || block.fileKind != uint32_t(doc_.fileKind))
        return PrfItemResult::Failed;
    std::vector<uint8_t> data = part.data;
    if (block.model == 'X' && doc_.model == 'F' && !data.empty()) {
        std::string name(part.name.data(), std::find(part.name.begin(), part.name.end(), '\0'));
        if (!ConvertQe9zToQe4k(data, name)) return PrfItemResult::Failed;
    }
    if (!doc_.AcceptsQeItemData(data, uint8_t(PrfDocModel::kResourceType), "PastePrfItem")) return PrfItemResult::Failed;
    return doc_.AddPerformance(std::move(data), part.name, block.model);
}

bool PrfListModel::ConvertQe9zToQe4k(std::vector<uint8_t>& data, const std::string& name)
{
    // Nothing is read before the data is known to hold it.
    if (!PrfDocModel::Readable(data)) {
        doc_.Notify(DocMessage::Numbered(31, "PastePrfItem"));
        return false;
    }
    if (data[StsItemData::kPosition] > 16) {
        data[StsItemData::kPosition] = 0;
        doc_.Notify(DocMessage::Text("Warning: Qe9z To Qe4k performance conversion!\nFound incorrect style position "
                                     "for performance: %s. Changed to zero position!",
                                     {name}, "PastePrfItem"));
    }
    uint8_t& element = data[StsItemData::kElement];
    if (element == 10 || element == 11) element = 4;
    // Every sound is written back whole: MSB, LSB, 0, program.
    bool replaced = false;
    const auto check = [&data, &replaced](size_t record) {
        uint8_t msb = data[record + StsTrackRecord::kMsb], lsb = data[record + StsTrackRecord::kLsb];
        uint8_t program = data[record + StsTrackRecord::kProgram];
        if (ValidateQeSoundAddress(msb, lsb, program)) replaced = true;
        data[record + StsTrackRecord::kMsb] = msb;
        data[record + StsTrackRecord::kLsb] = lsb;
        data[record + StsTrackRecord::kLsb + 1] = 0;
        data[record + StsTrackRecord::kProgram] = program;
    };
    for (size_t t = 0; t < size_t(StsItemData::kStyleTrackCount); ++t)
        check(StsItemData::kStyleTracks + StsItemData::kTrackRecord * t);
    for (size_t t = 0; t < size_t(StsItemData::kRealtimeTrackCount); ++t)
        check(StsItemData::kFirstSts + StsItemData::kStsHead + StsItemData::kTrackRecord * t);
    if (replaced)
        doc_.Notify(DocMessage::Text("Warning: Qe9z To Qe4k performance conversion!\nFound sounds not available on "
                                     "Qe4k, for performance: %s. Changed to best-guess sound",
                                     {name}, "PastePrfItem"));
    return true;
}

} // namespace zib
