#pragma once

#include "docs/style/dialogs/CStsTrackRowsPage.h"

namespace zib {

// The "Realtime tracks: Sound, Vol, Pan" page of one STS: its four
// realtime tracks LOW, UP1, UP2 and UP3.
class CStsTune1 : public CStsTrackRowsPage {
public:
    CStsTune1(wxWindow* parent, StsTrackPageModel& model) : CStsTrackRowsPage(parent, model) {}
};

} // namespace zib
