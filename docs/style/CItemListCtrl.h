#pragma once

#include "ui/CListCtrlCustomDraw.h"

#include <string>
#include <vector>

namespace zib {

// What a document list shows, row by row (texts in UTF-8).
class CItemListSource {
public:
    virtual ~CItemListSource() = default;
    virtual std::string ListCellText(long row, long column) const = 0;
    virtual int ListRowImage(long row) const = 0;
};

// The report list of a keyboard document: a virtual custom-drawn list that
// asks its source for every cell, with in-place label editing.
class CItemListCtrl : public CCustomDrawList {
public:
    CItemListCtrl(wxWindow* parent, CItemListSource& source, ListCustomDraw& handler);

    // Rows
    long FocusedRow() const { return GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED); }
    std::vector<int> SelectedRows() const;
    // Selects exactly `rows`; the focus goes to `focus` (-1: keep).
    void SelectOnly(const std::vector<int>& rows, long focus);
    void Select(long row, bool on);

protected:
    wxString OnGetItemText(long item, long column) const override;
    int OnGetItemImage(long item) const override;

private:
    CItemListSource& source_;
};

} // namespace zib
