#include "platform/ByteWriter.h"
#include "devices/core/CFluidSynthBackend.h"
#include "devices/core/CMidiStream.h"
#include "devices/core/IMidiStreamClient.h"
#include "devices/core/MidiHeader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace zib {
namespace {

struct DoneWaiter : IMidiStreamClient {
    void OnStreamDone(MidiHeader&) override
    {
        std::lock_guard lock(mutex);
        ++done;
        changed.notify_all();
    }
    void OnStreamPosition(MidiHeader&, uint32_t) override {}
    bool WaitFor(int n)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return done >= n; });
    }
    std::mutex mutex;
    std::condition_variable changed;
    int done = 0;
};

// The built-in synthesizer is always listed and opens even on a machine
// without sound hardware (no audio driver): it takes a short song on the
// real clock and sounds it.
TEST(FluidSynthBackendTest, OpensWithoutAudioAndPlaysAShortStream)
{
    CFluidSynthBackend synth(std::vector<std::string>{}); // no audio driver at all
    ASSERT_EQ(synth.OutputNames(), (std::vector<std::string>{CFluidSynthBackend::kDeviceName}));
    EXPECT_TRUE(synth.InputNames().empty());

    DoneWaiter client;
    std::unique_ptr<CMidiStream> stream;
    ASSERT_EQ(synth.OpenStream(0, client, stream), MidiResult::NoError);
    ASSERT_TRUE(synth.HasSynth());
    EXPECT_EQ(synth.AudioDriverName(), "");
    std::unique_ptr<CMidiStream> refused;
    EXPECT_EQ(synth.OpenStream(1, client, refused), MidiResult::BadDeviceId);

    stream->SetTimeDiv(96);
    stream->SetTempo(100000); // about 1 ms per tick
    ByteWriter bytes;
    for (uint32_t word : {0x00C0u, 0x7F3C90u, 0x7F4090u, 0x7F4390u}) { // program 0, C major chord
        bytes.u32le(word == 0x00C0u ? 0 : 5);
        bytes.u32le(0);
        bytes.u32le(word);
    }
    bytes.u32le(0);
    bytes.u32le(0);
    bytes.u32le(mevt::kLongMsg | 6);
    bytes.bytes(std::vector<uint8_t>{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0, 0}); // GM on, padded
    MidiHeader h;
    h.data = bytes.data();
    h.bufferLength = h.bytesRecorded = uint32_t(bytes.size());
    ASSERT_EQ(stream->PrepareHeader(h), MidiResult::NoError);
    ASSERT_EQ(stream->Out(h), MidiResult::NoError);
    ASSERT_EQ(stream->Restart(), MidiResult::NoError);
    ASSERT_TRUE(client.WaitFor(1)) << "the buffer never came back";

    stream->ShortMsg(0x7F4890);
    if (!synth.HasSoundFont()) GTEST_SKIP() << "no General MIDI sound font installed";
    EXPECT_GT(synth.ActiveVoiceCount(), 0);
    EXPECT_GT(synth.RenderPeak(4096), 0.0f);
    EXPECT_EQ(stream->UnprepareHeader(h), MidiResult::NoError);
    EXPECT_EQ(stream->Close(), MidiResult::NoError);
}

} // namespace
} // namespace zib
