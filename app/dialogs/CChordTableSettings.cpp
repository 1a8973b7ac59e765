#include "app/dialogs/CChordTableSettings.h"

#include "platform/WxText.h"

#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace zib {

CChordTableSettings::CChordTableSettings(wxWindow* parent, std::string_view letters, int determination)
    : CChordTableSettings(parent, ConversionSeries::Wq, letters, determination)
{
}

CChordTableSettings::CChordTableSettings(wxWindow* parent, ConversionSeries series, std::string_view letters,
                                         int determination)
    : CElementTableSettingsPage(parent, model_), model_(series, letters, determination)
{
    // Chord types in two columns of label and box.
    auto* grid = new wxFlexGridSizer(4, 4, 8);
    const int rows = (model_.ChordTypeCount() + 1) / 2;
    for (int t = 0; t < model_.ChordTypeCount(); ++t) {
        auto* box = new wxComboBox(this, model_.ComboId(t), wxString(), wxDefaultPosition, wxDefaultSize, 0,
                                   nullptr, wxCB_READONLY | wxCB_SORT);
        boxes_.push_back(box);
    }
    for (int r = 0; r < rows; ++r)
        for (int t : {r, r + rows}) {
            if (t >= model_.ChordTypeCount()) continue;
            grid->Add(new wxStaticText(this, wxID_ANY, wxFromUtf8(ChordTableSettingsModel::ChordLabel(t))), 0,
                      wxALIGN_CENTER_VERTICAL);
            grid->Add(boxes_[size_t(t)]);
        }
    Build(T("Let application determine chord table values"), grid);
}

void CChordTableSettings::ShowElement()
{
    wxArrayString choices;
    for (const auto& c : model_.Choices())
        choices.push_back(wxFromUtf8(c));
    for (int t = 0; t < model_.ChordTypeCount(); ++t) {
        wxComboBox* box = boxes_[size_t(t)];
        box->Set(choices);
        // Selected by text: the list is sorted.
        const std::string selected = model_.Selected(t);
        if (selected.empty())
            box->SetSelection(wxNOT_FOUND);
        else
            box->SetStringSelection(wxFromUtf8(selected));
    }
}

void CChordTableSettings::ShowEnabled()
{
    const bool enable = model_.ElementsEnabled();
    EnableElements(enable);
    for (auto* box : boxes_)
        box->Enable(enable);
}

} // namespace zib
