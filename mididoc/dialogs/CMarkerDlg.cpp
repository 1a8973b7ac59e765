#include "mididoc/dialogs/CMarkerDlg.h"

#include "mididoc/CPositionEditB.h"
#include "platform/Cp1252.h"
#include "platform/WxText.h"

#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace zib {

CMarkerDlg::CMarkerDlg(wxWindow* parent, const wxString& caption, const std::string& text, uint32_t tick,
                       const MeasureContext* context)
    : CZibDialog(parent, "Marker"), text_(text), tick_(tick)
{
    SetTitle(caption);
    auto* grid = new wxFlexGridSizer(2, 6, 10);
    grid->AddGrowableCol(1);
    grid->Add(new wxStaticText(this, wxID_ANY, T("Text:")), 0, wxALIGN_CENTER_VERTICAL);
    edit_ = new wxTextCtrl(this, 1766, wxFromUtf8(cp1252ToUtf8(text)), wxDefaultPosition, wxSize(260, -1));
    grid->Add(edit_, 1, wxEXPAND);
    grid->Add(new wxStaticText(this, 1048, T("M:B:T")), 0, wxALIGN_CENTER_VERTICAL);
    position_ = new CPositionEditB(this, 1812, PositionRecord{tick, 0, 0, 0}, context, wxSize(100, -1));
    grid->Add(position_->WithSpin());
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(grid, 0, wxEXPAND | wxBOTTOM, 10);
    content->Add(OkCancelRow(), 0, wxEXPAND);
    Finish(content);
    edit_->SetFocus();
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            tick_ = position_->GetPosition().tick;
            text_ = utf8ToCp1252(wxToUtf8(edit_->GetValue()));
            EndModal(wxID_OK);
        },
        wxID_OK);
}

} // namespace zib
