#include "docs/style/dialogs/CNttDlg.h"

#include "docs/style/StyleGuiSupport.h"
#include "docs/style/core/NttDlgModel.h"

#include <wx/radiobut.h>
#include <wx/statbox.h>

namespace zib {

CNttDlg::CNttDlg(wxWindow* parent, NttDlgModel& model) : CZibDialog(parent, "QE NTT"), model_(model)
{
    SetTitle(StyFormat("'%s' NTT", {model.ElementName()}));
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, T("Select NTT"));
    for (int b = 0; b < NttDlgModel::kButtons; ++b) {
        buttons_[size_t(b)] = MakeExclusiveRadio(group->GetStaticBox(), kFirstButton + b, T(NttDlgModel::ButtonText(b)),
                                                 buttons_);
        group->Add(buttons_[size_t(b)], 0, wxALL, 4);
    }
    if (model.ButtonAtStart() >= 0) buttons_[size_t(model.ButtonAtStart())]->SetValue(true);
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(group, 1, wxEXPAND | wxBOTTOM, 10);
    content->Add(OkCancelRow(), 0, wxEXPAND);
    Finish(content);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            int checked = -1;
            for (size_t b = 0; b < buttons_.size(); ++b)
                if (buttons_[b]->GetValue()) checked = int(b);
            model_.Ok(checked);
            EndModal(wxID_OK);
        },
        wxID_OK);
}

} // namespace zib
