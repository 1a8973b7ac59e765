#pragma once

#include "ui/dialogs/CZibDialog.h"
#include "devices/core/MidiSettingsDlgModel.h"

class wxCheckBox;
class wxChoice;
class wxRadioButton;

namespace zib {

// "MIDI settings" (235): the style playback devices, the way a MIDI file is
// played from a command, percussion on the drum channel.
class CMidiSettingsDlg : public CZibDialog {
public:
    CMidiSettingsDlg(wxWindow* parent, const PlaybackValues& values, const MidiDeviceNames& devices);

    // After OK: the values the dialog ended with
    const PlaybackValues& Values() const { return values_; }

private:
    void OnOk(wxCommandEvent& event);

    MidiSettingsDlgModel model_;
    PlaybackValues values_;
    wxChoice* in_ = nullptr;
    wxChoice* out_ = nullptr;
    wxRadioButton* external_ = nullptr;
    wxRadioButton* builtIn_ = nullptr;
    wxCheckBox* percussion_ = nullptr;
};

} // namespace zib
