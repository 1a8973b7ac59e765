#include "tests/devices/player/PlayerRig.h"

#include <gtest/gtest.h>

namespace zib::test {
namespace {

using Heard = PlayerRig::Heard;

std::vector<uint8_t> TwoTrackSong()
{
    SmfBuilder b = PlayerRig::Song();
    b.AddTrack().TrackName(0, "Piano").Program(0, 0, 5).NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).NoteOn(192, 0, 62, 90).NoteOff(288, 0, 62);
    b.AddTrack().NoteOn(48, 1, 40, 80).NoteOff(144, 1, 40).NoteOn(240, 1, 41, 80).NoteOff(300, 1, 41);
    return b.Build();
}

TEST(PlaybackScheduleTest, PlaysEveryEventAtItsTickThenFinishesAndClosesTheStreams)
{
    PlayerRig rig(TwoTrackSong());
    rig.Start();
    EXPECT_TRUE(rig.host.slot.IsPlaying());
    EXPECT_EQ(rig.host.slot.ActiveKind(), PlayerKind::MidiBarView);
    ASSERT_TRUE(rig.RunToEnd());

    const std::vector<Heard> expected = {
        {0, 0, NoteOn(0, 60, 100)}, {0, 48, NoteOn(1, 40, 80)},  {0, 96, 0x003C80},
        {0, 144, 0x002881},         {0, 192, NoteOn(0, 62, 90)}, {0, 240, NoteOn(1, 41, 80)},
        {0, 288, 0x003E80},         {0, 300, 0x002981},
    };
    EXPECT_EQ(rig.Played(), expected);
    // The start state goes out at once: pan, volume, bank LSB and program of
    // each track (no bank MSB and, on track 2, no program: none in the file)
    EXPECT_EQ(rig.Immediate(),
              (std::vector<uint32_t>{0x000AB0, 0x6407B0, 0x0020B0, 0x05C0, 0x000AB1, 0x6407B1, 0x0020B1}));

    EXPECT_FALSE(rig.host.slot.IsPlaying());
    EXPECT_EQ(rig.player->State(), CMidiBarPlayer::StreamState::Playing);
    EXPECT_EQ(rig.host.devices->OpenStreamCount(), 0);
    EXPECT_EQ(rig.view.finished, 1);
    for (const auto& e : rig.doc.sequence.GetEvents()) EXPECT_EQ(e->played, 0u);
    // The end marker closes the song 100 ticks after the last fill
    EXPECT_GE((rig.host.devices->NowUs() - rig.t0) / 1000, 400);
}

TEST(PlaybackScheduleTest, MuteAndSoloPickTheTracksThatSound)
{
    struct Case {
        const char* name;
        uint8_t play1, solo1, play2, solo2;
        size_t notes;
        int channel; // of every note heard, -1 both
    };
    const Case cases[] = {
        {"all", 1, 0, 1, 0, 8, -1},
        {"track 2 muted", 1, 0, 0, 0, 4, 0},
        {"track 2 soloed", 1, 0, 1, 1, 4, 1},
        {"solo wins over mute", 0, 1, 1, 0, 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerRig rig(TwoTrackSong());
        rig.doc.tracks[0].play = c.play1;
        rig.doc.tracks[0].solo = c.solo1;
        rig.doc.tracks[1].play = c.play2;
        rig.doc.tracks[1].solo = c.solo2;
        rig.Start();
        ASSERT_TRUE(rig.RunToEnd());
        const auto played = rig.Played();
        EXPECT_EQ(played.size(), c.notes);
        if (c.channel >= 0) {
            for (const auto& h : played) EXPECT_EQ(int(h.message & 0x0F), c.channel);
        }
    }
}

TEST(PlaybackScheduleTest, ANoteOffStillSoundsWhenItsTrackIsMutedAfterItsNoteOn)
{
    PlayerRig rig(TwoTrackSong());
    rig.Start();
    rig.host.devices->AdvanceUs(60'000); // track 2's first note-on (tick 48) has sounded
    rig.doc.tracks[1].play = 0;
    rig.player->RecomputeMixFlags();
    ASSERT_TRUE(rig.RunToEnd());
    std::vector<Heard> track2;
    for (const auto& h : rig.Played())
        if ((h.message & 0x0F) == 1) track2.push_back(h);
    EXPECT_EQ(track2, (std::vector<Heard>{{0, 48, NoteOn(1, 40, 80)}, {0, 144, 0x002881}}));
}

TEST(PlaybackScheduleTest, EachUsedPortHasItsStreamAndFallsBackToPortZero)
{
    struct Case {
        const char* name;
        uint8_t enabled1;
        bool failOpen;
        int device2; // the device that plays track 2
    };
    const Case cases[] = {
        {"port 1 enabled", 1, false, 1},
        {"port 1 disabled", 0, false, 0},
        {"port 1 fails to open", 1, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmfBuilder b = PlayerRig::Song();
        b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).NoteOn(96, 0, 64, 100).NoteOff(192, 0, 64);
        b.AddTrack().Port(0, 1).NoteOn(0, 1, 40, 80).NoteOff(96, 1, 40).NoteOn(150, 1, 41, 80).NoteOff(192, 1, 41);
        PlayerRig rig(b.Build());
        rig.host.outPorts[1].enabled = c.enabled1;
        if (c.failOpen) rig.host.devices->FailOutput(1, MidiResult::Allocated);
        rig.Start();
        ASSERT_TRUE(rig.RunToEnd());
        std::vector<Heard> track2;
        for (const auto& h : rig.Played())
            if ((h.message & 0x0F) == 1) track2.push_back(h);
        const int d = c.device2;
        EXPECT_EQ(track2, (std::vector<Heard>{{d, 0, NoteOn(1, 40, 80)}, {d, 96, 0x002881}, {d, 150, NoteOn(1, 41, 80)},
                                              {d, 192, 0x002981}}));
        EXPECT_TRUE(rig.view.errors.empty());
    }
}

TEST(PlaybackScheduleTest, ATempoChangeReachesEveryStreamAndTheTempoDisplay)
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 96000).TimeSig(0, 4, 2).Tempo(96, 192000); // from tick 96 on, 2 ms per tick
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(192, 0, 60);
    b.AddTrack().Port(0, 1).NoteOn(48, 1, 40, 80).NoteOff(192, 1, 40);
    PlayerRig rig(b.Build());
    rig.host.outPorts[1].enabled = 1;
    rig.Start();
    ASSERT_TRUE(rig.RunToEnd());
    const auto played = rig.Played();
    ASSERT_EQ(played.size(), 4u);
    // Tick 192 lies 96 ms + 96 x 2 ms after the start on both ports
    for (const auto& h : played) {
        if ((h.message & 0xF0) == 0x80) {
            EXPECT_EQ(h.tick, 288u) << std::hex << h.message;
        }
    }
    EXPECT_EQ(rig.view.tempoTexts.back(), "312");
}

TEST(PlaybackScheduleTest, SystemExclusiveGoesWholeUpTo1019RawBytes)
{
    std::vector<uint8_t> fits(1016, 0x11), overlong(1017, 0x22);
    fits.back() = overlong.back() = 0xF7;
    SmfBuilder b = PlayerRig::Song();
    b.AddTrack().SysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).SysEx(10, fits).SysEx(20, overlong).NoteOn(30, 0, 60, 1).NoteOff(40, 0, 60);
    PlayerRig rig(b.Build());
    rig.Start();
    ASSERT_TRUE(rig.RunToEnd());
    std::vector<std::vector<uint8_t>> sent;
    for (const auto& s : rig.host.devices->SentMessages())
        if (!s.longData.empty()) sent.push_back(s.longData);
    ASSERT_EQ(sent.size(), 2u) << "the 1020-byte event becomes a NOP";
    EXPECT_EQ(sent[0], (std::vector<uint8_t>{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    ASSERT_EQ(sent[1].size(), 1017u);
    EXPECT_EQ(sent[1].front(), 0xF0);
    EXPECT_EQ(sent[1].back(), 0xF7);
    EXPECT_EQ(rig.Played().size(), 2u);
}

TEST(PlaybackScheduleTest, StopLetsTheQueuedBuffersPlayThenFinishes)
{
    SmfBuilder b = PlayerRig::Song();
    SmfTrack& t = b.AddTrack();
    for (uint32_t i = 0; i < 40; ++i) t.NoteOn(i * 96, 0, 60, 100).NoteOff(i * 96 + 48, 0, 60);
    PlayerRig rig(b.Build());
    rig.Start();
    rig.host.devices->AdvanceUs(500'000);
    const size_t before = rig.Played().size();
    rig.player->StartMidiPlayback(); // the second Play stops
    EXPECT_EQ(rig.player->State(), CMidiBarPlayer::StreamState::StopPending);
    ASSERT_TRUE(rig.RunToEnd());
    const auto played = rig.Played();
    EXPECT_LE(played.size(), before + 10);
    EXPECT_LT(played.back().tick, 600u + 10 * 6);
    EXPECT_EQ(rig.view.finished, 1);
    EXPECT_FALSE(rig.host.slot.IsPlaying());
    // The position stays where the last buffer came back
    EXPECT_GT(rig.player->PositionMeasure() * 384 + rig.player->PositionBeat() * 96, 400u);
    EXPECT_LT(rig.player->PositionMeasure(), 2u);
}

TEST(PlaybackScheduleTest, StartingPastTheLastEventRewindsAndTheStartStateIsChased)
{
    SmfBuilder b = PlayerRig::Song();
    b.AddTrack().Program(0, 0, 1).NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).Program(200, 0, 9).Controller(200, 0, 7, 50)
        .NoteOn(400, 0, 62, 100).NoteOff(480, 0, 62);
    PlayerRig rig(b.Build());
    rig.player->SetCurrentPosition(1, 0, 0); // tick 384
    rig.Start();
    ASSERT_TRUE(rig.RunToEnd());
    EXPECT_EQ(rig.Played().front(), (Heard{0, 16, NoteOn(0, 62, 100)}));
    EXPECT_EQ(rig.Immediate(), (std::vector<uint32_t>{0x000AB0, 0x3207B0, 0x0020B0, 0x09C0}));

    rig.host.devices->ClearSent();
    rig.player->SetCurrentPosition(5, 0, 0); // past the song
    rig.Start();
    ASSERT_TRUE(rig.RunToEnd());
    EXPECT_EQ(rig.Played().front(), (Heard{0, 0, NoteOn(0, 60, 100)}));
}

TEST(PlaybackScheduleTest, AFailingStartReportsAndLeavesNothingPlaying)
{
    {
        PlayerRig rig(TwoTrackSong());
        rig.host.devices->FailOutput(0, MidiResult::Allocated);
        rig.Start();
        ASSERT_EQ(rig.view.messages.size(), 2u);
        EXPECT_EQ(rig.view.messages[0].number, CMidiBarPlayer::kMsgOpenDefaultPort);
        EXPECT_EQ(rig.view.messages[0].caption, "OpenMidiOutPorts");
        EXPECT_EQ(rig.view.messages[1].number, CMidiBarPlayer::kMsgOpenAnyPort);
        EXPECT_EQ(rig.view.messages[1].caption, "StartMidiPlayback");
        ASSERT_EQ(rig.view.errors.size(), 1u);
        EXPECT_EQ(rig.view.errors[0].substr(rig.view.errors[0].size() - 2), "\r\n");
        EXPECT_FALSE(rig.host.slot.IsPlaying());
    }
    {
        SmfBuilder b = PlayerRig::Song();
        b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(1999u * 384, 0, 60);
        PlayerRig rig(b.Build());
        rig.Start();
        ASSERT_EQ(rig.view.messages.size(), 1u);
        EXPECT_EQ(rig.view.messages[0].number, CMidiBarPlayer::kMsgMeasureParameter);
        EXPECT_EQ(rig.host.devices->OpenStreamCount(), 0);
    }
}

} // namespace
} // namespace zib::test
