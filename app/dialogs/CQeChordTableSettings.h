#pragma once

#include "app/dialogs/CChordTableSettings.h"

namespace zib {

// "QE4K Style Chord Table Settings" page of the Qe MIDI-to-style settings:
// the chord table of the 12 Qe elements and 22 chord types (boxes 1651-1672,
// element radios 1639-1650).
class CQeChordTableSettings : public CChordTableSettings {
public:
    CQeChordTableSettings(wxWindow* parent, std::string_view letters, int determination)
        : CChordTableSettings(parent, ConversionSeries::Qe, letters, determination)
    {
    }
};

} // namespace zib
