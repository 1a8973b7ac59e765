#include "tests/app/gui/driver/SettleWatch.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <X11/Xlib.h>

namespace zib {

namespace {

// Three looks in a row: a paint done at one look may post a size change or
// a repaint that only the next turn of the loop shows.
constexpr int kQuietLooksNeeded = 3;

} // namespace

bool SettleWatch::Look()
{
    // Whatever the X server sends back for what was asked of it is in the
    // event queue after a round trip.
    if (auto* display = wxGetX11Display()) XSync(display, False);
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    bool busy = wxTheApp->HasPendingEvents() || (loop && loop->Pending());
    // Paint now what waits to be painted; painting is work of its own.
    for (wxWindow* w : wxTopLevelWindows)
        if (w->IsShown()) w->Update();
    if (wxTheApp->ProcessIdle()) busy = true; // an idle handler asked for more
    quietLooks_ = busy ? 0 : quietLooks_ + 1;
    return quietLooks_ >= kQuietLooksNeeded;
}

} // namespace zib
