#include "ui/CMainToolBar.h"

#include "ui/ShellServices.h"
#include "ui/ToolbarArt.h"
#include "ui/core/CommandIds.h"
#include "ui/core/ToolbarIcons.h"
#include "ui/texts/UiText.h"
#include "platform/WxText.h"

#include <wx/settings.h>

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
    // Square: image lists hold 16 x 16 images, and cut a wider one.
    return LetterTile(glyph, 16, 16);
}

void CMainToolBar::SetButtons(const std::vector<ToolButtonDef>& buttons, int language)
{
    buttons_ = buttons;
    iconSources_.clear();
    ClearTools();
    const int size = ToolbarIconSize();
    const wxColour ink = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT);
    SetToolBitmapSize(wxSize(size, size));
    for (const auto& b : buttons) {
        if (b.id == 0) {
            AddSeparator();
            continue;
        }
        const wxString tip = TipOf(b, language);
        if (b.fieldWidth > 0) {
            if (wxControl* field = FieldFor(b)) {
                field->SetToolTip(tip);
                AddControl(field);
            }
            continue;
        }
        const ToolIcon icon = ToolButtonIcon(b, size, ink);
        AddTool(cmd::ToWxId(b.id), wxString(), icon.bitmap, tip, b.toggle ? wxITEM_CHECK : wxITEM_NORMAL);
        iconSources_[b.id] = icon.source;
    }
    Realize();
}

void CMainToolBar::Translate(int language)
{
    for (const auto& b : buttons_) {
        if (b.id == 0) continue;
        const wxString tip = TipOf(b, language);
        if (b.fieldWidth > 0) {
            if (wxWindow* field = FindWindow(b.id)) field->SetToolTip(tip);
            continue;
        }
        SetToolShortHelp(cmd::ToWxId(b.id), tip);
    }
}

std::optional<ToolIconSource> CMainToolBar::IconSource(int id) const
{
    if (auto it = iconSources_.find(id); it != iconSources_.end()) return it->second;
    return std::nullopt;
}

wxString CMainToolBar::TipOf(const ToolButtonDef& button, int language)
{
    return wxFromUtf8(ToolButtonTip(button, ToolTipText(UiText(button.tooltip, language))));
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
        if (ShellServices* shell = ShellServices::Get()) shell->ToolbarMovedByUser(*this);
    }
    event.Skip();
}

} // namespace zib
