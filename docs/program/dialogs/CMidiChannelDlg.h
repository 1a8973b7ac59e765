#pragma once

#include "app/dialogs/CZibDialog.h"
#include "docs/program/core/MidiChannelDlgModel.h"

class wxChoice;

namespace zib {

// "Midi Channel" (201): one channel record's label (1047) and its channel
// list (1335, sorted as text). OK hands the choice to the model.
class CMidiChannelDlg : public CZibDialog {
public:
    CMidiChannelDlg(wxWindow* parent, MidiChannelDlgModel& model);

private:
    MidiChannelDlgModel& model_;
    wxChoice* list_ = nullptr;
};

} // namespace zib
