#include "app/CMainToolBar.h"

#include "app/CMainFrame.h"
#include "app/core/CommandIds.h"
#include "app/texts/UiText.h"
#include "platform/WxText.h"

#include <wx/artprov.h>
#include <wx/dcmemory.h>

namespace zib {

CMainToolBar::CMainToolBar(wxWindow* parent, MainBar bar)
    : wxAuiToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                   wxAUI_TB_DEFAULT_STYLE | wxAUI_TB_GRIPPER),
      bar_(bar)
{
    Bind(wxEVT_LEFT_DOWN, &CMainToolBar::OnLeftDown, this);
    Bind(wxEVT_MOVE, &CMainToolBar::OnMove, this);
}

wxBitmap CMainToolBar::GlyphBitmap(std::string_view glyph)
{
    const wxSize size(16, 16);
    if (glyph.substr(0, 4) == "art:") {
        std::string_view name = glyph.substr(4);
        wxArtID id = name == "new" ? wxART_NEW : name == "open" ? wxART_FILE_OPEN : wxART_HELP;
        wxBitmap art = wxArtProvider::GetBitmap(id, wxART_TOOLBAR, size);
        if (art.IsOk()) return art;
    }
    // Short text on a light tile; commands without a glyph get a plain tile.
    wxBitmap bmp(size.x * (glyph.size() > 2 ? 2 : 1), size.y);
    wxMemoryDC dc(bmp);
    dc.SetBackground(wxBrush(wxColour(236, 240, 248)));
    dc.Clear();
    dc.SetPen(wxPen(wxColour(90, 110, 150)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(0, 0, bmp.GetWidth(), bmp.GetHeight());
    if (!glyph.empty()) {
        dc.SetFont(wxFont(wxFontInfo(6).Bold()));
        dc.SetTextForeground(wxColour(30, 40, 80));
        wxString text = wxFromUtf8(glyph);
        wxSize extent = dc.GetTextExtent(text);
        dc.DrawText(text, (bmp.GetWidth() - extent.x) / 2, (bmp.GetHeight() - extent.y) / 2);
    }
    dc.SelectObject(wxNullBitmap);
    return bmp;
}

void CMainToolBar::SetButtons(const std::vector<ToolButtonDef>& buttons, int language)
{
    buttons_ = buttons;
    ClearTools();
    for (const auto& b : buttons) {
        if (b.id == 0) {
            AddSeparator();
            continue;
        }
        wxString tip = wxFromUtf8(ToolTipText(UiText(b.tooltip, language)));
        if (b.fieldWidth > 0) {
            if (wxControl* field = FieldFor(b)) {
                field->SetToolTip(tip);
                AddControl(field);
            }
            continue;
        }
        AddTool(cmd::ToWxId(b.id), wxString(), GlyphBitmap(b.glyph), tip,
                b.toggle ? wxITEM_CHECK : wxITEM_NORMAL);
    }
    Realize();
}

void CMainToolBar::Translate(int language)
{
    for (const auto& b : buttons_) {
        if (b.id == 0) continue;
        const wxString tip = wxFromUtf8(ToolTipText(UiText(b.tooltip, language)));
        if (b.fieldWidth > 0) {
            if (wxWindow* field = FindWindow(b.id)) field->SetToolTip(tip);
            continue;
        }
        SetToolShortHelp(cmd::ToWxId(b.id), tip);
    }
}

void CMainToolBar::SetButtonSet(bool full, int language)
{
    if (fullSet_ == full && GetToolCount() > 0) return;
    fullSet_ = full;
    SetButtons(MidiDocButtonSet(full), language);
}

void CMainToolBar::OnLeftDown(wxMouseEvent& event)
{
    moving_ = true;
    event.Skip();
}

void CMainToolBar::OnMove(wxMoveEvent& event)
{
    if (moving_) {
        moving_ = false;
        if (auto* frame = CMainFrame::Get()) frame->ToolbarMovedByUser(*this);
    }
    event.Skip();
}

} // namespace zib
