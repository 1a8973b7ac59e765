#include "devices/core/MidiDeviceList.h"

#include "devices/core/DeferredSynthBackend.h"
#include "devices/core/FakeMidiBackend.h"
#include "devices/core/RtMidiBackend.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace zib {

MidiDeviceList::MidiDeviceList(std::shared_ptr<MidiClock> clock) : m_clock(std::move(clock)) {}

MidiDeviceList::~MidiDeviceList() = default;

MidiDeviceList& MidiDeviceList::Default()
{
    // Made once and kept to the end: sessions and the synthesizer's audio
    // thread may still run while static objects are destroyed.
    static MidiDeviceList* const list = [] {
        auto clock = std::make_shared<SteadyMidiClock>();
        auto* devices = new MidiDeviceList(clock);
        const char* chosen = std::getenv("ZIB_MIDI_BACKEND");
        const std::string_view backend = chosen ? chosen : "";
        if (backend == "fake" || backend == "synth+fake") {
            const bool realSynth = backend == "synth+fake";
            if (realSynth) devices->AddBackend(std::make_shared<DeferredSynthBackend>(clock));
            auto fake = FakeMidiBackend::ForProgram(clock, !realSynth);
            if (const char* log = std::getenv("ZIB_FAKE_MIDI_LOG"); log && *log) fake->SetLogFile(log);
            devices->AddBackend(std::move(fake));
        } else {
            devices->AddBackend(std::make_shared<DeferredSynthBackend>(clock));
            devices->AddBackend(std::make_shared<RtMidiBackend>(
                backend == "jack" ? RtMidiBackend::Api::Jack : RtMidiBackend::Api::Alsa));
        }
        devices->Refresh();
        return devices;
    }();
    return *list;
}

void MidiDeviceList::AddBackend(std::shared_ptr<MidiBackend> backend)
{
    std::lock_guard lock(m_mutex);
    m_backends.push_back(std::move(backend));
}

void MidiDeviceList::ListPorts(const std::shared_ptr<MidiBackend>& backend, std::vector<MidiPortName> ports,
                               std::vector<Device>& into)
{
    std::sort(ports.begin(), ports.end());
    for (auto& name : ports) {
        if (into.size() >= size_t(kMaxDevices)) return;
        std::string shown = name.Shown();
        into.push_back({backend, std::move(name), std::move(shown)});
    }
}

void MidiDeviceList::Refresh()
{
    std::vector<std::shared_ptr<MidiBackend>> backends;
    {
        std::lock_guard lock(m_mutex);
        backends = m_backends;
    }
    // The backends are asked without the lock: a sequencer may be slow to answer.
    std::vector<Device> outputs, inputs;
    for (const auto& b : backends) {
        ListPorts(b, b->OutputPorts(), outputs);
        ListPorts(b, b->InputPorts(), inputs);
    }
    std::lock_guard lock(m_mutex);
    m_outputs = std::move(outputs);
    m_inputs = std::move(inputs);
}

int MidiDeviceList::OutDeviceCount() const
{
    std::lock_guard lock(m_mutex);
    return int(m_outputs.size());
}

int MidiDeviceList::InDeviceCount() const
{
    std::lock_guard lock(m_mutex);
    return int(m_inputs.size());
}

std::optional<std::string> MidiDeviceList::OutDeviceName(int id) const
{
    std::lock_guard lock(m_mutex);
    if (id < 0 || size_t(id) >= m_outputs.size()) return std::nullopt;
    return m_outputs[size_t(id)].shown;
}

std::optional<std::string> MidiDeviceList::InDeviceName(int id) const
{
    std::lock_guard lock(m_mutex);
    if (id < 0 || size_t(id) >= m_inputs.size()) return std::nullopt;
    return m_inputs[size_t(id)].shown;
}

int MidiDeviceList::FindOutDevice(const std::string& shown) const
{
    std::lock_guard lock(m_mutex);
    for (size_t i = 0; i < m_outputs.size(); ++i)
        if (m_outputs[i].shown == shown) return int(i);
    return -1;
}

int MidiDeviceList::FindInDevice(const std::string& shown) const
{
    std::lock_guard lock(m_mutex);
    for (size_t i = 0; i < m_inputs.size(); ++i)
        if (m_inputs[i].shown == shown) return int(i);
    return -1;
}

MidiResult MidiDeviceList::OpenOutput(int id, std::unique_ptr<MidiOutSink>& sink)
{
    Device device;
    {
        std::lock_guard lock(m_mutex);
        if (id < 0 || size_t(id) >= m_outputs.size()) return MidiResult::BadDeviceId;
        device = m_outputs[size_t(id)];
    }
    return device.backend->OpenOutput(device.name, sink);
}

std::string MidiDeviceList::OutputFailure(int id) const
{
    Device device;
    {
        std::lock_guard lock(m_mutex);
        if (id < 0 || size_t(id) >= m_outputs.size()) return {};
        device = m_outputs[size_t(id)];
    }
    return device.backend->OutputFailure(device.name);
}

MidiResult MidiDeviceList::OpenInput(int id, MidiInReceiver receiver, std::unique_ptr<MidiInSource>& source)
{
    Device device;
    {
        std::lock_guard lock(m_mutex);
        if (id < 0 || size_t(id) >= m_inputs.size()) return MidiResult::BadDeviceId;
        device = m_inputs[size_t(id)];
    }
    return device.backend->OpenInput(device.name, std::move(receiver), source);
}

} // namespace zib
