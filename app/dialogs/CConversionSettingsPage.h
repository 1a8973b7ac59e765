#pragma once

#include <string_view>
#include <wx/panel.h>

namespace zib {

// Base of the pages of the MIDI-to-style settings sheets: texts in the
// current language. The sheet calls OnOK on every page when it closes with
// OK; pages hold their values in a model of their own.
class CConversionSettingsPage : public wxPanel {
public:
    explicit CConversionSettingsPage(wxWindow* parent);

    // OK and Apply: the page's controls into its model.
    virtual void OnOK() = 0;

protected:
    static wxString T(std::string_view english);
};

} // namespace zib
