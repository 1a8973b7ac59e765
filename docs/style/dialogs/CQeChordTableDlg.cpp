#include "docs/style/dialogs/CQeChordTableDlg.h"

#include "docs/style/StyleGuiSupport.h"
#include "docs/style/core/QeChordTableDlgModel.h"
#include "platform/WxText.h"

#include <wx/choice.h>
#include <wx/stattext.h>

namespace zib {

CQeChordTableDlg::CQeChordTableDlg(wxWindow* parent, QeChordTableDlgModel& model)
    : CZibDialog(parent, "Edit QE Chord Table"), model_(model)
{
    SetTitle(StyFormat("'%s' Chord Table", {model.ElementName()}));
    wxArrayString names;
    for (const std::string& n : model.OfferedNames())
        names.push_back(wxFromUtf8(n));
    auto* grid = new wxFlexGridSizer(4, 4, 12);
    for (int i = 0; i < QeChordTableDlgModel::kChordTypes; ++i) {
        grid->Add(new wxStaticText(this, wxID_ANY, wxFromUtf8(QeChordTableDlgModel::ChordLabel(i))), 0,
                  wxALIGN_CENTER_VERTICAL);
        auto* list = new wxChoice(this, kFirstList + i, wxDefaultPosition, wxDefaultSize, names);
        list->SetSelection(model.SelectionAtStart(i));
        lists_[size_t(i)] = list;
        grid->Add(list);
    }
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(grid, 1, wxEXPAND | wxBOTTOM, 10);
    FinishOkCancel(content, [this] {
        std::array<int, QeChordTableDlgModel::kChordTypes> selections{};
        for (size_t i = 0; i < selections.size(); ++i)
            selections[i] = lists_[i]->GetSelection();
        model_.Ok(selections);
    });
}

} // namespace zib
