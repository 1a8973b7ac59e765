#include "devices/core/FakeMidiBackend.h"
#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/MidiSession.h"
#include "devices/core/OutStream.h"
#include "devices/core/OutStreamClient.h"
#include "devices/core/RtMidiBackend.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

std::vector<std::string> outNames(const MidiDeviceList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.OutDeviceCount(); ++i) names.push_back(*list.OutDeviceName(i));
    return names;
}

TEST(MidiDeviceListTest, TheSynthComesFirstThenPortsByClientAndPortNameWithoutTheirNumbers)
{
    auto clock = std::make_shared<VirtualMidiClock>();
    auto synth = std::make_shared<FakeMidiBackend>(clock, std::vector<MidiPortName>{{"", MidiDeviceList::kSynthName}},
                                                   std::vector<MidiPortName>{});
    // As an ALSA sequencer reports them, numbers included
    std::vector<MidiPortName> ports;
    for (const char* reported : {"Zynth:port b 130:1", "Midi Through:Midi Through Port-0 14:0", "Alpha:z 128:0",
                                 "Alpha:a 129:0"})
        ports.push_back(RtMidiBackend::ParsePortName(reported));
    auto alsa = std::make_shared<FakeMidiBackend>(clock, ports, std::vector<MidiPortName>{ports[1], ports[0]});
    MidiDeviceList list(clock);
    list.AddBackend(synth);
    list.AddBackend(alsa);
    list.Refresh();
    EXPECT_EQ(outNames(list), (std::vector<std::string>{MidiDeviceList::kSynthName, "Alpha:a", "Alpha:z",
                                                        "Midi Through:Midi Through Port-0", "Zynth:port b"}));
    ASSERT_EQ(list.InDeviceCount(), 2);
    EXPECT_EQ(*list.InDeviceName(0), "Midi Through:Midi Through Port-0");
    EXPECT_FALSE(list.OutDeviceName(5).has_value());
    EXPECT_FALSE(list.InDeviceName(-1).has_value());
    EXPECT_EQ(list.FindOutDevice("Alpha:z"), 2);
    EXPECT_EQ(list.FindOutDevice("Alpha:z 128:0"), -1);

    // A port that went between the listing and the open is no such device.
    struct : OutStreamClient {
        void OnStreamDone(OutStream&, MidiHeader&) override {}
        void OnStreamPosition(OutStream&, MidiHeader&, uint32_t) override {}
    } client;
    MidiSession session(list);
    std::unique_ptr<OutStream> s;
    alsa->SetPorts({ports[0], ports[1]}, {});
    EXPECT_EQ(session.OpenOutStream(1, client, s), MidiResult::BadDeviceId);
    EXPECT_EQ(session.OpenOutStream(4, client, s), MidiResult::NoError); // found again by its name
    list.Refresh();
    EXPECT_EQ(outNames(list).size(), 3u);
}

TEST(MidiDeviceListTest, ListsStopAt128DevicesPerDirection)
{
    auto clock = std::make_shared<VirtualMidiClock>();
    std::vector<MidiPortName> many;
    for (int i = 0; i < 200; ++i) many.push_back({"Client", "Port " + std::to_string(1000 + i)});
    MidiDeviceList list(clock);
    list.AddBackend(std::make_shared<FakeMidiBackend>(clock, many, many));
    list.Refresh();
    EXPECT_EQ(list.OutDeviceCount(), 128);
    EXPECT_EQ(list.InDeviceCount(), 128);
    EXPECT_EQ(*list.OutDeviceName(127), "Client:Port 1127");
}

TEST(MidiDeviceListTest, PortNamesAsRtMidiReportsThem)
{
    struct Case {
        const char* reported;
        const char* client;
        const char* port;
    };
    const Case cases[] = {
        {"Midi Through:Midi Through Port-0 14:0", "Midi Through", "Midi Through Port-0"}, // ALSA
        {"USB Keys:USB Keys MIDI 1 20:0", "USB Keys", "USB Keys MIDI 1"},
        {"zibtest-in:in", "zibtest-in", "in"},         // JACK
        {"Synth:Port 2:3x 1:0", "Synth", "Port 2:3x"}, // a colon inside the port name stays
        {"Lonely", "", "Lonely"},
        {"Odd:name 12:x", "Odd", "name 12:x"}, // not numbers: part of the name
    };
    for (const Case& c : cases) {
        const MidiPortName n = RtMidiBackend::ParsePortName(c.reported);
        EXPECT_EQ(n.client, c.client) << c.reported;
        EXPECT_EQ(n.port, c.port) << c.reported;
    }
}

TEST(MidiDeviceListTest, AnAlsaSystemThatCannotBeReachedListsNothing)
{
    // There is no sequencer device here (no /dev/snd); where there is one, the list is whatever it holds.
    RtMidiBackend alsa(RtMidiBackend::Api::Alsa, "ZibTest");
    const auto outputs = alsa.OutputPorts();
    std::unique_ptr<MidiOutSink> sink;
    EXPECT_EQ(alsa.OpenOutput({"No Such", "Port"}, sink), MidiResult::BadDeviceId);
    EXPECT_EQ(sink, nullptr);
    (void)outputs;
}

} // namespace
} // namespace zib
