#include "app/dialogs/CConversionSettingsPage.h"

#include "app/ZibMessageBox.h"
#include "app/core/ChordTableSettingsModel.h"
#include "platform/WxText.h"

#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

namespace zib {

CConversionSettingsPage::CConversionSettingsPage(wxWindow* parent) : wxPanel(parent, wxID_ANY) {}

wxString CConversionSettingsPage::T(std::string_view english)
{
    return UiTextWx(english);
}

wxSizer* CConversionSettingsPage::MakeDeterminationGroup(const wxString& letApplicationLabel, int checkedId)
{
    auto* box = new wxStaticBoxSizer(wxVERTICAL, this, wxString());
    acceptUser_ =
        new wxRadioButton(box->GetStaticBox(), ChordTableSettingsModel::kAcceptUserRadio,
                          T("Accept User-defined settings"), wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    letApplication_ = new wxRadioButton(box->GetStaticBox(), ChordTableSettingsModel::kLetApplicationRadio,
                                        letApplicationLabel);
    (checkedId == ChordTableSettingsModel::kAcceptUserRadio ? acceptUser_ : letApplication_)->SetValue(true);
    box->Add(acceptUser_, 0, wxALL, 4);
    box->Add(letApplication_, 0, wxALL, 4);
    return box;
}

wxSizer* CConversionSettingsPage::MakeElementGroup(ConversionSeries series, int firstId)
{
    auto* box = new wxStaticBoxSizer(wxVERTICAL, this, T("Style element"));
    auto* grid = new wxGridSizer(2, 4, 12);
    for (int e = 0; e < ElementCountOf(series); ++e) {
        auto* radio = new wxRadioButton(box->GetStaticBox(), firstId + e,
                                        wxFromUtf8(std::string(ElementNameOf(series, e))), wxDefaultPosition,
                                        wxDefaultSize, e == 0 ? wxRB_GROUP : 0);
        elements_.push_back(radio);
        grid->Add(radio);
    }
    elements_.front()->SetValue(true);
    box->Add(grid, 0, wxALL, 4);
    return box;
}

int CConversionSettingsPage::CheckedDeterminationRadio() const
{
    return acceptUser_ && acceptUser_->GetValue() ? ChordTableSettingsModel::kAcceptUserRadio
                                                  : ChordTableSettingsModel::kLetApplicationRadio;
}

void CConversionSettingsPage::EnableElements(bool enable)
{
    for (auto* radio : elements_)
        radio->Enable(enable);
}

} // namespace zib
