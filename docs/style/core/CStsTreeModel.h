#pragma once

#include "docs/style/core/StyClipboardBlock.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zib {

class CZibStyDoc;

// What the STS tree of one Qe style shows and does, without a window: its
// root and the four STS slots, and the copy and paste of the whole STS data
// (content code 6) or of one STS block (code 3) through the private
// clipboard format. It works on the STS item at `index` of the document and
// reaches the user through the document's UI port.
class CStsTreeModel {
public:
    // Images of the tree: the root with data / without, a slot present / absent.
    enum Image { kRootData = 0, kRootEmpty = 1, kSlotPresent = 2, kSlotAbsent = 3 };
    // Item data of the tree's nodes: the root 0, slots 10-13.
    static constexpr int kFirstSlotData = 10;

    CStsTreeModel(CZibStyDoc& doc, int index);

    // The tree
    // Parses the STS item and notes what the tree shows; 0 when its data
    // cannot be parsed (the tree then shows nothing), 1 otherwise.
    int FillStsTree(const std::string& rootLabel);
    const std::string& RootLabel() const { return rootLabel_; }
    int RootImage() const { return rootImage_; }
    int SlotImage(int slot) const { return slot >= 0 && slot < 4 ? slotImages_[size_t(slot)] : kSlotAbsent; }
    const std::array<uint8_t, 4>& SlotOrdinals() const { return ordinals_; }

    // Selection: the item data of the selected node (0 root, 10-13 a slot).
    void Select(int itemData) { selectedSlot_ = itemData >= 10 && itemData <= 13 ? itemData - 10 : -1; }
    int SelectedSlot() const { return selectedSlot_; }
    // Copy and Properties of the root (-1) or a slot: the root when the STS
    // item has data, a slot when it is present. Paste is always offered.
    bool CanCopy(int slot) const;

    // Commands on the selection
    void OnCopy();
    void OnPaste();

    // The clipboard operations; true when the clipboard or the item changed.
    bool CopyStsChunkToClipboard();
    bool CopyStsToClipboard(int slot);
    bool PasteStsChunk();
    bool PasteSts(int slot);

    // The blocks the copies write (also used by the tests and the list's STS view).
    static std::vector<uint8_t> StsChunkBlock(const CZibStyDoc& doc, int index);
    static std::vector<uint8_t> SingleStsBlock(const CZibStyDoc& doc, int index, std::span<const uint8_t> sts261);

private:
    // The block on the clipboard with the document's kind, a Qe document and
    // the content code; nullopt after the message (or silently when the
    // clipboard holds none).
    std::optional<StyClipboardBlock> ReadStsBlock(uint8_t contentCode, const char* caption);

    CZibStyDoc& doc_;
    int index_;
    std::string rootLabel_;
    int rootImage_ = kRootEmpty;
    std::array<int, 4> slotImages_{kSlotAbsent, kSlotAbsent, kSlotAbsent, kSlotAbsent};
    std::array<uint8_t, 4> ordinals_{255, 255, 255, 255};
    int selectedSlot_ = -1;
};

} // namespace zib
