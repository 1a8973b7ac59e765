#pragma once

#include "mididoc/core/SpinEditModel.h"

#include <functional>
#include <wx/control.h>

class wxSpinButton;
class wxSpinEvent;
class wxTextCtrl;

namespace zib {

class MidiPositionTarget;

// The tempo field of the MIDI tempo bar with its spin button: 4-240 BPM.
// Leaving the field (or Enter) sets the tempo of the active MIDI window.
class CSpinEdit : public wxControl {
public:
    using TargetSource = std::function<MidiPositionTarget*()>;

    CSpinEdit(wxWindow* parent, int id, TargetSource target, int width);

    // The tempo the player or the window shows (not while the user types in it).
    void ShowTempo(int bpm);
    wxTextCtrl* Text() const { return text_; }
    int Value() const { return model_.Value(); }

protected:
    void DoSetToolTip(wxToolTip* tip) override;

private:
    void Commit();

    SpinEditModel model_;
    TargetSource source_;
    bool editing_ = false;
    wxTextCtrl* text_ = nullptr;
    wxSpinButton* spin_ = nullptr;
};

} // namespace zib
