#pragma once

#include <array>
#include <wx/panel.h>

class wxChoice;
class wxSpinButton;
class wxTextCtrl;

namespace zib {

class StsArrangerInfoPageModel;

// The "Arranger Info" page: style bank and position (chosen only in a
// performance, kind 4), tempo with its spin, initial variation and style
// element and the two fill modes.
class CStsArrangerInfoPropPage : public wxPanel {
public:
    // Bank 2000, position 2001, tempo 2002 and its spin 2003, variation
    // 2004, element 2005, fill modes 2006 and 2007.
    static constexpr int kBank = 2000, kPosition = 2001, kTempo = 2002, kTempoSpin = 2003, kVariation = 2004,
                         kElement = 2005, kFill1 = 2006, kFill2 = 2007;

    CStsArrangerInfoPropPage(wxWindow* parent, StsArrangerInfoPageModel& model);

private:
    void ShowTempo();

    StsArrangerInfoPageModel& model_;
    wxTextCtrl* tempo_ = nullptr;
    wxSpinButton* spin_ = nullptr;
    bool initialised_ = false;
};

} // namespace zib
