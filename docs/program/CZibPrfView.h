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
    std::optional<std::string> ItemName(int row) const override;
    uint64_t ItemSize(int row) const override;
    void ColumnClicked(int column) override;
    void BindViewCommands() override;
    // "Performance settings" is built on the STS pages of the style windows.
    bool PropertiesAvailable() const override { return false; }

private:
    PrfDocModel& Doc() const;

    wxDECLARE_DYNAMIC_CLASS(CZibPrfView);
};

} // namespace zib
