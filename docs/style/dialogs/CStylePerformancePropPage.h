#pragma once

#include "docs/style/dialogs/CStsTrackRowsPage.h"

namespace zib {

// The "Style Performance" page: sound, volume and pan of the eight style
// tracks of STS data.
class CStylePerformancePropPage : public CStsTrackRowsPage {
public:
    CStylePerformancePropPage(wxWindow* parent, StsTrackPageModel& model) : CStsTrackRowsPage(parent, model) {}
};

} // namespace zib
