#pragma once

#include "docs/program/CItemListViewT.h"
#include "docs/program/core/ArrListModel.h"

namespace zib {

// The list view of an arrangement document: thirteen columns per
// arrangement, with moving, renaming, the clipboard, drag and drop and the
// "Arrangement properties" sheet; a click on a program column widens those
// columns and shows program names.
class CZibArrView : public CItemListViewT<ArrListModel> {
public:
    bool OnCreate(wxDocument* doc, long flags) override;

protected:
    int IconResource() const override;
    void ColumnClicked(int column) override;
    void Activated() override { Properties(); }
    void BindViewCommands() override;

private:
    ArrDocModel& Doc() const;
    void Properties();

    wxDECLARE_DYNAMIC_CLASS(CZibArrView);
};

} // namespace zib
