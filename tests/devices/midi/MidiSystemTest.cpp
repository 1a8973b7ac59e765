#include "devices/core/CFakeMidiBackend.h"
#include "devices/core/CMidiInPort.h"
#include "devices/core/CMidiStream.h"
#include "devices/core/CMidiSystem.h"
#include "devices/core/IMidiInClient.h"
#include "devices/core/IMidiStreamClient.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zib {
namespace {

struct NullStreamClient : IMidiStreamClient {
    void OnStreamDone(MidiHeader&) override {}
    void OnStreamPosition(MidiHeader&, uint32_t) override {}
};

struct InRecorder : IMidiInClient {
    void OnMidiInData(uint32_t message, uint32_t) override { received.push_back(message); }
    std::vector<uint32_t> received;
};

TEST(MidiSystemTest, NumbersTheDevicesOfAllBackendsTogether)
{
    CMidiSystem midi;
    auto first = std::make_unique<CFakeMidiBackend>(std::vector<std::string>{"Synth"}, std::vector<std::string>{});
    auto second = std::make_unique<CFakeMidiBackend>(std::vector<std::string>{"Port 1", "Port 2"},
                                                     std::vector<std::string>{"Keys"});
    CFakeMidiBackend* ports = second.get();
    midi.AddBackend(std::move(first));
    midi.AddBackend(std::move(second));

    ASSERT_EQ(midi.OutDeviceCount(), 3);
    ASSERT_EQ(midi.InDeviceCount(), 1);
    std::string name;
    EXPECT_EQ(midi.OutDeviceName(2, name), MidiResult::NoError);
    EXPECT_EQ(name, "Port 2");
    EXPECT_EQ(midi.InDeviceName(0, name), MidiResult::NoError);
    EXPECT_EQ(name, "Keys");
    EXPECT_EQ(midi.OutDeviceName(3, name), MidiResult::BadDeviceId);
    EXPECT_EQ(midi.InDeviceName(-1, name), MidiResult::BadDeviceId);

    NullStreamClient client;
    std::unique_ptr<CMidiStream> stream;
    EXPECT_EQ(midi.OpenStream(2, client, stream), MidiResult::NoError);
    ASSERT_TRUE(stream);
    EXPECT_EQ(ports->OpenStreamCount(), 1) << "device 2 is the second backend's second port";
    stream->ShortMsg(0x7F3C90);
    ASSERT_EQ(ports->SentMessages().size(), 1u);
    EXPECT_EQ(ports->SentMessages()[0].device, 1);
    EXPECT_TRUE(ports->SentMessages()[0].immediate);

    ports->FailOutput(0, MidiResult::Allocated);
    std::unique_ptr<CMidiStream> refused;
    EXPECT_EQ(midi.OpenStream(1, client, refused), MidiResult::Allocated);
    EXPECT_FALSE(refused);
    EXPECT_EQ(midi.OpenStream(7, client, refused), MidiResult::BadDeviceId);
}

TEST(MidiSystemTest, InputDeliversOnlyBetweenStartAndStopAndNothingAfterClose)
{
    CFakeMidiBackend devices({}, {"Keys"});
    InRecorder client;
    std::unique_ptr<CMidiInPort> in;
    ASSERT_EQ(devices.OpenInput(0, client, in), MidiResult::NoError);
    devices.Inject(0, 0x7F3C90);
    EXPECT_TRUE(client.received.empty());
    in->Start();
    devices.Inject(0, 0x7F3C90);
    in->Stop();
    devices.Inject(0, 0x003C90);
    in->Start();
    devices.Inject(0, 0x003C80);
    EXPECT_EQ(in->Close(), MidiResult::NoError);
    devices.Inject(0, 0x7F4090);
    EXPECT_EQ(client.received, (std::vector<uint32_t>{0x7F3C90, 0x003C80}));
    EXPECT_EQ(in->Start(), MidiResult::InvalidHandle);
    EXPECT_EQ(devices.OpenInputCount(), 0);
}

} // namespace
} // namespace zib
