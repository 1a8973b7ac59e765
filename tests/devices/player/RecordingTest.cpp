#include "tests/devices/player/PlayerRig.h"

#include "midi/MidiEventKind.h"

#include <gtest/gtest.h>

namespace zib::test {
namespace {

std::vector<uint8_t> Backing()
{
    SmfBuilder b = PlayerRig::Song();
    b.AddTrack().NoteOn(0, 0, 36, 100).NoteOff(96, 0, 36).NoteOn(768, 0, 36, 100).NoteOff(864, 0, 36);
    return b.Build();
}

std::vector<const CMidiEvent*> Recorded(const CMidiParserEx& seq, int track)
{
    std::vector<const CMidiEvent*> out;
    for (const auto& e : seq.GetEvents())
        if (e->track == track) out.push_back(e.get());
    return out;
}

struct RecordRig : PlayerRig {
    RecordRig() : PlayerRig(Backing())
    {
        doc.tracks[4].record = 1; // track 5 records channel 1
        doc.tracks[4].recordChannel = 1;
    }
    void At(int64_t tickFromStart, uint32_t message)
    {
        host.devices->AdvanceUs(tickFromStart * 1000 - (host.devices->NowUs() - t0));
        host.devices->Inject(0, message);
    }
};

TEST(RecordingTest, ATakeIsPairedInsertedAndUndoneAsOneGroup)
{
    RecordRig rig;
    const size_t before = rig.doc.sequence.GetEventCount();
    rig.player->OnRecord(); // starts playback
    ASSERT_TRUE(rig.host.slot.IsPlaying());
    rig.t0 = 0;
    EXPECT_TRUE(rig.player->IsMidiInOpen());
    rig.At(200, 0x644090); // note-on E3
    rig.At(300, 0x405090); // note-on G#3
    rig.At(400, 0x004090); // note-off E3 as note-on with velocity 0
    rig.At(450, 0x4007B0); // volume 64
    rig.At(500, 0x005080);
    rig.player->OnRecord(); // recording off, playback goes on
    rig.At(520, 0x7F4190);  // not recorded any more
    rig.player->StartMidiPlayback();
    ASSERT_TRUE(rig.RunToEnd());

    const auto take = Recorded(rig.doc.sequence, 5);
    ASSERT_EQ(take.size(), 5u);
    // Times follow the played position, which moves in steps of at most division / 16
    EXPECT_NEAR(take[0]->time, 200, 6);
    EXPECT_TRUE(isNoteOn(*take[0]));
    EXPECT_EQ(take[0]->duration, take[2]->time - take[0]->time);
    EXPECT_EQ(take[0]->pairId, take[2]->pairId);
    EXPECT_EQ(take[0]->paired, 1u);
    EXPECT_EQ(take[1]->pairId, take[4]->pairId);
    EXPECT_EQ(take[3]->status, 0xB0);
    for (const auto* e : take) {
        EXPECT_EQ(e->flags & CMidiEvent::kRecorded, 0) << "the mark goes when the take enters the undo history";
        EXPECT_EQ(e->state, 0);
    }
    for (size_t i = 0; i < rig.doc.sequence.GetEventCount(); ++i) EXPECT_EQ(rig.doc.sequence.GetEvent(i)->index, i);
    EXPECT_TRUE(rig.view.lastFinishChanged);
    EXPECT_GT(rig.doc.modified, 0);
    EXPECT_EQ(rig.doc.tracks[4].totalEvents, 5u);

    ASSERT_EQ(rig.doc.undo.size(), 5u);
    EXPECT_EQ(rig.doc.undo[0].groupStart, 1u);
    for (size_t i = 1; i < 5; ++i) EXPECT_EQ(rig.doc.undo[i].groupStart, 0u);
    EXPECT_EQ(rig.doc.UndoLastInsertGroup(), 5);
    EXPECT_EQ(rig.doc.sequence.GetEventCount(), before);
}

TEST(RecordingTest, ChannelCodesPickTheTracksAndThruEchoesOnceToTheFirstTrack)
{
    struct Case {
        const char* name;
        uint32_t code;
        uint8_t channel;
        bool records;
    };
    const Case cases[] = {
        {"one channel", 2, 1, true},
        {"another channel", 2, 2, false},
        {"omni", 17, 12, true},
        {"mask: channel 1", 18 | (0x0201u << 16), 0, true},
        {"mask: channel 10", 18 | (0x0201u << 16), 9, true},
        {"mask: channel 2", 18 | (0x0201u << 16), 1, false},
        {"none", 0, 1, false},
        {"empty mask", 18, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordRig rig;
        rig.doc.tracks[4].recordChannel = c.code;
        rig.doc.tracks[6].record = 1;
        rig.doc.tracks[6].recordChannel = c.code;
        rig.doc.tracks[6].port = 1;
        rig.host.outPorts[1].enabled = 1;
        rig.player->OnRecord();
        rig.t0 = 0;
        rig.host.devices->ClearSent();
        rig.At(100, 0x7F3C90u | c.channel);
        size_t echoes = 0;
        int echoDevice = -1;
        for (const auto& s : rig.host.devices->SentMessages())
            if (s.immediate && s.message == (0x7F3C90u | c.channel)) {
                ++echoes;
                echoDevice = s.device;
            }
        EXPECT_EQ(echoes, 1u);
        EXPECT_EQ(echoDevice, 0) << "track 5 on port 0 is the first matching track, or none matches";
        rig.At(150, 0x003C80u | c.channel);
        rig.player->StartMidiPlayback();
        ASSERT_TRUE(rig.RunToEnd());
        EXPECT_EQ(Recorded(rig.doc.sequence, 5).size(), c.records ? 2u : 0u);
        EXPECT_EQ(Recorded(rig.doc.sequence, 7).size(), c.records ? 2u : 0u);
    }
}

TEST(RecordingTest, NothingIsEchoedOrRecordedWhileTheRecordFlagIsClear)
{
    RecordRig rig;
    rig.Start(); // plain playback with input open
    EXPECT_TRUE(rig.player->IsMidiInOpen());
    rig.host.devices->ClearSent();
    rig.At(100, 0x7F3C90);
    rig.At(120, 0xF8); // a clock: never recorded
    EXPECT_TRUE(rig.Immediate().empty());
    ASSERT_TRUE(rig.RunToEnd());
    EXPECT_TRUE(Recorded(rig.doc.sequence, 5).empty());
    EXPECT_TRUE(rig.doc.undo.empty());
    EXPECT_FALSE(rig.player->IsMidiInOpen());
}

TEST(RecordingTest, ANoteHeldAtStopEndsWhereThePlaybackStopped)
{
    RecordRig rig;
    rig.player->OnRecord();
    rig.t0 = 0;
    rig.At(100, 0x643C90);
    rig.At(150, 0x003D80); // a note-off without its note-on is dropped
    rig.At(200, 0x0000F8); // system messages are not recorded
    rig.host.devices->AdvanceUs(100'000);
    rig.player->StartMidiPlayback();
    ASSERT_TRUE(rig.RunToEnd());
    const auto take = Recorded(rig.doc.sequence, 5);
    ASSERT_EQ(take.size(), 2u);
    EXPECT_EQ(take[1]->status, 0x90);
    EXPECT_EQ(eventDataByte(*take[1], 1), 0);
    EXPECT_EQ(take[1]->time, rig.player->PlayedTick());
    EXPECT_EQ(take[0]->duration, take[1]->time - take[0]->time);
    EXPECT_EQ(take[0]->pairId, take[1]->pairId);
    EXPECT_EQ(rig.player->HeldNoteCount(), 0);
}

TEST(RecordingTest, RecordingPastTheSongRunsOnUntilStopped)
{
    RecordRig rig;
    rig.player->SetCurrentPosition(4, 0, 0); // after the last event
    rig.player->OnRecord();
    rig.t0 = 0;
    rig.At(2000, 0x643C90);
    rig.At(2100, 0x003C90);
    rig.player->StartMidiPlayback();
    ASSERT_TRUE(rig.RunToEnd());
    const auto take = Recorded(rig.doc.sequence, 5);
    ASSERT_EQ(take.size(), 2u);
    EXPECT_NEAR(take[0]->time, 1536 + 2000, 6);
    EXPECT_EQ(rig.doc.sequence.GetEvents().back().get(), take[1]);
}

TEST(RecordingTest, EachLoopPassClosesItsHeldNotesAtThru)
{
    RecordRig rig;
    rig.player->SetEndMarker(1, 0, 0); // loop 0 .. 384
    rig.player->ToggleLoop();
    rig.player->OnRecord();
    rig.t0 = 0;
    rig.At(300, 0x643C90);       // held across Thru
    rig.At(384 + 100, 0x003C90); // no note-on held any more in this pass
    rig.player->StartMidiPlayback();
    ASSERT_TRUE(rig.RunToEnd());
    const auto take = Recorded(rig.doc.sequence, 5);
    ASSERT_EQ(take.size(), 2u);
    EXPECT_EQ(take[1]->time, 384u);
    EXPECT_EQ(eventDataByte(*take[1], 1), 0);
    EXPECT_EQ(take[0]->duration, 384 - take[0]->time);
}

} // namespace
} // namespace zib::test
