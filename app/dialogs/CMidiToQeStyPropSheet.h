#pragma once

#include "ui/core/SettingsCommands.h"

#include <wx/propdlg.h>

namespace zib {

class CQeChordTableSettings;
class CQeKeyChordSettings;

// "Midi To Qe-series styles settings": the pages chord table and CV
// key-chord, in this order, on the values of the settings. OK hands the pages'
// values back (Values()); Apply hands them to the caller's store function
// and keeps the sheet open; Cancel leaves them as they were.
class CMidiToQeStyPropSheet : public wxPropertySheetDialog {
public:
    CMidiToQeStyPropSheet(wxWindow* parent, const QeConversionValues& values,
                          ApplyValues<QeConversionValues> apply = {});

    // After OK: the values of the pages.
    const QeConversionValues& Values() const { return values_; }

private:
    void OnOK(wxCommandEvent& event);
    void OnApply(wxCommandEvent& event);
    // The pages' controls into their models, and the models' values into values_
    void TakePageValues();

    QeConversionValues values_;
    ApplyValues<QeConversionValues> apply_;
    CQeChordTableSettings* chordTable_ = nullptr;
    CQeKeyChordSettings* keyChord_ = nullptr;
};

} // namespace zib
