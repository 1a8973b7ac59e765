#include "devices/CInstrumentListBox.h"

namespace zib {

CInstrumentListBox::CInstrumentListBox(wxWindow* parent, int id, const wxSize& size, std::function<void()> onScroll)
    : wxListBox(parent, id, wxDefaultPosition, size, 0, nullptr, wxLB_SINGLE | wxLB_ALWAYS_SB | wxBORDER_SUNKEN),
      onScroll_(std::move(onScroll))
{
    auto scrolled = [this](wxEvent& event) {
        event.Skip();
        if (onScroll_) CallAfter([this] { onScroll_(); });
    };
    Bind(wxEVT_SCROLLWIN_TOP, scrolled);
    Bind(wxEVT_SCROLLWIN_BOTTOM, scrolled);
    Bind(wxEVT_SCROLLWIN_LINEUP, scrolled);
    Bind(wxEVT_SCROLLWIN_LINEDOWN, scrolled);
    Bind(wxEVT_SCROLLWIN_PAGEUP, scrolled);
    Bind(wxEVT_SCROLLWIN_PAGEDOWN, scrolled);
    Bind(wxEVT_SCROLLWIN_THUMBTRACK, scrolled);
    Bind(wxEVT_SCROLLWIN_THUMBRELEASE, scrolled);
    Bind(wxEVT_MOUSEWHEEL, scrolled);
}

} // namespace zib
