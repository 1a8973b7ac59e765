#pragma once

#include "docs/program/dialogs/CArrPropPage.h"

namespace zib {

// "Ensemble, Fill" (IDD 155): ensemble and the two fills, one labelled row
// each.
class CArrPropPage5 : public CArrPropPage {
public:
    CArrPropPage5(wxWindow* parent, ArrPageModel& model, const std::string& itemName)
        : CArrPropPage(parent, model, itemName)
    {
        AddRows();
    }
};

} // namespace zib
