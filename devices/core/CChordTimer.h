#pragma once

#include <cstdint>

namespace zib {

// The console's one-shot chord timer, as a model fed with the time: a
// recognised chord is applied 40 ms after the note that named it, so that the
// notes of a chord played together name it once. Arming an armed timer keeps
// its first deadline. The console starts a window timer when Arm() returns
// true and runs the tick (CChordSwitch::OnChordTimer) when it fires, then
// calls Kill().
class CChordTimer {
public:
    static constexpr unsigned kTimerId = 1;
    static constexpr uint64_t kIntervalMs = 40;

    // Arms the timer to fire 40 ms after `nowMs`; false when it is already armed
    bool Arm(uint64_t nowMs);
    void Kill();

    // State
    bool IsArmed() const { return m_id != 0; }
    unsigned Id() const { return m_id; } // 0 when no timer is armed
    bool IsDue(uint64_t nowMs) const { return IsArmed() && nowMs >= m_deadline; }
    uint64_t Deadline() const { return m_deadline; }

private:
    unsigned m_id = 0;
    uint64_t m_deadline = 0;
};

} // namespace zib
