#pragma once

#include "devices/core/MidiBackend.h"
#include "platform/SharedLibrary.h"

#include <memory>
#include <mutex>
#include <string>

namespace zib {

class MidiClock;

// The built-in synthesizer as the program's device list holds it: its one
// output port is listed from the start, while the synthesizer itself, with
// FluidSynth and the sound libraries under it, is a module loaded on the
// first open of that port (SynthBackend, built as the module kSynthModule).
// Until then the program neither loads nor initialises any of it. A module
// that cannot be loaded leaves the port without a device, as a synthesizer
// without an audio driver does (BadDeviceId).
class DeferredSynthBackend : public MidiBackend {
public:
    static constexpr const char* kSynthModule = "libzibsynth.so";
    // The module's one export: a new SynthBackend on the clock, owned by the caller.
    static constexpr const char* kFactory = "ZibCreateSynthBackend";
    using Factory = MidiBackend* (*)(const std::shared_ptr<MidiClock>& clock);

    // `module`: where the module is (a name the dynamic loader looks up, or a path)
    explicit DeferredSynthBackend(std::shared_ptr<MidiClock> clock, std::string module = kSynthModule);
    ~DeferredSynthBackend() override;

    // MidiBackend
    std::vector<MidiPortName> OutputPorts() override;
    std::vector<MidiPortName> InputPorts() override;
    MidiResult OpenOutput(const MidiPortName& name, std::unique_ptr<MidiOutSink>& sink) override;
    MidiResult OpenInput(const MidiPortName& name, MidiInReceiver receiver,
                         std::unique_ptr<MidiInSource>& source) override;
    std::string OutputFailure(const MidiPortName& name) const override;

    // Whether the module is loaded (after the first open)
    bool Loaded() const;

private:
    MidiBackend* Synth();

    std::shared_ptr<MidiClock> m_clock;
    std::string m_module;
    mutable std::mutex m_mutex;
    bool m_tried = false;
    // The module stays in the process once loaded: the synthesizer's sinks
    // and audio thread may outlive this object.
    SharedLibrary m_library;
    std::unique_ptr<MidiBackend> m_synth;
};

} // namespace zib
