#pragma once

#include "app/core/ElementTableSettingsModel.h"
#include "app/dialogs/CConversionSettingsPage.h"

#include <string>
#include <vector>

class wxComboBox;
class wxRadioButton;
class wxSizer;

namespace zib {

// Base of the two table pages of the MIDI-to-style settings sheets ("Chord
// Table", "CV KeyChord"): the determination switch (1623 "Accept
// User-defined settings" / 1624) and one radio per style element on the left
// of the page's boxes, wired to the page's model. The derived page makes the
// boxes and shows the chosen element in them.
class CElementTableSettingsPage : public CConversionSettingsPage {
public:
    void OnOK() override;

protected:
    // `model` is the derived page's own, used once the page is built.
    CElementTableSettingsPage(wxWindow* parent, ElementTableSettingsModel& model);

    // Lays out the radio groups beside `boxGrid` and binds the radios; the
    // boxes are shown by ShowElement and ShowEnabled.
    void Build(const wxString& letApplicationLabel, wxSizer* boxGrid);
    // The text each box shows.
    std::vector<std::string> Chosen() const;
    void EnableElements(bool enable);

    virtual void ShowElement() = 0;
    virtual void ShowEnabled() = 0;

    std::vector<wxComboBox*> boxes_;

private:
    wxSizer* MakeDeterminationGroup(const wxString& letApplicationLabel);
    wxSizer* MakeElementGroup();
    int CheckedDeterminationRadio() const;

    ElementTableSettingsModel& model_;
    wxRadioButton* acceptUser_ = nullptr;
    wxRadioButton* letApplication_ = nullptr;
    std::vector<wxRadioButton*> elements_;
};

} // namespace zib
