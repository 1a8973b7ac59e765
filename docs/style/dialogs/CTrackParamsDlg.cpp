#include "docs/style/dialogs/CTrackParamsDlg.h"

#include "docs/style/StyleGuiSupport.h"
#include "docs/style/core/QeSoundList.h"
#include "docs/style/core/SoundSelectDlgModel.h"
#include "docs/style/core/TrackParamsDlgModel.h"
#include "docs/style/dialogs/CVirtualComboCtrl.h"
#include "docs/style/dialogs/CSoundSelectDlg.h"
#include "midi/ValueTexts.h"
#include "platform/WxText.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

CTrackParamsDlg::CTrackParamsDlg(wxWindow* parent, TrackParamsDlgModel& model)
    : CZibDialog(parent, "Track parameters"), model_(model)
{
    SetTitle(StyFormat("'%s' Tracks Settings", {model.ElementName()}));
    for (const std::string& n : TrackParamsDlgModel::NoteTexts())
        notes_.push_back(wxFromUtf8(n));
    const QeSoundList& sounds = model.Sounds();
    auto soundName = [&sounds](size_t i) { return wxFromCp1252(sounds.At(i).name); };
    auto noteName = [this](size_t i) { return notes_[i]; };

    auto* head = new wxBoxSizer(wxHORIZONTAL);
    head->Add(new wxStaticText(this, wxID_ANY, T("Style Name:")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    head->Add(new wxStaticText(this, wxID_ANY, wxFromCp1252(model.StyleName())), 1, wxALIGN_CENTER_VERTICAL);
    head->Add(new wxStaticText(this, wxID_ANY, T("Tact:")), 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 6);
    head->Add(new wxTextCtrl(this, kTact, wxFromUtf8(model.TactText()), wxDefaultPosition, wxSize(50, -1),
                             wxTE_READONLY));

    auto* grid = new wxFlexGridSizer(10, 4, 6);
    for (const char* title : {"", "Sound", "", "MSB", "LSB", "Prog\nChange", "Expr", "", "Key Low", "Key Hi"})
        grid->Add(new wxStaticText(this, wxID_ANY, *title ? T(title) : wxString()), 0, wxALIGN_BOTTOM);
    const wxSize small(44, -1);
    const TrackParamsDlgModel::Controls start = model.ControlsAtStart();
    for (int t = 0; t < TrackParamsDlgModel::kTracks; ++t) {
        const size_t i = size_t(t);
        const TrackParamsDlgModel::Row& row = model.RowOf(t);
        grid->Add(new wxStaticText(this, wxID_ANY, wxFromUtf8(GetQeTrackName(t))), 0, wxALIGN_CENTER_VERTICAL);
        sounds_[i] = new CVirtualComboCtrl(this, kSound + t, sounds.Size(), soundName);
        sounds_[i]->SelectEntry(start.sound[i]);
        grid->Add(sounds_[i]);
        auto* choose = new wxButton(this, kChoose + t, ">>", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
        grid->Add(choose);
        for (int b = 0; b < 3; ++b) {
            bytes_[i][size_t(b)] = new wxTextCtrl(this, kMsb + 10 * b + t, wxString(), wxDefaultPosition, small,
                                                  wxTE_READONLY);
            grid->Add(bytes_[i][size_t(b)]);
        }
        expression_[i] =
            new wxTextCtrl(this, kExpr + t, wxFromUtf8(start.expression[i]), wxDefaultPosition, small);
        grid->Add(expression_[i]);
        spins_[i] = new wxSpinButton(this, kExprSpin + t, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL);
        spins_[i]->SetRange(0, 127);
        spins_[i]->SetValue(row.expression);
        grid->Add(spins_[i]);
        low_[i] = new CVirtualComboCtrl(this, kKeyLow + t, notes_.size(), noteName, 70);
        low_[i]->SelectEntry(start.low[i]);
        grid->Add(low_[i]);
        high_[i] = new CVirtualComboCtrl(this, kKeyHigh + t, notes_.size(), noteName, 70);
        high_[i]->SelectEntry(start.high[i]);
        grid->Add(high_[i]);
        ShowSoundBytes(t);

        sounds_[i]->Bind(wxEVT_COMBOBOX, [this, t](wxCommandEvent& e) {
            model_.SoundChanged(t, e.GetInt());
            ShowSoundBytes(t);
        });
        choose->Bind(wxEVT_BUTTON, [this, t](wxCommandEvent&) { ChooseSound(t); });
        spins_[i]->Bind(wxEVT_SPIN, [this, i](wxSpinEvent& e) {
            expression_[i]->ChangeValue(wxString::Format("%d", e.GetPosition()));
        });
    }
    applyToAll_ = new wxCheckBox(this, kApplyToAll, T("Apply Sound Info To All Style Elements"));

    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(head, 0, wxEXPAND | wxBOTTOM, 10);
    content->Add(grid, 1, wxEXPAND | wxBOTTOM, 10);
    content->Add(applyToAll_, 0, wxBOTTOM, 10);
    FinishOkCancel(content, [this] {
        TrackParamsDlgModel::Controls c;
        for (size_t t = 0; t < 8; ++t) {
            c.sound[t] = sounds_[t]->Entry();
            c.expression[t] = wxToUtf8(expression_[t]->GetValue());
            c.low[t] = low_[t]->Entry();
            c.high[t] = high_[t]->Entry();
        }
        c.applyToAll = applyToAll_->GetValue();
        model_.Ok(c);
    });
}

void CTrackParamsDlg::ShowSoundBytes(int track)
{
    const std::array<std::string, 3> bytes = model_.SoundBytes(track);
    for (size_t b = 0; b < 3; ++b)
        bytes_[size_t(track)][b]->ChangeValue(wxFromUtf8(bytes[b]));
}

void CTrackParamsDlg::ChooseSound(int track)
{
    SoundSelectDlgModel choice(model_.SoundModel(), model_.RowOf(track).newProgram);
    CSoundSelectDlg dlg(this, choice);
    if (dlg.ShowModal() != wxID_OK || !model_.SoundChosen(track, dlg.Chosen())) return;
    sounds_[size_t(track)]->SelectEntry(model_.SoundIndex(track));
    ShowSoundBytes(track);
}

} // namespace zib
