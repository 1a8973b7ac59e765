#pragma once

#include "ui/dialogs/CZibDialog.h"

#include <array>
#include <cstdint>

class wxCheckBox;
class wxChoice;
class wxComboBox;

namespace zib {

class WqStylePropertiesModel;

// "Style Parameters" of a Wq style item: tempo, category, per track the
// program, volume and pan, and the accompaniment tracks' shift-up ranges,
// retrigger switches and tension flags.
class CWqStylePropertiesDlg : public CZibDialog {
public:
    // Per track t: program 2300 + t, volume 2310 + t, pan 2320 + t; range
    // 2330 + i and retrigger 2340 + i (BASS .. ACC3), tension 2350 + i
    // (ACC1 .. ACC3); tempo 2360, category 2361.
    static constexpr int kProgram = 2300, kVolume = 2310, kPan = 2320, kRange = 2330, kRetrigger = 2340,
                         kTension = 2350, kTempo = 2360, kCategory = 2361;

    // `modelLetter`: the style's model, which decides the program list.
    CWqStylePropertiesDlg(wxWindow* parent, WqStylePropertiesModel& model, uint32_t modelLetter);

private:
    WqStylePropertiesModel& model_;
    std::array<wxChoice*, 6> programs_{};
    std::array<wxChoice*, 6> volumes_{};
    std::array<wxChoice*, 6> pans_{};
    std::array<wxChoice*, 4> ranges_{};
    std::array<wxCheckBox*, 4> retrigger_{};
    std::array<wxCheckBox*, 3> tension_{};
    wxComboBox* tempo_ = nullptr;
    wxChoice* category_ = nullptr;
};

} // namespace zib
