#include "app/dialogs/CKeyChordSettings.h"

#include "platform/WxText.h"

#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace zib {

CKeyChordSettings::CKeyChordSettings(wxWindow* parent, std::string_view letters, int determination)
    : CKeyChordSettings(parent, ConversionSeries::Wq, letters, determination)
{
}

CKeyChordSettings::CKeyChordSettings(wxWindow* parent, ConversionSeries series, std::string_view letters,
                                     int determination)
    : CConversionSettingsPage(parent), model_(series, letters, determination)
{
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(
        MakeDeterminationGroup(T("Let application determine Key values"), model_.CheckedDeterminationRadio()),
        0, wxEXPAND | wxBOTTOM, 8);
    left->Add(MakeElementGroup(series, model_.ElementRadioId(0)), 0, wxEXPAND);

    wxArrayString choices;
    for (const auto& c : model_.Choices())
        choices.push_back(wxFromUtf8(c));
    auto* grid = new wxFlexGridSizer(2, 4, 8);
    for (int cv = 0; cv < KeyChordSettingsModel::kBoxCount; ++cv) {
        auto* box = new wxComboBox(this, KeyChordSettingsModel::ComboId(cv), wxString(), wxDefaultPosition,
                                   wxDefaultSize, choices, wxCB_READONLY | wxCB_SORT);
        boxes_[size_t(cv)] = box;
        grid->Add(new wxStaticText(this, wxID_ANY, wxFromUtf8(KeyChordSettingsModel::CvLabel(cv))), 0,
                  wxALIGN_CENTER_VERTICAL);
        grid->Add(box);
    }

    auto* content = new wxBoxSizer(wxHORIZONTAL);
    content->Add(left, 0, wxEXPAND | wxALL, 8);
    content->Add(grid, 1, wxEXPAND | wxALL, 8);
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
    for (int id : {KeyChordSettingsModel::kAcceptUserRadio, KeyChordSettingsModel::kLetApplicationRadio})
        Bind(
            wxEVT_RADIOBUTTON,
            [this, id](wxCommandEvent&) {
                model_.ChooseDetermination(id);
                ShowEnabled();
            },
            id);
}

std::vector<std::string> CKeyChordSettings::Chosen() const
{
    std::vector<std::string> chosen;
    for (auto* box : boxes_)
        chosen.push_back(wxToUtf8(box->GetValue()));
    return chosen;
}

void CKeyChordSettings::ShowElement()
{
    // Boxes beyond the element's CVs keep what they showed; they are disabled.
    for (int cv = 0; cv < KeyChordSettingsModel::kBoxCount; ++cv) {
        const std::string selected = model_.Selected(cv);
        if (!selected.empty()) boxes_[size_t(cv)]->SetStringSelection(wxFromUtf8(selected));
    }
}

void CKeyChordSettings::ShowEnabled()
{
    EnableElements(model_.ElementsEnabled());
    for (int cv = 0; cv < KeyChordSettingsModel::kBoxCount; ++cv)
        boxes_[size_t(cv)]->Enable(model_.BoxEnabled(cv));
}

void CKeyChordSettings::OnOK()
{
    model_.Ok(Chosen(), CheckedDeterminationRadio());
}

} // namespace zib
