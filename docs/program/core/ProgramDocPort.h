#pragma once

#include "docs/style/core/StyNotice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zib {

// One message for the user: a number of the localized message table or a
// literal English text with its arguments, a caption and an icon.
using DocMessage = StyNotice;
using DocIcon = StyNoticeIcon;

// Answers of the questions a document asks.
enum class DocAnswer { Yes, No, Cancel, YesToAll };

// What a file dialog shows: its title, filter ("Name (*.EXT)|*.EXT||"),
// default extension, the folder it starts in and the file name it offers
// (UTF-8, item names converted from Windows-1252).
struct FileChoice {
    std::string title;
    std::string filter;
    std::string defaultExt;
    std::string folder;
    std::string fileName;
};

// What reading the private clipboard format gave.
struct ClipboardRead {
    enum class State {
        Ok,
        NoFormat,     // no block of the private format is on the clipboard
        CannotAttach, // the clipboard could not be opened
        NoData,       // the format is there but its bytes could not be read
    };
    State state = State::NoFormat;
    std::vector<uint8_t> bytes;
};

// Everything the program, performance, arrangement and global documents ask
// of their window: messages and questions, file and folder choices, the
// clipboard, the rows of the list view and what changed in them, and the
// wait cursor. The program's windows implement it; tests use a fake that
// records and answers from a script.
class ProgramDocPort {
public:
    virtual ~ProgramDocPort() = default;

    // Messages and questions
    virtual void Message(const DocMessage& message) = 0;
    // Yes, No or Cancel (exclamation icon).
    virtual DocAnswer AskYesNoCancel(const DocMessage& question) = 0;
    // "Confirm File Overwrite" for `fileName`: Yes, YesToAll, No or Cancel.
    virtual DocAnswer OverwriteAnswer(const std::string& fileName) = 0;

    // Files and folders (UTF-8 paths); empty or nullopt: cancelled
    virtual std::vector<std::string> OpenPaths(const FileChoice& choice) = 0; // several files
    virtual std::optional<std::string> SavePath(const FileChoice& choice) = 0;
    virtual std::optional<std::string> ChooseFolder(const std::string& title, const std::string& start) = 0;

    // The private clipboard format
    virtual ClipboardRead ReadClipboard() = 0;
    virtual bool WriteClipboard(const std::vector<uint8_t>& block) = 0;
    virtual bool ClipboardHasBlock() const = 0;

    // Rows of the list view: the selection in rising order, the focused row
    // (-1: none), and a new selection with its focused row.
    virtual std::vector<int> SelectedRows() const = 0;
    virtual int FocusedRow() const = 0;
    virtual void SetSelection(const std::vector<int>& rows, int focused) = 0;

    // What changed in the rows
    virtual void RowsInserted(int first, int count) = 0;
    virtual void RowsDeleted(int first, int count) = 0;
    virtual void Refill() = 0;                   // columns, images and rows anew
    virtual void Redraw(int first, int last) = 0; // texts of these rows again
    virtual void RedrawAll() = 0;
    virtual void ScrollTo(int row) = 0;

    // The wait cursor, on while a long command runs
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;

    // Settings: the file kind and folder of a file just opened.
    virtual void SetLastOpened(int fileKind, const std::string& folder) = 0;
};

// The wait cursor for the life of a scope.
class ScopedWait {
public:
    explicit ScopedWait(ProgramDocPort& port) : port_(port) { port_.BeginWait(); }
    ~ScopedWait() { port_.EndWait(); }
    ScopedWait(const ScopedWait&) = delete;
    ScopedWait& operator=(const ScopedWait&) = delete;

private:
    ProgramDocPort& port_;
};

} // namespace zib
