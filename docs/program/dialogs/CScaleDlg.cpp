#include "docs/program/dialogs/CScaleDlg.h"

#include "midi/ValueTexts.h"
#include "platform/WxText.h"

#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

namespace zib {

CScaleDlg::CScaleDlg(wxWindow* parent, ScaleDlgModel& model) : CZibDialog(parent, "Scale Dialog"), model_(model)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, wxFromUtf8(model.Label())), 0, wxBOTTOM, 8);
    auto* grid = new wxFlexGridSizer(4, wxSize(6, 4));
    for (int note = 0; note < 12; ++note) {
        grid->Add(new wxStaticText(this, wxID_ANY, wxFromUtf8(GetKeyNameText(note))), 0, wxALIGN_CENTER_VERTICAL);
        auto* field = new wxSpinCtrl(this, 1700 + note, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                     wxSP_ARROW_KEYS, -128, 127, model.Value(note));
        // Room for "-128" and both arrows.
        field->SetInitialSize(field->GetSizeFromTextSize(field->GetTextExtent("-128").x));
        fields_[size_t(note)] = field;
        grid->Add(field);
    }
    sizer->Add(grid, 0, wxBOTTOM, 10);
    sizer->Add(OkCancelRow(), 0, wxEXPAND);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent& e) {
        for (int note = 0; note < 12; ++note)
            model_.SetValue(note, fields_[size_t(note)]->GetValue());
        e.Skip();
    }, wxID_OK);
    Finish(sizer);
}

} // namespace zib
