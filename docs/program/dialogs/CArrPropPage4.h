#pragma once

#include "docs/program/dialogs/CArrPropPage.h"

namespace zib {

// "Track Param 2" (IDD 154): octave, wrap, play status, ext/int, synchro,
// damper and joystick of the nine tracks in a table.
class CArrPropPage4 : public CArrPropPage {
public:
    CArrPropPage4(wxWindow* parent, ArrPageModel& model, const std::string& itemName)
        : CArrPropPage(parent, model, itemName)
    {
        AddTrackTable({"Octave", "Wrap", "Out Status Play", "Ext/Int", "Synchro", "Damper", "Joystick"},
                      ArrPageModel::kRows4);
    }
};

} // namespace zib
