#pragma once

#include "devices/core/MidiBackend.h"

#include <string>
#include <vector>

namespace zib {

// The MIDI ports of the system through RtMidi: the ALSA sequencer for users
// (the program shows as client "Zib"), or a JACK server for the loopback
// tests. Ports are listed and opened by client and port name; the
// sequencer's "client:port" numbers are left out. A system that cannot be
// reached lists nothing and opens nothing (BadDeviceId), quietly.
class RtMidiBackend : public MidiBackend {
public:
    enum class Api { Alsa, Jack };

    explicit RtMidiBackend(Api api, std::string clientName = "Zib");
    ~RtMidiBackend() override;

    // MidiBackend
    std::vector<MidiPortName> OutputPorts() override;
    std::vector<MidiPortName> InputPorts() override;
    MidiResult OpenOutput(const MidiPortName& name, std::unique_ptr<MidiOutSink>& sink) override;
    MidiResult OpenInput(const MidiPortName& name, MidiInReceiver receiver,
                         std::unique_ptr<MidiInSource>& source) override;

    // The client and port of a name as RtMidi reports it: ALSA's
    // "client:port 14:0" and JACK's "client:port"
    static MidiPortName ParsePortName(const std::string& reported);

private:
    Api m_api;
    std::string m_clientName;
};

} // namespace zib
