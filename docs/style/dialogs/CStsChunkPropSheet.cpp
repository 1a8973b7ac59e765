#include "docs/style/dialogs/CStsChunkPropSheet.h"

#include "ui/ZibMessageBox.h"
#include "ui/dialogs/SheetButtons.h"
#include "ui/dialogs/TitleWidth.h"
#include "docs/style/dialogs/CStsArrangerInfoPropPage.h"
#include "docs/style/dialogs/CStylePerformancePropPage.h"

#include <wx/bookctrl.h>

namespace zib {

CStsChunkPropSheet::CStsChunkPropSheet(wxWindow* parent, StsTrackPageModel& performance,
                                       StsArrangerInfoPageModel& arranger)
    : wxPropertySheetDialog(parent, wxID_ANY, UiTextWx("Style Performance settings"))
{
    CreateSheetButtons(*this, wxOK | wxCANCEL);
    GetBookCtrl()->AddPage(new CStylePerformancePropPage(GetBookCtrl(), performance), UiTextWx("Style Performance"));
    GetBookCtrl()->AddPage(new CStsArrangerInfoPropPage(GetBookCtrl(), arranger), UiTextWx("Arranger Info"));
    LayoutDialog(0);
    WidenToTitle(*this);
    Centre();
}

} // namespace zib
