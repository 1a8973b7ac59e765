#pragma once

#include <cstdint>
#include <string>

namespace zib {

enum class PlaybackIcon { Stop, Exclamation };

// Where the playback engine shows what it does: the MIDI bar view and its
// frame's position, marker and tempo windows, the open event editors, the
// main frame's Play and Record buttons. Every call comes on the UI thread:
// from the engine's UI-thread operations, or from PlaybackEngine::DeliverUi,
// which hands on what the MIDI delivery thread posted (the window calls it
// when RequestDelivery asks).
class PlaybackUi {
public:
    virtual ~PlaybackUi() = default;

    // Any thread: posted updates wait; call PlaybackEngine::DeliverUi on the
    // UI thread soon. Not called again until DeliverUi has run.
    virtual void RequestDelivery() = 0;

    // Messages: a localized message by its number with a caption; a text of
    // the engine's (already in the UI language) with a caption; a device
    // error text in a box captioned "MIDI Playback error"; a note in the
    // main frame's status bar
    virtual void ShowMessage(int message, const char* caption, PlaybackIcon icon) = 0;
    virtual void ShowFailure(const std::string& text, const char* caption, PlaybackIcon icon) = 0;
    virtual void ShowPlaybackError(const std::string& text) = 0;
    virtual void ShowStatus(const std::string& text) = 0;

    // The frame's small windows
    virtual void SetPositionText(const std::string& text) = 0;
    virtual void SetFromText(const std::string& text) = 0;
    virtual void SetThruText(const std::string& text) = 0;
    virtual void SetTempoText(const std::string& text) = 0;
    // The position cursor moved (PlaybackEngine::CursorTick says where)
    virtual void DrawCursor() = 0;
    virtual void SetLoopButton(bool on) = 0;

    // The open event editors: follow the played tick while playing; select
    // their row at a tick, or go to an event, when stopped; refresh
    virtual void EditorsFollowTick(uint32_t tick) = 0;
    virtual void SyncEditorsToTick(uint32_t tick) = 0;
    virtual void EditorsToEventIndex(int64_t index) = 0;
    virtual void RefreshTempoEditor() = 0;
    virtual void RefreshEventEditor() = 0;

    // A run has finished: uncheck Play and Record; redraw the view when
    // recording changed the sequence
    virtual void PlaybackFinished(bool sequenceChanged) = 0;
};

} // namespace zib
