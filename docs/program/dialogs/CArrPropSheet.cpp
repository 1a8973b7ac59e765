#include "docs/program/dialogs/CArrPropSheet.h"

#include "app/ZibMessageBox.h"
#include "docs/program/dialogs/CArrPropPage.h"

#include <wx/bookctrl.h>

namespace zib {

CArrPropSheet::CArrPropSheet(wxWindow* parent, ArrDocModel& doc, int row, ArrProgramForm form)
    : model_(doc, row, form)
{
    Create(parent, wxID_ANY, UiTextWx("Arrangement properties"));
    CreateButtons(wxOK | wxCANCEL);
    wxBookCtrlBase* book = GetBookCtrl();
    // Every page is built now; each reads the working copy when first shown.
    model_.Show(1);
    for (int p = 1; p <= 5; ++p) {
        auto* page = new CArrPropPage(book, model_.Page(p), model_.ItemName());
        pages_.push_back(page);
        book->AddPage(page, page->Title());
    }
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
