#include "docs/style/dialogs/CSoundListBox.h"

#include "docs/style/core/QeSoundList.h"
#include "platform/WxText.h"

#include <algorithm>
#include <wx/dc.h>
#include <wx/settings.h>

namespace zib {

CSoundListBox::CSoundListBox(wxWindow* parent, wxWindowID id, const QeSoundList& sounds)
{
    Create(parent, id, sounds);
}

bool CSoundListBox::Create(wxWindow* parent, wxWindowID id, const QeSoundList& sounds, long style)
{
    sounds_ = &sounds;
    if (!wxVListBox::Create(parent, id, wxDefaultPosition, wxDefaultSize, style)) return false;
    SetItemCount(sounds.Size());
    return true;
}

void CSoundListBox::OnDrawBackground(wxDC& dc, const wxRect& rect, size_t n) const
{
    const wxColour colour = IsSelected(n) ? wxColour(128, 255, 92) : n % 2 == 0 ? wxColour(192, 192, 192) : *wxWHITE;
    dc.SetBrush(wxBrush(colour));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(rect);
    if (IsCurrent(n) && HasFocus()) {
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_DOT));
        dc.DrawRectangle(rect);
    }
}

void CSoundListBox::OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const
{
    if (!sounds_ || n >= sounds_->Size()) return;
    dc.SetTextForeground(*wxBLACK);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const wxString text = wxFromCp1252(sounds_->At(n).name);
    const wxSize size = dc.GetTextExtent(text);
    dc.DrawText(text, rect.x + 2, rect.y + (rect.height - size.y) / 2);
}

wxCoord CSoundListBox::OnMeasureItem(size_t) const
{
    // As high as a menu's check mark, and never lower than a line of text.
    const int mark = wxSystemSettings::GetMetric(wxSYS_MENU_Y, this);
    return std::max(GetCharHeight() + 2, std::min(mark > 0 ? mark : 0, GetCharHeight() + 6));
}

} // namespace zib
