#pragma once

#include "ui/dialogs/CZibDialog.h"

#include <memory>

namespace zib {

class RadioGroupWithNone;

// "Setup Qe-track to Wq-track conversion": which three Qe accompaniment
// tracks become the Wq tracks Acc1-Acc3, six radio buttons (2201-2206). A
// setting outside 1-6 checks none and is kept.
class CQeTrackToWqTrackDlg : public CZibDialog {
public:
    static constexpr int kFirstButton = 2201;
    CQeTrackToWqTrackDlg(wxWindow* parent, int setting);
    ~CQeTrackToWqTrackDlg() override;

    // After OK: the choice 1-6 (the setting when none was checked).
    int Choice() const { return choice_; }

private:
    std::unique_ptr<RadioGroupWithNone> buttons_;
    int choice_;
};

} // namespace zib
