#pragma once

#include "docs/program/core/ItemDocBase.h"
#include "docs/program/core/ItemDrag.h"

#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace zib {

// What the program, performance and arrangement lists do alike without their
// window: the clipboard commands, dragging the selected items as a block and
// dropping blocks with the reorder, and the paste loop with its limit. Each
// list supplies its rows, its block and the paste of one block.
class ItemListModel {
public:
    struct Column {
        std::string_view title;
        int width;
    };

    virtual ~ItemListModel() = default;
    ItemListModel(const ItemListModel&) = delete;
    ItemListModel& operator=(const ItemListModel&) = delete;

    virtual int RowCount() const = 0;
    // The item of a row, 0 .. RowCount() - 1.
    virtual const CItemInfo& RowItem(int row) const = 0;
    bool CanPaste() const { return itemDoc_.Port().ClipboardHasBlock(); }

    // Clipboard
    // The block of the selected rows; nullopt without a selection, or after
    // a message for more than 138 rows.
    virtual std::optional<std::vector<uint8_t>> CopyBlock() = 0;
    void OnEditCopy();
    // Copy, then the Delete key's deletion.
    void OnEditCut();
    void OnEditPaste();
    // The Delete key: the selection (else the focused row) deleted.
    virtual void OnKeyDelete() = 0;
    // Pastes a block's items at the end of the list, with the series checks
    // and conversions; the number pasted. `caption` names the command.
    virtual int Paste(std::span<const uint8_t> bytes, const char* caption) = 0;

    // Drag and drop
    ItemDrag& Drag() { return drag_; }
    // A drag from this view starts: its block, with the drag flags set.
    std::optional<std::vector<uint8_t>> BeginDrag();
    // The drag ended: a move whose drop went elsewhere deletes the selection.
    void EndDrag(bool moved);
    // A block dropped on row `target` (-1: no row); true when items were
    // pasted. A move inside this list deletes the dragged rows itself, then
    // the pasted items move up to the drop row.
    bool OnDrop(std::span<const uint8_t> bytes, int target, bool move);

protected:
    ItemListModel(ItemDocBase& doc, DropShift shift) : itemDoc_(doc), shift_(shift) {}

    // The dragged rows of a move inside the list deleted (the document's Delete).
    virtual bool DeleteDragged() = 0;
    // The last `count` items moved up to `target` and every position
    // renumbered.
    virtual void PlaceDropped(int count, int target) = 0;

    // The paste loop over `count` items: `paste` adds item i while the list
    // is below the document's item limit; a refused item ends the loop, one
    // that closes the document asks the window to. The limit's message names
    // `caption`.
    int PasteItems(size_t count, const std::function<ItemResult(size_t)>& paste, const char* caption);

    ItemDocBase& itemDoc_;
    ItemDrag drag_;

private:
    DropShift shift_;
    int moveRoom_ = 0; // rows a drop moves within the list: deleted once the copies are in
};

} // namespace zib
