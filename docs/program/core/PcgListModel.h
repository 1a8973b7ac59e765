#pragma once

#include "docs/program/core/PcgClipboardBlock.h"
#include "docs/program/core/PcgDocModel.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The program list view without its window: the columns and cell texts of
// the shown list (programs, or the drum kits of a Wq document), the states of
// the view's commands, moving, renaming and re-banking items, and copying and
// pasting them through the private clipboard block.
class PcgListModel {
public:
    struct Column {
        std::string_view title;
        int width;
    };

    explicit PcgListModel(PcgDocModel& doc) : doc_(doc) {}

    // What the list shows
    std::vector<Column> Columns() const;
    int RowCount() const { return int(doc_.ShownItems().size()); }
    // Cell text in Windows-1252 (names) or plain ASCII.
    std::string CellText(int row, int column) const;
    // The bank and position label of a Wq row ("U11", "F11", "G17", "Dr07" ...).
    std::string BankLabel(int row) const;

    // Command states
    bool CanMove(int focused) const;
    bool CanCopy(bool hasSelection) const;
    bool CanRename(int focused) const;
    bool CanEditProperties(int focused) const;
    // "STS View": the text for the message table (118 "Show Sound View", 119
    // "Show Drumkit View"), -1 with the command disabled for Qe documents.
    int StsViewMessage() const;

    // Operations
    // Swaps the row with the next (+1) or previous (-1) one: name, data, model
    // letter, bank and resource type move, positions stay. The row the item
    // moved to, or -1 when it cannot move.
    int MoveItem(int direction, int row);
    bool CanBeginLabelEdit(int row) const;
    // The typed name (Windows-1252, at most 18 characters) becomes the item's
    // name; in a Wq document also the name bytes of its record.
    bool EndLabelEdit(int row, std::string_view text);
    void ToggleShownList();
    // Bank menu: banks 9, 10 and 11 can be chosen; false after a refusal.
    bool OnBankRange(int bank);

    // Clipboard
    // The block of the selected rows of the shown list (at most 138); empty
    // without a selection.
    std::vector<uint8_t> CopyBlock(const std::vector<int>& selectedRows) const;

    struct PasteResult {
        int pasted = 0;
        bool closeDocument = false;
    };
    // Pastes a block's items at the end of the shown list, with the series
    // checks and conversions; `caption` names the operation for the messages.
    PasteResult Paste(std::span<const uint8_t> block, bool dragRunning, const char* caption);
    PcgItemResult PastePcgItem(std::span<const uint8_t> block, const PcgClipboardBlock& head,
                               const PcgClipboardBlock::Part& part);
    PcgItemResult PasteWqSerPcgItem(std::span<const uint8_t> block, const PcgClipboardBlock& head,
                                    const PcgClipboardBlock::Part& part, bool dragRunning);
    PcgItemResult PasteDrmItem(std::span<const uint8_t> block, const PcgClipboardBlock& head,
                               const PcgClipboardBlock::Part& part, bool dragRunning);

    // After a drop: the `count` items pasted at the end move up, in their
    // order, until the first stands at `target`.
    void ArrangeDropped(int count, int target);

private:
    PcgItemResult PasteWq(std::span<const uint8_t> block, const PcgClipboardBlock& head,
                          const PcgClipboardBlock::Part& part, bool drumKit, bool dragRunning);

    PcgDocModel& doc_;
};

} // namespace zib
