#pragma once

#include "ui/ToolbarArt.h"
#include "ui/core/ToolbarButtons.h"
#include "ui/core/ToolbarChoice.h"

#include <map>
#include <optional>
#include <vector>
#include <wx/aui/auibar.h>
#include <wx/aui/framemanager.h>

namespace zib {

// Where a bar sits: docked at a row and position, or floating.
struct BarPlace {
    int dock = wxAUI_DOCK_TOP;
    int row = 0;
    int position = 0;
    bool floating = false;
    wxPoint floatingPos = wxDefaultPosition;
};

// One of the main frame's toolbars. A drag by the user is reported to the
// frame, which keeps the bar's place in the slot of the active child's kind.
class CMainToolBar : public wxAuiToolBar {
public:
    CMainToolBar(wxWindow* parent, MainBar bar);

    MainBar Bar() const { return bar_; }

    // Buttons
    void SetButtons(const std::vector<ToolButtonDef>& buttons, int language);
    // The tooltips of the buttons in another language; pressed buttons stay pressed.
    void Translate(int language);
    // The MidiDoc bar's two sets: full (16) or reduced for the tempo-track editor (14).
    void SetButtonSet(bool full, int language);
    bool FullButtonSet() const { return fullSet_; }
    int ButtonCount() const { return int(GetToolCount()); }

    // Where the picture of a button came from (nullopt: no such button).
    std::optional<ToolIconSource> IconSource(int id) const;
    // The buttons as last set
    const std::vector<ToolButtonDef>& Buttons() const { return buttons_; }

    // Short drawn letters on a 16 x 16 tile (the images of trees and lists).
    static wxBitmap GlyphBitmap(std::string_view glyph);

protected:
    // The text field of a field slot (made once, kept across button sets);
    // bars without fields have none.
    virtual wxControl* FieldFor(const ToolButtonDef& /*slot*/) { return nullptr; }

private:
    // The tooltip of a button in a language
    static wxString TipOf(const ToolButtonDef& button, int language);
    void OnLeftDown(wxMouseEvent& event);
    void OnMove(wxMoveEvent& event);

    MainBar bar_;
    std::vector<ToolButtonDef> buttons_; // the buttons as last set
    std::map<int, ToolIconSource> iconSources_;
    bool moving_ = false;
    bool fullSet_ = true;
};

} // namespace zib
