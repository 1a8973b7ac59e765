#pragma once

#include "devices/core/CMidiStream.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace zib {

// A MIDI stream on the real clock: its own thread sleeps until the next
// event is due (or the queue changes), plays it and delivers the callbacks.
// Destroy it from another thread than its callbacks.
class CRealtimeMidiStream : public CMidiStream {
public:
    CRealtimeMidiStream(std::unique_ptr<IMidiSink> sink, IMidiStreamClient& client);
    ~CRealtimeMidiStream() override;

protected:
    int64_t NowUs() override;
    void Wake() override;
    void OnClosed() override;

private:
    void Run();
    void Quit();

    std::mutex m_wakeMutex;
    std::condition_variable m_wake;
    bool m_woken = false;
    bool m_quit = false;
    std::thread m_thread;
};

} // namespace zib
