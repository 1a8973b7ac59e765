#pragma once

#include "docs/style/core/CQeStyleTreeEdits.h"

#include <utility>
#include <vector>

namespace zib {

class QeStyleEditor;

// What the enabling of a tree's commands looks at: the series, whether the
// tree is a pad tree, the selection and the statuses of the selected
// element, CV and pattern (0 absent, 1 present and empty, 2 with data).
struct StyTreeState {
    bool qe = true;
    bool pad = false;
    QeTreeSelection selection;
    bool rootSelected = false;
    int elementStatus = 0;
    int cvStatus = 0;
    int patternStatus = 0;
    int presentCvs = 0; // CVs of the selected element that are present (Add CV)
    bool clipboardHasBlock = false;
    // Wq: the selected CV and track hold data
    bool wqCvHasData = false;
    bool wqTrackHasData = false;

    // The state of a Qe tree: the statuses are read from the editor.
    static StyTreeState OfQe(QeStyleEditor& editor, const QeTreeSelection& selection, bool rootSelected,
                             bool clipboardHasBlock, bool pad = false);
};

// What a right click on a node does: a popup (217, 199, 212) with the
// enabled state of each of its commands, or a dialog opened at once.
struct StyTreeRightClick {
    enum class Action { None, ElementPopup, CvPopup, TrackPopup, StyleFlags, WqStyleProperties, WqChordTable };
    Action action = Action::None;
    std::vector<std::pair<int, bool>> enabled; // command id, enabled
    bool IsEnabled(int id) const;
};
StyTreeRightClick StyTreeRightClickFor(const StyTreeState& state);

// Whether a command of an edit frame (menu 233, the level bar, the tree's
// own Copy and Paste) is enabled. Commands the frame does not have are
// disabled (the pad frame has no Wq commands).
bool StyFrameCommandEnabled(int id, const StyTreeState& state);

// The selection the frame's play command uses: a CV or track node as it
// is, anything else nothing.
QeTreeSelection StyPlaySelection(const QeTreeSelection& selection);

// Whether a paste or delete at `target` (an element, a chord variation or a
// track) replaces or removes part of the chord variation `open` that the
// track editor holds (element or CV 255: none is open).
bool StyEditReachesOpenCv(const QeTreeSelection& target, const QeTreeSelection& open);

} // namespace zib
