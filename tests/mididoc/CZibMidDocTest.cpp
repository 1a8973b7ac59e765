#include "mididoc/core/CZibMidDoc.h"

#include "midi/MidiEventKind.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace zib;
using namespace zib::test;

namespace {

using Result = CZibMidDoc::Result;

std::vector<uint8_t> readBack(const std::filesystem::path& path)
{
    return readFileBytes(path);
}

} // namespace

// ---- Opening ---------------------------------------------------------------

TEST(CZibMidDoc, OnlyPathsEndingInMidOpen)
{
    struct Case {
        const char* path;
        uint32_t flag;
    };
    for (const Case& c : {Case{"a.mid", 1}, Case{"/x/B.MID", 1}, Case{"c.Mid", 1}, Case{".mid", 1},
                          Case{"d.midi", 0}, Case{"e.kar", 0}, Case{"mid", 0}, Case{"", 0}, Case{"f.mid ", 0}}) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(CZibMidDoc::MidiExtensionTest(c.path), c.flag);
        CZibMidDoc doc;
        const Result r = doc.LoadImage(c.path, smallSong());
        EXPECT_EQ(r, c.flag ? Result::Ok : Result::NotMidiPath);
        EXPECT_EQ(doc.HasTrackRecords(), c.flag == 1);
        EXPECT_EQ(doc.MidiFlag(), c.flag);
    }
}

TEST(CZibMidDoc, EmptyAndBrokenFilesOpenNothing)
{
    CZibMidDoc doc;
    EXPECT_EQ(doc.LoadImage("/x/Empty.MID", {}), Result::EmptyFile);
    EXPECT_FALSE(doc.HasTrackRecords());

    // A track chunk cut short: the parser's text, and nothing left behind.
    const auto broken = SmfBuilder::Truncated(smallSong(), 40);
    EXPECT_EQ(doc.LoadImage("/x/Broken.mid", broken), Result::ParseError);
    EXPECT_EQ(doc.ParseErrorText().rfind("CMidi", 0), 0u) << doc.ParseErrorText();
    EXPECT_LT(doc.ParseErrorText().size(), 80u);
    EXPECT_FALSE(doc.HasTrackRecords());
    EXPECT_EQ(doc.Sequence().GetEventCount(), 0u);
    EXPECT_TRUE(doc.RawImage().empty());

    // Format 2 is not a sequence the document can hold.
    SmfBuilder format2(2, 96);
    format2.AddTrack().NoteOn(0, 0, 60, 100);
    EXPECT_EQ(doc.LoadImage("/x/F2.mid", format2.Build()), Result::ParseError);

    // A missing file and one above the size limit are refused before parsing.
    TempDir dir;
    EXPECT_EQ(doc.OpenFile((dir / "none.mid").string()), Result::ReadFailed);
}

TEST(CZibMidDoc, EveryFileGetsSixtyFourTrackRecords)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    smf.AddTrack().TrackName(0, "Twenty chars long!!!").Controller(0, 2, 32, 5).Controller(0, 2, 10, 30)
        .NoteOn(0, 2, 60, 100).NoteOff(10, 2, 60);
    smf.AddTrack().Controller(0, 3, 0, 1).Program(0, 3, 7).NoteOn(0, 3, 40, 90).NoteOn(5, 4, 41, 90);
    const auto doc = loadDocument(smf.Build());

    ASSERT_EQ(doc->TrackRecordCount(), 64);
    EXPECT_EQ(doc->Format(), 1u);
    EXPECT_EQ(doc->FileTrackCount(), 3);
    EXPECT_EQ(doc->Division(), 96);
    EXPECT_EQ(doc->Folder(), "/songs");

    // Track 1: a name cut to 16 characters, bank LSB without MSB.
    const CTrackInfo& t1 = *doc->TrackRecord(0);
    EXPECT_EQ(t1.name, "Twenty chars lon");
    EXPECT_EQ(t1.bank, 0xFF05);
    EXPECT_EQ(t1.pan, 30);
    EXPECT_EQ(t1.volume, 100);
    EXPECT_EQ(t1.program, 255);
    EXPECT_EQ(t1.channel, 2);
    EXPECT_EQ(t1.hasEvents, 1);
    EXPECT_EQ(t1.play, 1);
    EXPECT_EQ(t1.listedEvents, 1u); // the note; its name, pan and bank are first values
    EXPECT_EQ(t1.totalEvents, 5u);
    EXPECT_EQ(t1.rawLength, t1.rawData.size());
    EXPECT_GT(t1.rawLength, 0u);

    // Track 2: program and bank MSB, two channels.
    const CTrackInfo& t2 = *doc->TrackRecord(1);
    EXPECT_EQ(t2.program, 7);
    EXPECT_EQ(t2.bank, 0x0100);
    EXPECT_EQ(t2.channel, 255);

    // Records past the file's tracks.
    for (int row = 2; row < 64; ++row) {
        const CTrackInfo& t = *doc->TrackRecord(row);
        SCOPED_TRACE(row);
        EXPECT_EQ(t.index, uint32_t(row));
        EXPECT_EQ(t.totalEvents, 0u);
        EXPECT_EQ(t.hasEvents, 0);
        EXPECT_EQ(t.play, 0);
        EXPECT_EQ(t.channel, 255);
        EXPECT_EQ(t.BankMsb(), 255);
        EXPECT_EQ(t.program, 255);
        EXPECT_EQ(t.volume, 100);
        EXPECT_EQ(t.pan, 0);
    }
    EXPECT_GT(doc->MasterTrackRecord().rawLength, 0u);

    // Parsing again leaves 64 records, not 128.
    EXPECT_TRUE(doc->ParseMidi());
    EXPECT_EQ(doc->TrackRecordCount(), 64);
}

TEST(CZibMidDoc, NewDocumentsFromBothTemplates)
{
    CZibMidDoc doc;
    ASSERT_EQ(doc.NewDocument(CZibMidDoc::NewTemplate::Normal, "/work", "Ann", "2024"), Result::Ok);
    EXPECT_EQ(doc.Path(), "/work/NewFile");
    EXPECT_EQ(doc.Folder(), "/work");
    EXPECT_EQ(doc.Format(), 1u);
    EXPECT_EQ(doc.Division(), 384);
    EXPECT_EQ(doc.FileTrackCount(), 1);
    EXPECT_EQ(doc.TrackRecordCount(), 64);
    for (int row = 0; row < 64; ++row)
        EXPECT_EQ(doc.TrackRecord(row)->hasEvents, 0);
    // The master track's texts: name, copyright with year and author, the author.
    std::vector<std::string> texts;
    for (const auto& e : doc.Sequence().GetEvents())
        if (e->status == 0xFF && e->data[1] >= 1 && e->data[1] <= 3)
            texts.emplace_back(e->data.begin() + 3, e->data.begin() + e->length);
    EXPECT_EQ(texts, (std::vector<std::string>{"untitled", "Copyright \xA9 2024 by Ann", "Ann"}));
    EXPECT_FALSE(doc.IsModified());

    ASSERT_EQ(doc.NewDocument(CZibMidDoc::NewTemplate::SixteenTracks, "/work", "Ann", "2024"), Result::Ok);
    EXPECT_EQ(doc.FileTrackCount(), 17);
    for (int row = 0; row < 16; ++row) {
        const CTrackInfo& t = *doc.TrackRecord(row);
        SCOPED_TRACE(row);
        EXPECT_EQ(t.name, std::string(row < 9 ? "Track 0" : "Track ") + std::to_string(row + 1));
        EXPECT_EQ(t.channel, row);
        EXPECT_EQ(t.volume, 127);
        EXPECT_EQ(t.pan, 63);
        EXPECT_EQ(t.program, 255);
        EXPECT_EQ(t.port, 0);
        EXPECT_EQ(t.hasEvents, 1);
    }
    EXPECT_EQ(doc.TrackRecord(16)->hasEvents, 0);
}

// ---- Moving events to their sorted place ---------------------------------

TEST(CZibMidDoc, MoveEventToSortedPlaceKeepsTheDocumentedOrder)
{
    // Events at ticks 0, 10, 20, 20, 20, 30, 40 (indexes 0..6), on track 1.
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    SmfTrack& t = smf.AddTrack();
    for (uint32_t tick : {10u, 20u, 20u, 20u, 30u, 40u})
        t.Controller(tick, 0, 1, int(tick));
    struct Case {
        const char* name;
        size_t index;
        uint32_t newTick;
        size_t expected;
    };
    for (const Case& c : {
             Case{"earlier onto equal times lands after them", 6, 20, 5},
             Case{"later onto equal times lands before them", 1, 20, 1},
             Case{"later past equal times", 1, 25, 4},
             Case{"to the front", 6, 5, 1},
             Case{"first event earlier stays first", 0, 0, 0},
             Case{"last event later stays last", 6, 100, 6},
             Case{"unchanged time", 4, 20, 4},
         }) {
        SCOPED_TRACE(c.name);
        auto doc = loadDocument(smf.Build());
        CMidiParserEx& seq = doc->Sequence();
        ASSERT_EQ(seq.GetEventCount(), 7u);
        CMidiEvent* moved = seq.GetEvent(c.index);
        const uint32_t old = moved->time;
        moved->time = c.newTick;
        const size_t at = doc->MoveEventToSortedPlace(c.index, old, c.newTick);
        EXPECT_EQ(at, c.expected);
        EXPECT_EQ(seq.GetEvent(at), moved);
        for (size_t i = 0; i < seq.GetEventCount(); ++i) {
            EXPECT_EQ(seq.GetEvent(i)->index, i);
            if (i) {
                EXPECT_LE(seq.GetEvent(i - 1)->time, seq.GetEvent(i)->time);
            }
        }
    }
}

// ---- Track slots ---------------------------------------------------------

TEST(CZibMidDoc, TrackSlotsMoveTablesRecordsAndEventTracks)
{
    auto doc = loadDocument(smallSong(3));
    CMidiParserEx& seq = doc->Sequence();
    auto tracksOf = [&seq] {
        std::vector<int> tracks;
        for (const auto& e : seq.GetEvents())
            if (e->track) tracks.push_back(e->track);
        std::sort(tracks.begin(), tracks.end());
        tracks.erase(std::unique(tracks.begin(), tracks.end()), tracks.end());
        return tracks;
    };

    // A slot still holding events is not removed.
    EXPECT_FALSE(doc->RemoveTrackSlot(1));

    // Insert an empty track at row 0: everything moves one up.
    auto fresh = std::make_unique<CTrackInfo>();
    fresh->name = "New";
    fresh->channel = 255;
    ASSERT_TRUE(doc->InsertTrackSlot(0, std::move(fresh)));
    EXPECT_EQ(tracksOf(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(doc->TrackRecord(0)->name, "New");
    EXPECT_EQ(doc->TrackRecord(1)->name, "Track 1");
    EXPECT_EQ(seq.GetTrack(2)->name, "Track 1");
    EXPECT_EQ(seq.GetTrack(1)->name, "New");
    EXPECT_EQ(doc->TrackRecordCount(), 64);
    for (int row = 0; row < 64; ++row)
        EXPECT_EQ(doc->TrackRecord(row)->index, uint32_t(row));

    // Remove it again: back where they were.
    ASSERT_TRUE(doc->RemoveTrackSlot(0));
    EXPECT_EQ(tracksOf(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(doc->TrackRecord(0)->name, "Track 1");
    EXPECT_EQ(seq.GetTrack(1)->name, "Track 1");
    EXPECT_EQ(seq.GetTrack(64)->totalCount, 0u);

    // Rows outside 0..63 do nothing.
    EXPECT_FALSE(doc->RemoveTrackSlot(64));
    EXPECT_FALSE(doc->InsertTrackSlot(-1, std::make_unique<CTrackInfo>()));

    // Track 64 in use (edits can fill it): an insertion would push its events off the end.
    seq.GetEvent(seq.GetEventCount() - 1)->track = 64;
    EXPECT_FALSE(doc->InsertTrackSlot(0, std::make_unique<CTrackInfo>()));
}

// ---- Mix switches ----------------------------------------------------------

TEST(CZibMidDoc, MixSwitchesKeepTheSoloAndMuteFlags)
{
    auto doc = loadDocument(smallSong(2));
    EXPECT_EQ(doc->m_SoloedTrackFlag, 0);
    EXPECT_EQ(doc->m_MutedTrackFlag, 0);

    doc->SetTrackPlay(5, 0); // no events: cannot be muted
    EXPECT_EQ(doc->TrackRecord(5)->play, 1);
    EXPECT_EQ(doc->m_MutedTrackFlag, 0);

    doc->SetTrackPlay(0, 0);
    doc->SetTrackPlay(1, 0);
    EXPECT_EQ(doc->m_MutedTrackFlag, 1);
    doc->SetTrackPlay(0, 1);
    EXPECT_EQ(doc->m_MutedTrackFlag, 1); // track 2 is still muted
    doc->SetTrackPlay(1, 7);
    EXPECT_EQ(doc->m_MutedTrackFlag, 0);

    doc->SetTrackSolo(0, 1);
    doc->SetTrackSolo(1, 1);
    doc->SetTrackSolo(0, 0);
    EXPECT_EQ(doc->m_SoloedTrackFlag, 1);
    doc->SetTrackSolo(1, 0);
    EXPECT_EQ(doc->m_SoloedTrackFlag, 0);

    doc->SetTrackRecordFlag(3, 5);
    EXPECT_EQ(doc->TrackRecord(3)->record, 1);
    doc->SetTrackRecordFlag(64, 1); // outside: nothing
}

// ---- Writing back ----------------------------------------------------------

TEST(CZibMidDoc, UnchangedDocumentSavesItsFileAsRead)
{
    TempDir dir;
    // Running status, an unknown meta and a late end of track: bytes that a
    // rebuild would not reproduce.
    SmfBuilder smf(0, 120);
    smf.AddTrack().UseRunningStatus().NoteOn(0, 0, 60, 100).NoteOn(10, 0, 60, 0).Meta(20, 0x60, {1, 2}).EndAt(500);
    const auto image = smf.Build();
    auto doc = loadDocument(image);
    ASSERT_EQ(doc->SaveAs((dir / "Copy.mid").string()), Result::Ok);
    EXPECT_EQ(readBack(dir / "Copy.mid"), image);
    EXPECT_EQ(doc->Path(), (dir / "Copy.mid").string());
}

TEST(CZibMidDoc, ChangedDocumentSavesItsSequence)
{
    TempDir dir;
    for (uint16_t format : {uint16_t(0), uint16_t(1)}) {
        SCOPED_TRACE(format);
        SmfBuilder smf(format, 96);
        SmfTrack& first = smf.AddTrack();
        first.TimeSig(0, 3, 2).Tempo(0, 400000);
        if (format == 0) {
            first.NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).Program(5, 1, 3).SysEx(7, {0x41, 0x10, 0xF7});
        } else {
            smf.AddTrack().TrackName(0, "Bass").NoteOn(0, 0, 40, 100).NoteOff(96, 0, 40);
            smf.AddTrack().Program(5, 1, 3).SysEx(7, {0x41, 0x10, 0xF7}).PitchBend(9, 1, 0x2000);
        }
        auto doc = loadDocument(smf.Build());
        // An edit: one event's value changes.
        CMidiParserEx& seq = doc->Sequence();
        for (size_t i = 0; i < seq.GetEventCount(); ++i)
            if ((seq.GetEvent(i)->status & 0xF0) == 0xC0) {
                seq.GetEvent(i)->data[0] = 9;
                seq.SetTrackModified(seq.GetEvent(i)->track, 1);
            }
        doc->SetModified(true);
        const auto before = eventKeys(seq);

        const auto path = dir / ("Edited" + std::to_string(format) + ".mid");
        ASSERT_EQ(doc->SaveAs(path.string()), Result::Ok);
        EXPECT_FALSE(doc->IsModified());
        CZibMidDoc again;
        ASSERT_EQ(again.LoadImage(path.string(), readBack(path)), Result::Ok) << again.ParseErrorText();
        EXPECT_EQ(again.Format(), format);
        EXPECT_EQ(eventKeys(again.Sequence()), before);
    }
}

TEST(CZibMidDoc, RealMidiFilesOpenAndWriteBack)
{
    const auto files = realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI fixtures";
    TempDir dir;
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        CZibMidDoc doc;
        ASSERT_EQ(doc.OpenFile(path.string()), Result::Ok) << doc.ParseErrorText();
        ASSERT_EQ(doc.TrackRecordCount(), 64);
        // Every stored event is counted in its track.
        uint32_t counted = doc.Sequence().GetTrackTotalEvents(0);
        bool anyInUse = false;
        for (int row = 0; row < 64; ++row) {
            counted += doc.TrackRecord(row)->totalEvents;
            anyInUse = anyInUse || doc.TrackRecord(row)->hasEvents;
        }
        EXPECT_EQ(counted, doc.Sequence().GetEventCount());
        EXPECT_TRUE(anyInUse);

        // Unchanged: the very bytes.
        const auto copy = dir / path.filename();
        ASSERT_EQ(doc.SaveAs(copy.string()), Result::Ok);
        EXPECT_EQ(readBack(copy), readBack(path));

        // Changed: rebuilt from the sequence, every event comes back.
        const auto before = eventKeys(doc.Sequence());
        for (int t = 0; t < CMidiParserEx::kMaxTracks; ++t)
            doc.Sequence().SetTrackModified(t, 1);
        doc.SetModified(true);
        const auto rebuilt = dir / ("R" + path.filename().string());
        ASSERT_EQ(doc.SaveAs(rebuilt.string()), Result::Ok);
        CZibMidDoc again;
        ASSERT_EQ(again.OpenFile(rebuilt.string()), Result::Ok) << again.ParseErrorText();
        EXPECT_EQ(eventKeys(again.Sequence()), before);
    }
}
