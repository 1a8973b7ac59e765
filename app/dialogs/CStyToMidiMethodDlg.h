#pragma once

#include "app/core/StyToMidiMethodDlgModel.h"
#include "ui/dialogs/CZibDialog.h"

namespace zib {

// "Select Style To MIDI conversion metod" (213): one collected MIDI file or
// one MIDI file per CV.
class CStyToMidiMethodDlg : public CZibDialog {
public:
    CStyToMidiMethodDlg(wxWindow* parent, StyToMidiMethodDlgModel& model);

private:
    StyToMidiMethodDlgModel& model_;
};

} // namespace zib
