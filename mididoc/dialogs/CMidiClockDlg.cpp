#include "mididoc/dialogs/CMidiClockDlg.h"

#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

namespace zib {

CMidiClockDlg::CMidiClockDlg(wxWindow* parent, uint16_t division) : CZibDialog(parent, "MIDI Clock"), division_(division)
{
    static constexpr std::array<int, 12> ids = {1834, 1917, 1918, 1919, 1920, 1921,
                                                1922, 1923, 1924, 1925, 1926, 1927};
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, T("TimeDivision - Ticks Per Quarter Note"));
    auto* grid = new wxGridSizer(3, 4, 4, 12);
    // A hidden first radio stands for "none checked" (a division not in the list).
    auto* none = new wxRadioButton(group->GetStaticBox(), wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                                   wxRB_GROUP);
    none->Hide();
    for (size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i] = new wxRadioButton(group->GetStaticBox(), ids[i],
                                        std::to_string(MidiClockDlgModel::kDivisions[i]));
        grid->Add(buttons_[i]);
    }
    if (auto initial = MidiClockDlgModel::InitialChoice(division))
        buttons_[*initial]->SetValue(true);
    else
        none->SetValue(true);
    group->Add(grid, 0, wxALL, 4);
    FinishWithOk(group, [this] {
        std::optional<size_t> checked;
        for (size_t i = 0; i < buttons_.size(); ++i)
            if (buttons_[i]->GetValue()) checked = i;
        division_ = MidiClockDlgModel::Ok(checked);
    });
}

} // namespace zib
