#pragma once

#include "ui/dialogs/CZibDialog.h"

#include <array>
#include <vector>
#include <wx/string.h>

class wxCheckBox;
class wxSpinButton;
class wxTextCtrl;

namespace zib {

class CVirtualComboCtrl;
class TrackParamsDlgModel;

// "Track parameters" of one element: per style track the sound (a combo
// over the shared sound list and ">>" for the sound dialog), its bank and
// program bytes, the expression with a spin 0-127 and the keyboard range
// (notes 21-108), and "Apply Sound Info To All Style Elements".
class CTrackParamsDlg : public CZibDialog {
public:
    // Control ids: per track t the sound 1800 + t, ">>" 1810 + t, MSB 1820 + t,
    // LSB 1830 + t, program 1840 + t, Expr 1850 + t and its spin 1860 + t,
    // Key Low 1870 + t, Key Hi 1880 + t; Apply To All 1890, Tact 1891.
    static constexpr int kSound = 1800, kChoose = 1810, kMsb = 1820, kLsb = 1830, kProgram = 1840, kExpr = 1850,
                         kExprSpin = 1860, kKeyLow = 1870, kKeyHigh = 1880, kApplyToAll = 1890, kTact = 1891;

    CTrackParamsDlg(wxWindow* parent, TrackParamsDlgModel& model);

private:
    void ShowSoundBytes(int track);
    void ChooseSound(int track);

    TrackParamsDlgModel& model_;
    std::array<CVirtualComboCtrl*, 8> sounds_{};
    std::array<std::array<wxTextCtrl*, 3>, 8> bytes_{};
    std::array<wxTextCtrl*, 8> expression_{};
    std::array<wxSpinButton*, 8> spins_{};
    std::array<CVirtualComboCtrl*, 8> low_{};
    std::array<CVirtualComboCtrl*, 8> high_{};
    std::vector<wxString> notes_;
    wxCheckBox* applyToAll_ = nullptr;
};

} // namespace zib
