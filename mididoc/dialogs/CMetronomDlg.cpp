#include "mididoc/dialogs/CMetronomDlg.h"

#include "platform/WxText.h"

#include <algorithm>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

using Field = MetronomDlgModel::Field;

CMetronomDlg::CMetronomDlg(wxWindow* parent, const MetronomeSettings& given, int enabledPorts)
    : CZibDialog(parent, "Metronom settings"), model_(given, enabledPorts), result_(given)
{
    auto* when = new wxStaticBoxSizer(wxHORIZONTAL, this, wxString());
    playback_ = new wxCheckBox(when->GetStaticBox(), 1989, T("Playback"));
    recording_ = new wxCheckBox(when->GetStaticBox(), 1990, T("Recording"));
    playback_->SetValue(model_.PlaybackChecked());
    recording_->SetValue(model_.RecordingChecked());
    when->Add(playback_, 0, wxALL, 3);
    when->Add(recording_, 0, wxALL, 3);

    auto* pre = new wxStaticBoxSizer(wxHORIZONTAL, this, wxString());
    measures_ = new wxRadioButton(pre->GetStaticBox(), 1837, T("Measures"), wxDefaultPosition, wxDefaultSize,
                                  wxRB_GROUP);
    beats_ = new wxRadioButton(pre->GetStaticBox(), 1991, T("Beats"));
    (model_.MeasuresChecked() ? measures_ : beats_)->SetValue(true);
    pre->Add(measures_, 0, wxALL, 3);
    pre->Add(beats_, 0, wxALL, 3);
    pre->Add(new wxStaticText(pre->GetStaticBox(), wxID_ANY, T("Pre-count num:")), 0,
             wxALIGN_CENTER_VERTICAL | wxLEFT, 8);
    pre->Add(NumberField(pre->GetStaticBox(), Field::PreCount, 1992, 1419, 0, MetronomDlgModel::kMaxCount));

    auto* grid = new wxFlexGridSizer(2, 6, 10);
    grid->Add(new wxStaticText(this, wxID_ANY, T("Port:")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(NumberField(this, Field::Port, 1993, 1420, 1, std::max(1, model_.PortCount())));
    grid->Add(new wxStaticText(this, wxID_ANY, T("Channel:")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(NumberField(this, Field::Channel, 1994, 1421, 1, 16));
    grid->Add(new wxStaticText(this, wxID_ANY, T("Duration:")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(NumberField(this, Field::Duration, 1995, 1422, 0, MetronomDlgModel::kMaxCount));

    auto* first = new wxStaticBoxSizer(wxVERTICAL, this, T("First Beat"));
    auto* firstGrid = new wxFlexGridSizer(2, 4, 8);
    firstGrid->Add(new wxStaticText(first->GetStaticBox(), wxID_ANY, T("Key:")), 0, wxALIGN_CENTER_VERTICAL);
    firstGrid->Add(KeyField(first->GetStaticBox(), true, 1996, 1423));
    firstGrid->Add(new wxStaticText(first->GetStaticBox(), wxID_ANY, T("Velocity:")), 0, wxALIGN_CENTER_VERTICAL);
    firstGrid->Add(NumberField(first->GetStaticBox(), Field::FirstVelocity, 1998, 1424, 0, 127));
    first->Add(firstGrid, 0, wxALL, 3);
    auto* other = new wxStaticBoxSizer(wxVERTICAL, this, T("Other Beats"));
    auto* otherGrid = new wxFlexGridSizer(2, 4, 8);
    otherGrid->Add(new wxStaticText(other->GetStaticBox(), wxID_ANY, T("Key:")), 0, wxALIGN_CENTER_VERTICAL);
    otherGrid->Add(KeyField(other->GetStaticBox(), false, 1997, 1425));
    otherGrid->Add(new wxStaticText(other->GetStaticBox(), wxID_ANY, T("Velocity:")), 0, wxALIGN_CENTER_VERTICAL);
    otherGrid->Add(NumberField(other->GetStaticBox(), Field::OtherVelocity, 1999, 1426, 0, 127));
    other->Add(otherGrid, 0, wxALL, 3);
    auto* beatsRow = new wxBoxSizer(wxHORIZONTAL);
    beatsRow->Add(first, 1, wxRIGHT, 8);
    beatsRow->Add(other, 1);

    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(when, 0, wxEXPAND | wxBOTTOM, 8);
    content->Add(pre, 0, wxEXPAND | wxBOTTOM, 8);
    content->Add(grid, 0, wxBOTTOM, 8);
    content->Add(beatsRow, 0, wxEXPAND | wxBOTTOM, 10);
    content->Add(OkCancelHelpRow(), 0, wxEXPAND);
    Finish(content);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            result_ = model_.Ok(playback_->GetValue(), recording_->GetValue(), measures_->GetValue());
            EndModal(wxID_OK);
        },
        wxID_OK);
}

wxSizer* CMetronomDlg::NumberField(wxWindow* parent, Field field, int editId, int spinId, int lo, int hi)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* edit = new wxTextCtrl(parent, editId, wxFromUtf8(model_.Text(field)), wxDefaultPosition, wxSize(50, -1));
    auto* spin = new wxSpinButton(parent, spinId, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL | wxSP_ARROW_KEYS);
    spin->SetRange(lo, hi);
    spin->SetValue(std::clamp(model_.Value(field), lo, hi));
    row->Add(edit);
    row->Add(spin);
    spin->Bind(wxEVT_SPIN, [edit](wxSpinEvent& e) { edit->SetValue(wxString::Format("%d", e.GetPosition())); });
    edit->Bind(wxEVT_TEXT, [this, edit, field](wxCommandEvent&) {
        if (auto back = model_.Type(field, wxToUtf8(edit->GetValue()))) {
            edit->ChangeValue(wxFromUtf8(*back));
            edit->SetInsertionPointEnd();
        }
    });
    return row;
}

wxSizer* CMetronomDlg::KeyField(wxWindow* parent, bool first, int editId, int spinId)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    const int key = first ? model_.FirstKey() : model_.OtherKey();
    auto* edit = new wxTextCtrl(parent, editId, wxFromUtf8(MetronomDlgModel::KeyText(key)), wxDefaultPosition,
                                wxSize(50, -1), wxTE_READONLY);
    auto* spin = new wxSpinButton(parent, spinId, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL | wxSP_ARROW_KEYS);
    spin->SetRange(0, 127);
    spin->SetValue(key);
    row->Add(edit);
    row->Add(spin);
    auto step = [this, edit, first](wxSpinEvent& e) {
        const int dir = e.GetEventType() == wxEVT_SPIN_UP ? 1 : -1;
        edit->ChangeValue(wxFromUtf8(first ? model_.StepFirstKey(dir) : model_.StepOtherKey(dir)));
    };
    spin->Bind(wxEVT_SPIN_UP, step);
    spin->Bind(wxEVT_SPIN_DOWN, step);
    return row;
}

} // namespace zib
