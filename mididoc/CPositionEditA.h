#pragma once

#include "mididoc/core/PositionEditAModel.h"

#include <functional>
#include <wx/control.h>

class wxSpinButton;
class wxSpinEvent;
class wxTextCtrl;

namespace zib {

class MidiPositionTarget;

// A bar:beat:tick field of the MIDI bars with its spin button: the current
// position, From or Thru of the active MIDI window. It takes the window's
// value when it gains the focus; Enter (or leaving the field) moves the
// window there, Escape restores the old text.
class CPositionEditA : public wxControl {
public:
    using TargetSource = std::function<MidiPositionTarget*()>;

    CPositionEditA(wxWindow* parent, int id, PositionEditAModel::Mode mode, TargetSource target, int width);

    // The text the player or the window shows (not while the user types in it).
    void ShowText(const wxString& text);
    wxTextCtrl* Text() const { return text_; }

protected:
    void DoSetToolTip(wxToolTip* tip) override;

private:
    void OnSetFocus(wxFocusEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnSpin(wxSpinEvent& event);
    void Commit();

    PositionEditAModel model_;
    TargetSource source_;
    MidiPositionTarget* target_ = nullptr; // while the field has the focus
    wxTextCtrl* text_ = nullptr;
    wxSpinButton* spin_ = nullptr;
};

} // namespace zib
