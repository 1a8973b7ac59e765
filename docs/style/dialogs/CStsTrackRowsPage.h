#pragma once

#include <vector>
#include <wx/panel.h>

class wxComboBox;
class wxSpinButton;
class wxTextCtrl;

namespace zib {

class StsTrackPageModel;

// A page of sound, volume and pan rows of STS data: the eight style tracks
// (CStylePerformancePropPage) or the four realtime tracks of one STS
// (CStsTune1). Per row a read-only sound box with ">>" for the sound
// dialog, a volume edit with its spin, and a pan combo.
class CStsTrackRowsPage : public wxPanel {
public:
    // Per row r: sound 2100 + r, ">>" 2110 + r, volume 2120 + r and its spin
    // 2130 + r, pan 2140 + r.
    static constexpr int kSound = 2100, kChoose = 2110, kVolume = 2120, kVolumeSpin = 2130, kPan = 2140;

protected:
    CStsTrackRowsPage(wxWindow* parent, StsTrackPageModel& model);

private:
    void ShowSounds();
    void ShowVolume(int row);
    void ChooseSound(int row);

    StsTrackPageModel& model_;
    std::vector<wxTextCtrl*> sounds_;
    std::vector<wxTextCtrl*> volumes_;
    std::vector<wxSpinButton*> spins_;
    std::vector<wxComboBox*> pans_;
    bool initialised_ = false;
};

} // namespace zib
