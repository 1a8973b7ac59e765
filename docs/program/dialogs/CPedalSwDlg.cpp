#include "docs/program/dialogs/CPedalSwDlg.h"

#include "platform/WxText.h"

#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace zib {

CPedalSwDlg::CPedalSwDlg(wxWindow* parent, PedalSwDlgModel& model)
    : CZibDialog(parent, "Pedal & SW Dialog"), model_(model)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, wxFromCp1252(model.name)), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    wxArrayString items;
    for (const auto& o : model.options)
        items.Add(wxFromCp1252(o));
    list_ = new wxChoice(this, 1336, wxDefaultPosition, wxDefaultSize, items);
    list_->SetSelection(model.selection);
    row->Add(list_, 1);
    sizer->Add(row, 0, wxEXPAND | wxBOTTOM, 10);
    sizer->Add(OkCancelRow(), 0, wxEXPAND);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent& e) {
        model_.selection = list_->GetSelection();
        e.Skip();
    }, wxID_OK);
    Finish(sizer);
}

} // namespace zib
