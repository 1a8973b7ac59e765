#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "mididoc/core/TrackPropertiesDlgModel.h"

#include <functional>
#include <optional>
#include <vector>

class wxChoice;
class wxComboBox;
class wxTextCtrl;

namespace zib {

// "Track Properties" (257): name, input, channel, port, bank, patch, volume
// and pan of one track, banks and patches by name from the instrument of the
// port and channel.
class CTrackPropertiesDlg : public CZibDialog {
public:
    // "Port Instruments...": runs the relation dialog for a port and channel;
    // the saved relations after OK, nothing after Cancel.
    using RunPortInstruments =
        std::function<std::optional<std::vector<TrackPropertiesSources::Relation>>(int port, int channel)>;

    CTrackPropertiesDlg(wxWindow* parent, const TrackProperties& values, TrackPropertiesSources sources,
                        RunPortInstruments runPortInstruments);

    const TrackProperties& Result() const { return result_; }

private:
    void FillLists();
    void OnOk(wxCommandEvent& event);

    TrackPropertiesDlgModel model_;
    TrackProperties result_;
    RunPortInstruments runPortInstruments_;
    wxTextCtrl* name_ = nullptr;
    wxChoice* input_ = nullptr;
    wxChoice* channel_ = nullptr;
    wxChoice* port_ = nullptr;
    wxComboBox* bank_ = nullptr;
    wxChoice* patch_ = nullptr;
    wxTextCtrl* volume_ = nullptr;
    wxTextCtrl* pan_ = nullptr;
};

} // namespace zib
