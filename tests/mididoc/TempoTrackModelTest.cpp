// The master-track list: its views, what Insert item makes, the tempo and
// time-signature commands and their limits.
#include "mididoc/core/TempoTrackModel.h"

#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/MidiDocMessages.h"
#include "mididoc/core/SequenceEdits.h"
#include "mididoc/core/TempoDlgModel.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace zib;
using namespace zib::test;
using Creation = TempoTrackModel::Creation;

namespace {

std::vector<uint8_t> masterSong()
{
    SmfBuilder smf(1, 96);
    smf.AddTrack()
        .TimeSig(0, 4, 2)
        .Tempo(0, 500000)
        .Marker(384, "Verse")
        .Text(400, 5, "la")
        .TimeSig(768, 3, 2)
        .Tempo(800, 400000);
    smf.AddTrack().NoteOn(0, 0, 60, 90).NoteOff(1000, 0, 60).Controller(1100, 0, 1, 3);
    return smf.Build();
}

std::vector<std::string> column(const TempoTrackModel& t, int c)
{
    std::vector<std::string> out;
    for (int r = 0; r < t.RowCount(); ++r)
        out.push_back(t.CellText(r, c));
    return out;
}

} // namespace

TEST(TempoTrackModel, EachViewListsItsEventsOfTheMasterTrack)
{
    DocFixture f(masterSong());
    struct Case {
        int kind;
        std::vector<std::string> types;
        const char* title;
        int icon;
    };
    for (const Case& c : {Case{0, {"TimeSignature", "TimeSignature", ""}, "Song.mid - Master Track - TimeSig Events", 245},
                          Case{1, {"Marker", ""}, "Song.mid - Master Track - Markers", 246},
                          Case{2, {"Tempo", "Tempo", ""}, "Song.mid - Master Track - Tempo Events", 250},
                          Case{3, {"Lyric", ""}, "Song.mid - Master Track - Lyrics Events", 263},
                          Case{4, {""}, "Song.mid - Master Track - Sysex Events", 264},
                          Case{9, {"TimeSignature", "Tempo", "Marker", "Lyric", "TimeSignature", "Tempo", ""},
                               "Song.mid - Master Track - All Events", 136}}) {
        SCOPED_TRACE(c.kind);
        TempoTrackModel t(*f.doc, c.kind);
        t.RefillList();
        EXPECT_EQ(column(t, 2), c.types);
        EXPECT_EQ(t.Title("Song.mid"), c.title);
        EXPECT_EQ(t.IconId(), c.icon);
    }
    TempoTrackModel all(*f.doc, 5);
    all.RefillList();
    EXPECT_EQ(column(all, 3), (std::vector<std::string>{" 4/4      ", "BPM=120   ", "Verse", "la", " 3/4      ",
                                                        "BPM=150   ", ""}));
    EXPECT_EQ(all.CellText(0, 0), "           0");
    EXPECT_EQ(all.CellText(4, 1), "  3:01:000");
    // System exclusive of the master track (a format-0 file keeps it there)
    SmfBuilder zero(0, 96);
    zero.AddTrack().TimeSig(0, 4, 2).SysEx(10, {0x7E, 0x7F, 0x06, 0x01, 0xF7}).NoteOn(20, 0, 60, 90).NoteOff(30, 0, 60);
    DocFixture g(zero.Build());
    TempoTrackModel sysex(*g.doc, TempoTrackModel::kSysEx);
    sysex.RefillList();
    EXPECT_EQ(column(sysex, 2), (std::vector<std::string>{"Sysex", ""}));
    EXPECT_EQ(sysex.CellText(0, 3), "...");
}

TEST(TempoTrackModel, InsertItemMakesTheKindOfTheRowOrOfTheView)
{
    DocFixture f(masterSong());
    TempoTrackModel all(*f.doc, 5);
    all.RefillList();
    EXPECT_EQ(all.InsertChoice(0), Creation::TimeSignature);
    EXPECT_EQ(all.InsertChoice(1), Creation::Tempo);
    EXPECT_EQ(all.InsertChoice(2), Creation::Marker);
    EXPECT_EQ(all.InsertChoice(3), Creation::Lyric);
    EXPECT_EQ(all.InsertChoice(all.EndRow()), Creation::Marker);
    for (auto [kind, made] : {std::pair{0, Creation::TimeSignature}, std::pair{2, Creation::Tempo},
                              std::pair{3, Creation::Lyric}, std::pair{4, Creation::Nothing}}) {
        TempoTrackModel t(*f.doc, kind);
        t.RefillList();
        EXPECT_EQ(t.InsertChoice(t.EndRow()), made);
    }
}

TEST(TempoTrackModel, TempoEditsTakeFourTo250Bpm)
{
    DocFixture f(masterSong());
    TempoTrackModel t(*f.doc, TempoTrackModel::kTempo);
    t.RefillList();
    // An empty view starts at tick 0 and 120 BPM.
    TempoTrackModel lyrics(*f.doc, TempoTrackModel::kLyrics);
    lyrics.RefillList();
    EXPECT_EQ(lyrics.CreateTempoEvent(-1), EditResult::Cancelled);
    ASSERT_EQ(f.dialogs.tempoSeen.size(), 1u);
    EXPECT_EQ(f.dialogs.tempoSeen[0].bpm, 120);
    EXPECT_EQ(f.dialogs.tempoSeen[0].tick, 0u);
    for (int bpm : {0, 3, 251, 1000}) {
        f.dialogs.tempo = [bpm](TempoDlgValues v) {
            v.bpm = bpm;
            return std::optional(v);
        };
        const auto before = eventStates(f.seq());
        EXPECT_EQ(t.CreateTempoEvent(-1), EditResult::Nothing) << bpm;
        EXPECT_EQ(t.EditTempoEvent(0), EditResult::Nothing) << bpm;
        EXPECT_EQ(eventStates(f.seq()), before);
    }
    f.dialogs.tempo = [](TempoDlgValues v) {
        v.bpm = 4;
        v.tick = 384;
        return std::optional(v);
    };
    ASSERT_EQ(t.CreateTempoEvent(t.EndRow()), EditResult::Done);
    EXPECT_EQ(f.dialogs.tempoSeen.back().bpm, 150); // the row before the end row starts it
    EXPECT_EQ(column(t, 3), (std::vector<std::string>{"BPM=120   ", "BPM=4     ", "BPM=150   ", ""}));
    // No memory for the new event: "Error: cannot create midi event"
    ScopedAllocationFailure fail(1);
    EXPECT_EQ(t.CreateTempoEvent(-1), EditResult::Failed);
    EXPECT_TRUE(f.reports.Has(kMsgCannotCreateEvent));
}

// The dialog holds a whole BPM of at most 250, so a tempo it cannot show
// exactly comes back rounded: OK with the BPM as shown keeps the event's own
// microseconds, and only a BPM the user changed rewrites them.
TEST(TempoTrackModel, ATempoEditKeepsTheMicrosecondsUnlessTheBpmChanged)
{
    struct Case {
        const char* what;
        uint32_t micros;       // in the file
        int typed;             // the BPM answered, 0: as the dialog shows it
        uint32_t tick;         // the position answered
        uint32_t savedMicros;  // in the saved file
        EditResult result;
    };
    for (const Case& c : {Case{"119.88 BPM shown as 119", 500500, 0, 0, 500500, EditResult::Nothing},
                          Case{"300 BPM shown as 250", 200000, 0, 0, 200000, EditResult::Nothing},
                          Case{"only moved", 500500, 0, 96, 500500, EditResult::Done},
                          Case{"a new BPM", 500500, 100, 0, 600000, EditResult::Done},
                          Case{"200 typed over 300", 200000, 200, 0, 300000, EditResult::Done}}) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        SmfBuilder smf(1, 96);
        smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, c.micros);
        smf.AddTrack().NoteOn(0, 0, 60, 90).NoteOff(384, 0, 60);
        DocFixture f(smf.Build(), (dir / "In.mid").string());
        TempoTrackModel t(*f.doc, TempoTrackModel::kTempo);
        t.RefillList();
        f.dialogs.tempo = [&c](TempoDlgValues v) {
            TempoDlgModel shown(v.bpm, v.tick);
            shown.Ok(c.typed ? std::to_string(c.typed) : shown.TempoText(), c.tick);
            v.bpm = shown.Tempo();
            v.tick = shown.Tick();
            return std::optional(v);
        };
        EXPECT_EQ(t.EditTempoEvent(0), c.result);
        EXPECT_EQ(f.doc->IsModified(), c.result == EditResult::Done);
        EXPECT_EQ(f.doc->UndoManager().CanUndo(), c.result == EditResult::Done);
        const auto out = dir / "Out.mid";
        f.doc->SetModified(true);
        ASSERT_EQ(f.doc->SaveAs(out), MidiDocModel::SaveResult::Ok);
        DocFixture g(readFileBytes(out), out.string());
        TempoTrackModel saved(*g.doc, TempoTrackModel::kTempo);
        saved.RefillList();
        ASSERT_EQ(saved.EndRow(), 1);
        const CMidiEvent& e = *saved.RowEvent(0);
        EXPECT_EQ(uint32_t(e.data[3]) << 16 | uint32_t(e.data[4]) << 8 | e.data[5], c.savedMicros);
        EXPECT_EQ(e.time, c.tick);
    }
}

TEST(TempoTrackModel, TimeSignaturesRetimeTheSequence)
{
    DocFixture f(masterSong());
    TempoTrackModel t(*f.doc, TempoTrackModel::kTimeSignatures);
    t.RefillList();
    CMidiParserEx& seq = f.seq();
    // 6/8 from measure 1 (0-based): the 3/4 of measure 2 moves to the new start.
    f.dialogs.timeSignature = [](TimeSigDlgValues v) {
        v.measure = 1;
        v.numerator = 6;
        v.denominator = 8;
        return std::optional(v);
    };
    ASSERT_EQ(t.CreateTimeSigEvent(-1, false), EditResult::Done);
    EXPECT_EQ(f.views.barRebuilds, 1);
    EXPECT_EQ(column(t, 1), (std::vector<std::string>{"  1:01:000", "  2:01:000", "  3:01:000", ""}));
    EXPECT_EQ(seq.GetMeasureStartTick(2), 384u + 288u);
    // The controller at 1100 keeps its time and gets its new position.
    for (const auto& e : seq.GetEvents())
        if ((e->status & 0xF0) == 0xB0) {
            EXPECT_EQ(e->time, 1100u);
            EXPECT_EQ(e->measure, 2u + (1100 - 672) / 288);
        }
    // The same values at a signature's measure change nothing.
    f.dialogs.timeSignature = [](TimeSigDlgValues v) { return std::optional(v); };
    EXPECT_EQ(t.CreateTimeSigEvent(1, true), EditResult::Nothing);
    // Delete: the first signature is never deleted; another gives its measures back.
    EXPECT_EQ(t.DeleteSelectedEvents({0}), EditResult::Nothing);
    EXPECT_FALSE(t.DeleteEnabled(0));
    EXPECT_TRUE(t.DeleteEnabled(1));
    ASSERT_EQ(t.DeleteSelectedEvents({1}), EditResult::Done);
    EXPECT_EQ(column(t, 1), (std::vector<std::string>{"  1:01:000", "  3:01:000", ""}));
    EXPECT_EQ(seq.GetMeasureStartTick(2), 768u);
    // A measure past the 999th or a numerator of 0 is refused.
    for (auto [measure, numerator] : {std::pair{999u, uint8_t(4)}, std::pair{3u, uint8_t(0)}}) {
        f.dialogs.timeSignature = [m = measure, n = numerator](TimeSigDlgValues v) {
            v.measure = m;
            v.numerator = n;
            return std::optional(v);
        };
        EXPECT_EQ(t.CreateTimeSigEvent(-1, false), EditResult::Nothing);
    }
}

TEST(TempoTrackModel, ShiftIsForTheOtherViewsAndNeverMovesSignatures)
{
    DocFixture f(masterSong());
    TempoTrackModel sigs(*f.doc, TempoTrackModel::kTimeSignatures);
    sigs.RefillList();
    f.dialogs.shiftTo = 5;
    EXPECT_FALSE(sigs.ShiftEnabled());
    EXPECT_EQ(sigs.ShiftEvents({1}), EditResult::Nothing);
    TempoTrackModel all(*f.doc, TempoTrackModel::kAll);
    EXPECT_FALSE(all.ShiftEnabled());
    TempoTrackModel markers(*f.doc, TempoTrackModel::kMarkers);
    markers.RefillList();
    EXPECT_TRUE(markers.ShiftEnabled());
    f.dialogs.shiftTo = 10;
    ASSERT_EQ(markers.ShiftEvents({0}), EditResult::Done);
    EXPECT_EQ(markers.RowEvent(0)->time, 10u);
    EXPECT_EQ(f.doc->Undo(), EditResult::Done);
    markers.RefillList();
    EXPECT_EQ(markers.RowEvent(0)->time, 384u);
}

TEST(TempoTrackModel, TheMasterTrackIsNotEditedWhilePlaying)
{
    DocFixture f(masterSong());
    TempoTrackModel all(*f.doc, TempoTrackModel::kAll);
    all.RefillList();
    f.playing = 1;
    f.dialogs.tempo = [](TempoDlgValues v) { return std::optional(v); };
    f.dialogs.shiftTo = 1;
    const auto before = captureState(*f.doc);
    for (EditResult r : {all.CreateTempoEvent(-1), all.EditTempoEvent(1), all.DeleteSelectedEvents({2}),
                         all.CreateMarkerEvent(-1, 6), all.CreateTimeSigEvent(-1, false), all.EditMarker(2, 6)})
        EXPECT_EQ(r, EditResult::RefusedWhilePlaying);
    EXPECT_EQ(captureState(*f.doc), before);
    // Selection follows the player.
    all.SetCurrentRow(0);
    EXPECT_EQ(all.SelectRowBeforeTick(500), 3); // the rows at 0, 0, 384, 400, 768 ...
    EXPECT_EQ(all.SelectRowBeforeTick(1000000), all.EndRow() - 1);
    EXPECT_EQ(all.SelectRowBeforeTick(100), 1); // a new run searches from the top
    EXPECT_EQ(all.SelectRowAtEvent(0), 0);
    EXPECT_EQ(all.ClickedEventIndex(all.EndRow()), all.RowEvent(all.EndRow() - 1)->index);
}

TEST(TempoTrackModel, MarkerDialogsAreTitledByType)
{
    DocFixture f(masterSong());
    TempoTrackModel markers(*f.doc, TempoTrackModel::kMarkers);
    markers.RefillList();
    EXPECT_EQ(markers.CreateMarkerEvent(-1, 6), EditResult::Cancelled);
    EXPECT_EQ(markers.EditMarker(0, 6), EditResult::Cancelled);
    ASSERT_EQ(f.dialogs.markerSeen.size(), 2u);
    EXPECT_EQ(f.dialogs.markerSeen[0].caption, "Create Meta Event - Marker");
    EXPECT_EQ(f.dialogs.markerSeen[1].caption, "Edit Meta Event - Marker");
    EXPECT_EQ(f.dialogs.markerSeen[1].text, "Verse");
    f.dialogs.marker = [](MarkerDlgValues v) {
        v.text = "Ch\xC3\xB6r";
        return std::optional(v);
    };
    ScopedAllocationFailure fail(1);
    EXPECT_EQ(markers.EditMarker(0, 6), EditResult::Failed);
    EXPECT_TRUE(f.reports.Has(kMsgNoMemory));
    EXPECT_EQ(markers.CellText(0, 3), "Verse");
}
