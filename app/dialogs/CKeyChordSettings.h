#pragma once

#include "app/core/KeyChordSettingsModel.h"
#include "app/dialogs/CConversionSettingsPage.h"

#include <array>
#include <string>
#include <vector>

class wxComboBox;

namespace zib {

// "CV KeyChord" page of the Wq MIDI-to-style settings: the key in which each
// CV of the shown element was recorded (boxes 1625-1630), and the
// determination switch.
class CKeyChordSettings : public CConversionSettingsPage {
public:
    CKeyChordSettings(wxWindow* parent, std::string_view letters, int determination);

    void OnOK() override;
    const KeyChordSettingsModel& Model() const { return model_; }

protected:
    CKeyChordSettings(wxWindow* parent, ConversionSeries series, std::string_view letters, int determination);

private:
    std::vector<std::string> Chosen() const;
    void ShowElement();
    void ShowEnabled();

    KeyChordSettingsModel model_;
    std::array<wxComboBox*, KeyChordSettingsModel::kBoxCount> boxes_{};
};

} // namespace zib
