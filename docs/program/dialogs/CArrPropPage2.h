#pragma once

#include "docs/program/dialogs/CArrPropPage.h"

namespace zib {

// "Drum Map, Chord  Scan" (IDD 152): transpose, kick, snare, the chord scan
// switches and the four drum maps, one labelled row each.
class CArrPropPage2 : public CArrPropPage {
public:
    CArrPropPage2(wxWindow* parent, ArrPageModel& model, const std::string& itemName)
        : CArrPropPage(parent, model, itemName)
    {
        AddRows();
    }
};

} // namespace zib
