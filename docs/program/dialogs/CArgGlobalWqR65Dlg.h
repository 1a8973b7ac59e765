#pragma once

#include "docs/program/dialogs/CArgGlobalDlg.h"

namespace zib {

// "WQR65 Arrangement Global Data" (202, model 'M'): the channel list, auto
// chord scan, the lower memory's type and target and the chord
// recognition's type and trigger.
class CArgGlobalWqR65Dlg : public CArgGlobalDlg {
public:
    CArgGlobalWqR65Dlg(wxWindow* parent, ArgGlobalDlgModel& model);
};

} // namespace zib
