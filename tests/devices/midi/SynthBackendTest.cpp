#include "devices/core/SynthBackend.h"
#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/MidiHeader.h"
#include "devices/core/MidiSession.h"
#include "devices/core/OutStream.h"
#include "devices/core/OutStreamClient.h"
#include "tests/support/CiRun.h"
#include "tests/support/NoAudioEnvironment.h"
#include "tests/support/PulseAudioServer.h"
#include "tests/support/SinkRecorder.h"
#include "tests/support/StreamEvents.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

namespace zib {
namespace {

constexpr int kSilence = test::SinkRecorder::kSilence;
constexpr int kSound = test::SinkRecorder::kSound;
constexpr int64_t kSinkBlockUs = test::SinkRecorder::kBlockUs;

struct Quiet : OutStreamClient {
    void OnStreamDone(OutStream&, MidiHeader&) override { ++done; }
    void OnStreamPosition(OutStream&, MidiHeader&, uint32_t) override {}
    int done = 0;
};

// Times (in samples) where the sound's energy jumps: a 0.25 ms frame whose
// level is four times the loudest of the 10 ms before it, and loud enough.
std::vector<size_t> onsets(const std::vector<float>& sound)
{
    constexpr size_t kFrame = SynthBackend::kSampleRate / 4000;
    std::vector<float> level;
    for (size_t i = 0; i + kFrame <= sound.size(); i += kFrame) {
        float sum = 0;
        for (size_t j = i; j < i + kFrame; ++j) sum += sound[j] * sound[j];
        level.push_back(std::sqrt(sum / kFrame));
    }
    std::vector<size_t> found;
    for (size_t k = 40; k < level.size(); ++k) {
        float before = 0;
        for (size_t j = k - 40; j < k; ++j) before = std::max(before, level[j]);
        if (level[k] > 0.002f && level[k] > 4 * before + 1e-4f) {
            found.push_back(k * kFrame);
            k += 40; // one onset per note
        }
    }
    return found;
}

// Whether the General MIDI sound font is installed; a CI run needs it.
bool haveSoundFont()
{
    const bool there = std::filesystem::exists("/usr/share/sounds/sf2/default-GM.sf2") ||
                       std::filesystem::exists("/usr/share/sounds/sf2/TimGM6mb.sf2");
    if (!there) test::reportMissingInCi("a General MIDI sound font (package timgm6mb-soundfont)");
    return there;
}

TEST(SynthBackendTest, OnTheVirtualClockNotesStartWithin3msOfTheirDueTimes)
{
    if (!haveSoundFont()) GTEST_SKIP() << "no General MIDI sound font installed (timgm6mb-soundfont)";
    auto clock = std::make_shared<VirtualMidiClock>();
    auto synth = std::make_shared<SynthBackend>(clock);
    MidiDeviceList devices(clock);
    devices.AddBackend(synth);
    devices.Refresh();
    ASSERT_EQ(*devices.OutDeviceName(0), MidiDeviceList::kSynthName);

    clock->AdvanceTo(100'000);
    MidiSession session(devices);
    Quiet client;
    std::unique_ptr<OutStream> s;
    ASSERT_EQ(session.OpenOutStream(0, client, s), MidiResult::NoError);
    s->SetTimeDiv(96);
    s->SetTempo(500000);

    // Hi wood block on the drum channel every 48 ticks (250 ms), then the
    // tempo doubles at tick 192 and the blocks come every 125 ms.
    constexpr uint32_t kBlock = 0x7F4C99, kBlockOff = 0x004C99;
    test::StreamBufferBuilder b;
    std::vector<int64_t> dueUs;
    for (int i = 0; i < 4; ++i) {
        b.Event(i == 0 ? 0 : 36, kBlock).Event(12, kBlockOff);
        dueUs.push_back(200'000 + 250'000 * i);
    }
    b.Event(0 + 36, mevt::kTempo | 250000); // at tick 192
    for (int i = 0; i < 3; ++i) {
        b.Event(i == 0 ? 0 : 36, kBlock).Event(12, kBlockOff);
        dueUs.push_back(1'200'000 + 125'000 * i);
    }
    MidiHeader& h = b.Header(0);
    ASSERT_EQ(s->Prepare(h), MidiResult::NoError);
    ASSERT_EQ(s->Queue(h), MidiResult::NoError);
    clock->AdvanceTo(200'000);
    s->Restart();
    clock->Advance(2'000'000);
    EXPECT_EQ(client.done, 1);
    synth->RenderUntil(clock->NowUs());

    const std::vector<float> sound = synth->Rendered();
    const int64_t start = synth->RenderStartUs();
    const std::vector<size_t> found = onsets(sound);
    ASSERT_EQ(found.size(), dueUs.size());
    for (size_t i = 0; i < found.size(); ++i) {
        const double atUs = double(start) + double(found[i]) * 1e6 / SynthBackend::kSampleRate;
        EXPECT_NEAR(atUs, double(dueUs[i]), 3000.0) << "note " << i;
    }
}

TEST(SynthBackendTest, IsDeviceZeroAndHasNoInputs)
{
    auto clock = std::make_shared<VirtualMidiClock>();
    SynthBackend synth(clock);
    ASSERT_EQ(synth.OutputPorts().size(), 1u);
    EXPECT_EQ(synth.OutputPorts()[0].Shown(), "Zib built-in synth (General MIDI)");
    EXPECT_TRUE(synth.InputPorts().empty());
    std::unique_ptr<MidiOutSink> sink;
    EXPECT_EQ(synth.OpenOutput({"Other", "Port"}, sink), MidiResult::BadDeviceId);
    std::unique_ptr<MidiInSource> source;
    EXPECT_EQ(synth.OpenInput({"", MidiDeviceList::kSynthName}, nullptr, source), MidiResult::BadDeviceId);
}

// Sound servers first, then the hardware; a driver FluidSynth lacks is left
// out, and JACK waits for a running server.
TEST(SynthBackendTest, TriesTheSoundServersBeforeTheHardware)
{
    struct Case {
        std::vector<std::string> available;
        bool jackRuns;
        std::vector<std::string> tried;
    };
    const std::vector<std::string> debian{"alsa", "file", "jack", "oss", "pulseaudio", "sdl2"};
    const Case cases[] = {
        {{"sdl2", "alsa", "jack", "pulseaudio", "pipewire"},
         true,
         {"pipewire", "pulseaudio", "jack", "alsa"}},
        {debian, true, {"pulseaudio", "jack", "alsa"}},
        {debian, false, {"pulseaudio", "alsa"}},
        {{"file", "oss"}, true, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SynthBackend::AudioDriversToTry(c.available, c.jackRuns), c.tried)
            << ::testing::PrintToString(c.available);
}

// With no sound server and no sound hardware the synthesizer is no device:
// each open fails with "no such device", names the cause for the screen and
// writes one line to the log, and nothing else reaches the error stream.
TEST(SynthBackendTest, WithoutAudioOutputItIsNoDeviceAndSaysWhy)
{
    if (!haveSoundFont()) GTEST_SKIP() << "no General MIDI sound font installed (timgm6mb-soundfont)";
    test::TempDir dir;
    test::ScopedEnvironment noAudio(test::NoAudioEnvironment(dir.path()));
    SynthBackend synth(std::make_shared<SteadyMidiClock>());
    const MidiPortName port = synth.OutputPorts()[0];
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::unique_ptr<MidiOutSink> sink;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(synth.OpenOutput(port, sink), MidiResult::BadDeviceId);
        const std::string log = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(sink, nullptr);
        EXPECT_EQ(synth.OutputFailure(port), "No audio output found for the built-in synthesizer");
        EXPECT_EQ(synth.OutputFailure({"Other", "Port"}), "");
        EXPECT_EQ(log.rfind("zib: No audio output found for the built-in synthesizer (tried: ", 0), 0u)
            << log;
        EXPECT_NE(log.find("alsa)\n"), std::string::npos) << log;
        EXPECT_EQ(log.find("jack"), std::string::npos) << "no JACK server runs: " << log;
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    }
}

// Drawbar organ: a note that sounds as long as it is held
constexpr uint8_t kOrgan[] = {0xC0, 16}, kOrganOn[] = {0x90, 60, 100}, kOrganOff[] = {0x80, 60, 0};

// A sound server that starts after a failed open is found at the next one,
// and what the synthesizer plays reaches it: silence until the note, sound
// after it, judged in the recording (how soon is a benchmark's figure).
TEST(SynthBackendTest, ASoundServerStartedLaterIsFoundAtTheNextOpenAndSounds)
{
    if (!haveSoundFont()) GTEST_SKIP() << "no General MIDI sound font installed (timgm6mb-soundfont)";
    test::TempDir dir;
    auto clock = std::make_shared<SteadyMidiClock>();
    SynthBackend synth(clock);
    const MidiPortName port = synth.OutputPorts()[0];
    std::unique_ptr<MidiOutSink> sink;
    {
        test::ScopedEnvironment noAudio(test::NoAudioEnvironment(dir.path()));
        ::testing::internal::CaptureStderr();
        ASSERT_EQ(synth.OpenOutput(port, sink), MidiResult::BadDeviceId);
        ::testing::internal::GetCapturedStderr();
    }
    test::PulseAudioServer server;
    if (!server.UpOrMissingInCi()) GTEST_SKIP() << server.Problem();
    test::SinkRecorder recorder(server);
    ASSERT_TRUE(recorder.WaitUntilRecording()) << "parec records";
    test::ScopedEnvironment toServer(server.ClientEnvironment());
    ASSERT_EQ(synth.OpenOutput(port, sink), MidiResult::NoError);
    EXPECT_EQ(synth.OutputFailure(port), "");

    sink->Send(kOrgan, clock->NowUs());
    // The ceilings of the waits only bound a hang.
    ASSERT_TRUE(
        recorder.WaitUntilHeard(test::SinkRecorder::NowUs() + 300'000, test::kHangCeiling));
    const int64_t before = test::SinkRecorder::NowUs();
    sink->Send(kOrganOn, clock->NowUs());
    test::awaitState([&] { return recorder.FirstAtLeast(kSound, before - kSinkBlockUs) >= 0; });
    sink->Send(kOrganOff, clock->NowUs());
    EXPECT_GE(recorder.FirstAtLeast(kSound, before - kSinkBlockUs), 0) << "the note was heard";
    EXPECT_LT(recorder.PeakBetween(recorder.FirstUs(), before - kSinkBlockUs), kSilence)
        << "silent before the note";
}

// A held note sounds without a break: a drawbar organ's note held for 6 s
// has no silence longer than 1 ms, judged in frames of the recording from
// its onset until the note off was sent (every frame in by then was heard
// before it). The recorder plays silence into the sink all along, so the
// sink runs and a gap is the synthesizer's stream running dry: an audio
// buffer too short for a busy machine.
TEST(SynthBackendTest, AHeldNoteSoundsWithoutAGap)
{
    if (!haveSoundFont()) GTEST_SKIP() << "no General MIDI sound font installed (timgm6mb-soundfont)";
    test::PulseAudioServer server;
    if (!server.UpOrMissingInCi()) GTEST_SKIP() << server.Problem();
    test::SinkRecorder recorder(server);
    ASSERT_TRUE(recorder.WaitUntilRecording()) << "parec records";
    test::ScopedEnvironment toServer(server.ClientEnvironment());
    auto clock = std::make_shared<SteadyMidiClock>();
    SynthBackend synth(clock);
    std::unique_ptr<MidiOutSink> sink;
    ASSERT_EQ(synth.OpenOutput(synth.OutputPorts()[0], sink), MidiResult::NoError);

    constexpr size_t kRate = test::PulseAudioServer::kRate;
    constexpr size_t kHeldFrames = 6 * kRate, kLongestQuietFrames = kRate / 1000;
    sink->Send(kOrgan, clock->NowUs());
    sink->Send(kOrganOn, clock->NowUs());
    int64_t onset = -1;
    const bool held =
        test::awaitState([&] { return (onset = recorder.FirstFrameAtLeast(kSound)) >= 0; }) &&
        test::awaitState([&] { return recorder.Frames() >= size_t(onset) + kHeldFrames; });
    const size_t released = recorder.Frames();
    sink->Send(kOrganOff, clock->NowUs());
    ASSERT_TRUE(held) << "the note was heard for 6 s";

    const auto gaps = recorder.QuietRunsLongerThan(kSilence, kLongestQuietFrames, size_t(onset), released);
    size_t longest = 0;
    std::string first; // the first few: how long, and when after the onset
    for (size_t i = 0; i < gaps.size(); ++i) {
        longest = std::max(longest, gaps[i].length);
        if (i < 5)
            first += " " + std::to_string(double(gaps[i].length) * 1000 / kRate) + " ms at " +
                     std::to_string(double(gaps[i].first - size_t(onset)) / kRate) + " s;";
    }
    EXPECT_TRUE(gaps.empty()) << gaps.size() << " silent runs over 1 ms in the held note, the longest "
                              << double(longest) * 1000 / kRate << " ms; the first:" << first;
}

} // namespace
} // namespace zib
