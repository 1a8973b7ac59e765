#include "docs/style/dialogs/CQeKeyChordDlg.h"

#include "docs/style/StyleGuiSupport.h"
#include "docs/style/core/QeKeyChordDlgModel.h"
#include "platform/WxText.h"

#include <wx/choice.h>
#include <wx/stattext.h>

namespace zib {

CQeKeyChordDlg::CQeKeyChordDlg(wxWindow* parent, QeKeyChordDlgModel& model)
    : CZibDialog(parent, "QE Pattern Key-Chord Settings"), model_(model)
{
    const std::vector<std::string> parts = model.TitleParts();
    SetTitle(StyFormat("'%s_%s_%s' KeyChord", {parts[0], parts[1], parts[2]}));
    wxArrayString entries;
    for (const std::string& e : QeKeyChordDlgModel::Entries())
        entries.push_back(wxFromUtf8(e));
    list_ = new wxChoice(this, kList, wxDefaultPosition, wxDefaultSize, entries);
    list_->SetSelection(model.SelectionAtStart());
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(new wxStaticText(this, wxID_ANY, T("Set pattern Key-Chord")), 0, wxBOTTOM, 4);
    content->Add(list_, 0, wxEXPAND | wxBOTTOM, 10);
    FinishOkCancel(content, [this] { model_.Ok(list_->GetSelection()); });
}

} // namespace zib
