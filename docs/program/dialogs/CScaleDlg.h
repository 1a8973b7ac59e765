#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "docs/program/core/ScaleDlgModel.h"

#include <array>

class wxSpinCtrl;

namespace zib {

// "Scale Dialog" (205): a user scale's label and its twelve signed detune
// values C to H (spin fields 1700-1711, -128 to 127). OK hands them to the model.
class CScaleDlg : public CZibDialog {
public:
    CScaleDlg(wxWindow* parent, ScaleDlgModel& model);

private:
    ScaleDlgModel& model_;
    std::array<wxSpinCtrl*, 12> fields_{};
};

} // namespace zib
