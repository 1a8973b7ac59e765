#pragma once

#include "devices/core/MidiBackend.h"

#include <array>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

class MidiClock;

// The built-in synthesizer: FluidSynth with a General MIDI sound font, one
// output port that every device list shows as OUT device 0. Streams opened
// on it share one synthesizer, made at the first open.
//
// On the steady clock it sounds through FluidSynth's audio driver, the first
// of kAudioDrivers that opens. When none opens (no sound server, no sound
// hardware), opening fails with BadDeviceId, "no such device"; the log and
// OutputFailure say so in the user's words, and the next open tries the
// drivers again, so a sound server started later is found. On a virtual
// clock it needs no driver: each message first renders the sound up to the
// message's due time into memory, then takes effect, so a test can look at
// exactly when notes start.
class SynthBackend : public MidiBackend {
public:
    static constexpr int kSampleRate = 48000;

    // FluidSynth's audio drivers in the order they are tried: the sound
    // servers of today's desktops first, the bare hardware last
    static constexpr std::array<std::string_view, 4> kAudioDrivers{"pipewire", "pulseaudio", "jack", "alsa"};
    // Why the synthesizer cannot sound (a UI text, translated at the screen)
    static constexpr const char* kNoAudioOutput = "No audio output found for the built-in synthesizer";

    // The drivers to try: those of kAudioDrivers that this FluidSynth has
    // (`available`), in that order; JACK only while a JACK server runs, as
    // FluidSynth would otherwise start a server of its own
    static std::vector<std::string> AudioDriversToTry(const std::vector<std::string>& available,
                                                      bool jackServerRuns);

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
    std::string OutputFailure(const MidiPortName& name) const override;

    // Rendering to memory (virtual clock): the mono sound from the first open
    // on, one sample per frame; RenderUntil renders up to a time of the clock
    std::vector<float> Rendered() const;
    int64_t RenderStartUs() const;
    void RenderUntil(int64_t us);

    class Synth;

private:
    MidiResult EnsureSynth();
    MidiResult OpenAudio(Synth& synth);

    std::shared_ptr<MidiClock> m_clock;
    std::filesystem::path m_soundFont;
    mutable std::mutex m_mutex;
    std::shared_ptr<Synth> m_synth;
    std::string m_failure; // why the last open failed; empty after one that worked
};

} // namespace zib
