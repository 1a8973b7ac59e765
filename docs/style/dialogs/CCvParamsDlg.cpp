#include "docs/style/dialogs/CCvParamsDlg.h"

#include "platform/WxText.h"

#include <wx/combobox.h>
#include <wx/stattext.h>

namespace zib {

CCvParamsDlg::CCvParamsDlg(wxWindow* parent, CvParamsDlgModel& model)
    : CZibDialog(parent, "Chord Variation Parameters"), model_(model)
{
    wxArrayString keys, lengths;
    for (const auto& k : CvParamsDlgModel::KeyNames())
        keys.push_back(wxFromUtf8(k));
    for (const auto& l : CvParamsDlgModel::LengthTexts())
        lengths.push_back(wxFromUtf8(l));
    const long style = wxCB_READONLY | wxCB_SORT;
    key_ = new wxComboBox(this, 1603, wxString(), wxDefaultPosition, wxDefaultSize, keys, style);
    length_ = new wxComboBox(this, 1604, wxString(), wxDefaultPosition, wxDefaultSize, lengths, style);
    if (model_.key() >= 0) key_->SetStringSelection(wxFromUtf8(CvParamsDlgModel::KeyName(model_.key())));
    if (model_.length() >= 0) length_->SetStringSelection(wxString::Format("%d", model_.length()));
    auto* grid = new wxFlexGridSizer(2, 6, 12);
    grid->Add(new wxStaticText(this, wxID_ANY, T("Key:")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(key_);
    grid->Add(new wxStaticText(this, wxID_ANY, T("Length:")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(length_);
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(grid, 1, wxEXPAND | wxBOTTOM, 10);
    FinishOkCancel(content, [this] { model_.Ok(wxToUtf8(key_->GetValue()), wxToUtf8(length_->GetValue())); });
}

} // namespace zib
