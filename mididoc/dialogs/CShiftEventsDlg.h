#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "mididoc/core/PositionDlgModels.h"

namespace zib {

class CPositionEditB;

// "Shift MIDI Events" (273): the position the events move to; the FROM
// position is shown and cannot be changed.
class CShiftEventsDlg : public CZibDialog {
public:
    CShiftEventsDlg(wxWindow* parent, uint32_t fromTick, uint32_t toTick, const MeasureContext* context);

    uint32_t FromTick() const { return from_; }
    uint32_t ToTick() const { return to_; }

private:
    uint32_t from_;
    uint32_t to_;
    CPositionEditB* position_ = nullptr;
};

} // namespace zib
