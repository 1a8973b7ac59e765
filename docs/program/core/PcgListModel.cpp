#include "docs/program/core/PcgListModel.h"

#include "docs/program/core/ItemRows.h"
#include "docs/program/core/PcgLayout.h"
#include "midi/ProgramNames.h"
#include "platform/ByteCursor.h"

#include <algorithm>

namespace zib {

namespace {

std::string twoDigits(const char* prefix, int a, int b)
{
    return prefix + std::to_string(a) + std::to_string(b);
}

constexpr int kDrumKitBank = 11;

} // namespace

// What the list shows

std::vector<PcgListModel::Column> PcgListModel::Columns() const
{
    std::vector<Column> columns = {{"Program Name", 120}, {"Position", 55}};
    if (doc_.IsQe()) {
        columns.push_back({"Size", 55});
        columns.insert(columns.end(), 7, Column{"", 40});
    } else {
        columns.push_back({"Multisample 1", 100});
        columns.push_back({"Multisample 2", 100});
        columns.insert(columns.end(), 6, Column{"", 40});
    }
    return columns;
}

std::string PcgListModel::BankLabel(int p) const
{
    const int q = p / 8, r = p % 8;
    if (doc_.fileKind == pcg::kFileKindPrg) {
        if (doc_.ShowsPrograms()) return p < 64 ? twoDigits("F", q + 1, r + 1) : twoDigits("G", q - 7, r + 1);
        if (doc_.model == 'M') return twoDigits("Dr", (p + 14) / 8 + 1, (p + 14) % 8 + 1);
        if (doc_.model == 'I') return twoDigits("R", (p + 32) / 8 + 1, (p + 32) % 8 + 1);
        return {};
    }
    if (doc_.fileKind == pcg::kFileKindPcg) {
        if (doc_.ShowsPrograms()) return twoDigits("U", q + 1, r + 1);
        return twoDigits("Dr", (p + 6) / 8, (p + 6) % 8 + 1);
    }
    return {};
}

std::string PcgListModel::CellText(int row, int column) const
{
    const auto& items = doc_.ShownItems();
    if (row < 0 || row >= int(items.size())) return {};
    const CPcgItem& item = items[size_t(row)];
    const bool familyA = pcg::IsFamilyA(doc_.model);
    switch (column) {
    case 0:
        return doc_.fileKind == pcg::kFileKindPcg || doc_.fileKind == pcg::kFileKindPrg ? item.NameText()
                                                                                        : std::string();
    case 1:
        if (doc_.IsQe()) return std::to_string(doc_.firstBank + 1) + " / " + std::to_string(item.position);
        return BankLabel(row);
    case 2:
        if (doc_.IsQe()) return std::to_string(item.Size());
        if (!doc_.ShowsPrograms()) return std::to_string(LittleWordAt(item.data, familyA ? 12 : 20) + 1);
        return GetProgramName(doc_.model, LittleWordAt(item.data, familyA ? 12 : 20));
    case 3:
        if (doc_.IsQe()) return {};
        if (!doc_.ShowsPrograms()) return "---";
        return GetProgramName(doc_.model, LittleWordAt(item.data, familyA ? 15 : 22));
    default:
        return {};
    }
}

// Command states

bool PcgListModel::CanMove() const
{
    const int focused = doc_.Port().FocusedRow();
    return doc_.ProgramCount() > 0 && focused >= 0 && focused < RowCount();
}

bool PcgListModel::CanCopy() const
{
    return doc_.ProgramCount() > 0 && !doc_.Port().SelectedRows().empty();
}

bool PcgListModel::CanRename() const
{
    const int focused = doc_.Port().FocusedRow();
    if (focused < 0 || focused >= RowCount()) return false;
    return doc_.model != 'F' || !doc_.ShownItems()[size_t(focused)].data.empty();
}

bool PcgListModel::CanEditProperties() const
{
    return !doc_.IsQe() && doc_.ProgramCount() > 0 && !doc_.Port().SelectedRows().empty();
}

int PcgListModel::StsViewMessage() const
{
    if (doc_.IsQe()) return -1;
    return doc_.shownList == pcg::kShowPrograms ? 119 : 118;
}

// Operations

void PcgListModel::MoveItem(int direction)
{
    auto& items = doc_.ShownItems();
    const int count = int(items.size());
    const int row = doc_.Port().FocusedRow();
    const int other = row + (direction > 0 ? 1 : -1);
    if (row < 0 || row >= count || other < 0 || other >= count) return;
    CPcgItem& a = items[size_t(row)];
    CPcgItem& b = items[size_t(other)];
    std::swap(a.name, b.name);
    std::swap(a.data, b.data);
    std::swap(a.model, b.model);
    std::swap(a.bank, b.bank);
    std::swap(a.kind, b.kind);
    doc_.Port().Redraw(std::min(row, other), std::max(row, other));
    doc_.Port().SetSelection({other}, other);
    doc_.Port().ScrollTo(other);
    doc_.modified = true;
}

bool PcgListModel::CanBeginLabelEdit(int row) const
{
    return row >= 0 && row < RowCount() && !doc_.ShownItems()[size_t(row)].data.empty();
}

bool PcgListModel::EndLabelEdit(int row, std::string_view text)
{
    if (!CanBeginLabelEdit(row)) return false;
    CPcgItem& item = doc_.ShownItems()[size_t(row)];
    text = text.substr(0, 18);
    const uint32_t model = uint32_t(doc_.IsQe() ? 'F' : doc_.model);
    if (RenameKeepsName(item, text, model)) return true;
    if (!doc_.IsQe()) {
        // The name lives in the record too: blank-padded over its name field.
        const size_t width = pcg::RecordNameWidth(doc_.model);
        for (size_t i = 0; i < width && i < item.data.size(); ++i)
            item.data[i] = i < text.size() ? uint8_t(text[i]) : uint8_t(' ');
        text = text.substr(0, width);
    }
    item.SetName(text);
    ConvertItemName(item.name, model, 1);
    doc_.Port().Redraw(row, row);
    doc_.modified = true;
    return true;
}

void PcgListModel::OnStsView()
{
    if (doc_.IsQe()) return;
    doc_.shownList = doc_.shownList == pcg::kShowPrograms ? pcg::kShowDrumKits : pcg::kShowPrograms;
    doc_.Port().Refill();
}

bool PcgListModel::OnBankRange(int bank)
{
    if (bank < 9 || bank > kDrumKitBank) return false; // banks 1-9 of the menu cannot be chosen
    if (doc_.firstBank == kDrumKitBank) {
        doc_.Notify(DocMessage::Numbered(43, "OnBankRange"));
        return false;
    }
    if (bank == kDrumKitBank) {
        doc_.Notify(DocMessage::Numbered(44, "OnBankRange"));
        return false;
    }
    doc_.firstBank = bank;
    for (CPcgItem& item : doc_.programs)
        if (!item.data.empty()) item.bank = bank;
    doc_.Port().RedrawAll();
    doc_.modified = true;
    return true;
}

void PcgListModel::OnKeyDelete()
{
    if (!doc_.DeleteItems()) {
        doc_.Notify(DocMessage::Numbered(21, "OnKeyDown"));
        doc_.closeRequested = true;
    }
}

// Clipboard

std::optional<std::vector<uint8_t>> PcgListModel::CopyBlock()
{
    const auto& items = doc_.ShownItems();
    auto rows = MarkedRows(doc_.Port().SelectedRows(), -1, int(items.size()));
    if (rows.empty()) return std::nullopt;
    // The block's head has room for the sizes of 138 items.
    if (rows.size() > size_t(pcg::kMaxPrograms)) {
        doc_.Notify(DocMessage::Numbered(35, "CopyToClipboard"));
        return std::nullopt;
    }
    std::reverse(rows.begin(), rows.end());
    PcgBlock block;
    block.model = uint8_t(doc_.model);
    block.fileKind = uint32_t(doc_.fileKind);
    block.shownList = uint32_t(doc_.shownList);
    for (int row : rows) {
        const CPcgItem& item = items[size_t(row)];
        PcgBlockItem part;
        part.data = item.data;
        part.bank = item.bank;
        std::copy_n(item.name.begin(), part.name.size(), part.name.begin());
        block.items.push_back(std::move(part));
    }
    return EncodePcgBlock(block);
}

void PcgListModel::PlaceDropped(int count, int target)
{
    auto& items = doc_.ShownItems();
    MoveAppendedTo(items, count, target);
    RenumberPositions(items);
}

int PcgListModel::Paste(std::span<const uint8_t> bytes, const char* caption)
{
    PcgBlock block;
    if (DecodePcgBlock(bytes, block) != BlockError::None) {
        doc_.Notify(DocMessage::Numbered(35, caption));
        return 0;
    }
    const int model = block.model;
    if (doc_.IsQe()) {
        if (!pcg::IsQeModel(model)) {
            doc_.Notify(DocMessage::Numbered(38, caption));
            return 0;
        }
    } else {
        if (pcg::IsQeModel(model)) {
            doc_.Notify(DocMessage::Numbered(39, caption));
            return 0;
        }
        if (pcg::IsFamilyB(model) && !pcg::IsFamilyB(doc_.model)) {
            doc_.Notify(DocMessage::Numbered(40, caption));
            return 0;
        }
    }
    if (block.shownList != uint32_t(doc_.shownList)) return 0;

    doc_.sourceModel = model;
    return PasteItems(
        block.items.size(),
        [&](size_t i) {
            const PcgBlockItem& part = block.items[i];
            if (doc_.IsQe()) return PastePcgItem(block, part);
            return doc_.ShowsPrograms() ? PasteWqSerPcgItem(block, part) : PasteDrmItem(block, part);
        },
        caption);
}

PcgItemResult PcgListModel::PastePcgItem(const PcgBlock& block, const PcgBlockItem& part)
{
    if (block.model != 'F' || block.fileKind != uint32_t(doc_.fileKind)) return PcgItemResult::Failed;
    // Bank 11 holds drum kits only: the two kinds never share a document.
    const bool drumKit = part.bank == kDrumKitBank;
    for (const CPcgItem& p : doc_.programs) {
        if (p.bank == -1) continue;
        if (drumKit != (p.bank == kDrumKitBank)) {
            doc_.Notify(DocMessage::Numbered(42, "PastePcgItem"));
            return PcgItemResult::Failed;
        }
    }
    if (!doc_.AcceptsQeItemData(part.data, uint8_t(pcg::kProgramItemType), "PastePcgItem")) return PcgItemResult::Failed;
    CPcgItem item;
    item.data = part.data;
    const int count = doc_.ProgramCount();
    item.position = uint32_t(count);
    item.model = 'F';
    item.kind = pcg::kProgramItemType;
    if (doc_.programs.empty() || doc_.firstBank < 0) doc_.firstBank = part.bank;
    item.bank = doc_.firstBank;
    item.resourceIndex = item.bankPosition = count;
    item.SetName(std::string_view(part.name.data(), part.name.size()));
    ConvertItemName(item.name, 'F', 1);
    doc_.programs.push_back(std::move(item));
    doc_.Port().RowsInserted(count, 1);
    return PcgItemResult::Added;
}

PcgItemResult PcgListModel::PasteWqSerPcgItem(const PcgBlock& block, const PcgBlockItem& part)
{
    return PasteWq(block, part, false);
}

PcgItemResult PcgListModel::PasteDrmItem(const PcgBlock& block, const PcgBlockItem& part)
{
    return PasteWq(block, part, true);
}

PcgItemResult PcgListModel::PasteWq(const PcgBlock& block, const PcgBlockItem& part, bool drumKit)
{
    const int model = block.model;
    const char* caption = drumKit ? "PasteDrmItem" : "PasteWqSerPcgItem";
    const size_t expected = drumKit ? pcg::DrumKitSize(model) : pcg::ProgramRecordSize(model);
    if (expected == 0 || part.data.size() != expected) {
        doc_.Notify(DocMessage::Numbered(35, caption));
        return PcgItemResult::Failed;
    }
    // An empty document takes the block's model, and its file kind with it.
    doc_.AdoptModelIfEmpty(model);
    auto& list = drumKit ? doc_.drumKits : doc_.programs;
    CPcgItem item;
    item.data = part.data;
    item.position = uint32_t(list.size());
    item.model = uint32_t(model);
    item.SetName(std::string_view(reinterpret_cast<const char*>(part.data.data()), pcg::RecordNameWidth(model)));
    ConvertItemName(item.name, uint32_t(model), 1);
    const int index = int(list.size());
    list.push_back(std::move(item));

    if (model != doc_.model) {
        const int r = drumKit ? doc_.ConvertDrumKit(model, doc_.model, index)
                              : doc_.ConvertProgram(model, doc_.model, index);
        if (r != 0) {
            list.pop_back();
            if (r == -2) return PcgItemResult::CloseDocument;
            doc_.Notify(DocMessage::Numbered(28, caption));
            return PcgItemResult::Failed;
        }
    }
    if (!drag_.running) RenumberPositions(list);
    doc_.Port().RowsInserted(index, 1);
    return PcgItemResult::Added;
}

} // namespace zib
