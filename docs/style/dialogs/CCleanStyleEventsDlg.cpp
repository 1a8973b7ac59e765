#include "docs/style/dialogs/CCleanStyleEventsDlg.h"

#include "docs/style/core/CleanStyleEventsDlgModel.h"
#include "platform/WxText.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace zib {

CCleanStyleEventsDlg::CCleanStyleEventsDlg(wxWindow* parent)
    : CZibDialog(parent, "Clean certain events from style sequences")
{
    static constexpr const char* kBoxes[] = {"Pitch band events", "Aftertouch (Channel pressure) events",
                                             "Poly (Key pressure) events", "Control events", "Program change events"};
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, T("Check style events that should be cleared"));
    for (int b = 0; b < 5; ++b) {
        boxes_[size_t(b)] = new wxCheckBox(group->GetStaticBox(), kFirstBox + b, T(kBoxes[b]));
        group->Add(boxes_[size_t(b)], 0, wxALL, 3);
    }
    wxArrayString entries;
    for (const std::string& e : CleanStyleEventsDlgModel::ControllerEntries())
        entries.push_back(wxFromUtf8(e));
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    label_ = new wxStaticText(group->GetStaticBox(), wxID_ANY, T("Ctrl # to be cleared:"));
    controllers_ = new wxChoice(group->GetStaticBox(), kControllers, wxDefaultPosition, wxDefaultSize, entries);
    controllers_->SetSelection(0);
    row->Add(label_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    row->Add(controllers_);
    group->Add(row, 0, wxALL, 6);
    auto enableList = [this] {
        const bool on = CleanStyleEventsDlgModel::ControllerListEnabled(boxes_[3]->GetValue());
        controllers_->Enable(on);
        label_->Enable(on);
    };
    enableList();
    boxes_[3]->Bind(wxEVT_CHECKBOX, [enableList](wxCommandEvent&) { enableList(); });

    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(group, 1, wxEXPAND | wxBOTTOM, 10);
    FinishOkCancel(content, [this] {
        choice_ = CleanStyleEventsDlgModel::Ok(boxes_[0]->GetValue(), boxes_[1]->GetValue(),
                                               boxes_[2]->GetValue(), boxes_[3]->GetValue(),
                                               boxes_[4]->GetValue(), controllers_->GetSelection());
    });
}

} // namespace zib
