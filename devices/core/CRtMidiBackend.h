#pragma once

#include "devices/core/IMidiBackend.h"

#include <string>

namespace zib {

// The MIDI ports of the system through RtMidi: the ALSA sequencer for users,
// JACK for the loopback tests. A MIDI system that is not there (no sequencer
// device, no JACK server) simply lists no devices.
class CRtMidiBackend : public IMidiBackend {
public:
    enum class Api { Alsa, Jack };

    explicit CRtMidiBackend(Api api, std::string clientName = "Zib");
    ~CRtMidiBackend() override;

    // Enumeration
    std::vector<std::string> OutputNames() override;
    std::vector<std::string> InputNames() override;

    // Opening
    MidiResult OpenStream(int index, IMidiStreamClient& client, std::unique_ptr<CMidiStream>& stream) override;
    MidiResult OpenInput(int index, IMidiInClient& client, std::unique_ptr<CMidiInPort>& port) override;

private:
    Api m_api;
    std::string m_clientName;
};

} // namespace zib
