#include "ui/core/PlayerSlot.h"

namespace zib {

void PlayerSlot::SetPlaying(IZibPlayer* player, int kind)
{
    m_active.store(player);
    m_kind.store(kind);
    m_playing.store(1);
}

void PlayerSlot::Clear()
{
    m_playing.store(0);
    m_active.store(nullptr);
    m_kind.store(kNoPlayer);
}

void PlayerSlot::ClearIfActive(IZibPlayer* player)
{
    if (m_active.load() == player) Clear();
}

void PlayerSlot::StartStop(IZibPlayer* player, int /*kind*/)
{
    if (IsPlaying()) {
        if (IZibPlayer* active = Active()) active->StopPlayer();
        return;
    }
    if (player) player->StartPlayer();
}

} // namespace zib
