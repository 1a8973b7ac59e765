#include "devices/dialogs/CMidiPortsDlg.h"

#include "ui/ShellServices.h"
#include "ui/texts/ZibMessageTable.h"
#include "devices/dialogs/CNoMidiPortsDlg.h"
#include "platform/WxText.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace zib {

namespace {

using M = MidiPortsDlgModel;

wxListBox* portList(wxWindow* parent, int id, const std::vector<M::Item>& items,
                    const std::vector<bool>& selected)
{
    auto* list = new wxListBox(parent, id, wxDefaultPosition, wxSize(260, 200), 0, nullptr, wxLB_MULTIPLE);
    for (const auto& item : items)
        list->Append(wxFromCp1252(item.name));
    for (size_t row = 0; row < selected.size(); ++row)
        if (selected[row]) list->SetSelection(int(row));
    return list;
}

} // namespace

CMidiPortsDlg::CMidiPortsDlg(wxWindow* parent, const MidiPortsValues& values, const MidiDeviceNames& devices)
    : CZibDialog(parent, "Select MIDI Ports"), model_(values, devices), values_(values)
{
    auto* warning = new wxStaticText(this, M::kIdWarning, wxString());
    warning->SetLabel(wxFromUtf8(ZibMessage(model_.WarningMessage(), Shell().Language())));

    auto* inBox = new wxStaticBoxSizer(wxVERTICAL, this, T("INput ports"));
    in_ = portList(inBox->GetStaticBox(), M::kIdInList, model_.InItems(), model_.InSelected());
    inBox->Add(in_, 1, wxEXPAND | wxALL, 4);
    auto* outBox = new wxStaticBoxSizer(wxVERTICAL, this, T("OUTput ports"));
    out_ = portList(outBox->GetStaticBox(), M::kIdOutList, model_.OutItems(), model_.OutSelected());
    outBox->Add(out_, 1, wxEXPAND | wxALL, 4);
    auto* lists = new wxBoxSizer(wxHORIZONTAL);
    lists->Add(inBox, 1, wxEXPAND | wxRIGHT, 8);
    lists->Add(outBox, 1, wxEXPAND);

    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(warning, 0, wxEXPAND | wxBOTTOM, 8);
    content->Add(lists, 1, wxEXPAND | wxBOTTOM, 8);
    content->Add(new wxStaticText(this, wxID_ANY,
                                  T("NOTE: Only one midi IN/OUT port will be used for style playback!!!")),
                 0, wxBOTTOM, 10);
    content->Add(ButtonRow({{wxID_OK, "OK"}, {wxID_CANCEL, "Cancel"}, {kIdHelp, "Help"}}), 0, wxEXPAND);
    Bind(wxEVT_BUTTON, &CMidiPortsDlg::OnOk, this, wxID_OK);
    // There is no help system: Help does nothing.
    Bind(
        wxEVT_BUTTON, [](wxCommandEvent&) {}, kIdHelp);
    Finish(content);
}

std::vector<bool> CMidiPortsDlg::Selections(const wxListBox* list)
{
    std::vector<bool> selected(list->GetCount());
    for (unsigned row = 0; row < list->GetCount(); ++row)
        selected[row] = list->IsSelected(int(row));
    return selected;
}

void CMidiPortsDlg::OnOk(wxCommandEvent&)
{
    const std::vector<bool> out = Selections(out_);
    const std::vector<bool> in = Selections(in_);
    for (int message : M::MissingSelections(out, in)) {
        CNoMidiPortsDlg warning(this, message);
        if (warning.ShowModal() == wxID_OK) return; // back to the port choice
    }
    values_ = model_.Ok(out, in);
    EndModal(wxID_OK);
}

} // namespace zib
