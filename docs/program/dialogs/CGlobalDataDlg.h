#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "docs/program/core/GlobalDataDlgModel.h"
#include "docs/program/dialogs/CDialogControls.h"

#include <memory>

namespace zib {

// "Global Data" (203): the pedal and switch list (a double click opens
// "Pedal & SW Dialog"), the user-scale list (a double click opens "Scale
// Dialog"), and the fields of the block. OK hands the controls to the model.
class CGlobalDataDlg : public CZibDialog {
public:
    CGlobalDataDlg(wxWindow* parent, GlobalDataDlgModel& model);

private:
    void EditPedal(int line);
    void EditScale(int line);

    GlobalDataDlgModel& model_;
    std::unique_ptr<CDialogControls> controls_;
};

} // namespace zib
