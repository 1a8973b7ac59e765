#pragma once

#include "ui/MdiFrameTypes.h"
#include "docs/style/CStyPropSplitterFrameWnd.h"

namespace zib {

// The edit frame of one pad: the style edit frame with the pad tree and an
// empty text pane, no STS tree and no Wq branch.
class CPadPropSplitterFrameWnd : public CStyPropSplitterFrameWnd {
public:
    static CPadPropSplitterFrameWnd* Open(ZibMdiParentFrame& parent, const wxString& title, uint8_t* frameOpen,
                                          CItemWxDoc& doc, int row);
    int LoadPadStyle() { return LoadStyle(); }

private:
    CPadPropSplitterFrameWnd(ZibMdiParentFrame& parent, const wxString& title, uint8_t* frameOpen, CItemWxDoc& doc, int row)
        : CStyPropSplitterFrameWnd(parent, title, frameOpen, doc, row, true)
    {
    }
};

} // namespace zib
