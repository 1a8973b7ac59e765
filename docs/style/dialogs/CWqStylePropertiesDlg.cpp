#include "docs/style/dialogs/CWqStylePropertiesDlg.h"

#include "docs/style/core/WqStylePropertiesModel.h"
#include "platform/WxText.h"

#include <algorithm>
#include <cstdlib>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/stattext.h>

namespace zib {

namespace {

wxArrayString arrayOf(const std::vector<std::string>& texts, bool cp1252 = false)
{
    wxArrayString out;
    for (const std::string& t : texts)
        out.push_back(cp1252 ? wxFromCp1252(t) : wxFromUtf8(t));
    return out;
}

} // namespace

CWqStylePropertiesDlg::CWqStylePropertiesDlg(wxWindow* parent, WqStylePropertiesModel& model,
                                             uint32_t modelLetter)
    : CZibDialog(parent, "Style Parameters"), model_(model)
{
    static constexpr const char* kTracks[] = {"DRUM", "PERC", "BASS", "ACC1", "ACC2", "ACC3"};
    const wxArrayString programs = arrayOf(model.ProgramTexts(), true);
    const std::vector<uint16_t> numbers = WqStylePropertiesModel::ProgramNumbers(modelLetter);
    std::vector<std::string> volumeTexts;
    for (int v = 0; v < 128; ++v)
        volumeTexts.push_back(std::to_string(v));
    const wxArrayString volumes = arrayOf(volumeTexts);
    const wxArrayString pans = arrayOf(WqStylePropertiesModel::PanTexts());
    std::vector<std::string> rangeTexts;
    for (int r = 1; r <= 12; ++r)
        rangeTexts.push_back(std::to_string(r));
    const wxArrayString ranges = arrayOf(rangeTexts);

    auto* head = new wxFlexGridSizer(2, 4, 8);
    head->Add(new wxStaticText(this, wxID_ANY, T("Style Name:")), 0, wxALIGN_CENTER_VERTICAL);
    head->Add(new wxStaticText(this, wxID_ANY, wxFromCp1252(model.name)));
    head->Add(new wxStaticText(this, wxID_ANY, T("Tempo")), 0, wxALIGN_CENTER_VERTICAL);
    tempo_ = new wxComboBox(this, kTempo, wxString::Format("%d", model.tempo), wxDefaultPosition, wxDefaultSize,
                            arrayOf(WqStylePropertiesModel::TempoTexts()));
    head->Add(tempo_);
    head->Add(new wxStaticText(this, wxID_ANY, T("Style Category:")), 0, wxALIGN_CENTER_VERTICAL);
    category_ = new wxChoice(this, kCategory, wxDefaultPosition, wxDefaultSize,
                             arrayOf(WqStylePropertiesModel::CategoryNames()));
    if (model.LayoutB()) category_->SetSelection(model.category);
    category_->Enable(model.LayoutB());
    head->Add(category_);

    auto* grid = new wxFlexGridSizer(7, 4, 8);
    for (const char* title : {"", "Program", "Volume", "Panpot", "Note\nShift Up\nRange", "Note\nRetriger\nSwitch",
                              "Tension"})
        grid->Add(new wxStaticText(this, wxID_ANY, *title ? T(title) : wxString()), 0, wxALIGN_BOTTOM);
    for (int t = 0; t < 6; ++t) {
        const size_t i = size_t(t);
        grid->Add(new wxStaticText(this, wxID_ANY, kTracks[t]), 0, wxALIGN_CENTER_VERTICAL);
        programs_[i] = new wxChoice(this, kProgram + t, wxDefaultPosition, wxDefaultSize, programs);
        const auto at = std::find(numbers.begin(), numbers.end(), model.programs[i]);
        programs_[i]->SetSelection(at == numbers.end() ? -1 : int(at - numbers.begin()));
        grid->Add(programs_[i]);
        volumes_[i] = new wxChoice(this, kVolume + t, wxDefaultPosition, wxDefaultSize, volumes);
        volumes_[i]->SetSelection(model.volumes[i] < 128 ? model.volumes[i] : -1);
        grid->Add(volumes_[i]);
        pans_[i] = new wxChoice(this, kPan + t, wxDefaultPosition, wxDefaultSize, pans);
        pans_[i]->SetSelection(WqStylePropertiesModel::PanIndex(model.pans[i]));
        grid->Add(pans_[i]);
        if (t < 2) {
            grid->AddSpacer(1);
            grid->AddSpacer(1);
        } else {
            ranges_[i - 2] = new wxChoice(this, kRange + t - 2, wxDefaultPosition, wxDefaultSize, ranges);
            ranges_[i - 2]->SetSelection(model.ranges[i - 2] - 1);
            grid->Add(ranges_[i - 2]);
            retrigger_[i - 2] = new wxCheckBox(this, kRetrigger + t - 2, wxString());
            retrigger_[i - 2]->SetValue(model.retrigger[i - 2]);
            grid->Add(retrigger_[i - 2], 0, wxALIGN_CENTER);
        }
        if (t < 3) {
            grid->AddSpacer(1);
        } else {
            tension_[i - 3] = new wxCheckBox(this, kTension + t - 3, wxString());
            tension_[i - 3]->SetValue(model.tension[i - 3]);
            grid->Add(tension_[i - 3], 0, wxALIGN_CENTER);
        }
    }

    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(head, 0, wxBOTTOM, 10);
    content->Add(grid, 1, wxEXPAND | wxBOTTOM, 10);
    FinishOkCancel(content, [this, numbers] {
        std::array<int, 6> volumes{}, pans{};
        for (size_t t = 0; t < 6; ++t) {
            const int p = programs_[t]->GetSelection();
            if (p >= 0 && size_t(p) < numbers.size()) model_.programs[t] = numbers[size_t(p)];
            volumes[t] = volumes_[t]->GetSelection();
            pans[t] = pans_[t]->GetSelection();
        }
        for (size_t i = 0; i < 4; ++i) {
            if (ranges_[i]->GetSelection() >= 0) model_.ranges[i] = ranges_[i]->GetSelection() + 1;
            model_.retrigger[i] = retrigger_[i]->GetValue();
        }
        for (size_t i = 0; i < 3; ++i)
            model_.tension[i] = tension_[i]->GetValue();
        model_.tempo = std::atoi(wxToUtf8(tempo_->GetValue()).c_str());
        model_.Ok(volumes, pans, model_.LayoutB() ? category_->GetSelection() : -1);
    });
}

} // namespace zib
