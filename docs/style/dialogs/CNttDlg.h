#pragma once

#include "ui/dialogs/CZibDialog.h"

#include <memory>

namespace zib {

class NttDlgModel;
class RadioGroupWithNone;

// "QE NTT": the element's NTT as four radio buttons (1673-1676). An NTT the
// buttons do not name checks none and is kept.
class CNttDlg : public CZibDialog {
public:
    static constexpr int kFirstButton = 1673;
    CNttDlg(wxWindow* parent, NttDlgModel& model);
    ~CNttDlg() override;

private:
    NttDlgModel& model_;
    std::unique_ptr<RadioGroupWithNone> buttons_;
};

} // namespace zib
