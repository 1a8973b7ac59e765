#pragma once

#include "docs/program/dialogs/CPrgPropPage.h"

namespace zib {

// Program page 8, "VDF Velocity Sensitivity" (IDD 171): how velocity moves the filter's envelope
// and colour.
class CPrgPropPage8 : public CPrgPropPage {
public:
    CPrgPropPage8(wxWindow* parent, const PcgDocModel& doc, int row) : CPrgPropPage(parent, 8, doc, row) {}
};

} // namespace zib
