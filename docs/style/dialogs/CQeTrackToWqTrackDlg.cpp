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
    for (int c = 1; c <= QeTrackToWqTrackDlgModel::kChoices; ++c) {
        buttons_[size_t(c - 1)] = MakeExclusiveRadio(this, kFirstButton + c - 1,
                                                     T(QeTrackToWqTrackDlgModel::ChoiceText(c)), buttons_);
        content->Add(buttons_[size_t(c - 1)], 0, wxALL, 3);
    }
    if (const int start = QeTrackToWqTrackDlgModel::CheckedAtStart(setting); start > 0)
        buttons_[size_t(start - 1)]->SetValue(true);
    content->Add(OkCancelRow(), 0, wxEXPAND | wxTOP, 10);
    Finish(content);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            int checked = 0;
            for (size_t b = 0; b < buttons_.size() && !checked; ++b)
                if (buttons_[b]->GetValue()) checked = int(b) + 1;
            choice_ = QeTrackToWqTrackDlgModel::Ok(choice_, checked);
            EndModal(wxID_OK);
        },
        wxID_OK);
}

} // namespace zib
