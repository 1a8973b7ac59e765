#pragma once

#include "ui/core/SettingsCommands.h"

#include <wx/propdlg.h>

namespace zib {

class CChordTableSettings;
class CKeyChordSettings;
class CMidiToStySettings;

// "Midi To Wq-series styles settings": the pages chord table, CV key-chord
// and ignore flags, in this order, on the values of the settings. OK hands
// the pages' values back (Values()); Apply hands them to the caller's store
// function and keeps the sheet open; Cancel leaves them as they were.
class CMidiToWqStyPropSheet : public wxPropertySheetDialog {
public:
    CMidiToWqStyPropSheet(wxWindow* parent, const WqConversionValues& values,
                          ApplyValues<WqConversionValues> apply = {});

    // After OK: the values of the pages.
    const WqConversionValues& Values() const { return values_; }

private:
    void OnOK(wxCommandEvent& event);
    void OnApply(wxCommandEvent& event);
    // The pages' controls into their models, and the models' values into values_
    void TakePageValues();

    WqConversionValues values_;
    ApplyValues<WqConversionValues> apply_;
    CChordTableSettings* chordTable_ = nullptr;
    CKeyChordSettings* keyChord_ = nullptr;
    CMidiToStySettings* ignoreFlags_ = nullptr;
};

} // namespace zib
