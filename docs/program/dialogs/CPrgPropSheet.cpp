#include "docs/program/dialogs/CPrgPropSheet.h"

#include "ui/ZibMessageBox.h"
#include "ui/dialogs/SheetButtons.h"
#include "docs/program/dialogs/CPrgPropPage1.h"
#include "docs/program/dialogs/CPrgPropPage2.h"
#include "docs/program/dialogs/CPrgPropPage3.h"
#include "docs/program/dialogs/CPrgPropPage4.h"
#include "docs/program/dialogs/CPrgPropPage5.h"
#include "docs/program/dialogs/CPrgPropPage6.h"
#include "docs/program/dialogs/CPrgPropPage7.h"
#include "docs/program/dialogs/CPrgPropPage8.h"
#include "docs/program/dialogs/CPrgPropPage9.h"
#include "docs/program/dialogs/CPrgPropPage10.h"
#include "docs/program/dialogs/CPrgPropPage11.h"
#include "docs/program/dialogs/CPrgPropPage12.h"

#include <memory>
#include <wx/bookctrl.h>

namespace zib {

CPrgPropSheet::CPrgPropSheet(wxWindow* parent, PcgDocModel& doc, int row) : doc_(doc)
{
    Create(parent, wxID_ANY, UiTextWx("Program Properties"));
    CreateSheetButtons(*this, wxOK | wxCANCEL);
    wxBookCtrlBase* book = GetBookCtrl();
    const auto add = [&](CPrgPropPage* page) {
        pages_.push_back(page);
        book->AddPage(page, page->Title());
    };
    add(new CPrgPropPage1(book, doc, row));
    add(new CPrgPropPage2(book, doc, row));
    add(new CPrgPropPage3(book, doc, row));
    add(new CPrgPropPage4(book, doc, row));
    add(new CPrgPropPage5(book, doc, row));
    add(new CPrgPropPage6(book, doc, row));
    add(new CPrgPropPage7(book, doc, row));
    add(new CPrgPropPage8(book, doc, row));
    add(new CPrgPropPage9(book, doc, row));
    add(new CPrgPropPage10(book, doc, row));
    add(new CPrgPropPage11(book, doc, row));
    add(new CPrgPropPage12(book, doc, row));
    // A page reads its values when its tab is first shown; OK writes those shown.
    book->Bind(wxEVT_BOOKCTRL_PAGE_CHANGED, [this](wxBookCtrlEvent& e) {
        const int shown = e.GetSelection();
        if (shown >= 0 && shown < int(pages_.size())) pages_[size_t(shown)]->OnShown();
        e.Skip();
    });
    pages_.front()->OnShown();
    LayoutDialog();
}

bool CPrgPropSheet::WritePages()
{
    std::vector<const PrgPageModel*> models;
    for (const CPrgPropPage* page : pages_)
        models.push_back(&page->Model());
    return WritePrgPages(doc_, models);
}

} // namespace zib
