#include "docs/style/CPadTreeView.h"

#include "docs/style/CStyPropSplitterFrameWnd.h"
#include "docs/style/core/QeStyleEditor.h"
#include "platform/WxText.h"

namespace zib {

void CPadTreeView::PasteSelection()
{
    const QeTreeSelection s = ReadSelection();
    if (!editor_ || !doc_ || s.element == 255 || s.IsTrack() || editor_->QueryStyleElem(s.element) != 2) return;
    if (!ReleaseOpenCv(s)) return;
    CQeStyleTreeEdits edits = Edits();
    edits.PasteSelection();
    if (!edits.edited) return;
    NoteEdited(1);
    if (!s.IsCv()) return;
    // A pad's chord variation plays its first track only.
    for (int t = 1; t < 8; ++t)
        editor_->DeletePattern(s.element, s.cv, t);
    AfterStructureChange(s.element, s.cv, s.track);
}

} // namespace zib
