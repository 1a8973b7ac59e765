#pragma once

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

// Answers of the questions a document asks.
enum class StyAnswer { Yes, No, Cancel, YesToAll };
enum class StyQuestion { YesNo, YesNoCancel };

// What a document tells its list view.
enum class StyViewNotice {
    RowsChanged,      // texts, order or count of rows changed: redraw
    RowAdded,         // one row appended (the row number comes with it)
    ColumnsRebuilt,   // the column set changed (model or view mode)
    CloseToolWindows, // the edit frame and text-dump window must close
    DocumentAborted,  // the data became unusable: the document was cleared
};

// A file dialog: title, filter ("Name (*.EXT)|*.EXT||"), default extension,
// starting folder and (save) the offered file name, UTF-8.
struct StyFileChoice {
    std::string title;
    std::string filter;
    std::string defaultExtension;
    std::filesystem::path folder;
    std::string fileName;
};

// What the clipboard holds of the private format.
struct StyClipboardContent {
    bool attached = true;              // false: the clipboard could not be opened
    bool present = false;              // a block of the private format is offered
    std::optional<std::vector<uint8_t>> bytes; // nullopt: offered but not readable
};

// The choice of the event-cleaning dialog: the five kinds and the controller
// of control events (255 = all).
struct CleanEventsChoice {
    bool pitchBend = false;
    bool channelPressure = false;
    bool polyPressure = false;
    bool control = false;
    bool programChange = false;
    uint8_t controller = 255;
};

// The one way a style or pad document reaches its user: messages,
// questions, file and folder choice, the list's selection, the clipboard, the
// wait cursor and notices to its view. The windows implement it; tests use a
// fake that records and answers from a script.
class StyUiPort {
public:
    virtual ~StyUiPort() = default;

    // Messages and questions
    virtual void Message(const StyNotice& notice) = 0;
    virtual StyAnswer Ask(StyQuestion question, const StyNotice& notice) = 0;
    // "Confirm File Overwrite" about `file`: Yes, YesToAll, No or Cancel.
    virtual StyAnswer ConfirmOverwrite(const std::filesystem::path& file) = 0;

    // File and folder choice; nullopt / empty when cancelled
    virtual std::optional<std::filesystem::path> ChooseSaveFile(const StyFileChoice& choice) = 0;
    virtual std::vector<std::filesystem::path> ChooseOpenFiles(const StyFileChoice& choice) = 0;
    virtual std::optional<std::filesystem::path> ChooseFolder(const std::string& title,
                                                              const std::filesystem::path& start) = 0;
    // The event-cleaning dialog; nullopt when cancelled.
    virtual std::optional<CleanEventsChoice> ChooseCleanEvents() = 0;

    // The list's rows
    virtual std::vector<int> SelectedRows() const = 0;
    virtual int FocusedRow() const = 0; // -1: none
    virtual void SetSelection(std::span<const int> rows, int focused) = 0;

    // The private clipboard format
    virtual StyClipboardContent ReadClipboard() = 0;
    virtual bool WriteClipboard(const std::vector<uint8_t>& block) = 0;

    // Text viewer of a dump file; false when it cannot be shown.
    virtual bool ShowTextViewer(const std::filesystem::path& file) = 0;

    // Wait cursor (use StyWaitCursor) and notices to the view
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
    virtual void ViewNotice(StyViewNotice notice, int row = -1) = 0;

    // The port as a notice sink, for the item builders.
    StyNoticeSink Sink()
    {
        return [this](const StyNotice& n) { Message(n); };
    }
};

// A port that shows nothing and answers No / Cancel: a document without a
// window.
class StyNullPort : public StyUiPort {
public:
    void Message(const StyNotice&) override {}
    StyAnswer Ask(StyQuestion, const StyNotice&) override { return StyAnswer::Cancel; }
    StyAnswer ConfirmOverwrite(const std::filesystem::path&) override { return StyAnswer::Cancel; }
    std::optional<std::filesystem::path> ChooseSaveFile(const StyFileChoice&) override { return std::nullopt; }
    std::vector<std::filesystem::path> ChooseOpenFiles(const StyFileChoice&) override { return {}; }
    std::optional<std::filesystem::path> ChooseFolder(const std::string&, const std::filesystem::path&) override
    {
        return std::nullopt;
    }
    std::optional<CleanEventsChoice> ChooseCleanEvents() override { return std::nullopt; }
    std::vector<int> SelectedRows() const override { return {}; }
    int FocusedRow() const override { return -1; }
    void SetSelection(std::span<const int>, int) override {}
    StyClipboardContent ReadClipboard() override { return {}; }
    bool WriteClipboard(const std::vector<uint8_t>&) override { return false; }
    bool ShowTextViewer(const std::filesystem::path&) override { return false; }
    void BeginWait() override {}
    void EndWait() override {}
    void ViewNotice(StyViewNotice, int) override {}
};

// The wait cursor for one scope.
class StyWaitCursor {
public:
    explicit StyWaitCursor(StyUiPort& port) : port_(port) { port_.BeginWait(); }
    ~StyWaitCursor() { port_.EndWait(); }
    StyWaitCursor(const StyWaitCursor&) = delete;
    StyWaitCursor& operator=(const StyWaitCursor&) = delete;

private:
    StyUiPort& port_;
};

// The settings a style or pad document reads, handed in as values.
struct StyDocSettings {
    int language = 0;          // 0 English, 1 Italian, 2 German
    int styToMidiType = 0;     // 0 one collected MIDI file per style, else one file per chord variation
    bool playPercOnDrumChan = true;
    std::filesystem::path lastOpenedDirectory;
    // Stores a folder as the last opened directory (the application's setter).
    std::function<void(const std::filesystem::path&)> setLastOpenedDirectory;
    QeCvCollectSettings qeCollect;
};

} // namespace zib
