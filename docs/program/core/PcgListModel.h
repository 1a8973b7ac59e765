#pragma once

#include "docs/program/core/ItemBlocks.h"
#include "docs/program/core/ItemListModel.h"
#include "docs/program/core/PcgDocModel.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The program list view without its window: the columns and cell texts of
// the shown list (programs, or the drum kits of a Wq document), the states of
// the view's commands, moving, renaming and re-banking items, and copying,
// pasting and dragging them through the private clipboard block.
class PcgListModel : public ItemListModel {
public:
    explicit PcgListModel(PcgDocModel& doc) : ItemListModel(doc, DropShift::DeletedBeforePlusOne), doc_(doc) {}
    PcgDocModel& Doc() { return doc_; }

    // What the list shows
    std::vector<Column> Columns() const;
    int RowCount() const override { return int(doc_.ShownItems().size()); }
    const CItemInfo& RowItem(int row) const override { return doc_.ShownItems()[size_t(row)]; }
    // Cell text in Windows-1252 (names) or plain ASCII.
    std::string CellText(int row, int column) const;
    // The bank and position label of a Wq row ("U11", "F11", "G17", "Dr07" ...).
    std::string BankLabel(int row) const;

    // Command states (the focused and selected rows come from the port)
    bool CanMove() const;
    bool CanCopy() const;
    bool CanRename() const;
    bool CanEditProperties() const;
    // "STS View": the text for the message table (118 "Show Sound View", 119
    // "Show Drumkit View"), -1 with the command disabled for Qe documents.
    int StsViewMessage() const;

    // Operations
    // Swaps the focused row with the next (+1) or previous (-1) one: name,
    // data, model letter, bank and resource type move, positions stay.
    void MoveItem(int direction);
    bool CanBeginLabelEdit(int row) const;
    // The typed name (Windows-1252, at most 18 characters) becomes the item's
    // name; in a Wq document also the name bytes of its record, blank-padded.
    bool EndLabelEdit(int row, std::string_view text);
    void OnStsView();
    // Bank menu: banks 9, 10 and 11 can be chosen; false after a refusal.
    bool OnBankRange(int bank);
    void OnKeyDelete() override;

    // Clipboard and drag and drop
    // The block of the selected rows of the shown list; nullopt without a
    // selection, or after a message for more than 138 rows.
    std::optional<std::vector<uint8_t>> CopyBlock() override;
    // Pastes a block's items at the end of the shown list, with the series
    // checks and conversions; the number pasted.
    int Paste(std::span<const uint8_t> bytes, const char* caption) override;
    PcgItemResult PastePcgItem(const PcgBlock& block, const PcgBlockItem& part);
    PcgItemResult PasteWqSerPcgItem(const PcgBlock& block, const PcgBlockItem& part);
    PcgItemResult PasteDrmItem(const PcgBlock& block, const PcgBlockItem& part);

protected:
    bool DeleteDragged() override { return doc_.DeleteItems(); }
    void PlaceDropped(int count, int target) override;

private:
    PcgItemResult PasteWq(const PcgBlock& block, const PcgBlockItem& part, bool drumKit);

    PcgDocModel& doc_;
};

} // namespace zib
