#include "devices/core/CPlayerSlot.h"

namespace zib {

void CPlayerSlot::SetPlaying(IZibPlayer* player, PlayerKind kind)
{
    m_active = player;
    m_kind = kind;
    m_playing = 1;
}

void CPlayerSlot::Clear()
{
    m_playing = 0;
    m_active = nullptr;
    m_kind = PlayerKind::None;
}

void CPlayerSlot::StartStopPlayer(IZibPlayer* player, PlayerKind kind)
{
    if (IsPlaying()) {
        if (IZibPlayer* active = ActivePlayer()) active->StopPlayer();
        return;
    }
    if (player != nullptr && kind != PlayerKind::None) player->StartPlayer();
}

} // namespace zib
