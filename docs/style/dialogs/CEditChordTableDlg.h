#pragma once

#include "ui/core/WqStyleDlgModels.h"
#include "ui/dialogs/CZibDialog.h"

#include <array>

class wxChoice;

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

} // namespace zib
