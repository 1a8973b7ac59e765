#pragma once

#include "docs/program/core/ArrPageModel.h"
#include "docs/program/dialogs/CDialogControls.h"

#include <memory>
#include <string>
#include <vector>
#include <wx/panel.h>

namespace zib {

// What the five pages of "Arrangement properties" (CArrPropPage1 to
// CArrPropPage5, IDD 151-155) share: the arrangement's name in the
// "Arrangement Name:" label above the controls of the page's model, which
// each page lays out as labelled rows or as a table of the nine tracks.
class CArrPropPage : public wxPanel {
public:
    wxString Title() const;
    // The model's values into the controls, and back.
    void Load() { controls_->Load(); }
    void Store() { controls_->Store(); }

protected:
    CArrPropPage(wxWindow* parent, ArrPageModel& model, const std::string& itemName);

    // Layouts: every control as a labelled row, or a table of the nine
    // tracks (keyboard rows from the bottom up) whose cell (track t, column
    // c) holds control firstId + 10 t + c.
    void AddRows();
    void AddTrackTable(const std::vector<std::string>& columns, int firstId);

private:
    ArrPageModel& model_;
    std::unique_ptr<CDialogControls> controls_;
};

} // namespace zib
