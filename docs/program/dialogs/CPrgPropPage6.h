#pragma once

#include "docs/program/dialogs/CPrgPropPage.h"

namespace zib {

// Program page 6, "VDF MG" (IDD 169): the filter's modulation wave, with its graph.
class CPrgPropPage6 : public CPrgPropPage {
public:
    CPrgPropPage6(wxWindow* parent, const PcgDocModel& doc, int row) : CPrgPropPage(parent, 6, doc, row) {}
};

} // namespace zib
