#include "app/dialogs/CSettingsDialogs.h"

#include <string>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>

namespace zib {

CSortMethodDlg::CSortMethodDlg(wxWindow* parent, SortMethodDlgModel& model)
    : CZibDialog(parent, "Choose Sorting Method"), model_(model)
{
    auto* content = new wxBoxSizer(wxVERTICAL);
    auto* quick = new wxRadioButton(this, SortMethodDlgModel::kQuickSort, T("Quick Sort"), wxDefaultPosition,
                                    wxDefaultSize, wxRB_GROUP);
    auto* insert = new wxRadioButton(this, SortMethodDlgModel::kInsertSort, T("Insert Sort"));
    content->Add(quick, 0, wxBOTTOM, 4);
    content->Add(insert, 0, wxBOTTOM, 10);
    FinishOkCancel(content, [this, quick] {
        model_.Ok(quick->GetValue() ? SortMethodDlgModel::kQuickSort : SortMethodDlgModel::kInsertSort);
    });
    (model_.CheckedAtStart() == SortMethodDlgModel::kInsertSort ? insert : quick)->SetValue(true);
}

CTransposeSettingsDlg::CTransposeSettingsDlg(wxWindow* parent, TransposeSettingsDlgModel& model)
    : CZibDialog(parent, "Transpose Settings"), model_(model)
{
    auto* box = new wxStaticBoxSizer(wxVERTICAL, this, T("Channels not transposed"));
    auto* grid = new wxGridSizer(4, 4, 4, 12);
    for (int i = 0; i < 16; ++i) {
        boxes_[size_t(i)] = new wxCheckBox(box->GetStaticBox(), TransposeSettingsDlgModel::kFirstBox + i,
                                           T("Channel" + std::to_string(i + 1)));
        boxes_[size_t(i)]->SetValue(model_.CheckedAtStart(i));
        grid->Add(boxes_[size_t(i)]);
    }
    box->Add(grid, 1, wxEXPAND | wxALL, 4);
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(box, 1, wxEXPAND | wxBOTTOM, 10);
    FinishOkCancel(content, [this] {
        std::array<bool, 16> checked{};
        for (int i = 0; i < 16; ++i)
            checked[size_t(i)] = boxes_[size_t(i)]->GetValue();
        model_.Ok(checked);
    });
}

CKeyboardTypeDlg::CKeyboardTypeDlg(wxWindow* parent, KeyboardTypeDlgModel& model)
    : CZibDialog(parent, "Get Keyboard Type"), model_(model)
{
    auto* content = new wxBoxSizer(wxVERTICAL);
    // A hidden first radio stands for "none checked".
    auto* none = new wxRadioButton(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    none->Hide();
    std::vector<wxRadioButton*> radios;
    for (const auto& r : KeyboardTypeDlgModel::kRadios) {
        auto* radio = new wxRadioButton(this, r.id, T(r.label));
        radio->Enable(r.id != KeyboardTypeDlgModel::kDisabledRadio);
        content->Add(radio, 0, wxBOTTOM, 4);
        radios.push_back(radio);
    }
    content->Add(OkCancelRow(), 0, wxEXPAND | wxTOP, 6);
    Finish(content);
    none->SetValue(true);
    if (int start = model_.CheckedAtStart()) static_cast<wxRadioButton*>(FindWindow(start))->SetValue(true);
    Bind(
        wxEVT_BUTTON,
        [this, radios](wxCommandEvent&) {
            int checked = 0;
            for (auto* r : radios)
                if (r->GetValue()) checked = r->GetId();
            model_.Ok(checked);
            EndModal(wxID_OK);
        },
        wxID_OK);
}

CToolbarsDlg::CToolbarsDlg(wxWindow* parent, int kind, const BarFlags& flags,
                           std::function<void(BarFlag, bool)> apply)
    : CZibDialog(parent, "Toolbars"), model_(kind, flags, std::move(apply))
{
    auto* content = new wxBoxSizer(wxVERTICAL);
    for (const auto& b : ToolbarsDlgModel::kBoxes) {
        auto* box = new wxCheckBox(this, b.id, T(b.label));
        box->SetValue(model_.checked(b.id));
        box->Enable(model_.enabled(b.id));
        box->Bind(wxEVT_CHECKBOX, [this, id = b.id](wxCommandEvent& e) { model_.Click(id, e.IsChecked()); });
        content->Add(box, 0, wxBOTTOM, 4);
    }
    content->Add(ButtonRow({{wxID_OK, "OK"}}), 0, wxEXPAND | wxTOP, 6);
    Finish(content);
}

} // namespace zib
