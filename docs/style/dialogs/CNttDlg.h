#pragma once

#include "app/dialogs/CZibDialog.h"

#include <array>

class wxRadioButton;

namespace zib {

class NttDlgModel;

// "QE NTT": the element's NTT as four radio buttons (1673-1676). An NTT the
// buttons do not name checks none and is kept.
class CNttDlg : public CZibDialog {
public:
    static constexpr int kFirstButton = 1673;
    CNttDlg(wxWindow* parent, NttDlgModel& model);

private:
    NttDlgModel& model_;
    std::array<wxRadioButton*, 4> buttons_{};
};

} // namespace zib
