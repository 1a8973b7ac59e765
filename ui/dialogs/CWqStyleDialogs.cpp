#include "ui/dialogs/CWqStyleDialogs.h"

#include "midi/ValueTexts.h"
#include "platform/WxText.h"

#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/stattext.h>

namespace zib {

CEditChordTableDlg::CEditChordTableDlg(wxWindow* parent, EditChordTableDlgModel& model)
    : CZibDialog(parent, "Edit Chord Table"), model_(model)
{
    wxArrayString choices;
    for (const auto& c : model_.Choices())
        choices.push_back(wxFromUtf8(c));
    auto* grid = new wxFlexGridSizer(4, 4, 12);
    for (int t = 0; t < EditChordTableDlgModel::kChordTypes; ++t) {
        grid->Add(new wxStaticText(this, wxID_ANY, wxFromUtf8(GetQeChordName(t) + ":")), 0,
                  wxALIGN_CENTER_VERTICAL);
        auto* box = new wxChoice(this, EditChordTableDlgModel::kFirstCombo + t, wxDefaultPosition,
                                 wxDefaultSize, choices);
        box->SetSelection(model_.SelectedAtStart(t));
        boxes_[size_t(t)] = box;
        grid->Add(box);
    }
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(grid, 1, wxEXPAND | wxBOTTOM, 10);
    FinishOkCancel(content, [this] {
        std::array<int, EditChordTableDlgModel::kChordTypes> chosen{};
        for (size_t t = 0; t < chosen.size(); ++t)
            chosen[t] = boxes_[t]->GetSelection();
        model_.Ok(chosen);
    });
}

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
