#pragma once

#include "ui/MdiFrameTypes.h"
#include "ui/CZibMdiChild.h"
#include "devices/WxPlaybackUi.h"

#include <memory>
#include <string>

class wxButton;
class wxTextCtrl;

namespace zib {

class PlayMidiFileModel;

// The built-in player window, "TmpRary.mid": plays a temporary MIDI file
// through the playback engine on the MidiOutDevID device (the built-in synth
// when it is not there) and shows Play, Stop and the position. It sets the
// caller's flag while it exists and deletes the file when it closes, also
// while playing or after the file could not be read.
class CPlayMidiFile : public CZibMdiChild, public WxPlaybackUi {
public:
    // Makes the window and starts playing; a file that cannot be read leaves
    // an empty window after "Cannot create MCI PlayBack Window"
    CPlayMidiFile(ZibMdiParentFrame& frame, const wxString& path, uint8_t* playing);
    ~CPlayMidiFile() override;

    // PlaybackUi
    void RequestDelivery() override;
    void SetPositionText(const std::string& text) override;
    void PlaybackFinished(bool sequenceChanged) override;

private:
    void UpdateButtons();

    std::unique_ptr<PlayMidiFileModel> m_model;
    wxButton* m_play = nullptr;
    wxButton* m_stop = nullptr;
    wxTextCtrl* m_position = nullptr;
};

} // namespace zib
