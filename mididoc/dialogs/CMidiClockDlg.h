#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "mididoc/core/MidiClockDlgModel.h"

#include <array>
#include <cstdint>

class wxRadioButton;

namespace zib {

// "MIDI Clock" (254): the ticks per quarter note of a MIDI document.
class CMidiClockDlg : public CZibDialog {
public:
    CMidiClockDlg(wxWindow* parent, uint16_t division);
    uint16_t Division() const { return division_; }

private:
    uint16_t division_;
    std::array<wxRadioButton*, MidiClockDlgModel::kDivisions.size()> buttons_{};
};

} // namespace zib
