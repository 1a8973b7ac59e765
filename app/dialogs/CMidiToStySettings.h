#pragma once

#include "app/core/MidiToStySettingsModel.h"
#include "app/dialogs/CConversionSettingsPage.h"

#include <array>

class wxCheckBox;

namespace zib {

// "Ignore flags" page of the Wq MIDI-to-style settings: the events the
// converter leaves out (boxes 1632-1635).
class CMidiToStySettings : public CConversionSettingsPage {
public:
    CMidiToStySettings(wxWindow* parent, uint32_t flags);

    void OnOK() override;
    const MidiToStySettingsModel& Model() const { return model_; }

private:
    MidiToStySettingsModel model_;
    std::array<wxCheckBox*, MidiToStySettingsModel::kBoxes.size()> boxes_{};
};

} // namespace zib
