#pragma once

#include "ui/core/WqStyleDlgModels.h"
#include "ui/dialogs/CZibDialog.h"

#include <array>

class wxChoice;
class wxComboBox;

namespace zib {

// "Edit Chord Table" (197): which CV of one Wq style element plays each chord type.
// Offered only when `model.usable()`.
class CEditChordTableDlg : public CZibDialog {
public:
    CEditChordTableDlg(wxWindow* parent, EditChordTableDlgModel& model);

private:
    EditChordTableDlgModel& model_;
    std::array<wxChoice*, EditChordTableDlgModel::kChordTypes> boxes_{};
};

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
