#pragma once

#include "docs/style/core/CStyItem.h"
#include "docs/style/core/CZibItemDoc.h"
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
class CZibStyDoc : public CZibItemDoc {
public:
    static constexpr int kUserPrograms = 128;
    static constexpr const char* kEmptyQeName = "** (N/A) EMPTY **";
    static constexpr const char* kEmptiedQeName = "** (N/A) Empty **";

    // Content (the list views read these)
    std::vector<CStyItem> m_StyItems;
    std::vector<CStyItem> m_StsItems; // Qe: one per style item, same order
    uint32_t m_ViewMode = 1;          // 1 style items shown, 2 STS items (Qe)
    std::vector<uint8_t> m_Head;      // Wq: the file's head
    std::filesystem::path m_OutputFolder; // last folder chosen for Style To MIDI
    std::array<std::array<char, 17>, kUserPrograms> m_UserProgNames{};
    uint32_t m_UserNamesPresent = 0;
    uint32_t m_PasteSource = 0; // letter of the block being pasted
    bool m_PasteRunning = false;

    int StyCount() const { return int(m_StyItems.size()); }
    int StsCount() const { return int(m_StsItems.size()); }
    int ItemCount() const override { return StyCount(); }
    // A slot each in a Wq file; a position each in a Qe one, as many as a Qe9z
    // file has (a Qe4k file of more than 16 styles opens as a Qe9z one).
    int ItemLimit() const override;
    // The style slots of a Wq file: 4 ('9', '<', 'H'), 48 ('I'), 16 ('M').
    static int WqStyleSlots(uint32_t model);
    const CStyItem& ItemAt(int index) const override { return m_StyItems[size_t(index)]; }
    int RowCount() const override { return StsView() ? StsCount() : StyCount(); }
    const CStyItem& RowItem(int row) const override { return (StsView() ? m_StsItems : m_StyItems)[size_t(row)]; }
    bool IsWq() const;
    bool StsView() const override { return IsQe() && m_ViewMode == 2; }
    // What the program-name texts read of the document.
    StyleDocumentNames ProgramNameSource() const;

    // Opening
    // The file kind of a path: 2 when its last four characters are ".STY"
    // (any case), else 0.
    static uint32_t FileKindOf(const std::string& path);
    void Clear() override;
    bool HeadTest();
    int ParseSty();
    // Names of the user programs from "%s.prg" beside the file (the
    // extension in any case); 1 when read.
    int GetUserProgNames(const std::string& path);

    // The item steps with their rows given
    // Nothing is deleted in the STS view of a Qe document.
    int DeleteSelectedItems(std::span<const int> selected, int focused) override;
    // Empties the rows by the view mode.
    bool EmptyItems(std::span<const int> selected, int focused) override;
    // One item file: 1 go on with the batch, 0 stop.
    int ImportStyle(const std::filesystem::path& path);

    // Model conversions (see WqStyleItemConversion.h, Qe9zToQe4k.h)
    int ConvertItem(uint32_t source, uint32_t target, int index);
    // One track of one CV of a Wq item replaced by a MIDI file's events; 1 done, 0 failed.
    int ReplaceWqTrackData(int index, std::span<const uint8_t> midi, int element, int cv, int track);
    static uint32_t GetQe9zToQe4kSize(std::span<const uint8_t> instance);
    static int BuildQe4kStyleChunk(std::span<const uint8_t> instance, std::span<uint8_t> out, uint32_t newLength);

    // List operations
    // The rename limit of a row (10, 16 or 18 characters).
    int RenameLimit(int row) const override;
    bool RenameItem(int row, std::string_view text) override;
    void SetBank(int bank) override;
    void ToggleViewMode();
    // The too-large marks of a Wq file (see StyListModel.h), told to the view.
    bool CheckFileSize(bool check);

    // Clipboard and drag-drop
    // The STS view copies the focused row's STS item.
    std::optional<StyClipboardBlock> CopyBlock(std::span<const int> selected, int focused) const override;
    // Paste (the STS view pastes one STS item).
    void OnEditPaste() override;
    // Whether Paste / a drop takes the block at all (kind, series, view mode).
    bool AcceptsPaste(const StyClipboardBlock& block) const;
    bool AcceptsDrop(const StyClipboardBlock& block) const override;
    PasteOutcome PasteBlock(const StyClipboardBlock& block, const char* caption) override;
    int PasteStyItem(const StyClipboardBlock& block, int index);
    int PasteQeStsItem(const StyClipboardBlock& block, int index);
    // The STS view's paste: the STS item of a content-code-6 block into `row`.
    bool PasteOneQeStsItem(const StyClipboardBlock& block, int row);

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
    std::vector<uint8_t> BuildFileImage() override;

protected:
    ItemFileTexts ItemFiles() const override;
    uint32_t FileKindOfPath(const std::string& path) const override { return FileKindOf(path); }
    uint32_t NewFileKind() const override { return 2; }
    // Head test, ParseSty, then the user program names.
    bool ReadFileImage(const std::string& path) override;
    std::vector<uint8_t> ItemFileBytes(int index) const override;
    int ImportItemFile(const std::filesystem::path& path) override;
    int PasteItem(const StyClipboardBlock& block, int index) override;
    void SwapRows(int a, int b) override;
    void Renumber() override;
    void ShowChangedRows() override { CheckFileSize(false); }

private:
    CStyItem EmptyQeItem(uint32_t model, const CStyItem* from = nullptr) const;
    int BankForNewItems();
    void EmptyStyItem(CStyItem& item, int index, bool sts);
    // A converted Wq item (Qe style-chunk payload) made a Qe item through a
    // one-resource container; false after a message with `caption`.
    bool RereadConvertedItem(CStyItem& item, const std::string& name, const char* caption);
    int ImportContent(const std::filesystem::path& path, const ItemFileContent& content);
    // The focused Wq style of a dump command; nullopt after the message under `caption`.
    std::optional<int> FocusedStyleToDump(const char* caption);
    std::vector<uint8_t> BuildWqFileImage();
    std::vector<uint8_t> BuildQeFileImage();
};

} // namespace zib
