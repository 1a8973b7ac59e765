#include "docs/program/dialogs/CArrPropSheet.h"

#include "ui/ZibMessageBox.h"
#include "ui/dialogs/SheetButtons.h"
#include "docs/program/dialogs/CArrPropPage1.h"
#include "docs/program/dialogs/CArrPropPage2.h"
#include "docs/program/dialogs/CArrPropPage3.h"
#include "docs/program/dialogs/CArrPropPage4.h"
#include "docs/program/dialogs/CArrPropPage5.h"

#include <wx/bookctrl.h>

namespace zib {

CArrPropSheet::CArrPropSheet(wxWindow* parent, ArrDocModel& doc, int row, ArrProgramForm form)
    : model_(doc, row, form)
{
    Create(parent, wxID_ANY, UiTextWx("Arrangement properties"));
    CreateSheetButtons(*this, wxOK | wxCANCEL);
    wxBookCtrlBase* book = GetBookCtrl();
    // Every page is built now; each reads the working copy when first shown.
    model_.Show(1);
    const std::string& name = model_.ItemName();
    pages_ = {new CArrPropPage1(book, model_.Page(1), name), new CArrPropPage2(book, model_.Page(2), name),
              new CArrPropPage3(book, model_.Page(3), name), new CArrPropPage4(book, model_.Page(4), name),
              new CArrPropPage5(book, model_.Page(5), name)};
    for (CArrPropPage* page : pages_)
        book->AddPage(page, page->Title());
    book->Bind(wxEVT_BOOKCTRL_PAGE_CHANGING, &CArrPropSheet::OnPageChanging, this);
    book->Bind(wxEVT_BOOKCTRL_PAGE_CHANGED, &CArrPropSheet::OnPageChanged, this);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent& e) {
        Apply();
        e.Skip();
    }, wxID_OK);
    LayoutDialog();
}

CArrPropSheet::~CArrPropSheet() = default;

void CArrPropSheet::OnPageChanging(wxBookCtrlEvent& event)
{
    const int old = event.GetOldSelection();
    if (old >= 0 && old < int(pages_.size())) {
        pages_[size_t(old)]->Store();
        model_.Leave(old + 1);
    }
    event.Skip();
}

void CArrPropSheet::OnPageChanged(wxBookCtrlEvent& event)
{
    const int shown = event.GetSelection();
    if (shown >= 0 && shown < int(pages_.size())) {
        model_.Show(shown + 1);
        pages_[size_t(shown)]->Load();
    }
    event.Skip();
}

void CArrPropSheet::Apply()
{
    const int shown = GetBookCtrl()->GetSelection();
    if (shown < 0) return;
    pages_[size_t(shown)]->Store();
    model_.Ok(shown + 1);
}

} // namespace zib
