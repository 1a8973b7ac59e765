#pragma once

#include "docs/style/core/StyUiPort.h"

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zib::test {

// The UI port of the style and pad documents for tests: records every
// message, question, dialog, selection change, clipboard write and view
// notice, and answers from a script (queues taken front first; an empty
// queue answers Cancel / nothing).
class FakeStyUiPort : public StyUiPort {
public:
    // What the document showed
    std::vector<StyNotice> messages;
    std::vector<StyNotice> questions;
    std::vector<std::filesystem::path> overwriteQuestions;
    std::vector<StyFileChoice> fileDialogs;
    std::vector<std::string> folderDialogs;
    std::vector<std::pair<StyViewNotice, int>> viewNotices;
    std::vector<std::vector<uint8_t>> clipboardWrites;
    std::vector<std::filesystem::path> viewerFiles;
    int waitDepth = 0;
    int maxWaitDepth = 0;

    // The script
    std::deque<StyAnswer> answers;          // Ask
    std::deque<StyAnswer> overwriteAnswers; // ConfirmOverwrite
    std::deque<std::optional<std::filesystem::path>> saveFiles;
    std::deque<std::vector<std::filesystem::path>> openFiles;
    std::deque<std::optional<std::filesystem::path>> folders;
    std::deque<std::optional<CleanEventsChoice>> cleanChoices;
    bool viewerOpens = true;
    bool clipboardAttaches = true;
    bool clipboardAccepts = true;
    std::optional<std::vector<uint8_t>> clipboard; // the block on the clipboard

    // The list
    std::vector<int> selected;
    int focused = -1;

    // The English texts of the messages, in order
    std::vector<std::string> texts() const;
    std::string lastText() const { return messages.empty() ? std::string() : messages.back().English(); }
    bool saw(StyViewNotice notice) const;
    void clear() { messages.clear(); questions.clear(); viewNotices.clear(); }
    // Selects `rows` and focuses the first of them
    void select(std::vector<int> rows);

    // StyUiPort
    void Message(const StyNotice& notice) override { messages.push_back(notice); }
    StyAnswer Ask(StyQuestion question, const StyNotice& notice) override;
    StyAnswer ConfirmOverwrite(const std::filesystem::path& file) override;
    std::optional<std::filesystem::path> ChooseSaveFile(const StyFileChoice& choice) override;
    std::vector<std::filesystem::path> ChooseOpenFiles(const StyFileChoice& choice) override;
    std::optional<std::filesystem::path> ChooseFolder(const std::string& title,
                                                      const std::filesystem::path& start) override;
    std::optional<CleanEventsChoice> ChooseCleanEvents() override;
    std::vector<int> SelectedRows() const override { return selected; }
    int FocusedRow() const override { return focused; }
    void SetSelection(std::span<const int> rows, int focusedRow) override;
    StyClipboardContent ReadClipboard() override;
    bool WriteClipboard(const std::vector<uint8_t>& block) override;
    bool ShowTextViewer(const std::filesystem::path& file) override;
    void BeginWait() override;
    void EndWait() override { --waitDepth; }
    void ViewNotice(StyViewNotice notice, int row) override { viewNotices.emplace_back(notice, row); }
};

} // namespace zib::test
