#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "devices/core/MidiPortsDlgModel.h"

#include <vector>

class wxListBox;

namespace zib {

// "Select MIDI Ports" (258): the MIDI IN and OUT devices of the playback
// engine; the order of the selected OUT devices numbers the user's ports.
class CMidiPortsDlg : public CZibDialog {
public:
    // Help is inert: there is no help system.
    static constexpr int kIdHelp = wxID_HELP;

    CMidiPortsDlg(wxWindow* parent, const MidiPortsValues& values, const MidiDeviceNames& devices);

    // After OK: the two port maps
    const MidiPortsValues& Values() const { return values_; }

private:
    void OnOk(wxCommandEvent& event);
    static std::vector<bool> Selections(const wxListBox* list);

    MidiPortsDlgModel model_;
    MidiPortsValues values_;
    wxListBox* in_ = nullptr;
    wxListBox* out_ = nullptr;
};

} // namespace zib
