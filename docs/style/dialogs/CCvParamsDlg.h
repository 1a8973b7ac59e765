#pragma once

#include "ui/core/WqStyleDlgModels.h"
#include "ui/dialogs/CZibDialog.h"

class wxComboBox;

namespace zib {

// "Chord Variation Parameters" (198): key and length of one Wq chord
// variation. Both lists are sorted by text; the value of the chosen text is stored.
class CCvParamsDlg : public CZibDialog {
public:
    CCvParamsDlg(wxWindow* parent, CvParamsDlgModel& model);

private:
    CvParamsDlgModel& model_;
    wxComboBox* key_ = nullptr;
    wxComboBox* length_ = nullptr;
};

} // namespace zib
