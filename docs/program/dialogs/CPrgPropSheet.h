#pragma once

#include <vector>
#include <wx/propdlg.h>

namespace zib {

class CPrgPropPage;
class PcgDocModel;

// The editor pages of one Wq program or drum kit: the twelve pages
// CPrgPropPage1 ... CPrgPropPage12 in this order over item `row` of the
// document's shown list. The caller writes the pages back after OK.
class CPrgPropSheet : public wxPropertySheetDialog {
public:
    CPrgPropSheet(wxWindow* parent, PcgDocModel& doc, int row);

    // OK: every page shown into the item's record; true when that changed
    // it (the document is then modified).
    bool WritePages();

private:
    PcgDocModel& doc_;
    std::vector<CPrgPropPage*> pages_; // owned by the sheet's book
};

} // namespace zib
