#pragma once

#include "app/core/ConversionSeries.h"

#include <string_view>
#include <vector>
#include <wx/panel.h>

class wxRadioButton;
class wxSizer;

namespace zib {

// Base of the pages of the MIDI-to-style settings sheets: texts in the
// current language and the two radio groups the table pages share, the
// determination switch (1623 "Accept User-defined settings" / 1624) and one
// radio per style element. The sheet calls OnOK on every page when it closes
// with OK; pages hold their values in a model of their own.
class CConversionSettingsPage : public wxPanel {
public:
    explicit CConversionSettingsPage(wxWindow* parent);

    // OK and Apply: the page's controls into its model.
    virtual void OnOK() = 0;

protected:
    static wxString T(std::string_view english);

    // The determination radios, `checkedId` checked.
    wxSizer* MakeDeterminationGroup(const wxString& letApplicationLabel, int checkedId);
    // One radio per element of the series, ids firstId + element, element 0 checked.
    wxSizer* MakeElementGroup(ConversionSeries series, int firstId);

    int CheckedDeterminationRadio() const;
    void EnableElements(bool enable);

private:
    wxRadioButton* acceptUser_ = nullptr;
    wxRadioButton* letApplication_ = nullptr;
    std::vector<wxRadioButton*> elements_;
};

} // namespace zib
