#pragma once

#include <string>
#include <vector>
#include <wx/listctrl.h>

namespace zib {

// What a document list shows, row by row (texts in UTF-8).
class CItemListSource {
public:
    virtual ~CItemListSource() = default;
    virtual std::string ListCellText(long row, long column) const = 0;
    virtual int ListRowImage(long row) const = 0;
    // Rows drawn in the warning colour (Wq blocks of four that are too large).
    virtual bool ListRowMarked(long) const { return false; }
};

// The report list of a keyboard document: a virtual list that asks its
// source for every cell, with in-place label editing.
class CItemListCtrl : public wxListView {
public:
    CItemListCtrl(wxWindow* parent, CItemListSource& source);

    // Rows
    long FocusedRow() const { return GetFocusedItem(); }
    std::vector<int> SelectedRows() const;
    // Selects exactly `rows`; the focus goes to `focus` (-1: keep).
    void SelectOnly(const std::vector<int>& rows, long focus);

protected:
    wxString OnGetItemText(long item, long column) const override;
    int OnGetItemImage(long item) const override;
    wxItemAttr* OnGetItemAttr(long item) const override;

private:
    CItemListSource& source_;
    mutable wxItemAttr marked_;
};

} // namespace zib
