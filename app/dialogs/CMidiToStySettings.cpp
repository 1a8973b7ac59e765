#include "app/dialogs/CMidiToStySettings.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>

namespace zib {

CMidiToStySettings::CMidiToStySettings(wxWindow* parent, uint32_t flags) : CConversionSettingsPage(parent)
{
    model_.flags = flags;
    auto* content = new wxBoxSizer(wxVERTICAL);
    for (size_t i = 0; i < boxes_.size(); ++i) {
        const auto& b = MidiToStySettingsModel::kBoxes[i];
        boxes_[i] = new wxCheckBox(this, b.id, T(b.label));
        boxes_[i]->SetValue(model_.CheckedAtStart(i));
        content->Add(boxes_[i], 0, wxALL, 6);
    }
    // Part of the page's layout, but never shown, read or set.
    auto* hidden = new wxCheckBox(this, MidiToStySettingsModel::kHiddenBox.id,
                                  T(MidiToStySettingsModel::kHiddenBox.label));
    hidden->Hide();
    hidden->Disable();
    content->Add(hidden, 0, wxALL, 6);
    SetSizerAndFit(content);
}

void CMidiToStySettings::OnOK()
{
    std::array<bool, 4> checked{};
    for (size_t i = 0; i < boxes_.size(); ++i)
        checked[i] = boxes_[i]->GetValue();
    model_.Ok(checked);
}

} // namespace zib
