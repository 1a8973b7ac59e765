#pragma once

#include "docs/style/core/CQePadItem.h"
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
class CZibPadDoc {
public:
    static constexpr int kItemLimit = 64;
    static constexpr const char* kEmptyName = "** (N/A) EMPTY **";
    static constexpr const char* kEmptiedName = "** (N/A) Empty ** ";

    CZibPadDoc();

    // Content (the list view reads these)
    std::vector<CQePadItem> m_PadItems;
    uint32_t m_Model = ' ';  // 'F' Qe4k, 'X' Qe9z; ' ' none
    uint32_t m_FileKind = 0; // 5 for a .PAD file
    int32_t m_FirstBank = -1;
    std::vector<uint8_t> m_FileImage;
    std::string m_Path;
    std::filesystem::path m_Folder; // the file's folder, later the Pad To MIDI destination
    bool m_Importing = false;
    uint32_t m_ImportLetter = 0;

    int PadCount() const { return int(m_PadItems.size()); }
    bool IsQe() const { return m_Model == 'F' || m_Model == 'X'; }

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
    bool TakeAbortRequest();

    // Opening
    bool OpenImage(std::vector<uint8_t> image, const std::string& path);
    void Clear();
    // File kind 5 for a path ending ".PAD" (any case), else 0.
    static uint32_t CheckExtension(const std::string& path);
    bool CheckHeader();
    int ParseQESty();
    bool SaveModified(const std::string& title, const std::function<bool()>& save);

    // Item commands on the port's selection
    void OnEditDelete();
    void OnEditEmpty();
    void OnEditExtract();
    void ImportItem();
    void OnEditExtractAll();
    void SelectAll();
    // "Playback Pad item": pads do not play.
    void OnPlaybackPadItem() {}

    // The same steps with their rows given
    int DeleteItems(std::span<const int> selected, int focused);
    int EmptyItems(std::span<const int> selected, int focused);
    int WriteItemFile(int index, const std::filesystem::path& path);
    std::string ExtractFileName(int index) const;
    struct ImportOutcome {
        int imported = 0;
        bool failed = false;
    };
    ImportOutcome ImportItems(const std::vector<std::filesystem::path>& paths);
    // One pad item file: 1 imported or skipped, 0 failed.
    int ImportPad(const std::filesystem::path& path);

    // List operations
    bool MoveItem(int direction, int row = -1);
    int RenameLimit(int row) const;
    bool RenameItem(int row, std::string_view text);
    void SetBank(int bank);
    void SetStyleElement(int element) { m_Element = element >= 0 && element <= 9 ? element : 0; }
    int StyleElement() const { return m_Element; }

    // Clipboard and drag-drop
    std::optional<StyClipboardBlock> CopyBlock(std::span<const int> selected) const;
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    bool AcceptsBlock(const StyClipboardBlock& block) const;
    struct PasteOutcome {
        std::vector<int> rows;
        bool fatal = false;
    };
    // Paste of a block: "Wrong clipboard data type" for another kind or
    // content, "Wrong clipboard data size" for a letter other than 'F' or 'X'
    // or parts that do not hold what their headers say.
    PasteOutcome PasteBlock(const StyClipboardBlock& block, const char* caption);
    // 0 pasted, -1 failed (the paste stops), -2 fatal, -3 this pad skipped.
    int PastePadItem(const StyClipboardBlock& block, int index);
    PasteOutcome DropBlock(const StyClipboardBlock& block, int dropRow, bool fromThisView, bool moveEffect,
                           std::span<const int> draggedRows);
    PasteOutcome OnDrop(std::span<const uint8_t> bytes, int dropRow, bool fromThisView, bool moveEffect,
                        std::span<const int> draggedRows);

    // Pad To MIDI: the selected pads as MIDI files in a chosen folder; the
    // number of pads converted.
    int OnUtilPadToMidi();
    int PadsToMidi(std::span<const int> rows, const std::filesystem::path& folder);

    // Saving: the container of the pads; empty after a message when nothing can be written.
    std::vector<uint8_t> BuildFileImage();

private:
    void Notify(StyNotice notice) const { port_->Message(notice); }
    void Tell(StyViewNotice notice, int row = -1) const { port_->ViewNotice(notice, row); }
    void AbortAndClear();
    void Renumber();
    int BankForNewItems();
    // One pad as MIDI files; 1 converted, 0 not, -1 the whole command ends.
    int PadToMidi(const CQePadItem& pad, const std::filesystem::path& folder, bool& yesToAll);

    StyUiPort* port_;
    std::unique_ptr<StyUiPort> nullPort_;
    StyDocSettings settings_;
    int m_Element = 0;
    bool dragRunning_ = false;
    std::function<void()> modifiedListener_;
    bool modified_ = false;
    bool abortRequested_ = false;
};

} // namespace zib
