#pragma once

#include "ui/dialogs/CZibDialog.h"

#include <cstdint>

namespace zib {

class CSoundListBox;
class SoundSelectDlgModel;

// "Sounds": one sound chosen from the sound list of a model, in an
// owner-drawn list (1900); the title names the selected sound.
class CSoundSelectDlg : public CZibDialog {
public:
    static constexpr int kList = 1900;
    CSoundSelectDlg(wxWindow* parent, SoundSelectDlgModel& model);

    // After OK: the chosen sound.
    uint32_t Chosen() const { return chosen_; }

private:
    void ShowTitle();

    SoundSelectDlgModel& model_;
    CSoundListBox* list_ = nullptr;
    uint32_t chosen_ = 0;
};

} // namespace zib
