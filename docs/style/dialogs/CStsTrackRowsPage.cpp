#include "docs/style/dialogs/CStsTrackRowsPage.h"

#include "ui/ZibMessageBox.h"
#include "docs/style/core/SoundSelectDlgModel.h"
#include "docs/style/core/StsTrackPageModel.h"
#include "docs/style/dialogs/CSoundSelectDlg.h"
#include "platform/WxText.h"

#include <algorithm>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

CStsTrackRowsPage::CStsTrackRowsPage(wxWindow* parent, StsTrackPageModel& model)
    : wxPanel(parent, wxID_ANY), model_(model)
{
    wxArrayString panTexts;
    for (const std::string& p : StsTrackPageModel::PanTexts())
        panTexts.push_back(wxFromUtf8(p));
    auto* grid = new wxFlexGridSizer(6, 4, 6);
    for (const char* title : {"", "Sound", "", "Vol", "", "Panorama"})
        grid->Add(new wxStaticText(this, wxID_ANY, *title ? UiTextWx(title) : wxString()));
    const auto& rows = model.Rows();
    for (int r = 0; r < int(rows.size()); ++r) {
        grid->Add(new wxStaticText(this, wxID_ANY, wxFromUtf8(rows[size_t(r)].name)), 0, wxALIGN_CENTER_VERTICAL);
        auto* sound = new wxTextCtrl(this, kSound + r, wxString(), wxDefaultPosition, wxSize(230, -1), wxTE_READONLY);
        auto* choose = new wxButton(this, kChoose + r, ">>", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
        auto* volume = new wxTextCtrl(this, kVolume + r, wxString(), wxDefaultPosition, wxSize(44, -1));
        auto* spin = new wxSpinButton(this, kVolumeSpin + r, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL);
        spin->SetRange(0, 127);
        auto* pan = new wxComboBox(this, kPan + r, wxString(), wxDefaultPosition, wxSize(80, -1), panTexts);
        pan->SetSelection(model.PanSelection(r));
        for (wxWindow* w : std::initializer_list<wxWindow*>{sound, choose, volume, spin, pan})
            grid->Add(w);
        sounds_.push_back(sound);
        volumes_.push_back(volume);
        spins_.push_back(spin);
        pans_.push_back(pan);
        ShowVolume(r);

        choose->Bind(wxEVT_BUTTON, [this, r](wxCommandEvent&) { ChooseSound(r); });
        volume->Bind(wxEVT_TEXT, [this, r](wxCommandEvent&) {
            if (!initialised_) return;
            if (const auto shown = model_.VolumeTyped(r, wxToUtf8(volumes_[size_t(r)]->GetValue())))
                volumes_[size_t(r)]->ChangeValue(wxFromUtf8(*shown));
        });
        spin->Bind(wxEVT_SPIN_UP, [this, r](wxSpinEvent&) {
            model_.VolumeStep(r, +1);
            ShowVolume(r);
        });
        spin->Bind(wxEVT_SPIN_DOWN, [this, r](wxSpinEvent&) {
            model_.VolumeStep(r, -1);
            ShowVolume(r);
        });
        pan->Bind(wxEVT_COMBOBOX, [this, r](wxCommandEvent& e) {
            if (initialised_) model_.PanSelected(r, e.GetInt());
        });
        pan->Bind(wxEVT_TEXT, [this, r](wxCommandEvent&) {
            // Typed text counts only when it names an entry.
            if (!initialised_) return;
            const int entry = pans_[size_t(r)]->FindString(pans_[size_t(r)]->GetValue(), true);
            if (entry != wxNOT_FOUND) model_.PanSelected(r, entry);
        });
    }
    ShowSounds();
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(grid, 1, wxEXPAND | wxALL, 10);
    SetSizerAndFit(outer);
    initialised_ = true;
}

void CStsTrackRowsPage::ShowSounds()
{
    for (size_t r = 0; r < sounds_.size(); ++r)
        sounds_[r]->ChangeValue(wxFromCp1252(model_.SoundText(int(r))));
}

void CStsTrackRowsPage::ShowVolume(int row)
{
    const uint8_t volume = model_.Rows()[size_t(row)].volume;
    volumes_[size_t(row)]->ChangeValue(wxString::Format("%d", volume));
    spins_[size_t(row)]->SetValue(std::min<int>(volume, 127));
}

void CStsTrackRowsPage::ChooseSound(int row)
{
    SoundSelectDlgModel choice(model_.Model(), model_.Rows()[size_t(row)].sound & 0xFFFF00FFu);
    CSoundSelectDlg dlg(this, choice);
    if (dlg.ShowModal() != wxID_OK || !model_.SoundChosen(row, dlg.Chosen())) return;
    ShowSounds();
}

} // namespace zib
