#pragma once

#include "docs/program/CProgramListView.h"
#include "docs/program/core/ArrListModel.h"

#include <memory>

namespace zib {

// The list view of an arrangement document: thirteen columns per
// arrangement, with moving, renaming, the clipboard, drag and drop and the
// "Arrangement properties" sheet; a click on a program column widens those
// columns and shows program names.
class CZibArrView : public CProgramListView {
public:
    bool OnCreate(wxDocument* doc, long flags) override;

protected:
    std::vector<CProgramListCtrl::Column> Columns() const override;
    int RowCount() const override { return model_ ? model_->RowCount() : 0; }
    std::string CellText(int row, int column) const override { return model_->CellText(row, column); }
    int IconResource() const override;
    std::optional<std::string> ItemName(int row) const override;
    uint64_t ItemSize(int row) const override;
    bool HasItems() const override { return true; }
    std::optional<std::vector<uint8_t>> BeginDrag() override { return model_->BeginDrag(); }
    void EndDrag(bool moved) override { model_->EndDrag(moved); }
    bool DropBlock(const std::vector<uint8_t>& bytes, int row, bool move) override
    {
        return model_->OnDrop(bytes, row, move);
    }
    bool CanBeginLabelEdit(int row) const override;
    void EndLabelEdit(int row, const std::string& text) override { model_->EndLabelEdit(row, text); }
    void KeyDelete() override { model_->OnKeyDelete(); }
    void ColumnClicked(int column) override;
    void Activated() override { Properties(); }
    std::vector<MenuItemDef> PopupMenu() const override;
    void EnablePopup(wxMenu& menu) const override;
    void BindViewCommands() override;

private:
    ArrDocModel& Doc() const;
    void Properties();

    std::unique_ptr<ArrListModel> model_;

    wxDECLARE_DYNAMIC_CLASS(CZibArrView);
};

} // namespace zib
