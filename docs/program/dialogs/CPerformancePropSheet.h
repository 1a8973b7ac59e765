#pragma once

#include <wx/propdlg.h>

namespace zib {

class PrfSheetModel;

// "Performance settings": the style performance page, the arranger info page
// of a performance and the realtime tracks page of the first STS, over the
// pages of the sheet's model.
class CPerformancePropSheet : public wxPropertySheetDialog {
public:
    CPerformancePropSheet(wxWindow* parent, PrfSheetModel& model);
};

} // namespace zib
