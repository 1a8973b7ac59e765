#pragma once

#include <cstdint>
#include <string>

namespace zib {

// Icons of the player's message boxes.
enum class PlayerIcon { Stop, Exclamation };

// What the player shows and asks of its window (the MIDI bar view). The
// display calls marked "any thread" come from the MIDI callback threads
// while playing: a window implementation must hand them to the UI thread
// (post an event) and never touch a window there.
class IPlayerView {
public:
    virtual ~IPlayerView() = default;

    // A localized message by its number (UI thread)
    virtual void ShowMessage(int message, const char* caption, PlayerIcon icon) = 0;
    // A device error, shown with the caption "MIDI Playback error" and the
    // exclamation icon (any thread: a refill that fails reports from the
    // callback thread)
    virtual void ShowPlaybackError(const std::string& text) = 0;

    // The end of playback (any thread): post it to the UI thread, which then
    // calls CMidiBarPlayer::FinishMidiPlayback(code)
    virtual void PostPlaybackEnd(int code) = 0;

    // Texts of the position, From, Thru and tempo windows (any thread)
    virtual void SetPositionText(const std::string& text) = 0;
    virtual void SetFromText(const std::string& text) = 0;
    virtual void SetThruText(const std::string& text) = 0;
    virtual void SetTempoText(const std::string& text) = 0;
    // The position cursor over the bar grid (any thread)
    virtual void DrawPositionCursor() = 0;
    // The open event editors follow playback to the played tick (any thread)
    virtual void EditorsFollowPlayedTick(uint32_t tick) = 0;

    // UI thread only
    virtual void SyncEditorsToTick(uint32_t tick) = 0;  // the editors select their row at the tick
    virtual void EditorsToEventIndex(int64_t index) = 0; // the editors go to this event
    virtual void RefreshTempoEditor() = 0;
    virtual void RefreshEventEditor() = 0;
    virtual void SetLoopButton(bool on) = 0;
    // Playback has finished: uncheck Play and Record, redraw the view when
    // recording changed the sequence
    virtual void PlaybackFinished(bool sequenceChanged) = 0;
};

} // namespace zib
