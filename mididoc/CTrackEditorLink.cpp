#include "mididoc/CTrackEditorLink.h"

#include "ui/ShellServices.h"
#include "mididoc/CMidiEditPadTrackFrameWnd.h"
#include "mididoc/CMidiEditStyTrackFrameWnd.h"

#include <memory>
#include <wx/docview.h>

namespace zib {

TrackEditWindow* CTrackEditorLink::Open(const TrackEditRequest& request)
{
    ZibMdiParentFrame* main = ShellFrame();
    if (!main || !request.owner || !request.sequence) return nullptr;
    auto link = std::unique_ptr<CTrackEditorLink>(new CTrackEditorLink(request));
    CTrackEditorLink* self = link.get();
    if (request.pad)
        self->m_frame = CMidiEditPadTrackFrameWnd::Open(*main, request.title, *self, request.channel);
    else
        self->m_frame = CMidiEditStyTrackFrameWnd::Open(*main, request.title, *self, request.channel);
    if (!self->m_frame) return nullptr;
    self->m_frame->SetOwnerDocument(request.document);
    self->m_frame->KeepHost(std::move(link));
    return self;
}

void CTrackEditorLink::SetItemIcon(bool holdsEvents)
{
    // The tree marks its selected node, the one being edited.
    if (m_request.setItemIcon) m_request.setItemIcon(255, 255, 255, holdsEvents);
}

void CTrackEditorLink::AbortAndClear()
{
    if (m_request.abortAndClear) m_request.abortAndClear();
}

void CTrackEditorLink::EditorClosed()
{
    // Closed by the user: the document still counts it open, and takes the sequence back.
    if (!m_request.openFlag || !*m_request.openFlag) return;
    *m_request.openFlag = 0;
    if (m_request.closed) m_request.closed();
}

void CTrackEditorLink::SaveDocument()
{
    // The document writes back what this editor holds before it writes its file.
    if (m_request.document) m_request.document->Save();
}

wxWindow* CTrackEditorLink::Window()
{
    return m_frame;
}

void CTrackEditorLink::ShowTrack()
{
    m_frame->ShowTrack(m_request.channel, m_request.title);
}

void CTrackEditorLink::Retarget(int track, const wxString& title)
{
    m_request.title = title;
    m_frame->ShowTrack(track - 1, title);
    m_frame->Activate();
}

} // namespace zib
