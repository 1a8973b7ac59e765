#include "devices/core/OutStream.h"

#include "devices/core/MidiSessionCore.h"

namespace zib {

OutStream::OutStream(std::shared_ptr<MidiSessionCore> core, uint64_t generation, int deviceId)
    : m_core(std::move(core)), m_generation(generation), m_deviceId(deviceId)
{
}

OutStream::~OutStream()
{
    m_core->CloseStream(m_generation);
}

MidiResult OutStream::SetTimeDiv(uint32_t ticksPerQuarter)
{
    return m_core->SetTimeDiv(m_generation, ticksPerQuarter);
}

MidiResult OutStream::SetTempo(uint32_t microsecondsPerQuarter)
{
    return m_core->SetTempo(m_generation, microsecondsPerQuarter);
}

MidiResult OutStream::Prepare(MidiHeader& header)
{
    return m_core->Prepare(m_generation, header);
}

MidiResult OutStream::Unprepare(MidiHeader& header)
{
    return m_core->Unprepare(m_generation, header);
}

MidiResult OutStream::Queue(MidiHeader& header)
{
    return m_core->Queue(m_generation, header);
}

MidiResult OutStream::Pause()
{
    return m_core->Pause(m_generation);
}

MidiResult OutStream::Restart()
{
    return m_core->Restart(m_generation);
}

MidiResult OutStream::SendShort(uint32_t message)
{
    return m_core->SendShort(m_generation, message);
}

MidiResult OutStream::Close()
{
    return m_core->CloseStream(m_generation);
}

} // namespace zib
