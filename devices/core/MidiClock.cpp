#include "devices/core/MidiClock.h"

#include "devices/core/LockedCopy.h"
#include "devices/core/MidiSessionCore.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace zib {

int64_t SteadyMidiClock::NowUs() const
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t VirtualMidiClock::NowUs() const
{
    return LockedCopy(m_mutex, m_nowUs);
}

void VirtualMidiClock::Attach(const std::shared_ptr<MidiSessionCore>& session)
{
    std::lock_guard lock(m_mutex);
    m_sessions.push_back(session);
}

void VirtualMidiClock::Detach(const MidiSessionCore* session)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_sessions, [session](const std::weak_ptr<MidiSessionCore>& w) {
        auto s = w.lock();
        return !s || s.get() == session;
    });
}

std::shared_ptr<MidiSessionCore> VirtualMidiClock::NextDue(int64_t limitUs, int64_t& dueUs)
{
    // The scratch list keeps its storage (advances are serialised), so a step allocates nothing.
    std::vector<std::shared_ptr<MidiSessionCore>>& sessions = m_scratch;
    sessions.clear();
    {
        std::lock_guard lock(m_mutex);
        for (const auto& w : m_sessions)
            if (auto s = w.lock()) sessions.push_back(std::move(s));
    }
    std::shared_ptr<MidiSessionCore> best;
    for (auto& s : sessions) {
        const int64_t due = s->NextDueUs();
        if (due >= 0 && due <= limitUs && (!best || due < dueUs)) {
            best = s;
            dueUs = due;
        }
    }
    sessions.clear(); // no session is kept alive by the clock
    return best;
}

void VirtualMidiClock::Advance(int64_t us)
{
    AdvanceTo(NowUs() + std::max<int64_t>(0, us));
}

void VirtualMidiClock::AdvanceTo(int64_t timeUs)
{
    std::lock_guard advance(m_advanceMutex); // never from a callback: nested advances would reorder time
    for (;;) {
        int64_t due = 0;
        auto session = NextDue(timeUs, due);
        if (!session) break;
        int64_t now = 0;
        {
            std::lock_guard lock(m_mutex);
            m_nowUs = std::max(m_nowUs, due);
            now = m_nowUs;
        }
        session->Step(now);
    }
    std::lock_guard lock(m_mutex);
    m_nowUs = std::max(m_nowUs, timeUs);
}

bool VirtualMidiClock::RunUntilIdle(int64_t limitUs)
{
    std::lock_guard advance(m_advanceMutex);
    const int64_t limit = NowUs() + limitUs;
    int64_t due = 0;
    for (;;) {
        auto session = NextDue(std::numeric_limits<int64_t>::max(), due);
        if (!session) return true;
        if (due > limit) {
            AdvanceTo(limit);
            return false;
        }
        AdvanceTo(std::max(due, NowUs()));
    }
}

} // namespace zib
