#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "mididoc/core/CopyMidiEventsDlgModel.h"

class wxCheckBox;

namespace zib {

// "Copy MIDI Events" (256): which kinds of events the From-Thru copy takes.
class CCopyMidiEventsDlg : public CZibDialog {
public:
    CCopyMidiEventsDlg(wxWindow* parent, const CopyEventKinds& kinds);
    const CopyEventKinds& Kinds() const { return kinds_; }

private:
    CopyEventKinds kinds_;
};

} // namespace zib
