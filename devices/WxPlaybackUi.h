#pragma once

#include "devices/core/PlaybackUi.h"

class wxWindow;

namespace zib {

// What every window that shows a playback engine does alike: message boxes
// over the window, the status-bar note, and nothing for the event editors
// (the MIDI child frame, which has them, overrides those).
class WxPlaybackUi : public PlaybackUi {
public:
    explicit WxPlaybackUi(wxWindow* owner) : m_owner(owner) {}

    void ShowMessage(int message, const char* caption, PlaybackIcon icon) override;
    void ShowFailure(const std::string& text, const char* caption, PlaybackIcon icon) override;
    void ShowPlaybackError(const std::string& text) override;
    void ShowStatus(const std::string& text) override;
    void SetFromText(const std::string&) override {}
    void SetThruText(const std::string&) override {}
    void SetTempoText(const std::string&) override {}
    void DrawCursor() override {}
    void SetLoopButton(bool) override {}
    void EditorsFollowTick(uint32_t) override {}
    void SyncEditorsToTick(uint32_t) override {}
    void EditorsToEventIndex(int64_t) override {}
    void RefreshTempoEditor() override {}
    void RefreshEventEditor() override {}

private:
    wxWindow* m_owner;
};

} // namespace zib
