// The document's commands on whole tracks and on the From-Thru stretch, with
// their limits and messages.
#include "mididoc/core/MidiDocModel.h"

#include "midi/MidiEventKind.h"
#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/MidiDocMessages.h"
#include "mididoc/core/TrackPropertiesDlgModel.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace zib;
using namespace zib::test;

namespace {

std::vector<uint8_t> keysSong()
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    smf.AddTrack().NoteOn(300, 0, 120, 90).NoteOff(400, 0, 120).NoteOn(310, 0, 5, 90).NoteOff(410, 0, 5)
        .NoteOn(320, 0, 60, 90).NoteOff(330, 0, 60);
    for (int k = 2; k <= 5; ++k)
        smf.AddTrack().NoteOn(100 * uint32_t(k), k - 1, 50 + k, 90).NoteOff(100 * uint32_t(k) + 50, k - 1, 50 + k);
    return smf.Build();
}

std::vector<int> keysOfTrack(const CMidiParserEx& seq, int track)
{
    std::vector<int> keys;
    for (const auto& e : seq.GetEvents())
        if (e->track == track && isChannelStatus(e->status)) keys.push_back(e->data[0]);
    return keys;
}

} // namespace

TEST(MidiDocCommands, DeletingTracksMovesTheLaterOnesDown)
{
    DocFixture f(keysSong());
    ASSERT_EQ(f.doc->FileTrackCount(), 6);
    const auto track4 = keysOfTrack(f.seq(), 4);
    ASSERT_EQ(f.doc->OnEditDeleteTrack({1, 4}), EditResult::Done); // tracks 2 and 5
    EXPECT_EQ(f.doc->FileTrackCount(), 4);
    EXPECT_EQ(f.doc->TrackRecordCount(), 64);
    EXPECT_EQ(keysOfTrack(f.seq(), 3), track4); // track 4 is track 3 now
    EXPECT_TRUE(keysOfTrack(f.seq(), 5).empty());
    EXPECT_EQ(f.doc->TrackRecord(63)->channel, 255);
}

// The file's track count names the tracks the file holds: deleting empty
// rows past them leaves it, and Undo gives back the count the file had.
TEST(MidiDocCommands, DeletingRowsPastTheFilesTracksCountsOnlyTheFilesTracks)
{
    DocFixture f(smallSong(2)); // the conductor and two tracks
    ASSERT_EQ(f.doc->FileTrackCount(), 3);
    ASSERT_EQ(f.doc->OnEditDeleteTrack({0, 1, 2, 3}), EditResult::Done);
    EXPECT_EQ(f.doc->FileTrackCount(), 1);
    ASSERT_EQ(f.doc->Undo(), EditResult::Done);
    EXPECT_EQ(f.doc->FileTrackCount(), 3);
    ASSERT_EQ(f.doc->Redo(), EditResult::Done);
    EXPECT_EQ(f.doc->FileTrackCount(), 1);
    // An inserted track joins the file; taken back, it leaves it.
    ASSERT_EQ(f.doc->Undo(), EditResult::Done);
    ASSERT_EQ(f.doc->InsertMidiTrack(5), EditResult::Done);
    EXPECT_EQ(f.doc->FileTrackCount(), 4);
    ASSERT_EQ(f.doc->Undo(), EditResult::Done);
    EXPECT_EQ(f.doc->FileTrackCount(), 3);
}

// A new track is prepared in Track Properties: every value goes into the
// file, the channel and its first values as events of the chosen channel,
// as one undo step.
TEST(MidiDocCommands, TrackPropertiesOfAnEmptyTrackAreWrittenIntoTheFile)
{
    TempDir dir;
    DocFixture f(smallSong(2), (dir / "In.mid").string());
    const int row = 5;
    ASSERT_EQ(f.doc->TrackRecord(row)->channel, 255);
    f.dialogs.properties = [](TrackPropertiesValues v) {
        v.name = "Strings";
        v.port = 2;
        v.channel = 6;
        v.bank = 0x0105; // MSB 1, LSB 5
        v.program = 48;
        v.volume = 77;
        v.pan = 30;
        v.changed = true;
        return std::optional(v);
    };
    const DocState before = captureState(*f.doc);
    ASSERT_EQ(f.doc->EditMidiTrackProperties(row, 1), EditResult::Done);
    std::vector<int> channels;
    for (const auto& e : f.seq().GetEvents())
        if (e->track == row + 1 && isChannelStatus(e->status)) channels.push_back(e->status & 0x0F);
    EXPECT_EQ(channels, std::vector<int>(5, 6)); // bank MSB and LSB, program, volume, pan
    const auto out = dir / "Out.mid";
    ASSERT_EQ(f.doc->SaveAs(out), MidiDocModel::SaveResult::Ok);
    DocFixture g(readFileBytes(out), out.string());
    const CTrackInfo& saved = *g.doc->TrackRecord(row);
    EXPECT_EQ(saved.name, "Strings");
    EXPECT_EQ(saved.port, 2);
    EXPECT_EQ(saved.channel, 6);
    EXPECT_EQ(saved.bank, 0x0105);
    EXPECT_EQ(saved.program, 48);
    EXPECT_EQ(saved.volume, 77);
    EXPECT_EQ(saved.pan, 30);
    EXPECT_EQ(saved.hasEvents, 1);
    const CMidiParserEx::Track& table = *g.seq().GetTrack(row + 1);
    EXPECT_TRUE(table.volumeSeen && table.panSeen && table.programSeen && table.bankMsbSeen && table.bankLsbSeen);
    // One Undo takes all of it back.
    ASSERT_EQ(f.doc->Undo(), EditResult::Done);
    EXPECT_EQ(captureState(*f.doc), before);
    EXPECT_FALSE(f.doc->UndoManager().CanUndo());
}

// Without a channel a new track's bank, program, volume and pan have no event
// to go into: nothing changes and the user is asked for a channel.
TEST(MidiDocCommands, TrackPropertiesOfAnEmptyTrackWithoutChannelChangeNothing)
{
    DocFixture f(smallSong(2));
    const int row = 5;
    std::vector<TrackPropertiesValues> given;
    f.dialogs.properties = [&given](TrackPropertiesValues v) {
        given.push_back(v);
        v.name = "Strings";
        v.volume = 77;
        v.changed = true;
        return std::optional(v);
    };
    const DocState before = captureState(*f.doc);
    EXPECT_EQ(f.doc->EditMidiTrackProperties(row, 1), EditResult::Failed);
    ASSERT_EQ(given.size(), 1u);
    EXPECT_FALSE(given[0].channelEvents);
    ASSERT_EQ(f.reports.messages.size(), 1u);
    EXPECT_EQ(f.reports.messages[0].uiText, TrackPropertiesDlgModel::kNeedsChannelText);
    EXPECT_EQ(captureState(*f.doc), before);
    EXPECT_FALSE(f.doc->IsModified());
    EXPECT_FALSE(f.doc->UndoManager().CanUndo());
    // A name alone needs no channel; a track with events keeps its own.
    f.dialogs.properties = [&given](TrackPropertiesValues v) {
        given.push_back(v);
        v.name = "Strings";
        v.changed = true;
        return std::optional(v);
    };
    EXPECT_EQ(f.doc->EditMidiTrackProperties(row, 1), EditResult::Done);
    EXPECT_EQ(f.doc->TrackRecord(row)->name, "Strings");
    EXPECT_EQ(f.doc->EditMidiTrackProperties(0, 1), EditResult::Done);
    EXPECT_TRUE(given.back().channelEvents);
}

TEST(MidiDocCommands, InsertingATrackStopsAtTheLastOne)
{
    DocFixture f(keysSong());
    ASSERT_EQ(f.doc->InsertMidiTrack(0), EditResult::Done);
    EXPECT_EQ(keysOfTrack(f.seq(), 2), (std::vector<int>{120, 5, 60, 60, 120, 5})); // track 1 moved up
    EXPECT_EQ(f.doc->FileTrackCount(), 7);
}

// Whatever the track list makes is saved and opens again: a song of the
// master track and 63 tracks takes one more (track 63 moves to 64), a song
// that uses track 64 takes none ("Insertion stopped - LIMIT reached!").
TEST(MidiDocCommands, InsertedTracksUpToTheLastOneSaveAndOpenAgain)
{
    SmfBuilder full(1, 96);
    full.AddTrack().TimeSig(0, 4, 2);
    for (int k = 1; k <= 63; ++k)
        full.AddTrack().NoteOn(0, 0, uint8_t(k), 90).NoteOff(10, 0, uint8_t(k));
    DocFixture g(full.Build());
    ASSERT_EQ(g.doc->InsertMidiTrack(0), EditResult::Done); // one under the limit: track 63 moves to 64
    EXPECT_EQ(keysOfTrack(g.seq(), 64), (std::vector<int>{63, 63}));
    const auto under = savedImage(*g.doc);
    DocFixture reopened(under, "/songs/Again.mid");
    ASSERT_TRUE(reopened.doc->HasTrackRecords());
    EXPECT_EQ(savedContent(*reopened.doc), savedContent(*g.doc));
    EXPECT_EQ(reopened.doc->FileTrackCount(), 65);

    // At the limit nothing moves, and what is there still saves and opens.
    for (DocFixture* at : {&g, &reopened}) {
        const auto before = captureState(*at->doc);
        EXPECT_EQ(at->doc->InsertMidiTrack(3), EditResult::Failed);
        EXPECT_TRUE(at->reports.Has(kMsgLimitReached));
        EXPECT_EQ(captureState(*at->doc), before);
        DocFixture again(savedImage(*at->doc), "/songs/Again.mid");
        EXPECT_EQ(savedContent(*again.doc), savedContent(*g.doc));
    }
}

// The rows the bar view selected (which Copy and Paste From-Thru take) move
// with their tracks as tracks are inserted and deleted, and back on Undo.
TEST(MidiDocCommands, TheRowsSelectedForTheBarViewMoveWithTheirTracks)
{
    DocFixture f(keysSong());
    f.doc->m_RowSelected[2] = 1;
    const auto selected = [&] {
        std::vector<int> rows;
        for (int r = 0; r < MidiDocModel::kTrackRecordCount; ++r)
            if (f.doc->m_RowSelected[size_t(r)]) rows.push_back(r);
        return rows;
    };
    ASSERT_EQ(f.doc->InsertMidiTrack(0), EditResult::Done);
    EXPECT_EQ(selected(), std::vector<int>{3});
    ASSERT_EQ(f.doc->OnEditDeleteTrack({0, 1}), EditResult::Done); // the new track and track 1
    EXPECT_EQ(selected(), std::vector<int>{1});
    ASSERT_EQ(f.doc->Undo(), EditResult::Done);
    EXPECT_EQ(selected(), std::vector<int>{3});
    ASSERT_EQ(f.doc->Undo(), EditResult::Done);
    EXPECT_EQ(selected(), std::vector<int>{2});
}

TEST(MidiDocCommands, TransposeKeepsKeysInRangeAndMovesNotesWithTheirNoteOffs)
{
    // A song of one note on key 116
    SmfBuilder high(1, 96);
    high.AddTrack().TimeSig(0, 4, 2);
    high.AddTrack().NoteOn(300, 0, 116, 90).NoteOff(400, 0, 116);
    struct Case {
        int amount;
        std::vector<int> keys;
        std::vector<uint8_t> song = keysSong();
        EditResult result = EditResult::Done;
    };
    for (const Case& c : {Case{12, {120, 17, 72, 72, 120, 17}}, Case{-12, {108, 5, 48, 48, 108, 5}},
                          Case{300, {120, 49, 104, 104, 120, 49}},
                          Case{12, {116, 116}, high.Build(), EditResult::Nothing}, // 128 is no key
                          Case{11, {127, 127}, high.Build()}}) {                  // 127 is
        SCOPED_TRACE(c.amount);
        DocFixture f(c.song);
        f.dialogs.transpose = c.amount;
        ASSERT_EQ(f.doc->TransposeSelectedTracksFromThru({0}, 0, 1000), c.result);
        EXPECT_EQ(keysOfTrack(f.seq(), 1), c.keys);
    }
    // Equal markers and no selection give their messages.
    DocFixture f(keysSong());
    f.dialogs.transpose = 1;
    EXPECT_EQ(f.doc->TransposeSelectedTracksFromThru({0}, 5, 5), EditResult::Nothing);
    EXPECT_TRUE(f.reports.Has(kMsgFromThruEqual));
    EXPECT_EQ(f.doc->TransposeSelectedTracksFromThru({}, 0, 5), EditResult::Nothing);
    EXPECT_TRUE(f.reports.Has(kMsgNoSelectedItem));
    // The whole file leaves the channels of TransposeChannelSettings alone (channel 10 by default).
    SmfBuilder drums(1, 96);
    drums.AddTrack().TimeSig(0, 4, 2);
    drums.AddTrack().NoteOn(0, 9, 36, 90).NoteOff(10, 9, 36).NoteOn(0, 1, 40, 90).NoteOff(10, 1, 40);
    DocFixture g(drums.Build());
    g.dialogs.transpose = 2;
    ASSERT_EQ(g.doc->OnUtilTranspose(), EditResult::Done);
    EXPECT_EQ(keysOfTrack(g.seq(), 1), (std::vector<int>{36, 42, 36, 42}));
    EXPECT_TRUE(g.reports.Has(kMsgActionFinished));
}

TEST(MidiDocCommands, AShiftToBeforeTickZeroStopsAtZero)
{
    DocFixture f(keysSong());
    f.dialogs.shiftTo = 0; // -500 from From = 500 ...
    ASSERT_EQ(f.doc->ShiftSelectedTracksFromThru({0}, 300, 1000), EditResult::Done);
    std::vector<uint32_t> times;
    for (const auto& e : f.seq().GetEvents())
        if (e->track == 1) times.push_back(e->time);
    // ... moves everything by -300
    EXPECT_EQ(times.front(), 0u);
    EXPECT_EQ(times.back(), 110u);
}

TEST(MidiDocCommands, DeleteFromThruTakesTheNoteOffsPastThru)
{
    DocFixture f(keysSong());
    size_t removed = 0;
    ASSERT_EQ(f.doc->DeleteFromThru({0}, 300, 305, removed), EditResult::Done);
    EXPECT_EQ(removed, 2u); // the note at 300 and its note-off at 400
    EXPECT_EQ(f.doc->DeleteFromThru({0}, 300, 300), EditResult::Nothing);
    EXPECT_EQ(f.doc->TrackRecord(0)->listedEvents, 2u);
}

// A note whose note-off a From-Thru command removed or moved alone shows the
// duration that the saved file gives it when opened again: to its moved
// note-off, or, without one after it, to the end of its track (a note-off
// moved before its note-on stands alone). Undo gives the note back its
// duration and partner.
TEST(MidiDocCommands, ANoteWhoseNoteOffAloneChangedKeepsItsDurationTrue)
{
    struct Case {
        const char* what;
        std::function<EditResult(DocFixture&)> run;
    };
    const Case cases[] = {
        {"delete the note-off", [](DocFixture& f) { return f.doc->DeleteFromThru({0}, 250, 350); }},
        {"shift the note-off later",
         [](DocFixture& f) {
             f.dialogs.shiftTo = 270;
             return f.doc->ShiftSelectedTracksFromThru({0}, 250, 350);
         }},
        {"shift the note-off before its note",
         [](DocFixture& f) {
             f.dialogs.shiftTo = 0;
             return f.doc->ShiftSelectedTracksFromThru({0}, 250, 350);
         }},
    };
    // Each track's channel events as the lists show them: time, status, key,
    // and for a note-on its duration and whether it has its note-off
    auto notes = [](MidiDocModel& doc) {
        std::vector<std::tuple<int, uint32_t, uint8_t, uint8_t, uint32_t, uint32_t>> out;
        for (const auto& e : doc.Sequence().GetEvents())
            if (isChannelStatus(e->status))
                out.emplace_back(doc.Format() ? e->track : 0, e->time, e->status, e->data[0],
                                 isNoteOn(*e) ? e->duration : 0, isNoteOff(*e) ? 0 : e->paired);
        std::sort(out.begin(), out.end());
        return out;
    };
    for (int format : {1, 0}) {
        SmfBuilder smf(uint16_t(format), 96);
        SmfTrack& first = smf.AddTrack().TimeSig(0, 4, 2);
        SmfTrack& notesTrack = format ? smf.AddTrack() : first;
        notesTrack.NoteOn(200, 0, 60, 100).NoteOff(300, 0, 60).NoteOn(400, 0, 62, 90).NoteOff(500, 0, 62).EndAt(1536);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (format ? " (format 1)" : " (format 0)"));
            DocFixture f(smf.Build());
            const DocState before = captureState(*f.doc);
            ASSERT_EQ(c.run(f), EditResult::Done);
            const DocState after = captureState(*f.doc);
            DocFixture again(savedImage(*f.doc), "/songs/Again.mid");
            EXPECT_EQ(notes(*f.doc), notes(*again.doc));
            EXPECT_EQ(f.doc->TrackRecord(0)->listedEvents, again.doc->TrackRecord(0)->listedEvents);
            ASSERT_EQ(f.doc->Undo(), EditResult::Done);
            EXPECT_EQ(captureState(*f.doc), before);
            ASSERT_EQ(f.doc->Redo(), EditResult::Done);
            EXPECT_EQ(captureState(*f.doc), after);
        }
    }
}

TEST(MidiDocCommands, TrackSettersStayInsideTheTables)
{
    DocFixture f(keysSong());
    uint32_t g = 1;
    for (int t : {0, 65, 200}) {
        EXPECT_EQ(f.doc->SetTrackVolume(50, t, 0, g), 0u) << t;
        EXPECT_EQ(f.doc->SetTrackProgram(5, t, 0, g), 0u) << t;
        EXPECT_EQ(f.doc->SetTrackName("x", t, g), 0u) << t;
    }
    // Channel 16 and no volume event: nothing inserted, the document changed all the same.
    const size_t n = f.seq().GetEventCount();
    f.doc->SetModified(false);
    EXPECT_EQ(f.doc->SetTrackVolume(50, 64, 16, g), 1u);
    EXPECT_EQ(f.seq().GetEventCount(), n);
    EXPECT_TRUE(f.doc->IsModified());
    // A bank MSB of 255 removes the bank.
    EXPECT_EQ(f.doc->SetTrackBank(0x0203, 1, 0, g), 1u);
    EXPECT_EQ(f.doc->SetTrackBank(0xFF00, 1, 0, g), 0xFF00u);
    EXPECT_EQ(f.seq().GetEventCount(), n);
}

TEST(MidiDocCommands, ATrackPropertiesFailureIsTakenBackAndTheDocumentStays)
{
    DocFixture f(keysSong());
    f.dialogs.properties = [](TrackPropertiesValues v) {
        v.volume = 30;
        v.pan = 40;
        v.changed = true;
        return std::optional(v);
    };
    const auto before = captureState(*f.doc);
    {
        ScopedAllocationFailure fail(3); // the pan event, after the volume event
        EXPECT_EQ(f.doc->EditMidiTrackProperties(0, 10), EditResult::Failed);
    }
    EXPECT_TRUE(f.reports.Has(kMsgCannotChangeTrackProperties));
    EXPECT_EQ(captureState(*f.doc).events, before.events);
    EXPECT_TRUE(f.doc->HasTrackRecords());
    EXPECT_EQ(f.doc->OnEditMidiTrackProperties(-1, 0), EditResult::Nothing);
    EXPECT_TRUE(f.reports.Has(kMsgNoFocusedItem));
}

TEST(MidiDocCommands, ARenamedTrackKeepsItsNameAsOneUndoStep)
{
    DocFixture f(keysSong());
    const auto before = captureState(*f.doc);
    // A track without a name gets its name event; one with a name has it changed.
    EXPECT_EQ(f.doc->RenameTrack(0, "Lead \u00e9"), EditResult::Done);
    EXPECT_EQ(f.doc->TrackRecord(0)->name, "Lead \xe9");
    EXPECT_EQ(f.doc->RenameTrack(0, "Lead \u00e9"), EditResult::Nothing) << "the same name";
    EXPECT_EQ(f.doc->RenameTrack(0, "Solo"), EditResult::Done);
    EXPECT_EQ(f.doc->TrackRecord(0)->name, "Solo");
    EXPECT_EQ(f.doc->RenameTrack(0, std::string(40, 'x')), EditResult::Done);
    EXPECT_EQ(f.doc->TrackRecord(0)->name, std::string(16, 'x')) << "the list shows 16 characters";
    EXPECT_TRUE(f.doc->IsModified());
    EXPECT_EQ(f.doc->Undo(), EditResult::Done);
    EXPECT_EQ(f.doc->TrackRecord(0)->name, "Solo");
    EXPECT_EQ(f.doc->Undo(), EditResult::Done);
    EXPECT_EQ(f.doc->Undo(), EditResult::Done);
    EXPECT_EQ(captureState(*f.doc).events, before.events) << "three renames, three undo steps";
    EXPECT_EQ(f.doc->TrackRecord(0)->name, "");
    EXPECT_EQ(f.doc->Redo(), EditResult::Done);
    EXPECT_EQ(f.doc->TrackRecord(0)->name, "Lead \xe9");
    EXPECT_EQ(f.doc->RenameTrack(70, "No"), EditResult::Nothing);
    f.playing = 1;
    EXPECT_EQ(f.doc->RenameTrack(1, "Later"), EditResult::RefusedWhilePlaying);
}

TEST(MidiDocCommands, ARenameThatRunsOutOfMemoryIsWholeOrNothing)
{
    // Memory running out at any step of naming a track: the rename is whole
    // (undone as one step while the history could be kept) or nothing
    // changes, and the document stays.
    bool failed = false;
    for (uint64_t n = 1; n < 8; ++n) {
        DocFixture f(keysSong());
        const auto before = captureState(*f.doc);
        EditResult r;
        {
            ScopedAllocationFailure fail(n);
            r = f.doc->RenameTrack(1, "Bass");
        }
        EXPECT_TRUE(f.doc->HasTrackRecords());
        if (r == EditResult::Failed) {
            failed = true;
            EXPECT_EQ(captureState(*f.doc).events, before.events) << n;
            EXPECT_EQ(f.doc->TrackRecord(1)->name, "") << n;
            EXPECT_TRUE(f.reports.Has(kMsgCannotChangeTrackProperties));
            continue;
        }
        ASSERT_EQ(r, EditResult::Done) << n;
        EXPECT_EQ(f.doc->TrackRecord(1)->name, "Bass") << n;
        if (!f.doc->UndoManager().CanUndo()) continue; // the history went for want of memory
        EXPECT_EQ(f.doc->Undo(), EditResult::Done) << n;
        EXPECT_EQ(captureState(*f.doc).events, before.events) << n;
        EXPECT_EQ(f.doc->TrackRecord(1)->name, "") << n;
    }
    EXPECT_TRUE(failed);
}

TEST(MidiDocCommands, ANewDivisionClearsTheHistory)
{
    DocFixture f(keysSong());
    f.dialogs.transpose = 1;
    ASSERT_EQ(f.doc->OnUtilTranspose(), EditResult::Done);
    f.dialogs.clock = 192;
    ASSERT_EQ(f.doc->ChangeDivision(), EditResult::Done);
    EXPECT_EQ(f.doc->Division(), 192);
    EXPECT_FALSE(f.doc->UndoManager().CanUndo());
    EXPECT_EQ(keysOfTrack(f.seq(), 2).size(), 2u);
    EXPECT_EQ(f.seq().GetEvent(f.seq().GetEventCount() - 1)->time, 1100u);
}

TEST(MidiDocCommands, EveryEditIsRefusedWhilePlaying)
{
    DocFixture f(keysSong());
    f.dialogs.transpose = 1;
    f.dialogs.shiftTo = 10;
    f.dialogs.clock = 48;
    f.dialogs.paste = [](const PasteDlgValues& v) { return std::optional(v); };
    f.dialogs.properties = [](TrackPropertiesValues v) {
        v.volume = 1;
        v.changed = true;
        return std::optional(v);
    };
    f.doc->m_RowSelected[0] = 1;
    f.dialogs.copyKinds = CopyEventKinds{};
    ASSERT_EQ(f.doc->CopyToClipboardFromThru(0, 1000), EditResult::Done);
    ASSERT_EQ(f.doc->OnUtilTranspose(), EditResult::Done);
    const auto before = captureState(*f.doc);
    f.playing = 1;
    for (EditResult r : {f.doc->OnEditDeleteTrack({0}), f.doc->InsertMidiTrack(0), f.doc->DeleteFromThru({0}, 0, 900),
                         f.doc->OnEditPaste(0), f.doc->TransposeSelectedTracksFromThru({0}, 0, 900),
                         f.doc->OnUtilTranspose(), f.doc->ShiftSelectedTracksFromThru({0}, 0, 900),
                         f.doc->ChangeDivision(), f.doc->EditMidiTrackProperties(0, 10), f.doc->Undo(), f.doc->Redo()})
        EXPECT_EQ(r, EditResult::RefusedWhilePlaying);
    EXPECT_EQ(captureState(*f.doc), before);
    f.playing = 0;
    EXPECT_EQ(f.doc->Undo(), EditResult::Done);
    f.playing = 1;
    EXPECT_EQ(f.doc->Redo(), EditResult::RefusedWhilePlaying);
}
