// The console's player on its own MIDI session: fake devices on a virtual
// clock, every report posted to a dispatcher the test runs as the UI thread.
#include "devices/core/CConsoleMidi.h"

#include "devices/core/FakeMidiBackend.h"
#include "devices/core/MidiClock.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/MidiDispatcher.h"
#include "devices/core/StylePlayer.h"
#include "devices/core/SynthBackend.h"
#include "devices/core/TensionSource.h"
#include "tests/devices/console/ConsoleStyleFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zib {
namespace {

using test::ConsoleStyle;

constexpr int kAcc1 = 11; // Qe ACC1 channel (zero-based)

// No tension moves: every note plays as recorded.
class NoTensions : public TensionSource {
public:
    int32_t QeTension(uint8_t, uint8_t, int32_t, uint8_t, int32_t, int32_t) const override { return 0; }
    int32_t WqSeriesTension(uint8_t, int32_t, uint8_t, int32_t, int32_t) const override { return 0; }
};

// Device 0 the synthesizer's stand-in, 1 "Test:A"; input 0 "Test:In". The
// style: ACC1 plays C4 from 0 to 48 and E4 from 96 to 144 in a 192-tick VAR1.
class ConsoleMidiTest : public ::testing::Test {
protected:
    ConsoleMidiTest()
    {
        devices.AddBackend(fake);
        devices.Refresh();
        style.AddPattern(0, 0, 192, {{0, 48, kAcc1, 60}, {96, 144, kAcc1, 64}});
    }

    void Make(int outDevice, int inDevice = 0)
    {
        player.reset();
        midi = std::make_unique<CConsoleMidi>(
            devices, dispatcher, outDevice, inDevice,
            [this] {
                ++doneReports;
                player->OnBufferDone();
            },
            [this](uint32_t message) { input.push_back(message); });
        player = std::make_unique<StylePlayer>(style.reader, *midi, tensions);
        player->Open();
    }

    // Lets `us` of virtual time pass in 1 ms steps, the UI thread running
    // what was posted after each
    void Play(int64_t us)
    {
        for (int64_t t = 0; t < us; t += 1000) {
            clock->Advance(1000);
            dispatcher.RunPending();
        }
    }

    // The channel messages ACC1's channel heard, as "time device: hex"
    std::vector<std::string> Acc1Heard() const
    {
        std::vector<std::string> lines;
        for (const auto& s : fake->SentMessages()) {
            const int kind = s.bytes.empty() ? 0 : s.bytes[0] & 0xF0;
            if (s.bytes.size() < 2 || (s.bytes[0] & 0x0F) != kAcc1 || (kind != 0x80 && kind != 0x90 && kind != 0xB0))
                continue;
            char text[64];
            std::snprintf(text, sizeof text, "%lld %s: %02X %02X %02X", static_cast<long long>(s.timeUs),
                          s.device.c_str(), s.bytes[0], s.bytes[1], s.bytes.size() > 2 ? s.bytes[2] : 0);
            lines.push_back(text);
        }
        return lines;
    }

    std::shared_ptr<VirtualMidiClock> clock = std::make_shared<VirtualMidiClock>();
    std::shared_ptr<FakeMidiBackend> fake = std::make_shared<FakeMidiBackend>(
        clock, std::vector<MidiPortName>{{"", MidiDeviceList::kSynthName}, {"Test", "A"}},
        std::vector<MidiPortName>{{"Test", "In"}});
    MidiDeviceList devices{clock};
    ManualMidiDispatcher dispatcher;
    ConsoleStyle style{true};
    NoTensions tensions;
    std::unique_ptr<CConsoleMidi> midi;
    std::unique_ptr<StylePlayer> player;
    int doneReports = 0;
    std::vector<uint32_t> input;
};

// 80 BPM at division 96: a tick lasts 7812.5 us. The setup goes out at the
// start; each event is queued from the done report of the one before, on
// the UI thread, and still sounds at its own time.
TEST_F(ConsoleMidiTest, PlaysThePatternOnTheChosenDeviceThroughPostedReports)
{
    Make(1);
    EXPECT_FALSE(midi->UsesSynthInstead());
    ASSERT_TRUE(player->Start().ok());
    clock->Advance(1000);
    EXPECT_EQ(doneReports, 0) << "reports wait for the UI thread";
    EXPECT_GT(dispatcher.PendingCount(), 0u);

    Play(1'600'000);
    EXPECT_EQ(Acc1Heard(), (std::vector<std::string>{
                               "0 Test:A: BB 07 5A", // the setup's volume
                               "2000 Test:A: 9B 3C 64",  // queued after the setup's done: sent at once
                               "375000 Test:A: 8B 3C 40",
                               "750000 Test:A: 9B 40 64",
                               "1125000 Test:A: 8B 40 40",
                               "1500000 Test:A: 9B 3C 64", // the variation loops at 192 ticks
                           }));
    EXPECT_TRUE(player->Playing());
}

// Stopping ends the note that sounds, and nothing of the stream but note
// offs is heard or reported after it, though a done report was on its way.
TEST_F(ConsoleMidiTest, StopEndsTheSoundingNoteAndSilencesTheStream)
{
    Make(1);
    ASSERT_TRUE(player->Start().ok());
    Play(100'000); // C4 sounds, its note off is queued
    clock->Advance(275'000);
    ASSERT_GT(dispatcher.PendingCount(), 0u) << "the note off's done report waits";
    fake->ClearSent();
    const int reports = doneReports;

    player->Stop();
    EXPECT_FALSE(player->Playing());
    dispatcher.RunPending();
    Play(2'000'000);
    EXPECT_EQ(doneReports, reports) << "a report of the closed stream is dropped";
    for (const auto& s : fake->SentMessages())
        EXPECT_TRUE((s.bytes[0] & 0xF0) == 0x80 || ((s.bytes[0] & 0xF0) == 0x90 && s.bytes[2] == 0));

    // Stopped while the note sounds: it is ended at once.
    ASSERT_TRUE(player->Start().ok());
    Play(100'000);
    fake->ClearSent();
    player->Stop();
    const auto heard = Acc1Heard();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_NE(heard[0].find("Test:A"), std::string::npos);
    const std::vector<uint8_t> off = fake->SentMessages().back().bytes;
    EXPECT_TRUE(off[0] == 0x8B || (off[0] == 0x9B && off[2] == 0)) << heard[0];
    EXPECT_EQ(off[1], 60);
    Play(1'000'000);
    EXPECT_EQ(Acc1Heard().size(), 1u);
}

// A MIDI OUT setting naming no listed device plays on the synthesizer
// (device 0) without changing the setting; device 0 itself is no stand-in.
TEST_F(ConsoleMidiTest, AnOutDeviceNotListedPlaysOnTheBuiltInSynth)
{
    struct Case {
        int setting;
        int device;
        bool instead;
    };
    for (const Case c : {Case{0, 0, false}, Case{1, 1, false}, Case{2, 0, true}, Case{127, 0, true},
                         Case{-1, 0, true}}) {
        Make(c.setting);
        EXPECT_EQ(midi->OutDevice(), c.device) << c.setting;
        EXPECT_EQ(midi->UsesSynthInstead(), c.instead) << c.setting;
    }
    Make(5);
    fake->ClearSent();
    ASSERT_TRUE(player->Start().ok());
    Play(10'000);
    ASSERT_FALSE(fake->SentMessages().empty());
    for (const auto& s : fake->SentMessages())
        EXPECT_EQ(s.device, MidiDeviceList::kSynthName);
}

// A device that cannot open gives the console its cause to show; the next
// Start tries the device again and finds it.
TEST_F(ConsoleMidiTest, ADeviceThatCannotOpenNamesItsCauseUntilItOpens)
{
    fake->FailOpen(MidiDeviceList::kSynthName, MidiResult::BadDeviceId, SynthBackend::kNoAudioOutput);
    fake->FailOpen("Test:A", MidiResult::Allocated);
    struct Case {
        int device;
        std::string cause;
    };
    for (const Case& c : {Case{0, SynthBackend::kNoAudioOutput}, Case{1, ""}}) {
        Make(c.device);
        const StylePlayer::Result failed = player->Start();
        EXPECT_NE(failed.streamError, 0u) << c.device;
        EXPECT_EQ(midi->OpenFailure(), c.cause) << c.device;
        EXPECT_FALSE(player->Playing()) << c.device;
    }
    fake->FailOpen(MidiDeviceList::kSynthName, MidiResult::NoError);
    Make(0);
    ASSERT_TRUE(player->Start().ok());
    EXPECT_EQ(midi->OpenFailure(), "");
}

// Input reaches the console on the UI thread, channel messages only, and
// none after the input is closed; an IN device that is not there leaves the
// console without input.
TEST_F(ConsoleMidiTest, InputIsPostedUntilItCloses)
{
    Make(1, 0);
    ASSERT_TRUE(midi->OpenInput());
    const std::vector<uint8_t> bytes = {0x90, 60, 100, 0xFE, 64, 90, 0x80, 60, 0};
    fake->Inject("Test:In", bytes);
    EXPECT_TRUE(input.empty()) << "posted, not yet run";
    dispatcher.RunPending();
    EXPECT_EQ(input, (std::vector<uint32_t>{0x643C90, 0x5A4090, 0x003C80})) << "running status expanded";

    fake->Inject("Test:In", bytes);
    midi->CloseInput();
    dispatcher.RunPending();
    EXPECT_EQ(input.size(), 3u) << "what came before the close is dropped with it";
    EXPECT_EQ(fake->OpenInputCount(), 0);

    Make(1, 3);
    EXPECT_FALSE(midi->OpenInput());
}

} // namespace
} // namespace zib
