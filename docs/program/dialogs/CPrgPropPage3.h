#pragma once

#include "docs/program/dialogs/CPrgPropPage.h"

namespace zib {

// Program page 3, "VDF" (IDD 166): the filter's cutoff, envelope intensity and colour.
class CPrgPropPage3 : public CPrgPropPage {
public:
    CPrgPropPage3(wxWindow* parent, const PcgDocModel& doc, int row) : CPrgPropPage(parent, 3, doc, row) {}
};

} // namespace zib
