#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/MidiHeader.h"
#include "devices/core/MidiSession.h"
#include "devices/core/OutStream.h"
#include "devices/core/OutStreamClient.h"
#include "devices/core/SynthBackend.h"
#include "tests/support/StreamEvents.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace zib {
namespace {

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

TEST(SynthBackendTest, OnTheVirtualClockNotesStartWithin3msOfTheirDueTimes)
{
    if (!std::filesystem::exists("/usr/share/sounds/sf2/default-GM.sf2") &&
        !std::filesystem::exists("/usr/share/sounds/sf2/TimGM6mb.sf2"))
        GTEST_SKIP() << "no General MIDI sound font installed (timgm6mb-soundfont)";
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

} // namespace
} // namespace zib
