#include "devices/dialogs/CPortInstrumentDlg.h"

#include "ui/ShellServices.h"
#include "ui/ZibMessageBox.h"
#include "ui/texts/ZibMessageTable.h"
#include "devices/core/CInstrumentStore.h"
#include "devices/core/ConnectorLine.h"
#include "devices/dialogs/CConfigureInstrumentsDlg.h"
#include "devices/CInstrumentListBox.h"
#include "platform/WxText.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/stattext.h>

namespace zib {

namespace {

ConnectorRect rectOf(const wxWindow* window)
{
    const wxRect r = window->GetRect();
    return {r.GetLeft(), r.GetTop(), r.GetRight(), r.GetBottom()};
}

} // namespace

CPortInstrumentDlg::CPortInstrumentDlg(wxWindow* parent, CInstrumentStore& store, const UserMidiPortMap& outPorts,
                                       int outDeviceCount, int initialPort, int initialChannel)
    : CZibDialog(parent, "Port - Instrument Relation"),
      store_(store),
      model_(store.Relations(), store.Instruments(), outPorts, outDeviceCount, store.OutPortNames(), initialPort,
             initialChannel)
{
    SetTitle(wxFromUtf8(ZibMessage(115, Shell().Language())));
    auto* content = new wxBoxSizer(wxVERTICAL);

    auto* portRow = new wxBoxSizer(wxHORIZONTAL);
    portRow->Add(new wxStaticText(this, wxID_ANY, T("Port: ")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    ports_ = new wxComboBox(this, kIdPorts, wxString(), wxDefaultPosition, wxSize(260, -1), 0, nullptr,
                            wxCB_DROPDOWN | wxCB_READONLY);
    portRow->Add(ports_, 1);
    content->Add(portRow, 0, wxEXPAND | wxBOTTOM, 10);

    auto* labels = new wxBoxSizer(wxHORIZONTAL);
    labels->Add(new wxStaticText(this, wxID_ANY, T("Port Channel:")), 0, wxRIGHT, 10);
    labels->AddStretchSpacer();
    labels->Add(new wxStaticText(this, wxID_ANY, T("Instrument:")), 0);
    labels->AddSpacer(200);
    content->Add(labels, 0, wxEXPAND | wxBOTTOM, 4);

    auto* lists = new wxBoxSizer(wxHORIZONTAL);
    channels_ = new wxListBox(this, kIdChannels, wxDefaultPosition, wxSize(70, 260), 0, nullptr, wxLB_EXTENDED);
    lists->Add(channels_, 0, wxEXPAND);
    gap_ = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(60, -1));
    lists->Add(gap_, 0, wxEXPAND);
    instruments_ = new CInstrumentListBox(this, kIdInstruments, wxSize(260, 260), [this] { gap_->Refresh(); });
    lists->Add(instruments_, 1, wxEXPAND);
    content->Add(lists, 1, wxEXPAND);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, kIdConfigure, T("Configure...")));
    buttons->Add(ButtonRow({{wxID_OK, "OK"}, {wxID_CANCEL, "Cancel"}}), 1);
    content->Add(buttons, 0, wxEXPAND | wxTOP, 10);

    ports_->Bind(wxEVT_COMBOBOX, &CPortInstrumentDlg::OnPort, this);
    channels_->Bind(wxEVT_LISTBOX, &CPortInstrumentDlg::OnChannels, this);
    instruments_->Bind(wxEVT_LISTBOX, &CPortInstrumentDlg::OnInstrument, this);
    Bind(wxEVT_BUTTON, &CPortInstrumentDlg::OnConfigure, this, kIdConfigure);
    Bind(wxEVT_BUTTON, &CPortInstrumentDlg::OnOk, this, wxID_OK);
    gap_->Bind(wxEVT_PAINT, [this](wxPaintEvent&) { PaintConnector(); });
    // The first mouse move over the dialog draws the line once more.
    auto firstMove = [this](wxMouseEvent& event) {
        event.Skip();
        if (mouseMoved_) return;
        mouseMoved_ = true;
        gap_->Refresh();
    };
    Bind(wxEVT_MOTION, firstMove);
    gap_->Bind(wxEVT_MOTION, firstMove);
    Finish(content);
}

int CPortInstrumentDlg::ShowModal()
{
    const auto caption = GetTitle();
    switch (model_.Initialise()) {
    case PortInstrumentDlgModel::InitResult::Ok:
        break;
    case PortInstrumentDlgModel::InitResult::NoOutPorts:
        ZibTextBox(T("There are no selected MIDI OUT ports!!!"), caption, wxOK, GetParent());
        return wxID_CANCEL;
    case PortInstrumentDlgModel::InitResult::NoInstruments:
        ZibTextBox(T("There are no defined instruments!!!"), caption, wxOK, GetParent());
        return wxID_CANCEL;
    }
    for (const auto& port : model_.Ports())
        ports_->Append(wxFromCp1252(port.text));
    ports_->SetSelection(model_.PortRow());
    for (int channel = 1; channel <= 16; ++channel)
        channels_->Append(wxString::Format("%d", channel));
    FillInstruments();
    ShowSelections();
    return CZibDialog::ShowModal();
}

void CPortInstrumentDlg::FillInstruments()
{
    instruments_->Clear();
    for (const auto& item : model_.Instruments())
        instruments_->Append(wxFromCp1252(item.name));
}

void CPortInstrumentDlg::ShowSelections()
{
    if (model_.SelectedChannels().size() <= 1) {
        channels_->DeselectAll();
        channels_->SetSelection(model_.CurrentChannel());
    }
    if (model_.InstrumentRow() >= 0) instruments_->SetSelection(model_.InstrumentRow());
    gap_->Refresh();
}

void CPortInstrumentDlg::OnPort(wxCommandEvent&)
{
    model_.SelectPort(ports_->GetSelection());
    ShowSelections();
}

void CPortInstrumentDlg::OnChannels(wxCommandEvent&)
{
    wxArrayInt selections;
    channels_->GetSelections(selections);
    std::vector<int> channels(selections.begin(), selections.end());
    model_.SelectChannels(channels);
    if (channels.size() == 1)
        ShowSelections();
    else
        gap_->Refresh();
}

void CPortInstrumentDlg::OnInstrument(wxCommandEvent&)
{
    model_.SelectInstrument(instruments_->GetSelection());
    gap_->Refresh();
}

void CPortInstrumentDlg::OnConfigure(wxCommandEvent&)
{
    CConfigureInstrumentsDlg dlg(this, store_);
    dlg.ShowModal();
    model_.InstrumentsChanged();
    FillInstruments();
    ShowSelections();
}

void CPortInstrumentDlg::OnOk(wxCommandEvent&)
{
    model_.Apply();
    EndModal(wxID_OK);
}

int CPortInstrumentDlg::RowMiddle(const wxListBox* list, int row) const
{
    const wxRect rect = list->GetRect();
    const int top = std::max(0, list->GetTopItem());
    const int perPage = list->GetCountPerPage();
    const int height = perPage > 0 ? list->GetClientSize().GetHeight() / perPage : list->GetCharHeight() + 4;
    if (row < top) return rect.GetTop() - 1;
    if (perPage > 0 && row >= top + perPage) return rect.GetBottom() + 1;
    return rect.GetTop() + (row - top) * height + height / 2;
}

void CPortInstrumentDlg::PaintConnector()
{
    wxPaintDC dc(gap_);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
    dc.Clear();
    if (!model_.LineShown() || model_.InstrumentRow() < 0) return;
    const auto points = ConnectorLinePoints(rectOf(channels_), RowMiddle(channels_, model_.CurrentChannel()),
                                            rectOf(instruments_), RowMiddle(instruments_, model_.InstrumentRow()));
    const wxPoint origin = gap_->GetPosition();
    wxPoint line[4];
    for (size_t i = 0; i < points.size(); ++i)
        line[i] = wxPoint(points[i].x - origin.x, points[i].y - origin.y);
    dc.SetPen(wxPen(*wxRED, 3));
    dc.DrawLines(4, line);
}

} // namespace zib
