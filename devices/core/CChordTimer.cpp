#include "devices/core/CChordTimer.h"

namespace zib {

bool CChordTimer::Arm(uint64_t nowMs)
{
    if (IsArmed()) return false;
    m_id = kTimerId;
    m_deadline = nowMs + kIntervalMs;
    return true;
}

void CChordTimer::Kill()
{
    m_id = 0;
    m_deadline = 0;
}

} // namespace zib
