#include "docs/style/dialogs/CStsArrangerInfoPropPage.h"

#include "docs/style/core/StsArrangerInfoPageModel.h"
#include "platform/WxText.h"
#include "ui/ZibMessageBox.h"

#include <algorithm>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

CStsArrangerInfoPropPage::CStsArrangerInfoPropPage(wxWindow* parent, StsArrangerInfoPageModel& model)
    : wxPanel(parent, wxID_ANY), model_(model)
{
    using F = StsArrangerInfoPageModel::Field;
    auto* grid = new wxFlexGridSizer(2, 6, 10);
    auto combo = [&](const char* label, int id, F field) {
        grid->Add(new wxStaticText(this, wxID_ANY, UiTextWx(label)), 0, wxALIGN_CENTER_VERTICAL);
        wxArrayString texts;
        for (const auto& e : model.Entries(field))
            texts.push_back(wxFromUtf8(e.text));
        auto* choice = new wxChoice(this, id, wxDefaultPosition, wxDefaultSize, texts);
        choice->SetSelection(model.Selection(field));
        choice->Enable(model.Enabled(field));
        choice->Bind(wxEVT_CHOICE, [this, field](wxCommandEvent& e) {
            if (initialised_) model_.Select(field, e.GetInt());
        });
        grid->Add(choice);
    };
    combo("Style Bank", kBank, F::Bank);
    combo("Style Position", kPosition, F::Position);
    grid->Add(new wxStaticText(this, wxID_ANY, UiTextWx("Tempo")), 0, wxALIGN_CENTER_VERTICAL);
    auto* tempo = new wxBoxSizer(wxHORIZONTAL);
    tempo_ = new wxTextCtrl(this, kTempo, wxString(), wxDefaultPosition, wxSize(60, -1));
    spin_ = new wxSpinButton(this, kTempoSpin, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL);
    spin_->SetRange(StsArrangerInfoPageModel::kMinTempo, StsArrangerInfoPageModel::kMaxTempo);
    tempo->Add(tempo_);
    tempo->Add(spin_);
    grid->Add(tempo);
    combo("Initial Var", kVariation, F::Variation);
    combo("Initial Style Element", kElement, F::Element);
    combo("Mode Fill1", kFill1, F::Fill1);
    combo("Mode Fill2", kFill2, F::Fill2);
    ShowTempo();

    tempo_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        if (!initialised_) return;
        if (const auto shown = model_.TempoTyped(wxToUtf8(tempo_->GetValue()))) tempo_->ChangeValue(wxFromUtf8(*shown));
    });
    spin_->Bind(wxEVT_SPIN_UP, [this](wxSpinEvent&) {
        model_.TempoStep(+1);
        ShowTempo();
    });
    spin_->Bind(wxEVT_SPIN_DOWN, [this](wxSpinEvent&) {
        model_.TempoStep(-1);
        ShowTempo();
    });
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(grid, 1, wxEXPAND | wxALL, 10);
    SetSizerAndFit(outer);
    initialised_ = true;
}

void CStsArrangerInfoPropPage::ShowTempo()
{
    tempo_->ChangeValue(wxString::Format("%d", model_.tempo));
    spin_->SetValue(std::clamp<int>(model_.tempo, StsArrangerInfoPageModel::kMinTempo,
                                    StsArrangerInfoPageModel::kMaxTempo));
}

} // namespace zib
