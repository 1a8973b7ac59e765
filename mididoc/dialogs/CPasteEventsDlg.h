#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "mididoc/core/PositionDlgModels.h"
#include "mididoc/core/PasteEventsDlgModel.h"

#include <array>

class wxButton;
class wxCheckBox;
class wxStaticBoxSizer;
class wxTextCtrl;

namespace zib {

class CPositionEditB;

// "Paste MIDI events" (228): where a paste starts and which kinds of events
// it takes; the "Events to Paste:" panel opens on demand.
class CPasteEventsDlg : public CZibDialog {
public:
    CPasteEventsDlg(wxWindow* parent, const PasteOptions& given, const MeasureContext* context);

    const PasteOptions& Options() const { return result_; }

private:
    void ShowDetails();

    PasteEventsDlgModel model_;
    PasteOptions result_;
    CPositionEditB* position_ = nullptr;
    wxTextCtrl* track_ = nullptr;
    wxCheckBox* oneTrack_ = nullptr;
    wxButton* details_ = nullptr;
    wxStaticBoxSizer* panel_ = nullptr;
    std::array<wxCheckBox*, 4> kinds_{};
};

} // namespace zib
