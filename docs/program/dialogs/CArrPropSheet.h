#pragma once

#include "docs/program/core/ArrPageModel.h"

#include <memory>
#include <vector>
#include <wx/bookctrl.h>
#include <wx/propdlg.h>

namespace zib {

class CArrPropPage;

// "Arrangement properties": the five pages CArrPropPage1 to 5 over a
// working copy of one arrangement. Leaving a page applies it to the copy;
// OK puts the copy into the document, Cancel drops it.
class CArrPropSheet : public wxPropertySheetDialog {
public:
    CArrPropSheet(wxWindow* parent, ArrDocModel& doc, int row, ArrProgramForm form);
    ~CArrPropSheet() override;

    // OK: the page shown is applied and the copy goes into the document.
    void Apply();

private:
    void OnPageChanging(wxBookCtrlEvent& event);
    void OnPageChanged(wxBookCtrlEvent& event);

    ArrSheetModel model_;
    std::vector<CArrPropPage*> pages_; // owned by the book
};

} // namespace zib
