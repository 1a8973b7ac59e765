#include "docs/program/core/ArrListModel.h"

#include "docs/program/core/ItemRows.h"
#include "platform/ByteCursor.h"

#include <algorithm>

namespace zib {

std::vector<ArrListModel::Column> ArrListModel::Columns() const
{
    std::vector<Column> columns = {{"Arrangement Name", 120}, {"Position", 40}, {"Style Name", 125},
                                   {"Tempo", 48},           {"DRUM", 45},     {"PERC", 45},
                                   {"BASS", 40},            {"ACC1", 40},     {"ACC2", 40},
                                   {"ACC3", 40},            {"LOW", 40},      {"UP2", 40},
                                   {"UP1", 40}};
    if (wide_)
        for (size_t c = 4; c < columns.size(); ++c)
            columns[c].width += 50;
    return columns;
}

std::string ArrListModel::CellText(int row, int column) const
{
    if (row < 0 || row >= RowCount()) return {};
    const CArrItem& item = doc_.items[size_t(row)];
    const bool a = doc_.FamilyA();
    switch (column) {
    case 0: return item.NameText();
    case 1: return ArrPositionLabel(doc_.model, row);
    case 2: return ArrStyleText(doc_, LittleWordAt(item.data, a ? 10 : 17));
    case 3: return item.data.size() > 21 ? std::to_string(item.data[a ? 14 : 21] + 30) : std::string();
    default: break;
    }
    if (column < 4 || column > 12) return {};
    // Columns 4-9 the six style tracks, then LOW, UP2, UP1.
    size_t block;
    if (column <= 9)
        block = (a ? 34 : 39) + 8 * size_t(column - 4);
    else if (column == 10) {
        if (a) return {};
        block = 103;
    } else
        block = column == 11 ? (a ? 90 : 95) : (a ? 82 : 87);
    return FormatArrProgramName(doc_, LittleWordAt(item.data, block), Form());
}

bool ArrListModel::ColumnClicked(int column)
{
    if (column < 4 || column > 12) return false;
    wide_ = !wide_;
    doc_.Port().RedrawAll();
    return true;
}

bool ArrListModel::CanMove() const
{
    const int focused = doc_.Port().FocusedRow();
    return RowCount() > 0 && focused >= 0 && focused < RowCount();
}

bool ArrListModel::CanCopy() const
{
    return RowCount() > 0 && !doc_.Port().SelectedRows().empty();
}

bool ArrListModel::CanRename() const
{
    const int focused = doc_.Port().FocusedRow();
    return RowCount() > 0 && CanBeginLabelEdit(focused);
}

void ArrListModel::MoveItem(int direction)
{
    const int row = doc_.Port().FocusedRow();
    const int other = row + (direction > 0 ? 1 : -1);
    if (row < 0 || row >= RowCount() || other < 0 || other >= RowCount()) return;
    CArrItem& a = doc_.items[size_t(row)];
    CArrItem& b = doc_.items[size_t(other)];
    std::swap(a.name, b.name);
    std::swap(a.data, b.data);
    std::swap(a.model, b.model);
    doc_.Port().Redraw(std::min(row, other), std::max(row, other));
    if (!drag_.running) {
        doc_.Port().SetSelection({other}, other);
        doc_.Port().ScrollTo(other);
    }
    doc_.modified = true;
}

bool ArrListModel::CanBeginLabelEdit(int row) const
{
    if (row < 0 || row >= RowCount()) return false;
    const CArrItem& item = doc_.items[size_t(row)];
    return !item.data.empty() && item.NameText().rfind("EMPTYAR", 0) != 0;
}

bool ArrListModel::EndLabelEdit(int row, std::string_view text)
{
    if (!CanBeginLabelEdit(row) || text.empty()) return false;
    CArrItem& item = doc_.items[size_t(row)];
    const size_t width = LabelLimit();
    if (RenameKeepsName(item, text.substr(0, width), uint32_t(doc_.model))) return true;
    item.SetName(text.substr(0, width));
    ConvertItemName(item.name, uint32_t(doc_.model), 1);
    // The record keeps the name blank-padded over its name field.
    CItemInfo::Name padded = item.name;
    ConvertItemName(padded, uint32_t(doc_.model), 2);
    std::copy_n(padded.begin(), std::min(width, item.data.size()), item.data.begin());
    doc_.Port().Redraw(row, row);
    doc_.modified = true;
    return true;
}

void ArrListModel::OnKeyDelete()
{
    if (!doc_.DeleteItems()) {
        doc_.Notify(DocMessage::Numbered(21, "OnKeyDown"));
        doc_.closeRequested = true;
    }
}

std::optional<std::vector<uint8_t>> ArrListModel::CopyBlock()
{
    auto rows = MarkedRows(doc_.Port().SelectedRows(), -1, RowCount());
    if (rows.empty()) return std::nullopt;
    if (rows.size() > size_t(kArrMaxItems)) {
        doc_.Notify(DocMessage::Numbered(35, "CopyToClipboard"));
        return std::nullopt;
    }
    std::reverse(rows.begin(), rows.end());
    ArrBlock block;
    block.model = uint8_t(doc_.model);
    block.fileKind = uint32_t(doc_.fileKind);
    block.recordMode = doc_.model == 'I' ? uint32_t(doc_.recordMode) : 0;
    for (int row : rows)
        block.records.push_back(doc_.items[size_t(row)].data);
    return EncodeArrBlock(block);
}

void ArrListModel::PlaceDropped(int count, int target)
{
    MoveAppendedTo(doc_.items, count, target);
    RenumberPositions(doc_.items);
}

int ArrListModel::Paste(std::span<const uint8_t> bytes, const char* caption)
{
    ArrBlock block;
    const BlockError error = DecodeArrBlock(bytes, block);
    if (error == BlockError::WrongSize) {
        doc_.Notify(DocMessage::Numbered(35, caption));
        return 0;
    }
    if (error == BlockError::WrongType) {
        // A block of no arrangement model is not ours; one of another kind is said to be.
        const int m = block.model;
        if (m == '9' || m == '<' || m == 'H' || m == 'I' || m == 'M')
            doc_.Notify(DocMessage::Numbered(36, "PasteArrItem"));
        return 0;
    }
    doc_.sourceModel = block.model;
    return PasteItems(
        block.records.size(), [&](size_t i) { return PasteArrItem(block, block.records[i]); }, caption);
}

ArrItemResult ArrListModel::PasteArrItem(const ArrBlock& block, std::span<const uint8_t> record)
{
    if (block.fileKind != uint32_t(doc_.fileKind)) {
        doc_.Notify(DocMessage::Numbered(36, "PasteArrItem"));
        return ArrItemResult::Failed;
    }
    if (!IsArrRecordSize(block.model, record.size())) {
        doc_.Notify(DocMessage::Numbered(35, "PasteArrItem"));
        return ArrItemResult::Failed;
    }
    const ArrItemResult r = doc_.AddRecord(record, block.model, "PasteArrItem");
    if (r == ArrItemResult::Added && !drag_.running) RenumberPositions(doc_.items);
    return r;
}

} // namespace zib
