#include "docs/program/dialogs/CArrPropPage.h"

#include "ui/ZibMessageBox.h"
#include "platform/WxText.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

namespace zib {

CArrPropPage::CArrPropPage(wxWindow* parent, ArrPageModel& model, const std::string& itemName)
    : wxPanel(parent, wxID_ANY), model_(model)
{
    controls_ = std::make_unique<CDialogControls>(this, model.Controls());
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* name = new wxBoxSizer(wxHORIZONTAL);
    name->Add(new wxStaticText(this, wxID_ANY, UiTextWx("Arrangement Name:")), 0, wxRIGHT, 6);
    name->Add(new wxStaticText(this, wxID_ANY, wxFromCp1252(itemName)));
    sizer->Add(name, 0, wxALL, 6);
    SetSizer(sizer);
}

void CArrPropPage::AddRows()
{
    std::vector<int> ids;
    for (const auto& c : model_.Controls())
        ids.push_back(c.id);
    GetSizer()->Add(controls_->Rows(ids), 0, wxALL | wxEXPAND, 6);
    Load();
}

void CArrPropPage::AddTrackTable(const std::vector<std::string>& columns, int firstId)
{
    // The keyboard rows show from the bottom up: LOW, UP2, UP1 under ACC3.
    static constexpr int kOrder[9] = {0, 1, 2, 3, 4, 5, 8, 7, 6};
    std::vector<std::string> rows;
    for (int r : kOrder)
        rows.push_back(ArrPageModel::RowName(r));
    ArrPageModel& m = model_;
    GetSizer()->Add(controls_->Table(rows, columns,
                                     [&m, firstId](int row, int column) {
                                         const int id = firstId + 10 * kOrder[row] + column;
                                         return m.Control(id) ? id : 0;
                                     }),
                    0, wxALL, 6);
    Load();
}

wxString CArrPropPage::Title() const
{
    return UiTextWx(model_.Title());
}

} // namespace zib
