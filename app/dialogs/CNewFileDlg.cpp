#include "app/dialogs/CNewFileDlg.h"

#include "ui/CZibDocTemplate.h"
#include "platform/WxText.h"

#include <wx/listbox.h>
#include <wx/stattext.h>

namespace zib {

CNewFileDlg::CNewFileDlg(wxWindow* parent, std::vector<CZibDocTemplate*> templates)
    : CZibDialog(parent, "Select New Document Type"), templates_(std::move(templates))
{
    std::vector<NewFileDlgModel::Template> described;
    for (CZibDocTemplate* t : templates_)
        described.push_back(
            {t->GetDocString(DocStringIndex::FileNewName), t->GetDocString(DocStringIndex::FilterExt)});
    start_ = model_.Begin(described);

    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(new wxStaticText(this, wxID_ANY, T("Document type:")), 0, wxBOTTOM, 4);
    kinds_ = new wxListBox(this, 1914, wxDefaultPosition, wxSize(300, 140));
    for (const auto& name : model_.entryNames())
        kinds_->Append(T(name));
    content->Add(kinds_, 1, wxEXPAND | wxBOTTOM, 8);
    content->Add(new wxStaticText(this, wxID_ANY, T("Template:")), 0, wxBOTTOM, 4);
    subTypes_ = new wxListBox(this, 1915, wxDefaultPosition, wxSize(300, 80));
    content->Add(subTypes_, 0, wxEXPAND | wxBOTTOM, 10);
    content->Add(OkCancelRow(), 0, wxEXPAND);
    Finish(content);

    if (model_.chosenEntry() >= 0) kinds_->SetSelection(model_.chosenEntry());
    FillSubTypes();
    kinds_->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& e) {
        model_.ChooseEntry(e.GetSelection());
        FillSubTypes();
    });
    subTypes_->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& e) { model_.ChooseSubType(e.GetSelection()); });
    Bind(wxEVT_BUTTON, &CNewFileDlg::OnOK, this, wxID_OK);
}

void CNewFileDlg::FillSubTypes()
{
    subTypes_->Clear();
    for (const auto& name : model_.subTypeNames())
        subTypes_->Append(T(name));
    subTypes_->Enable(model_.subTypesEnabled());
    if (model_.subType() >= 0) subTypes_->SetSelection(model_.subType());
}

int CNewFileDlg::ShowModal()
{
    if (start_ == NewFileDlgModel::Start::EndMinusOne) return -1;
    if (start_ == NewFileDlgModel::Start::EndOk) return wxID_OK;
    return CZibDialog::ShowModal();
}

CZibDocTemplate* CNewFileDlg::Template() const
{
    int index = model_.templateIndex();
    return index >= 0 ? templates_[size_t(index)] : nullptr;
}

void CNewFileDlg::OnOK(wxCommandEvent&)
{
    model_.ChooseEntry(kinds_->GetSelection());
    if (model_.chosenEntry() >= 0) model_.ChooseSubType(subTypes_->GetSelection());
    EndModal(wxID_OK);
}

} // namespace zib
