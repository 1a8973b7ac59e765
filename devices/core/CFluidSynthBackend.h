#pragma once

#include "devices/core/IMidiBackend.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace zib {

// The built-in software synthesizer: one General MIDI output device that is
// always listed. The synthesizer is made at the first open, with the first
// sound font found and the first audio driver that opens; without an audio
// driver it still takes every message (nothing is heard), so a machine
// without sound hardware plays silently instead of failing. Every stream
// opened on it shares the one synthesizer.
class CFluidSynthBackend : public IMidiBackend {
public:
    static constexpr const char* kDeviceName = "Zib Software Synth";

    // Audio drivers tried in order; an empty list plays into no driver.
    // $ZIB_SYNTH_AUDIO names one driver to use ("none" for no driver), and
    // $ZIB_SOUNDFONT a sound font to try first.
    explicit CFluidSynthBackend(std::vector<std::string> audioDrivers = {"pulseaudio", "alsa"});
    ~CFluidSynthBackend() override;

    // Enumeration
    std::vector<std::string> OutputNames() override;
    std::vector<std::string> InputNames() override;

    // Opening
    MidiResult OpenStream(int index, IMidiStreamClient& client, std::unique_ptr<CMidiStream>& stream) override;
    MidiResult OpenInput(int index, IMidiInClient& client, std::unique_ptr<CMidiInPort>& port) override;

    // State of the synthesizer (tests and diagnostics)
    bool HasSynth() const;
    bool HasSoundFont() const;
    std::string AudioDriverName() const; // empty without a driver
    int ActiveVoiceCount() const;
    // Renders `frames` stereo frames into nothing and returns their peak
    // level (plays the synthesizer forward when no driver does)
    float RenderPeak(int frames);

    // Sound fonts looked for, in order
    static std::vector<std::filesystem::path> SoundFontCandidates();

    class Synth;

private:
    MidiResult EnsureSynth();

    std::vector<std::string> m_audioDrivers;
    mutable std::mutex m_mutex;
    std::shared_ptr<Synth> m_synth;
};

} // namespace zib
