#include "devices/core/SynthBackend.h"

#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"
#include "platform/ProgramLog.h"

#include <algorithm>
#include <alsa/asoundlib.h>
#include <fluidsynth.h>
#include <jack/jack.h>

namespace zib {

// The synthesizer with its settings and, on the steady clock, its audio
// driver; on a virtual clock the sound rendered so far.
class SynthBackend::Synth {
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

    // Renders up to `us` (virtual clock only); the caller holds `mutex`
    void RenderUntil(int64_t us)
    {
        if (driver || us <= startUs) return;
        const int64_t target = (us - startUs) * kSampleRate / 1'000'000;
        while (int64_t(rendered.size()) < target) {
            const int n = int(std::min<int64_t>(target - int64_t(rendered.size()), 4096));
            left.resize(size_t(n));
            right.resize(size_t(n));
            fluid_synth_write_float(synth, n, left.data(), 0, 1, right.data(), 0, 1);
            for (int i = 0; i < n; ++i) rendered.push_back(0.5f * (left[size_t(i)] + right[size_t(i)]));
        }
    }

    // One MIDI message; the caller holds `mutex`
    void Apply(std::span<const uint8_t> bytes)
    {
        if (bytes.empty()) return;
        const int status = bytes[0];
        const int channel = status & 0x0F;
        const int d1 = bytes.size() > 1 ? bytes[1] & 0x7F : 0;
        const int d2 = bytes.size() > 2 ? bytes[2] & 0x7F : 0;
        switch (status & 0xF0) {
        case 0x80: fluid_synth_noteoff(synth, channel, d1); break;
        case 0x90:
            if (d2 == 0)
                fluid_synth_noteoff(synth, channel, d1);
            else
                fluid_synth_noteon(synth, channel, d1, d2);
            break;
        case 0xA0: fluid_synth_key_pressure(synth, channel, d1, d2); break;
        case 0xB0: fluid_synth_cc(synth, channel, d1, d2); break;
        case 0xC0: fluid_synth_program_change(synth, channel, d1); break;
        case 0xD0: fluid_synth_channel_pressure(synth, channel, d1); break;
        case 0xE0: fluid_synth_pitch_bend(synth, channel, d1 | (d2 << 7)); break;
        default:
            if (status == 0xF0 && bytes.size() >= 2) {
                // FluidSynth takes the message without its 0xF0 ... 0xF7 frame.
                size_t n = bytes.size() - 1;
                if (bytes.back() == 0xF7) --n;
                fluid_synth_sysex(synth, reinterpret_cast<const char*>(bytes.data() + 1), int(n), nullptr, nullptr,
                                  nullptr, 0);
            } else if (status == 0xFF) {
                fluid_synth_system_reset(synth);
            }
            break;
        }
    }

    std::mutex mutex;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    int64_t startUs = 0;
    std::vector<float> rendered;
    std::vector<float> left, right;
};

namespace {

// The synthesizer's own messages stay off the console: a machine without
// an audio device is normal here and reported through the open result.
void quietLog(int, const char*, void*) {}

void silenceFluidLog()
{
    static const bool done = [] {
        for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level) fluid_set_log_function(level, quietLog, nullptr);
        return true;
    }();
    (void)done;
}

// ALSA's library prints why a device cannot open; the open result says it.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

void quietJack(const char*) {}

// Whether a JACK server runs, asked without starting one. libjack prints
// why it cannot connect; here that is an ordinary answer, so it stays quiet.
bool jackServerRuns()
{
    void (*const error)(const char*) = jack_error_callback;
    void (*const info)(const char*) = jack_info_callback;
    jack_set_error_function(quietJack);
    jack_set_info_function(quietJack);
    jack_status_t status{};
    jack_client_t* client = jack_client_open("Zib probe", JackNoStartServer, &status);
    if (client) jack_client_close(client);
    jack_set_error_function(error);
    jack_set_info_function(info);
    return client != nullptr;
}

// The audio drivers this FluidSynth was built with
std::vector<std::string> availableAudioDrivers(fluid_settings_t* settings)
{
    std::vector<std::string> names;
    fluid_settings_foreach_option(settings, "audio.driver", &names,
                                  [](void* data, const char*, const char* option) {
                                      static_cast<std::vector<std::string>*>(data)->emplace_back(option);
                                  });
    return names;
}

class SynthSink : public MidiOutSink {
public:
    SynthSink(std::shared_ptr<SynthBackend::Synth> synth, bool virtualClock)
        : m_synth(std::move(synth)), m_virtual(virtualClock)
    {
    }

    bool Send(std::span<const uint8_t> bytes, int64_t dueUs) override
    {
        std::lock_guard lock(m_synth->mutex);
        if (m_virtual) m_synth->RenderUntil(dueUs);
        m_synth->Apply(bytes);
        return true;
    }
    MidiResult Check(OutCall) override { return MidiResult::NoError; }

private:
    std::shared_ptr<SynthBackend::Synth> m_synth;
    bool m_virtual;
};

MidiPortName synthPort()
{
    return {"", MidiDeviceList::kSynthName};
}

} // namespace

SynthBackend::SynthBackend(std::shared_ptr<MidiClock> clock, std::filesystem::path soundFont)
    : m_clock(std::move(clock)), m_soundFont(std::move(soundFont))
{
}

SynthBackend::~SynthBackend() = default;

std::vector<MidiPortName> SynthBackend::OutputPorts()
{
    return {synthPort()};
}

std::vector<MidiPortName> SynthBackend::InputPorts()
{
    return {};
}

std::vector<std::string> SynthBackend::AudioDriversToTry(const std::vector<std::string>& available,
                                                         bool jackServerRuns)
{
    std::vector<std::string> drivers;
    for (const AudioDriver& driver : kAudioDrivers) {
        const std::string_view name = driver.name;
        if (std::find(available.begin(), available.end(), name) == available.end()) continue;
        if (name == "jack" && !jackServerRuns) continue;
        drivers.emplace_back(name);
    }
    return drivers;
}

// The synthesizer with its sound font is made once; on the steady clock its
// audio driver is opened at each open until one opens.
MidiResult SynthBackend::EnsureSynth()
{
    if (!m_synth) {
        silenceFluidLog();
        auto s = std::make_shared<Synth>();
        s->settings = new_fluid_settings();
        if (!s->settings) return MidiResult::NoMemory;
        fluid_settings_setnum(s->settings, "synth.sample-rate", kSampleRate);
        fluid_settings_setint(s->settings, "synth.midi-channels", 16);
        // Under JACK the synthesizer's outputs go to the speakers at once.
        fluid_settings_setint(s->settings, "audio.jack.autoconnect", 1);
        s->synth = new_fluid_synth(s->settings);
        if (!s->synth) return MidiResult::NoMemory;
        std::vector<std::filesystem::path> fonts;
        if (!m_soundFont.empty()) fonts.push_back(m_soundFont);
        fonts.emplace_back("/usr/share/sounds/sf2/default-GM.sf2");
        fonts.emplace_back("/usr/share/sounds/sf2/TimGM6mb.sf2");
        bool loaded = false;
        for (const auto& path : fonts) {
            std::error_code ec;
            if (std::filesystem::is_regular_file(path, ec) &&
                fluid_synth_sfload(s->synth, path.c_str(), 1) != FLUID_FAILED) {
                loaded = true;
                break;
            }
        }
        if (!loaded) return MidiResult::BadDeviceId;
        if (m_clock->IsVirtual()) s->startUs = m_clock->NowUs();
        m_synth = std::move(s);
    }
    if (m_clock->IsVirtual() || m_synth->driver) return MidiResult::NoError;
    return OpenAudio(*m_synth);
}

MidiResult SynthBackend::OpenAudio(Synth& s)
{
    const std::vector<std::string> drivers =
        AudioDriversToTry(availableAudioDrivers(s.settings), jackServerRuns());
    std::string tried;
    for (const std::string& driver : drivers) {
        if (driver == "alsa") snd_lib_error_set_handler(quietAlsa);
        const auto known = std::find_if(kAudioDrivers.begin(), kAudioDrivers.end(),
                                        [&](const AudioDriver& d) { return d.name == driver; });
        fluid_settings_setstr(s.settings, "audio.driver", driver.c_str());
        fluid_settings_setint(s.settings, "audio.period-size", known->periodSize);
        fluid_settings_setint(s.settings, "audio.periods", known->periods);
        if ((s.driver = new_fluid_audio_driver(s.settings, s.synth))) return MidiResult::NoError;
        tried += (tried.empty() ? "" : ", ") + driver;
    }
    m_failure = kNoAudioOutput;
    WriteProgramLog(std::string(kNoAudioOutput) + " (tried: " + (tried.empty() ? "no audio driver" : tried) +
                    ")");
    return MidiResult::BadDeviceId; // no sound server or hardware: no such device
}

MidiResult SynthBackend::OpenOutput(const MidiPortName& name, std::unique_ptr<MidiOutSink>& sink)
{
    if (!(name == synthPort())) return MidiResult::BadDeviceId;
    std::lock_guard lock(m_mutex);
    m_failure.clear();
    const MidiResult r = EnsureSynth();
    if (!Succeeded(r)) return r;
    sink = std::make_unique<SynthSink>(m_synth, m_clock->IsVirtual());
    return MidiResult::NoError;
}

std::string SynthBackend::OutputFailure(const MidiPortName& name) const
{
    std::lock_guard lock(m_mutex);
    return name == synthPort() ? m_failure : std::string();
}

MidiResult SynthBackend::OpenInput(const MidiPortName&, MidiInReceiver, std::unique_ptr<MidiInSource>&)
{
    return MidiResult::BadDeviceId;
}

std::vector<float> SynthBackend::Rendered() const
{
    std::lock_guard lock(m_mutex);
    if (!m_synth) return {};
    std::lock_guard synthLock(m_synth->mutex);
    return m_synth->rendered;
}

int64_t SynthBackend::RenderStartUs() const
{
    std::lock_guard lock(m_mutex);
    return m_synth ? m_synth->startUs : 0;
}

void SynthBackend::RenderUntil(int64_t us)
{
    std::lock_guard lock(m_mutex);
    if (!m_synth) return;
    std::lock_guard synthLock(m_synth->mutex);
    m_synth->RenderUntil(us);
}

} // namespace zib
