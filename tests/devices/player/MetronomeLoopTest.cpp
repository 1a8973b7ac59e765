#include "tests/devices/player/PlayerRig.h"

#include <gtest/gtest.h>

namespace zib::test {
namespace {

using Heard = PlayerRig::Heard;

std::vector<Heard> OnChannel(const std::vector<Heard>& heard, int channel)
{
    std::vector<Heard> out;
    for (const auto& h : heard)
        if (int(h.message & 0x0F) == channel) out.push_back(h);
    return out;
}

TEST(MetronomeLoopTest, TheMetronomeClicksEveryBeatWithItsOwnKeysAndDuration)
{
    SmfBuilder b = PlayerRig::Song(3, 2);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(2 * 288 - 1, 0, 60);
    PlayerRig rig(b.Build());
    MetronomeSettings& m = rig.player->Metronome();
    m.mode = MetronomeSettings::kAlways;
    m.firstBeatKey = 76;
    m.otherBeatsKey = 77;
    rig.Start();
    ASSERT_TRUE(rig.RunToEnd());
    const auto clicks = OnChannel(rig.Played(), 9);
    std::vector<Heard> expected;
    for (uint32_t beat = 0; beat < 6; ++beat) {
        const int key = beat % 3 == 0 ? 76 : 77;
        expected.push_back({0, beat * 96, NoteOn(9, key, beat % 3 == 0 ? 127 : 100)});
        expected.push_back({0, beat * 96 + 6, NoteOn(9, key, 0)});
    }
    EXPECT_EQ(clicks, expected);
}

TEST(MetronomeLoopTest, APrecountOfTwoMeasuresInThreeFourClicksSixTimesThenTheSongStarts)
{
    SmfBuilder b = PlayerRig::Song(3, 2);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    b.AddTrack().Port(0, 1).NoteOn(0, 1, 50, 100).NoteOff(96, 1, 50);
    PlayerRig rig(b.Build());
    rig.host.outPorts[1].enabled = 1;
    MetronomeSettings& m = rig.player->Metronome();
    m.mode = MetronomeSettings::kWhenRecording;
    m.precountNumber = 2;
    m.precountUnit = 0;
    m.duration = 0;
    rig.doc.record = 1;
    rig.doc.tracks[0].record = 0; // recording with nothing armed: only the pre-count matters
    rig.Start();
    EXPECT_TRUE(rig.player->PrecountActive());
    rig.host.devices->AdvanceUs(700'000);
    rig.player->StartMidiPlayback(); // stop
    ASSERT_TRUE(rig.RunToEnd());
    const auto heard = rig.Played();
    const auto clicks = OnChannel(heard, 9);
    ASSERT_GE(clicks.size(), 12u);
    for (uint32_t k = 0; k < 6; ++k) {
        EXPECT_EQ(clicks[2 * k].tick, k * 96);
        EXPECT_EQ(clicks[2 * k].message, NoteOn(9, 42, k == 0 ? 127 : 100));
        EXPECT_EQ(clicks[2 * k + 1].tick, k * 96) << "a duration of 0 ends the click in the same buffer";
    }
    // Both ports start the song one beat after the last click
    EXPECT_EQ(OnChannel(heard, 0).front(), (Heard{0, 576, NoteOn(0, 60, 100)}));
    EXPECT_EQ(OnChannel(heard, 1).front(), (Heard{1, 576, NoteOn(1, 50, 100)}));
    EXPECT_FALSE(rig.player->PrecountActive());
}

TEST(MetronomeLoopTest, LoopReplaysFromToThruAndReleasesNotesThatSoundAcrossThru)
{
    SmfBuilder b = PlayerRig::Song();
    SmfTrack& t = b.AddTrack();
    t.NoteOn(0, 0, 50, 100).NoteOff(96, 0, 50);        // before From
    t.NoteOn(384, 0, 60, 100).NoteOff(480, 0, 60);     // inside the loop
    t.NoteOn(700, 0, 64, 100).NoteOff(900, 0, 64);     // sounds across Thru (768)
    t.NoteOn(1200, 0, 67, 100).NoteOff(1300, 0, 67);   // after Thru
    PlayerRig rig(b.Build());
    rig.player->SetStartMarker(1, 0, 0); // From 384
    rig.player->SetEndMarker(2, 0, 0);   // Thru 768
    rig.player->ToggleLoop();
    EXPECT_TRUE(rig.view.loopButton);
    rig.player->SetCurrentPosition(2, 2, 0); // at Thru or after: playback starts at From
    rig.Start();
    rig.host.devices->AdvanceUs(3 * 384'000 + 100'000); // three passes and a bit
    rig.player->StartMidiPlayback();
    ASSERT_TRUE(rig.RunToEnd());
    const auto heard = rig.Played();
    ASSERT_GE(heard.size(), 5u);
    const std::vector<Heard> pass(heard.begin(), heard.begin() + 5);
    EXPECT_EQ(pass, (std::vector<Heard>{{0, 0, NoteOn(0, 60, 100)}, {0, 96, 0x003C80}, {0, 316, NoteOn(0, 64, 100)},
                                        {0, 384, NoteOn(0, 64, 0)}, {0, 384, NoteOn(0, 60, 100)}}));
    int starts = 0;
    for (const auto& h : heard) {
        EXPECT_NE((h.message >> 8) & 0x7F, 50u) << "nothing before From plays";
        EXPECT_NE((h.message >> 8) & 0x7F, 67u) << "nothing after Thru plays";
        if (h.message == NoteOn(0, 60, 100)) {
            EXPECT_EQ(h.tick % 384, 0u);
            ++starts;
        }
    }
    EXPECT_GE(starts, 3);
}

TEST(MetronomeLoopTest, EachLoopPassStartsAtTheTempoOfFrom)
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 96000).TimeSig(0, 4, 2).Tempo(192, 48000); // half a ms per tick from 192 on
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).NoteOn(300, 0, 62, 100).NoteOff(350, 0, 62);
    PlayerRig rig(b.Build());
    rig.player->SetEndMarker(1, 0, 0); // loop 0 .. 384
    rig.player->ToggleLoop();
    rig.Start();
    rig.host.devices->AdvanceUs(2 * (192'000 + 96'000) + 50'000);
    rig.player->StartMidiPlayback();
    ASSERT_TRUE(rig.RunToEnd());
    std::vector<uint32_t> starts;
    for (const auto& h : rig.Played())
        if (h.message == NoteOn(0, 60, 100)) starts.push_back(h.tick);
    // One pass: 192 ticks at 1 ms and 192 at 0.5 ms
    ASSERT_GE(starts.size(), 3u);
    EXPECT_EQ(starts[1] - starts[0], 288u);
    EXPECT_EQ(starts[2] - starts[1], 288u);
}

TEST(MetronomeLoopTest, ALoopWithoutLengthPlaysOnToTheEnd)
{
    SmfBuilder b = PlayerRig::Song();
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).NoteOn(500, 0, 62, 100).NoteOff(600, 0, 62);
    PlayerRig rig(b.Build());
    rig.player->ToggleLoop(); // From and Thru both at 0
    rig.Start();
    ASSERT_TRUE(rig.RunToEnd(5'000'000));
    EXPECT_EQ(rig.Played().size(), 4u);
}

} // namespace
} // namespace zib::test
