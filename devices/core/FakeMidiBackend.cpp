#include "devices/core/FakeMidiBackend.h"

#include "devices/core/LockedCopy.h"
#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"

#include <algorithm>
#include <cstdio>

namespace zib {

// An open fake output: everything it sends goes to the backend's log.
class FakeMidiBackend::Sink : public MidiOutSink {
public:
    Sink(FakeMidiBackend& owner, std::string device) : m_owner(owner), m_device(std::move(device)) {}
    ~Sink() override { m_owner.ForgetSink(); }

    bool Send(std::span<const uint8_t> bytes, int64_t dueUs) override { return m_owner.Record(m_device, bytes, dueUs); }
    MidiResult Check(OutCall call) override { return m_owner.CheckCall(m_device, call); }
    void Queued(std::span<const uint8_t> events, uintptr_t user) override { m_owner.RecordBuffer(m_device, events, user); }
    void Returned(uintptr_t) override { m_owner.RecordReturn(); }

private:
    FakeMidiBackend& m_owner;
    std::string m_device;
};

// An open fake input: hands on what the test injects.
class FakeMidiBackend::Source : public MidiInSource {
public:
    Source(FakeMidiBackend& owner, uint64_t id, std::string device, MidiInReceiver receiver)
        : m_owner(owner), id(id), device(std::move(device)), receiver(std::move(receiver))
    {
    }
    ~Source() override { m_owner.Forget(this); }

    FakeMidiBackend& m_owner;
    const uint64_t id;
    const std::string device;
    const MidiInReceiver receiver;
};

FakeMidiBackend::FakeMidiBackend(std::shared_ptr<MidiClock> clock, std::vector<MidiPortName> outputs,
                                 std::vector<MidiPortName> inputs)
    : m_clock(std::move(clock)), m_outputs(std::move(outputs)), m_inputs(std::move(inputs))
{
}

FakeMidiBackend::~FakeMidiBackend() = default;

std::shared_ptr<FakeMidiBackend> FakeMidiBackend::ForProgram(std::shared_ptr<MidiClock> clock,
                                                             bool synthStandIn)
{
    std::vector<MidiPortName> outputs{{"Zib Test", "Out A"}, {"Zib Test", "Out B"}};
    if (synthStandIn) outputs.insert(outputs.begin(), {"", MidiDeviceList::kSynthName});
    return std::make_shared<FakeMidiBackend>(std::move(clock), std::move(outputs),
                                             std::vector<MidiPortName>{{"Zib Test", "In A"}});
}

std::vector<MidiPortName> FakeMidiBackend::OutputPorts()
{
    std::lock_guard lock(m_mutex);
    std::vector<MidiPortName> ports;
    for (const auto& p : m_outputs)
        if (std::find(m_unplugged.begin(), m_unplugged.end(), p.Shown()) == m_unplugged.end()) ports.push_back(p);
    return ports;
}

std::vector<MidiPortName> FakeMidiBackend::InputPorts()
{
    return LockedCopy(m_mutex, m_inputs);
}

MidiResult FakeMidiBackend::OpenOutput(const MidiPortName& name, std::unique_ptr<MidiOutSink>& sink)
{
    std::lock_guard lock(m_mutex);
    const std::string shown = name.Shown();
    if (std::find(m_outputs.begin(), m_outputs.end(), name) == m_outputs.end() ||
        std::find(m_unplugged.begin(), m_unplugged.end(), shown) != m_unplugged.end())
        return MidiResult::BadDeviceId;
    if (auto it = m_openFaults.find(shown); it != m_openFaults.end()) return it->second;
    sink = std::make_unique<Sink>(*this, shown);
    ++m_openSinks;
    return MidiResult::NoError;
}

MidiResult FakeMidiBackend::OpenInput(const MidiPortName& name, MidiInReceiver receiver,
                                      std::unique_ptr<MidiInSource>& source)
{
    std::lock_guard lock(m_mutex);
    const std::string shown = name.Shown();
    if (std::find(m_inputs.begin(), m_inputs.end(), name) == m_inputs.end()) return MidiResult::BadDeviceId;
    if (auto it = m_openFaults.find(shown); it != m_openFaults.end()) return it->second;
    auto s = std::make_unique<Source>(*this, m_nextSourceId++, shown, std::move(receiver));
    m_sources.push_back(s.get());
    source = std::move(s);
    return MidiResult::NoError;
}

void FakeMidiBackend::SetPorts(std::vector<MidiPortName> outputs, std::vector<MidiPortName> inputs)
{
    std::lock_guard lock(m_mutex);
    m_outputs = std::move(outputs);
    m_inputs = std::move(inputs);
}

void FakeMidiBackend::FailOpen(const std::string& port, MidiResult result, std::string cause)
{
    std::lock_guard lock(m_mutex);
    if (Succeeded(result)) {
        m_openFaults.erase(port);
        m_openCauses.erase(port);
    } else {
        m_openFaults[port] = result;
        m_openCauses[port] = std::move(cause);
    }
}

std::string FakeMidiBackend::OutputFailure(const MidiPortName& name) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_openCauses.find(name.Shown());
    return it != m_openCauses.end() ? it->second : std::string();
}

void FakeMidiBackend::FailCall(const std::string& port, OutCall call, MidiResult result)
{
    std::lock_guard lock(m_mutex);
    if (Succeeded(result))
        m_callFaults.erase({port, call});
    else
        m_callFaults[{port, call}] = result;
}

void FakeMidiBackend::Unplug(const std::string& port)
{
    std::lock_guard lock(m_mutex);
    m_unplugged.push_back(port);
}

bool FakeMidiBackend::Record(const std::string& device, std::span<const uint8_t> bytes, int64_t dueUs)
{
    const int64_t now = m_clock->NowUs();
    std::lock_guard lock(m_mutex);
    if (std::find(m_unplugged.begin(), m_unplugged.end(), device) != m_unplugged.end()) return false;
    m_sent.push_back({now, dueUs, device, std::vector<uint8_t>(bytes.begin(), bytes.end())});
    if (m_log.is_open()) {
        m_log << now << ' ' << device << ':';
        for (const uint8_t b : bytes) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X", b);
            m_log << hex;
        }
        m_log << '\n' << std::flush;
    }
    return true;
}

void FakeMidiBackend::RecordBuffer(const std::string& device, std::span<const uint8_t> events, uintptr_t user)
{
    const int64_t now = m_clock->NowUs();
    std::lock_guard lock(m_mutex);
    m_buffers.push_back({now, device, user, std::vector<uint8_t>(events.begin(), events.end())});
}

void FakeMidiBackend::RecordReturn()
{
    std::lock_guard lock(m_mutex);
    ++m_returned;
}

std::vector<FakeMidiBackend::Buffer> FakeMidiBackend::QueuedBuffers() const
{
    return LockedCopy(m_mutex, m_buffers);
}

int FakeMidiBackend::ReturnedCount() const
{
    return LockedCopy(m_mutex, m_returned);
}

MidiResult FakeMidiBackend::CheckCall(const std::string& device, OutCall call)
{
    std::lock_guard lock(m_mutex);
    if (std::find(m_unplugged.begin(), m_unplugged.end(), device) != m_unplugged.end() &&
        (call == OutCall::Queue || call == OutCall::Restart))
        return MidiResult::NoDevice;
    auto it = m_callFaults.find({device, call});
    return it == m_callFaults.end() ? MidiResult::NoError : it->second;
}

std::vector<FakeMidiBackend::Sent> FakeMidiBackend::SentMessages() const
{
    return LockedCopy(m_mutex, m_sent);
}

void FakeMidiBackend::ClearSent()
{
    std::lock_guard lock(m_mutex);
    m_sent.clear();
    m_buffers.clear();
    m_returned = 0;
}

void FakeMidiBackend::SetLogFile(const std::filesystem::path& path)
{
    std::lock_guard lock(m_mutex);
    m_log.open(path, std::ios::binary | std::ios::app);
}

void FakeMidiBackend::Inject(const std::string& port, std::span<const uint8_t> bytes)
{
    // A source cannot go while this runs: its destructor waits for m_injecting.
    std::lock_guard injecting(m_injecting);
    std::vector<uint64_t> targets;
    {
        std::lock_guard lock(m_mutex);
        for (Source* s : m_sources)
            if (s->device == port) targets.push_back(s->id);
    }
    // A receiver may close ports (its own among them): each is looked up again.
    for (const uint64_t id : targets) {
        MidiInReceiver receiver;
        {
            std::lock_guard lock(m_mutex);
            auto it = std::find_if(m_sources.begin(), m_sources.end(), [id](Source* s) { return s->id == id; });
            if (it == m_sources.end()) continue;
            receiver = (*it)->receiver;
        }
        receiver(bytes);
    }
}

void FakeMidiBackend::Forget(const Source* source)
{
    std::lock_guard injecting(m_injecting);
    std::lock_guard lock(m_mutex);
    std::erase(m_sources, source);
}

void FakeMidiBackend::ForgetSink()
{
    std::lock_guard lock(m_mutex);
    --m_openSinks;
}

int FakeMidiBackend::OpenInputCount() const
{
    std::lock_guard lock(m_mutex);
    return int(m_sources.size());
}

int FakeMidiBackend::OpenOutputCount() const
{
    return LockedCopy(m_mutex, m_openSinks);
}

} // namespace zib
