#include "docs/program/core/PrfListModel.h"

#include "docs/program/core/ItemRows.h"
#include "docs/style/core/QeValueHelpers.h"

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

bool PrfListModel::CanPaste() const
{
    return doc_.Port().ClipboardHasBlock();
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
    item.SetName(text.substr(0, 18));
    ConvertItemName(item.name, uint32_t(doc_.model), 1);
    doc_.Port().Redraw(row, row);
    doc_.modified = true;
    return true;
}

void PrfListModel::SetCategory(int category)
{
    if (category < 0 || category > 19) return;
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

void PrfListModel::OnEditCopy()
{
    if (auto block = CopyBlock()) doc_.Port().WriteClipboard(*block);
}

void PrfListModel::OnEditCut()
{
    auto block = CopyBlock();
    if (!block) return;
    doc_.Port().WriteClipboard(*block);
    doc_.DeleteItems();
}

void PrfListModel::OnEditPaste()
{
    const ClipboardRead clip = doc_.Port().ReadClipboard();
    if (clip.state == ClipboardRead::State::CannotAttach) {
        doc_.Notify(DocMessage::Numbered(33, "OnEditPaste"));
        return;
    }
    if (clip.state == ClipboardRead::State::NoFormat) return;
    if (clip.state == ClipboardRead::State::NoData) {
        doc_.Notify(DocMessage::Numbered(34, "OnEditPaste"));
        return;
    }
    const int before = RowCount();
    const int pasted = Paste(clip.bytes, "OnEditPaste");
    if (pasted > 0) SelectPastedRows(doc_.Port(), before, pasted, RowCount() - 1);
}

std::optional<std::vector<uint8_t>> PrfListModel::BeginDrag()
{
    auto block = CopyBlock();
    if (!block) return block;
    auto rows = MarkedRows(doc_.Port().SelectedRows(), -1, RowCount());
    std::reverse(rows.begin(), rows.end());
    drag_.Begin(std::move(rows));
    return block;
}

void PrfListModel::EndDrag(bool moved)
{
    const std::vector<int> rows = drag_.rows;
    if (drag_.End(moved)) {
        doc_.Port().SetSelection(rows, -1);
        doc_.DeleteItems();
    }
}

bool PrfListModel::OnDrop(std::span<const uint8_t> bytes, int target, bool move)
{
    if (!DropAllowed(doc_.Port(), drag_, target)) return false;
    const int pasted = Paste(bytes, "OnDrop");
    if (pasted <= 0) return false;
    if (move && drag_.source) {
        target = TargetAfterMove(target, drag_.rows, DropShift::DeletedBeforePlusOne);
        doc_.Port().SetSelection(drag_.rows, -1);
        doc_.DeleteItems();
        drag_.source = false;
    }
    int first = RowCount() - pasted;
    if (target >= 0 && target < first) {
        MoveAppendedTo(doc_.items, pasted, target);
        first = target;
    }
    RenumberPositions(doc_.items);
    doc_.modified = true;
    SelectPastedRows(doc_.Port(), first, pasted, first + pasted - 1);
    return true;
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
    doc_.importing = true;
    int pasted = 0;
    size_t next = 0;
    for (; next < block.items.size() && RowCount() < PrfDocModel::kMaxItems; ++next) {
        const PrfItemResult r = PastePrfItem(block, block.items[next]);
        if (r == PrfItemResult::CloseDocument) {
            doc_.closeRequested = true;
            break;
        }
        if (r != PrfItemResult::Added) break;
        ++pasted;
    }
    doc_.importing = false;
    if (next < block.items.size() && RowCount() >= PrfDocModel::kMaxItems)
        doc_.Notify(DocMessage::Text("MAX ITEM NUM reached. Pasted %d items from clipboard", {std::to_string(pasted)},
                                     caption));
    if (pasted > 0) doc_.modified = true;
    return pasted;
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
    return doc_.AddPerformance(std::move(data), part.name, block.model);
}

bool PrfListModel::ConvertQe9zToQe4k(std::vector<uint8_t>& data, const std::string& name)
{
    // Nothing is read before the data is known to hold it.
    if (!prf::Readable(data)) {
        doc_.Notify(DocMessage::Numbered(31, "PastePrfItem"));
        return false;
    }
    if (data[prf::kStylePosition] > 16) {
        data[prf::kStylePosition] = 0;
        doc_.Notify(DocMessage::Text("Warning: Qe9z To Qe4k performance conversion!\nFound incorrect style position "
                                     "for performance: %s. Changed to zero position!",
                                     {name}, "PastePrfItem"));
    }
    if (data[prf::kInitialElement] == 10 || data[prf::kInitialElement] == 11) data[prf::kInitialElement] = 4;
    bool replaced = false;
    const auto check = [&data, &replaced](size_t record) {
        uint8_t msb = data[record + 8], lsb = data[record + 9], program = data[record + 11];
        if (ValidateQeSoundAddress(msb, lsb, program)) replaced = true;
        data[record + 8] = msb;
        data[record + 9] = lsb;
        data[record + 10] = 0;
        data[record + 11] = program;
    };
    for (size_t t = 0; t < 8; ++t)
        check(prf::kStyleTracks + prf::kTrackSize * t);
    for (size_t t = 0; t < 4; ++t)
        check(prf::kStsBlocks + prf::kStsHead + prf::kTrackSize * t);
    if (replaced)
        doc_.Notify(DocMessage::Text("Warning: Qe9z To Qe4k performance conversion!\nFound sounds not available on "
                                     "Qe4k, for performance: %s. Changed to best-guess sound",
                                     {name}, "PastePrfItem"));
    return true;
}

} // namespace zib
