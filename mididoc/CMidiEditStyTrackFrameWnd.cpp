#include "mididoc/CMidiEditStyTrackFrameWnd.h"

#include "ui/ShellServices.h"

namespace zib {

CMidiEditStyTrackFrameWnd* CMidiEditStyTrackFrameWnd::Open(ZibMdiParentFrame& frame, const wxString& title,
                                                         TrackEditorHost& host, int trackIndex)
{
    auto* editor = new CMidiEditStyTrackFrameWnd(frame, title, host, trackIndex);
    editor->Show();
    editor->Activate();
    return editor;
}

} // namespace zib
