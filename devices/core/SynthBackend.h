#pragma once

#include "devices/core/MidiBackend.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

namespace zib {

class MidiClock;

// The built-in synthesizer: FluidSynth with a General MIDI sound font, one
// output port that every device list shows as OUT device 0. Streams opened
// on it share one synthesizer, made at the first open.
//
// On the steady clock it sounds through FluidSynth's audio driver; when no
// audio driver opens (no sound hardware), opening fails with BadDeviceId,
// "no such device". On a virtual clock it needs no driver: each message
// first renders the sound up to the message's due time into memory, then
// takes effect, so a test can look at exactly when notes start.
class SynthBackend : public MidiBackend {
public:
    static constexpr int kSampleRate = 48000;

    // `soundFont` empty: the system's General MIDI sound font
    // (/usr/share/sounds/sf2/default-GM.sf2, else TimGM6mb.sf2)
    explicit SynthBackend(std::shared_ptr<MidiClock> clock, std::filesystem::path soundFont = {});
    ~SynthBackend() override;

    // MidiBackend
    std::vector<MidiPortName> OutputPorts() override;
    std::vector<MidiPortName> InputPorts() override;
    MidiResult OpenOutput(const MidiPortName& name, std::unique_ptr<MidiOutSink>& sink) override;
    MidiResult OpenInput(const MidiPortName& name, MidiInReceiver receiver,
                         std::unique_ptr<MidiInSource>& source) override;

    // Rendering to memory (virtual clock): the mono sound from the first open
    // on, one sample per frame; RenderUntil renders up to a time of the clock
    std::vector<float> Rendered() const;
    int64_t RenderStartUs() const;
    void RenderUntil(int64_t us);

    class Synth;

private:
    MidiResult EnsureSynth();

    std::shared_ptr<MidiClock> m_clock;
    std::filesystem::path m_soundFont;
    mutable std::mutex m_mutex;
    std::shared_ptr<Synth> m_synth;
};

} // namespace zib
