#pragma once

#include "ui/dialogs/CZibDialog.h"

class wxGauge;

namespace zib {

// "ProgressBarWnd" (270): a modeless progress bar; ten steps fill it.
class CProgressDlg : public CZibDialog {
public:
    // Makes and shows the window over `parent`; the object deletes itself when
    // its window is destroyed (Destroy()).
    static CProgressDlg* Create(wxWindow* parent);

    // Advances the bar by one step (10 of 100).
    void StepIt();
    int Position() const;

private:
    explicit CProgressDlg(wxWindow* parent);

    wxGauge* gauge_ = nullptr;
};

} // namespace zib
