#pragma once

#include "docs/style/core/CStyItem.h"
#include "docs/style/core/ItemFile.h"
#include "docs/style/core/StyClipboardBlock.h"
#include "docs/style/core/StyNotice.h"
#include "docs/style/core/StyUiPort.h"
#include "docs/style/core/StyleMidiExport.h"
#include "midi/CStyleMidiReader.h"
#include "midi/ProgramNames.h"

#include <array>
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

class CStyleMidiReader;

// The style document of both keyboard series, GUI-free: a style file (.STY)
// read whole and cut into style items, and for Qe files one STS item per
// style item; the item commands, model conversions, clipboard blocks, list
// operations, reports and MIDI exports that work on the item arrays. The
// windows show the arrays; the document reaches the user only through its
// UI port (StyUiPort) and reads its settings as values.
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
    std::vector<CStyItem> m_StsItems; // Qe: one per style item, same order
    uint32_t m_Model = ' ';           // model letter; ' ' = none yet
    uint32_t m_FileKind = 0;          // 2 for a .STY file
    uint32_t m_ViewMode = 1;          // 1 style items shown, 2 STS items (Qe)
    int32_t m_FirstBank = -1;         // Qe: the bank of the items; -1 none
    std::vector<uint8_t> m_FileImage; // the file as read
    std::vector<uint8_t> m_Head;      // Wq: the file's head
    std::string m_Path;               // UTF-8
    std::filesystem::path m_Folder;   // folder of the opened file
    std::filesystem::path m_OutputFolder; // last folder chosen for Style To MIDI
    std::array<std::array<char, 17>, kUserPrograms> m_UserProgNames{};
    uint32_t m_UserNamesPresent = 0;
    uint32_t m_PasteSource = 0; // letter of the block being pasted
    bool m_PasteRunning = false;
    bool m_Importing = false;

    int StyCount() const { return int(m_StyItems.size()); }
    int StsCount() const { return int(m_StsItems.size()); }
    bool IsQe() const { return m_Model == 'F' || m_Model == 'X'; }
    bool IsWq() const;
    bool StsView() const { return IsQe() && m_ViewMode == 2; }
    // What the program-name texts read of the document.
    StyleDocumentNames ProgramNameSource() const;

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

    // Opening
    // The file kind of a path: 2 when its last four characters are ".STY"
    // (any case), else 0.
    static uint32_t FileKindOf(const std::string& path);
    // Opens a file image: empty file, file kind, head test, ParseSty, user
    // program names. False after the messages; a failed parse leaves the
    // document cleared.
    bool OpenImage(std::vector<uint8_t> image, const std::string& path);
    void NewDocument();
    // Empties the document (what closing or reusing it does).
    void Clear();
    bool HeadTest();
    int ParseSty();
    // Names of the user programs from "%s.prg" beside the file (the
    // extension in any case); 1 when read.
    int GetUserProgNames(const std::string& path);
    // "Save changes to <title>" when modified: Yes writes through `save`
    // (false: stay open), No closes, Cancel stays open. True: may close.
    bool SaveModified(const std::string& title, const std::function<bool()>& save);

    // Item commands on the port's selection
    void OnEditDelete();
    void OnEditEmpty();
    void OnEditExtract();
    void ImportItem();
    // One item file per row with data into a chosen folder.
    void OnEditExtractAll();
    void SelectAll();

    // The same steps with their rows given
    // Deletes the selected rows (or the focused one); nothing in the STS view
    // of a Qe document. Returns 1.
    int DeleteSelectedItems(std::span<const int> selected, int focused);
    // Empties the selected rows (or the focused one) by the view mode; false
    // when the document had to be aborted.
    bool EmptyItems(std::span<const int> selected, int focused);
    // The item file of row `index`; 1 written, 0 failed (after its message).
    int ExtractItem(int index, const std::filesystem::path& path);
    // The file name Extract Item offers for a row (UTF-8, with extension).
    std::string ExtractFileName(int index) const;
    // Imports item files in order while the document has fewer than 64
    // items. `failed`: a file stopped the batch.
    struct ImportOutcome {
        int imported = 0;
        bool failed = false;
    };
    ImportOutcome ImportItems(const std::vector<std::filesystem::path>& paths);
    // One item file: 1 go on with the batch, 0 stop.
    int ImportStyle(const std::filesystem::path& path);

    // Model conversions (see WqStyleItemConversion.h, Qe9zToQe4k.h)
    int ConvertItem(uint32_t source, uint32_t target, int index);
    // One track of one CV of a Wq item replaced by a MIDI file's events; 1 done, 0 failed.
    int ReplaceWqTrackData(int index, std::span<const uint8_t> midi, int element, int cv, int track);
    static uint32_t GetQe9zToQe4kSize(std::span<const uint8_t> instance);
    static int BuildQe4kStyleChunk(std::span<const uint8_t> instance, std::span<uint8_t> out, uint32_t newLength);

    // List operations
    // Swaps row `row` (-1: the focused row) with the next (+1) or previous
    // (-1) row's contents; false when nothing moved.
    bool MoveItem(int direction, int row = -1);
    // The rename limit of a row (10, 16 or 18 characters); 0 when the row's
    // item cannot be renamed.
    int RenameLimit(int row) const;
    // Renames a row to `text` (Windows-1252 bytes); false when refused.
    bool RenameItem(int row, std::string_view text);
    void SetBank(int bank);
    void SetStyleElement(int element) { m_Element = element >= 0 && element <= 9 ? element : 0; }
    int StyleElement() const { return m_Element; }
    void ToggleViewMode();
    // The too-large marks of a Wq file (see StyListModel.h), told to the view.
    bool CheckFileSize(bool check);

    // Clipboard and drag-drop
    // The block of the selected rows (STS view: the focused row's STS item);
    // nullopt when there is nothing to copy. More than 138 rows are refused
    // with "Cannot copy data to clipboard".
    std::optional<StyClipboardBlock> CopyBlock(std::span<const int> selected, int focused) const;
    void OnEditCopy();
    void OnEditCut();
    // Paste (the STS view pastes one STS item).
    void OnEditPaste();
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
    // A drop of block bytes at `dropRow` (-1: after the last row). From this
    // view with the move effect, the dragged rows go first; the pasted rows
    // are then moved to the drop row. The rows of the pasted items afterwards.
    PasteOutcome DropBlock(const StyClipboardBlock& block, int dropRow, bool fromThisView, bool moveEffect,
                           std::span<const int> draggedRows);
    PasteOutcome OnDrop(std::span<const uint8_t> bytes, int dropRow, bool fromThisView, bool moveEffect,
                        std::span<const int> draggedRows);

    // Dumps, reports and cleaning
    // "Style To Text": the dump report of the focused Wq style into a file the user names.
    void OnUtilSty2Txt();
    // "Text Dump": the same report beside the document's file, shown in a viewer.
    void OnViewTextDump();
    // Writes the dump report of item `index` to `path`; 1 written, 0 not.
    int WriteStyleDump(const std::filesystem::path& path, int index);
    // "Item list report" of every item into a file the user names.
    void OnUtilItemsReport();
    // "Clean style events" of the selected Wq styles; the number of styles cleaned.
    int CleanStyleEvents();

    // MIDI
    // "Style To MIDI": the selected styles as MIDI files in a chosen folder;
    // the number converted (also told in the closing message).
    int OnUtilStyToMidi();
    int StylesToMidi(std::span<const int> rows, const std::filesystem::path& folder);
    // The data of "Start/Stop MIDI Playback": the focused and selected style
    // in a filled style MIDI reader and the console's title; nullopt after
    // its message (or silently for a Qe style the library cannot play).
    std::optional<StylePlayback> PlaySelectedStyle();

    // Saving
    // The whole file: the Wq head with the item sizes and the items, or the
    // DASF container of the Qe items. Empty after a message when the document
    // cannot be written (too many or too large items, nothing to write).
    std::vector<uint8_t> BuildFileImage();

private:
    void Notify(StyNotice notice) const { port_->Message(notice); }
    void Tell(StyViewNotice notice, int row = -1) const { port_->ViewNotice(notice, row); }
    void AbortAndClear();
    void Renumber();
    CStyItem EmptyQeItem(uint32_t model, const CStyItem* from = nullptr) const;
    int BankForNewItems();
    void EmptyStyItem(CStyItem& item, int index, bool sts);
    // A converted Wq item (Qe style-chunk payload) made a Qe item through a
    // one-resource container; false after a message with `caption`.
    bool RereadConvertedItem(CStyItem& item, const std::string& name, const char* caption);
    int ImportContent(const std::filesystem::path& path, const ItemFileContent& content);
    std::vector<uint8_t> BuildWqFileImage();
    std::vector<uint8_t> BuildQeFileImage();

    StyUiPort* port_;
    std::unique_ptr<StyUiPort> nullPort_;
    StyDocSettings settings_;
    int m_Element = 0;         // the element the per-element columns show
    bool dragRunning_ = false; // a drop moves its rows without selecting each
    std::function<void()> modifiedListener_;
    bool modified_ = false;
    bool abortRequested_ = false;
};

} // namespace zib
