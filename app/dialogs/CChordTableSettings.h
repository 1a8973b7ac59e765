#pragma once

#include "app/core/ChordTableSettingsModel.h"
#include "app/dialogs/CElementTableSettingsPage.h"

namespace zib {

// "Chord Table" page of the Wq MIDI-to-style settings: per style element,
// the CV that plays each of the 20 chord types (boxes 1583-1602), and the
// determination switch.
class CChordTableSettings : public CElementTableSettingsPage {
public:
    CChordTableSettings(wxWindow* parent, std::string_view letters, int determination);

    const ChordTableSettingsModel& Model() const { return model_; }

protected:
    CChordTableSettings(wxWindow* parent, ConversionSeries series, std::string_view letters,
                        int determination);

private:
    void ShowElement() override;
    void ShowEnabled() override;

    ChordTableSettingsModel model_;
};

} // namespace zib
