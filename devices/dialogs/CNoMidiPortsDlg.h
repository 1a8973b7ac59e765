#pragma once

#include "ui/dialogs/CZibDialog.h"

namespace zib {

// "No MIDI ports selected !!!" (259): the warning when the user leaves a port
// list of "Select MIDI Ports" empty. OK goes back to the port choice, Cancel
// goes on without a port.
class CNoMidiPortsDlg : public CZibDialog {
public:
    static constexpr int kIdWarning = 1047;
    static constexpr int kIdNote = 1048;

    // `message`: the localized warning of the list left empty (OUT or IN)
    CNoMidiPortsDlg(wxWindow* parent, int message);
};

} // namespace zib
