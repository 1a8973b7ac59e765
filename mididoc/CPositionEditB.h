#pragma once

#include "mididoc/core/PositionEditBModel.h"

#include <wx/textctrl.h>

class wxSizer;
class wxSpinButton;
class wxSpinEvent;

namespace zib {

// The bar:beat:tick field of the MIDI dialogs: a text field with a spin
// button beside it that holds one absolute tick, up to the 999th measure
// (the bell rings at the limit). Digits, ':' and backspace are typed; Enter
// and Escape reach the dialog.
class CPositionEditB : public wxTextCtrl {
public:
    CPositionEditB(wxWindow* parent, int id, const PositionRecord& start, const MeasureContext* context,
                   const wxSize& size = wxSize(80, -1));

    // The field and its spin button side by side, for the dialog's sizer.
    wxSizer* WithSpin();
    // OK: the text parsed and normalised; the field shows the result.
    PositionRecord GetPosition();
    uint32_t Tick() const { return model_.Tick(); }

private:
    void OnChar(wxKeyEvent& event);
    void OnText(wxCommandEvent& event);
    void OnSpin(wxSpinEvent& event);
    void OnKillFocus(wxFocusEvent& event);

    PositionEditBModel model_;
    wxSpinButton* spin_ = nullptr;
};

} // namespace zib
