#pragma once

#include "devices/core/MidiResult.h"

#include <memory>
#include <string>
#include <vector>

namespace zib {

class CMidiInPort;
class CMidiStream;
class IMidiBackend;
class IMidiInClient;
class IMidiStreamClient;

// The program's MIDI devices: the output and input devices of every backend
// numbered together (device ids), in the order the backends were added and
// as they stood at the last Refresh(). Enumeration and opening run on the UI
// thread; the opened streams and inputs are safe from any thread.
class CMidiSystem {
public:
    CMidiSystem();
    ~CMidiSystem();
    CMidiSystem(const CMidiSystem&) = delete;
    CMidiSystem& operator=(const CMidiSystem&) = delete;

    // The devices of this machine: the built-in software synthesizer (always
    // output device 0), then the ports of the ALSA sequencer. Made on first use.
    static CMidiSystem& Default();

    // Backends
    void AddBackend(std::unique_ptr<IMidiBackend> backend);
    // Takes a fresh look at every backend's devices
    void Refresh();

    // Devices
    int OutDeviceCount() const { return int(m_outputs.size()); }
    int InDeviceCount() const { return int(m_inputs.size()); }
    // BadDeviceId for an id outside the list
    MidiResult OutDeviceName(int id, std::string& name) const;
    MidiResult InDeviceName(int id, std::string& name) const;

    // Opening
    MidiResult OpenStream(int id, IMidiStreamClient& client, std::unique_ptr<CMidiStream>& stream);
    MidiResult OpenInput(int id, IMidiInClient& client, std::unique_ptr<CMidiInPort>& port);

private:
    struct Device {
        IMidiBackend* backend;
        int index; // within the backend
        std::string name;
    };

    std::vector<std::unique_ptr<IMidiBackend>> m_backends;
    std::vector<Device> m_outputs;
    std::vector<Device> m_inputs;
};

} // namespace zib
