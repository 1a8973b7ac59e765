#pragma once

#include "docs/program/CProgramListView.h"
#include "docs/program/core/PcgListModel.h"

#include <memory>

namespace zib {

class CZibPcgDoc;

// The list view of a program document: the programs, or a Wq document's drum
// kits, one row each, with the commands of the list (move up and down, copy,
// cut, paste, drag and drop, rename, the bank menu of Qe documents, the
// switch between programs and drum kits, and the editor pages).
class CZibPcgView : public CProgramListView {
public:
    CZibPcgView() = default;
    PcgListModel& ListModel() { return *model_; }

    bool OnCreate(wxDocument* doc, long flags) override;

protected:
    std::vector<CProgramListCtrl::Column> Columns() const override;
    int RowCount() const override;
    std::string CellText(int row, int column) const override;
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
    bool CanBeginLabelEdit(int row) const override { return model_->CanBeginLabelEdit(row); }
    void EndLabelEdit(int row, const std::string& text) override { model_->EndLabelEdit(row, text); }
    void KeyDelete() override { model_->OnKeyDelete(); }
    void ColumnClicked(int column) override;
    void Activated() override { Properties(); }
    std::vector<MenuItemDef> PopupMenu() const override;
    void EnablePopup(wxMenu& menu) const override;
    void BindViewCommands() override;

private:
    PcgDocModel& Doc() const;
    void Properties();

    std::unique_ptr<PcgListModel> model_;

    wxDECLARE_DYNAMIC_CLASS(CZibPcgView);
};

} // namespace zib
