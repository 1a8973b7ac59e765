#pragma once

#include "docs/program/dialogs/CPrgPropPage.h"

namespace zib {

// Program page 12, "Vibrato & Vibrato Controllers" (IDD 164): vibrato's wave, delay, fade-in and
// controllers, with its graph.
class CPrgPropPage12 : public CPrgPropPage {
public:
    CPrgPropPage12(wxWindow* parent, const PcgDocModel& doc, int row) : CPrgPropPage(parent, 12, doc, row) {}
};

} // namespace zib
