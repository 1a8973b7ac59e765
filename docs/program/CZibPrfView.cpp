#include "docs/program/CZibPrfView.h"

#include "app/core/CommandIds.h"
#include "docs/program/CZibPrfDoc.h"
#include "docs/program/core/ProgramMenus.h"

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibPrfView, wxView);

PrfDocModel& CZibPrfView::Doc() const
{
    return static_cast<CZibPrfDoc*>(GetDocument())->Model();
}

bool CZibPrfView::OnCreate(wxDocument* doc, long flags)
{
    auto* prfDoc = dynamic_cast<CZibPrfDoc*>(doc);
    if (!prfDoc) return false;
    model_ = std::make_unique<PrfListModel>(prfDoc->Model());
    return CProgramListView::OnCreate(doc, flags);
}

void CZibPrfView::BindViewCommands()
{
    PrfListModel& m = *model_;
    BindCommand(progcmd::MoveItemUp, [&m] { m.MoveItem(-1); }, [&m] { return m.CanMove(); });
    BindCommand(progcmd::MoveItemDown, [&m] { m.MoveItem(+1); }, [&m] { return m.CanMove(); });
    BindCommand(cmd::EditCopy, [&m] { m.OnEditCopy(); }, [&m] { return m.CanCopy(); });
    BindCommand(cmd::EditCut, [&m] { m.OnEditCut(); }, [&m] { return m.CanCopy(); });
    BindCommand(cmd::EditPaste, [&m] { m.OnEditPaste(); }, [&m] { return m.CanPaste(); });
    BindCommand(progcmd::RenameItem, [this] {
        const int row = list_->FocusedRow();
        if (row >= 0) list_->EditLabel(row);
    }, [&m] { return m.CanRename(); });
    // "Performance settings" is built on the STS pages of the style windows;
    // until they are there the command stays disabled.
    BindCommand(progcmd::Properties, [] {}, [] { return false; });
    list_->Bind(wxEVT_MENU, [this](wxCommandEvent& e) { model_->SetCategory(e.GetId() - progcmd::CategoryFirst); },
                progcmd::CategoryFirst, progcmd::CategoryFirst + progcmd::CategoryCount - 1);
}

std::vector<CProgramListCtrl::Column> CZibPrfView::Columns() const
{
    std::vector<CProgramListCtrl::Column> columns;
    for (const auto& c : PrfListModel::Columns())
        columns.push_back({std::string(c.title), c.width});
    return columns;
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

std::vector<MenuItemDef> CZibPrfView::PopupMenu() const
{
    return PcgPopupMenu();
}

void CZibPrfView::EnablePopup(wxMenu& menu) const
{
    const bool empty = RowCount() == 0;
    const bool noSelection = empty || list_->SelectedRows().empty();
    menu.Enable(cmd::ToWxId(cmd::EditPaste), model_->CanPaste());
    for (int id : {cmd::EditCut, cmd::EditCopy, progcmd::DeleteItems, progcmd::EmptyItem, progcmd::ExtractItem})
        menu.Enable(cmd::ToWxId(id), !noSelection);
    menu.Enable(cmd::ToWxId(progcmd::Properties), false);
    menu.Enable(cmd::ToWxId(progcmd::RenameItem), !empty && list_->FocusedRow() >= 0);
}

} // namespace zib
