#pragma once

#include "docs/program/dialogs/CPrgPropPage.h"

namespace zib {

// Program page 11, "VDA Keyboard Tracking" (IDD 163): how the key moves the amplifier, around a
// pivot key.
class CPrgPropPage11 : public CPrgPropPage {
public:
    CPrgPropPage11(wxWindow* parent, const PcgDocModel& doc, int row) : CPrgPropPage(parent, 11, doc, row) {}
};

} // namespace zib
