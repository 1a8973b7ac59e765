// The built-in synthesizer (OUT device 0) sounding through a private
// PulseAudio server (tests/support/PulseAudioServer.h) whose sink is
// recorded (tests/support/SinkRecorder.h).
//   BM_SynthNoteLatency  a drawbar organ's note sent on the MIDI layer's
//                        stream, five times, each after silence: from the
//                        steady time it was sent until the first loud frame
//                        of the sink, as the recorder dates it; p50 and max
//                        (target <= 100 ms).
// The GUI test judges the order of silence, sound and Stop in frames of the
// recording; how soon a note is heard is measured here. Without the server
// (package pulseaudio) or a sound font the benchmark skips with the reason.

#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/MidiHeader.h"
#include "devices/core/MidiSession.h"
#include "devices/core/OutStream.h"
#include "devices/core/OutStreamClient.h"
#include "devices/core/SynthBackend.h"
#include "tests/support/PulseAudioServer.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/SinkRecorder.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace zib {
namespace {

using test::awaitState;
using test::kHangCeiling;
using test::SinkRecorder;

struct NoCallbacks : OutStreamClient {
    void OnStreamDone(OutStream&, MidiHeader&) override {}
    void OnStreamPosition(OutStream&, MidiHeader&, uint32_t) override {}
};

double percentile(std::vector<int64_t> values, double q)
{
    std::sort(values.begin(), values.end());
    return double(values[std::min(values.size() - 1, size_t(q * double(values.size())))]);
}

void BM_SynthNoteLatency(benchmark::State& state)
{
    test::PulseAudioServer server;
    if (!server.IsUp()) {
        state.SkipWithError(server.Problem().c_str());
        return;
    }
    SinkRecorder recorder(server);
    if (!recorder.WaitUntilRecording()) {
        state.SkipWithError("parec records nothing from the private server");
        return;
    }
    test::ScopedEnvironment toServer(server.ClientEnvironment());
    auto clock = std::make_shared<SteadyMidiClock>();
    MidiDeviceList devices(clock);
    devices.AddBackend(std::make_shared<SynthBackend>(clock));
    devices.Refresh();
    MidiSession session(devices);
    NoCallbacks client;
    std::unique_ptr<OutStream> stream;
    if (session.OpenOutStream(0, client, stream) != MidiResult::NoError) {
        state.SkipWithError("the synthesizer did not open (no sound font, or the server refused it)");
        return;
    }
    stream->SendShort(0x0010C0); // drawbar organ: it sounds as long as the note is held
    constexpr size_t kQuietFrames = test::PulseAudioServer::kRate / 5;
    std::vector<int64_t> latencyUs;
    for (auto _ : state) {
        // The last note's release and reverberation have died away.
        if (!awaitState([&] {
                const int64_t audible = recorder.LastFrameAtLeast(SinkRecorder::kSilence);
                return recorder.Frames() >= size_t(audible + 1) + kQuietFrames;
            })) {
            state.SkipWithError("the sink did not fall silent");
            return;
        }
        const int64_t sent = SinkRecorder::NowUs();
        stream->SendShort(0x643C90);
        // A frame's date settles once later blocks are in.
        const bool heard =
            awaitState([&] {
                return recorder.FirstAtLeast(SinkRecorder::kSound, sent - SinkRecorder::kBlockUs) >= 0;
            }) &&
            recorder.WaitUntilHeard(SinkRecorder::NowUs() + 200'000, kHangCeiling);
        stream->SendShort(0x003C90);
        if (!heard) {
            state.SkipWithError("the note was not heard");
            return;
        }
        latencyUs.push_back(recorder.FirstAtLeast(SinkRecorder::kSound, sent - SinkRecorder::kBlockUs) -
                            sent);
    }
    stream->Close();
    state.counters["notes"] = double(latencyUs.size());
    state.counters["p50_ms"] = percentile(latencyUs, 0.5) / 1000;
    state.counters["max_ms"] = percentile(latencyUs, 1.0) / 1000;
    state.counters["target_ms"] = 100;
}
BENCHMARK(BM_SynthNoteLatency)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace zib
