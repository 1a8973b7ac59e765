#pragma once

#include "docs/program/dialogs/CPrgPropPage.h"

namespace zib {

// Program page 2, "Pitch EG" (IDD 165): the pitch envelope, with its graph.
class CPrgPropPage2 : public CPrgPropPage {
public:
    CPrgPropPage2(wxWindow* parent, const PcgDocModel& doc, int row) : CPrgPropPage(parent, 2, doc, row) {}
};

} // namespace zib
