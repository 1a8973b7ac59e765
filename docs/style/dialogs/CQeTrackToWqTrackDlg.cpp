#include "docs/style/dialogs/CQeTrackToWqTrackDlg.h"

#include "docs/style/StyleGuiSupport.h"
#include "docs/style/core/WqStylePropertiesModel.h"

#include <wx/stattext.h>

namespace zib {

CQeTrackToWqTrackDlg::CQeTrackToWqTrackDlg(wxWindow* parent, int setting)
    : CZibDialog(parent, "Setup Qe-track to Wq-track conversion"), choice_(setting)
{
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(new wxStaticText(this, wxID_ANY, T("Choose Qe-tracks that will be converted to Wq-tracks Acc1-3")),
                 0, wxBOTTOM, 8);
    buttons_ = std::make_unique<RadioGroupWithNone>(this);
    for (int c = 1; c <= QeTrackToWqTrackDlgModel::kChoices; ++c)
        content->Add(buttons_->Add(this, kFirstButton + c - 1, T(QeTrackToWqTrackDlgModel::ChoiceText(c))), 0,
                     wxALL, 3);
    buttons_->Check(QeTrackToWqTrackDlgModel::CheckedAtStart(setting) - 1);
    content->Add(OkCancelRow(), 0, wxEXPAND | wxTOP, 10);
    Finish(content);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            choice_ = QeTrackToWqTrackDlgModel::Ok(choice_, buttons_->Checked() + 1);
            EndModal(wxID_OK);
        },
        wxID_OK);
}

CQeTrackToWqTrackDlg::~CQeTrackToWqTrackDlg() = default;

} // namespace zib
