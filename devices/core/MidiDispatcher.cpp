#include "devices/core/MidiDispatcher.h"

namespace zib {

void ManualMidiDispatcher::Post(std::function<void()> call)
{
    std::lock_guard lock(m_mutex);
    m_calls.push_back(std::move(call));
}

size_t ManualMidiDispatcher::RunPending()
{
    size_t ran = 0;
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard lock(m_mutex);
            if (m_calls.empty()) return ran;
            call = std::move(m_calls.front());
            m_calls.pop_front();
        }
        call();
        ++ran;
    }
}

size_t ManualMidiDispatcher::PendingCount() const
{
    std::lock_guard lock(m_mutex);
    return m_calls.size();
}

} // namespace zib
