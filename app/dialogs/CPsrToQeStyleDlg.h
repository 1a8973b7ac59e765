#pragma once

#include "app/core/PsrToQeStyleDlgModel.h"
#include "ui/dialogs/CZibDialog.h"

#include <map>
#include <string>

class wxRadioButton;

namespace zib {

// "Yamaha PSR style --> DASK Qe style conversion" (238): the PSR sections
// that become the Qe intros, fills and endings.
class CPsrToQeStyleDlg : public CZibDialog {
public:
    CPsrToQeStyleDlg(wxWindow* parent, const std::string& text);

    // After OK: the conversion text.
    const std::string& Text() const { return text_; }

private:
    wxSizer* MakeGroup(PsrToQeStyleDlgModel::Group group, std::string_view title, int columns);
    void ShowModel();
    void OnDefault(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);

    PsrToQeStyleDlgModel model_;
    std::string text_;
    std::map<int, wxRadioButton*> radios_;
    wxRadioButton* none_[3] = {nullptr, nullptr, nullptr};
};

} // namespace zib
