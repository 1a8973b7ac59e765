#pragma once

#include "app/dialogs/CZibDialog.h"
#include "docs/program/core/PedalSwDlgModel.h"

class wxChoice;

namespace zib {

// "Pedal & SW Dialog" (204): one pedal's or switch's name and its function
// (list 1336). OK hands the choice to the model.
class CPedalSwDlg : public CZibDialog {
public:
    CPedalSwDlg(wxWindow* parent, PedalSwDlgModel& model);

private:
    PedalSwDlgModel& model_;
    wxChoice* list_ = nullptr;
};

} // namespace zib
