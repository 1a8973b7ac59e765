#include "docs/style/dialogs/CStsPropSheet.h"

#include "ui/ZibMessageBox.h"
#include "ui/dialogs/SheetButtons.h"
#include "ui/dialogs/TitleWidth.h"
#include "docs/style/StyleGuiSupport.h"
#include "docs/style/dialogs/CStsTune1.h"

#include <wx/bookctrl.h>

namespace zib {

CStsPropSheet::CStsPropSheet(wxWindow* parent, const std::string& slotName, StsTrackPageModel& page)
    : wxPropertySheetDialog(parent, wxID_ANY, StyFormat("STS settings: %s", {slotName}))
{
    CreateSheetButtons(*this, wxOK | wxCANCEL);
    GetBookCtrl()->AddPage(new CStsTune1(GetBookCtrl(), page), UiTextWx("Realtime tracks: Sound, Vol, Pan"));
    LayoutDialog(0);
    WidenToTitle(*this);
    Centre();
}

} // namespace zib
