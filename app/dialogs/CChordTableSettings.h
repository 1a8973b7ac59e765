#pragma once

#include "app/core/ChordTableSettingsModel.h"
#include "app/dialogs/CConversionSettingsPage.h"

#include <string>
#include <vector>

class wxComboBox;

namespace zib {

// "Chord Table" page of the Wq MIDI-to-style settings: per style element,
// the CV that plays each of the 20 chord types (boxes 1583-1602), and the
// determination switch.
class CChordTableSettings : public CConversionSettingsPage {
public:
    CChordTableSettings(wxWindow* parent, std::string_view letters, int determination);

    void OnOK() override;
    const ChordTableSettingsModel& Model() const { return model_; }

protected:
    CChordTableSettings(wxWindow* parent, ConversionSeries series, std::string_view letters,
                        int determination);

private:
    std::vector<std::string> Chosen() const;
    void ShowElement();
    void ShowEnabled();

    ChordTableSettingsModel model_;
    std::vector<wxComboBox*> boxes_;
};

} // namespace zib
