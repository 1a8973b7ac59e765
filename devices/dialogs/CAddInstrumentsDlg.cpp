#include "devices/dialogs/CAddInstrumentsDlg.h"

#include "platform/WxText.h"

#include <wx/listbox.h>
#include <wx/stattext.h>

namespace zib {

CAddInstrumentsDlg::CAddInstrumentsDlg(wxWindow* parent, std::vector<std::string>& wantedNames)
    : CZibDialog(parent, "Add Instruments"), model_(wantedNames)
{
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(new wxStaticText(this, wxID_ANY, T("Select Instruments which want to add")), 0, wxBOTTOM, 6);
    list_ = new wxListBox(this, kIdInstrumentList, wxDefaultPosition, wxSize(320, 240), 0, nullptr, wxLB_MULTIPLE);
    for (const auto& item : model_.Items())
        list_->Append(wxFromCp1252(item.name));
    content->Add(list_, 1, wxEXPAND);
    content->Add(OkCancelRow(), 0, wxEXPAND | wxTOP, 10);
    Bind(wxEVT_BUTTON, &CAddInstrumentsDlg::OnOk, this, wxID_OK);
    Finish(content);
}

void CAddInstrumentsDlg::OnOk(wxCommandEvent&)
{
    std::vector<bool> selected(list_->GetCount());
    for (unsigned i = 0; i < list_->GetCount(); ++i)
        selected[i] = list_->IsSelected(int(i));
    model_.Apply(selected);
    EndModal(wxID_OK);
}

} // namespace zib
