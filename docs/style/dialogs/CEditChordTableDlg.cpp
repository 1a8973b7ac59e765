#include "docs/style/dialogs/CEditChordTableDlg.h"

#include "midi/ValueTexts.h"
#include "platform/WxText.h"

#include <wx/choice.h>
#include <wx/stattext.h>

namespace zib {

CEditChordTableDlg::CEditChordTableDlg(wxWindow* parent, EditChordTableDlgModel& model)
    : CZibDialog(parent, "Edit Chord Table"), model_(model)
{
    wxArrayString choices;
    for (const auto& c : model_.Choices())
        choices.push_back(wxFromUtf8(c));
    auto* grid = new wxFlexGridSizer(4, 4, 12);
    for (int t = 0; t < EditChordTableDlgModel::kChordTypes; ++t) {
        grid->Add(new wxStaticText(this, wxID_ANY, wxFromUtf8(GetQeChordName(t) + ":")), 0,
                  wxALIGN_CENTER_VERTICAL);
        auto* box = new wxChoice(this, EditChordTableDlgModel::kFirstCombo + t, wxDefaultPosition,
                                 wxDefaultSize, choices);
        box->SetSelection(model_.SelectedAtStart(t));
        boxes_[size_t(t)] = box;
        grid->Add(box);
    }
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(grid, 1, wxEXPAND | wxBOTTOM, 10);
    FinishOkCancel(content, [this] {
        std::array<int, EditChordTableDlgModel::kChordTypes> chosen{};
        for (size_t t = 0; t < chosen.size(); ++t)
            chosen[t] = boxes_[t]->GetSelection();
        model_.Ok(chosen);
    });
}

} // namespace zib
