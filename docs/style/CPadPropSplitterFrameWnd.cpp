#include "docs/style/CPadPropSplitterFrameWnd.h"

namespace zib {

CPadPropSplitterFrameWnd* CPadPropSplitterFrameWnd::Open(ZibMdiParentFrame& parent, const wxString& title,
                                                         uint8_t* frameOpen, CItemWxDoc& doc, int row)
{
    auto* frame = new CPadPropSplitterFrameWnd(parent, title, frameOpen, doc, row);
    if (!frame->CreatePanes()) {
        frame->Destroy();
        return nullptr;
    }
    frame->LoadPadStyle();
    return frame;
}

} // namespace zib
