// Saving an edited MIDI document: the file opens again in the program's own
// reader and holds what the document held, including what the reader is
// strict about (time signatures on measure starts, notes pairing inside
// their chunk) and what it only passes over (other chunks, the length of a
// track after its last event).
#include "mididoc/core/EventListModel.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/RealFixtures.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace zib;
using namespace zib::test;

namespace {

// The chunks of a file image in their order: id and payload
std::vector<std::pair<std::string, std::vector<uint8_t>>> chunksOf(const std::vector<uint8_t>& image)
{
    std::vector<std::pair<std::string, std::vector<uint8_t>>> chunks;
    for (size_t at = 0; at + 8 <= image.size();) {
        const size_t length = size_t(image[at + 4]) << 24 | size_t(image[at + 5]) << 16 | size_t(image[at + 6]) << 8 |
                              image[at + 7];
        const size_t end = std::min(image.size(), at + 8 + length);
        chunks.emplace_back(std::string(image.begin() + std::ptrdiff_t(at), image.begin() + std::ptrdiff_t(at) + 4),
                            std::vector<uint8_t>(image.begin() + std::ptrdiff_t(at) + 8, image.begin() + std::ptrdiff_t(end)));
        at = end;
    }
    return chunks;
}

std::vector<std::string> chunkIds(const std::vector<uint8_t>& image)
{
    std::vector<std::string> ids;
    for (const auto& [id, payload] : chunksOf(image))
        ids.push_back(id);
    return ids;
}

// The chunks that are neither header nor track
std::vector<std::pair<std::string, std::vector<uint8_t>>> otherChunks(const std::vector<uint8_t>& image)
{
    auto chunks = chunksOf(image);
    std::erase_if(chunks, [](const auto& c) { return c.first == "MThd" || c.first == "MTrk"; });
    return chunks;
}

// Where each track (format 1) or chunk (format 0) ends: the ticks of the
// end-of-track events the reader met
std::vector<uint32_t> endTimes(MidiDocModel& doc)
{
    if (doc.Format() == 0) return doc.Sequence().GetChunkEndTimes();
    std::vector<uint32_t> ends;
    for (int t = 0; t < CMidiParserEx::kMaxTracks; ++t)
        if (doc.Sequence().GetTrack(t)->endTime > 0) ends.push_back(doc.Sequence().GetTrack(t)->endTime);
    return ends;
}

} // namespace

// An edit may leave a time signature inside a measure (shifting a channel
// track that carries one). The reader refuses such a file; the signature is
// written at the start of its measure, where the document's measures have it.
TEST(MidiDocSave, TimeSignatureInsideAMeasureIsWrittenAtTheMeasureStart)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    smf.AddTrack().NoteOn(0, 0, 60, 100).TimeSig(384, 3, 2).NoteOff(1000, 0, 60);
    DocFixture f(smf.Build());
    f.dialogs.shiftTo = 300 + 100;
    ASSERT_EQ(f.doc->ShiftSelectedTracksFromThru({0}, 300, 500), EditResult::Done);

    DocFixture again(savedImage(*f.doc), "/songs/Again.mid");
    ASSERT_TRUE(again.doc->HasTrackRecords());
    const SavedContent content = savedContent(*again.doc);
    EXPECT_EQ(content.map, savedContent(*f.doc).map);
    const auto& track1 = content.tracks[1];
    ASSERT_EQ(track1.size(), 3u);
    EXPECT_EQ(std::get<0>(track1[1]), 384u) << "the time signature, at the start of measure 2";
}

// In a format-0 file of two chunks, a note made from an event of the second
// chunk gets a new note-off; both are written to that chunk, so that they
// pair again when read.
TEST(MidiDocSave, NewNoteOffGoesToTheChunkOfItsNote)
{
    SmfBuilder smf(0, 96);
    smf.AnnouncedTracks(1);
    smf.AddTrack().TimeSig(0, 4, 2).NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).EndAt(768);
    smf.AddTrack().Controller(192, 1, 11, 64).NoteOn(384, 1, 62, 100).NoteOff(480, 1, 62);
    DocFixture f(smf.Build());
    EventListModel list(*f.doc);
    list.SetShownTracks(allTracksShown());
    list.RefillRows();
    int row = -1;
    for (int r = 0; r < list.TrailingRow(); ++r)
        if ((list.RowEvent(r)->status & 0xF0) == 0xB0) row = r;
    ASSERT_GE(row, 0);
    f.dialogs.eventCode = EventCodeChoice{0x91, 0};
    ASSERT_EQ(list.EditEventCode(row), EditResult::Done);

    DocFixture again(savedImage(*f.doc), "/songs/Again.mid");
    const SavedContent content = savedContent(*again.doc);
    EXPECT_EQ(content, savedContent(*f.doc));
    ASSERT_FALSE(content.tracks[2].empty());
    EXPECT_NE(std::get<3>(content.tracks[2].front()), SavedContent::kOpen) << "the new note pairs with its note-off";
}

// Chunks other than the header and the tracks (vendor data) are written back
// unchanged before the track chunk they stood before, or after the tracks.
TEST(MidiDocSave, OtherChunksAreKeptInTheirPlace)
{
    const std::vector<uint8_t> info = {'i', 'n', 'f', 'o', 0x00, 0xFF};
    const std::vector<uint8_t> casm = {0x43, 0x53, 0x45, 0x47, 0x00, 0x00, 0x00, 0x01, 0x7F};
    struct Case {
        const char* name;
        std::function<std::vector<uint8_t>()> build;
        std::vector<std::string> written;
    };
    // Two note tracks with a vendor chunk between them and one after them,
    // behind a conductor track or not (then a tempo track is added)
    auto format1 = [&](bool conductor) {
        SmfBuilder smf(1, 96);
        if (conductor) smf.AddTrack().TimeSig(0, 4, 2);
        smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
        smf.AddChunk("XFIH", info);
        smf.AddTrack().NoteOn(0, 1, 62, 100).NoteOff(96, 1, 62);
        smf.AddChunk("CASM", casm);
        return smf.Build();
    };
    const std::vector<Case> cases = {
        {"format 1", [&] { return format1(true); }, {"MThd", "MTrk", "MTrk", "XFIH", "MTrk", "CASM"}},
        {"format 1 whose first track holds notes", [&] { return format1(false); },
         {"MThd", "MTrk", "MTrk", "XFIH", "MTrk", "CASM"}},
        {"format 0",
         [&] {
             SmfBuilder smf(0, 96);
             smf.AddChunk("XFIH", info);
             smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
             smf.AddChunk("CASM", casm);
             smf.AddChunk("OTSc", {});
             return smf.Build();
         },
         {"MThd", "XFIH", "MTrk", "CASM", "OTSc"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> image = c.build();
        DocFixture f(image);
        f.dialogs.transpose = 1;
        ASSERT_EQ(f.doc->OnUtilTranspose(), EditResult::Done);
        const std::vector<uint8_t> saved = savedImage(*f.doc);
        EXPECT_EQ(chunkIds(saved), c.written);
        EXPECT_EQ(otherChunks(saved), otherChunks(image));
        DocFixture again(saved, "/songs/Again.mid");
        EXPECT_EQ(savedContent(*again.doc), savedContent(*f.doc));
    }
}

// A track keeps its end of track where the file had it (songs end or loop
// there) unless events now lie past it; then it ends at its last event.
// Measured in the saved file's ends as the reader meets them.
TEST(MidiDocSave, TracksKeepTheirEndOfTrack)
{
    auto song = [](uint16_t format) {
        SmfBuilder smf(format, 96);
        SmfTrack& notes = format == 1 ? (smf.AddTrack().TimeSig(0, 4, 2).EndAt(1536), smf.AddTrack()) : smf.AddTrack();
        for (uint32_t beat = 0; beat < 4; ++beat)
            notes.NoteOn(beat * 96, 0, 60, 100).NoteOff(beat * 96 + 48, 0, 60);
        notes.EndAt(1536); // four bars, the last three empty
        return smf.Build();
    };
    struct Case {
        const char* name;
        std::function<EditResult(DocFixture&)> edit;
        std::vector<uint32_t> format1Ends; // the tempo track's, the notes'
        uint32_t format0End;
    };
    const std::vector<Case> cases = {
        {"early notes deleted", [](DocFixture& f) { return f.doc->DeleteFromThru({0}, 0, 200); }, {1536, 1536}, 1536},
        {"notes shifted past the end",
         [](DocFixture& f) {
             f.dialogs.shiftTo = 2000;
             return f.doc->ShiftSelectedTracksFromThru({0}, 0, 400);
         },
         {1536, 2000 + 336},
         2000 + 336},
        {"division doubled",
         [](DocFixture& f) {
             f.dialogs.clock = 192;
             return f.doc->ChangeDivision();
         },
         {3072, 3072},
         3072},
    };
    for (const Case& c : cases)
        for (uint16_t format : {uint16_t(1), uint16_t(0)}) {
            SCOPED_TRACE(std::string(c.name) + (format ? " (format 1)" : " (format 0)"));
            DocFixture f(song(format));
            ASSERT_EQ(c.edit(f), EditResult::Done);
            DocFixture again(savedImage(*f.doc), "/songs/Again.mid");
            EXPECT_EQ(endTimes(*again.doc), format ? c.format1Ends : std::vector<uint32_t>{c.format0End});
            EXPECT_EQ(savedContent(*again.doc), savedContent(*f.doc));
        }
}

// A deleted track that Undo gives back ends where it ended, and so do the
// tracks that moved down and up around it; the tracks were edited first, so
// that they are written from their events.
TEST(MidiDocSave, TracksTakenBackByUndoKeepTheirEndOfTrack)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2).EndAt(768);
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(48, 0, 60).NoteOn(96, 0, 62, 100).NoteOff(144, 0, 62).EndAt(1536);
    smf.AddTrack().NoteOn(0, 1, 40, 100).NoteOff(48, 1, 40).NoteOn(96, 1, 42, 100).NoteOff(144, 1, 42).EndAt(2304);
    const std::vector<uint32_t> asRead = {768, 1536, 2304};
    struct Case {
        const char* name;
        std::function<EditResult(DocFixture&)> edit;
        std::vector<uint32_t> edited; // the ends after the edit
    };
    const std::vector<Case> cases = {
        {"the last track deleted", [](DocFixture& f) { return f.doc->OnEditDeleteTrack({1}); }, {768, 1536}},
        {"the first track deleted", [](DocFixture& f) { return f.doc->OnEditDeleteTrack({0}); }, {768, 2304}},
        {"both deleted", [](DocFixture& f) { return f.doc->OnEditDeleteTrack({0, 1}); }, {768}},
        {"a track inserted before them", [](DocFixture& f) { return f.doc->InsertMidiTrack(0); }, {768, 1536, 2304}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocFixture f(smf.Build());
        ASSERT_EQ(f.doc->DeleteFromThru({0, 1}, 0, 10), EditResult::Done);
        ASSERT_EQ(c.edit(f), EditResult::Done);
        DocFixture edited(savedImage(*f.doc), "/songs/Edited.mid");
        EXPECT_EQ(endTimes(*edited.doc), c.edited);
        ASSERT_EQ(f.doc->Undo(), EditResult::Done);
        DocFixture undone(savedImage(*f.doc), "/songs/Undone.mid");
        EXPECT_EQ(endTimes(*undone.doc), asRead);
        EXPECT_EQ(savedContent(*undone.doc), savedContent(*f.doc));
        ASSERT_EQ(f.doc->Redo(), EditResult::Done);
        DocFixture redone(savedImage(*f.doc), "/songs/Redone.mid");
        EXPECT_EQ(endTimes(*redone.doc), c.edited);
    }
}

// Real files, edited (the first beat of every track deleted, the rest
// transposed but on the drum channel) and saved: each opens again with the same events, the same
// ends of its tracks and the same other chunks. The PSR styles are format-0
// MIDI files followed by their own chunks.
TEST(MidiDocSave, RealFilesOpenAgainWithTheirContent)
{
    std::vector<std::filesystem::path> files = realFixtureFiles("midi");
    for (const auto& style : realFixtureFiles("psr-styles"))
        files.push_back(style);
    if (files.empty()) GTEST_SKIP() << "no real MIDI fixtures";
    std::vector<int> rows(MidiDocModel::kTrackRecordCount);
    for (int r = 0; r < MidiDocModel::kTrackRecordCount; ++r)
        rows[size_t(r)] = r;
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const std::vector<uint8_t> image = readFileBytes(path);
        DocFixture f(image, "/songs/" + path.stem().string() + ".mid");
        const std::vector<uint32_t> ends = endTimes(*f.doc);
        ASSERT_EQ(f.doc->DeleteFromThru(rows, 0, f.doc->Division()), EditResult::Done);
        f.dialogs.transpose = 1;
        ASSERT_NE(f.doc->OnUtilTranspose(), EditResult::Failed);
        const std::vector<uint8_t> saved = savedImage(*f.doc);
        DocFixture again(saved, "/songs/Again.mid");
        EXPECT_EQ(savedContent(*again.doc), savedContent(*f.doc));
        EXPECT_EQ(endTimes(*again.doc), ends);
        EXPECT_EQ(otherChunks(saved), otherChunks(image));
    }
}
