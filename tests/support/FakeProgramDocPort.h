#pragma once

#include "docs/program/core/ProgramDocPort.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace zib::test {

// The window of a program, performance, arrangement or global document as a
// test sees it: every message is recorded in order (number or literal text,
// caption, icon), questions and file choices are answered from a script
// (Cancel, No and "cancelled" when the script runs out), and the rows,
// the clipboard and the notices to the view are plain fields.
class FakeProgramDocPort : public ProgramDocPort {
public:
    struct Said {
        std::string what; // the message number, or the literal English text
        std::vector<std::string> args;
        std::string caption;
        DocIcon icon = DocIcon::None;
    };

    // Recorded
    std::vector<Said> messages;
    std::vector<std::string> questions; // texts of the questions asked
    std::vector<std::string> events;    // "inserted f n", "deleted f n", "refill", "redraw f l", "all", "scroll r"
    std::vector<FileChoice> choices;    // every file dialog shown
    int lastOpenedKind = -1;
    std::string lastOpenedFolder;
    int waitDepth = 0;
    int waits = 0;

    // Script
    std::deque<DocAnswer> answers;
    std::deque<std::vector<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<std::string>> folderAnswers;

    // State
    std::optional<std::vector<uint8_t>> clipboard;
    ClipboardRead::State clipboardState = ClipboardRead::State::Ok; // when a block is there
    std::vector<int> selected;
    int focused = -1;

    // The message numbers or texts, in order.
    std::vector<std::string> said() const
    {
        std::vector<std::string> out;
        for (const auto& m : messages)
            out.push_back(m.what);
        return out;
    }
    std::vector<std::string> captions() const
    {
        std::vector<std::string> out;
        for (const auto& m : messages)
            out.push_back(m.caption);
        return out;
    }
    void clear()
    {
        messages.clear();
        questions.clear();
        events.clear();
        choices.clear();
    }

    // ProgramDocPort
    void Message(const DocMessage& m) override
    {
        messages.push_back({m.message >= 0 ? std::to_string(m.message) : m.text, m.args, m.caption, m.icon});
    }
    DocAnswer AskYesNoCancel(const DocMessage& q) override
    {
        questions.push_back(q.message >= 0 ? std::to_string(q.message) : filled(q.text, q.args));
        return next(answers, DocAnswer::Cancel);
    }
    DocAnswer OverwriteAnswer(const std::string& fileName) override
    {
        questions.push_back("overwrite " + fileName);
        return next(answers, DocAnswer::Cancel);
    }
    std::vector<std::string> OpenPaths(const FileChoice& c) override
    {
        choices.push_back(c);
        return next(openAnswers, std::vector<std::string>{});
    }
    std::optional<std::string> SavePath(const FileChoice& c) override
    {
        choices.push_back(c);
        return next(saveAnswers, std::optional<std::string>{});
    }
    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& start) override
    {
        choices.push_back({title, "", "", start, ""});
        return next(folderAnswers, std::optional<std::string>{});
    }
    ClipboardRead ReadClipboard() override
    {
        if (!clipboard) return {ClipboardRead::State::NoFormat, {}};
        if (clipboardState != ClipboardRead::State::Ok) return {clipboardState, {}};
        return {ClipboardRead::State::Ok, *clipboard};
    }
    bool WriteClipboard(const std::vector<uint8_t>& block) override
    {
        clipboard = block;
        return true;
    }
    bool ClipboardHasBlock() const override { return clipboard.has_value(); }
    std::vector<int> SelectedRows() const override { return selected; }
    int FocusedRow() const override { return focused; }
    void SetSelection(const std::vector<int>& rows, int focus) override
    {
        selected = rows;
        focused = focus;
    }
    void RowsInserted(int first, int count) override
    {
        events.push_back("inserted " + std::to_string(first) + " " + std::to_string(count));
    }
    void RowsDeleted(int first, int count) override
    {
        events.push_back("deleted " + std::to_string(first) + " " + std::to_string(count));
    }
    void Refill() override { events.push_back("refill"); }
    void Redraw(int first, int last) override
    {
        events.push_back("redraw " + std::to_string(first) + " " + std::to_string(last));
    }
    void RedrawAll() override { events.push_back("all"); }
    void ScrollTo(int row) override { events.push_back("scroll " + std::to_string(row)); }
    void BeginWait() override
    {
        ++waitDepth;
        ++waits;
    }
    void EndWait() override { --waitDepth; }
    void SetLastOpened(int fileKind, const std::string& folder) override
    {
        lastOpenedKind = fileKind;
        lastOpenedFolder = folder;
    }

    // A literal text with its %s, %d and %u filled from `args` in order.
    static std::string filled(const std::string& text, const std::vector<std::string>& args)
    {
        std::string out;
        size_t next = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '%' && i + 1 < text.size() && std::string("sdu").find(text[i + 1]) != std::string::npos) {
                out += next < args.size() ? args[next++] : "";
                ++i;
            } else {
                out += text[i];
            }
        }
        return out;
    }
    // The messages as the user reads them (English).
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& m : messages)
            out.push_back(filled(m.what, m.args));
        return out;
    }

private:
    template <class T> static T next(std::deque<T>& queue, T fallback)
    {
        if (queue.empty()) return fallback;
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};

} // namespace zib::test
