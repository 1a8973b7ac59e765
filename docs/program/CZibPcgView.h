#pragma once

#include "docs/program/CItemListViewT.h"
#include "docs/program/core/PcgListModel.h"

namespace zib {

// The list view of a program document: the programs, or a Wq document's drum
// kits, one row each, with the commands of the list (move up and down, copy,
// cut, paste, drag and drop, rename, the bank menu of Qe documents, the
// switch between programs and drum kits, and the editor pages).
class CZibPcgView : public CItemListViewT<PcgListModel> {
public:
    bool OnCreate(wxDocument* doc, long flags) override;

protected:
    int IconResource() const override;
    void ColumnClicked(int column) override;
    void Activated() override { Properties(); }
    void BindViewCommands() override;

private:
    PcgDocModel& Doc() const;
    void Properties();

    wxDECLARE_DYNAMIC_CLASS(CZibPcgView);
};

} // namespace zib
