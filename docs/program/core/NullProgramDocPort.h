#pragma once

#include "docs/program/core/ProgramDocPort.h"

namespace zib {

// A port that shows nothing and answers No and Cancel: for documents used
// without a window (benchmarks, fuzzing, conversions in bulk).
class NullProgramDocPort : public ProgramDocPort {
public:
    void Message(const DocMessage&) override {}
    DocAnswer AskYesNoCancel(const DocMessage&) override { return DocAnswer::No; }
    DocAnswer OverwriteAnswer(const std::string&) override { return DocAnswer::Cancel; }
    std::vector<std::string> OpenPaths(const FileChoice&) override { return {}; }
    std::optional<std::string> SavePath(const FileChoice&) override { return std::nullopt; }
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override { return std::nullopt; }
    ClipboardRead ReadClipboard() override { return {}; }
    bool WriteClipboard(const std::vector<uint8_t>&) override { return false; }
    bool ClipboardHasBlock() const override { return false; }
    std::vector<int> SelectedRows() const override { return selected; }
    int FocusedRow() const override { return focused; }
    void SetSelection(const std::vector<int>& rows, int focus) override
    {
        selected = rows;
        focused = focus;
    }
    void RowsInserted(int, int) override {}
    void RowsDeleted(int, int) override {}
    void Refill() override {}
    void Redraw(int, int) override {}
    void RedrawAll() override {}
    void ScrollTo(int) override {}
    void BeginWait() override {}
    void EndWait() override {}
    void SetLastOpened(int, const std::string&) override {}

    std::vector<int> selected;
    int focused = -1;
};

} // namespace zib
