#include "tests/app/gui/driver/PlaybackProbe.h"

#include "app/CMainFrame.h"
#include "app/CZibApp.h"
#include "devices/CBarViewHostFrame.h"
#include "platform/WxText.h"

#include <wx/textctrl.h>

namespace zib {

bool RunPlaybackProbe(const std::vector<std::string>& w, const std::function<void(const std::string&)>& log)
{
    const std::string verb = w.empty() ? std::string() : w[0];
    CMainFrame* frame = CMainFrame::Get();
    if (verb == "bar-view" && frame && w.size() > 1) {
        CBarViewHostFrame* host = CBarViewHostFrame::Open(*frame, w[1]);
        log("bar-view: opened=" + std::to_string(host != nullptr));
        return true;
    }
    if (verb == "bar-view-state" && frame) {
        auto* host = dynamic_cast<CBarViewHostFrame*>(frame->GetActiveChild());
        log("bar-view-state: position=\"" + (host ? wxToUtf8(host->PositionText()->GetValue()) : std::string()) +
            "\" playing=" + std::to_string(wxGetApp().m_Playing.load()));
        return true;
    }
    if (verb == "close-player" && frame) {
        if (frame->m_PlayerWindow) frame->m_PlayerWindow->Close(true);
        log("close-player");
        return true;
    }
    return false;
}

} // namespace zib
