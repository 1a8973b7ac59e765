#include "app/dialogs/CConversionSettingsPage.h"

#include "ui/ZibMessageBox.h"

namespace zib {

CConversionSettingsPage::CConversionSettingsPage(wxWindow* parent) : wxPanel(parent, wxID_ANY) {}

wxString CConversionSettingsPage::T(std::string_view english)
{
    return UiTextWx(english);
}

} // namespace zib
