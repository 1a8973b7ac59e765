#pragma once

#include "docs/program/dialogs/CPrgPropPage.h"

namespace zib {

// Program page 5, "VDA EG" (IDD 168): the amplifier envelope, with its graph.
class CPrgPropPage5 : public CPrgPropPage {
public:
    CPrgPropPage5(wxWindow* parent, const PcgDocModel& doc, int row) : CPrgPropPage(parent, 5, doc, row) {}
};

} // namespace zib
