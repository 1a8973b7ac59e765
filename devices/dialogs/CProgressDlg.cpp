#include "devices/dialogs/CProgressDlg.h"

#include <wx/gauge.h>

namespace zib {

CProgressDlg::CProgressDlg(wxWindow* parent) : CZibDialog(parent, "ProgressBarWnd", wxCAPTION)
{
    auto* content = new wxBoxSizer(wxVERTICAL);
    gauge_ = new wxGauge(this, 1953, 100, wxDefaultPosition, wxSize(300, -1));
    content->Add(gauge_, 0, wxEXPAND);
    Finish(content);
}

CProgressDlg* CProgressDlg::Create(wxWindow* parent)
{
    auto* dlg = new CProgressDlg(parent);
    dlg->Show();
    return dlg;
}

void CProgressDlg::StepIt()
{
    gauge_->SetValue(std::min(gauge_->GetRange(), gauge_->GetValue() + 10));
}

int CProgressDlg::Position() const
{
    return gauge_->GetValue();
}

} // namespace zib
