#include "app/PaintWatch.h"

#include <wx/event.h>

namespace zib {

PaintWatch::~PaintWatch()
{
    Stop();
}

void PaintWatch::Start()
{
    if (!watching_) wxEvtHandler::AddFilter(this);
    watching_ = true;
    painted_ = painting_ = false;
    paintEnd_ = Clock::now();
}

void PaintWatch::Stop()
{
    if (watching_) wxEvtHandler::RemoveFilter(this);
    watching_ = false;
}

int PaintWatch::FilterEvent(wxEvent& event)
{
    const wxEventType type = event.GetEventType();
    // One expose paints a window's background and then each of its windows.
    const bool paint = type == wxEVT_PAINT || type == wxEVT_ERASE_BACKGROUND || type == wxEVT_NC_PAINT;
    if (paint) {
        painted_ = painting_ = true;
    } else if (painting_) {
        painting_ = false;
        paintEnd_ = Clock::now();
    }
    return Event_Skip;
}

} // namespace zib
