#pragma once

#include "ui/core/IZibPlayer.h"

#include <atomic>

namespace zib {

// The program's player fields, seen through one object: whether something
// plays, the active player and its kind. The fields themselves belong to the
// shell, which hands this object out (ShellServices::Player); MIDI delivery
// threads write them too, so they are atomic.
// While the playing flag is set the MIDI views refuse edits and moves.
class PlayerSlot {
public:
    PlayerSlot(std::atomic<int>& playing, std::atomic<IZibPlayer*>& active, std::atomic<int>& kind)
        : m_playing(playing), m_active(active), m_kind(kind)
    {
    }

    bool IsPlaying() const { return m_playing.load() != 0; }
    IZibPlayer* Active() const { return m_active.load(); }
    int Kind() const { return m_kind.load(); }

    // Marks `player` as the one playing
    void SetPlaying(IZibPlayer* player, int kind);
    // Clears the three fields
    void Clear();
    // Clears them when `player` is the active one (a player never clears another's run)
    void ClearIfActive(IZibPlayer* player);

    // The Play/Stop toggle: while something plays, stops the active player;
    // otherwise starts `player` (of `kind`, which that player then records)
    void StartStop(IZibPlayer* player, int kind);

private:
    std::atomic<int>& m_playing;
    std::atomic<IZibPlayer*>& m_active;
    std::atomic<int>& m_kind;
};

} // namespace zib
