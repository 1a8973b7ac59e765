#include "app/dialogs/CCopyrightDlg.h"

#include "app/CZibApp.h"
#include "platform/WxText.h"

#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

CCopyrightDlg::CCopyrightDlg(wxWindow* parent) : CZibDialog(parent, "%s - Copyright Dialog")
{
    SetTitle(wxFromUtf8(CopyrightDlgModel::Caption(CZibApp::kAppName, wxGetApp().Language())));
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(new wxStaticText(this, wxID_ANY, T("Author:")), 0, wxBOTTOM, 4);
    name_ = new wxTextCtrl(this, 1916, wxString(), wxDefaultPosition, wxSize(320, -1));
    content->Add(name_, 0, wxEXPAND | wxBOTTOM, 10);
    content->Add(OkCancelRow(), 0, wxEXPAND);
    Finish(content);
    name_->SetFocus();
    Bind(wxEVT_BUTTON, &CCopyrightDlg::OnOK, this, wxID_OK);
}

void CCopyrightDlg::OnOK(wxCommandEvent&)
{
    // The name is stored as typed text of the files the program writes (Windows-1252).
    if (!model_.Ok(wxToCp1252(name_->GetValue()))) {
        name_->SetFocus();
        return;
    }
    EndModal(wxID_OK);
}

} // namespace zib
