#pragma once

#include "app/core/SettingsCommands.h"

#include <wx/propdlg.h>

namespace zib {

class CChordTableSettings;
class CKeyChordSettings;
class CMidiToStySettings;

// "Midi To Wq-series styles settings": the pages chord table, CV key-chord
// and ignore flags, in this order, on the values of the settings. Only OK
// hands new values back (Values()); Cancel leaves them as they were.
class CMidiToWqStyPropSheet : public wxPropertySheetDialog {
public:
    CMidiToWqStyPropSheet(wxWindow* parent, const WqConversionValues& values);

    // After OK: the values of the pages.
    const WqConversionValues& Values() const { return values_; }

private:
    void OnOK(wxCommandEvent& event);

    WqConversionValues values_;
    CChordTableSettings* chordTable_ = nullptr;
    CKeyChordSettings* keyChord_ = nullptr;
    CMidiToStySettings* ignoreFlags_ = nullptr;
};

} // namespace zib
