#pragma once

#include <atomic>

namespace zib {

// A player that the Play/Stop toggle can start and stop.
class IZibPlayer {
public:
    virtual ~IZibPlayer() = default;
    virtual void StartPlayer() = 0;
    virtual void StopPlayer() = 0;
};

// Kinds of player
enum class PlayerKind : int { None = 0, MidiBarView = 1, StylePlaybackConsole = 2 };

// The application's one player slot: whether something plays, which player
// and of what kind. The MIDI views refuse edits and moves while it plays.
// The playing flag is written from the MIDI callback threads too.
class CPlayerSlot {
public:
    bool IsPlaying() const { return m_playing.load() != 0; }
    IZibPlayer* ActivePlayer() const { return m_active.load(); }
    PlayerKind ActiveKind() const { return m_kind.load(); }

    // Marks `player` as playing, or clears the slot
    void SetPlaying(IZibPlayer* player, PlayerKind kind);
    void Clear();

    // The Play/Stop toggle: while something plays, stops the active player;
    // otherwise starts `player`
    void StartStopPlayer(IZibPlayer* player, PlayerKind kind);

private:
    std::atomic<int> m_playing{0};
    std::atomic<IZibPlayer*> m_active{nullptr};
    std::atomic<PlayerKind> m_kind{PlayerKind::None};
};

} // namespace zib
