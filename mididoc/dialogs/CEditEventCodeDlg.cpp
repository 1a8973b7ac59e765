#include "mididoc/dialogs/CEditEventCodeDlg.h"

#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

namespace zib {

CEditEventCodeDlg::CEditEventCodeDlg(wxWindow* parent, const EditEventCodeDlgModel& model)
    : CZibDialog(parent, "Edit MIDI Event Code Dialog"), model_(model), result_(model.Ok(std::nullopt))
{
    using M = EditEventCodeDlgModel;
    const struct {
        int id;
        std::string_view label;
        M::Button button;
    } buttons[] = {
        {1767, "Note", M::kNote},
        {1768, "Key Pressure", M::kKeyPressure},
        {1769, "Controller", M::kController},
        {1770, "Program Change", M::kProgramChange},
        {1771, "Channel Aftertouch", M::kChannelAftertouch},
        {1772, "Pitch Wheel", M::kPitchWheel},
        {1773, "Text", M::kText},
        {1774, "Lyric", M::kLyric},
        {1775, "Marker", M::kMarker},
    };
    auto* channel = new wxStaticBoxSizer(wxVERTICAL, this, T("Channel"));
    auto* meta = new wxStaticBoxSizer(wxVERTICAL, this, T("Meta"));
    // One group of radios over both boxes; a hidden first radio stands for "none checked".
    auto* none = new wxRadioButton(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    none->Hide();
    for (const auto& b : buttons) {
        wxStaticBoxSizer* box = b.button < M::kText ? channel : meta;
        auto* radio = new wxRadioButton(this, b.id, T(b.label));
        radio->Enable(model_.Enabled(b.button));
        box->Add(radio, 0, wxALL, 3);
        buttons_[size_t(b.button)] = radio;
    }
    if (auto initial = model_.InitialButton())
        buttons_[size_t(*initial)]->SetValue(true);
    else
        none->SetValue(true);
    auto* groups = new wxBoxSizer(wxHORIZONTAL);
    groups->Add(channel, 1, wxEXPAND | wxRIGHT, 8);
    groups->Add(meta, 1, wxEXPAND);
    FinishWithOk(groups, [this] {
        std::optional<EditEventCodeDlgModel::Button> checked;
        for (size_t i = 0; i < buttons_.size() && !checked; ++i)
            if (buttons_[i]->GetValue()) checked = EditEventCodeDlgModel::Button(i);
        result_ = model_.Ok(checked);
    });
}

} // namespace zib
