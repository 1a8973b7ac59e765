#pragma once

#include "docs/program/core/ArrPageModel.h"
#include "docs/program/dialogs/CDialogControls.h"

#include <memory>
#include <wx/panel.h>

namespace zib {

// One page of "Arrangement properties" (IDD 151-155): the arrangement's name
// in its "Arrangement Name:" label and the controls of its page model, laid
// out as labelled rows, or for pages 3 and 4 as a table of the nine tracks.
class CArrPropPage : public wxPanel {
public:
    CArrPropPage(wxWindow* parent, ArrPageModel& model, const std::string& itemName);

    wxString Title() const;
    // The model's values into the controls, and back.
    void Load() { controls_->Load(); }
    void Store() { controls_->Store(); }

private:
    ArrPageModel& model_;
    std::unique_ptr<CDialogControls> controls_;
};

} // namespace zib
