#include "docs/program/CZibPrfView.h"

#include "docs/program/CZibPrfDoc.h"

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
    BindItemListCommands();
    // Until the STS pages are there the command stays disabled.
    BindCommand(progcmd::Properties, [] {}, [] { return false; });
    list_->Bind(wxEVT_MENU, [this](wxCommandEvent& e) { model_->SetCategory(e.GetId() - progcmd::CategoryFirst); },
                progcmd::CategoryFirst, progcmd::CategoryFirst + progcmd::CategoryCount - 1);
}

std::optional<std::string> CZibPrfView::ItemName(int row) const
{
    if (row < 0 || row >= Doc().Count()) return std::nullopt;
    return Doc().items[size_t(row)].NameText();
}

uint64_t CZibPrfView::ItemSize(int row) const
{
    return Doc().items[size_t(row)].Size();
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

} // namespace zib
