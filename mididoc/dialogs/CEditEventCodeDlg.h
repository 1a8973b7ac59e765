#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "mididoc/core/EditEventCodeDlgModel.h"

#include <array>

class wxRadioButton;

namespace zib {

// "Edit MIDI Event Code Dialog" (224): the kind of one event.
class CEditEventCodeDlg : public CZibDialog {
public:
    CEditEventCodeDlg(wxWindow* parent, const EditEventCodeDlgModel& model);
    const EditEventCodeDlgModel::Result& Result() const { return result_; }

private:
    EditEventCodeDlgModel model_;
    EditEventCodeDlgModel::Result result_;
    std::array<wxRadioButton*, EditEventCodeDlgModel::kButtonCount> buttons_{};
};

} // namespace zib
