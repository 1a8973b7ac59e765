#include "docs/style/dialogs/CQeStyleFlagsDlg.h"

#include "docs/style/core/QeStyleFlagsDlgModel.h"
#include "platform/WxText.h"

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>

namespace zib {

CQeStyleFlagsDlg::CQeStyleFlagsDlg(wxWindow* parent, QeStyleFlagsDlgModel& model)
    : CZibDialog(parent, "Style Flags"), model_(model)
{
    static constexpr const char* kTracks[] = {"Drum", "Perc", "Bass", "Acc1", "Acc2", "Acc3", "Acc4", "Acc5"};
    static constexpr int kFirst[] = {kSilent, kReTrig, kRePitch};
    // Each track's three buttons are made one after another so that they form
    // one group; the grid shows them row by row.
    for (int t = 0; t < 8; ++t)
        for (int r = 0; r < 3; ++r) {
            auto* b = new wxRadioButton(this, kFirst[r] + t, wxString(), wxDefaultPosition, wxDefaultSize,
                                        r == 0 ? wxRB_GROUP : 0);
            rows_[size_t(t)][size_t(r)] = b;
        }
    auto* grid = new wxFlexGridSizer(9, 4, 10);
    grid->AddSpacer(1);
    for (const char* track : kTracks)
        grid->Add(new wxStaticText(this, wxID_ANY, T(track)), 0, wxALIGN_CENTER);
    static constexpr const char* kRows[] = {"Silent", "Re-Trig", "Re-Pitch"};
    for (int r = 0; r < 3; ++r) {
        grid->Add(new wxStaticText(this, wxID_ANY, T(kRows[r])), 0, wxALIGN_CENTER_VERTICAL);
        for (int t = 0; t < 8; ++t)
            grid->Add(rows_[size_t(t)][size_t(r)], 0, wxALIGN_CENTER);
    }
    grid->Add(new wxStaticText(this, wxID_ANY, T("Tension")), 0, wxALIGN_CENTER_VERTICAL);
    for (int t = 0; t < 8; ++t) {
        tension_[size_t(t)] = new wxCheckBox(this, kTension + t, wxString());
        tension_[size_t(t)]->SetValue(model.TensionAtStart(t));
        grid->Add(tension_[size_t(t)], 0, wxALIGN_CENTER);
    }
    for (int t = 0; t < 8; ++t)
        rows_[size_t(t)][size_t(model.RowAtStart(t))]->SetValue(true);

    auto* name = new wxBoxSizer(wxHORIZONTAL);
    name->Add(new wxStaticText(this, wxID_ANY, T("Style Name:")), 0, wxRIGHT, 6);
    name->Add(new wxStaticText(this, 1047, wxFromCp1252(model.StyleName())));
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(name, 0, wxBOTTOM, 10);
    content->Add(grid, 1, wxEXPAND | wxBOTTOM, 10);
    FinishOkCancel(content, [this] {
        std::array<int, 8> rows{};
        std::array<bool, 8> tension{};
        for (size_t t = 0; t < 8; ++t) {
            rows[t] = rows_[t][1]->GetValue() ? 1 : rows_[t][2]->GetValue() ? 2 : 0;
            tension[t] = tension_[t]->GetValue();
        }
        model_.Ok(rows, tension);
    });
}

} // namespace zib
