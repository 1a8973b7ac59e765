#pragma once

#include "docs/program/CProgramListView.h"
#include "docs/program/core/PrfListModel.h"

#include <memory>

namespace zib {

// The list view of a performance document: name, category/position and size
// per performance, with moving, renaming, the clipboard, drag and drop and
// the category menu of the "Bank/Position" column.
class CZibPrfView : public CProgramListView {
public:
    bool OnCreate(wxDocument* doc, long flags) override;

protected:
    std::vector<CProgramListCtrl::Column> Columns() const override;
    int RowCount() const override { return model_ ? model_->RowCount() : 0; }
    std::string CellText(int row, int column) const override { return model_->CellText(row, column); }
    int IconResource() const override { return 189; }
    std::optional<std::string> ItemName(int row) const override;
    uint64_t ItemSize(int row) const override;
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
    void ColumnClicked(int column) override;
    std::vector<MenuItemDef> PopupMenu() const override;
    void EnablePopup(wxMenu& menu) const override;
    void BindViewCommands() override;

private:
    PrfDocModel& Doc() const;

    std::unique_ptr<PrfListModel> model_;

    wxDECLARE_DYNAMIC_CLASS(CZibPrfView);
};

} // namespace zib
