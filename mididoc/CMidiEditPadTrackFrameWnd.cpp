#include "mididoc/CMidiEditPadTrackFrameWnd.h"

#include "app/CMainFrame.h"

namespace zib {

CMidiEditPadTrackFrameWnd* CMidiEditPadTrackFrameWnd::Open(CMainFrame& frame, const wxString& title,
                                                         TrackEditorHost& host, int trackIndex)
{
    auto* editor = new CMidiEditPadTrackFrameWnd(frame, title, host, trackIndex);
    editor->Show();
    editor->Activate();
    return editor;
}

} // namespace zib
