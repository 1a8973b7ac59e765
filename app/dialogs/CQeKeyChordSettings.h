#pragma once

#include "app/dialogs/CKeyChordSettings.h"

namespace zib {

// "CV KeyChord" page of the Qe MIDI-to-style settings: key and chord type of
// each CV of the 12 Qe elements (element radios 1639-1650).
class CQeKeyChordSettings : public CKeyChordSettings {
public:
    CQeKeyChordSettings(wxWindow* parent, std::string_view letters, int determination)
        : CKeyChordSettings(parent, ConversionSeries::Qe, letters, determination)
    {
    }
};

} // namespace zib
