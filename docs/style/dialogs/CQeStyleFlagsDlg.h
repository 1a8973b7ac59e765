#pragma once

#include "ui/dialogs/CZibDialog.h"

#include <array>

class wxCheckBox;
class wxRadioButton;

namespace zib {

class QeStyleFlagsDlgModel;

// "Style Flags": per style track a radio group "Silent" (1733-1740),
// "Re-Trig" (1741-1748), "Re-Pitch" (1749-1756) and a "Tension" box
// (1758-1765).
class CQeStyleFlagsDlg : public CZibDialog {
public:
    static constexpr int kSilent = 1733;
    static constexpr int kReTrig = 1741;
    static constexpr int kRePitch = 1749;
    static constexpr int kTension = 1758;
    CQeStyleFlagsDlg(wxWindow* parent, QeStyleFlagsDlgModel& model);

private:
    QeStyleFlagsDlgModel& model_;
    std::array<std::array<wxRadioButton*, 3>, 8> rows_{};
    std::array<wxCheckBox*, 8> tension_{};
};

} // namespace zib
