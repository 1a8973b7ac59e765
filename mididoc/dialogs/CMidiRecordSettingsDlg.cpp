#include "mididoc/dialogs/CMidiRecordSettingsDlg.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

namespace zib {

CMidiRecordSettingsDlg::CMidiRecordSettingsDlg(wxWindow* parent, uint16_t echoMask)
    : CZibDialog(parent, "MIDI Record Settings"), model_{echoMask}
{
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, T("Echo MIDI channels while Recording"));
    auto* grid = new wxGridSizer(2, 8, 4, 8);
    const auto checks = model_.Checks();
    for (int n = 0; n < 16; ++n) {
        boxes_[size_t(n)] = new wxCheckBox(group->GetStaticBox(), 1973 + n, std::to_string(n + 1));
        boxes_[size_t(n)]->SetValue(checks[size_t(n)]);
        grid->Add(boxes_[size_t(n)]);
    }
    group->Add(grid, 0, wxALL, 4);
    FinishWithOk(group, [this] {
        std::array<bool, 16> checks{};
        for (size_t n = 0; n < 16; ++n) checks[n] = boxes_[n]->GetValue();
        model_.Ok(checks);
    });
}

} // namespace zib
