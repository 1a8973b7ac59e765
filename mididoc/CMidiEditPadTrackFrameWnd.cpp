#include "mididoc/CMidiEditPadTrackFrameWnd.h"

#include "ui/ShellServices.h"

namespace zib {

CMidiEditPadTrackFrameWnd* CMidiEditPadTrackFrameWnd::Open(ZibMdiParentFrame& frame, const wxString& title,
                                                         TrackEditorHost& host, int trackIndex)
{
    auto* editor = new CMidiEditPadTrackFrameWnd(frame, title, host, trackIndex);
    editor->Show();
    editor->Activate();
    return editor;
}

} // namespace zib
