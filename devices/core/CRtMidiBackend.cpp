#include "devices/core/CRtMidiBackend.h"

#include "devices/core/CMidiInPort.h"
#include "devices/core/CRealtimeMidiStream.h"
#include "devices/core/IMidiSink.h"
#include "devices/core/MidiHeader.h"

#include <alsa/asoundlib.h>
#include <atomic>
#include <rtmidi/RtMidi.h>

namespace zib {

namespace {

RtMidi::Api rtApi(CRtMidiBackend::Api api)
{
    return api == CRtMidiBackend::Api::Jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
}

// RtMidi reports through this instead of printing or throwing once an object exists.
void recordError(RtMidiError::Type type, const std::string&, void* userData)
{
    if (type != RtMidiError::WARNING && type != RtMidiError::DEBUG_WARNING)
        static_cast<std::atomic<bool>*>(userData)->store(true);
}

template <typename Port>
std::unique_ptr<Port> makePort(CRtMidiBackend::Api api, const std::string& clientName, std::atomic<bool>& failed)
{
    try {
        auto port = std::make_unique<Port>(rtApi(api), clientName);
        port->setErrorCallback(recordError, &failed);
        return port;
    } catch (const RtMidiError&) {
        return nullptr; // no such MIDI system on this machine
    }
}

template <typename Port>
std::vector<std::string> portNames(CRtMidiBackend::Api api, const std::string& clientName)
{
    std::atomic<bool> failed{false};
    auto port = makePort<Port>(api, clientName, failed);
    std::vector<std::string> names;
    if (!port) return names;
    const unsigned count = port->getPortCount();
    for (unsigned i = 0; i < count && !failed; ++i) names.push_back(port->getPortName(i));
    if (failed) names.clear();
    return names;
}

// Sends to one open RtMidi output port.
class RtSink : public IMidiSink {
public:
    RtSink(std::unique_ptr<RtMidiOut> out, std::unique_ptr<std::atomic<bool>> failed)
        : m_failed(std::move(failed)), m_out(std::move(out))
    {
    }
    ~RtSink() override
    {
        m_out->closePort();
    }

    void SendShort(uint32_t message) override
    {
        const uint8_t bytes[3] = {uint8_t(message), uint8_t(message >> 8), uint8_t(message >> 16)};
        const size_t n = ShortMessageLength(bytes[0]);
        if (n > 0) m_out->sendMessage(bytes, n);
    }

    void SendLong(std::span<const uint8_t> bytes) override
    {
        if (!bytes.empty()) m_out->sendMessage(bytes.data(), bytes.size());
    }

private:
    std::unique_ptr<std::atomic<bool>> m_failed; // written by m_out's error callback
    std::unique_ptr<RtMidiOut> m_out;
};

// One open RtMidi input port.
class RtInPort : public CMidiInPort {
public:
    RtInPort(IMidiInClient& client, std::unique_ptr<RtMidiIn> in, std::unique_ptr<std::atomic<bool>> failed)
        : CMidiInPort(client), m_failed(std::move(failed)), m_in(std::move(in))
    {
        m_in->ignoreTypes(true, true, true); // short messages only
        m_in->setCallback(&RtInPort::Received, this);
    }
    ~RtInPort() override { Close(); }

protected:
    void CloseDevice() override
    {
        m_in->cancelCallback();
        m_in->closePort();
    }

private:
    static void Received(double, std::vector<unsigned char>* message, void* self)
    {
        if (message == nullptr || message->empty() || message->size() > 3) return;
        uint32_t packed = 0;
        for (size_t i = 0; i < message->size(); ++i) packed |= uint32_t((*message)[i]) << (8 * i);
        static_cast<RtInPort*>(self)->Dispatch(packed);
    }

    std::unique_ptr<std::atomic<bool>> m_failed;
    std::unique_ptr<RtMidiIn> m_in;
};

// A machine without a sequencer device is normal: its open failure is a
// result here, not a line on the console.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

} // namespace

CRtMidiBackend::CRtMidiBackend(Api api, std::string clientName) : m_api(api), m_clientName(std::move(clientName))
{
    if (api == Api::Alsa) snd_lib_error_set_handler(quietAlsa);
}

CRtMidiBackend::~CRtMidiBackend() = default;

std::vector<std::string> CRtMidiBackend::OutputNames()
{
    return portNames<RtMidiOut>(m_api, m_clientName);
}

std::vector<std::string> CRtMidiBackend::InputNames()
{
    return portNames<RtMidiIn>(m_api, m_clientName);
}

MidiResult CRtMidiBackend::OpenStream(int index, IMidiStreamClient& client, std::unique_ptr<CMidiStream>& stream)
{
    auto failed = std::make_unique<std::atomic<bool>>(false);
    auto out = makePort<RtMidiOut>(m_api, m_clientName, *failed);
    if (!out) return MidiResult::NoDriver;
    if (index < 0 || unsigned(index) >= out->getPortCount()) return MidiResult::BadDeviceId;
    out->openPort(unsigned(index), "out");
    if (*failed || !out->isPortOpen()) return MidiResult::NoDevice;
    stream = std::make_unique<CRealtimeMidiStream>(std::make_unique<RtSink>(std::move(out), std::move(failed)), client);
    return MidiResult::NoError;
}

MidiResult CRtMidiBackend::OpenInput(int index, IMidiInClient& client, std::unique_ptr<CMidiInPort>& port)
{
    auto failed = std::make_unique<std::atomic<bool>>(false);
    auto in = makePort<RtMidiIn>(m_api, m_clientName, *failed);
    if (!in) return MidiResult::NoDriver;
    if (index < 0 || unsigned(index) >= in->getPortCount()) return MidiResult::BadDeviceId;
    in->openPort(unsigned(index), "in");
    if (*failed || !in->isPortOpen()) return MidiResult::NoDevice;
    port = std::make_unique<RtInPort>(client, std::move(in), std::move(failed));
    return MidiResult::NoError;
}

} // namespace zib
