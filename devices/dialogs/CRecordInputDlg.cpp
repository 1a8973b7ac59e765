#include "devices/dialogs/CRecordInputDlg.h"

#include "ui/ListColumns.h"
#include "platform/WxText.h"

#include <wx/checkbox.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>

namespace zib {

using Choice = RecordInputDlgModel::Choice;

namespace {

constexpr int kList = 1954;
constexpr int kUndefined = 1836;
constexpr int kAllChannels = 1955;
constexpr int kChannels = 1956;
constexpr int kFirstBox = 1957; // to 1972

} // namespace

CRecordInputDlg::CRecordInputDlg(wxWindow* parent, const std::array<uint32_t, 64>& codes, int selectedTrack)
    : CZibDialog(parent, "Track Record Input"), m_model(codes, selectedTrack)
{
    m_list = new wxListCtrl(this, kList, wxDefaultPosition, wxDefaultSize,
                            wxLC_REPORT | wxLC_SINGLE_SEL | wxBORDER_SUNKEN);
    // Laid out 300 pixels wide; the columns share the list's width.
    m_list->SetInitialSize(wxSize(ListColumnWidth(*m_list, 300), 260));
    ShowCutCellTips(*m_list);
    const int width = m_list->GetClientSize().x;
    m_list->InsertColumn(0, T("Track"), wxLIST_FORMAT_LEFT, width / 3);
    m_list->InsertColumn(1, T("Record Input"), wxLIST_FORMAT_LEFT, width * 2 / 3 - 20);
    for (int row = 0; row < RecordInputDlgModel::kTracks; ++row) {
        m_list->InsertItem(row, wxString::Format(T("Track %d"), row + 1));
        RefreshRow(row);
    }

    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, T("Record Input"));
    wxWindow* box = group->GetStaticBox();
    m_undefined = new wxRadioButton(box, kUndefined, T("<Undefined>"), wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_all = new wxRadioButton(box, kAllChannels, T("All MIDI channels"));
    m_channels = new wxRadioButton(box, kChannels, T("MIDI Channels"));
    group->Add(m_undefined, 0, wxALL, 3);
    group->Add(m_all, 0, wxALL, 3);
    group->Add(m_channels, 0, wxALL, 3);
    auto* boxes = new wxGridSizer(4, 4, 4, 8);
    for (int n = 0; n < 16; ++n) {
        m_boxes[size_t(n)] = new wxCheckBox(box, kFirstBox + n, wxString::Format("%d", n + 1));
        boxes->Add(m_boxes[size_t(n)]);
    }
    group->Add(boxes, 0, wxALL, 6);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(m_list, 1, wxEXPAND | wxRIGHT, 8);
    top->Add(group, 0, wxEXPAND);
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(top, 1, wxEXPAND | wxBOTTOM, 8);
    content->Add(ButtonRow({{wxID_OK, "OK"}, {wxID_CANCEL, "Cancel"}, {wxID_HELP, "Help"}}), 0, wxEXPAND);
    Finish(content);

    m_list->SetItemState(m_model.Selected(), wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                         wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    m_list->EnsureVisible(m_model.Selected());
    ShowCode();

    m_list->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent& e) {
        const int left = m_model.Selected();
        m_model.SelectRow(int(e.GetIndex()));
        RefreshRow(left);
        ShowCode();
    });
    const auto choose = [this](Choice choice) {
        m_model.Choose(choice);
        ShowCode();
        RefreshRow(m_model.Selected());
    };
    m_undefined->Bind(wxEVT_RADIOBUTTON, [choose](wxCommandEvent&) { choose(Choice::Undefined); });
    m_all->Bind(wxEVT_RADIOBUTTON, [choose](wxCommandEvent&) { choose(Choice::AllChannels); });
    m_channels->Bind(wxEVT_RADIOBUTTON, [choose](wxCommandEvent&) { choose(Choice::Channels); });
    for (int n = 0; n < 16; ++n)
        m_boxes[size_t(n)]->Bind(wxEVT_CHECKBOX, [this, n](wxCommandEvent& e) {
            m_model.SetBox(n, e.IsChecked());
            RefreshRow(m_model.Selected());
        });
    Bind(wxEVT_BUTTON, &CRecordInputDlg::OnOK, this, wxID_OK);
    Bind(wxEVT_BUTTON, [](wxCommandEvent&) {}, wxID_HELP); // no help system
}

void CRecordInputDlg::RefreshRow(int row)
{
    m_list->SetItem(row, 1, wxFromUtf8(m_model.RowText(row)));
}

void CRecordInputDlg::ShowCode()
{
    const Choice choice = m_model.ShownChoice();
    m_undefined->SetValue(choice == Choice::Undefined);
    m_all->SetValue(choice == Choice::AllChannels);
    m_channels->SetValue(choice == Choice::Channels);
    for (int n = 0; n < 16; ++n) {
        m_boxes[size_t(n)]->Enable(m_model.BoxesEnabled());
        m_boxes[size_t(n)]->SetValue(m_model.BoxChecked(n));
    }
}

void CRecordInputDlg::OnOK(wxCommandEvent&)
{
    m_model.Normalise();
    EndModal(wxID_OK);
}

} // namespace zib
