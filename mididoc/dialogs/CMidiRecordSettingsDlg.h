#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "mididoc/core/MidiRecordSettingsDlgModel.h"

#include <array>

class wxCheckBox;

namespace zib {

// "MIDI Record Settings" (275): the channels echoed while recording.
class CMidiRecordSettingsDlg : public CZibDialog {
public:
    CMidiRecordSettingsDlg(wxWindow* parent, uint16_t echoMask);
    uint16_t EchoMask() const { return model_.echoMask; }

private:
    MidiRecordSettingsDlgModel model_;
    std::array<wxCheckBox*, 16> boxes_{};
};

} // namespace zib
