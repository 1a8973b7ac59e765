#include "devices/core/CMidiInPort.h"

#include "devices/core/IMidiInClient.h"

namespace zib {

CMidiInPort::CMidiInPort(IMidiInClient& client) : m_client(client) {}

CMidiInPort::~CMidiInPort() = default;

MidiResult CMidiInPort::Start()
{
    if (m_closed) return MidiResult::InvalidHandle;
    m_startTime = std::chrono::steady_clock::now();
    m_started = true;
    return MidiResult::NoError;
}

MidiResult CMidiInPort::Stop()
{
    if (m_closed) return MidiResult::InvalidHandle;
    m_started = false;
    return MidiResult::NoError;
}

MidiResult CMidiInPort::Close()
{
    if (m_closed.exchange(true)) return MidiResult::InvalidHandle;
    m_started = false;
    CloseDevice();
    return MidiResult::NoError;
}

void CMidiInPort::Dispatch(uint32_t message)
{
    if (!m_started || m_closed) return;
    const auto elapsed = std::chrono::steady_clock::now() - m_startTime;
    m_client.OnMidiInData(message,
                          uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
}

} // namespace zib
