#include "devices/core/CFluidSynthBackend.h"

#include "devices/core/CRealtimeMidiStream.h"
#include "devices/core/IMidiSink.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fluidsynth.h>

namespace zib {

// The synthesizer with its settings, sound font and audio driver.
class CFluidSynthBackend::Synth {
public:
    Synth() = default;
    ~Synth()
    {
        if (driver) delete_fluid_audio_driver(driver);
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
    Synth(const Synth&) = delete;
    Synth& operator=(const Synth&) = delete;

    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    std::string driverName;
    bool soundFont = false;
};

namespace {

// Keeps the synthesizer's own messages off the console: a missing audio
// device is normal here and reported through the open result.
void quietLog(int, const char*, void*) {}

void silenceFluidLog()
{
    static const bool done = [] {
        for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level)
            fluid_set_log_function(level, quietLog, nullptr);
        return true;
    }();
    (void)done;
}

// Sends the messages of one stream to the shared synthesizer.
class FluidSink : public IMidiSink {
public:
    explicit FluidSink(std::shared_ptr<CFluidSynthBackend::Synth> synth) : m_synth(std::move(synth)) {}

    void SendShort(uint32_t message) override
    {
        fluid_synth_t* s = m_synth->synth;
        const int status = int(message & 0xFF);
        const int channel = status & 0x0F;
        const int d1 = int((message >> 8) & 0x7F);
        const int d2 = int((message >> 16) & 0x7F);
        switch (status & 0xF0) {
        case 0x80: fluid_synth_noteoff(s, channel, d1); break;
        case 0x90:
            if (d2 == 0)
                fluid_synth_noteoff(s, channel, d1);
            else
                fluid_synth_noteon(s, channel, d1, d2);
            break;
        case 0xA0: fluid_synth_key_pressure(s, channel, d1, d2); break;
        case 0xB0: fluid_synth_cc(s, channel, d1, d2); break;
        case 0xC0: fluid_synth_program_change(s, channel, d1); break;
        case 0xD0: fluid_synth_channel_pressure(s, channel, d1); break;
        case 0xE0: fluid_synth_pitch_bend(s, channel, d1 | (d2 << 7)); break;
        default:
            if (status == 0xFF) fluid_synth_system_reset(s);
            break; // other system messages mean nothing to a synthesizer
        }
    }

    void SendLong(std::span<const uint8_t> bytes) override
    {
        // The synthesizer takes the message without its 0xF0 and 0xF7 frame.
        if (bytes.size() < 2 || bytes.front() != 0xF0) return;
        size_t n = bytes.size() - 1;
        if (bytes.back() == 0xF7) --n;
        fluid_synth_sysex(m_synth->synth, reinterpret_cast<const char*>(bytes.data() + 1), int(n), nullptr,
                          nullptr, nullptr, 0);
    }

private:
    std::shared_ptr<CFluidSynthBackend::Synth> m_synth;
};

} // namespace

CFluidSynthBackend::CFluidSynthBackend(std::vector<std::string> audioDrivers)
    : m_audioDrivers(std::move(audioDrivers))
{
    if (const char* chosen = std::getenv("ZIB_SYNTH_AUDIO")) {
        m_audioDrivers.clear();
        if (std::string(chosen) != "none" && *chosen != '\0') m_audioDrivers.emplace_back(chosen);
    }
}

CFluidSynthBackend::~CFluidSynthBackend() = default;

std::vector<std::string> CFluidSynthBackend::OutputNames()
{
    return {kDeviceName};
}

std::vector<std::string> CFluidSynthBackend::InputNames()
{
    return {};
}

std::vector<std::filesystem::path> CFluidSynthBackend::SoundFontCandidates()
{
    std::vector<std::filesystem::path> list;
    if (const char* chosen = std::getenv("ZIB_SOUNDFONT"); chosen && *chosen) list.emplace_back(chosen);
    for (const char* p : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                          "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2"})
        list.emplace_back(p);
    return list;
}

MidiResult CFluidSynthBackend::EnsureSynth()
{
    if (m_synth) return MidiResult::NoError;
    silenceFluidLog();
    auto synth = std::make_shared<Synth>();
    synth->settings = new_fluid_settings();
    if (!synth->settings) return MidiResult::NoMemory;
    fluid_settings_setint(synth->settings, "synth.midi-channels", 16);
    synth->synth = new_fluid_synth(synth->settings);
    if (!synth->synth) return MidiResult::NoDriver;
    for (const auto& path : SoundFontCandidates()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) continue;
        if (fluid_synth_sfload(synth->synth, path.c_str(), 1) != FLUID_FAILED) {
            synth->soundFont = true;
            break;
        }
    }
    for (const auto& name : m_audioDrivers) {
        fluid_settings_setstr(synth->settings, "audio.driver", name.c_str());
        synth->driver = new_fluid_audio_driver(synth->settings, synth->synth);
        if (synth->driver) {
            synth->driverName = name;
            break;
        }
    }
    m_synth = std::move(synth);
    return MidiResult::NoError;
}

MidiResult CFluidSynthBackend::OpenStream(int index, IMidiStreamClient& client, std::unique_ptr<CMidiStream>& stream)
{
    if (index != 0) return MidiResult::BadDeviceId;
    std::lock_guard lock(m_mutex);
    const MidiResult r = EnsureSynth();
    if (!Succeeded(r)) return r;
    stream = std::make_unique<CRealtimeMidiStream>(std::make_unique<FluidSink>(m_synth), client);
    return MidiResult::NoError;
}

MidiResult CFluidSynthBackend::OpenInput(int, IMidiInClient&, std::unique_ptr<CMidiInPort>&)
{
    return MidiResult::BadDeviceId;
}

bool CFluidSynthBackend::HasSynth() const
{
    std::lock_guard lock(m_mutex);
    return m_synth != nullptr;
}

bool CFluidSynthBackend::HasSoundFont() const
{
    std::lock_guard lock(m_mutex);
    return m_synth && m_synth->soundFont;
}

std::string CFluidSynthBackend::AudioDriverName() const
{
    std::lock_guard lock(m_mutex);
    return m_synth ? m_synth->driverName : std::string();
}

int CFluidSynthBackend::ActiveVoiceCount() const
{
    std::lock_guard lock(m_mutex);
    return m_synth ? fluid_synth_get_active_voice_count(m_synth->synth) : 0;
}

float CFluidSynthBackend::RenderPeak(int frames)
{
    std::lock_guard lock(m_mutex);
    if (!m_synth || frames <= 0) return 0.0f;
    std::vector<float> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
    fluid_synth_write_float(m_synth->synth, frames, left.data(), 0, 1, right.data(), 0, 1);
    float peak = 0.0f;
    for (size_t i = 0; i < left.size(); ++i) peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    return peak;
}

} // namespace zib
