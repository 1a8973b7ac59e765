// The MIDI document: opening, creating, saving and closing, its 64 track
// records, and its track slots.
#include "mididoc/core/MidiDocModel.h"

#include "midi/MidiVarLen.h"
#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/MidiDocMessages.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace zib;
using namespace zib::test;
using Open = MidiDocModel::OpenResult;

TEST(MidiDocModel, OnlyPathsEndingInMidOpenAndNothingElseIsSaid)
{
    struct Case {
        const char* path;
        bool opens;
    };
    for (const Case& c : {Case{"/x/a.mid", true}, Case{"/x/B.MID", true}, Case{"c.Mid", true},
                          Case{"/x/d.midi", false}, Case{"/x/e.kar", false}, Case{"mid", false}, Case{"", false},
                          Case{"/x/f.mid ", false}}) {
        SCOPED_TRACE(c.path);
        DocFixture f;
        EXPECT_EQ(MidiDocModel::MidiExtensionTest(c.path), c.opens ? 1u : 0u);
        EXPECT_EQ(f.doc->OpenImage(c.path, smallSong()), c.opens ? Open::Ok : Open::NotMidiPath);
        EXPECT_EQ(f.doc->HasTrackRecords(), c.opens);
        EXPECT_TRUE(f.reports.messages.empty());
        // A document that opened remembers its folder and kind for the Open dialog.
        if (c.opens) {
            EXPECT_EQ(f.s.settings.LastOpenedFileType, 1);
        }
    }
}

TEST(MidiDocModel, EmptyBrokenAndUnshowableFilesOpenNothing)
{
    DocFixture f;
    EXPECT_EQ(f.doc->OpenImage("/x/Empty.MID", {}), Open::EmptyFile);
    ASSERT_EQ(f.reports.messages.size(), 1u);
    EXPECT_EQ(f.reports.messages[0].message, kMsgEmptyFile);
    EXPECT_FALSE(f.doc->HasTrackRecords());

    // Corrupt files: "ERROR! %s" with the parser's text, nothing kept.
    struct Case {
        const char* what;
        std::vector<uint8_t> image;
    };
    SmfBuilder overLimit(1, 96);
    for (int k = 0; k < 66; ++k)
        overLimit.AddTrack().NoteOn(0, 0, 60, 100);
    SmfBuilder running(1, 96);
    running.AddTrack().Raw(0, {0x40, 0x40});
    const std::vector<Case> cases = {
        {"truncated", SmfBuilder::Truncated(smallSong(), 40)},
        {"bad magic", SmfBuilder(1, 96).HeaderId("MThX").Build()},
        {"over 64 tracks", overLimit.Build()},
        {"running status without a status", running.Build()},
        {"long var-len", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0, 8,
                          0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocFixture g;
        EXPECT_EQ(g.doc->OpenImage("/x/Broken.mid", c.image), Open::ParseError);
        ASSERT_EQ(g.reports.messages.size(), 1u);
        EXPECT_EQ(g.reports.messages[0].uiText, "ERROR! %s");
        EXPECT_EQ(g.reports.messages[0].caption, "ParseMidi");
        EXPECT_EQ(g.reports.messages[0].extra.rfind("CMidi", 0), 0u) << g.reports.messages[0].extra;
        EXPECT_LT(g.reports.messages[0].extra.size(), 80u);
        EXPECT_FALSE(g.doc->HasTrackRecords());
        EXPECT_EQ(g.seq().GetEventCount(), 0u);
        EXPECT_EQ(g.reports.waits, 0);
    }

    DocFixture h;
    h.views.showOk = false;
    EXPECT_EQ(h.doc->OpenImage("/x/Song.mid", smallSong()), Open::ViewsFailed);
    EXPECT_FALSE(h.doc->HasTrackRecords());
}

// The message of a file that cannot be read names what is wrong with it,
// in the reader's own words, however the file begins.
TEST(MidiDocModel, ABrokenFilesMessageNamesItsDamage)
{
    const auto bytes = [](std::string_view text) { return std::vector<uint8_t>(text.begin(), text.end()); };
    auto wordsAfterHeader = SmfBuilder(1, 96).AnnouncedTracks(1).Build();
    const auto words = bytes("and then some words");
    wordsAfterHeader.insert(wordsAfterHeader.end(), words.begin(), words.end());
    SmfBuilder longTrack(1, 96);
    longTrack.AddTrack().NoteOn(0, 0, 60, 100).LengthOverride(4096);
    const struct {
        const char* what;
        std::vector<uint8_t> image;
        const char* text;
    } cases[] = {
        {"text that begins with MThd", bytes("MThd, and nothing of a MIDI file after it"),
         "CMidiFile error: 3 - Bad MThd chunk"},
        {"a header cut short", SmfBuilder::Truncated(smallSong(), 12), "CMidiFile error: 3 - Bad MThd chunk"},
        {"words where the tracks should be", wordsAfterHeader, "CMidiFile error: 1 - Not expected chunk ID"},
        {"a header and no track", SmfBuilder(1, 96).AnnouncedTracks(2).Build(),
         "CMidiParserEx error: 120 - Found incorrect number of MIDI Tracks"},
        {"a track longer than the file", longTrack.Build(), "CMidiFile error: 4 - Bad MTrk chunk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DocFixture f;
        EXPECT_EQ(f.doc->OpenImage("/x/Broken.mid", c.image), Open::ParseError);
        ASSERT_EQ(f.reports.messages.size(), 1u);
        EXPECT_EQ(f.reports.messages[0].extra, c.text);
    }
}

TEST(MidiDocModel, EveryFileGetsSixtyFourTrackRecords)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    smf.AddTrack().TrackName(0, "A Name Of Twenty Chr").Controller(0, 2, 32, 5).Controller(0, 2, 7, 77).NoteOn(0, 2, 60,
                                                                                                                    90)
        .NoteOff(96, 2, 60);
    DocFixture f(smf.Build());
    MidiDocModel& doc = *f.doc;
    ASSERT_EQ(doc.TrackRecordCount(), 64);
    const CTrackInfo& one = *doc.TrackRecord(0);
    EXPECT_EQ(one.name, "A Name Of Twenty");
    EXPECT_EQ(one.bank, 0xFF05); // no bank MSB: high byte 255, the LSB kept
    EXPECT_EQ(one.volume, 77);
    EXPECT_EQ(one.channel, 2);
    EXPECT_EQ(one.program, 255);
    EXPECT_EQ(one.play, 1);
    for (int row = 1; row < 64; ++row) {
        const CTrackInfo& r = *doc.TrackRecord(row);
        EXPECT_EQ(r.index, uint32_t(row));
        EXPECT_EQ(r.totalEvents, 0u);
        EXPECT_EQ(r.play, 0);
        EXPECT_EQ(r.channel, 255);
        EXPECT_EQ(r.BankMsb(), 255);
        EXPECT_EQ(r.program, 255);
        EXPECT_EQ(r.volume, 100);
        EXPECT_EQ(r.pan, 0);
    }
    EXPECT_EQ(doc.FileTrackCount(), 2);
    EXPECT_EQ(doc.Division(), 96);
}

TEST(MidiDocModel, NewDocumentsFromBothTemplates)
{
    for (int choice : {-1, 0, 1}) {
        SCOPED_TRACE(choice);
        DocFixture f;
        f.s.settings.Author = "J\xF6rg"; // Windows-1252, as the setting keeps it
        f.s.settings.LastOpenedDirectory = "/songs";
        ASSERT_EQ(f.doc->OnNewDocument(choice), Open::Ok);
        EXPECT_EQ(f.doc->Path(), std::filesystem::path("/songs/NewFile"));
        EXPECT_EQ(f.doc->Title(), "NewFile");
        EXPECT_FALSE(f.doc->IsModified());
        const auto& image = f.doc->RawImage();
        // The sized image is what was written, with the author's byte and the sign 0xA9.
        CMidiParserEx maker;
        maker.SetAuthor(f.s.settings.Author);
        uint32_t size = 0;
        ASSERT_EQ(maker.GetNewFileSize(choice == 1 ? 1 : 0, size), 0);
        EXPECT_EQ(size, image.size());
        const std::string text(image.begin(), image.end());
        EXPECT_NE(text.find("Copyright \xA9 "), std::string::npos);
        EXPECT_NE(text.find(" by J\xF6rg"), std::string::npos);
        const CTrackInfo& first = *f.doc->TrackRecord(0);
        if (choice == 1) {
            EXPECT_EQ(first.name, "Track 01");
            EXPECT_EQ(f.doc->TrackRecord(15)->name, "Track 16");
            EXPECT_EQ(f.doc->TrackRecord(15)->channel, 15);
            EXPECT_EQ(first.volume, 127);
            EXPECT_EQ(first.pan, 63);
            EXPECT_EQ(first.program, 255);
            EXPECT_EQ(first.port, 0);
        } else {
            EXPECT_EQ(first.totalEvents, 0u);
        }
    }
}

TEST(MidiDocModel, TheClosePromptKeepsOrClosesTheDocument)
{
    using A = MidiDocModel::CloseAnswer;
    using D = MidiDocModel::CloseDecision;
    EXPECT_EQ(MidiDocModel::SaveModifiedDecision(false, A::Cancel), (D{true, false}));
    EXPECT_EQ(MidiDocModel::SaveModifiedDecision(true, A::Yes), (D{true, true}));
    EXPECT_EQ(MidiDocModel::SaveModifiedDecision(true, A::No), (D{true, false}));
    EXPECT_EQ(MidiDocModel::SaveModifiedDecision(true, A::Cancel), (D{false, false}));
    DocFixture f(smallSong(), "/songs/Song.mid");
    EXPECT_EQ(f.doc->SaveModifiedText(), "Save changes to Song.mid");
}

TEST(MidiDocModel, SavingWritesTheSequence)
{
    TempDir dir;
    struct Case {
        const char* what;
        std::vector<uint8_t> image;
    };
    SmfBuilder format0(0, 96);
    format0.AddTrack().TimeSig(0, 3, 2).Tempo(0, 400000).Program(0, 1, 5).NoteOn(0, 1, 60, 90).NoteOn(10, 9, 36, 100)
        .NoteOff(96, 1, 60).NoteOff(100, 9, 36).Marker(200, "End");
    for (const Case& c : {Case{"format 1", smallSong(3)}, Case{"format 0", format0.Build()}}) {
        SCOPED_TRACE(c.what);
        DocFixture f(c.image, (dir.path() / "In.mid").string());
        // Unchanged: byte for byte the file as read.
        const auto same = dir.path() / "Same.mid";
        ASSERT_EQ(f.doc->SaveAs(same), MidiDocModel::SaveResult::Ok);
        EXPECT_EQ(readFileBytes(same), c.image);
        EXPECT_EQ(f.doc->Path(), same);

        // Changed: the events as they are now, in the same format.
        f.dialogs.transpose = 2;
        ASSERT_EQ(f.doc->OnUtilTranspose(), EditResult::Done);
        const auto changed = dir.path() / "Changed.mid";
        ASSERT_EQ(f.doc->SaveAs(changed), MidiDocModel::SaveResult::Ok);
        EXPECT_FALSE(f.doc->IsModified());
        DocFixture g(readFileBytes(changed), changed.string());
        EXPECT_EQ(g.doc->Format(), f.doc->Format());
        EXPECT_EQ(eventStates(g.seq()), eventStates(f.seq()));
    }
    // A folder that cannot take the file leaves nothing half written.
    DocFixture f(smallSong());
    f.doc->SetModified(true);
    EXPECT_EQ(f.doc->SaveAs(dir.path() / "missing" / "Out.mid"), MidiDocModel::SaveResult::WriteFailed);
}

TEST(MidiDocModel, RealMidiFilesOpenAndWriteBack)
{
    const auto files = realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI fixtures";
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        DocFixture f(readFileBytes(path), path.string());
        f.doc->SetModified(true);
        bool ok = false;
        const auto image = f.doc->BuildFileImage(ok);
        ASSERT_TRUE(ok);
        DocFixture g(image, "/x/Again.mid");
        EXPECT_EQ(eventStates(g.seq()).size(), eventStates(f.seq()).size());
    }
}

TEST(MidiDocModel, MovingAnEventKeepsTheDocumentedOrder)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    smf.AddTrack().Controller(10, 0, 1, 1).Controller(20, 0, 1, 2).Controller(20, 0, 1, 3).Controller(30, 0, 1, 4);
    DocFixture f(smf.Build());
    CMidiParserEx& seq = f.seq();
    auto valueAt = [&](size_t i) { return seq.GetEvent(i)->data[1]; };
    const size_t first = 1; // after the time signature
    // Moved earlier to a time others have: after them.
    CMidiEvent* last = seq.GetEvent(first + 3);
    last->time = 20;
    EXPECT_EQ(f.doc->MoveEventToSortedPlace(first + 3, 30, 20), first + 3);
    // Moved later to a time others have: before them.
    seq.GetEvent(first)->time = 20;
    EXPECT_EQ(f.doc->MoveEventToSortedPlace(first, 10, 20), first);
    EXPECT_EQ(valueAt(first), 1);
    // The first event moved earlier stays at 0; the last moved later at count - 1.
    EXPECT_EQ(f.doc->MoveEventToSortedPlace(0, 0, 0), 0u);
    EXPECT_EQ(f.doc->MoveEventToSortedPlace(seq.GetEventCount() - 1, 0, 5000), seq.GetEventCount() - 1);
}

TEST(MidiDocModel, VariableLengthNumbersAreReadWithinTheirBytes)
{
    struct Case {
        std::vector<uint8_t> bytes;
        uint32_t value;
        uint32_t count;
    };
    for (const Case& c : {Case{{0x81, 0x00}, 128, 2}, Case{{0x7F}, 127, 1}, Case{{0xFF, 0xFF, 0xFF, 0x7F}, 0x0FFFFFFF, 4},
                          Case{{0x80, 0x80, 0x80, 0x80}, 0, 0}, Case{{0x81}, 0, 0}}) {
        uint32_t count = 99;
        EXPECT_EQ(ReadMidiVarLen(c.bytes.data(), c.bytes.size(), count), c.value);
        EXPECT_EQ(count, c.count);
    }
}

TEST(MidiDocModel, MixSwitchesAndTheirQueries)
{
    DocFixture f(smallSong(2));
    MidiDocModel& doc = *f.doc;
    EXPECT_FALSE(doc.SomeTrackSoloed());
    doc.SetTrackPlay(5, 0); // no events: it plays
    EXPECT_FALSE(doc.SomeTrackMuted());
    doc.SetTrackPlay(0, 0);
    EXPECT_TRUE(doc.SomeTrackMuted());
    doc.SetTrackSolo(1, 1);
    EXPECT_TRUE(doc.SomeTrackSoloed());
    doc.SetTrackRecordFlag(64, 1); // outside the rows: nothing
    EXPECT_EQ(doc.m_LiveVolume[0], 100);
    EXPECT_EQ(doc.m_RecordEchoChannels, 0xFFFF);
}
