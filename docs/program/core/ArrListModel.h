#pragma once

#include "docs/program/core/ArrDocModel.h"
#include "docs/program/core/ArrFormat.h"
#include "docs/program/core/ItemBlocks.h"
#include "docs/program/core/ItemListModel.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The arrangement list view without its window: thirteen columns of name,
// position, style, tempo and the programs of the nine tracks, the program
// texts' two forms (a click on a program column widens them and shows names),
// moving, renaming, and copying, pasting and dragging arrangements through
// the private clipboard block with the model conversions.
class ArrListModel : public ItemListModel {
public:
    explicit ArrListModel(ArrDocModel& doc) : ItemListModel(doc, DropShift::DeletedBefore), doc_(doc) {}
    ArrDocModel& Doc() { return doc_; }

    // What the list shows
    std::vector<Column> Columns() const; // widths as the form shows them
    int RowCount() const override { return doc_.Count(); }
    const CItemInfo& RowItem(int row) const override { return doc_.items[size_t(row)]; }
    std::string CellText(int row, int column) const;
    ArrProgramForm Form() const { return wide_ ? ArrProgramForm::Name : ArrProgramForm::Code; }
    // A click on columns 4-12 widens them by 50 pixels and shows names, or back.
    bool ColumnClicked(int column);

    // Command states (rows from the port)
    bool CanMove() const;
    bool CanCopy() const;
    bool CanRename() const;

    // Operations
    void MoveItem(int direction);
    bool CanBeginLabelEdit(int row) const;
    size_t LabelLimit() const { return doc_.FamilyA() ? 10 : 16; }
    bool EndLabelEdit(int row, std::string_view text);
    void OnKeyDelete() override;

    // Clipboard and drag and drop
    std::optional<std::vector<uint8_t>> CopyBlock() override;
    int Paste(std::span<const uint8_t> bytes, const char* caption) override;
    ArrItemResult PasteArrItem(const ArrBlock& block, std::span<const uint8_t> record);

protected:
    bool DeleteDragged() override { return doc_.DeleteItems(); }
    void PlaceDropped(int count, int target) override;

private:
    ArrDocModel& doc_;
    bool wide_ = false;
};

} // namespace zib
