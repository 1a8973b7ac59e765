#include "app/CTiledBitmapWnd.h"

#include "app/core/BackgroundTiles.h"

#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>

namespace zib {

CTiledBitmapWnd::CTiledBitmapWnd() : bitmap_(BackgroundBitmap()) {}

CTiledBitmapWnd::~CTiledBitmapWnd()
{
    if (client_) client_->RemoveEventHandler(this);
}

wxBitmap CTiledBitmapWnd::BackgroundBitmap()
{
    // A quiet pattern: a blue-grey field with a lighter diagonal weave.
    wxBitmap bmp(64, 64);
    wxMemoryDC dc(bmp);
    dc.SetBackground(wxBrush(wxColour(72, 86, 112)));
    dc.Clear();
    dc.SetPen(wxPen(wxColour(84, 100, 128), 2));
    for (int i = -64; i < 64; i += 16) {
        dc.DrawLine(i, 0, i + 64, 64);
        dc.DrawLine(i + 64, 0, i, 64);
    }
    dc.SelectObject(wxNullBitmap);
    return bmp;
}

bool CTiledBitmapWnd::SubclassWindow(wxWindow* client)
{
    if (!client) return false;
    client_ = client;
    client_->SetBackgroundStyle(wxBG_STYLE_PAINT);
    client_->PushEventHandler(this);
    Bind(wxEVT_PAINT, &CTiledBitmapWnd::OnPaint, this);
    Bind(wxEVT_SIZE, &CTiledBitmapWnd::OnSize, this);
    return true;
}

void CTiledBitmapWnd::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(client_);
    const wxSize area = client_->GetClientSize();
    for (auto [x, y] : TileOrigins(bitmap_.GetWidth(), bitmap_.GetHeight(), area.x, area.y))
        dc.DrawBitmap(bitmap_, x, y, false);
}

void CTiledBitmapWnd::OnSize(wxSizeEvent& event)
{
    event.Skip();
    if (client_) client_->Refresh(true);
}

} // namespace zib
