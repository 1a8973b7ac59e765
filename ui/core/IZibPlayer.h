#pragma once

namespace zib {

// A player that the Play/Stop toggle starts and stops: the MIDI bar view's
// playback engine, the style playback console.
class IZibPlayer {
public:
    virtual ~IZibPlayer() = default;
    virtual void StartPlayer() = 0;
    virtual void StopPlayer() = 0;
};

// Kinds of player
enum PlayerKind : int { kNoPlayer = 0, kMidiBarViewPlayer = 1, kStyleConsolePlayer = 2 };

} // namespace zib
