#include "devices/core/InPort.h"

#include "devices/core/MidiSessionCore.h"

namespace zib {

InPort::InPort(std::shared_ptr<MidiSessionCore> core, uint64_t generation, int deviceId)
    : m_core(std::move(core)), m_generation(generation), m_deviceId(deviceId)
{
}

InPort::~InPort()
{
    m_core->ClosePort(m_generation);
}

MidiResult InPort::Start()
{
    return m_core->StartPort(m_generation);
}

MidiResult InPort::Close()
{
    return m_core->ClosePort(m_generation);
}

} // namespace zib
