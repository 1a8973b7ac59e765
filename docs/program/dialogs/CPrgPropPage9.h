#pragma once

#include "docs/program/dialogs/CPrgPropPage.h"

namespace zib {

// Program page 9, "VDA Velocity Sensitivity" (IDD 172): how velocity moves the amplifier's level
// and times.
class CPrgPropPage9 : public CPrgPropPage {
public:
    CPrgPropPage9(wxWindow* parent, const PcgDocModel& doc, int row) : CPrgPropPage(parent, 9, doc, row) {}
};

} // namespace zib
