#pragma once

#include "docs/program/core/PedalSwDlgModel.h"
#include "docs/program/dialogs/CLabelledChoiceDlg.h"

#include <wx/defs.h>

namespace zib {

// "Pedal & SW Dialog" (204): one pedal's or switch's name and its function
// (list 1336). OK hands the choice to the model.
class CPedalSwDlg : public CLabelledChoiceDlg {
public:
    CPedalSwDlg(wxWindow* parent, PedalSwDlgModel& model)
        : CLabelledChoiceDlg(parent, "Pedal & SW Dialog", wxID_ANY, model.name, 1336, model.options,
                             model.selection)
    {
    }
};

} // namespace zib
