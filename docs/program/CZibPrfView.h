#pragma once

#include "docs/program/CItemListViewT.h"
#include "docs/program/core/PrfListModel.h"

namespace zib {

// The list view of a performance document: name, category/position and size
// per performance, with moving, renaming, the clipboard, drag and drop and
// the category menu of the "Bank/Position" column.
class CZibPrfView : public CItemListViewT<PrfListModel> {
public:
    bool OnCreate(wxDocument* doc, long flags) override;

protected:
    int IconResource() const override { return 189; }
    void ColumnClicked(int column) override;
    void Activated() override { Properties(); }
    // An empty performance has no settings to show.
    bool PropertiesAvailable() const override { return model_->CanEditProperties(); }
    void BindViewCommands() override;

private:
    PrfDocModel& Doc() const;
    // "Performance settings" of the focused performance.
    void Properties();

    wxDECLARE_DYNAMIC_CLASS(CZibPrfView);
};

} // namespace zib
