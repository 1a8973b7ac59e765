#pragma once

#include "docs/program/dialogs/CPrgPropPage.h"

namespace zib {

// Program page 1, "Program Samples" (IDD 161): oscillator mode and assign, and per oscillator its
// sample, octave, interval, detune, delay, level, sends and pan.
class CPrgPropPage1 : public CPrgPropPage {
public:
    CPrgPropPage1(wxWindow* parent, const PcgDocModel& doc, int row) : CPrgPropPage(parent, 1, doc, row) {}
};

} // namespace zib
