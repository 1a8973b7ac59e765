#pragma once

#include "docs/program/core/ProgramDocPort.h"

#include <functional>

class wxWindow;

namespace zib {

class CProgramListCtrl;

// The port of the program, performance, arrangement and global documents on
// screen: message boxes, the program's file, folder and overwrite dialogs,
// the clipboard under the private format, the rows of the view's list and
// the busy cursor. `refill` rebuilds the view's columns and rows.
class WxProgramDocPort : public ProgramDocPort {
public:
    WxProgramDocPort(CProgramListCtrl* list, std::function<void()> refill);

    void Message(const DocMessage& message) override;
    DocAnswer AskYesNoCancel(const DocMessage& question) override;
    DocAnswer OverwriteAnswer(const std::string& fileName) override;
    std::vector<std::string> OpenPaths(const FileChoice& choice) override;
    std::optional<std::string> SavePath(const FileChoice& choice) override;
    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& start) override;
    ClipboardRead ReadClipboard() override;
    bool WriteClipboard(const std::vector<uint8_t>& block) override;
    bool ClipboardHasBlock() const override;
    std::vector<int> SelectedRows() const override;
    int FocusedRow() const override;
    void SetSelection(const std::vector<int>& rows, int focused) override;
    void RowsInserted(int first, int count) override;
    void RowsDeleted(int first, int count) override;
    void Refill() override;
    void Redraw(int first, int last) override;
    void RedrawAll() override;
    void ScrollTo(int row) override;
    void BeginWait() override;
    void EndWait() override;
    void SetLastOpened(int fileKind, const std::string& folder) override;

    // How many rows the list shows, so inserts and deletes keep it in step.
    void SetRowCounter(std::function<int()> rows) { rows_ = std::move(rows); }

private:
    wxWindow* Parent() const;

    CProgramListCtrl* list_;
    std::function<void()> refill_;
    std::function<int()> rows_;
};

} // namespace zib
