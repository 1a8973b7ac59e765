#pragma once

#include "ui/CMainToolBar.h"
#include "mididoc/CPositionEditA.h"

namespace zib {

// The MIDI selection bar: Set From, the From and Thru fields, Set Thru and
// the loop switch of the active MIDI window.
class CMidiToolBarB : public CMainToolBar {
public:
    CMidiToolBarB(wxWindow* parent, CPositionEditA::TargetSource target, int language);

    // The marker texts the MIDI window shows.
    void ShowFrom(const wxString& text) { from_->ShowText(text); }
    void ShowThru(const wxString& text) { thru_->ShowText(text); }
    CPositionEditA* FromField() const { return from_; }
    CPositionEditA* ThruField() const { return thru_; }

protected:
    wxControl* FieldFor(const ToolButtonDef& slot) override;

private:
    CPositionEditA* from_ = nullptr;
    CPositionEditA* thru_ = nullptr;
};

} // namespace zib
