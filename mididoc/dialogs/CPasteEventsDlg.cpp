#include "mididoc/dialogs/CPasteEventsDlg.h"

#include "mididoc/CPositionEditB.h"
#include "platform/WxText.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

CPasteEventsDlg::CPasteEventsDlg(wxWindow* parent, const PasteOptions& given, const MeasureContext* context)
    : CZibDialog(parent, "Paste MIDI events"), model_(given), result_(given)
{
    auto* grid = new wxFlexGridSizer(2, 6, 10);
    grid->Add(new wxStaticText(this, 1048, T("Starting at time:")), 0, wxALIGN_CENTER_VERTICAL);
    position_ = new CPositionEditB(this, 1812, PositionRecord{given.startTick, 0, 0, 0}, context, wxSize(100, -1));
    grid->Add(position_->WithSpin());
    grid->Add(new wxStaticText(this, wxID_ANY, T("Starting at track:")), 0, wxALIGN_CENTER_VERTICAL);
    auto* trackRow = new wxBoxSizer(wxHORIZONTAL);
    track_ = new wxTextCtrl(this, 1900, wxString::Format("%d", given.startTrack), wxDefaultPosition, wxSize(50, -1));
    auto* spin = new wxSpinButton(this, 1420, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL | wxSP_ARROW_KEYS);
    spin->SetRange(PasteEventsDlgModel::kMinTrack, PasteEventsDlgModel::kMaxTrack);
    spin->SetValue(std::clamp(given.startTrack, PasteEventsDlgModel::kMinTrack, PasteEventsDlgModel::kMaxTrack));
    trackRow->Add(track_);
    trackRow->Add(spin);
    grid->Add(trackRow);
    oneTrack_ = new wxCheckBox(this, 1901, T("Paste to one track"));
    oneTrack_->SetValue(given.oneTrack);
    track_->Enable(model_.TrackControlsEnabled());
    spin->Enable(model_.TrackControlsEnabled());
    oneTrack_->Enable(model_.OneTrackEditable());

    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(grid, 0, wxBOTTOM, 6);
    left->Add(oneTrack_, 0, wxBOTTOM, 10);
    details_ = new wxButton(this, 1931, T(model_.DetailsButtonText()));
    left->Add(details_, 0, wxBOTTOM, 10);
    left->Add(OkCancelHelpRow(), 0, wxEXPAND);

    panel_ = new wxStaticBoxSizer(wxVERTICAL, this, T("Events to Paste:"));
    const std::pair<int, std::string_view> boxes[] = {
        {1932, "Track events"}, {1935, "Markers"}, {1933, "Tempo changes"}, {1934, "Tact changes"}};
    for (size_t i = 0; i < kinds_.size(); ++i) {
        kinds_[i] = new wxCheckBox(panel_->GetStaticBox(), boxes[i].first, T(boxes[i].second));
        kinds_[i]->SetValue(given.kinds[i]);
        kinds_[i]->Enable(model_.KindEnabled(PasteOptions::Kind(i)));
        panel_->Add(kinds_[i], 0, wxALL, 3);
    }
    auto* content = new wxBoxSizer(wxHORIZONTAL);
    content->Add(left, 0, wxRIGHT, 10);
    content->Add(panel_, 0, wxEXPAND);
    Finish(content);
    ShowDetails();
    FindWindow(wxID_OK)->SetFocus();

    spin->Bind(wxEVT_SPIN, [this](wxSpinEvent& e) { track_->ChangeValue(wxString::Format("%d", e.GetPosition())); });
    track_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        if (auto back = model_.TypeStartTrack(wxToUtf8(track_->GetValue()))) {
            track_->ChangeValue(wxFromUtf8(*back));
            track_->SetInsertionPointEnd();
        }
    });
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            model_.ToggleDetails();
            ShowDetails();
        },
        1931);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            std::array<bool, 4> kinds{};
            for (size_t i = 0; i < kinds.size(); ++i) kinds[i] = kinds_[i]->GetValue();
            result_ = model_.Ok(position_->GetPosition().tick, wxToUtf8(track_->GetValue()), oneTrack_->GetValue(),
                                kinds);
            EndModal(wxID_OK);
        },
        wxID_OK);
}

void CPasteEventsDlg::ShowDetails()
{
    const bool shown = model_.DetailsShown();
    GetSizer()->Show(panel_, shown, true);
    details_->SetLabel(T(model_.DetailsButtonText()));
    Layout();
    Fit();
}

} // namespace zib
