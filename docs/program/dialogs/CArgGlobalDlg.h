#pragma once

#include "app/dialogs/CZibDialog.h"
#include "docs/program/core/ArgGlobalDlgModel.h"
#include "docs/program/dialogs/CDialogControls.h"

#include <memory>

namespace zib {

// The arrangement-global dialog of both models: "WQR65 Arrangement Global
// Data" (202) and "WQ41 Arrangement Global Data" (200). The channel list
// (1311, fixed-pitch) opens "Midi Channel" on a double click; the switches
// follow. OK hands the controls to the model.
class CArgGlobalDlg : public CZibDialog {
public:
    CArgGlobalDlg(wxWindow* parent, ArgGlobalDlgModel& model);

private:
    void EditChannel(int line);

    ArgGlobalDlgModel& model_;
    std::unique_ptr<CDialogControls> controls_;
};

} // namespace zib
