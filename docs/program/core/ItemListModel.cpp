#include "docs/program/core/ItemListModel.h"

#include <algorithm>

namespace zib {

// Clipboard

void ItemListModel::OnEditCopy()
{
    if (auto block = CopyBlock()) itemDoc_.Port().WriteClipboard(*block);
}

void ItemListModel::OnEditCut()
{
    auto block = CopyBlock();
    if (!block) return;
    itemDoc_.Port().WriteClipboard(*block);
    OnKeyDelete();
}

void ItemListModel::OnEditPaste()
{
    const ClipboardRead clip = itemDoc_.Port().ReadClipboard();
    if (clip.state == ClipboardRead::State::CannotAttach) {
        itemDoc_.Notify(DocMessage::Numbered(33, "OnEditPaste"));
        return;
    }
    if (clip.state == ClipboardRead::State::NoFormat) return;
    if (clip.state == ClipboardRead::State::NoData) {
        itemDoc_.Notify(DocMessage::Numbered(34, "OnEditPaste"));
        return;
    }
    const int before = RowCount();
    const int pasted = Paste(clip.bytes, "OnEditPaste");
    if (pasted > 0) SelectPastedRows(itemDoc_.Port(), before, pasted, RowCount() - 1);
}

int ItemListModel::PasteItems(size_t count, const std::function<ItemResult(size_t)>& paste,
                              const char* caption)
{
    itemDoc_.importing = true;
    int pasted = 0;
    bool limit = false;
    for (size_t i = 0; i < count; ++i) {
        if (RowCount() >= itemDoc_.ItemLimit() + moveRoom_) {
            limit = true;
            break;
        }
        const ItemResult r = paste(i);
        if (r == ItemResult::CloseDocument) {
            itemDoc_.closeRequested = true;
            break;
        }
        if (r != ItemResult::Added) break;
        ++pasted;
    }
    itemDoc_.importing = false;
    if (limit)
        itemDoc_.Notify(DocMessage::Text("MAX ITEM NUM reached. Pasted %d items from clipboard",
                                         {std::to_string(pasted)}, caption));
    if (pasted > 0) itemDoc_.modified = true;
    return pasted;
}

// Drag and drop

std::optional<std::vector<uint8_t>> ItemListModel::BeginDrag()
{
    auto block = CopyBlock();
    if (!block) return block;
    auto rows = MarkedRows(itemDoc_.Port().SelectedRows(), -1, RowCount());
    std::reverse(rows.begin(), rows.end());
    drag_.Begin(std::move(rows));
    return block;
}

void ItemListModel::EndDrag(bool moved)
{
    const std::vector<int> rows = drag_.rows;
    if (drag_.End(moved)) {
        itemDoc_.Port().SetSelection(rows, -1);
        OnKeyDelete();
    }
}

bool ItemListModel::OnDrop(std::span<const uint8_t> bytes, int target, bool move)
{
    if (!DropAllowed(itemDoc_.Port(), drag_, target)) return false;
    // Rows moved within the list need no room of their own.
    moveRoom_ = move && drag_.source ? int(drag_.rows.size()) : 0;
    const int pasted = Paste(bytes, "OnDrop");
    moveRoom_ = 0;
    if (pasted <= 0) return false;
    if (move && drag_.source) {
        target = TargetAfterMove(target, drag_.rows, shift_);
        itemDoc_.Port().SetSelection(drag_.rows, -1);
        DeleteDragged();
        drag_.source = false;
    }
    int first = RowCount() - pasted;
    if (target >= 0 && target < first) first = target;
    PlaceDropped(pasted, target);
    itemDoc_.modified = true;
    SelectPastedRows(itemDoc_.Port(), first, pasted, first + pasted - 1);
    return true;
}

} // namespace zib
