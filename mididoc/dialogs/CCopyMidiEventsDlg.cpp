#include "mididoc/dialogs/CCopyMidiEventsDlg.h"

#include <array>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

namespace zib {

CCopyMidiEventsDlg::CCopyMidiEventsDlg(wxWindow* parent, const CopyEventKinds& kinds)
    : CZibDialog(parent, "Copy MIDI Events"), kinds_(kinds)
{
    using M = CopyMidiEventsDlgModel;
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, T("Events to Copy:"));
    std::array<wxCheckBox*, 4> boxes{};
    const struct {
        int id;
        std::string_view label;
        M::Box box;
    } defs[] = {{1932, "Track events", M::kTrackEvents},
                {1933, "Tempo changes", M::kTempoChanges},
                {1934, "Tact changes", M::kTactChanges},
                {1935, "Markers", M::kMarkers}};
    for (const auto& d : defs) {
        auto* box = new wxCheckBox(group->GetStaticBox(), d.id, T(d.label));
        box->SetValue(M::Checked(kinds, d.box));
        group->Add(box, 0, wxALL, 3);
        boxes[size_t(d.box)] = box;
    }
    FinishWithOk(group, [this, boxes] {
        kinds_ = M::Ok(boxes[M::kTrackEvents]->GetValue(), boxes[M::kTempoChanges]->GetValue(),
                       boxes[M::kTactChanges]->GetValue(), boxes[M::kMarkers]->GetValue());
    });
}

} // namespace zib
