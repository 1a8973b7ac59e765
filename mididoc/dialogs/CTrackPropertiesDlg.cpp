#include "mididoc/dialogs/CTrackPropertiesDlg.h"

#include "ui/ZibMessageBox.h"
#include "ui/core/FormatText.h"
#include "platform/Cp1252.h"
#include "platform/WxText.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

namespace {

void fill(wxControlWithItems* list, const std::vector<TrackPropertiesDlgModel::Entry>& entries, int selection)
{
    list->Clear();
    for (const auto& e : entries) list->Append(wxFromUtf8(cp1252ToUtf8(e.text)));
    if (selection >= 0) list->SetSelection(selection);
}

// A 0-127 edit with its up-down; typing past 127 puts the previous value back.
wxSizer* levelField(wxWindow* parent, wxTextCtrl*& edit, int editId, int spinId, int value,
                    std::function<std::optional<std::string>(std::string_view)> typed)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    edit = new wxTextCtrl(parent, editId, wxString::Format("%d", value), wxDefaultPosition, wxSize(50, -1));
    auto* spin = new wxSpinButton(parent, spinId, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL | wxSP_ARROW_KEYS);
    spin->SetRange(0, 127);
    spin->SetValue(std::min(value, 127));
    row->Add(edit);
    row->Add(spin);
    wxTextCtrl* target = edit;
    spin->Bind(wxEVT_SPIN, [target](wxSpinEvent& e) { target->SetValue(wxString::Format("%d", e.GetPosition())); });
    edit->Bind(wxEVT_TEXT, [target, typed](wxCommandEvent&) {
        if (auto back = typed(wxToUtf8(target->GetValue()))) {
            target->ChangeValue(wxFromUtf8(*back));
            target->SetInsertionPointEnd();
        }
    });
    return row;
}

} // namespace

CTrackPropertiesDlg::CTrackPropertiesDlg(wxWindow* parent, const TrackProperties& values,
                                         TrackPropertiesSources sources, RunPortInstruments runPortInstruments)
    : CZibDialog(parent, "Track Properties"), model_(values, std::move(sources)), result_(values),
      runPortInstruments_(std::move(runPortInstruments))
{
    SetTitle(wxFromUtf8(FormatText(wxToUtf8(T("Track Properties - Track No: %d")), {std::to_string(values.trackNumber)})));
    auto* grid = new wxFlexGridSizer(2, 6, 10);
    grid->AddGrowableCol(1);
    auto label = [&](std::string_view text) {
        grid->Add(new wxStaticText(this, wxID_ANY, T(text)), 0, wxALIGN_CENTER_VERTICAL);
    };
    label("Track Name:");
    name_ = new wxTextCtrl(this, 1936, wxFromUtf8(cp1252ToUtf8(values.name)), wxDefaultPosition, wxSize(220, -1));
    name_->SetMaxLength(256);
    grid->Add(name_, 1, wxEXPAND);
    label("Input:");
    input_ = new wxChoice(this, 1943);
    grid->Add(input_, 1, wxEXPAND);
    label("Channel:");
    channel_ = new wxChoice(this, 1937);
    grid->Add(channel_, 1, wxEXPAND);
    label("Port:");
    port_ = new wxChoice(this, 1938);
    grid->Add(port_, 1, wxEXPAND);
    label("Bank:");
    bank_ = new wxComboBox(this, 1939, wxString(), wxDefaultPosition, wxDefaultSize, 0, nullptr, wxTE_PROCESS_ENTER);
    grid->Add(bank_, 1, wxEXPAND);
    label("Patch:");
    patch_ = new wxChoice(this, 1940);
    grid->Add(patch_, 1, wxEXPAND);
    label("Vol:");
    grid->Add(levelField(this, volume_, 1941, 1420, values.volume,
                         [this](std::string_view t) { return model_.TypeVolume(t); }));
    label("Pan:");
    grid->Add(levelField(this, pan_, 1942, 1421, values.pan, [this](std::string_view t) { return model_.TypePan(t); }));

    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(grid, 0, wxEXPAND | wxBOTTOM, 10);
    content->Add(ButtonRow({{wxID_OK, "OK"}, {1952, "Port Instruments..."}, {wxID_CANCEL, "Cancel"}, {wxID_HELP, "Help"}}),
                 0, wxEXPAND);
    Finish(content);
    FillLists();
    input_->SetSelection(model_.InputSelection());

    using Focus = TrackPropertiesDlgModel::Focus;
    switch (model_.InitialFocus()) {
    case Focus::Channel: channel_->SetFocus(); break;
    case Focus::Input: input_->SetFocus(); break;
    case Focus::Port: port_->SetFocus(); break;
    case Focus::Bank: bank_->SetFocus(); break;
    case Focus::Patch: patch_->SetFocus(); break;
    case Focus::Volume: volume_->SetFocus(); break;
    case Focus::Pan: pan_->SetFocus(); break;
    case Focus::Name: name_->SetFocus(); break;
    }

    channel_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) {
        const int i = e.GetSelection();
        if (i < 0 || i >= int(model_.Channels().size())) return;
        model_.ChooseChannel(model_.Channels()[size_t(i)].data);
        FillLists();
    });
    port_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) {
        const int i = e.GetSelection();
        if (i < 0 || i >= int(model_.Ports().size())) return;
        model_.ChoosePort(model_.Ports()[size_t(i)].data);
        FillLists();
    });
    bank_->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& e) {
        const int i = e.GetSelection();
        if (i < 0 || i >= int(model_.Banks().size())) return;
        model_.ChooseBank(model_.Banks()[size_t(i)].data);
        fill(patch_, model_.Patches(), model_.PatchSelection());
    });
    // A typed bank counts once the user leaves the box or presses Enter.
    auto typedBank = [this]() {
        if (bank_->GetSelection() != wxNOT_FOUND && bank_->GetValue() == bank_->GetStringSelection()) return;
        const std::string text = model_.TypeBank(wxToUtf8(bank_->GetValue()));
        bank_->ChangeValue(wxFromUtf8(text));
        bank_->SetInsertionPointEnd();
        fill(patch_, model_.Patches(), model_.PatchSelection());
    };
    bank_->Bind(wxEVT_TEXT_ENTER, [typedBank](wxCommandEvent&) { typedBank(); });
    bank_->Bind(wxEVT_KILL_FOCUS, [typedBank](wxFocusEvent& e) {
        typedBank();
        e.Skip();
    });
    patch_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) {
        const int i = e.GetSelection();
        if (i >= 0 && i < int(model_.Patches().size())) model_.ChoosePatch(model_.Patches()[size_t(i)].data);
    });
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            if (!runPortInstruments_) return;
            if (auto relations = runPortInstruments_(model_.Port(), model_.InitialChannel())) {
                model_.RelationsChanged(std::move(*relations));
                FillLists();
            }
        },
        1952);
    Bind(wxEVT_BUTTON, &CTrackPropertiesDlg::OnOk, this, wxID_OK);
}

void CTrackPropertiesDlg::FillLists()
{
    fill(channel_, model_.Channels(), model_.ChannelSelection());
    fill(input_, model_.Inputs(), model_.InputSelection());
    fill(port_, model_.Ports(), model_.PortSelection());
    fill(bank_, model_.Banks(), model_.BankSelection());
    if (model_.BankSelection() < 0) bank_->ChangeValue(wxFromUtf8(model_.BankText()));
    fill(patch_, model_.Patches(), model_.PatchSelection());
}

void CTrackPropertiesDlg::OnOk(wxCommandEvent&)
{
    // A bank still being typed counts.
    if (bank_->GetSelection() == wxNOT_FOUND || bank_->GetValue() != bank_->GetStringSelection())
        model_.TypeBank(wxToUtf8(bank_->GetValue()));
    if (model_.NeedsChannel(channel_->GetSelection())) {
        ZibTextBox(T(TrackPropertiesDlgModel::kNeedsChannelText), T("Track Properties"), wxOK | wxICON_EXCLAMATION);
        channel_->SetFocus();
        return;
    }
    result_ = model_.Ok(channel_->GetSelection(), input_->GetSelection(), port_->GetSelection(),
                        utf8ToCp1252(wxToUtf8(name_->GetValue())));
    EndModal(wxID_OK);
}

} // namespace zib
