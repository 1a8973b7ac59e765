#pragma once

#include "ui/core/CommandIds.h"
#include "docs/program/CProgramListView.h"
#include "docs/program/core/ProgramMenus.h"

#include <memory>
#include <string>
#include <wx/menu.h>

namespace zib {

// What the program, performance and arrangement lists share over their list
// models: the rows and cells, dragging and dropping blocks, renaming, the
// Delete key, the move, clipboard and rename commands and the popup's rules.
// `ListModel` offers RowCount, CellText, Columns, MoveItem, CanMove, CanCopy,
// CanPaste, CanRename, OnEditCopy, OnEditCut, OnEditPaste, BeginDrag, EndDrag,
// OnDrop, CanBeginLabelEdit, EndLabelEdit and OnKeyDelete.
template <class ListModel> class CItemListViewT : public CProgramListView {
public:
    ListModel& ListModelOf() { return *model_; }

protected:
    // The view's model is made before the base builds the window.
    template <class Doc> bool Create(wxDocument* doc, long flags)
    {
        auto* typed = dynamic_cast<Doc*>(doc);
        if (!typed) return false;
        model_ = std::make_unique<ListModel>(typed->Model());
        return CProgramListView::OnCreate(doc, flags);
    }

    std::vector<CProgramListCtrl::Column> Columns() const override
    {
        std::vector<CProgramListCtrl::Column> columns;
        for (const auto& c : model_->Columns())
            columns.push_back({std::string(c.title), c.width});
        return columns;
    }
    int RowCount() const override { return model_ ? model_->RowCount() : 0; }
    std::string CellText(int row, int column) const override { return model_->CellText(row, column); }
    std::optional<std::string> ItemName(int row) const override
    {
        if (row < 0 || row >= RowCount()) return std::nullopt;
        return model_->RowItem(row).NameText();
    }
    uint64_t ItemSize(int row) const override { return model_->RowItem(row).Size(); }
    bool HasItems() const override { return true; }
    std::optional<std::vector<uint8_t>> BeginDrag() override { return model_->BeginDrag(); }
    void EndDrag(bool moved) override { model_->EndDrag(moved); }
    bool DropBlock(const std::vector<uint8_t>& bytes, int row, bool move) override
    {
        return model_->OnDrop(bytes, row, move);
    }
    bool CanBeginLabelEdit(int row) const override { return model_->CanBeginLabelEdit(row); }
    void EndLabelEdit(int row, const std::string& text) override { model_->EndLabelEdit(row, text); }
    void KeyDelete() override { model_->OnKeyDelete(); }
    std::vector<MenuItemDef> PopupMenu() const override { return PcgPopupMenu(); }

    // Paste needs the private format on the clipboard; Cut, Copy, Delete,
    // Empty, Extract and Properties a selection; Rename a focused row.
    void EnablePopup(wxMenu& menu) const override
    {
        const bool empty = RowCount() == 0;
        const bool noSelection = empty || list_->SelectedRows().empty();
        menu.Enable(cmd::ToWxId(cmd::EditPaste), model_->CanPaste());
        for (int id : {cmd::EditCut, cmd::EditCopy, progcmd::DeleteItems, progcmd::EmptyItem, progcmd::ExtractItem,
                       progcmd::Properties})
            menu.Enable(cmd::ToWxId(id), !noSelection && (id != progcmd::Properties || PropertiesAvailable()));
        menu.Enable(cmd::ToWxId(progcmd::RenameItem), !empty && list_->FocusedRow() >= 0);
    }
    virtual bool PropertiesAvailable() const { return true; }

    // The commands every item list has.
    void BindItemListCommands()
    {
        ListModel& m = *model_;
        BindCommand(progcmd::MoveItemUp, [&m] { m.MoveItem(-1); }, [&m] { return m.CanMove(); });
        BindCommand(progcmd::MoveItemDown, [&m] { m.MoveItem(+1); }, [&m] { return m.CanMove(); });
        BindCommand(cmd::EditCopy, [&m] { m.OnEditCopy(); }, [&m] { return m.CanCopy(); });
        BindCommand(cmd::EditCut, [&m] { m.OnEditCut(); }, [&m] { return m.CanCopy(); });
        BindCommand(cmd::EditPaste, [&m] { m.OnEditPaste(); }, [&m] { return m.CanPaste(); });
        BindCommand(progcmd::RenameItem, [this] {
            const int row = list_->FocusedRow();
            if (row >= 0) list_->EditLabel(row);
        }, [&m] { return m.CanRename(); });
    }

    std::unique_ptr<ListModel> model_;
};

} // namespace zib
