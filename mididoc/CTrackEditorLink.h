#pragma once

#include "ui/ZibSubsystems.h"
#include "mididoc/core/TrackEditorHost.h"

namespace zib {

class CTrackEditorFrame;

// A pad-track or style-track editor opened for a pad or style window: the
// window's request as the editor's host (the document's owner of the edited
// sequence, the tree's image, the write-back when the user closes the
// editor), and the editor as the window's track edit window. The editor
// frame owns it.
class CTrackEditorLink : public TrackEditorHost, public TrackEditWindow {
public:
    // The editor of the request's track (a Qe track by its channel, a Wq
    // track by its number), the visible tab; null without a main frame or
    // an owner.
    static TrackEditWindow* Open(const TrackEditRequest& request);

    // TrackEditorHost
    TrackEditorOwner& Owner() override { return *m_request.owner; }
    void SetItemIcon(bool holdsEvents) override;
    void AbortAndClear() override;
    void EditorClosed() override;
    void SaveDocument() override;

    // TrackEditWindow
    wxWindow* Window() override;
    void ShowTrack() override;
    void Retarget(int track, const wxString& title) override;

private:
    explicit CTrackEditorLink(const TrackEditRequest& request) : m_request(request) {}

    TrackEditRequest m_request;
    CTrackEditorFrame* m_frame = nullptr;
};

} // namespace zib
