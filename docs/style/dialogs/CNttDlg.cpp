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
    buttons_ = std::make_unique<RadioGroupWithNone>(group->GetStaticBox());
    for (int b = 0; b < NttDlgModel::kButtons; ++b)
        group->Add(buttons_->Add(group->GetStaticBox(), kFirstButton + b, T(NttDlgModel::ButtonText(b))), 0, wxALL, 4);
    buttons_->Check(model.ButtonAtStart());
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(group, 1, wxEXPAND | wxBOTTOM, 10);
    FinishOkCancel(content, [this] { model_.Ok(buttons_->Checked()); });
}

CNttDlg::~CNttDlg() = default;

} // namespace zib
