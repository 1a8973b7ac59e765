#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "mididoc/core/MetronomDlgModel.h"

class wxCheckBox;
class wxRadioButton;
class wxTextCtrl;

namespace zib {

// "Metronom settings" (276): when the metronome sounds, its pre-count, port,
// channel, click length, keys and velocities.
class CMetronomDlg : public CZibDialog {
public:
    CMetronomDlg(wxWindow* parent, const MetronomeSettings& given, int enabledPorts);

    const MetronomeSettings& Settings() const { return result_; }

private:
    wxSizer* NumberField(wxWindow* parent, MetronomDlgModel::Field field, int editId, int spinId, int lo, int hi);
    wxSizer* KeyField(wxWindow* parent, bool first, int editId, int spinId);

    MetronomDlgModel model_;
    MetronomeSettings result_;
    wxCheckBox* playback_ = nullptr;
    wxCheckBox* recording_ = nullptr;
    wxRadioButton* measures_ = nullptr;
    wxRadioButton* beats_ = nullptr;
};

} // namespace zib
