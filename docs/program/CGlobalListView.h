#pragma once

#include "docs/program/CProgramListView.h"
#include "docs/program/core/WqGlobalDoc.h"

namespace zib {

// The list view of an arrangement-global or global-data document: one row
// per parameter, its name and its value; Properties and a double click open
// the document's dialog.
class CGlobalListView : public CProgramListView {
protected:
    virtual WqGlobalDoc& Global() const = 0;
    virtual std::string NameColumnTitle() const = 0;
    virtual int NameColumnWidth() const = 0;
    // The model's dialog; true after an OK that changed the document.
    virtual bool RunDialog() = 0;

    std::vector<CProgramListCtrl::Column> Columns() const override;
    int RowCount() const override { return Global().RowCount(); }
    std::string CellText(int row, int column) const override;
    int IconResource() const override;
    void Activated() override { Properties(); }
    void BindViewCommands() override;

private:
    void Properties();
};

} // namespace zib
