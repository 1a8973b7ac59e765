#pragma once

#include "docs/program/dialogs/CArrPropPage.h"

namespace zib {

// "TrackParam1" (IDD 153): program, volume, pan, C and D send of the nine
// tracks in a table.
class CArrPropPage3 : public CArrPropPage {
public:
    CArrPropPage3(wxWindow* parent, ArrPageModel& model, const std::string& itemName)
        : CArrPropPage(parent, model, itemName)
    {
        AddTrackTable({"Program", "Volume", "Panpot", "C Send", "D Send"}, ArrPageModel::kRows);
    }
};

} // namespace zib
