#pragma once

#include "docs/style/CStyTreeView.h"

namespace zib {

// The tree of a pad's edit frame: the style tree for a Qe pad, which pastes
// only into elements with data (a pasted chord variation keeps only its
// first track) and edits its tracks in the pad-track editor.
class CPadTreeView : public CStyTreeView {
public:
    using CStyTreeView::CStyTreeView;

    void PasteSelection() override;

protected:
    bool IsPadTree() const override { return true; }
};

} // namespace zib
