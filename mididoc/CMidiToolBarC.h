#pragma once

#include "ui/CMainToolBar.h"
#include "mididoc/CSpinEdit.h"

namespace zib {

// The MIDI tempo bar: Set Tempo and the tempo field of the active MIDI window.
class CMidiToolBarC : public CMainToolBar {
public:
    CMidiToolBarC(wxWindow* parent, CSpinEdit::TargetSource target, int language);

    // The tempo the player or the MIDI window shows.
    void ShowTempo(int bpm) { tempo_->ShowTempo(bpm); }
    CSpinEdit* TempoField() const { return tempo_; }

protected:
    wxControl* FieldFor(const ToolButtonDef& slot) override;

private:
    CSpinEdit* tempo_ = nullptr;
};

} // namespace zib
