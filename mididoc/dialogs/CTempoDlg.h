#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "mididoc/core/PositionDlgModels.h"
#include "mididoc/core/TempoDlgModel.h"

class wxTextCtrl;

namespace zib {

class CPositionEditB;

// "Tempo (Beats Per Minute)" (251): a tempo of 4-250 BPM and its position.
class CTempoDlg : public CZibDialog {
public:
    CTempoDlg(wxWindow* parent, int bpm, uint32_t tick, const MeasureContext* context);

    int Tempo() const { return model_.Tempo(); }
    uint32_t Tick() const { return model_.Tick(); }

private:
    TempoDlgModel model_;
    wxTextCtrl* tempo_ = nullptr;
    CPositionEditB* position_ = nullptr;
};

} // namespace zib
