#include "mididoc/CMidiEditStyTrackFrameWnd.h"

#include "app/CMainFrame.h"

namespace zib {

CMidiEditStyTrackFrameWnd* CMidiEditStyTrackFrameWnd::Open(CMainFrame& frame, const wxString& title,
                                                         TrackEditorHost& host, int trackIndex)
{
    auto* editor = new CMidiEditStyTrackFrameWnd(frame, title, host, trackIndex);
    editor->Show();
    editor->Activate();
    return editor;
}

} // namespace zib
