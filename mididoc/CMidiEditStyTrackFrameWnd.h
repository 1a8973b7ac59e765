#pragma once

#include "ui/MdiFrameTypes.h"
#include "mididoc/CTrackEditorFrame.h"

namespace zib {

// The editor of one track of a style chord variation.
class CMidiEditStyTrackFrameWnd : public CTrackEditorFrame {
public:
    // Opens the editor over the host's bound sequence, showing track
    // `trackIndex`; the editor becomes the visible tab.
    static CMidiEditStyTrackFrameWnd* Open(ZibMdiParentFrame& frame, const wxString& title, TrackEditorHost& host,
                                           int trackIndex);

    ChildKind Kind() const override { return ChildKind::MidiEditStyTrack; }

private:
    using CTrackEditorFrame::CTrackEditorFrame;
};

} // namespace zib
