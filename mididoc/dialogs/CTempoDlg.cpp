#include "mididoc/dialogs/CTempoDlg.h"

#include "mididoc/CPositionEditB.h"
#include "platform/WxText.h"

#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

CTempoDlg::CTempoDlg(wxWindow* parent, int bpm, uint32_t tick, const MeasureContext* context)
    : CZibDialog(parent, "Tempo (Beats Per Minute)"), model_(bpm, tick)
{
    auto* grid = new wxFlexGridSizer(2, 6, 10);
    grid->Add(new wxStaticText(this, wxID_ANY, T("Tempo")), 0, wxALIGN_CENTER_VERTICAL);
    auto* tempoRow = new wxBoxSizer(wxHORIZONTAL);
    tempo_ = new wxTextCtrl(this, 1082, wxFromUtf8(model_.TempoText()), wxDefaultPosition, wxSize(60, -1));
    tempo_->SetMaxLength(3);
    auto* spin = new wxSpinButton(this, 1419, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL | wxSP_ARROW_KEYS);
    spin->SetRange(TempoDlgModel::kMin, TempoDlgModel::kMax);
    spin->SetValue(model_.Tempo());
    tempoRow->Add(tempo_, 1);
    tempoRow->Add(spin);
    grid->Add(tempoRow);
    grid->Add(new wxStaticText(this, 1048, T("M:B:T")), 0, wxALIGN_CENTER_VERTICAL);
    position_ = new CPositionEditB(this, 1812, PositionRecord{tick, 0, 0, 0}, context);
    grid->Add(position_->WithSpin());
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(grid, 0, wxBOTTOM, 10);
    content->Add(OkCancelHelpRow(), 0, wxEXPAND);
    Finish(content);
    tempo_->SetFocus();
    tempo_->SelectAll();
    spin->Bind(wxEVT_SPIN, [this](wxSpinEvent& e) { tempo_->ChangeValue(wxString::Format("%d", e.GetPosition())); });
    tempo_->Bind(wxEVT_TEXT, [this, spin](wxCommandEvent&) {
        if (auto back = model_.TypeTempo(wxToUtf8(tempo_->GetValue()))) {
            tempo_->ChangeValue(wxFromUtf8(*back));
            tempo_->SetInsertionPointEnd();
        }
        spin->SetValue(model_.Tempo());
    });
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            model_.Ok(wxToUtf8(tempo_->GetValue()), position_->GetPosition().tick);
            EndModal(wxID_OK);
        },
        wxID_OK);
}

} // namespace zib
