#pragma once

#include "docs/program/dialogs/CArrPropPage.h"

namespace zib {

// "Style, KbdAssign" (IDD 151): tempo, style, initial variation, split and
// keyboard assign, one labelled row each.
class CArrPropPage1 : public CArrPropPage {
public:
    CArrPropPage1(wxWindow* parent, ArrPageModel& model, const std::string& itemName)
        : CArrPropPage(parent, model, itemName)
    {
        AddRows();
    }
};

} // namespace zib
