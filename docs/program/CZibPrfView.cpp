#include "docs/program/CZibPrfView.h"

#include "ui/ShellServices.h"
#include "docs/program/CZibPrfDoc.h"
#include "docs/program/core/PrfSheetModel.h"
#include "docs/program/dialogs/CPerformancePropSheet.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibPrfView, wxView);

PrfDocModel& CZibPrfView::Doc() const
{
    return static_cast<CZibPrfDoc*>(GetDocument())->Model();
}

bool CZibPrfView::OnCreate(wxDocument* doc, long flags)
{
    return Create<CZibPrfDoc>(doc, flags);
}

void CZibPrfView::BindViewCommands()
{
    PrfListModel& m = *model_;
    BindItemListCommands();
    BindCommand(progcmd::Properties, [this] { Properties(); }, [&m] { return m.CanEditProperties(); });
    list_->Bind(wxEVT_MENU, [this](wxCommandEvent& e) { model_->SetCategory(e.GetId() - progcmd::CategoryFirst); },
                progcmd::CategoryFirst, progcmd::CategoryFirst + progcmd::CategoryCount - 1);
}

void CZibPrfView::ColumnClicked(int column)
{
    if (column != 1) return;
    const int bank = Doc().bank;
    ShowPopup(PrfBanksMenu(), [bank](wxMenu& menu) {
        for (int b = 0; b < progcmd::CategoryCount; ++b)
            menu.Check(progcmd::CategoryFirst + b, b == bank);
    });
}

void CZibPrfView::Properties()
{
    const int row = list_->FocusedRow();
    if (!PrfSheetModel::CanOpen(Doc(), row)) return;
    PrfSheetModel model(Doc(), row);
    CPerformancePropSheet sheet(ShellFrame(), model);
    if (sheet.ShowModal() == wxID_OK && model.Ok()) GetDocument()->UpdateAllViews();
}

} // namespace zib
