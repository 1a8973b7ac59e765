#include "ui/dialogs/SheetButtons.h"

#include "ui/ZibMessageBox.h"

#include <utility>
#include <wx/propdlg.h>

namespace zib {

void CreateSheetButtons(wxPropertySheetDialog& sheet, int flags)
{
    sheet.CreateButtons(flags);
    for (const auto& [id, label] : {std::pair{wxID_OK, "OK"}, {wxID_CANCEL, "Cancel"}, {wxID_APPLY, "Apply"}})
        if (wxWindow* button = sheet.FindWindow(id)) button->SetLabel(UiTextWx(label));
}

} // namespace zib
