#pragma once

#include "ui/CMainToolBar.h"
#include "mididoc/CPositionEditA.h"

namespace zib {

// The MIDI position bar: previous and next measure, go to From and Thru, and
// the current position field of the active MIDI window.
class CMidiToolBarA : public CMainToolBar {
public:
    CMidiToolBarA(wxWindow* parent, CPositionEditA::TargetSource target, int language);

    // The position text the player or the MIDI window shows.
    void ShowPosition(const wxString& text) { position_->ShowText(text); }
    CPositionEditA* PositionField() const { return position_; }

protected:
    wxControl* FieldFor(const ToolButtonDef& slot) override;

private:
    CPositionEditA* position_ = nullptr;
};

} // namespace zib
