#include "devices/core/CMidiSystem.h"

#include "devices/core/CFluidSynthBackend.h"
#include "devices/core/CMidiInPort.h"
#include "devices/core/CMidiStream.h"
#include "devices/core/CRtMidiBackend.h"
#include "devices/core/IMidiBackend.h"

namespace zib {

CMidiSystem::CMidiSystem() = default;
CMidiSystem::~CMidiSystem() = default;

CMidiSystem& CMidiSystem::Default()
{
    static CMidiSystem* system = [] {
        auto* s = new CMidiSystem; // lives for the whole run: streams may outlive static destruction order
        s->AddBackend(std::make_unique<CFluidSynthBackend>());
        s->AddBackend(std::make_unique<CRtMidiBackend>(CRtMidiBackend::Api::Alsa));
        return s;
    }();
    return *system;
}

void CMidiSystem::AddBackend(std::unique_ptr<IMidiBackend> backend)
{
    m_backends.push_back(std::move(backend));
    Refresh();
}

void CMidiSystem::Refresh()
{
    m_outputs.clear();
    m_inputs.clear();
    for (const auto& backend : m_backends) {
        const auto outs = backend->OutputNames();
        for (size_t i = 0; i < outs.size(); ++i) m_outputs.push_back({backend.get(), int(i), outs[i]});
        const auto ins = backend->InputNames();
        for (size_t i = 0; i < ins.size(); ++i) m_inputs.push_back({backend.get(), int(i), ins[i]});
    }
}

MidiResult CMidiSystem::OutDeviceName(int id, std::string& name) const
{
    if (id < 0 || id >= OutDeviceCount()) return MidiResult::BadDeviceId;
    name = m_outputs[size_t(id)].name;
    return MidiResult::NoError;
}

MidiResult CMidiSystem::InDeviceName(int id, std::string& name) const
{
    if (id < 0 || id >= InDeviceCount()) return MidiResult::BadDeviceId;
    name = m_inputs[size_t(id)].name;
    return MidiResult::NoError;
}

MidiResult CMidiSystem::OpenStream(int id, IMidiStreamClient& client, std::unique_ptr<CMidiStream>& stream)
{
    stream.reset();
    if (id < 0 || id >= OutDeviceCount()) return MidiResult::BadDeviceId;
    const Device& d = m_outputs[size_t(id)];
    return d.backend->OpenStream(d.index, client, stream);
}

MidiResult CMidiSystem::OpenInput(int id, IMidiInClient& client, std::unique_ptr<CMidiInPort>& port)
{
    port.reset();
    if (id < 0 || id >= InDeviceCount()) return MidiResult::BadDeviceId;
    const Device& d = m_inputs[size_t(id)];
    return d.backend->OpenInput(d.index, client, port);
}

} // namespace zib
