#pragma once

#include <wx/bitmap.h>
#include <wx/event.h>
#include <wx/window.h>

namespace zib {

// Paints the MDI client area's background by tiling the program's background
// bitmap (111). It takes over the client window's painting and sizing.
class CTiledBitmapWnd : public wxEvtHandler {
public:
    CTiledBitmapWnd();
    ~CTiledBitmapWnd() override;

    // Takes over `client`; false when there is no window.
    bool SubclassWindow(wxWindow* client);

    // The background bitmap: a generated 64 x 64 tile.
    static wxBitmap BackgroundBitmap();

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);

    wxBitmap bitmap_;
    wxWindow* client_ = nullptr;
};

} // namespace zib
