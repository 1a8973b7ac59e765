#include "mididoc/dialogs/CShiftEventsDlg.h"

#include "mididoc/CPositionEditB.h"
#include "platform/WxText.h"

#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

CShiftEventsDlg::CShiftEventsDlg(wxWindow* parent, uint32_t fromTick, uint32_t toTick, const MeasureContext* context)
    : CZibDialog(parent, "Shift MIDI Events"), from_(fromTick), to_(toTick)
{
    const PositionRecord from = context ? context->FromTick(fromTick) : PositionRecord{fromTick, 0, 0, 0};
    auto* grid = new wxFlexGridSizer(2, 6, 10);
    grid->Add(new wxStaticText(this, wxID_ANY, T("Shift FROM position:")), 0, wxALIGN_CENTER_VERTICAL);
    auto* fromField = new wxTextCtrl(this, 1766, wxFromUtf8(FormatPositionText(from)), wxDefaultPosition,
                                     wxSize(80, -1), wxTE_READONLY);
    fromField->Disable();
    grid->Add(fromField);
    grid->Add(new wxStaticText(this, wxID_ANY, T("Shift TO position:")), 0, wxALIGN_CENTER_VERTICAL);
    position_ = new CPositionEditB(this, 1812, PositionRecord{toTick, 0, 0, 0}, context);
    grid->Add(position_->WithSpin());
    // As wide as the field below it, which holds any position.
    fromField->SetMinSize(wxSize(position_->GetMinSize().x, -1));
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(grid, 0, wxBOTTOM, 10);
    content->Add(OkCancelHelpRow(), 0, wxEXPAND);
    Finish(content);
    position_->SetFocus();
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            to_ = position_->GetPosition().tick;
            EndModal(wxID_OK);
        },
        wxID_OK);
}

} // namespace zib
