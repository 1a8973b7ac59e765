// A MIDI document played and recorded by the playback engine through fake
// devices on a virtual clock: what the engine reads of the document, and
// what a run leaves in it (a take, the mix set while playing) and its undo.
#include "mididoc/core/MidiDocPlayback.h"

#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/PlaybackFakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zib {
namespace {

// The document with its fakes, the engine over it on the program's playing flag.
struct DocumentPart {
    explicit DocumentPart(const std::vector<uint8_t>& image) { fixture.Open(image); }
    test::DocFixture fixture;
    MidiDocModel& doc = *fixture.doc;
    MidiDocPlayback playback{doc};
};

struct Rig : DocumentPart, test::EngineRig {
    explicit Rig(const std::vector<uint8_t>& image) : DocumentPart(image), EngineRig(playback, fixture.playing)
    {
        EXPECT_TRUE(engine.PrepareForDocument());
    }

    // Records `notes` on "Test:In" (time in us, bytes) from the start, then stops
    void RecordTake(const std::vector<std::pair<int64_t, std::vector<uint8_t>>>& notes, int64_t stopUs)
    {
        engine.OnRecord();
        int64_t now = 0;
        for (const auto& [at, bytes] : notes) {
            Advance(at - now);
            now = at;
            host.fake->Inject("Test:In", bytes);
        }
        Advance(stopUs - now);
        engine.StartMidiPlayback(); // stop
        ASSERT_TRUE(RunUntilFinished());
    }

    // Events of `track` as "tick status data..."
    std::vector<std::string> Events(int track)
    {
        std::vector<std::string> out;
        for (const auto& e : doc.Sequence().GetEvents()) {
            if (e->track != track) continue;
            char text[32];
            std::snprintf(text, sizeof text, "%u %02X", e->time, e->status);
            std::string line = text;
            for (uint32_t i = 0; i < e->length && i < e->data.size() && e->status < 0xF0; ++i) {
                std::snprintf(text, sizeof text, " %02X", e->data[i]);
                line += text;
            }
            out.push_back(line);
        }
        return out;
    }
};

// The engine reads the records as the track list shows them: a muted track
// stays silent, a track's port, channel and first values go out at the
// start; the loop switch is off after every fill.
TEST(MidiDocPlaybackTest, TheEngineReadsTheDocumentsRecordsAndSwitches)
{
    Rig rig(test::smallSong(2));
    CTrackInfo& first = *rig.doc.TrackRecord(0);
    const PlaybackTrack t = rig.playback.Track(0);
    EXPECT_EQ(t.channel, 0);
    EXPECT_EQ(t.program, 1);
    EXPECT_EQ(t.volume, 90);
    EXPECT_EQ(t.bankMsb, first.BankMsb());
    EXPECT_EQ(rig.playback.Track(64).channel, 255) << "no such row: nothing to send";

    rig.doc.m_LoopFlag = 1;
    EXPECT_TRUE(rig.engine.PrepareForDocument());
    EXPECT_EQ(rig.doc.m_LoopFlag, 0u);

    first.play = 0;
    rig.engine.StartMidiPlayback();
    ASSERT_TRUE(rig.RunUntilFinished());
    int track1Notes = 0, track2Notes = 0;
    for (const std::string& line : rig.Heard()) {
        if (line.rfind("Test:A: 90 3D", 0) == 0) ++track1Notes;
        if (line.rfind("Test:A: 91 3E", 0) == 0) ++track2Notes;
    }
    EXPECT_EQ(track1Notes, 0) << "muted";
    EXPECT_EQ(track2Notes, 4);
    EXPECT_FALSE(rig.doc.IsModified()) << "playing changes nothing";
    EXPECT_FALSE(rig.doc.UndoManager().CanUndo());
}

// A take on an armed track goes into the sequence, the track's counts and
// the undo history as one group; Undo takes all of it back, Redo brings it
// again. Only the channels of the document's echo mask are echoed.
TEST(MidiDocPlaybackTest, ARecordedTakeIsOneUndoGroup)
{
    Rig rig(test::smallSong(2));
    CTrackInfo& armed = *rig.doc.TrackRecord(2);
    armed.record = 1;
    armed.recordChannel = CTrackInfo::kRecordOmni;
    rig.doc.m_RecordEchoChannels = 0x0002; // channel 2 only
    const size_t before = rig.doc.Sequence().GetEventCount();

    rig.RecordTake({{250'000, {0x90, 0x40, 0x64}}, {500'000, {0x80, 0x40, 0x00}}, {600'000, {0x91, 0x41, 0x50}},
                    {700'000, {0x81, 0x41, 0x00}}},
                   900'000);
    EXPECT_EQ(rig.doc.m_RecordFlag, 0u);
    EXPECT_TRUE(rig.doc.IsModified());
    const std::vector<std::string> take = rig.Events(3);
    ASSERT_EQ(take.size(), 4u) << ::testing::PrintToString(take);
    EXPECT_EQ(take[0].substr(take[0].find(' ')), " 90 40 64");
    EXPECT_EQ(armed.totalEvents, 4u);
    int echoed = 0;
    for (const std::string& line : rig.Heard())
        if (line.find("91 41 50") != std::string::npos || line.find("90 40 64") != std::string::npos) ++echoed;
    EXPECT_EQ(echoed, 1) << "channel 2's note only";

    EXPECT_EQ(rig.doc.Undo(), EditResult::Done);
    EXPECT_TRUE(rig.Events(3).empty());
    EXPECT_EQ(rig.doc.Sequence().GetEventCount(), before);
    EXPECT_FALSE(rig.doc.UndoManager().CanUndo()) << "the whole take was one group";
    EXPECT_EQ(rig.doc.Redo(), EditResult::Done);
    EXPECT_EQ(rig.Events(3), take);
}

// A second take is a group of its own; Undo takes back the newer one only.
TEST(MidiDocPlaybackTest, EachTakeIsItsOwnGroup)
{
    Rig rig(test::smallSong(1));
    CTrackInfo& armed = *rig.doc.TrackRecord(1);
    armed.record = 1;
    armed.recordChannel = 1; // MIDI channel 1
    rig.RecordTake({{100'000, {0x90, 0x30, 0x64}}, {200'000, {0x80, 0x30, 0x00}}}, 400'000);
    rig.RecordTake({{100'000, {0x90, 0x32, 0x64}}, {200'000, {0x80, 0x32, 0x00}}, {250'000, {0x91, 0x33, 0x64}}},
                   400'000);
    const auto both = rig.Events(2);
    ASSERT_EQ(both.size(), 4u) << "channel 2 is not recorded: " << ::testing::PrintToString(both);
    EXPECT_EQ(rig.doc.Undo(), EditResult::Done);
    const auto first = rig.Events(2);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_NE(first[0].find(" 90 30 64"), std::string::npos);
}

// A volume and pan the track list set while the song played are kept at the
// finish in the track's first controller 7 and 10 events (a pan event is
// made), as one undo group; Undo gives events and records back their values.
TEST(MidiDocPlaybackTest, TheMixSetWhilePlayingIsKeptAsOneUndoGroup)
{
    Rig rig(test::smallSong(2));
    rig.engine.StartMidiPlayback();
    rig.Advance(100'000);
    for (int row : {0, 1}) {
        // What the track list does with a live value
        CTrackInfo& record = *rig.doc.TrackRecord(row);
        CMidiParserEx::Track& table = *rig.doc.Sequence().GetTrack(row + 1);
        record.volume = table.volume = uint8_t(60 + row);
        table.volumeSeen = 1;
    }
    rig.doc.TrackRecord(1)->pan = 30;
    rig.engine.StartMidiPlayback(); // stop
    ASSERT_TRUE(rig.RunUntilFinished());

    auto controllers = [&](int track) {
        std::vector<std::string> out;
        for (const std::string& e : rig.Events(track))
            if (e.find(" B") != std::string::npos) out.push_back(e);
        return out;
    };
    EXPECT_EQ(controllers(1), (std::vector<std::string>{"0 B0 07 3C"}));
    EXPECT_EQ(controllers(2), (std::vector<std::string>{"0 B1 0A 1E", "0 B1 07 3D"}));
    EXPECT_EQ(rig.doc.TrackRecord(1)->pan, 30);
    EXPECT_TRUE(rig.doc.IsModified());

    EXPECT_EQ(rig.doc.Undo(), EditResult::Done);
    EXPECT_FALSE(rig.doc.UndoManager().CanUndo()) << "one group";
    EXPECT_EQ(controllers(1), (std::vector<std::string>{"0 B0 07 5A"}));
    EXPECT_EQ(controllers(2), (std::vector<std::string>{"0 B1 07 5A"}));
    EXPECT_EQ(rig.doc.TrackRecord(0)->volume, 90);
    EXPECT_EQ(rig.doc.TrackRecord(1)->volume, 90);
    EXPECT_EQ(rig.doc.TrackRecord(1)->pan, 0);
}

// While the song plays, the document refuses Undo: the engine reads the sequence.
TEST(MidiDocPlaybackTest, UndoWaitsUntilTheRunHasFinished)
{
    Rig rig(test::smallSong(1));
    CTrackInfo& armed = *rig.doc.TrackRecord(1);
    armed.record = 1;
    armed.recordChannel = CTrackInfo::kRecordOmni;
    rig.RecordTake({{100'000, {0x90, 0x30, 0x64}}}, 300'000);
    rig.engine.StartMidiPlayback();
    rig.Advance(50'000);
    EXPECT_EQ(rig.doc.Undo(), EditResult::RefusedWhilePlaying);
    rig.engine.StartMidiPlayback();
    ASSERT_TRUE(rig.RunUntilFinished());
    EXPECT_EQ(rig.doc.Undo(), EditResult::Done);
    EXPECT_TRUE(rig.Events(2).empty());
}

} // namespace
} // namespace zib
