#pragma once

#include "docs/style/core/CQePadItem.h"
#include "docs/style/core/ItemFile.h"
#include "docs/style/core/StyClipboardBlock.h"
#include "docs/style/core/StyNotice.h"
#include "styles/CQeMidiCollect.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zib {

// The pad document, GUI-free: a Qe pad file (.PAD), a DASF container whose
// resources of type 9 are pads (small Qe styles), one pad item per bank
// position; delete, empty, item files, clipboard blocks, list operations,
// Pad To MIDI and writing the file back.
class CZibPadDoc {
public:
    static constexpr int kItemLimit = 64;
    static constexpr const char* kEmptyName = "** (N/A) EMPTY **";
    static constexpr const char* kEmptiedName = "** (N/A) Empty ** ";

    // Content (the list view reads these)
    std::vector<CQePadItem> m_PadItems;
    uint32_t m_Model = ' ';  // 'F' Qe4k, 'X' Qe9z; ' ' none
    uint32_t m_FileKind = 0; // 5 for a .PAD file
    int32_t m_FirstBank = -1;
    std::vector<uint8_t> m_FileImage;
    std::string m_Path;
    std::string m_Folder; // the file's folder, later the Pad To MIDI destination
    bool m_Importing = false;
    uint32_t m_ImportLetter = 0;

    int PadCount() const { return int(m_PadItems.size()); }
    bool IsQe() const { return m_Model == 'F' || m_Model == 'X'; }

    // Reporting
    void SetNoticeSink(StyNoticeSink sink) { notices_ = std::move(sink); }
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

    // Item commands
    int OnEditDelete(std::span<const int> selected, int focused);
    int OnEditEmpty(std::span<const int> selected, int focused);
    int WriteItemFile(int index, const std::filesystem::path& path);
    struct ImportOutcome {
        int imported = 0;
        bool failed = false;
    };
    ImportOutcome ImportItems(const std::vector<std::string>& paths);
    // One pad item file: 1 imported or skipped, 0 failed.
    int ImportPad(const std::string& path);

    // List operations
    bool MoveItem(int direction, int row);
    int RenameLimit(int row) const;
    bool RenameItem(int row, std::string_view text);
    void SetBank(int bank);

    // Clipboard and drag-drop
    std::optional<StyClipboardBlock> CopyBlock(std::span<const int> selected) const;
    bool AcceptsBlock(const StyClipboardBlock& block) const;
    struct PasteOutcome {
        std::vector<int> rows;
        bool fatal = false;
    };
    // Paste: "Wrong clipboard data type" / "Wrong clipboard data size" for a
    // block of another kind or a letter other than 'X'.
    PasteOutcome OnEditPaste(const StyClipboardBlock& block);
    int PastePadItem(const StyClipboardBlock& block, int index);
    PasteOutcome DropBlock(const StyClipboardBlock& block, int dropRow, bool fromThisView, bool moveEffect,
                           std::span<const int> draggedRows);

    // Pad To MIDI
    enum class OverwriteAnswer { Yes, YesToAll, No, Cancel };
    using OverwriteQuestion = std::function<OverwriteAnswer(const std::filesystem::path& file)>;
    struct PadToMidiSettings {
        int styToMidiType = 0; // 0 one collected file per pad, else one file per chord variation
        QeCvCollectSettings collect;
    };
    // Writes the chosen pads as MIDI files into `folder`; the number of pads converted.
    int OnUtilPadToMidi(std::span<const int> rows, const std::filesystem::path& folder,
                        const PadToMidiSettings& settings, const OverwriteQuestion& ask);

    // Saving: the container of the pads; empty after a notice when nothing can be written.
    std::vector<uint8_t> BuildFileImage();

private:
    void Notify(StyNotice notice) const;
    void AbortAndClear();
    void Renumber();
    int BankForNewItems();
    // One pad as MIDI files; 1 converted, 0 not, -1 the whole command ends.
    int PadToMidi(const CQePadItem& pad, const std::filesystem::path& folder, const PadToMidiSettings& settings,
                  const OverwriteQuestion& ask, bool& yesToAll);

    StyNoticeSink notices_;
    std::function<void()> modifiedListener_;
    bool modified_ = false;
    bool abortRequested_ = false;
};

} // namespace zib
