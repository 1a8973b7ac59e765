#include "devices/core/DeferredSynthBackend.h"

#include "devices/core/MidiDeviceList.h"

namespace zib {

namespace {

MidiPortName synthPort()
{
    return {"", MidiDeviceList::kSynthName};
}

} // namespace

DeferredSynthBackend::DeferredSynthBackend(std::shared_ptr<MidiClock> clock, std::string module)
    : m_clock(std::move(clock)), m_module(std::move(module))
{
}

DeferredSynthBackend::~DeferredSynthBackend() = default;

std::vector<MidiPortName> DeferredSynthBackend::OutputPorts()
{
    return {synthPort()};
}

std::vector<MidiPortName> DeferredSynthBackend::InputPorts()
{
    return {};
}

MidiResult DeferredSynthBackend::OpenOutput(const MidiPortName& name, std::unique_ptr<MidiOutSink>& sink)
{
    if (!(name == synthPort())) return MidiResult::BadDeviceId;
    MidiBackend* synth = Synth();
    return synth ? synth->OpenOutput(name, sink) : MidiResult::BadDeviceId;
}

MidiResult DeferredSynthBackend::OpenInput(const MidiPortName&, MidiInReceiver, std::unique_ptr<MidiInSource>&)
{
    return MidiResult::BadDeviceId;
}

// The loaded synthesizer says why its last open failed (no audio output ...)
std::string DeferredSynthBackend::OutputFailure(const MidiPortName& name) const
{
    std::lock_guard lock(m_mutex);
    return m_synth ? m_synth->OutputFailure(name) : std::string();
}

bool DeferredSynthBackend::Loaded() const
{
    std::lock_guard lock(m_mutex);
    return m_synth != nullptr;
}

// The synthesizer, made from the module at the first call; null when the
// module or its export is missing (not tried again).
MidiBackend* DeferredSynthBackend::Synth()
{
    std::lock_guard lock(m_mutex);
    if (!m_tried) {
        m_tried = true;
        if (m_library.open(m_module, true))
            if (auto create = reinterpret_cast<Factory>(m_library.symbol(kFactory))) m_synth.reset(create(m_clock));
    }
    return m_synth.get();
}

} // namespace zib
