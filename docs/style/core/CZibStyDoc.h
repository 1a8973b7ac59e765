#pragma once

#include "docs/style/core/CStyItem.h"
#include "docs/style/core/ItemFile.h"
#include "docs/style/core/StyClipboardBlock.h"
#include "docs/style/core/StyNotice.h"
#include "midi/ProgramNames.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The style document of both keyboard series, GUI-free: a style file (.STY)
// read whole and cut into style items, and for Qe files one STS item per
// style item; the item commands, model conversions, clipboard blocks and list
// operations that change the item arrays. The windows show the arrays and
// turn user input into calls here; failures reach the user as notices.
//
// A Wq file ("DASK" and a model letter) is a head (96 bytes for '9', '<',
// 'H'; 224 for 'I', 'M') holding the little-endian u16 item sizes (four slots
// at 76 + 6k; 48 ('I') or 16 ('M') slots at 24 + 4k), then the items back to
// back. A Qe file is a DASF container of styles (type 2) and STS blocks
// (type 7) whose index entries carry bank and position.
class CZibStyDoc {
public:
    static constexpr int kItemLimit = 64; // items a document takes by import and paste
    static constexpr int kUserPrograms = 128;
    static constexpr const char* kEmptyQeName = "** (N/A) EMPTY **";
    static constexpr const char* kEmptiedQeName = "** (N/A) Empty **";

    CZibStyDoc();

    // Content (the list views read these)
    std::vector<CStyItem> m_StyItems;
    std::vector<CStyItem> m_StsItems;        // Qe: one per style item, same order
    uint32_t m_Model = ' ';                  // model letter; ' ' = none yet
    uint32_t m_FileKind = 0;                 // 2 for a .STY file
    uint32_t m_ViewMode = 1;                 // 1 style items shown, 2 STS items (Qe)
    int32_t m_FirstBank = -1;                // Qe: the bank of the items; -1 none
    std::vector<uint8_t> m_FileImage;        // the file as read
    std::vector<uint8_t> m_Head;             // Wq: the file's head
    std::string m_Path;
    std::string m_Folder;
    std::array<std::array<char, 17>, kUserPrograms> m_UserProgNames{};
    uint32_t m_UserNamesPresent = 0;
    uint32_t m_PasteSource = 0;              // letter of the block being pasted
    bool m_PasteRunning = false;

    int StyCount() const { return int(m_StyItems.size()); }
    int StsCount() const { return int(m_StsItems.size()); }
    bool IsQe() const { return m_Model == 'F' || m_Model == 'X'; }
    bool IsWq() const;
    // What the program-name texts read of the document.
    StyleDocumentNames ProgramNameSource() const;

    // Reporting
    void SetNoticeSink(StyNoticeSink sink) { notices_ = std::move(sink); }
    void SetModifiedListener(std::function<void()> listener) { modifiedListener_ = std::move(listener); }
    void SetModified();
    void ClearModified() { modified_ = false; }
    bool IsModified() const { return modified_; }
    // True once after an operation failed so that the document's data can no
    // longer be used: the window aborts the document (Clear has run).
    bool TakeAbortRequest();

    // Opening
    // The file kind of a path: 2 when its last four characters are ".STY"
    // (any case), else 0.
    static uint32_t FileKindOf(const std::string& path);
    // Opens a file image: file kind, head test, ParseSty, user program names.
    // False after the messages; a failed parse leaves the document cleared.
    bool OpenImage(std::vector<uint8_t> image, const std::string& path);
    void NewDocument();
    // Empties the document (what closing or reusing it does).
    void Clear();
    bool HeadTest();
    int ParseSty();
    // Names of the user programs from "%s.prg" beside the file; 1 when read.
    int GetUserProgNames(const std::string& path);

    // Item commands
    // Deletes the selected rows (or the focused one); nothing in the STS view
    // of a Qe document. Returns 1.
    int DeleteSelectedItems(std::span<const int> selected, int focused);
    // Empties the selected rows (or the focused one) by the view mode; false
    // when the document had to be aborted.
    bool EmptyItems(std::span<const int> selected, int focused);
    // The item file of row `index`; 1 written, 0 failed (after its message).
    int ExtractItem(int index, const std::filesystem::path& path);
    // Imports item files in order while the document has fewer than 64
    // items. `failed`: a file stopped the batch.
    struct ImportOutcome {
        int imported = 0;
        bool failed = false;
    };
    ImportOutcome ImportItems(const std::vector<std::string>& paths);
    // One item file: 1 go on with the batch, 0 stop.
    int ImportStyle(const std::string& path);

    // Model conversions (see WqStyleItemConversion.h, Qe9zToQe4k.h)
    int ConvertItem(uint32_t source, uint32_t target, int index);
    // One track of one CV of a Wq item replaced by a MIDI file's events; 1 done, 0 failed.
    int ReplaceWqTrackData(int index, std::span<const uint8_t> midi, int element, int cv, int track);
    static uint32_t GetQe9zToQe4kSize(std::span<const uint8_t> instance);
    static int BuildQe4kStyleChunk(std::span<const uint8_t> instance, std::span<uint8_t> out, uint32_t newLength);

    // List operations
    // Swaps row `row` with the next (+1) or previous (-1) row's contents;
    // false when nothing moved.
    bool MoveItem(int direction, int row);
    // The rename limit of a row (10, 16 or 18 characters); 0 when the row's
    // item cannot be renamed.
    int RenameLimit(int row) const;
    // Renames a row to `text` (Windows-1252 bytes); false when refused.
    bool RenameItem(int row, std::string_view text);
    void SetBank(int bank);
    void ToggleViewMode();

    // Clipboard and drag-drop
    // The block of the selected rows (STS view: the focused row's STS item);
    // nullopt when there is nothing to copy or more than 138 rows.
    std::optional<StyClipboardBlock> CopyBlock(std::span<const int> selected, int focused) const;
    struct PasteOutcome {
        std::vector<int> rows; // rows of the pasted items
        bool fatal = false;    // the document was aborted
    };
    // Whether Paste / a drop takes the block at all (kind, series, view mode).
    bool AcceptsPaste(const StyClipboardBlock& block) const;
    bool AcceptsDrop(const StyClipboardBlock& block) const;
    // Pastes the items of a block at the end (at most 64 items in all).
    PasteOutcome PasteBlock(const StyClipboardBlock& block, const char* caption);
    int PasteStyItem(const StyClipboardBlock& block, int index);
    int PasteQeStsItem(const StyClipboardBlock& block, int index);
    // The STS view's paste: the STS item of a content-code-6 block into `row`.
    bool PasteOneQeStsItem(const StyClipboardBlock& block, int row);
    // A drop at `dropRow` (-1: after the last row). From this view with the
    // move effect, the dragged rows go first; the pasted rows are then moved
    // to the drop row. The rows of the pasted items afterwards.
    PasteOutcome DropBlock(const StyClipboardBlock& block, int dropRow, bool fromThisView, bool moveEffect,
                           std::span<const int> draggedRows);

    // Saving
    // The whole file: the Wq head with the item sizes and the items, or the
    // DASF container of the Qe items. Empty after a notice when the document
    // cannot be written (too many or too large items, nothing to write).
    std::vector<uint8_t> BuildFileImage();

private:
    void Notify(StyNotice notice) const;
    void AbortAndClear();
    void Renumber();
    CStyItem EmptyQeItem(uint32_t model, const CStyItem* from = nullptr) const;
    int BankForNewItems();
    bool EmptyStyItem(CStyItem& item, int index, bool sts);
    // A converted Wq item (Qe style-chunk payload) made a Qe item through a
    // one-resource container; false after a message with `caption`.
    bool RereadConvertedItem(CStyItem& item, const std::string& name, const char* caption);
    int ImportContent(const std::string& path, const ItemFileContent& content);

    StyNoticeSink notices_;
    std::function<void()> modifiedListener_;
    bool modified_ = false;
    bool abortRequested_ = false;
};

} // namespace zib
