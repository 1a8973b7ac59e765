#include "docs/program/dialogs/CGlobalDataDlg.h"

#include "docs/program/dialogs/CPedalSwDlg.h"
#include "docs/program/dialogs/CScaleDlg.h"

#include <wx/sizer.h>
#include <wx/statbox.h>

namespace zib {

CGlobalDataDlg::CGlobalDataDlg(wxWindow* parent, GlobalDataDlgModel& model)
    : CZibDialog(parent, model.Title()), model_(model)
{
    using G = GlobalDataDlgModel;
    controls_ = std::make_unique<CDialogControls>(this, model.controls);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* columns = new wxBoxSizer(wxHORIZONTAL);

    auto* lists = new wxBoxSizer(wxVERTICAL);
    auto* pedals = new wxStaticBoxSizer(wxVERTICAL, this, T("EC5 Pedal / SW"));
    pedals->Add(controls_->Window(G::kPedalList), 1, wxEXPAND);
    lists->Add(pedals, 1, wxEXPAND | wxBOTTOM, 6);
    auto* scales = new wxStaticBoxSizer(wxVERTICAL, this, T("User Scale"));
    scales->Add(controls_->Window(G::kScaleList), 1, wxEXPAND);
    lists->Add(scales, 1, wxEXPAND);
    columns->Add(lists, 0, wxEXPAND | wxRIGHT, 10);

    columns->Add(controls_->Rows({G::kMasterTune, G::kChannel, G::kPedal1, G::kPedal2, G::kNormalType,
                                  G::kNormalKey, G::kSpecialType, G::kSpecialKey, G::kVelocityCurve,
                                  G::kAftertouchCurve, G::kRitType, G::kRitBeat, G::kAccType, G::kAccBeat,
                                  G::kMidiInVelocity, G::kOctaveLow, G::kOctaveUp}),
                 0, wxEXPAND | wxRIGHT, 10);
    columns->Add(controls_->Rows({G::kDamper, G::kMidiClock, G::kBaud, G::kTranspose, G::kClock, G::kLocal,
                                  G::kDiscardGm, G::kExclusive, G::kControlChange, G::kAftertouch, G::kProgBank,
                                  G::kProgramChange, G::kJoyLow, G::kJoyUp1, G::kJoyUp2, G::kEchoBack}),
                 0, wxEXPAND);
    sizer->Add(columns, 1, wxEXPAND | wxBOTTOM, 10);
    sizer->Add(OkCancelRow(), 0, wxEXPAND);
    controls_->Load();
    controls_->OnActivate(G::kPedalList, [this](int line) { EditPedal(line); });
    controls_->OnActivate(G::kScaleList, [this](int line) { EditScale(line); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent& e) {
        controls_->Store();
        e.Skip();
    }, wxID_OK);
    Finish(sizer);
}

void CGlobalDataDlg::EditPedal(int line)
{
    PedalSwDlgModel pedal = model_.PedalSwDialog(line);
    CPedalSwDlg dlg(this, pedal);
    if (dlg.ShowModal() != wxID_OK) return;
    model_.SetPedalCode(line, pedal.Ok());
    controls_->RefreshLines(GlobalDataDlgModel::kPedalList);
}

void CGlobalDataDlg::EditScale(int line)
{
    ScaleDlgModel scale = model_.ScaleDialog(line);
    CScaleDlg dlg(this, scale);
    if (dlg.ShowModal() != wxID_OK) return;
    model_.SetScale(line, scale.Ok());
}

} // namespace zib
