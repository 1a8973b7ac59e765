#include "devices/core/CRealtimeMidiStream.h"

#include <chrono>

namespace zib {

namespace {

int64_t steadyMicros()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

CRealtimeMidiStream::CRealtimeMidiStream(std::unique_ptr<IMidiSink> sink, IMidiStreamClient& client)
    : CMidiStream(std::move(sink), client)
{
    m_thread = std::thread([this] { Run(); });
}

CRealtimeMidiStream::~CRealtimeMidiStream()
{
    Quit();
}

int64_t CRealtimeMidiStream::NowUs()
{
    return steadyMicros();
}

void CRealtimeMidiStream::Wake()
{
    {
        std::lock_guard lock(m_wakeMutex);
        m_woken = true;
    }
    m_wake.notify_one();
}

void CRealtimeMidiStream::OnClosed()
{
    Quit();
}

void CRealtimeMidiStream::Quit()
{
    {
        std::lock_guard lock(m_wakeMutex);
        m_quit = true;
    }
    m_wake.notify_one();
    if (!m_thread.joinable()) return;
    if (m_thread.get_id() == std::this_thread::get_id())
        m_thread.detach(); // closed from its own callback: the loop ends after it
    else
        m_thread.join();
}

void CRealtimeMidiStream::Run()
{
    std::unique_lock lock(m_wakeMutex);
    while (!m_quit) {
        m_woken = false;
        lock.unlock();
        const auto due = NextDueUs();
        lock.lock();
        if (m_quit) break;
        if (m_woken) continue; // the queue changed while we looked
        if (!due) {
            m_wake.wait(lock, [this] { return m_woken || m_quit; });
            continue;
        }
        const int64_t wait = *due - steadyMicros();
        if (wait > 0) {
            m_wake.wait_for(lock, std::chrono::microseconds(wait), [this] { return m_woken || m_quit; });
            if (m_quit) break;
            if (m_woken) continue;
        }
        lock.unlock();
        Service(steadyMicros());
        lock.lock();
    }
}

} // namespace zib
