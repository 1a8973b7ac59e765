#include "devices/core/MidiSession.h"

#include "devices/core/MidiSessionCore.h"

namespace zib {

MidiSession::MidiSession(MidiDeviceList& devices, Delivery delivery, MidiDispatcher* dispatcher)
    : m_core(std::make_shared<MidiSessionCore>(devices, delivery, dispatcher))
{
    m_core->Begin();
}

MidiSession::~MidiSession()
{
    m_core->Shutdown();
}

MidiResult MidiSession::OpenOutStream(int deviceId, OutStreamClient& client, std::unique_ptr<OutStream>& stream)
{
    return m_core->OpenOutStream(deviceId, client, stream);
}

MidiResult MidiSession::OpenInPort(int deviceId, InPortClient& client, std::unique_ptr<InPort>& port)
{
    return m_core->OpenInPort(deviceId, client, port);
}

uint32_t MidiSession::TimeDiv() const
{
    return m_core->TimeDiv();
}

uint32_t MidiSession::Tempo() const
{
    return m_core->Tempo();
}

bool MidiSession::InCallback() const
{
    return m_core->InCallback();
}

} // namespace zib
