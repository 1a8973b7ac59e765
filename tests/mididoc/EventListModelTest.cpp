// The event lists: which events have rows, what the cells say and how they
// are coloured, what a double click opens, and the list commands.
#include "mididoc/core/EventListModel.h"

#include "mididoc/core/CEventListParser.h"
#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/MidiDocMessages.h"
#include "mididoc/core/SequenceEdits.h"
#include "mididoc/core/TrackEditorOwner.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace zib;
using namespace zib::test;
using What = EventListModel::CellEditStart::What;

namespace {

// Track 1: name, port, bank, volume, program before the first note; a note,
// then a second program and volume; an unpaired note-off.
std::vector<uint8_t> firstValuesSong()
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000);
    smf.AddTrack()
        .TrackName(0, "Lead")
        .Port(0, 1)
        .Controller(0, 0, 0, 1)
        .Controller(0, 0, 32, 2)
        .Controller(0, 0, 7, 90)
        .Controller(0, 0, 10, 20)
        .Program(0, 0, 5)
        .NoteOn(0, 0, 60, 100)
        .NoteOff(384, 0, 60)
        .Program(400, 0, 6)
        .Controller(410, 0, 7, 80)
        .NoteOff(500, 0, 62, 40)
        .Tempo(600, 500000)
        .Meta(768, 0x58, {6, 3, 24, 8})
        .Meta(620, 0x59, {0xF9, 0});
    return smf.Build();
}

std::vector<std::string> rowTexts(const EventListModel& list, int row)
{
    std::vector<std::string> cells;
    for (int c = 0; c < EventListModel::kColumnCount; ++c)
        cells.push_back(list.CellText(row, c));
    return cells;
}

struct WholeList {
    DocFixture f;
    EventListModel list;
    explicit WholeList(const std::vector<uint8_t>& image) : f(image), list(*f.doc)
    {
        std::array<uint8_t, 65> shown{};
        shown.fill(1);
        list.SetShownTracks(shown);
        list.RefillRows();
    }
    int row(const std::function<bool(const CMidiEvent&)>& match)
    {
        list.RefillRows();
        for (int r = 0; r < list.TrailingRow(); ++r)
            if (match(*list.RowEvent(r))) return r;
        return -1;
    }
};

} // namespace

TEST(EventListModel, FirstValuesBeforeTheFirstNoteHaveNoRow)
{
    WholeList w(firstValuesSong());
    std::vector<std::string> codes;
    for (int r = 0; r < w.list.TrailingRow(); ++r)
        codes.push_back(w.list.CellText(r, 4));
    // The first name, port, bank, volume, pan and program are hidden; the
    // second program and volume, after the note, are listed; the note's
    // note-off has no row, the lone one has.
    EXPECT_EQ(codes, (std::vector<std::string>{"Note", "Prog", "Ctrl", "NoteOFF", "Tempo", "Key Signature",
                                               "TimeSignature"}));
    EXPECT_EQ(w.list.RowCount(), 8);
    EXPECT_EQ(w.list.RowEvent(w.list.TrailingRow()), nullptr);
    // A category switched off leaves its events out; twice restores them.
    w.list.ToggleCategory(EventListModel::kNotes);
    w.list.RefillRows();
    EXPECT_EQ(w.list.RowCount(), 6);
    w.list.ToggleCategory(EventListModel::kNotes);
    w.list.RefillRows();
    EXPECT_EQ(w.list.RowCount(), 8);
}

TEST(EventListModel, CellTextsOfEveryKind)
{
    WholeList w(firstValuesSong());
    EventListModel& l = w.list;
    EXPECT_EQ(rowTexts(l, 0), (std::vector<std::string>{"1       ", "           0", "  1:01:000", " 1", "Note", "C4",
                                                        " 100", "         384", "  2:01:000"}));
    EXPECT_EQ(rowTexts(l, 1)[5], "6    ");
    EXPECT_EQ(rowTexts(l, 2)[5], "7 Volume (MSB)");
    EXPECT_EQ(rowTexts(l, 3), (std::vector<std::string>{"1       ", "         500", "  2:02:020", " 1", "NoteOFF",
                                                        "D4", "  40", "           0", ""}));
    EXPECT_EQ(l.CellText(4, 5), "BPM=120   ");
    // A tempo of 0 (a file cannot hold one; an edit can)
    l.RowEvent(4)->data[3] = l.RowEvent(4)->data[4] = l.RowEvent(4)->data[5] = 0;
    EXPECT_EQ(l.CellText(4, 5), "???");
    EXPECT_EQ(l.CellText(4, 3), "---");
    EXPECT_EQ(l.CellText(6, 5), " 6/8      ");
    EXPECT_EQ(l.CellText(5, 5), "Cb"); // -7
    l.RowEvent(5)->data[3] = 9;        // a key outside -7..7 (a file cannot hold one)
    EXPECT_EQ(l.CellText(5, 5), "??");
    // A tempo shorter than three bytes (a file cannot hold one; an edit can)
    CMidiEvent& tempo = *l.RowEvent(4);
    tempo.length = 4;
    tempo.data[2] = 1;
    EXPECT_EQ(l.CellText(4, 5), "??");
    EXPECT_EQ(l.CellText(l.TrailingRow(), 1), "");
}

TEST(EventListModel, ColoursOfRowsAndCells)
{
    WholeList w(firstValuesSong());
    EventListModel& l = w.list;
    EXPECT_EQ(l.CellTextColor(0), 0x000000u); // a note
    EXPECT_EQ(l.CellTextColor(1), 0xFA0F28u); // a program change
    EXPECT_EQ(l.CellTextColor(3), 0x0000FFu); // a note-off
    EXPECT_EQ(l.CellTextColor(4), 0x7864CEu); // meta
    EXPECT_EQ(l.CellTextColor(l.TrailingRow()), EventListModel::kDefaultColor);
    l.SetCurrentCell(1, 2);
    EXPECT_EQ(l.CellBackColor(1, 2, true), EventListModel::kYellow);
    EXPECT_EQ(l.CellBackColor(1, 2, false), EventListModel::kDefaultColor);
    EXPECT_EQ(l.CellBackColor(1, 3, true), EventListModel::kDefaultColor);
    EXPECT_EQ(l.RowBackColor(), EventListModel::kDefaultColor);
    l.SetCurrentCell(l.TrailingRow(), 2);
    EXPECT_EQ(l.RowBackColor(), EventListModel::kRed);
    EXPECT_EQ(l.CellBackColor(l.TrailingRow(), 2, true), EventListModel::kDefaultColor);
    // An empty list: one row, red
    DocFixture empty(SmfBuilder(1, 96).Build());
    EventListModel none(*empty.doc);
    none.RefillRows();
    EXPECT_EQ(none.RowCount(), 1);
    EXPECT_EQ(none.RowBackColor(), EventListModel::kRed);
}

TEST(EventListModel, WhatADoubleClickOpens)
{
    WholeList w(firstValuesSong());
    EventListModel& l = w.list;
    struct Case {
        int row, column;
        What what;
    };
    for (const Case& c : {Case{0, 1, What::Editor}, Case{0, 4, What::EventCode}, Case{0, 8, What::None},
                          Case{0, 7, What::Editor}, Case{1, 6, What::None}, Case{2, 6, What::Editor},
                          Case{2, 7, What::None}, Case{4, 5, What::None}, Case{l.TrailingRow(), 1, What::None},
                          Case{-1, 1, What::None}}) {
        SCOPED_TRACE(testing::Message() << c.row << "/" << c.column);
        EXPECT_EQ(l.DoubleClickCell(c.row, c.column).what, c.what);
    }
    const auto note = l.DoubleClickCell(0, 7);
    EXPECT_EQ(note.duration, 384u);
    EXPECT_EQ(note.data2, 100);
    EXPECT_EQ(note.channel, 1);
    // While playing a double click opens nothing.
    w.f.playing = 1;
    EXPECT_EQ(l.DoubleClickCell(0, 1).what, What::None);
}

TEST(EventListModel, ALongTextCommittedUnchangedKeepsItsBytes)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    smf.AddTrack().Text(0, 1, std::string(300, 'x') + "end").NoteOn(0, 0, 60, 90).NoteOff(96, 0, 60);
    WholeList w(smf.Build());
    const int row = w.row([](const CMidiEvent& e) { return MetaType(e) == 1; });
    const auto start = w.list.DoubleClickCell(row, 5);
    ASSERT_EQ(start.what, What::Editor);
    EXPECT_EQ(start.text, std::string(252, 'x') + "...");
    EXPECT_EQ(start.textLength, 303u);
    EXPECT_EQ(w.list.CommitCellEdit(start, {0, start.text}), EditResult::Nothing);
    std::span<const uint8_t> data;
    ASSERT_TRUE(MetaData(*w.list.RowEvent(row), data));
    EXPECT_EQ(data.size(), 303u);
    // A real change is written in the file's bytes.
    EXPECT_EQ(w.list.CommitCellEdit(start, {0, "K\xC3\xA4se"}), EditResult::Done);
    ASSERT_TRUE(MetaData(*w.list.RowEvent(row), data));
    EXPECT_EQ(std::string(data.begin(), data.end()), "K\xE4se");
}

TEST(EventListModel, TheVelocityOfALoneNoteOffMakesANote)
{
    WholeList w(firstValuesSong());
    const int row = w.row([](const CMidiEvent& e) { return (e.status & 0xF0) == 0x80; });
    const auto start = w.list.DoubleClickCell(row, 6);
    ASSERT_EQ(w.list.CommitCellEdit(start, {70, {}}), EditResult::Done);
    const int note = w.row([](const CMidiEvent& e) { return e.time == 500 && (e.status & 0xF0) == 0x90; });
    ASSERT_GE(note, 0);
    const CMidiEvent& on = *w.list.RowEvent(note);
    EXPECT_EQ(on.data[1], 70);
    EXPECT_EQ(on.duration, 0u);
    const int64_t partner = w.list.FindPartnerEvent(on.index);
    ASSERT_GE(partner, 0);
    EXPECT_EQ(w.f.seq().GetEvent(size_t(partner))->time, 500u);
}

TEST(EventListModel, DeletingANoteTakesItsNoteOffAndOneUndoGivesBoth)
{
    WholeList w(firstValuesSong());
    const auto before = eventStates(w.f.seq());
    ASSERT_EQ(w.list.DeleteSelectedEvents({0}), EditResult::Done);
    EXPECT_EQ(w.f.seq().GetEventCount(), before.size() - 2);
    EXPECT_EQ(w.f.doc->Undo(), EditResult::Done);
    EXPECT_EQ(eventStates(w.f.seq()), before);
    EXPECT_EQ(w.list.DeleteSelectedEvents({}), EditResult::Nothing);
}

TEST(EventListModel, InsertItemOnAnEmptyListMakesAOneMeasureNote)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 3, 2);
    smf.AddTrack().Controller(0, 4, 7, 100);
    DocFixture f(smf.Build());
    EventListModel list(*f.doc);
    list.ShowOnlyTrack(1);
    list.RefillRows();
    int row = -1;
    ASSERT_EQ(list.OnCreateEvent(list.TrailingRow(), row), EditResult::Done);
    ASSERT_GE(row, 0);
    const CMidiEvent& on = *list.RowEvent(row);
    EXPECT_EQ(on.status, 0x94); // the track record's channel
    EXPECT_EQ(on.data[0], 60);
    EXPECT_EQ(on.data[1], 100);
    EXPECT_EQ(on.duration, 288u); // one 3/4 measure
    EXPECT_EQ(f.doc->TrackRecord(0)->listedEvents, 1u);
}

TEST(EventListModel, EventCodeChangesAndTheirLimits)
{
    WholeList w(firstValuesSong());
    // Note-off to note is refused; a cancelled dialog changes nothing.
    const int off = w.row([](const CMidiEvent& e) { return (e.status & 0xF0) == 0x80; });
    w.f.dialogs.eventCode = EventCodeChoice{0x90, 0};
    EXPECT_EQ(w.list.EditEventCode(off), EditResult::Nothing);
    w.f.dialogs.eventCode.reset();
    EXPECT_EQ(w.list.EditEventCode(off), EditResult::Cancelled);
    ASSERT_FALSE(w.f.dialogs.eventCodeSeen.empty());
    EXPECT_EQ(w.f.dialogs.eventCodeSeen.back().oldStatus, 0x80);
    // A controller made a note gets a note-off one beat later.
    const int ctrl = w.row([](const CMidiEvent& e) { return (e.status & 0xF0) == 0xB0; });
    w.f.dialogs.eventCode = EventCodeChoice{0x90, 0};
    ASSERT_EQ(w.list.EditEventCode(ctrl), EditResult::Done);
    const int note = w.row([](const CMidiEvent& e) { return e.time == 410 && (e.status & 0xF0) == 0x90; });
    ASSERT_GE(note, 0);
    EXPECT_EQ(w.list.RowEvent(note)->duration, 96u);
    const int64_t noteOff = w.list.FindPartnerEvent(w.list.RowEvent(note)->index);
    ASSERT_GE(noteOff, 0);
    EXPECT_EQ(w.f.seq().GetEvent(size_t(noteOff))->time, 410u + 96u);
    // No memory for the note-off: nothing changes, the message is shown.
    const auto before = eventStates(w.f.seq());
    const int prog = w.row([](const CMidiEvent& e) { return (e.status & 0xF0) == 0xC0; });
    {
        ScopedAllocationFailure fail(1);
        EXPECT_EQ(w.list.EditEventCode(prog), EditResult::Failed);
    }
    EXPECT_TRUE(w.f.reports.Has(kMsgCannotAllocateEvent));
    EXPECT_EQ(eventStates(w.f.seq()), before);
}

TEST(EventListModel, RowLookUps)
{
    WholeList w(firstValuesSong());
    EventListModel& l = w.list;
    EXPECT_EQ(l.SelectEventRow(0), 0);
    EXPECT_EQ(l.SelectEventRow(10000), l.TrailingRow());
    l.SetCurrentRow(0);
    EXPECT_EQ(l.FollowTick(450), 2); // the rows at 0, 400, 410, 500 ...
    EXPECT_EQ(l.FollowTick(450), 2);
    EXPECT_EQ(l.FollowTick(100000), l.TrailingRow() - 1); // past the last row: the last one
    EXPECT_EQ(l.FollowTick(100), 0);                      // a new run follows from the top
    EXPECT_EQ(l.FollowTick(405), 1);
    EXPECT_EQ(l.SelectMarkedRow(), -1);
    l.RowEvent(3)->state = EventListModel::kMarkSelectAgain;
    EXPECT_EQ(l.SelectMarkedRow(), 3);
    EXPECT_EQ(l.RowEvent(3)->state, 0);
}

TEST(EventListModel, MovingInTimeAndFindingPartners)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    // The note-off of note 62 stands before its note-on at the same tick.
    smf.AddTrack().NoteOn(0, 0, 60, 90).NoteOff(96, 0, 60).NoteOn(96, 0, 62, 90).NoteOff(200, 0, 62);
    WholeList w(smf.Build());
    CMidiParserEx& seq = w.f.seq();
    const size_t on62 = size_t(w.row([](const CMidiEvent& e) { return e.data[0] == 62 && e.data[1] > 0; }));
    const size_t index = w.list.RowEvent(int(on62))->index;
    const int64_t partner = w.list.FindPartnerEvent(index);
    ASSERT_GE(partner, 0);
    EXPECT_EQ(seq.GetEvent(size_t(partner))->time, 200u);
    // An event moved earlier to a time others have lands after them.
    CMidiEvent& last = *seq.GetEvent(seq.GetEventCount() - 1);
    last.time = 96;
    const size_t moved = w.list.MoveEventToTime(seq.GetEventCount() - 1, 200, 96);
    EXPECT_EQ(seq.GetEvent(moved - 1)->time, 96u);
    EXPECT_EQ(moved, seq.GetEventCount() - 1);
}

TEST(EventListModel, PadAndStyleTracksHaveTheirOwnRules)
{
    SmfBuilder smf(0, 96);
    smf.AddTrack()
        .Controller(0, 2, 0, 1)
        .Controller(0, 2, 32, 2)
        .Controller(0, 2, 11, 90)
        .Controller(0, 2, 7, 100)
        .Controller(0, 2, 10, 64)
        .NoteOn(0, 2, 60, 100)
        .NoteOff(96, 2, 60)
        .Program(100, 2, 4)
        .Controller(110, 2, 0, 3)
        .SysEx(120, {0x42, 0x3F, 0x78, 0x01, 0x01, 0x02, 40, 90, 0xF7})
        .SysEx(130, {0x42, 0x3F, 0x78, 0x01, 0x00, 0x02, 40, 0, 0xF7})
        .Marker(140, "m");
    const auto image = smf.Build();
    TestSettings s;
    std::atomic<int> playing{0};
    for (uint32_t letter : {uint32_t('F'), uint32_t('9')}) {
        SCOPED_TRACE(char(letter));
        CEventListParser seq;
        ASSERT_EQ(seq.ParseImage(image.data(), uint32_t(image.size())), 0);
        TrackEditorOwner owner(letter == 'F' ? EventListOwner::kPadDocument : EventListOwner::kStyleDocument, letter,
                               s.settings, playing);
        owner.BindSequence(&seq);
        EventListModel list(owner);
        list.ShowOnlyTrack(3);
        list.RefillRows();
        std::vector<std::string> codes;
        for (int r = 0; r < list.TrailingRow(); ++r)
            codes.push_back(list.CellText(r, 4) + ":" + list.CellText(r, 5));
        if (letter == 'F') {
            // Qe series: first bank and program and expression hidden wherever they stand
            EXPECT_EQ(codes, (std::vector<std::string>{"Ctrl:7 Volume (MSB)", "Ctrl:10 Pan position (MSB)", "Note:C4   ",
                                                       "Ctrl:0 Bank Select (MSB)", "VEX Noise:E2   "}));
            // A VEX Noise note opens nothing.
            EXPECT_EQ(list.DoubleClickCell(4, 1).what, What::None);
            EXPECT_EQ(list.DoubleClickCell(4, 4).what, What::None);
        } else {
            // Wq series: meta events never listed, first volume and pan hidden, expression listed
            EXPECT_EQ(codes, (std::vector<std::string>{"Ctrl:11 Expression (MSB)", "Note:C4   ",
                                                       "Ctrl:0 Bank Select (MSB)", "VEX Noise:E2   "}));
        }
    }
}

TEST(EventListModel, CreateOnAStyleTrackUsesTheSeriesChannel)
{
    TestSettings s;
    std::atomic<int> playing{0};
    struct Case {
        uint32_t kind, letter;
        int track;
        uint8_t status;
    };
    for (const Case& c : {Case{EventListOwner::kStyleDocument, '9', 3, 0x9B}, Case{EventListOwner::kStyleDocument, '9', 9, 0x9E},
                          Case{EventListOwner::kStyleDocument, 'X', 3, 0x92}, Case{EventListOwner::kPadDocument, 'F', 5, 0x94},
                          Case{EventListOwner::kPadDocument, 'M', 5, 0x90}}) {
        SCOPED_TRACE(c.track);
        CEventListParser seq;
        TrackEditorOwner owner(c.kind, c.letter, s.settings, playing);
        owner.BindSequence(&seq);
        EventListModel list(owner);
        list.ShowOnlyTrack(c.track);
        list.RefillRows();
        int row = -1;
        ASSERT_EQ(list.OnCreateEvent(-1, row), EditResult::Done);
        ASSERT_GE(row, 0);
        EXPECT_EQ(list.RowEvent(row)->status, c.status);
        EXPECT_TRUE(owner.IsModified());
        // Undo on a track editor takes it back.
        EXPECT_EQ(owner.Undo().Undo(), 1);
        EXPECT_EQ(seq.GetEventCount(), 0u);
    }
}

TEST(EventListModel, TheListDumpIsWrittenAndReported)
{
    TempDir dir;
    DocFixture f(firstValuesSong(), (dir.path() / "Song.mid").string());
    EventListModel list(*f.doc);
    list.ShowOnlyTrack(1);
    ASSERT_EQ(list.OnUtilDumpToText("Song.mid - Event List - Lead"), EditResult::Done);
    const auto text = readFileBytes(dir.path() / "EventListTxtDump.txt");
    EXPECT_EQ(std::string(text.begin(), text.end()).rfind("\r\nSong.mid - Event List - Lead text dump\r\n\r\n", 0), 0u);
    ASSERT_EQ(f.reports.messages.size(), 1u);
    EXPECT_EQ(f.reports.messages[0].extra, "Song.mid - Event List - Lead");
    EXPECT_EQ(f.reports.messages[0].caption, "OnUtilDumpToText");
    // A folder that is not there: "Cannot open report file"
    DocFixture g(firstValuesSong(), "/nowhere/at/all/Song.mid");
    EventListModel other(*g.doc);
    EXPECT_EQ(other.OnUtilDumpToText("x"), EditResult::Failed);
    EXPECT_TRUE(g.reports.Has(kMsgCannotOpenReport));
}

TEST(EventListModel, EditsAreRefusedWhilePlaying)
{
    WholeList w(firstValuesSong());
    const auto before = captureState(*w.f.doc);
    w.f.playing = 1;
    w.f.dialogs.transpose = 3;
    w.f.dialogs.shiftTo = 10;
    w.f.dialogs.eventCode = EventCodeChoice{0xB0, 0};
    int row = -1;
    EventListModel::CellEditStart start;
    start.what = What::Editor;
    start.row = 0;
    start.column = 1;
    for (EditResult r : {w.list.DeleteSelectedEvents({0}), w.list.OnCreateEvent(0, row), w.list.TransposeEvents({0}),
                         w.list.ShiftEvents({0}), w.list.EditEventCode(0), w.list.PasteEvents({0}, 0),
                         w.list.CommitCellEdit(start, {5, {}})})
        EXPECT_EQ(r, EditResult::RefusedWhilePlaying);
    EXPECT_EQ(captureState(*w.f.doc), before);
}
