#pragma once

#include "docs/program/dialogs/CArgGlobalDlg.h"

namespace zib {

// "WQ41 Arrangement Global Data" (200, model 'I'): the channel list, the
// velocity, chord sound, synchro and button switches and the chord
// recognition mode.
class CArgGlobalWq41Dlg : public CArgGlobalDlg {
public:
    CArgGlobalWq41Dlg(wxWindow* parent, ArgGlobalDlgModel& model);
};

} // namespace zib
