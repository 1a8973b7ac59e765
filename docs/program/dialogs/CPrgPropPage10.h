#pragma once

#include "docs/program/dialogs/CPrgPropPage.h"

namespace zib {

// Program page 10, "VDF Keyboard Tracking" (IDD 162): how the key moves the filter, around a pivot
// key.
class CPrgPropPage10 : public CPrgPropPage {
public:
    CPrgPropPage10(wxWindow* parent, const PcgDocModel& doc, int row) : CPrgPropPage(parent, 10, doc, row) {}
};

} // namespace zib
