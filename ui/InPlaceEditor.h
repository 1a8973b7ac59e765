#pragma once

class wxWindow;

namespace zib {

// A window that edits a value in place, over one of its cells (an event
// list's cell editor). The commands that save, close, play or export a
// document, and Exit and Close All, commit it first, as Enter would.
class InPlaceEditor {
public:
    virtual ~InPlaceEditor() = default;

    // Commits an open edit now; true when none was open or its value went in.
    // False when the value was refused: the editor has said why and stays
    // open with the value.
    virtual bool CommitInPlaceEdit() = 0;
};

// Commits every open in-place editor under `window` (itself included): the
// InPlaceEditor windows and the label editors of lists (a rename). False at
// the first value refused.
bool CommitInPlaceEdits(wxWindow& window);

} // namespace zib
