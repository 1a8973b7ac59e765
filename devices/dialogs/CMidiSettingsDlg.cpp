#include "devices/dialogs/CMidiSettingsDlg.h"

#include "platform/WxText.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace zib {

namespace {

using SettingsModel = MidiSettingsDlgModel;

wxChoice* deviceChoice(wxWindow* parent, int id, const std::vector<std::string>& names, int selection)
{
    auto* choice = new wxChoice(parent, id, wxDefaultPosition, wxSize(260, -1));
    for (const auto& name : names)
        choice->Append(wxFromCp1252(name));
    choice->SetSelection(selection);
    return choice;
}

} // namespace

CMidiSettingsDlg::CMidiSettingsDlg(wxWindow* parent, const PlaybackValues& values,
                                   const MidiDeviceNames& devices)
    : CZibDialog(parent, "MIDI settings"), model_(values, devices), values_(values)
{
    auto* ports = new wxStaticBoxSizer(wxVERTICAL, this, T("MIDI ports"));
    auto* grid = new wxFlexGridSizer(2, 6, 8);
    in_ = deviceChoice(ports->GetStaticBox(), SettingsModel::kIdInDevice, model_.InDevices(), model_.InSelection());
    out_ = deviceChoice(ports->GetStaticBox(), SettingsModel::kIdOutDevice, model_.OutDevices(), model_.OutSelection());
    grid->Add(new wxStaticText(ports->GetStaticBox(), wxID_ANY, T("Midi  IN port:")), 0,
              wxALIGN_CENTER_VERTICAL);
    grid->Add(in_, 1, wxEXPAND);
    grid->Add(new wxStaticText(ports->GetStaticBox(), wxID_ANY, T("Midi  OUT port:")), 0,
              wxALIGN_CENTER_VERTICAL);
    grid->Add(out_, 1, wxEXPAND);
    grid->AddGrowableCol(1);
    ports->Add(grid, 1, wxEXPAND | wxALL, 6);

    auto* method = new wxStaticBoxSizer(wxVERTICAL, this, T("Playback method"));
    external_ = new wxRadioButton(method->GetStaticBox(), SettingsModel::kIdExternalPlayer, T("External player"),
                                  wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    builtIn_ = new wxRadioButton(method->GetStaticBox(), SettingsModel::kIdBuiltInPlayer, T("Built-in player"));
    (model_.ExternalPlayer() ? external_ : builtIn_)->SetValue(true);
    method->Add(external_, 0, wxALL, 4);
    method->Add(builtIn_, 0, wxALL, 4);

    percussion_ = new wxCheckBox(this, SettingsModel::kIdPercussion, T("Playback PERC track on (DRUM) channel 10"));
    percussion_->SetValue(model_.Percussion());

    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(ports, 0, wxEXPAND | wxBOTTOM, 8);
    content->Add(method, 0, wxEXPAND | wxBOTTOM, 8);
    content->Add(percussion_, 0, wxBOTTOM, 10);
    content->Add(OkCancelRow(), 0, wxEXPAND);
    Bind(wxEVT_BUTTON, &CMidiSettingsDlg::OnOk, this, wxID_OK);
    Finish(content);
}

void CMidiSettingsDlg::OnOk(wxCommandEvent&)
{
    model_.SelectIn(in_->GetSelection());
    model_.SelectOut(out_->GetSelection());
    model_.SetExternalPlayer(external_->GetValue());
    model_.SetPercussion(percussion_->GetValue());
    values_ = model_.Ok();
    EndModal(wxID_OK);
}

} // namespace zib
