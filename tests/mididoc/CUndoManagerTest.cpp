#include "mididoc/core/CUndoManager.h"

#include "midi/MidiEventKind.h"
#include "mididoc/core/CUndoOwner.h"
#include "mididoc/core/CZibMidDoc.h"
#include "tests/mididoc/MidDocTestHelpers.h"

#include <gtest/gtest.h>

using namespace zib;
using namespace zib::test;

namespace {

// Edits the way the document's commands make them: record first, then change.
struct Editor {
    CZibMidDoc& doc;

    CMidiParserEx& seq() { return doc.Sequence(); }
    CUndoManager& undo() { return doc.UndoManager(); }

    void Delete(size_t i, uint32_t group)
    {
        ASSERT_GE(undo().RecordAction(UndoTargetEvent, *seq().GetEvent(i), UndoDelete, group, int32_t(i),
                                      int32_t(i)),
                  0);
        seq().RemoveEvent(i);
    }
    void Insert(size_t i, std::unique_ptr<CMidiEvent> e, uint32_t group)
    {
        const CMidiEvent& ref = *e;
        seq().InsertEvent(i, std::move(e));
        ASSERT_GE(undo().RecordAction(UndoTargetEvent, ref, UndoInsert, group, int32_t(i), -1), 0);
    }
    void SetValue(size_t i, uint8_t value, uint32_t group)
    {
        ASSERT_GE(undo().RecordAction(UndoTargetEvent, *seq().GetEvent(i), UndoModify, group, int32_t(i),
                                      int32_t(i)),
                  0);
        seq().GetEvent(i)->data[1] = value;
    }
    // A new time for the event at i: it moves to its sorted place
    size_t SetTime(size_t i, uint32_t time, uint32_t group)
    {
        CMidiEvent snapshot = *seq().GetEvent(i);
        const uint32_t old = seq().GetEvent(i)->time;
        seq().GetEvent(i)->time = time;
        const size_t at = doc.MoveEventToSortedPlace(i, old, time);
        EXPECT_GE(undo().RecordAction(UndoTargetEvent, snapshot, UndoModify, group, int32_t(i), int32_t(at)), 0);
        return at;
    }
};

std::unique_ptr<CMidiEvent> controller(uint32_t time, int track, uint8_t number, uint8_t value)
{
    auto e = std::make_unique<CMidiEvent>();
    const uint8_t data[] = {number, value};
    e->SetData(data, 2, 6);
    e->status = 0xB0;
    e->time = time;
    e->track = uint8_t(track);
    e->paired = 1;
    return e;
}

size_t indexOfTime(const CMidiParserEx& seq, uint32_t time, uint8_t status)
{
    for (size_t i = 0; i < seq.GetEventCount(); ++i)
        if (seq.GetEvent(i)->time == time && seq.GetEvent(i)->status == status) return i;
    ADD_FAILURE() << "no event at " << time;
    return 0;
}

} // namespace

TEST(CUndoManager, OneUndoTakesBackAGroupAndOneRedoMakesItAgain)
{
    auto doc = loadDocument(smallSong(2));
    Editor edit{*doc};
    const auto before = eventKeys(doc->Sequence());
    const uint32_t countsBefore = doc->TrackRecord(0)->totalEvents;

    edit.Delete(3, 1);
    edit.Insert(0, controller(0, 1, 11, 64), 0);
    edit.SetValue(6, 33, 0);
    const auto after = eventKeys(doc->Sequence());
    ASSERT_NE(after, before);
    EXPECT_EQ(doc->UndoManager().UndoCount(), 3u);

    ASSERT_EQ(doc->Undo(), 1);
    EXPECT_EQ(eventKeys(doc->Sequence()), before);
    EXPECT_EQ(doc->UndoManager().UndoCount(), 0u);
    EXPECT_EQ(doc->UndoManager().RedoCount(), 3u);
    EXPECT_EQ(doc->TrackRecord(0)->totalEvents, countsBefore);
    EXPECT_TRUE(doc->IsModified());

    ASSERT_EQ(doc->Redo(), 1);
    EXPECT_EQ(eventKeys(doc->Sequence()), after);
    EXPECT_EQ(doc->UndoManager().UndoCount(), 3u);
    EXPECT_EQ(doc->UndoManager().RedoCount(), 0u);

    // Two commands: each Undo takes one back.
    edit.SetValue(1, 5, 1);
    ASSERT_EQ(doc->Undo(), 1);
    EXPECT_EQ(eventKeys(doc->Sequence()), after);
    ASSERT_EQ(doc->Undo(), 1);
    EXPECT_EQ(eventKeys(doc->Sequence()), before);
}

TEST(CUndoManager, ModifiedEventThatMovedComesBackToItsPlace)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    SmfTrack& t = smf.AddTrack();
    for (uint32_t tick = 10; tick <= 110; tick += 10)
        t.Controller(tick, 0, 1, int(tick));
    auto doc = loadDocument(smf.Build());
    Editor edit{*doc};
    CMidiParserEx& seq = doc->Sequence();
    // Event 5 (tick 50) moves to tick 95: between 90 (index 9) and 100.
    const size_t at = edit.SetTime(5, 95, 1);
    ASSERT_EQ(at, 9u);
    const CUndoRecord& r = *doc->UndoManager().UndoRecordAt(0);
    EXPECT_EQ(r.index, 5);
    EXPECT_EQ(r.secondIndex, 9);

    ASSERT_EQ(doc->Undo(), 1);
    EXPECT_EQ(seq.GetEvent(5)->time, 50u);
    EXPECT_EQ(seq.GetEvent(5)->data[1], 50);
    EXPECT_EQ(seq.GetEvent(9)->time, 90u);

    ASSERT_EQ(doc->Redo(), 1);
    EXPECT_EQ(seq.GetEvent(9)->time, 95u);
    EXPECT_EQ(seq.GetEvent(9)->data[1], 50);
    EXPECT_EQ(seq.GetEvent(5)->time, 60u);
}

TEST(CUndoManager, FailuresDisableUntilTheNextGroupStarts)
{
    auto doc = loadDocument(smallSong(1));
    CUndoManager& undo = doc->UndoManager();
    CMidiParserEx& seq = doc->Sequence();

    // Nothing to undo.
    EXPECT_EQ(undo.Undo(), 0);
    EXPECT_FALSE(undo.IsEnabled());

    // Recording without a group start while disabled records nothing.
    EXPECT_EQ(undo.RecordAction(UndoTargetEvent, *seq.GetEvent(1), UndoModify, 0, 1, 1), -1);
    EXPECT_EQ(undo.UndoCount(), 0u);
    EXPECT_EQ(undo.RecordAction(UndoTargetEvent, *seq.GetEvent(1), UndoModify, 1, 1, 1), 0);
    EXPECT_TRUE(undo.IsEnabled());

    // A modify without its second index cannot be applied.
    undo.ClearAll();
    EXPECT_EQ(undo.RecordAction(UndoTargetEvent, *seq.GetEvent(1), UndoModify, 1, 1, -1), 0);
    EXPECT_EQ(undo.Undo(), 0);
    EXPECT_FALSE(undo.IsEnabled());
    EXPECT_EQ(undo.UndoCount(), 0u);
    EXPECT_EQ(undo.RedoCount(), 0u);

    // Group records pointing past the sequence fail without touching it.
    const auto before = eventKeys(seq);
    EXPECT_EQ(undo.RecordAction(UndoTargetEvent, *seq.GetEvent(1), UndoInsert, 1, 999, -1), 0);
    EXPECT_EQ(undo.Undo(), 0);
    EXPECT_EQ(eventKeys(seq), before);
    EXPECT_EQ(undo.RecordAction(UndoTargetEvent, *seq.GetEvent(1), UndoDelete, 1, 999, 999), 0);
    EXPECT_EQ(undo.Undo(), 0);
    EXPECT_EQ(eventKeys(seq), before);
    EXPECT_EQ(undo.RedoCount(), 0u);

    // Track records are a MIDI document's only; the target of RecordAction is an event.
    EXPECT_EQ(undo.RecordAction(UndoTargetTrack, *seq.GetEvent(1), UndoModify, 1, 1, 1), -1);
}

TEST(CUndoManager, UndoRenumbersAndClearsEditStates)
{
    auto doc = loadDocument(smallSong(2));
    Editor edit{*doc};
    edit.Delete(2, 1);
    edit.Delete(4, 0);
    CMidiParserEx& seq = doc->Sequence();
    for (size_t i = 0; i < seq.GetEventCount(); ++i) {
        seq.GetEvent(i)->state = 66;
        seq.GetEvent(i)->index = 1000;
    }
    ASSERT_EQ(doc->Undo(), 1);
    for (size_t i = 0; i < seq.GetEventCount(); ++i) {
        EXPECT_EQ(seq.GetEvent(i)->index, i);
        EXPECT_EQ(seq.GetEvent(i)->state, 0);
    }
}

TEST(CUndoManager, NewEditAfterUndoEmptiesTheRedoStack)
{
    auto doc = loadDocument(smallSong(1));
    Editor edit{*doc};
    edit.SetValue(1, 1, 1);
    ASSERT_EQ(doc->Undo(), 1);
    EXPECT_EQ(doc->UndoManager().RedoCount(), 1u);
    edit.SetValue(1, 2, 1);
    EXPECT_EQ(doc->UndoManager().RedoCount(), 0u);
    EXPECT_EQ(doc->Redo(), 0);
}

// The master track: a 3/4 signature at measure 2 that was deleted comes back.
TEST(CUndoManager, UndoingATimeSignatureDeletionRetimesTheSequence)
{
    SmfBuilder smf(1, 96); // 4/4: 384 ticks a measure
    smf.AddTrack().TimeSig(0, 4, 2).TimeSig(1536, 4, 2).Tempo(900, 600000);
    smf.AddTrack().Controller(900, 0, 1, 1).Controller(1400, 0, 1, 2).Controller(2000, 0, 1, 3);
    auto doc = loadDocument(smf.Build());
    CMidiParserEx& seq = doc->Sequence();
    ASSERT_EQ(seq.GetEvent(indexOfTime(seq, 1536, 0xFF))->measure, 4u);

    CMidiEvent deleted;
    const uint8_t bytes[] = {0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08};
    deleted.SetData(bytes, sizeof bytes);
    deleted.status = 0xFF;
    deleted.paired = 1;
    deleted.time = 768;
    deleted.measure = 2;
    size_t at = 0; // where it stood: before the first event after tick 768
    while (seq.GetEvent(at)->time <= 768)
        ++at;
    ASSERT_EQ(doc->UndoManager().RecordAction(UndoTargetMasterEvent, deleted, UndoDelete, 1, int32_t(at),
                                              int32_t(at)),
              0);

    struct Listener : CMidDocListener {
        int inserted = -1, removed = -1, signatures = 0, refreshed = 0;
        void MasterEventInserted(size_t i) override { inserted = int(i); }
        void MasterEventRemoving(size_t i) override { removed = int(i); }
        void TimeSignaturesChanged() override { ++signatures; }
        void RefreshViews(bool) override { ++refreshed; }
    } listener;
    doc->AddListener(&listener);

    ASSERT_EQ(doc->Undo(), 1);
    EXPECT_EQ(listener.inserted, int(at));
    EXPECT_EQ(listener.signatures, 1);
    EXPECT_EQ(listener.refreshed, 1);
    // Measures 2 and 3 are 3/4 (288 ticks); measure 4 starts at 768 + 576.
    EXPECT_EQ(seq.GetNumeratorAtMeasure(1), 4);
    EXPECT_EQ(seq.GetNumeratorAtMeasure(2), 3);
    EXPECT_EQ(seq.GetNumeratorAtMeasure(3), 3);
    EXPECT_EQ(seq.GetNumeratorAtMeasure(4), 4);
    EXPECT_EQ(seq.GetMeasureStartTick(4), 1344u);
    EXPECT_EQ(seq.GetEvent(at)->time, 768u);
    // The later signature moved to its measure's new start.
    EXPECT_EQ(seq.GetEvent(indexOfTime(seq, 1344, 0xFF))->measure, 4u);
    // Other events kept their times and got new positions.
    const CMidiEvent& c900 = *seq.GetEvent(indexOfTime(seq, 900, 0xB0));
    EXPECT_EQ(std::vector<uint32_t>({c900.measure, c900.beat, c900.tick}), std::vector<uint32_t>({2, 1, 36}));
    const CMidiEvent& c1400 = *seq.GetEvent(indexOfTime(seq, 1400, 0xB0));
    EXPECT_EQ(std::vector<uint32_t>({c1400.measure, c1400.beat, c1400.tick}), std::vector<uint32_t>({4, 0, 56}));
    for (size_t i = 1; i < seq.GetEventCount(); ++i)
        EXPECT_LE(seq.GetEvent(i - 1)->time, seq.GetEvent(i)->time);

    // Redo deletes it again: 4/4 throughout, the later signature back at 1536.
    ASSERT_EQ(doc->Redo(), 1);
    EXPECT_EQ(listener.removed, int(at));
    EXPECT_EQ(seq.GetNumeratorAtMeasure(2), 4);
    EXPECT_EQ(seq.GetMeasureStartTick(4), 1536u);
    EXPECT_EQ(seq.GetEvent(indexOfTime(seq, 1536, 0xFF))->measure, 4u);
    const CMidiEvent& again = *seq.GetEvent(indexOfTime(seq, 1400, 0xB0));
    EXPECT_EQ(std::vector<uint32_t>({again.measure, again.beat, again.tick}), std::vector<uint32_t>({3, 2, 56}));
    doc->RemoveListener(&listener);
}

TEST(CUndoManager, MasterEventModifyIsRemovedAndInsertedAgain)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000).Tempo(200, 400000);
    smf.AddTrack().Controller(100, 0, 1, 1);
    auto doc = loadDocument(smf.Build());
    CMidiParserEx& seq = doc->Sequence();
    const size_t i = indexOfTime(seq, 200, 0xFF);
    CMidiEvent before = *seq.GetEvent(i);
    seq.GetEvent(i)->data[3] = 0x07;
    ASSERT_EQ(doc->UndoManager().RecordAction(UndoTargetMasterEvent, before, UndoModify, 1, int32_t(i),
                                              int32_t(i)),
              0);
    ASSERT_EQ(doc->Undo(), 1);
    EXPECT_EQ(seq.GetEvent(i)->data[3], before.data[3]);
    ASSERT_EQ(doc->Redo(), 1);
    EXPECT_EQ(seq.GetEvent(i)->data[3], 0x07);
}

// Deleting a track the way the command does: its events, then its record.
TEST(CUndoManager, UndoingATrackDeletionRestoresTheTrackAndTheCount)
{
    for (uint16_t format : {uint16_t(0), uint16_t(1)}) {
        SCOPED_TRACE(format);
        std::vector<uint8_t> image;
        if (format == 1) {
            image = smallSong(3);
        } else {
            SmfBuilder smf(0, 96);
            SmfTrack& t = smf.AddTrack();
            t.TimeSig(0, 4, 2);
            for (int c = 0; c < 3; ++c)
                t.Program(0, c, c + 1).NoteOn(10, c, 60, 90).NoteOff(20, c, 60);
            image = smf.Build();
        }
        auto doc = loadDocument(image);
        CMidiParserEx& seq = doc->Sequence();
        CUndoManager& undo = doc->UndoManager();
        const auto before = eventKeys(seq);
        const uint16_t trackCount = doc->FileTrackCount();
        const CTrackInfo record2 = *doc->TrackRecord(1);

        const int row = 1; // sequence track 2
        uint32_t group = 1;
        for (size_t i = seq.GetEventCount(); i-- > 0;) {
            if (seq.GetEvent(i)->track != row + 1) continue;
            ASSERT_GE(undo.RecordAction(UndoTargetEvent, *seq.GetEvent(i), UndoDelete, group, int32_t(i),
                                        int32_t(i)),
                      0);
            group = 0;
            seq.RemoveEvent(i);
            doc->TrackRecord(row)->listedEvents = seq.GetTrackEventCount(row + 1);
            doc->TrackRecord(row)->totalEvents = seq.GetTrackTotalEvents(row + 1);
        }
        EXPECT_EQ(doc->TrackRecord(row)->totalEvents, 0u);
        ASSERT_GE(undo.RecordTrackAction(*doc->TrackRecord(row), UndoDelete, 0, row, row), 0);
        ASSERT_TRUE(doc->RemoveTrackSlot(row));
        if (format == 1) doc->SetFileTrackCount(uint16_t(trackCount - 1));
        seq.Renumber(0);
        const auto deleted = eventKeys(seq);
        if (format == 1) {
            EXPECT_EQ(doc->TrackRecord(1)->name, "Track 3");
        }

        ASSERT_EQ(doc->Undo(), 1);
        EXPECT_EQ(eventKeys(seq), before);
        EXPECT_EQ(doc->FileTrackCount(), trackCount);
        EXPECT_EQ(doc->TrackRecord(row)->name, record2.name);
        EXPECT_EQ(doc->TrackRecord(row)->program, record2.program);
        EXPECT_EQ(doc->TrackRecord(row)->totalEvents, record2.totalEvents);
        EXPECT_EQ(doc->TrackRecord(row)->rawData.size(), format == 1 ? record2.rawData.size() : 0u);
        EXPECT_EQ(seq.GetTrack(row + 1)->totalCount, record2.totalEvents);

        ASSERT_EQ(doc->Redo(), 1);
        EXPECT_EQ(eventKeys(seq), deleted);
        EXPECT_EQ(doc->FileTrackCount(), format == 1 ? trackCount - 1 : trackCount);
    }
}

TEST(CUndoManager, TrackPropertiesModifyRestoresRecordAndSequenceTables)
{
    auto doc = loadDocument(smallSong(2));
    CMidiParserEx& seq = doc->Sequence();
    CTrackInfo& t = *doc->TrackRecord(0);
    const CTrackInfo before = t;
    ASSERT_GE(doc->UndoManager().RecordTrackAction(t, UndoModify, 1, 0, 0), 0);
    t.name = "Renamed";
    t.program = 255;
    t.bank = 0x0203;
    t.volume = 11;
    seq.GetTrack(1)->name = "Renamed";

    ASSERT_EQ(doc->Undo(), 1);
    EXPECT_EQ(t.name, before.name);
    EXPECT_EQ(t.program, before.program);
    EXPECT_EQ(seq.GetTrack(1)->name, before.name);
    EXPECT_EQ(seq.GetTrack(1)->program, before.program);
    EXPECT_EQ(seq.GetTrack(1)->programSeen, 1);
    EXPECT_EQ(seq.GetTrack(1)->bankMsbSeen, 0); // no bank MSB: 255

    ASSERT_EQ(doc->Redo(), 1);
    EXPECT_EQ(t.name, "Renamed");
    EXPECT_EQ(seq.GetTrack(1)->programSeen, 0);
    EXPECT_EQ(seq.GetTrack(1)->bankMsb, 2);
    EXPECT_EQ(seq.GetTrack(1)->bankMsbSeen, 1);
    EXPECT_EQ(seq.GetTrack(1)->volume, 11);
}

// A pad or style document: events only, on the sequence of its track editor.
TEST(CUndoManager, PadOrStyleOwnerUndoesEventsOnly)
{
    struct PadOwner : CUndoOwner {
        int frozen = 0, refreshed = 0;
        void UndoFreezeViews() override { ++frozen; }
        void UndoRefreshViews(bool) override { ++refreshed; }
    } owner;
    CMidiParserEx editorSequence;
    const auto image = smallSong(1);
    ASSERT_EQ(editorSequence.ParseImage(image.data(), uint32_t(image.size())), 0);
    CUndoManager undo;
    undo.SetOwner(CUndoManager::kOwnerPadOrStyle, &owner);

    // No sequence bound yet: nothing to apply.
    ASSERT_EQ(undo.RecordAction(UndoTargetEvent, *editorSequence.GetEvent(1), UndoDelete, 1, 1, 1), 0);
    EXPECT_EQ(undo.Undo(), 0);

    undo.SetSequence(&editorSequence);
    owner.frozen = owner.refreshed = 0;
    const auto before = eventKeys(editorSequence);
    ASSERT_EQ(undo.RecordAction(UndoTargetEvent, *editorSequence.GetEvent(1), UndoDelete, 1, 1, 1), 0);
    editorSequence.RemoveEvent(1);
    ASSERT_EQ(undo.Undo(), 1);
    EXPECT_EQ(eventKeys(editorSequence), before);
    EXPECT_EQ(owner.frozen, 1);
    EXPECT_EQ(owner.refreshed, 1);

    // Track records and master events belong to the MIDI document.
    CTrackInfo track;
    EXPECT_EQ(undo.RecordTrackAction(track, UndoModify, 1, 0, 0), -1);
    EXPECT_FALSE(undo.IsEnabled());
    ASSERT_EQ(undo.RecordAction(UndoTargetMasterEvent, *editorSequence.GetEvent(0), UndoModify, 1, 0, 0), 0);
    EXPECT_EQ(undo.Undo(), 0);
}
