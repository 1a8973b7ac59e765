#include "devices/core/CFakeMidiBackend.h"

#include "devices/core/CMidiInPort.h"
#include "devices/core/CMidiStream.h"
#include "devices/core/IMidiSink.h"

#include <algorithm>

namespace zib {

namespace {

// Records what one output device is sent.
class FakeSink : public IMidiSink {
public:
    FakeSink(CFakeMidiBackend& backend, std::vector<CFakeMidiBackend::Sent>& sent, int device)
        : m_backend(backend), m_sent(sent), m_device(device)
    {
    }

    void SendShort(uint32_t message) override { m_sent.push_back({m_device, m_backend.NowUs(), message, {}, immediate}); }
    void SendLong(std::span<const uint8_t> bytes) override
    {
        m_sent.push_back({m_device, m_backend.NowUs(), 0, {bytes.begin(), bytes.end()}, immediate});
    }

    bool immediate = true; // false while the stream plays its queue

private:
    CFakeMidiBackend& m_backend;
    std::vector<CFakeMidiBackend::Sent>& m_sent;
    int m_device;
};

} // namespace

// A stream on the backend's virtual clock.
class CFakeMidiBackend::Stream : public CMidiStream {
public:
    Stream(CFakeMidiBackend& backend, std::unique_ptr<FakeSink> sink, IMidiStreamClient& client)
        : CMidiStream(std::unique_ptr<IMidiSink>(sink.get()), client), m_backend(backend), m_sink(sink.release())
    {
        m_backend.m_streams.push_back(this);
    }
    ~Stream() override { Unregister(); }

    void Play(int64_t nowUs)
    {
        m_sink->immediate = false;
        Service(nowUs);
        m_sink->immediate = true;
    }

protected:
    int64_t NowUs() override { return m_backend.m_nowUs; }
    void Wake() override {}
    void OnClosed() override { Unregister(); }

private:
    void Unregister()
    {
        auto& v = m_backend.m_streams;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }

    CFakeMidiBackend& m_backend;
    FakeSink* m_sink; // owned by the base
};

// An input port that receives injected messages.
class CFakeMidiBackend::InPort : public CMidiInPort {
public:
    InPort(CFakeMidiBackend& backend, IMidiInClient& client, int index)
        : CMidiInPort(client), m_backend(backend), m_index(index)
    {
        m_backend.m_inPorts.push_back(this);
    }
    ~InPort() override { Unregister(); }

    int Index() const { return m_index; }
    void Receive(uint32_t message) { Dispatch(message); }

protected:
    void CloseDevice() override { Unregister(); }

private:
    void Unregister()
    {
        auto& v = m_backend.m_inPorts;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }

    CFakeMidiBackend& m_backend;
    int m_index;
};

CFakeMidiBackend::CFakeMidiBackend(std::vector<std::string> outputs, std::vector<std::string> inputs)
    : m_outputs(std::move(outputs)), m_inputs(std::move(inputs))
{
}

CFakeMidiBackend::~CFakeMidiBackend() = default;

MidiResult CFakeMidiBackend::OpenStream(int index, IMidiStreamClient& client, std::unique_ptr<CMidiStream>& stream)
{
    if (index < 0 || size_t(index) >= m_outputs.size()) return MidiResult::BadDeviceId;
    if (auto f = m_failOutputs.find(index); f != m_failOutputs.end()) return f->second;
    stream = std::make_unique<Stream>(*this, std::make_unique<FakeSink>(*this, m_sent, index), client);
    return MidiResult::NoError;
}

MidiResult CFakeMidiBackend::OpenInput(int index, IMidiInClient& client, std::unique_ptr<CMidiInPort>& port)
{
    if (index < 0 || size_t(index) >= m_inputs.size()) return MidiResult::BadDeviceId;
    if (auto f = m_failInputs.find(index); f != m_failInputs.end()) return f->second;
    port = std::make_unique<InPort>(*this, client, index);
    return MidiResult::NoError;
}

void CFakeMidiBackend::AdvanceUs(int64_t us)
{
    const int64_t target = m_nowUs + std::max<int64_t>(us, 0);
    for (;;) {
        // The stream whose next event comes first (the earliest opened on a tie)
        Stream* next = nullptr;
        int64_t due = 0;
        for (Stream* s : m_streams) {
            const auto d = s->NextDueUs();
            if (d && *d <= target && (next == nullptr || *d < due)) {
                next = s;
                due = *d;
            }
        }
        if (next == nullptr) break;
        m_nowUs = std::max(m_nowUs, due);
        next->Play(m_nowUs);
    }
    m_nowUs = target;
}

bool CFakeMidiBackend::RunUntilIdle(int64_t limitUs)
{
    const int64_t end = m_nowUs + limitUs;
    for (;;) {
        int64_t due = -1;
        for (Stream* s : m_streams)
            if (const auto d = s->NextDueUs(); d && (due < 0 || *d < due)) due = *d;
        if (due < 0) return true;
        if (due > end) {
            AdvanceUs(end - m_nowUs);
            return false;
        }
        AdvanceUs(std::max<int64_t>(due - m_nowUs, 0));
    }
}

int CFakeMidiBackend::OpenStreamCount() const
{
    return int(m_streams.size());
}

int CFakeMidiBackend::OpenInputCount() const
{
    return int(m_inPorts.size());
}

void CFakeMidiBackend::Inject(int index, uint32_t message)
{
    const auto ports = m_inPorts; // a client may close a port while it receives
    for (InPort* p : ports)
        if (p->Index() == index && std::find(m_inPorts.begin(), m_inPorts.end(), p) != m_inPorts.end())
            p->Receive(message);
}

} // namespace zib
