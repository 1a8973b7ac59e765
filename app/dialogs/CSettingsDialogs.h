#pragma once

#include "ui/core/SmallSettingsDlgModels.h"
#include "ui/dialogs/CZibDialog.h"

#include <array>
#include <functional>

class wxCheckBox;
class wxRadioButton;

namespace zib {

// "Choose Sorting Method" (181).
class CSortMethodDlg : public CZibDialog {
public:
    CSortMethodDlg(wxWindow* parent, SortMethodDlgModel& model);

private:
    SortMethodDlgModel& model_;
};

// "Transpose Settings" (182): checked channels are not transposed.
class CTransposeSettingsDlg : public CZibDialog {
public:
    CTransposeSettingsDlg(wxWindow* parent, TransposeSettingsDlgModel& model);

private:
    TransposeSettingsDlgModel& model_;
    std::array<wxCheckBox*, 16> boxes_{};
};

// "Get Keyboard Type" (190): the default keyboard model; QE4K is shown but disabled.
class CKeyboardTypeDlg : public CZibDialog {
public:
    CKeyboardTypeDlg(wxWindow* parent, KeyboardTypeDlgModel& model);

private:
    KeyboardTypeDlgModel& model_;
};

// "Toolbars" (249): shows and hides the bars of the main frame at once.
class CToolbarsDlg : public CZibDialog {
public:
    CToolbarsDlg(wxWindow* parent, int kind, const BarFlags& flags, std::function<void(BarFlag, bool)> apply);

    const ToolbarsDlgModel& Model() const { return model_; }

private:
    ToolbarsDlgModel model_;
};

} // namespace zib
