#pragma once

#include <string>

namespace zib {

class TrackEditorOwner;

// What a pad-track or style-track editor asks of the pad or style window
// that opened it: the document's owner of the edited sequence, the tree item
// to mark as holding events or not, the end of the editor (the window
// writes the sequence back and forgets the editor) and the saving of the
// document.
class TrackEditorHost {
public:
    virtual ~TrackEditorHost() = default;

    virtual TrackEditorOwner& Owner() = 0;
    // The selected element, chord variation and track of the tree holds events (or not)
    virtual void SetItemIcon(bool holdsEvents) = 0;
    // After a failed paste: the document's list goes and its contents are dropped
    virtual void AbortAndClear() = 0;
    // The editor closes: its sequence goes back into the document
    virtual void EditorClosed() = 0;
    // Ctrl+S in the editor: the document is saved, its edits with it
    virtual void SaveDocument() {}
};

} // namespace zib
