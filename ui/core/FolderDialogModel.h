#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zib {

// The folder picker (CFolderDialog): a folder box with completion and an
// "Open" button that accepts, and if asked creates, the typed folder. Typed
// paths that are not absolute count from the folder shown. Texts of the
// messages are in the dialog's language.
class FolderDialogModel {
public:
    FolderDialogModel(std::string_view initialFolder, int language);

    // The folder the dialog shows, always ending in '/'.
    const std::string& folder() const { return folder_; }

    // The browser moved into `path`.
    void FolderChanged(std::string_view path);

    // What a request leads to.
    struct Outcome {
        enum class Kind {
            EndOk,     // the folder is accepted; the dialog ends with OK
            Navigated, // the dialog moved into the folder and stays open
            Message,   // `text` shown with an OK button; the dialog stays
            AskCreate, // `text` asked with Yes/No; answer with CreateAnswer
            Stay,      // nothing more; focus back to the folder box
        };
        Kind kind = Kind::Stay;
        std::string text;
    };

    // "Open" with the folder box text; Enter in the box (moves, never ends).
    Outcome Open(std::string_view typed);
    Outcome Enter(std::string_view typed);
    // The answer to the create question of the last Open or Enter.
    Outcome CreateAnswer(bool yes);

    // After a key changed the box: the folder to move into when the text is
    // "/" or ends in '/' and names an existing folder.
    std::optional<std::string> FolderToFollow(std::string_view text) const;

    // Completion of the last path component: when exactly one folder starts
    // with it, the text gets the rest of its name, which is selected from
    // `selectFrom` on. Only with the caret at the end, never after Backspace.
    // File names are case-sensitive here, so the name is appended as it is.
    struct Completion {
        std::string text;
        size_t selectFrom = 0;
    };
    std::optional<Completion> Complete(std::string_view text, bool caretAtEnd, bool backspace) const;

private:
    Outcome request(std::string_view typed, bool fromEnter);
    std::string resolve(std::string_view typed) const;
    std::string text(const char* english) const;

    std::string folder_;
    int language_;
    std::string pendingCreate_; // the folder the create question is about
    std::string pendingTyped_;
    bool pendingFromEnter_ = false;
};

} // namespace zib
