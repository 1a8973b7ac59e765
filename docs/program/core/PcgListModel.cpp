#include "docs/program/core/PcgListModel.h"

#include "docs/program/core/PcgLayout.h"
#include "midi/ProgramNames.h"

#include <algorithm>
#include <set>

namespace zib {

namespace {

uint16_t wordAt(const std::vector<uint8_t>& data, size_t at)
{
    return at + 1 < data.size() ? uint16_t(data[at] | data[at + 1] << 8) : 0;
}

std::string twoDigits(const char* prefix, int a, int b)
{
    return prefix + std::to_string(a) + std::to_string(b);
}

constexpr uint32_t kProgramType = 4;
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
        if (!doc_.ShowsPrograms()) return std::to_string(wordAt(item.data, familyA ? 12 : 20) + 1);
        return GetProgramName(doc_.model, wordAt(item.data, familyA ? 12 : 20));
    case 3:
        if (doc_.IsQe()) return {};
        if (!doc_.ShowsPrograms()) return "---";
        return GetProgramName(doc_.model, wordAt(item.data, familyA ? 15 : 22));
    default:
        return {};
    }
}

// Command states

bool PcgListModel::CanMove(int focused) const
{
    return focused >= 0 && focused < RowCount();
}

bool PcgListModel::CanCopy(bool hasSelection) const
{
    return RowCount() > 0 && hasSelection;
}

bool PcgListModel::CanRename(int focused) const
{
    if (focused < 0 || focused >= RowCount()) return false;
    return doc_.model != 'F' || !doc_.ShownItems()[size_t(focused)].data.empty();
}

bool PcgListModel::CanEditProperties(int focused) const
{
    return !doc_.IsQe() && focused >= 0 && focused < RowCount();
}

int PcgListModel::StsViewMessage() const
{
    if (doc_.IsQe()) return -1;
    return doc_.shownList == pcg::kShowPrograms ? 119 : 118;
}

// Operations

int PcgListModel::MoveItem(int direction, int row)
{
    auto& items = doc_.ShownItems();
    const int count = int(items.size());
    const int other = row + (direction > 0 ? 1 : -1);
    if (row < 0 || row >= count || other < 0 || other >= count) return -1;
    CPcgItem& a = items[size_t(row)];
    CPcgItem& b = items[size_t(other)];
    std::swap(a.name, b.name);
    std::swap(a.data, b.data);
    std::swap(a.model, b.model);
    std::swap(a.bank, b.bank);
    std::swap(a.kind, b.kind);
    doc_.modified = true;
    return other;
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
    if (!doc_.IsQe()) {
        // The name lives in the record too: blank-padded over its name field.
        const size_t width = pcg::RecordNameWidth(doc_.model);
        for (size_t i = 0; i < width && i < item.data.size(); ++i)
            item.data[i] = i < text.size() ? uint8_t(text[i]) : uint8_t(' ');
        text = text.substr(0, width);
    }
    item.SetName(text);
    ConvertItemName(item.name, uint32_t(doc_.model), 1);
    doc_.modified = true;
    return true;
}

void PcgListModel::ToggleShownList()
{
    if (doc_.IsQe()) return;
    doc_.shownList = doc_.shownList == pcg::kShowPrograms ? pcg::kShowDrumKits : pcg::kShowPrograms;
}

bool PcgListModel::OnBankRange(int bank)
{
    if (bank < 9 || bank > kDrumKitBank) return false; // banks 1-9 of the menu cannot be chosen
    if (doc_.firstBank == kDrumKitBank) {
        doc_.Notify(StyNotice::Numbered(43, "OnBankRange"));
        return false;
    }
    if (bank == kDrumKitBank) {
        doc_.Notify(StyNotice::Numbered(44, "OnBankRange"));
        return false;
    }
    doc_.firstBank = bank;
    for (CPcgItem& item : doc_.programs)
        if (!item.data.empty()) item.bank = bank;
    doc_.modified = true;
    return true;
}

// Clipboard

std::vector<uint8_t> PcgListModel::CopyBlock(const std::vector<int>& selectedRows) const
{
    const auto& items = doc_.ShownItems();
    std::set<int> rows;
    for (int row : selectedRows)
        if (row >= 0 && row < int(items.size())) rows.insert(row);
    if (rows.empty()) return {};
    PcgClipboardBlock block(uint8_t(doc_.model), uint32_t(doc_.fileKind), uint32_t(doc_.shownList));
    // The head has room for 138 items, as many as a list takes.
    for (int row : rows) {
        if (int(block.parts.size()) == PcgClipboardBlock::kMaxItems) break;
        const CPcgItem& item = items[size_t(row)];
        if (doc_.IsQe()) {
            std::string name = item.NameText();
            name.resize(18, '\0');
            block.AddQePart(item.data, item.bank, name);
        } else
            block.AddWqPart(item.data);
    }
    return block.Bytes();
}

PcgListModel::PasteResult PcgListModel::Paste(std::span<const uint8_t> block, bool dragRunning, const char* caption)
{
    PasteResult result;
    const auto head = PcgClipboardBlock::Read(block);
    if (!head) {
        doc_.Notify(StyNotice::Numbered(35, caption));
        return result;
    }
    const int model = head->model;
    if (doc_.IsQe()) {
        if (!pcg::IsQeModel(model)) {
            doc_.Notify(StyNotice::Numbered(38, caption));
            return result;
        }
    } else {
        if (pcg::IsQeModel(model)) {
            doc_.Notify(StyNotice::Numbered(39, caption));
            return result;
        }
        if (pcg::IsFamilyB(model) && !pcg::IsFamilyB(doc_.model)) {
            doc_.Notify(StyNotice::Numbered(40, caption));
            return result;
        }
    }
    if (head->shownList != uint32_t(doc_.shownList)) return result;

    doc_.importModel = model;
    doc_.importBusy = true;
    bool limit = false;
    for (const auto& part : head->parts) {
        const bool full = doc_.ShowsPrograms() ? doc_.ProgramCount() >= pcg::kMaxPrograms
                                               : doc_.DrumKitCount() >= pcg::kMaxDrumKits;
        if (full) {
            limit = true;
            break;
        }
        PcgItemResult r;
        if (doc_.IsQe())
            r = PastePcgItem(block, *head, part);
        else if (doc_.ShowsPrograms())
            r = PasteWqSerPcgItem(block, *head, part, dragRunning);
        else
            r = PasteDrmItem(block, *head, part, dragRunning);
        if (r == PcgItemResult::CloseDocument) {
            result.closeDocument = true;
            break;
        }
        if (r != PcgItemResult::Added) break;
        ++result.pasted;
    }
    doc_.importBusy = false;
    if (limit)
        doc_.Notify(StyNotice::Text("MAX ITEM NUM reached. Pasted %d items from clipboard",
                                    {std::to_string(result.pasted)}, caption));
    if (result.pasted > 0) doc_.modified = true;
    return result;
}

PcgItemResult PcgListModel::PastePcgItem(std::span<const uint8_t> block, const PcgClipboardBlock& head,
                                         const PcgClipboardBlock::Part& part)
{
    if (head.model != 'F' || head.fileKind != uint32_t(doc_.fileKind)) return PcgItemResult::Failed;
    const auto q = PcgClipboardBlock::ReadQePart(block, part);
    if (!q) {
        doc_.Notify(StyNotice::Numbered(35, "PastePcgItem"));
        return PcgItemResult::Failed;
    }
    // Bank 11 holds drum kits only: the two kinds never share a document.
    const bool drumKit = q->bank == kDrumKitBank;
    for (const CPcgItem& p : doc_.programs) {
        if (p.bank == -1) continue;
        if (drumKit != (p.bank == kDrumKitBank)) {
            doc_.Notify(StyNotice::Numbered(42, "PastePcgItem"));
            return PcgItemResult::Failed;
        }
    }
    CPcgItem item;
    item.data.assign(q->data.begin(), q->data.end());
    const int count = doc_.ProgramCount();
    item.position = uint32_t(count);
    item.model = 'F';
    item.kind = kProgramType;
    if (doc_.programs.empty() || doc_.firstBank < 0) doc_.firstBank = q->bank;
    item.bank = doc_.firstBank;
    item.resourceIndex = item.bankPosition = count;
    item.SetName(std::string_view(reinterpret_cast<const char*>(q->name.data()), q->name.size()));
    ConvertItemName(item.name, 'F', 1);
    doc_.programs.push_back(std::move(item));
    return PcgItemResult::Added;
}

PcgItemResult PcgListModel::PasteWqSerPcgItem(std::span<const uint8_t> block, const PcgClipboardBlock& head,
                                              const PcgClipboardBlock::Part& part, bool dragRunning)
{
    return PasteWq(block, head, part, false, dragRunning);
}

PcgItemResult PcgListModel::PasteDrmItem(std::span<const uint8_t> block, const PcgClipboardBlock& head,
                                         const PcgClipboardBlock::Part& part, bool dragRunning)
{
    return PasteWq(block, head, part, true, dragRunning);
}

PcgItemResult PcgListModel::PasteWq(std::span<const uint8_t> block, const PcgClipboardBlock& head,
                                    const PcgClipboardBlock::Part& part, bool drumKit, bool dragRunning)
{
    const int model = head.model;
    const char* caption = drumKit ? "PasteDrmItem" : "PasteWqSerPcgItem";
    const size_t expected = drumKit ? pcg::DrumKitSize(model) : pcg::ProgramRecordSize(model);
    if (expected == 0 || part.size != expected) {
        doc_.Notify(StyNotice::Numbered(35, caption));
        return PcgItemResult::Failed;
    }
    // An empty document takes the block's model, and its file kind with it.
    if (doc_.model == ' ' || (doc_.programs.empty() && doc_.drumKits.empty())) {
        doc_.model = model;
        doc_.fileKind = pcg::IsFamilyB(model) ? pcg::kFileKindPrg : pcg::kFileKindPcg;
    }
    auto& list = drumKit ? doc_.drumKits : doc_.programs;
    CPcgItem item;
    const auto record = PcgClipboardBlock::PartBytes(block, part);
    item.data.assign(record.begin(), record.end());
    item.position = uint32_t(list.size());
    item.model = uint32_t(model);
    item.SetName(std::string_view(reinterpret_cast<const char*>(record.data()), pcg::RecordNameWidth(model)));
    ConvertItemName(item.name, uint32_t(model), 1);
    const int index = int(list.size());
    list.push_back(std::move(item));

    if (model != doc_.model) {
        const int r = drumKit ? doc_.ConvertDrumKit(model, doc_.model, index)
                              : doc_.ConvertProgram(model, doc_.model, index);
        if (r != 0) {
            list.pop_back();
            if (r == -2) return PcgItemResult::CloseDocument;
            doc_.Notify(StyNotice::Numbered(28, caption));
            return PcgItemResult::Failed;
        }
    }
    if (!dragRunning) PcgDocModel::RenumberPositions(list);
    return PcgItemResult::Added;
}

void PcgListModel::ArrangeDropped(int count, int target)
{
    const int first = RowCount() - count;
    if (count <= 0 || target < 0 || target >= first) return;
    for (int i = 0; i < count; ++i)
        for (int row = first + i; row > target + i; --row)
            MoveItem(-1, row);
}

} // namespace zib
