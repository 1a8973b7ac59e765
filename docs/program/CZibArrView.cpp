#include "docs/program/CZibArrView.h"

#include "app/CMainFrame.h"
#include "app/core/CommandIds.h"
#include "docs/program/CZibArrDoc.h"
#include "docs/program/ProgramIcons.h"
#include "docs/program/core/ProgramMenus.h"
#include "docs/program/dialogs/CArrPropSheet.h"

#include <wx/textctrl.h>

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibArrView, wxView);

ArrDocModel& CZibArrView::Doc() const
{
    return static_cast<CZibArrDoc*>(GetDocument())->Model();
}

bool CZibArrView::OnCreate(wxDocument* doc, long flags)
{
    auto* arrDoc = dynamic_cast<CZibArrDoc*>(doc);
    if (!arrDoc) return false;
    model_ = std::make_unique<ArrListModel>(arrDoc->Model());
    return CProgramListView::OnCreate(doc, flags);
}

void CZibArrView::BindViewCommands()
{
    ArrListModel& m = *model_;
    BindCommand(progcmd::MoveItemUp, [&m] { m.MoveItem(-1); }, [&m] { return m.CanMove(); });
    BindCommand(progcmd::MoveItemDown, [&m] { m.MoveItem(+1); }, [&m] { return m.CanMove(); });
    BindCommand(cmd::EditCopy, [&m] { m.OnEditCopy(); }, [&m] { return m.CanCopy(); });
    BindCommand(cmd::EditCut, [&m] { m.OnEditCut(); }, [&m] { return m.CanCopy(); });
    BindCommand(cmd::EditPaste, [&m] { m.OnEditPaste(); }, [&m] { return m.CanPaste(); });
    BindCommand(progcmd::RenameItem, [this] {
        const int row = list_->FocusedRow();
        if (row >= 0) list_->EditLabel(row);
    }, [&m] { return m.CanRename(); });
    BindCommand(progcmd::Properties, [this] { Properties(); }, [] { return true; });
    // The edit takes at most the model's name width.
    list_->Bind(wxEVT_LIST_BEGIN_LABEL_EDIT, [this](wxListEvent& e) {
        if (wxTextCtrl* edit = list_->GetEditControl()) edit->SetMaxLength(long(model_->LabelLimit()));
        e.Skip();
    });
}

std::vector<CProgramListCtrl::Column> CZibArrView::Columns() const
{
    std::vector<CProgramListCtrl::Column> columns;
    for (const auto& c : model_->Columns())
        columns.push_back({std::string(c.title), c.width});
    return columns;
}

int CZibArrView::IconResource() const
{
    return ModelIconResource(Doc().model);
}

std::optional<std::string> CZibArrView::ItemName(int row) const
{
    if (row < 0 || row >= Doc().Count()) return std::nullopt;
    return Doc().items[size_t(row)].NameText();
}

uint64_t CZibArrView::ItemSize(int row) const
{
    return Doc().items[size_t(row)].Size();
}

bool CZibArrView::CanBeginLabelEdit(int row) const
{
    return model_->CanBeginLabelEdit(row);
}

void CZibArrView::ColumnClicked(int column)
{
    if (!model_->ColumnClicked(column)) return;
    const auto columns = model_->Columns();
    for (size_t c = 4; c < columns.size() && int(c) < list_->GetColumnCount(); ++c)
        list_->SetColumnWidth(int(c), columns[c].width);
    list_->Refresh();
}

std::vector<MenuItemDef> CZibArrView::PopupMenu() const
{
    return PcgPopupMenu();
}

void CZibArrView::EnablePopup(wxMenu& menu) const
{
    const bool empty = RowCount() == 0;
    const bool noSelection = empty || list_->SelectedRows().empty();
    menu.Enable(cmd::ToWxId(cmd::EditPaste), model_->CanPaste());
    for (int id : {cmd::EditCut, cmd::EditCopy, progcmd::DeleteItems, progcmd::EmptyItem, progcmd::ExtractItem,
                   progcmd::Properties})
        menu.Enable(cmd::ToWxId(id), !noSelection);
    menu.Enable(cmd::ToWxId(progcmd::RenameItem), !empty && list_->FocusedRow() >= 0);
}

void CZibArrView::Properties()
{
    const int row = list_->FocusedRow();
    if (row < 0 || row >= Doc().Count()) return;
    CArrPropSheet sheet(CMainFrame::Get(), Doc(), row, model_->Form());
    if (sheet.ShowModal() != wxID_OK) return;
    GetDocument()->UpdateAllViews();
}

} // namespace zib
