#pragma once

#include "docs/style/core/StyUiPort.h"

class wxDocument;
class wxWindow;

namespace zib {

class CItemListView;

// The UI port of a style or pad document on screen: message boxes and
// questions, the program's file and folder dialogs, the selection of the
// document's list view, the private clipboard format, the busy cursor, and
// view notices turned into list refills.
class CStyWxUiPort : public StyUiPort {
public:
    explicit CStyWxUiPort(wxDocument& document) : document_(document) {}

    void Message(const StyNotice& notice) override;
    StyAnswer Ask(StyQuestion question, const StyNotice& notice) override;
    StyAnswer ConfirmOverwrite(const std::filesystem::path& file) override;
    std::optional<std::filesystem::path> ChooseSaveFile(const StyFileChoice& choice) override;
    std::vector<std::filesystem::path> ChooseOpenFiles(const StyFileChoice& choice) override;
    std::optional<std::filesystem::path> ChooseFolder(const std::string& title,
                                                      const std::filesystem::path& start) override;
    std::optional<CleanEventsChoice> ChooseCleanEvents() override;
    std::vector<int> SelectedRows() const override;
    int FocusedRow() const override;
    void SetSelection(std::span<const int> rows, int focused) override;
    StyClipboardContent ReadClipboard() override;
    bool WriteClipboard(const std::vector<uint8_t>& block) override;
    bool ShowTextViewer(const std::filesystem::path& file) override;
    void BeginWait() override;
    void EndWait() override;
    void ViewNotice(StyViewNotice notice, int row) override;

private:
    CItemListView* View() const;
    wxWindow* Parent() const;

    wxDocument& document_;
};

} // namespace zib
