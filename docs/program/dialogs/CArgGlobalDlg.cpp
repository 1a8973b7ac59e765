#include "docs/program/dialogs/CArgGlobalDlg.h"

#include "docs/program/dialogs/CMidiChannelDlg.h"

#include <wx/sizer.h>
#include <wx/statbox.h>

namespace zib {

CArgGlobalDlg::CArgGlobalDlg(wxWindow* parent, ArgGlobalDlgModel& model)
    : CZibDialog(parent, model.Title()), model_(model)
{
    controls_ = std::make_unique<CDialogControls>(this, model.controls);
}

wxSizer* CArgGlobalDlg::Group(const wxString& title, std::initializer_list<int> ids)
{
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, title);
    group->Add(controls_->Rows(ids), 0, wxEXPAND | wxALL, 4);
    return group;
}

void CArgGlobalDlg::Arrange(wxSizer* switches)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    auto* channels = new wxStaticBoxSizer(wxVERTICAL, this, T("Midi Channels"));
    channels->Add(controls_->Window(ArgGlobalDlgModel::kChannelList), 1, wxEXPAND);
    // Only the list takes the room the dialog gains: stretched in equal
    // shares, the switches would make every column as wide as the widest.
    columns->Add(channels, 1, wxEXPAND | wxRIGHT, 10);
    columns->Add(switches, 0, wxEXPAND);
    sizer->Add(columns, 1, wxEXPAND | wxBOTTOM, 10);
    sizer->Add(OkCancelRow(), 0, wxEXPAND);
    controls_->Load();
    controls_->OnActivate(ArgGlobalDlgModel::kChannelList, [this](int line) { EditChannel(line); });
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent& e) {
            controls_->Store();
            e.Skip();
        },
        wxID_OK);
    Finish(sizer);
}

void CArgGlobalDlg::EditChannel(int line)
{
    if (line < 0 || line >= int(model_.records.size())) return;
    MidiChannelDlgModel channel(model_.records[size_t(line)].label, model_.Datum(line));
    CMidiChannelDlg dlg(this, channel);
    if (dlg.ShowModal() != wxID_OK) return;
    model_.SetChannelDatum(channel.Ok());
    controls_->RefreshLines(ArgGlobalDlgModel::kChannelList);
}

} // namespace zib
