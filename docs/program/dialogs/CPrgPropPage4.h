#pragma once

#include "docs/program/dialogs/CPrgPropPage.h"

namespace zib {

// Program page 4, "VDF EG" (IDD 167): the filter envelope, with its graph.
class CPrgPropPage4 : public CPrgPropPage {
public:
    CPrgPropPage4(wxWindow* parent, const PcgDocModel& doc, int row) : CPrgPropPage(parent, 4, doc, row) {}
};

} // namespace zib
