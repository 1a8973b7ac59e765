#pragma once

#include "ui/dialogs/CZibDialog.h"

#include <array>

class wxChoice;

namespace zib {

class QeChordTableDlgModel;

// "Edit QE Chord Table": one drop-down list per chord type (1651-1672) with
// the present chord variations of the element.
class CQeChordTableDlg : public CZibDialog {
public:
    static constexpr int kFirstList = 1651;
    CQeChordTableDlg(wxWindow* parent, QeChordTableDlgModel& model);

private:
    QeChordTableDlgModel& model_;
    std::array<wxChoice*, 22> lists_{};
};

} // namespace zib
