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

    // One of FluidSynth's audio drivers and its buffer: the synthesizer
    // renders `periodSize` frames at a time; `periods` is the number of
    // periods in the buffer, for a driver that keeps one of periods
    struct AudioDriver {
        std::string_view name;
        int periodSize;
        int periods;
    };
    // The drivers in the order they are tried: the sound servers of today's
    // desktops first, the bare hardware last. Each is given a buffer that
    // rides out the stalls of a busy machine (some tens of milliseconds);
    // with less a held note breaks up in clicks, and each frame more is
    // heard as latency when a key is played.
    //  - A sound server sizes the stream's buffer from the period alone
    //    (PulseAudio to about three quarters of it, 32 ms here); FluidSynth's
    //    64 frames leave it under 2 ms.
    //  - JACK plays in the periods of its server; these are FluidSynth's
    //    own numbers.
    //  - ALSA's buffer is the periods together, 21 ms here; the
    //    synthesizer's real-time thread tops it up at each short period, so
    //    it stays nearly full.
    static constexpr std::array<AudioDriver, 4> kAudioDrivers{{
        {"pipewire", 2048, 2},
        {"pulseaudio", 2048, 2},
        {"jack", 64, 16},
        {"alsa", 64, 16},
    }};
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
