#include "app/dialogs/CPsrToQeStyleDlg.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>

namespace zib {

using Group = PsrToQeStyleDlgModel::Group;

CPsrToQeStyleDlg::CPsrToQeStyleDlg(wxWindow* parent, const std::string& text)
    : CZibDialog(parent, "Yamaha PSR style --> DASK Qe style conversion"), model_(text), text_(text)
{
    auto* groups = new wxBoxSizer(wxHORIZONTAL);
    groups->Add(MakeGroup(Group::Intro, "Intro", 1), 0, wxEXPAND | wxRIGHT, 8);
    groups->Add(MakeGroup(Group::Fill, "Fill_In", 3), 1, wxEXPAND | wxRIGHT, 8);
    groups->Add(MakeGroup(Group::Ending, "Ending", 1), 0, wxEXPAND);
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(groups, 1, wxEXPAND | wxBOTTOM, 10);
    content->Add(ButtonRow({{1805, "Default"}, {wxID_OK, "OK"}, {wxID_CANCEL, "Cancel"}}), 0, wxEXPAND);
    Finish(content);
    ShowModel();
    Bind(wxEVT_BUTTON, &CPsrToQeStyleDlg::OnDefault, this, 1805);
    Bind(wxEVT_BUTTON, &CPsrToQeStyleDlg::OnOK, this, wxID_OK);
}

wxSizer* CPsrToQeStyleDlg::MakeGroup(PsrToQeStyleDlgModel::Group group, std::string_view title, int columns)
{
    auto* box = new wxStaticBoxSizer(wxVERTICAL, this, T(title));
    // A hidden first radio stands for "none checked", which a radio group cannot show otherwise.
    none_[int(group)] = new wxRadioButton(box->GetStaticBox(), wxID_ANY, wxString(), wxDefaultPosition,
                                          wxDefaultSize, wxRB_GROUP);
    none_[int(group)]->Hide();
    auto* grid = new wxFlexGridSizer(columns, 4, 12);
    for (const auto& r : PsrToQeStyleDlgModel::Radios(group)) {
        auto* radio = new wxRadioButton(box->GetStaticBox(), r.id, T(r.label));
        radios_[r.id] = radio;
        grid->Add(radio);
    }
    box->Add(grid, 1, wxEXPAND | wxALL, 4);
    return box;
}

void CPsrToQeStyleDlg::ShowModel()
{
    for (Group g : {Group::Intro, Group::Fill, Group::Ending}) {
        int checked = model_.checked(g);
        if (checked && radios_.count(checked))
            radios_[checked]->SetValue(true);
        else
            none_[int(g)]->SetValue(true);
    }
}

void CPsrToQeStyleDlg::OnDefault(wxCommandEvent&)
{
    model_.Default();
    ShowModel();
}

void CPsrToQeStyleDlg::OnOK(wxCommandEvent&)
{
    for (Group g : {Group::Intro, Group::Fill, Group::Ending}) {
        int checked = 0;
        for (const auto& r : PsrToQeStyleDlgModel::Radios(g))
            if (radios_[r.id]->GetValue()) checked = r.id;
        model_.Check(g, checked);
    }
    // The member changes only when the text differs.
    std::string text = model_.Ok();
    if (text != text_) text_ = text;
    EndModal(wxID_OK);
}

} // namespace zib
