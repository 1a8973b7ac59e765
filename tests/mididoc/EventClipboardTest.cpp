// The event clipboard block and its paste: the layout, blocks that are
// refused before any change, and the pastes of the document and the lists.
#include "mididoc/core/EventClipboardBlock.h"
#include "mididoc/core/EventClipboardSupplement.h"

#include "midi/MidiEventKind.h"
#include "mididoc/core/EventListModel.h"
#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/MidiDocMessages.h"
#include "mididoc/core/SequenceEdits.h"
#include "mididoc/core/TrackEditorOwner.h"
#include "tests/mididoc/MidDocTestHelpers.h"

#include <gtest/gtest.h>

using namespace zib;
using namespace zib::test;

namespace {

uint32_t u32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

EventClipboardBlock oneNote(uint8_t track = 1)
{
    EventClipboardBlock b;
    b.trackEvents = true;
    b.headers.push_back({"Lead", uint32_t(track - 1), 1, 3, 0x0102, 5, 90, 64});
    b.records.push_back({0, 0x90, {60, 100}, 1, 48, track, 0});
    b.records.push_back({10, 0xB0, {7, 80}, 1, 0, track, CMidiEvent::kInitialValue});
    return b;
}

} // namespace

TEST(EventClipboardBlock, BytesFollowTheLayout)
{
    const EventClipboardBlock b = oneNote();
    const auto bytes = b.Encode();
    ASSERT_EQ(bytes.size(), 584u + 268 + (17 + 2) * 2);
    EXPECT_EQ(bytes[0], 0x20);
    EXPECT_EQ(u32(bytes, 1), 100u);
    EXPECT_EQ(u32(bytes, 13), 2u);
    EXPECT_EQ(u32(bytes, 19), 38u);
    EXPECT_EQ(bytes[24], 1);
    EXPECT_EQ(u32(bytes, 28), 1u);
    const size_t h = 584;
    EXPECT_EQ(std::string(bytes.begin() + h, bytes.begin() + h + 4), "Lead");
    EXPECT_EQ(bytes[h + 4], 0);
    EXPECT_EQ(u32(bytes, h + 257), 0u);
    EXPECT_EQ(bytes[h + 261], 1);
    EXPECT_EQ(bytes[h + 262], 3);
    EXPECT_EQ(bytes[h + 263] | bytes[h + 264] << 8, 0x0102);
    EXPECT_EQ(bytes[h + 265], 5);
    const size_t r = h + 268 + 19; // the second record
    EXPECT_EQ(u32(bytes, r), 10u);
    EXPECT_EQ(bytes[r + 4], 0xB0);
    EXPECT_EQ(bytes[r + 5], 2);
    EXPECT_EQ(u32(bytes, r + 7), 1u);
    EXPECT_EQ(bytes[r + 15], 1);
    EXPECT_EQ(bytes[r + 16], CMidiEvent::kInitialValue);
    EXPECT_EQ(bytes[r + 17], 7);
    EventClipboardBlock again;
    ASSERT_EQ(EventClipboardBlock::Decode(bytes, again), EventClipboardBlock::Decoded::Ok);
    EXPECT_EQ(again, b);
}

TEST(EventClipboardBlock, BadBlocksAreRefusedWhole)
{
    const auto good = oneNote().Encode();
    auto with = [&](std::function<void(std::vector<uint8_t>&)> change) {
        auto b = good;
        change(b);
        return b;
    };
    using D = EventClipboardBlock::Decoded;
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        D expected;
    };
    const size_t rec = 584 + 268;
    const std::vector<Case> cases = {
        {"short", {0x20, 100, 0}, D::NotEventBlock},
        {"wrong mark", with([](auto& b) { b[0] = 0x21; }), D::NotEventBlock},
        {"wrong kind", with([](auto& b) { b[1] = 99; }), D::NotEventBlock},
        {"short head", std::vector<uint8_t>(good.begin(), good.begin() + 100), D::Malformed},
        {"counts beyond the data", with([](auto& b) { b[13] = 200; }), D::Malformed},
        {"headers beyond the data", with([](auto& b) { b[28] = 9; }), D::Malformed},
        {"a record past the end", std::vector<uint8_t>(good.begin(), good.end() - 1), D::Malformed},
        {"status below 0x80", with([&](auto& b) { b[rec + 4] = 0x40; }), D::Malformed},
        {"record shorter than its status", with([&](auto& b) { b[rec + 5] = 1; }), D::Malformed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EventClipboardBlock out;
        EXPECT_EQ(EventClipboardBlock::Decode(c.bytes, out), c.expected);
    }
    // A meta event whose inner length runs past its bytes
    EventClipboardBlock meta;
    meta.records.push_back({0, 0xFF, {0xFF, 0x06, 0x09, 'a', 'b'}, 1, 0, 0, 0});
    EventClipboardBlock out;
    EXPECT_EQ(EventClipboardBlock::Decode(meta.Encode(), out), D::Malformed);
}

TEST(EventClipboard, CopyAndPasteBetweenTwoDocuments)
{
    DocFixture a(smallSong(2));
    a.doc->m_RowSelected[0] = 1;
    a.dialogs.copyKinds = CopyEventKinds{};
    ASSERT_EQ(a.doc->CopyToClipboardFromThru(96, 200), EditResult::Done);
    ASSERT_TRUE(a.clipboard.block);
    EventClipboardBlock block;
    ASSERT_EQ(EventClipboardBlock::Decode(*a.clipboard.block, block), EventClipboardBlock::Decoded::Ok);
    // Track 1's note at 96 (its note-off stays with it) and at 192; relative times
    ASSERT_EQ(block.records.size(), 2u);
    EXPECT_EQ(block.records[0].time, 0u);
    EXPECT_EQ(block.records[1].time, 96u);
    EXPECT_EQ(block.records[0].duration, 48u);
    EXPECT_TRUE(block.oneTrack);
    ASSERT_EQ(block.headers.size(), 1u);
    EXPECT_EQ(block.headers[0].name, "Track 1");

    // Pasted into an empty track of another document: the notes with new
    // note-offs, the track's header.
    DocFixture b(smallSong(1));
    b.clipboard.block = a.clipboard.block;
    b.doc->m_RowSelected[4] = 1;
    b.dialogs.paste = [](const PasteDlgValues& v) { return std::optional(v); };
    ASSERT_EQ(b.doc->OnEditPaste(384), EditResult::Done);
    ASSERT_EQ(b.dialogs.pasteSeen.size(), 1u);
    EXPECT_EQ(b.dialogs.pasteSeen[0].startTrack, 5);
    EXPECT_EQ(b.dialogs.pasteSeen[0].startTick, 384u);
    std::vector<uint32_t> times;
    for (const auto& e : b.seq().GetEvents())
        if (e->track == 5 && isChannelStatus(e->status) && !(e->flags & CMidiEvent::kInitialValue))
            times.push_back(e->time);
    EXPECT_EQ(times, (std::vector<uint32_t>{384, 384 + 48, 480, 480 + 48}));
    EXPECT_EQ(b.doc->TrackRecord(4)->name, "Track 1");
    EXPECT_EQ(b.doc->TrackRecord(4)->hasEvents, 1);
    EXPECT_EQ(b.doc->Undo(), EditResult::Done);
    EXPECT_EQ(b.doc->TrackRecord(4)->totalEvents, 0u);
}

TEST(EventClipboard, CopyingNothingLeavesTheClipboardAlone)
{
    DocFixture f(smallSong(1));
    f.doc->m_RowSelected[0] = 1;
    f.dialogs.copyKinds = CopyEventKinds{false, false, false, false};
    EXPECT_EQ(f.doc->CopyToClipboardFromThru(0, 400), EditResult::Nothing);
    EXPECT_FALSE(f.clipboard.block);
    f.doc->m_RowSelected.fill(0);
    EXPECT_EQ(f.doc->CopyToClipboardFromThru(0, 400), EditResult::Nothing);
    f.clipboard.privateFormat = false;
    EXPECT_EQ(f.doc->CopyToClipboardFromThru(0, 400), EditResult::Unavailable);
}

TEST(EventClipboard, RefusedBlocksChangeNothingAndTheDocumentStays)
{
    DocFixture f(smallSong(2));
    f.dialogs.paste = [](const PasteDlgValues& v) { return std::optional(v); };
    const auto before = captureState(*f.doc);
    // Malformed: "Cannot paste data", nothing changed
    auto bad = oneNote().Encode();
    bad.pop_back();
    f.clipboard.block = bad;
    EXPECT_EQ(f.doc->OnEditPaste(0), EditResult::Failed);
    EXPECT_TRUE(f.reports.Has(kMsgCannotPaste));
    EXPECT_EQ(captureState(*f.doc), before);
    EXPECT_TRUE(f.doc->HasTrackRecords());
    // Not an event block: nothing at all
    f.clipboard.block = std::vector<uint8_t>(600, 0);
    EXPECT_EQ(f.doc->OnEditPaste(0), EditResult::Nothing);
    // The clipboard says no
    f.clipboard.getResult = EventClipboard::Result::CannotAttach;
    EXPECT_EQ(f.doc->OnEditPaste(0), EditResult::Failed);
    EXPECT_TRUE(f.reports.Has(kMsgCannotAttach));
    f.clipboard.getResult = EventClipboard::Result::CannotGetData;
    EXPECT_EQ(f.doc->OnEditPaste(0), EditResult::Failed);
    EXPECT_TRUE(f.reports.Has(kMsgCannotGetData));
    EXPECT_EQ(captureState(*f.doc), before);
}

TEST(EventClipboard, ANoteFailingHalfWayIsTakenBackWhole)
{
    // Every allocation of the paste fails in turn: the document is as before,
    // both stacks are clean and the document stays open.
    DocFixture probe(smallSong(2));
    probe.clipboard.block = oneNote(1).Encode();
    probe.dialogs.paste = [](PasteDlgValues v) {
        v.startTrack = 3;
        return std::optional(v);
    };
    MidiDocAllocator::FailAt(0);
    ASSERT_EQ(probe.doc->OnEditPaste(0), EditResult::Done);
    const uint64_t allocations = MidiDocAllocator::Count();
    for (uint64_t n = 1; n <= allocations; ++n) {
        SCOPED_TRACE(n);
        DocFixture f(smallSong(2));
        f.clipboard.block = oneNote(1).Encode();
        f.dialogs.paste = probe.dialogs.paste;
        const auto before = captureState(*f.doc);
        EditResult result;
        {
            ScopedAllocationFailure fail(n);
            result = f.doc->OnEditPaste(0);
        }
        if (result == EditResult::Failed) {
            EXPECT_EQ(captureState(*f.doc).events, before.events);
            EXPECT_EQ(f.doc->UndoManager().UndoCount(), 0u);
            EXPECT_EQ(f.doc->UndoManager().RedoCount(), 0u);
            EXPECT_TRUE(f.reports.Has(kMsgCannotPaste));
            EXPECT_TRUE(f.doc->HasTrackRecords());
        } else {
            EXPECT_EQ(result, EditResult::Done); // only a snapshot failed: the paste stands
        }
    }
}

TEST(EventClipboard, TracksOutsideTheDocumentAreSkipped)
{
    // A block of tracks 1, 2 and 99 pasted at track 63: 1 and 2 land on 63 and
    // 64, track 99 would land past 64.
    EventClipboardBlock b;
    b.trackEvents = true;
    b.headers.push_back({"A", 0, 0, 0, 0xFF00, 255, 100, 0});
    b.headers.push_back({"B", 1, 0, 1, 0xFF00, 255, 100, 0});
    b.headers.push_back({"Far", 200, 0, 0, 0xFF00, 255, 100, 0}); // a target outside the rows
    b.records.push_back({0, 0x90, {60, 100}, 0, 0, 1, 0});
    b.records.push_back({0, 0x91, {62, 100}, 0, 0, 2, 0});
    b.records.push_back({0, 0x92, {64, 100}, 0, 0, 99, 0}); // a track above 64
    DocFixture f(smallSong(1));
    f.clipboard.block = b.Encode();
    f.dialogs.paste = [](PasteDlgValues v) {
        v.startTrack = 63;
        return std::optional(v);
    };
    ASSERT_EQ(f.doc->OnEditPaste(0), EditResult::Done);
    std::vector<int> tracks;
    for (const auto& e : f.seq().GetEvents())
        if (isChannelStatus(e->status) && e->track > 1 && !(e->flags & CMidiEvent::kInitialValue))
            tracks.push_back(e->track);
    EXPECT_EQ(tracks, (std::vector<int>{63, 64}));
    EXPECT_EQ(f.doc->TrackRecord(62)->name, "A");
    EXPECT_EQ(f.doc->TrackRecord(63)->name, "B");
}

TEST(EventClipboard, TheWholeFileListPastesWithHeadersOnly)
{
    DocFixture f(smallSong(2));
    EventListModel list(*f.doc);
    list.ShowOnlyTrack(1);
    list.RefillRows();
    f.dialogs.paste = [](const PasteDlgValues& v) { return std::optional(v); };
    EventClipboardBlock noHeaders = oneNote();
    noHeaders.headers.clear();
    f.clipboard.block = noHeaders.Encode();
    EXPECT_EQ(list.PasteEvents({}, 0), EditResult::Failed);
    EXPECT_TRUE(f.reports.Has(kMsgCannotPaste));
    // A copy of the list holds a header per shown track, and pastes back.
    ASSERT_EQ(list.CopyToClipboard({0, 1, 2}), EditResult::Done);
    EventClipboardBlock copied;
    ASSERT_EQ(EventClipboardBlock::Decode(*f.clipboard.block, copied), EventClipboardBlock::Decoded::Ok);
    EXPECT_EQ(copied.headers.size(), 1u);
    const size_t before = f.seq().GetEventCount();
    ASSERT_EQ(list.PasteEvents({}, 384), EditResult::Done);
    EXPECT_GT(f.seq().GetEventCount(), before);
    EXPECT_EQ(f.dialogs.pasteSeen.back().startTrack, 1);
}

TEST(EventClipboard, TrackListsPasteOntoTheirTrackAndItsChannel)
{
    TestSettings s;
    std::atomic<int> playing{0};
    MemoryClipboard clipboard;
    ScriptedDialogs dialogs;
    MidiDocHooks hooks;
    hooks.clipboard = &clipboard;
    hooks.dialogs = &dialogs;
    dialogs.paste = [](PasteDlgValues v) {
        v.startTick = 100;
        v.startTrack = 50; // a track list keeps its own track
        return std::optional(v);
    };
    SmfBuilder smf(0, 96);
    smf.AddTrack().NoteOn(0, 2, 60, 100).NoteOff(48, 2, 60).TimeSig(0, 4, 2);
    const auto image = smf.Build();
    CMidiParserEx seq;
    ASSERT_EQ(seq.ParseImage(image.data(), uint32_t(image.size())), 0);
    TrackEditorOwner pad(EventListOwner::kPadDocument, 'F', s.settings, playing, hooks);
    pad.BindSequence(&seq);
    EventListModel list(pad);
    list.ShowOnlyTrack(3);
    list.RefillRows();
    // Events of other tracks, a time signature and an event of track 0; the
    // note's note-off with its release velocity, from a song of 192 ticks
    EventClipboardBlock b = oneNote(7);
    b.records.push_back({5, 0xFF, {0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08}, 1, 0, 7, 0});
    b.records.push_back({6, 0xFF, {0xFF, 0x01, 0x01, 'x'}, 1, 0, 0, 0});
    EventClipboardSupplement supplement;
    supplement.division = 192;
    supplement.noteOffs.push_back({0, 0x86, 77});
    const auto bytes = b.Encode();
    clipboard.PutWithSupplement(bytes, supplement.Encode(bytes.size(), b.records.size()));
    ASSERT_EQ(list.PasteEvents({}, 0), EditResult::Done);
    std::vector<std::tuple<uint32_t, uint8_t, uint8_t>> pasted;
    for (const auto& e : seq.GetEvents())
        if (e->time >= 100) pasted.emplace_back(e->time, e->status, eventDataByte(*e, 1));
    EXPECT_EQ(pasted, (std::vector<std::tuple<uint32_t, uint8_t, uint8_t>>{
                          {100, 0x92, 100}, {105, 0xB2, 80}, {124, 0x82, 77}}));
    EXPECT_TRUE(pad.IsModified());
    // Another model letter: nothing, and nothing said
    TrackEditorOwner wq(EventListOwner::kStyleDocument, '9', s.settings, playing, hooks);
    wq.BindSequence(&seq);
    EventListModel wqList(wq);
    wqList.ShowOnlyTrack(3);
    wqList.RefillRows();
    EXPECT_EQ(wqList.PasteEvents({}, 0), EditResult::Unavailable);
    EXPECT_EQ(wqList.CopyToClipboard({0}), EditResult::Unavailable);
}

TEST(EventClipboard, APasteIntoAnotherDivisionKeepsTheMusicAndItsNoteOffs)
{
    // The pattern copied at 480 by each road that copies, pasted at bar 3 of
    // a new song of 384 by each road that pastes, then saved and opened again.
    enum class Road { Document, WholeList };
    for (Road road : {Road::Document, Road::WholeList}) {
        SCOPED_TRACE(road == Road::Document ? "From-Thru" : "event list");
        DocFixture a(patternSong());
        DocFixture b;
        ASSERT_EQ(b.doc->OnNewDocument(1), MidiDocModel::OpenResult::Ok);
        ASSERT_EQ(b.doc->Division(), 384);
        b.dialogs.paste = [](const PasteDlgValues& v) { return std::optional(v); };
        const uint32_t bar3 = 2 * 1536;
        if (road == Road::Document) {
            a.doc->m_RowSelected[0] = 1;
            a.dialogs.copyKinds = CopyEventKinds{};
            ASSERT_EQ(a.doc->CopyToClipboardFromThru(0, 2 * 1920 - 1), EditResult::Done);
            b.clipboard.PutWithSupplement(*a.clipboard.block, a.clipboard.supplement);
            b.doc->m_RowSelected[0] = 1;
            ASSERT_EQ(b.doc->OnEditPaste(bar3), EditResult::Done);
        } else {
            EventListModel from(*a.doc);
            from.ShowOnlyTrack(1);
            from.RefillRows();
            std::vector<int> rows;
            for (int row = 0; row < from.TrailingRow(); ++row)
                if (isNoteOn(*from.RowEvent(row))) rows.push_back(row);
            ASSERT_EQ(from.CopyToClipboard(rows), EditResult::Done);
            b.clipboard.PutWithSupplement(*a.clipboard.block, a.clipboard.supplement);
            EventListModel to(*b.doc);
            to.ShowOnlyTrack(1);
            to.RefillRows();
            ASSERT_EQ(to.PasteEvents({}, bar3), EditResult::Done);
        }
        const auto expected = patternAt384(2, true);
        EXPECT_EQ(notesOf(b.seq(), 1), expected);
        // The originals keep theirs.
        EXPECT_EQ(notesOf(a.seq(), 1)[0].offStatus, 0x86);
        EXPECT_EQ(notesOf(a.seq(), 1)[0].release, 102);

        // Undo takes the paste back whole; Redo gives the same notes again.
        const auto pasted = captureState(*b.doc);
        ASSERT_EQ(b.doc->Undo(), EditResult::Done);
        EXPECT_TRUE(notesOf(b.seq(), 1).empty());
        ASSERT_EQ(b.doc->Redo(), EditResult::Done);
        EXPECT_EQ(captureState(*b.doc).events, pasted.events);

        // The saved file holds them so.
        DocFixture reopened(savedImage(*b.doc));
        EXPECT_EQ(notesOf(reopened.seq(), 1), expected);
    }
}

TEST(EventClipboard, APasteWithinOneSongKeepsTheReleaseVelocity)
{
    DocFixture f(patternSong());
    f.doc->m_RowSelected[0] = 1;
    f.dialogs.copyKinds = CopyEventKinds{};
    f.dialogs.paste = [](const PasteDlgValues& v) { return std::optional(v); };
    ASSERT_EQ(f.doc->CopyToClipboardFromThru(0, 2 * 1920 - 1), EditResult::Done);
    ASSERT_EQ(f.doc->OnEditPaste(2 * 1920), EditResult::Done);
    const auto notes = notesOf(f.seq(), 1);
    ASSERT_EQ(notes.size(), 2 * std::size(kPattern));
    for (size_t k = 0; k < std::size(kPattern); ++k) {
        SCOPED_TRACE(k);
        const HeldNote& original = notes[k];
        const HeldNote& copy = notes[k + std::size(kPattern)];
        EXPECT_EQ(copy.length, original.length);
        EXPECT_EQ(copy.offTime, original.offTime + 2 * 1920);
        EXPECT_EQ(copy.offStatus, original.offStatus);
        EXPECT_EQ(copy.release, original.release);
    }
    EXPECT_EQ(notes[std::size(kPattern)].offStatus, 0x86);
    EXPECT_EQ(notes[std::size(kPattern)].release, 102);
}

TEST(EventClipboard, ABlockWithoutItsSupplementPastesAsItStands)
{
    // Another program's copy puts the block alone; a supplement of another
    // block is not used either. The ticks are pasted unscaled, and each note
    // gets a note-on of velocity 0 as its note-off.
    DocFixture a(patternSong());
    a.doc->m_RowSelected[0] = 1;
    a.dialogs.copyKinds = CopyEventKinds{};
    ASSERT_EQ(a.doc->CopyToClipboardFromThru(0, 2 * 1920 - 1), EditResult::Done);
    const std::vector<uint8_t> block = *a.clipboard.block;
    ASSERT_EQ(a.doc->CopyToClipboardFromThru(0, 1919), EditResult::Done);
    const std::vector<uint8_t> otherSupplement = a.clipboard.supplement;
    for (const auto& supplement : {std::vector<uint8_t>{}, otherSupplement}) {
        SCOPED_TRACE(supplement.size());
        DocFixture b;
        ASSERT_EQ(b.doc->OnNewDocument(1), MidiDocModel::OpenResult::Ok);
        b.clipboard.block = block;
        b.clipboard.supplement = supplement;
        b.doc->m_RowSelected[0] = 1;
        b.dialogs.paste = [](const PasteDlgValues& v) { return std::optional(v); };
        ASSERT_EQ(b.doc->OnEditPaste(0), EditResult::Done);
        const auto notes = notesOf(b.seq(), 1);
        EXPECT_EQ(notes, patternAt384(0, false));
        ASSERT_GE(notes.size(), 2u);
        EXPECT_EQ(notes[1].at, "1:02:101");
    }
}

TEST(EventClipboard, TimesBeyond32BitsAreRefusedBeforeAnyChange)
{
    // At the start chosen, or once scaled to this song's division
    EventClipboardBlock late = oneNote();
    late.records[0].time = 0xFFFFFF00u;
    EventClipboardBlock scaledLate = oneNote();
    scaledLate.records[0].time = 0x50000000u;
    EventClipboardSupplement from96;
    from96.division = 96;
    struct Case {
        const char* what;
        EventClipboardBlock block;
        EventClipboardSupplement supplement;
        uint32_t start;
    };
    for (const Case& c : {Case{"late", late, {}, 0x200}, Case{"late once scaled", scaledLate, from96, 0}}) {
        SCOPED_TRACE(c.what);
        DocFixture f;
        ASSERT_EQ(f.doc->OnNewDocument(1), MidiDocModel::OpenResult::Ok);
        const auto bytes = c.block.Encode();
        f.clipboard.PutWithSupplement(bytes, c.supplement.Encode(bytes.size(), c.block.records.size()));
        f.dialogs.paste = [](const PasteDlgValues& v) { return std::optional(v); };
        const auto before = captureState(*f.doc);
        EXPECT_EQ(f.doc->OnEditPaste(c.start), EditResult::Failed);
        EXPECT_TRUE(f.reports.Has(kMsgCannotPaste));
        EXPECT_EQ(captureState(*f.doc), before);
    }
}
