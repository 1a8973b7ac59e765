#pragma once

#include "docs/program/core/MidiChannelDlgModel.h"
#include "docs/program/dialogs/CLabelledChoiceDlg.h"

namespace zib {

// "Midi Channel" (201): one channel record's label (1047) and its channel
// list (1335, sorted as text). OK hands the choice to the model.
class CMidiChannelDlg : public CLabelledChoiceDlg {
public:
    CMidiChannelDlg(wxWindow* parent, MidiChannelDlgModel& model)
        : CLabelledChoiceDlg(parent, "Midi Channel", 1047, model.label, 1335, model.options, model.selection)
    {
    }
};

} // namespace zib
