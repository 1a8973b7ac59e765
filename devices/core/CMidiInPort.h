#pragma once

#include "devices/core/MidiResult.h"

#include <atomic>
#include <chrono>
#include <cstdint>

namespace zib {

class IMidiInClient;

// An open MIDI input: messages reach the client only between Start() and
// Stop(); after Close() none comes. Backends call Dispatch() from their
// receiving thread.
class CMidiInPort {
public:
    explicit CMidiInPort(IMidiInClient& client);
    virtual ~CMidiInPort();
    CMidiInPort(const CMidiInPort&) = delete;
    CMidiInPort& operator=(const CMidiInPort&) = delete;

    // Transport
    MidiResult Start();
    MidiResult Stop();
    MidiResult Close();
    bool IsStarted() const { return m_started.load(); }

protected:
    // Hands a received short message to the client when the port is started
    void Dispatch(uint32_t message);
    // The backend's own closing (stop its receiving thread); called once
    virtual void CloseDevice() {}

private:
    IMidiInClient& m_client;
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_closed{false};
    std::chrono::steady_clock::time_point m_startTime{};
};

} // namespace zib
