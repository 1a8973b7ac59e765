#include "docs/program/dialogs/CPerformancePropSheet.h"

#include "ui/ZibMessageBox.h"
#include "ui/dialogs/SheetButtons.h"
#include "docs/program/core/PrfSheetModel.h"
#include "docs/style/dialogs/CStsArrangerInfoPropPage.h"
#include "docs/style/dialogs/CStsTune1.h"
#include "docs/style/dialogs/CStylePerformancePropPage.h"

#include <wx/bookctrl.h>

namespace zib {

CPerformancePropSheet::CPerformancePropSheet(wxWindow* parent, PrfSheetModel& model)
    : wxPropertySheetDialog(parent, wxID_ANY, UiTextWx("Performance settings"))
{
    CreateSheetButtons(*this, wxOK | wxCANCEL);
    wxBookCtrlBase* book = GetBookCtrl();
    book->AddPage(new CStylePerformancePropPage(book, model.StylePage()), UiTextWx("Style Performance"));
    book->AddPage(new CStsArrangerInfoPropPage(book, model.ArrangerPage()), UiTextWx("Arranger Info"));
    book->AddPage(new CStsTune1(book, model.StsPage()), UiTextWx("Realtime tracks: Sound, Vol, Pan"));
    LayoutDialog();
    CentreOnParent();
}

} // namespace zib
