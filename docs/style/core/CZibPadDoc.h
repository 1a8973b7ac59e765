#pragma once

#include "docs/style/core/CQeBank.h"
#include "docs/style/core/CQePadItem.h"
#include "docs/style/core/CZibItemDoc.h"
#include "docs/style/core/ItemFile.h"
#include "docs/style/core/StyClipboardBlock.h"
#include "docs/style/core/StyNotice.h"
#include "docs/style/core/StyUiPort.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zib {

// The pad document, GUI-free: a Qe pad file (.PAD), a DASF container whose
// resources of type 9 are pads (small Qe styles), one pad item per bank
// position; delete, empty, item files, clipboard blocks, list operations,
// Pad To MIDI and writing the file back. It reaches the user only through
// its UI port.
class CZibPadDoc : public CZibItemDoc {
public:
    static constexpr const char* kEmptyName = "** (N/A) EMPTY **";
    static constexpr const char* kEmptiedName = "** (N/A) Empty ** ";

    // Content (the list view reads these)
    std::vector<CQePadItem> m_PadItems;
    uint32_t m_ImportLetter = 0;

    int PadCount() const { return int(m_PadItems.size()); }
    int ItemCount() const override { return PadCount(); }
    // A position each: a pad file has 32.
    int ItemLimit() const override { return CQeBank::PositionLimit(9, false); }
    const CStyItem& ItemAt(int index) const override { return m_PadItems[size_t(index)]; }

    // Opening
    void Clear() override;
    // File kind 5 for a path ending ".PAD" (any case), else 0.
    static uint32_t CheckExtension(const std::string& path);
    bool CheckHeader();
    int ParseQESty();

    // "Playback Pad item": pads do not play.
    void OnPlaybackPadItem() {}

    // The item steps with their rows given
    int DeleteSelectedItems(std::span<const int> selected, int focused) override;
    bool EmptyItems(std::span<const int> selected, int focused) override;
    // One pad item file: 1 imported or skipped, 0 failed.
    int ImportPad(const std::filesystem::path& path);

    // List operations
    int RenameLimit(int row) const override;
    bool RenameItem(int row, std::string_view text) override;
    void SetBank(int bank) override;

    // Clipboard and drag-drop (the focused row plays no part)
    std::optional<StyClipboardBlock> CopyBlock(std::span<const int> selected, int focused) const override;
    void OnEditPaste() override;
    bool AcceptsDrop(const StyClipboardBlock& block) const override;
    // Paste of a block: "Wrong clipboard data type" for another kind or
    // content, "Wrong clipboard data size" for a letter other than 'F' or 'X'
    // or parts that do not hold what their headers say.
    PasteOutcome PasteBlock(const StyClipboardBlock& block, const char* caption) override;
    // kStyConvertOk pasted, kStyConvertRefused failed (the paste stops),
    // kStyConvertFailedSaid this pad skipped.
    int PastePadItem(const StyClipboardBlock& block, int index);

    // Pad To MIDI: the selected pads as MIDI files in a chosen folder; the
    // number of pads converted.
    int OnUtilPadToMidi();
    int PadsToMidi(std::span<const int> rows, const std::filesystem::path& folder);

    // Saving: the container of the pads; empty after a message when nothing can be written.
    std::vector<uint8_t> BuildFileImage() override;

protected:
    ItemFileTexts ItemFiles() const override;
    uint32_t FileKindOfPath(const std::string& path) const override { return CheckExtension(path); }
    uint32_t NewFileKind() const override { return 5; }
    bool ReadFileImage(const std::string& path) override;
    std::vector<uint8_t> ItemFileBytes(int index) const override;
    int ImportItemFile(const std::filesystem::path& path) override;
    int PasteItem(const StyClipboardBlock& block, int index) override { return PastePadItem(block, index); }
    void SwapRows(int a, int b) override;
    void Renumber() override;

private:
    int BankForNewItems();
    // One pad as MIDI files; 1 converted, 0 not, -1 the whole command ends.
    int PadToMidi(const CQePadItem& pad, const std::filesystem::path& folder, bool& yesToAll);
};

} // namespace zib
