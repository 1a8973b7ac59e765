#pragma once

#include "devices/core/MidiBackend.h"
#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceNames.h"
#include "devices/core/MidiResult.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zib {

// The program's MIDI devices, numbered as the settings store them (device
// ids 0..127 per direction). OUT device 0 is the built-in synthesizer,
// always present; the ports of the other backends follow, each backend's
// sorted by client name, then port name. IN devices likewise, without the
// synthesizer. A port is opened again by its name, so an id keeps meaning
// the same device while the system renumbers its clients. A backend that
// cannot reach its system (no ALSA sequencer) lists nothing; that is never
// an error.
//
// Enumeration and opening are for the UI thread; the lists themselves are
// guarded, so a name may be read from any thread.
class MidiDeviceList : public MidiDeviceNames {
public:
    static constexpr int kMaxDevices = 128;
    static constexpr const char* kSynthName = "Zib built-in synth (General MIDI)";

    explicit MidiDeviceList(std::shared_ptr<MidiClock> clock);
    ~MidiDeviceList() override;
    MidiDeviceList(const MidiDeviceList&) = delete;
    MidiDeviceList& operator=(const MidiDeviceList&) = delete;

    // The program's devices, made on first use and chosen by the environment:
    // ZIB_MIDI_BACKEND=fake gives the fake devices on the steady clock (with
    // ZIB_FAKE_MIDI_LOG naming a file that logs what they hear), =synth+fake
    // the synthesizer and the fake devices after it, =jack the synthesizer
    // and RtMidi's JACK ports; otherwise the synthesizer and the ALSA
    // sequencer's ports under the client name "Zib".
    static MidiDeviceList& Default();

    // Backends, listed in the order they are added. The first one added
    // provides OUT device 0 (the synthesizer, or its stand-in in tests).
    void AddBackend(std::shared_ptr<MidiBackend> backend);
    // Takes a fresh look at every backend's ports
    void Refresh();

    // Devices
    int OutDeviceCount() const override;
    int InDeviceCount() const override;
    std::optional<std::string> OutDeviceName(int id) const override;
    std::optional<std::string> InDeviceName(int id) const override;
    // The id of a listed device by its shown name; -1 when it is not listed
    int FindOutDevice(const std::string& shown) const;
    int FindInDevice(const std::string& shown) const;

    // Opening (MidiSession). BadDeviceId for an id outside the list or a port
    // that has gone since the last Refresh().
    MidiResult OpenOutput(int id, std::unique_ptr<MidiOutSink>& sink);
    // Why the last OpenOutput of device `id` failed, in words for the user
    // (an English UI text); empty when its result says all
    std::string OutputFailure(int id) const;
    MidiResult OpenInput(int id, MidiInReceiver receiver, std::unique_ptr<MidiInSource>& source);

    MidiClock& Clock() const { return *m_clock; }
    const std::shared_ptr<MidiClock>& SharedClock() const { return m_clock; }

private:
    struct Device {
        std::shared_ptr<MidiBackend> backend;
        MidiPortName name;
        std::string shown;
    };
    static void ListPorts(const std::shared_ptr<MidiBackend>& backend, std::vector<MidiPortName> ports,
                          std::vector<Device>& into);

    std::shared_ptr<MidiClock> m_clock;
    mutable std::mutex m_mutex;
    std::vector<std::shared_ptr<MidiBackend>> m_backends;
    std::vector<Device> m_outputs;
    std::vector<Device> m_inputs;
};

} // namespace zib
