#include "app/dialogs/CKeyChordSettings.h"

#include "platform/WxText.h"

#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace zib {

CKeyChordSettings::CKeyChordSettings(wxWindow* parent, std::string_view letters, int determination)
    : CKeyChordSettings(parent, ConversionSeries::Wq, letters, determination)
{
}

CKeyChordSettings::CKeyChordSettings(wxWindow* parent, ConversionSeries series, std::string_view letters,
                                     int determination)
    : CElementTableSettingsPage(parent, model_), model_(series, letters, determination)
{
    wxArrayString choices;
    for (const auto& c : model_.Choices())
        choices.push_back(wxFromUtf8(c));
    auto* grid = new wxFlexGridSizer(2, 4, 8);
    for (int cv = 0; cv < KeyChordSettingsModel::kBoxCount; ++cv) {
        auto* box = new wxComboBox(this, KeyChordSettingsModel::ComboId(cv), wxString(), wxDefaultPosition,
                                   wxDefaultSize, choices, wxCB_READONLY | wxCB_SORT);
        boxes_.push_back(box);
        grid->Add(new wxStaticText(this, wxID_ANY, wxFromUtf8(KeyChordSettingsModel::CvLabel(cv))), 0,
                  wxALIGN_CENTER_VERTICAL);
        grid->Add(box);
    }
    Build(T("Let application determine Key values"), grid);
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

} // namespace zib
