#pragma once

#include "app/core/SettingsCommands.h"

#include <wx/propdlg.h>

namespace zib {

class CQeChordTableSettings;
class CQeKeyChordSettings;

// "Midi To Qe-series styles settings": the pages chord table and CV
// key-chord, in this order, on the values of the settings. Only OK hands new
// values back (Values()); Cancel leaves them as they were.
class CMidiToQeStyPropSheet : public wxPropertySheetDialog {
public:
    CMidiToQeStyPropSheet(wxWindow* parent, const QeConversionValues& values);

    // After OK: the values of the pages.
    const QeConversionValues& Values() const { return values_; }

private:
    void OnOK(wxCommandEvent& event);

    QeConversionValues values_;
    CQeChordTableSettings* chordTable_ = nullptr;
    CQeKeyChordSettings* keyChord_ = nullptr;
};

} // namespace zib
