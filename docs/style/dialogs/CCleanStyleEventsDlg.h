#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "docs/style/core/StyUiPort.h"

#include <array>

class wxCheckBox;
class wxChoice;
class wxStaticText;

namespace zib {

// "Clean certain events from style sequences": the kinds of channel events
// to remove and, for control events, the controller (ALL or 0-127).
class CCleanStyleEventsDlg : public CZibDialog {
public:
    // Boxes 1950-1954 (pitch bend, channel pressure, poly pressure,
    // control, program change), the controller list 1955.
    static constexpr int kFirstBox = 1950;
    static constexpr int kControl = 1953;
    static constexpr int kControllers = 1955;

    explicit CCleanStyleEventsDlg(wxWindow* parent);
    const CleanEventsChoice& Choice() const { return choice_; }

private:
    std::array<wxCheckBox*, 5> boxes_{};
    wxChoice* controllers_ = nullptr;
    wxStaticText* label_ = nullptr;
    CleanEventsChoice choice_;
};

} // namespace zib
