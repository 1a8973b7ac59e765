#include "tests/devices/player/PlayerRig.h"

#include <gtest/gtest.h>

namespace zib::test {
namespace {

// 4/4 for two measures, then 3/4
std::vector<uint8_t> MixedMeters()
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 96000).TimeSig(0, 4, 2).TimeSig(768, 3, 2);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).NoteOn(1000, 0, 62, 100).NoteOff(1100, 0, 62);
    return b.Build();
}

TEST(TransportTest, TicksAndMeasureBeatTickConvertBothWays)
{
    PlayerRig rig(MixedMeters());
    struct Case {
        uint32_t tick, measure, beat, inBeat;
    };
    const Case cases[] = {
        {0, 0, 0, 0},    {95, 0, 0, 95},  {384, 1, 0, 0},  {767, 1, 3, 95},
        {768, 2, 0, 0},  {1055, 2, 2, 95}, {1056, 3, 0, 0}, {1056 + 288 * 10 + 100, 13, 1, 4},
    };
    for (const Case& c : cases) {
        uint32_t m = 0, b = 0, t = 0;
        rig.player->TicksToMbt(c.tick, m, b, t);
        EXPECT_EQ((std::array<uint32_t, 3>{m, b, t}), (std::array<uint32_t, 3>{c.measure, c.beat, c.inBeat})) << c.tick;
        EXPECT_EQ(rig.player->MbtToTicks(c.measure, c.beat, c.inBeat), c.tick);
    }
    EXPECT_EQ(rig.player->FindEventAtTick(97, 0), 4); // the signature at 768
    EXPECT_EQ(rig.player->FindEventAtTick(2000, 0), -1);
    EXPECT_EQ(rig.player->FindEventAtTick(0, 99), -1);
    EXPECT_EQ(rig.player->FindEventAfterTick(0, 0), 3);
    EXPECT_EQ(rig.player->FindEventAfterTick(5000, 0), 6) << "the last index when none is after";
}

TEST(TransportTest, MeasureStepsMarkersAndTheirTexts)
{
    PlayerRig rig(MixedMeters());
    rig.player->PrevBar();
    EXPECT_EQ(rig.player->PositionMeasure(), 0u);
    for (int i = 0; i < 3; ++i) rig.player->NextBar();
    EXPECT_EQ(rig.player->PositionMeasure(), 3u);
    EXPECT_EQ(rig.view.positionTexts.back(), "  4:01:000    ");
    for (int i = 0; i < 10; ++i) rig.player->NextBar(); // on into the extended map
    EXPECT_EQ(rig.player->PositionMeasure(), 13u);
    EXPECT_EQ(rig.player->CurrentEventIndex(), -1) << "past the song";

    rig.player->JumpToMbt(2, 1, 5);
    rig.player->SetThruAtPosition();
    EXPECT_EQ(rig.player->Thru().tick, 768u + 96 + 5);
    EXPECT_EQ(rig.view.thruText, "  3:02:005    ");
    rig.player->JumpToMbt(3, 0, 0);
    rig.player->SetFromAtPosition(); // From after Thru pushes Thru along
    EXPECT_EQ(rig.player->From().tick, 1056u);
    EXPECT_EQ(rig.player->Thru().tick, 1056u);
    rig.player->SetEndMarker(1, 0, 0); // Thru before From pulls From back
    EXPECT_EQ(rig.player->From().tick, 384u);
    EXPECT_EQ(rig.player->Thru().tick, 384u);

    rig.player->JumpToMbt(0, 2, 0);
    rig.player->SetThruBeforeMeasure(); // in the first measure: tick 0
    EXPECT_EQ(rig.player->Thru().tick, 0u);
    EXPECT_EQ(rig.player->From().tick, 0u);
    rig.player->JumpToMbt(2, 1, 0);
    rig.player->SetThruBeforeMeasure();
    EXPECT_EQ(rig.player->Thru().tick, 767u);
    EXPECT_EQ(rig.player->Thru().measure, 1u);

    rig.player->UpdateMarkerTexts();
    EXPECT_EQ(rig.view.fromText, "001:01:000    ");
    EXPECT_EQ(rig.view.thruText, "002:04:095    ");
}

TEST(TransportTest, RewindAndGoToEndAndTheEmptySong)
{
    PlayerRig rig(MixedMeters());
    rig.player->GoToEnd();
    EXPECT_EQ(rig.player->CurrentEventIndex(), 6);
    EXPECT_EQ(rig.player->PositionMeasure(), 3u);
    rig.player->Rewind();
    EXPECT_EQ(rig.player->PositionMeasure(), 0u);
    EXPECT_EQ(rig.player->CurrentEventIndex(), 0);
    EXPECT_EQ(rig.view.positionTexts.back(), "  1:01:000    ");

    PlayerRig empty(SmfBuilder(1, 96).Build());
    empty.player->GoToEnd();
    EXPECT_EQ(empty.player->CurrentEventIndex(), -1);
    EXPECT_EQ(empty.player->PositionMeasure(), 0u);
    EXPECT_EQ(empty.player->TempoShown(), empty.player->InitialTempo());
    empty.Start();
    EXPECT_FALSE(empty.host.slot.IsPlaying()) << "an empty song does not play";
}

TEST(TransportTest, PositionCommandsWaitWhilePlayingAndTheLoopStaysOffPastThru)
{
    PlayerRig rig(MixedMeters());
    rig.player->SetEndMarker(1, 0, 0);
    rig.player->JumpToMbt(1, 1, 0);
    rig.Start();
    rig.player->Rewind();
    rig.player->NextBar();
    EXPECT_EQ(rig.player->PositionMeasure(), 1u);
    rig.host.devices->AdvanceUs(50'000);
    rig.player->ToggleLoop(); // the fill is past Thru already
    EXPECT_EQ(rig.doc.loop, 0u);
    EXPECT_FALSE(rig.view.loopButton);
    ASSERT_TRUE(rig.RunToEnd());
}

TEST(TransportTest, ATempoChangeEditsTheTempoEventOrMakesOneWithUndo)
{
    {
        PlayerRig rig(MixedMeters());
        rig.player->JumpToMbt(1, 0, 0);
        rig.player->ChangeCurrentTempo(120);
        const CMidiEvent& tempo = *rig.doc.sequence.GetEvent(0);
        EXPECT_EQ(tempo.data[3] << 16 | tempo.data[4] << 8 | tempo.data[5], 500000);
        EXPECT_EQ(rig.player->TempoShown(), 120u);
        EXPECT_EQ(rig.player->InitialTempo(), 120u) << "it is the song's first tempo event";
        ASSERT_EQ(rig.doc.undo.size(), 1u);
        EXPECT_EQ(rig.doc.undo[0].operation, 0);
        EXPECT_EQ(rig.doc.undo[0].target, 1);
        EXPECT_EQ(rig.doc.undo[0].data[5], 96000 & 0xFF) << "the undo record holds the old value";
        EXPECT_EQ(rig.view.tempoTexts.back(), "120");
        EXPECT_EQ(rig.view.tempoEditorRefreshes, 1);
    }
    {
        SmfBuilder b(1, 96);
        b.AddTrack().TimeSig(0, 4, 2);
        b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(400, 0, 60);
        PlayerRig rig(b.Build());
        rig.player->JumpToMbt(0, 2, 0);
        const size_t before = rig.doc.sequence.GetEventCount();
        rig.player->ChangeCurrentTempo(150);
        ASSERT_EQ(rig.doc.sequence.GetEventCount(), before + 1);
        const CMidiEvent& made = *rig.doc.sequence.GetEvent(2);
        EXPECT_EQ(made.time, 192u);
        EXPECT_EQ(made.length, 6u);
        EXPECT_EQ(made.data[1], 0x51);
        ASSERT_EQ(rig.doc.undo.size(), 1u);
        EXPECT_EQ(rig.doc.undo[0].operation, 1);
        EXPECT_EQ(rig.doc.undo[0].index, 2);
        EXPECT_EQ(rig.player->InitialTempo(), 150u);
    }
}

TEST(TransportTest, ATempoChangeWhilePlayingActsOnEveryStreamAtOnce)
{
    PlayerRig rig(MixedMeters());
    rig.Start();
    rig.host.devices->AdvanceUs(200'000);
    rig.player->ChangeCurrentTempo(125); // 480000 us: 5 ms per tick
    ASSERT_TRUE(rig.RunToEnd());
    const auto played = rig.Played();
    ASSERT_EQ(played.size(), 4u);
    // Tick 1000 lies 200 ms into the song plus 800 ticks of 5 ms
    EXPECT_NEAR(played[2].tick, 200 + 800 * 5, 10);
}

} // namespace
} // namespace zib::test
