#pragma once

#include "docs/program/dialogs/CPrgPropPage.h"

namespace zib {

// Program page 7, "VDF MG controllers / VDA level / Controllers" (IDD 170): the joystick and
// aftertouch controllers of modulation, level, pitch bend and cutoff.
class CPrgPropPage7 : public CPrgPropPage {
public:
    CPrgPropPage7(wxWindow* parent, const PcgDocModel& doc, int row) : CPrgPropPage(parent, 7, doc, row) {}
};

} // namespace zib
