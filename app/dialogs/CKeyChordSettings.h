#pragma once

#include "app/core/KeyChordSettingsModel.h"
#include "app/dialogs/CElementTableSettingsPage.h"

namespace zib {

// "CV KeyChord" page of the Wq MIDI-to-style settings: the key in which each
// CV of the shown element was recorded (boxes 1625-1630), and the
// determination switch.
class CKeyChordSettings : public CElementTableSettingsPage {
public:
    CKeyChordSettings(wxWindow* parent, std::string_view letters, int determination);

    const KeyChordSettingsModel& Model() const { return model_; }

protected:
    CKeyChordSettings(wxWindow* parent, ConversionSeries series, std::string_view letters, int determination);

private:
    void ShowElement() override;
    void ShowEnabled() override;

    KeyChordSettingsModel model_;
};

} // namespace zib
