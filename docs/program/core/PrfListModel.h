#pragma once

#include "docs/program/core/ItemBlocks.h"
#include "docs/program/core/ItemListModel.h"
#include "docs/program/core/PrfDocModel.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The performance list view without its window: name, category/position and
// size columns, moving, renaming, the category menu, and copying, pasting and
// dragging performances through the private clipboard block, with the Qe9z to
// Qe4k conversion of a performance pasted into a Qe4k document.
class PrfListModel : public ItemListModel {
public:
    explicit PrfListModel(PrfDocModel& doc) : ItemListModel(doc, DropShift::DeletedBeforePlusOne), doc_(doc) {}
    PrfDocModel& Doc() { return doc_; }

    static std::vector<Column> Columns();
    int RowCount() const override { return doc_.Count(); }
    const CItemInfo& RowItem(int row) const override { return doc_.items[size_t(row)]; }
    std::string CellText(int row, int column) const;

    bool CanMove() const;
    bool CanCopy() const;
    bool CanRename() const;
    // Properties: a focused performance with data.
    bool CanEditProperties() const;

    void MoveItem(int direction);
    bool CanBeginLabelEdit(int row) const;
    bool EndLabelEdit(int row, std::string_view text);
    // The "BANKS" menu: category c for the document and every performance with
    // data; a category a file cannot keep (16, "17: RESERVED !!!") changes nothing.
    void SetCategory(int category);
    void OnKeyDelete() override { doc_.DeleteItems(); }

    std::optional<std::vector<uint8_t>> CopyBlock() override;
    int Paste(std::span<const uint8_t> bytes, const char* caption) override;
    PrfItemResult PastePrfItem(const PrfBlock& block, const PrfBlockItem& part);

    // The performance converted from the Qe9z to the Qe4k in place: style
    // position above 16 to 0, initial element 10 or 11 to 4, every sound of the
    // style tracks and the first STS block checked against the Qe4k's; the
    // warnings name the performance. False, after message 31, for data that
    // does not hold what the conversion reads.
    bool ConvertQe9zToQe4k(std::vector<uint8_t>& data, const std::string& name);

protected:
    bool DeleteDragged() override { return doc_.DeleteItems(); }
    void PlaceDropped(int count, int target) override;

private:
    PrfDocModel& doc_;
};

} // namespace zib
