#pragma once

#include "docs/program/core/PrgPageModel.h"

#include <vector>
#include <wx/panel.h>

class wxCheckBox;
class wxChoice;
class wxRadioButton;
class wxSpinButton;
class wxTextCtrl;

namespace zib {

class PcgDocModel;

// One program editor page: the controls of its page model's fields, built
// from the page's table. Numbers are an edit field with a spin button, radio
// groups and lists choose their values, pages with an oscillator selector
// show one oscillator at a time, and pages with a graph draw it from the
// current values. Every change goes to the page model at once.
class CPrgPropPage : public wxPanel {
public:
    CPrgPropPage(wxWindow* parent, int page, const PcgDocModel& doc, int row);

    const PrgPageModel& Model() const { return model_; }
    wxString Title() const;
    // The page's tab becomes shown: the first time it reads the item's record.
    void OnShown();

private:
    struct FieldControls {
        const PrgField* field = nullptr;
        wxTextCtrl* edit = nullptr;
        wxSpinButton* spin = nullptr;
        wxChoice* choice = nullptr;
        wxCheckBox* check = nullptr;
        std::vector<wxRadioButton*> radios; // time signs: 3 per time
    };

    void Build();
    wxSizer* BuildField(FieldControls& c);
    // The controls from the model, for the oscillator shown.
    void ShowValues();
    void ShowField(const FieldControls& c);
    void Changed();
    void OnNumberText(FieldControls& c);
    void OnSpin(FieldControls& c);
    void OnChoice(FieldControls& c);

    PrgPageModel model_;
    const PcgDocModel& doc_;
    int row_;
    std::vector<FieldControls> controls_;
    wxRadioButton* osc1_ = nullptr;
    wxRadioButton* osc2_ = nullptr;
    wxWindow* graph_ = nullptr;
    bool showing_ = false; // controls are being filled: their events are not edits
};

} // namespace zib
