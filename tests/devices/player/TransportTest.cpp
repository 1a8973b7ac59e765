// The song position: conversions, the transport commands, the markers and
// the tempo, through the engine of a stopped (or playing) bar view.

#include "devices/core/PlaybackTexts.h"
#include "tests/support/PlaybackFakes.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::PlaybackRig;
using test::SmfBuilder;

// Two measures of 4/4, then 3/4 from measure 2 (division 96): measures start
// at 0, 384, 768, 1056, ...
std::vector<uint8_t> song()
{
    SmfBuilder b(1, 96);
    b.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2).TimeSig(768, 3, 2).Tempo(400, 400000);
    b.AddTrack().NoteOn(0, 0, 60, 90).NoteOff(96, 0, 60).NoteOn(800, 0, 62, 90).NoteOff(900, 0, 62);
    return b.Build();
}

TEST(TransportTest, TicksAndMeasureBeatTickConvertBothWays)
{
    PlaybackRig rig(song());
    ASSERT_TRUE(rig.engine.PrepareForDocument());
    struct Case {
        uint32_t tick, measure, beat, inBeat;
    };
    const Case cases[] = {
        {0, 0, 0, 0},       {95, 0, 0, 95},      {96, 0, 1, 0},    {384, 1, 0, 0}, // a measure start
        {767, 1, 3, 95},    {768, 2, 0, 0},      {1055, 2, 2, 95}, {1056, 3, 0, 0},
        {1056 + 288 * 10 + 97, 13, 1, 1}, // far past the song: the last signature goes on
    };
    for (const Case& c : cases) {
        uint32_t m = 9, b = 9, t = 9;
        rig.engine.TicksToMbt(c.tick, m, b, t);
        EXPECT_EQ(m, c.measure) << c.tick;
        EXPECT_EQ(b, c.beat) << c.tick;
        EXPECT_EQ(t, c.inBeat) << c.tick;
        EXPECT_EQ(rig.engine.MbtToTicks(c.measure, c.beat, c.inBeat), c.tick) << c.tick;
    }
}

TEST(TransportTest, SearchesFindEventsByTick)
{
    PlaybackRig rig(song());
    const auto& events = rig.doc.sequence.GetEvents();
    ASSERT_EQ(events.size(), 8u); // two tempos, two signatures, four notes
    EXPECT_EQ(rig.engine.FindEventAtTick(96, 0), 3);
    EXPECT_EQ(rig.engine.FindEventAtTick(97, 0), 4);
    EXPECT_EQ(rig.engine.FindEventAtTick(901, 0), -1);
    EXPECT_EQ(rig.engine.FindEventAtTick(0, 8), -1);
    EXPECT_EQ(rig.engine.FindEventAtTick(0, -5), 0);
    EXPECT_EQ(rig.engine.FindEventAfterTick(96, 0), 4);
    EXPECT_EQ(rig.engine.FindEventAfterTick(900, 0), 7); // none after: the last index
    EXPECT_EQ(rig.engine.FindLastPlayableEvent(), 7);
}

TEST(TransportTest, TransportCommandsMoveThePositionAndRefuseWhilePlaying)
{
    PlaybackRig rig(song());
    ASSERT_TRUE(rig.engine.PrepareForDocument());
    auto where = [&] {
        return std::to_string(rig.engine.PositionMeasure()) + ":" + std::to_string(rig.engine.PositionBeat()) + ":" +
               std::to_string(rig.engine.PositionTick()) + " #" + std::to_string(rig.engine.CurrentEventIndex()) +
               " " + std::to_string(rig.engine.TempoShown()) + "bpm";
    };
    rig.engine.NextBar();
    EXPECT_EQ(where(), "1:0:0 #4 120bpm"); // the tempo event at 400 comes after this position
    rig.engine.NextBar();
    EXPECT_EQ(where(), "2:0:0 #5 150bpm");
    for (int i = 0; i < 10; ++i) rig.engine.NextBar();
    EXPECT_EQ(where(), "12:0:0 #-1 150bpm"); // past the song the map goes on
    rig.engine.PrevBar();
    EXPECT_EQ(where(), "11:0:0 #-1 150bpm");
    rig.engine.GoToEnd();
    EXPECT_EQ(where(), "2:1:36 #7 150bpm");
    EXPECT_EQ(rig.ui.positionTexts.back(), "  3:02:036    ");
    rig.engine.Rewind();
    EXPECT_EQ(where(), "0:0:0 #0 120bpm");
    EXPECT_EQ(rig.ui.positionTexts.back(), "  1:01:000    ");
    rig.engine.PrevBar();
    EXPECT_EQ(where(), "0:0:0 #0 120bpm");

    // While playing they do nothing.
    rig.engine.StartMidiPlayback();
    rig.Advance(10000);
    rig.engine.NextBar();
    rig.engine.GoToEnd();
    rig.engine.SetFromAtPosition();
    EXPECT_EQ(rig.engine.PositionMeasure(), 0u);
    EXPECT_EQ(rig.engine.From().tick, 0u);
}

TEST(TransportTest, MarkersPushEachOtherAndShowTheirTexts)
{
    PlaybackRig rig(song());
    ASSERT_TRUE(rig.engine.PrepareForDocument());
    EXPECT_EQ(rig.ui.fromText, "001:01:000    ");
    rig.engine.JumpToMbt(1, 2, 0);
    rig.engine.SetThruAtPosition();
    EXPECT_EQ(rig.engine.Thru().tick, 576u);
    EXPECT_EQ(rig.ui.thruText, "  2:03:000    ");
    rig.engine.JumpToMbt(2, 0, 0);
    rig.engine.SetFromAtPosition(); // past Thru: Thru comes along
    EXPECT_EQ(rig.engine.From().tick, 768u);
    EXPECT_EQ(rig.engine.Thru().tick, 768u);
    EXPECT_EQ(rig.engine.From().index, 5);
    rig.engine.SetEndMarker(0, 1, 0); // before From: From comes along
    EXPECT_EQ(rig.engine.From().tick, 96u);
    EXPECT_EQ(rig.engine.Thru().tick, 96u);
    rig.engine.JumpToMbt(2, 1, 5);
    rig.engine.SetThruBeforeMeasure(); // the last tick of the measure before
    EXPECT_EQ(rig.engine.Thru().tick, 767u);
    EXPECT_EQ(rig.engine.Thru().measure, 1u);
    rig.engine.Rewind();
    rig.engine.SetThruBeforeMeasure(); // in the first measure: tick 0, and From with it
    EXPECT_EQ(rig.engine.Thru().tick, 0u);
    EXPECT_EQ(rig.engine.From().tick, 0u);
    rig.engine.SetEndMarker(2, 0, 0);
    rig.engine.GoToEndMarker();
    EXPECT_EQ(rig.engine.PositionMeasure(), 2u);
    rig.engine.GoToStartMarker();
    EXPECT_EQ(rig.engine.PositionMeasure(), 0u);
    EXPECT_GT(rig.ui.eventEditorRefreshes, 0);
}

TEST(TransportTest, TheLoopComesOnWhilePlayingOnlyBeforeTheFillPassedThru)
{
    PlaybackRig rig(song());
    ASSERT_TRUE(rig.engine.PrepareForDocument());
    rig.engine.SetStartMarker(0, 0, 0);
    rig.engine.SetEndMarker(0, 2, 0); // tick 192, 500 ms in
    rig.engine.StartMidiPlayback();
    rig.engine.ToggleLoop();
    EXPECT_TRUE(rig.doc.loop);
    EXPECT_TRUE(rig.ui.loopButton);
    rig.engine.ToggleLoop();
    EXPECT_FALSE(rig.doc.loop);
    rig.Advance(800'000);
    rig.engine.ToggleLoop(); // Thru has been passed
    EXPECT_FALSE(rig.doc.loop);
    EXPECT_FALSE(rig.ui.loopButton);
    rig.engine.StartMidiPlayback();
    EXPECT_TRUE(rig.RunUntilFinished());
    // Every fill switches the loop off.
    rig.doc.loop = true;
    rig.engine.PrepareForDocument();
    EXPECT_FALSE(rig.doc.loop);
}

TEST(TransportTest, ChangingTheTempoEditsTheEventInForceOrMakesOne)
{
    {
        PlaybackRig rig(song());
        ASSERT_TRUE(rig.engine.PrepareForDocument());
        rig.engine.JumpToMbt(2, 0, 0);
        rig.engine.ChangeCurrentTempo(100); // the event at 400 is in force here
        const CMidiEvent& e = *rig.doc.sequence.GetEvents()[4];
        ASSERT_EQ(e.time, 400u);
        EXPECT_EQ(e.data[3] << 16 | e.data[4] << 8 | e.data[5], 600000);
        EXPECT_EQ(rig.engine.TempoShown(), 100u);
        EXPECT_EQ(rig.engine.InitialTempo(), 120u); // not the song's first tempo
        ASSERT_EQ(rig.doc.undo.size(), 1u);
        EXPECT_EQ(rig.doc.undo[0].operation, PlaybackUndoOperation::Modify);
        EXPECT_EQ(rig.doc.undo[0].target, PlaybackUndoTarget::MasterTrackEvent);
        EXPECT_EQ(rig.ui.tempoTexts.back(), "100");
        rig.engine.ChangeCurrentTempo(100); // the tempo shown already: nothing
        rig.engine.ChangeCurrentTempo(0);
        EXPECT_EQ(rig.doc.undo.size(), 1u);
    }
    {
        // A song without events, and one without a tempo event: a new one at the position
        SmfBuilder b(1, 96);
        b.AddTrack().TrackName(0, "x");
        PlaybackRig rig(b.Build());
        ASSERT_TRUE(rig.engine.PrepareForDocument());
        while (rig.doc.sequence.GetEventCount() > 0) rig.doc.sequence.RemoveEvent(0);
        rig.engine.ChangeCurrentTempo(150);
        ASSERT_EQ(rig.doc.sequence.GetEventCount(), 1u);
        const CMidiEvent& e = *rig.doc.sequence.GetEvents()[0];
        EXPECT_EQ(e.status, 0xFF);
        EXPECT_EQ(e.length, 6u);
        EXPECT_EQ(e.data[1], 0x51);
        EXPECT_EQ(e.data[3] << 16 | e.data[4] << 8 | e.data[5], 400000);
        EXPECT_EQ(rig.engine.InitialTempo(), 150u);
        ASSERT_EQ(rig.doc.undo.size(), 1u);
        EXPECT_EQ(rig.doc.undo[0].operation, PlaybackUndoOperation::Insert);
        EXPECT_GT(rig.doc.modified, 0);
        // Go To End on an empty list: 1:01:000 and no event
        while (rig.doc.sequence.GetEventCount() > 0) rig.doc.sequence.RemoveEvent(0);
        rig.engine.GoToEnd();
        EXPECT_EQ(rig.engine.CurrentEventIndex(), -1);
        EXPECT_EQ(rig.ui.positionTexts.back(), "  1:01:000    ");
    }
    {
        // While playing: at once on the session clock, and the tempo event last played is changed
        PlaybackRig rig(song());
        ASSERT_TRUE(rig.engine.PrepareForDocument());
        rig.engine.StartMidiPlayback();
        rig.Advance(100000);
        rig.engine.ChangeCurrentTempo(60);
        const CMidiEvent& first = *rig.doc.sequence.GetEvents()[0];
        EXPECT_EQ(first.data[3] << 16 | first.data[4] << 8 | first.data[5], 1000000);
        rig.engine.StartMidiPlayback();
        EXPECT_TRUE(rig.RunUntilFinished());
    }
}

TEST(TransportTest, NoteNamesInTheSixAlphabetsAndThePositionTexts)
{
    struct Case {
        int note, alphabet;
        const char* text;
    };
    const Case cases[] = {{60, 0, "C4"},   {61, 1, "s#4"},  {67, 2, "Sol4"}, {63, 3, "g-4"},
                          {70, 4, "Ni-4"}, {71, 5, "Si4"},  {0, 0, "C-1"},   {127, 9, "G9"}};
    for (const Case& c : cases) EXPECT_STREQ(GetNoteOctaveText(c.note, c.alphabet), c.text) << c.note;
    EXPECT_EQ(FormatPositionText(0, 0, 5), "  1:01:005    ");
    EXPECT_EQ(FormatMarkerText(9, 2, 0), "010:03:000    ");
    EXPECT_EQ(FormatTempoText(96), " 96");
}

} // namespace
} // namespace zib
