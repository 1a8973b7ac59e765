#include "app/dialogs/CElementTableSettingsPage.h"

#include "platform/WxText.h"

#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

namespace zib {

CElementTableSettingsPage::CElementTableSettingsPage(wxWindow* parent, ElementTableSettingsModel& model)
    : CConversionSettingsPage(parent), model_(model)
{
}

void CElementTableSettingsPage::Build(const wxString& letApplicationLabel, wxSizer* boxGrid)
{
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(MakeDeterminationGroup(letApplicationLabel), 0, wxEXPAND | wxBOTTOM, 8);
    left->Add(MakeElementGroup(), 0, wxEXPAND);

    auto* content = new wxBoxSizer(wxHORIZONTAL);
    content->Add(left, 0, wxEXPAND | wxALL, 8);
    content->Add(boxGrid, 1, wxEXPAND | wxALL, 8);
    SetSizerAndFit(content);

    ShowElement();
    ShowEnabled();

    for (int e = 0; e < model_.ElementCount(); ++e)
        Bind(
            wxEVT_RADIOBUTTON,
            [this, e](wxCommandEvent&) {
                model_.ChooseElement(e, Chosen());
                ShowElement();
                ShowEnabled();
            },
            model_.ElementRadioId(e));
    for (int id : {ElementTableSettingsModel::kAcceptUserRadio, ElementTableSettingsModel::kLetApplicationRadio})
        Bind(
            wxEVT_RADIOBUTTON,
            [this, id](wxCommandEvent&) {
                model_.ChooseDetermination(id);
                ShowEnabled();
            },
            id);
}

wxSizer* CElementTableSettingsPage::MakeDeterminationGroup(const wxString& letApplicationLabel)
{
    auto* box = new wxStaticBoxSizer(wxVERTICAL, this, wxString());
    acceptUser_ =
        new wxRadioButton(box->GetStaticBox(), ElementTableSettingsModel::kAcceptUserRadio,
                          T("Accept User-defined settings"), wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    letApplication_ = new wxRadioButton(box->GetStaticBox(), ElementTableSettingsModel::kLetApplicationRadio,
                                        letApplicationLabel);
    (model_.CheckedDeterminationRadio() == ElementTableSettingsModel::kAcceptUserRadio ? acceptUser_
                                                                                       : letApplication_)
        ->SetValue(true);
    box->Add(acceptUser_, 0, wxALL, 4);
    box->Add(letApplication_, 0, wxALL, 4);
    return box;
}

wxSizer* CElementTableSettingsPage::MakeElementGroup()
{
    const ConversionSeries series = model_.series();
    auto* box = new wxStaticBoxSizer(wxVERTICAL, this, T("Style element"));
    auto* grid = new wxGridSizer(2, 4, 12);
    for (int e = 0; e < ElementCountOf(series); ++e) {
        auto* radio = new wxRadioButton(box->GetStaticBox(), model_.ElementRadioId(e),
                                        wxFromUtf8(std::string(ElementNameOf(series, e))), wxDefaultPosition,
                                        wxDefaultSize, e == 0 ? wxRB_GROUP : 0);
        elements_.push_back(radio);
        grid->Add(radio);
    }
    elements_.front()->SetValue(true);
    box->Add(grid, 0, wxALL, 4);
    return box;
}

int CElementTableSettingsPage::CheckedDeterminationRadio() const
{
    return acceptUser_ && acceptUser_->GetValue() ? ElementTableSettingsModel::kAcceptUserRadio
                                                  : ElementTableSettingsModel::kLetApplicationRadio;
}

void CElementTableSettingsPage::EnableElements(bool enable)
{
    for (auto* radio : elements_)
        radio->Enable(enable);
}

std::vector<std::string> CElementTableSettingsPage::Chosen() const
{
    std::vector<std::string> chosen;
    for (auto* box : boxes_)
        chosen.push_back(wxToUtf8(box->GetValue()));
    return chosen;
}

void CElementTableSettingsPage::OnOK()
{
    model_.Ok(Chosen(), CheckedDeterminationRadio());
}

} // namespace zib
