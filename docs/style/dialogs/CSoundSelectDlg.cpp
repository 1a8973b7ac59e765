#include "docs/style/dialogs/CSoundSelectDlg.h"

#include "docs/style/StyleGuiSupport.h"
#include "docs/style/core/SoundSelectDlgModel.h"
#include "docs/style/dialogs/CSoundListBox.h"
#include "platform/Cp1252.h"

namespace zib {

CSoundSelectDlg::CSoundSelectDlg(wxWindow* parent, SoundSelectDlgModel& model)
    : CZibDialog(parent, "Sounds", wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER), model_(model)
{
    chosen_ = model.Ok(-1);
    list_ = new CSoundListBox(this, kList, model.List());
    list_->SetMinSize(wxSize(360, 420));
    const int start = model.SelectionAtStart();
    if (start >= 0) {
        list_->SetSelection(start);
        list_->ScrollToRow(size_t(start));
    }
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(list_, 1, wxEXPAND | wxBOTTOM, 10);
    FinishOkCancel(content, [this] { chosen_ = model_.Ok(list_->GetSelection()); });
    ShowTitle();
    list_->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { ShowTitle(); });
    list_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) {
        chosen_ = model_.Ok(list_->GetSelection());
        EndModal(wxID_OK);
    });
}

void CSoundSelectDlg::ShowTitle()
{
    const int selection = list_->GetSelection();
    std::vector<std::string> args = model_.TitleArgs(selection);
    if (!args.empty()) args.back() = cp1252ToUtf8(args.back());
    auto arg = [&args](size_t i) { return i < args.size() ? std::string_view(args[i]) : std::string_view(); };
    SetTitle(StyFormat(model_.TitleFormat(selection), {arg(0), arg(1), arg(2), arg(3)}));
}

} // namespace zib
