#include "docs/program/dialogs/CLabelledChoiceDlg.h"

#include "platform/WxText.h"

#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace zib {

CLabelledChoiceDlg::CLabelledChoiceDlg(wxWindow* parent, std::string_view englishTitle, int labelId,
                                       const std::string& label, int listId,
                                       const std::vector<std::string>& options, int& selection)
    : CZibDialog(parent, englishTitle)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, labelId, wxFromCp1252(label)), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    wxArrayString items;
    for (const auto& o : options)
        items.Add(wxFromCp1252(o));
    list_ = new wxChoice(this, listId, wxDefaultPosition, wxDefaultSize, items);
    list_->SetSelection(selection);
    row->Add(list_, 1);
    sizer->Add(row, 0, wxEXPAND | wxBOTTOM, 10);
    sizer->Add(OkCancelRow(), 0, wxEXPAND);
    Bind(
        wxEVT_BUTTON,
        [this, &selection](wxCommandEvent& e) {
            selection = list_->GetSelection();
            e.Skip();
        },
        wxID_OK);
    Finish(sizer);
}

} // namespace zib
