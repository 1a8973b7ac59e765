#pragma once

#include <wx/propdlg.h>

namespace zib {

class StsArrangerInfoPageModel;
class StsTrackPageModel;

// "Style Performance settings": the style performance page, then the
// arranger info page (kind 2), over an STS item's data.
class CStsChunkPropSheet : public wxPropertySheetDialog {
public:
    CStsChunkPropSheet(wxWindow* parent, StsTrackPageModel& performance, StsArrangerInfoPageModel& arranger);
};

} // namespace zib
