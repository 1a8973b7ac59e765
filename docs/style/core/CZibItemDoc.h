#pragma once

#include "docs/style/core/CStyItem.h"
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
#include <string_view>
#include <vector>

namespace zib {

// What the style and pad documents have alike, GUI-free: the file and its
// model letter, kind and bank; the UI port and the settings; the modified
// flag and the abort request; and the item commands whose steps are the same
// for styles and pads (delete, empty, extract, import, copy, cut, the paste
// loop, drag and drop, moving rows). A derived document holds its item
// arrays and supplies the steps that differ.
class CZibItemDoc {
public:
    CZibItemDoc();
    virtual ~CZibItemDoc();
    CZibItemDoc(CZibItemDoc&&) = default;
    CZibItemDoc& operator=(CZibItemDoc&&) = default;

    // Content (the list views read these)
    uint32_t m_Model = ' ';           // model letter; ' ' = none yet
    uint32_t m_FileKind = 0;          // 2 for a .STY file, 5 for a .PAD file
    int32_t m_FirstBank = -1;         // Qe: the bank of the items; -1 none
    std::vector<uint8_t> m_FileImage; // the file as read
    std::string m_Path;               // UTF-8
    std::filesystem::path m_Folder;   // folder of the opened file
    bool m_Importing = false;

    bool IsQe() const { return m_Model == 'F' || m_Model == 'X'; }
    // The items of the file (styles or pads) and the rows the list shows.
    virtual int ItemCount() const = 0;
    virtual const CStyItem& ItemAt(int index) const = 0;
    virtual int RowCount() const { return ItemCount(); }
    virtual const CStyItem& RowItem(int row) const { return ItemAt(row); }
    // A Qe style file can show its STS items instead; item commands then stand still.
    virtual bool StsView() const { return false; }
    // The most items the document's file keeps: import, paste and drop stop
    // there, so that a saved file opens again with every item in its place.
    virtual int ItemLimit() const = 0;

    // The UI port and the settings
    void SetPort(StyUiPort* port); // null: a port that shows nothing
    StyUiPort& Port() const { return *port_; }
    void SetSettings(StyDocSettings settings) { settings_ = std::move(settings); }
    const StyDocSettings& Settings() const { return settings_; }

    // Modified flag
    void SetModifiedListener(std::function<void()> listener) { modifiedListener_ = std::move(listener); }
    void SetModified();
    void ClearModified() { modified_ = false; }
    bool IsModified() const { return modified_; }
    // True once after an operation failed so that the document's data can no
    // longer be used: the window closes the document (it has been cleared).
    bool TakeAbortRequest();
    // "Save changes to <title>" when modified: Yes writes through `save`
    // (false: stay open), No closes, Cancel stays open. True: may close.
    bool SaveModified(const std::string& title, const std::function<bool()>& save);

    // Opening and saving
    // Opens a file image: empty file, file kind, then the document's own
    // reading. False after the messages; a refused file leaves the document
    // cleared.
    bool OpenImage(std::vector<uint8_t> image, const std::string& path);
    // Starts a new file of the document's kind: no items and no model yet;
    // imports and pastes fill it.
    void NewDocument();
    // Empties the document (what closing or reusing it does).
    virtual void Clear();
    // The whole file; empty after a message when nothing can be written.
    virtual std::vector<uint8_t> BuildFileImage() = 0;

    // Item commands on the port's selection
    void OnEditDelete();
    void OnEditEmpty();
    void OnEditExtract();
    // One item file per row with data into a chosen folder.
    void OnEditExtractAll();
    void ImportItem();
    void SelectAll();

    // The same steps with their rows given
    // Deletes the selected rows (or the focused one). Returns 1.
    virtual int DeleteSelectedItems(std::span<const int> selected, int focused) = 0;
    // Empties the selected rows (or the focused one); false when the
    // document had to be aborted.
    virtual bool EmptyItems(std::span<const int> selected, int focused) = 0;
    // The item file of row `index`; 1 written, 0 failed (after its message).
    int ExtractItem(int index, const std::filesystem::path& path);
    // The file name Extract Item offers for a row (UTF-8, without extension).
    std::string ExtractFileName(int index) const;
    // Imports item files in order while the document has fewer items than
    // its limit. `failed`: a file stopped the batch. The edit frame, the track
    // editor and the text dump close only once a file's import goes ahead
    // (ImportGoesAhead): a cancelled dialog or a refused file leaves them open.
    struct ImportOutcome {
        int imported = 0;
        bool failed = false;
    };
    ImportOutcome ImportItems(const std::vector<std::filesystem::path>& paths);

    // List operations
    // Swaps row `row` (-1: the focused row) with the next (+1) or previous
    // (-1) row's contents; false when nothing moved.
    bool MoveItem(int direction, int row = -1);
    // The rename limit of a row; 0 when the row's item cannot be renamed.
    virtual int RenameLimit(int row) const = 0;
    // Renames a row to `text` (Windows-1252 bytes); false when refused.
    virtual bool RenameItem(int row, std::string_view text) = 0;
    virtual void SetBank(int bank) = 0;
    void SetStyleElement(int element) { m_Element = element >= 0 && element <= 9 ? element : 0; }
    int StyleElement() const { return m_Element; }

    // Clipboard and drag-drop
    // The block of the selected rows (or of the focused row where the
    // document copies that); nullopt when there is nothing to copy. More than
    // 138 rows are refused with "Cannot copy data to clipboard".
    virtual std::optional<StyClipboardBlock> CopyBlock(std::span<const int> selected, int focused) const = 0;
    void OnEditCopy();
    void OnEditCut();
    virtual void OnEditPaste() = 0;
    struct PasteOutcome {
        std::vector<int> rows; // rows of the pasted items
        bool fatal = false;    // the document was aborted
    };
    // Whether a drop takes the block at all.
    virtual bool AcceptsDrop(const StyClipboardBlock& block) const = 0;
    // Pastes the items of a block at the end, up to the item limit.
    virtual PasteOutcome PasteBlock(const StyClipboardBlock& block, const char* caption) = 0;
    // A drop of block bytes at `dropRow` (-1: after the last row). From this
    // view with the move effect, the dragged rows go first; the pasted rows
    // are then moved to the drop row. The rows of the pasted items afterwards.
    PasteOutcome DropBlock(const StyClipboardBlock& block, int dropRow, bool fromThisView, bool moveEffect,
                           std::span<const int> draggedRows);
    PasteOutcome OnDrop(std::span<const uint8_t> bytes, int dropRow, bool fromThisView, bool moveEffect,
                        std::span<const int> draggedRows);

protected:
    // What a derived document supplies
    struct ItemFileTexts {
        const char* importTitle; // "Import Styles"
        const char* filter;      // "WqStyle Files (*.WSF)|*.WSF||"
        const char* extension;   // "WSF"
    };
    virtual ItemFileTexts ItemFiles() const = 0;
    // The file kind a path names (0: not this document's).
    virtual uint32_t FileKindOfPath(const std::string& path) const = 0;
    // The file kind of a new document.
    virtual uint32_t NewFileKind() const = 0;
    // Reads m_FileImage into the items; false after the messages.
    virtual bool ReadFileImage(const std::string& path) = 0;
    // The bytes of the item file of row `index` (a valid row).
    virtual std::vector<uint8_t> ItemFileBytes(int index) const = 0;
    // One file of an import batch, its name checked first: 1 go on, 0 stop.
    // Once the file has passed its checks, before the document changes, it
    // calls ImportGoesAhead.
    virtual int ImportItemFile(const std::filesystem::path& path) = 0;
    // An imported file is about to change the document: the windows that
    // show its items close (they write their edits back first).
    void ImportGoesAhead() const { Tell(StyViewNotice::CloseToolWindows); }
    // One part of a block pasted at the end: kStyConvertOk, kStyConvertFailedSaid
    // (skipped, the paste goes on), kStyConvertFatal, or another code (the paste stops).
    virtual int PasteItem(const StyClipboardBlock& block, int index) = 0;
    // Swaps the contents of two rows (of every array the row stands in).
    virtual void SwapRows(int a, int b) = 0;
    virtual void Renumber() = 0;
    // Tells the view its rows changed; a Wq style file marks its too-large items first.
    virtual void ShowChangedRows() { Tell(StyViewNotice::RowsChanged); }

    // Steps for the derived documents
    void Notify(StyNotice notice) const { port_->Message(notice); }
    void Tell(StyViewNotice notice, int row = -1) const { port_->ViewNotice(notice, row); }
    // Clears the document and asks the window to close it.
    void AbortAndClear();
    // Tells `notice` with the stop icon; 0, what a stopped import step returns.
    int Stop(StyNotice notice) const;
    // An item file read whole for an import, beginning with "DASK" and a
    // model letter; nullopt after the message under `caption`.
    std::optional<std::vector<uint8_t>> ReadDaskItemFile(const std::filesystem::path& path, const char* caption) const;
    // The pasting loop of PasteBlock over a checked block: each part through
    // PasteItem while the document has room, "MAX ITEM NUM reached" when
    // parts were left over.
    PasteOutcome PasteItems(const StyClipboardBlock& block, const char* caption);
    // The destination of a MIDI export, remembered as the last opened folder.
    std::optional<std::filesystem::path> ChooseDestinationFolder();
    // A MIDI export of the chosen rows under the busy cursor, each row through
    // `exportRow` (1 converted, 0 not, -1 the export stops), closed by the
    // `report` of how many of how many were converted; the number converted.
    int ExportRowsToMidi(std::span<const int> rows, const char* report,
                         const std::function<int(int row, bool& yesToAll)>& exportRow);
    // A Qe container of the given items under `bank`, each at its position;
    // empty after the message when an item does not go in or none is there.
    struct QeContainerEntry {
        const CStyItem* item;
        int position;
    };
    std::vector<uint8_t> BuildQeContainerImage(std::span<const QeContainerEntry> entries, int bank) const;
    // Swaps what the rows of a list show of two items (not their places in the container).
    void SwapItemContent(CStyItem& a, CStyItem& b) const;

    StyDocSettings settings_;
    bool dragRunning_ = false; // a drop moves its rows without selecting each
    int dropRoom_ = 0;         // rows a drop moves within the list: deleted once the copies are in
    bool abortRequested_ = false;
    StyUiPort* port_;

private:
    std::unique_ptr<StyUiPort> nullPort_;
    int m_Element = 0; // the element the per-element columns show
    std::function<void()> modifiedListener_;
    bool modified_ = false;
};

} // namespace zib
