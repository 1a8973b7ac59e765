#include "devices/core/RtMidiBackend.h"

#include <alsa/asoundlib.h>
#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <thread>
#include <rtmidi/RtMidi.h>

namespace zib {

namespace {

RtMidi::Api rtApi(RtMidiBackend::Api api)
{
    return api == RtMidiBackend::Api::Jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
}

// RtMidi reports here instead of printing or throwing once an object exists.
void recordError(RtMidiError::Type type, const std::string&, void* flag)
{
    if (type != RtMidiError::WARNING && type != RtMidiError::DEBUG_WARNING)
        static_cast<std::atomic<bool>*>(flag)->store(true);
}

// A machine without a sequencer is normal: its failure is a result here,
// not a line on the console.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

template <typename Port>
std::unique_ptr<Port> makePort(RtMidiBackend::Api api, const std::string& clientName, std::atomic<bool>& failed)
{
    try {
        auto port = std::make_unique<Port>(rtApi(api), clientName);
        port->setErrorCallback(recordError, &failed);
        return port;
    } catch (const RtMidiError&) {
        return nullptr; // no such MIDI system here
    }
}

// The ports of one direction with RtMidi's index for each
template <typename Port>
std::vector<std::pair<MidiPortName, unsigned>> listPorts(Port& port, const std::atomic<bool>& failed)
{
    std::vector<std::pair<MidiPortName, unsigned>> list;
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count && !failed; ++i)
        list.emplace_back(RtMidiBackend::ParsePortName(port.getPortName(i)), i);
    if (failed) list.clear();
    return list;
}

template <typename Port>
std::vector<MidiPortName> portNames(RtMidiBackend::Api api, const std::string& clientName)
{
    std::atomic<bool> failed{false};
    std::vector<MidiPortName> names;
    if (auto port = makePort<Port>(api, clientName, failed))
        for (auto& [name, index] : listPorts(*port, failed)) names.push_back(std::move(name));
    return names;
}

// Opens the port of that name on a new RtMidi object; null when it is not there
template <typename Port>
std::unique_ptr<Port> openByName(RtMidiBackend::Api api, const std::string& clientName, const MidiPortName& name,
                                 std::atomic<bool>& failed, const char* ownPortName)
{
    auto port = makePort<Port>(api, clientName, failed);
    if (!port) return nullptr;
    for (const auto& [listed, index] : listPorts(*port, failed)) {
        if (!(listed == name)) continue;
        port->openPort(index, ownPortName);
        if (failed || !port->isPortOpen()) return nullptr;
        return port;
    }
    return nullptr;
}

// RtMidi's JACK ports free their buffers while a JACK cycle that began before
// the port closed may still read them; once closed, a cycle returns at once,
// so letting one pass first makes the free safe.
template <typename Port>
void closePort(Port& port, RtMidiBackend::Api api)
{
    port.closePort();
    if (api == RtMidiBackend::Api::Jack) std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

class RtSink : public MidiOutSink {
public:
    RtSink(std::unique_ptr<RtMidiOut> out, std::unique_ptr<std::atomic<bool>> failed, RtMidiBackend::Api api)
        : m_failed(std::move(failed)), m_out(std::move(out)), m_api(api)
    {
    }
    ~RtSink() override { closePort(*m_out, m_api); }

    bool Send(std::span<const uint8_t> bytes, int64_t) override
    {
        if (*m_failed) return false;
        m_out->sendMessage(bytes.data(), bytes.size());
        return !*m_failed;
    }
    MidiResult Check(OutCall call) override
    {
        return *m_failed && (call == OutCall::Queue || call == OutCall::Restart) ? MidiResult::NoDevice
                                                                                 : MidiResult::NoError;
    }

private:
    std::unique_ptr<std::atomic<bool>> m_failed; // written by m_out's error callback
    std::unique_ptr<RtMidiOut> m_out;
    RtMidiBackend::Api m_api;
};

class RtSource : public MidiInSource {
public:
    RtSource(std::unique_ptr<RtMidiIn> in, std::unique_ptr<std::atomic<bool>> failed, MidiInReceiver receiver,
             RtMidiBackend::Api api)
        : m_failed(std::move(failed)), m_receiver(std::move(receiver)), m_in(std::move(in)), m_api(api)
    {
        m_in->ignoreTypes(true, true, true); // system exclusive, timing and active sensing never reach us
        m_in->setCallback(&RtSource::Received, this);
    }
    ~RtSource() override
    {
        m_in->cancelCallback();
        closePort(*m_in, m_api);
    }

private:
    static void Received(double, std::vector<unsigned char>* message, void* self)
    {
        if (message && !message->empty()) static_cast<RtSource*>(self)->m_receiver({message->data(), message->size()});
    }

    std::unique_ptr<std::atomic<bool>> m_failed;
    MidiInReceiver m_receiver;
    std::unique_ptr<RtMidiIn> m_in;
    RtMidiBackend::Api m_api;
};

} // namespace

RtMidiBackend::RtMidiBackend(Api api, std::string clientName) : m_api(api), m_clientName(std::move(clientName))
{
    if (api == Api::Alsa) snd_lib_error_set_handler(quietAlsa);
}

RtMidiBackend::~RtMidiBackend() = default;

MidiPortName RtMidiBackend::ParsePortName(const std::string& reported)
{
    std::string text = reported;
    // ALSA ends the name with " client:port" numbers, which change between starts.
    const size_t blank = text.find_last_of(' ');
    if (blank != std::string::npos) {
        const std::string tail = text.substr(blank + 1);
        const size_t colon = tail.find(':');
        auto digits = [](const std::string& s) {
            return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
        };
        if (colon != std::string::npos && digits(tail.substr(0, colon)) && digits(tail.substr(colon + 1)))
            text.erase(blank);
    }
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return {"", text};
    return {text.substr(0, colon), text.substr(colon + 1)};
}

std::vector<MidiPortName> RtMidiBackend::OutputPorts()
{
    return portNames<RtMidiOut>(m_api, m_clientName);
}

std::vector<MidiPortName> RtMidiBackend::InputPorts()
{
    return portNames<RtMidiIn>(m_api, m_clientName);
}

MidiResult RtMidiBackend::OpenOutput(const MidiPortName& name, std::unique_ptr<MidiOutSink>& sink)
{
    auto failed = std::make_unique<std::atomic<bool>>(false);
    auto out = openByName<RtMidiOut>(m_api, m_clientName, name, *failed, "out");
    if (!out) return MidiResult::BadDeviceId;
    // JACK makes the connection in its own time: what goes out before it is lost.
    if (m_api == Api::Jack) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    sink = std::make_unique<RtSink>(std::move(out), std::move(failed), m_api);
    return MidiResult::NoError;
}

MidiResult RtMidiBackend::OpenInput(const MidiPortName& name, MidiInReceiver receiver,
                                    std::unique_ptr<MidiInSource>& source)
{
    auto failed = std::make_unique<std::atomic<bool>>(false);
    auto in = openByName<RtMidiIn>(m_api, m_clientName, name, *failed, "in");
    if (!in) return MidiResult::BadDeviceId;
    source = std::make_unique<RtSource>(std::move(in), std::move(failed), std::move(receiver), m_api);
    return MidiResult::NoError;
}

} // namespace zib
