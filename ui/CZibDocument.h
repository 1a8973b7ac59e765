#pragma once

#include <filesystem>
#include <vector>
#include <wx/docview.h>

namespace zib {

// Base of the program's documents. A document is named after its file: when
// the file name changes (Save As, the first save of a new document) the name
// a new document was given ("unnamed2") goes, and every window of the
// document, its list and the windows titled after it, shows the new name.
class CZibDocument : public wxDocument {
public:
    void OnChangeFilename(bool notifyViews) override;

    // Close All and Exit: asks every changed document of `documents` whether
    // to save it, in turn, before any window goes. False at the first Cancel
    // (or a save that did not happen): then every document answered No keeps
    // its changes, as before the round. When all were answered, the changes
    // of those answered No are dropped.
    static bool AskToSaveAll(const wxDocVector& documents);

    // Whether a command may write a file at `path`: false, once the user was
    // told under `caption`, when an open document other than `writer` holds
    // that file (its next save would write over what the command wrote).
    static bool MayWriteFile(const std::filesystem::path& path, const wxString& caption,
                             const wxDocument* writer = nullptr);

protected:
    // Save As onto `path`: false, once the user was told, when another open
    // document holds that file (each would save over the other's changes).
    bool MaySaveAs(const wxString& path) const;

    // The answer No to the document's save question: its changes are
    // dropped, at once, or inside AskToSaveAll once every document was answered.
    void DropChanges();
};

} // namespace zib
