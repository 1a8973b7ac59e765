#pragma once

#include <string>
#include <wx/propdlg.h>

namespace zib {

class StsTrackPageModel;

// "STS settings: %s": the realtime tracks page of one STS.
class CStsPropSheet : public wxPropertySheetDialog {
public:
    CStsPropSheet(wxWindow* parent, const std::string& slotName, StsTrackPageModel& page);
};

} // namespace zib
