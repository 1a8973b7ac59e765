#include "midi/CMidiParserEx.h"
#include "midi/CMidiFileParser.h"
#include "tests/midi/MidiTestHelpers.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>

using namespace zib;
using namespace zib::test;

namespace {

int load(CMidiParserEx& p, const std::vector<uint8_t>& image)
{
    return p.ParseImage(image.data(), uint32_t(image.size()));
}

std::vector<uint8_t> writeBack(CMidiParserEx& p, int& rc)
{
    std::vector<uint8_t> out(1 << 20);
    rc = p.WriteToMemory(out.data(), uint32_t(out.size()));
    out.resize(rc == 0 ? p.GetBytesWritten() : 0);
    return out;
}

// Events of one track in sequence order: status and data bytes.
std::vector<std::vector<uint8_t>> trackEvents(const CMidiParserEx& p, int track)
{
    std::vector<std::vector<uint8_t>> out;
    for (const auto& e : p.GetEvents()) {
        if (e->track != track) continue;
        std::vector<uint8_t> b;
        if (e->status != 0xFF && e->status != 0xF0 && e->status != 0xF7) b.push_back(e->status);
        b.insert(b.end(), e->data.begin(), e->data.begin() + e->length);
        out.push_back(b);
    }
    return out;
}

std::unique_ptr<CMidiEvent> channelEvent(uint32_t time, uint8_t status, uint8_t d1, uint8_t d2, uint8_t track,
                                         uint8_t flags = 0)
{
    auto e = std::make_unique<CMidiEvent>();
    e->time = time;
    e->status = status;
    const uint8_t data[] = {d1, d2};
    e->SetData(data, (status & 0xE0) == 0xC0 ? 1 : 2, 6);
    e->track = track;
    e->flags = flags;
    e->paired = 1;
    return e;
}

} // namespace

TEST(CMidiParserExLoad, RefusesBrokenFilesAndLeavesAnEmptySequence)
{
    struct Case {
        const char* name;
        std::function<std::vector<uint8_t>()> image;
        int code;
    };
    const Case cases[] = {
        {"format 2",
         [] {
             SmfBuilder b(2, 96);
             b.AddTrack();
             return b.Build();
         },
         CMidiParserEx::kFormatNotSupportedEx},
        {"66 tracks announced",
         [] {
             SmfBuilder b(1, 96);
             b.AddTrack();
             return b.AnnouncedTracks(66).Build();
         },
         CMidiParserEx::kMaxTrackLimitExceeded},
        // The tables have 65 entries: 70 chunks behind a header of 2 must
        // stop at the 66th chunk, not overrun them.
        {"70 chunks behind a header of 2",
         [] {
             SmfBuilder b(1, 96);
             for (int i = 0; i < 70; ++i)
                 b.AddTrack().Marker(0, "x");
             return b.AnnouncedTracks(2).Build();
         },
         CMidiParserEx::kMaxTrackLimitExceeded},
        {"65 chunks with the track shift",
         [] {
             SmfBuilder b(1, 96);
             b.AddTrack().NoteOn(0, 0, 60, 1);
             for (int i = 0; i < 64; ++i)
                 b.AddTrack().Marker(0, "x");
             return b.AnnouncedTracks(3).Build();
         },
         CMidiParserEx::kMaxTrackLimitExceeded},
        {"fewer chunks than announced",
         [] {
             SmfBuilder b(1, 96);
             b.AddTrack();
             b.AddTrack();
             return b.AnnouncedTracks(3).Build();
         },
         CMidiParserEx::kIncorrectTrackCount},
        {"format 0 announcing two tracks",
         [] {
             SmfBuilder b(0, 96);
             b.AddTrack().NoteOn(10, 0, 1, 1);
             b.AddTrack().NoteOn(0, 0, 2, 1);
             return b.Build();
         },
         CMidiParserEx::kIncorrectTrackCount},
        {"shifted file with more chunks than announced",
         [] {
             SmfBuilder b(1, 96);
             b.AddTrack().NoteOn(0, 0, 60, 1);
             b.AddTrack();
             return b.AnnouncedTracks(1).Build();
         },
         CMidiParserEx::kIncorrectTrackCount},
        {"track without end of track",
         [] {
             SmfBuilder b(1, 96);
             b.AddTrack().Marker(0, "a").NoEndOfTrack();
             b.AddTrack();
             return b.Build();
         },
         CMidiParserEx::kLastTrackNotFinished},
        {"bytes after end of track",
         [] {
             SmfBuilder b(1, 96);
             b.AddTrack().TrailingBytes({0x00, 0xFF, 0x06, 0x01, 'x'});
             return b.Build();
         },
         CMidiParserEx::kTrackSizeDiffers},
        {"header cut short", [] { return SmfBuilder::Truncated(SmfBuilder(0, 96).Build(), 10); },
         CMidiFile::kBadMThdChunk},
        {"header without any track chunk", [] { return SmfBuilder(0, 96).AnnouncedTracks(1).Build(); },
         CMidiParserEx::kIncorrectTrackCount},
    };
    for (const auto& c : cases) {
        CMidiParserEx p;
        // Load something first: a failed load must leave nothing behind.
        SmfBuilder good(1, 96);
        good.AddTrack().TimeSig(0, 4, 2);
        good.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
        ASSERT_EQ(load(p, good.Build()), 0);

        EXPECT_EQ(load(p, c.image()), c.code) << c.name;
        EXPECT_EQ(p.GetEventCount(), 0u) << c.name;
        EXPECT_EQ(p.GetTrack(1)->rawSize, 0u) << c.name;
        EXPECT_TRUE(p.GetTrack(1)->rawBuffer.empty()) << c.name;
        EXPECT_EQ(p.GetTrackTotalEvents(1), 0u) << c.name;
    }
}

// A format-0 header announces one track; a second chunk behind it is read
// too, its events merged by time and its notes paired inside it.
// A file holds as many tracks as the sequence has: the master track and
// tracks 1-64, also when its first track holds the notes of track 1.
TEST(CMidiParserExLoad, EveryTrackOfTheSequenceComesFromAFile)
{
    for (const bool shifted : {false, true}) {
        SmfBuilder b(1, 96);
        if (!shifted) b.AddTrack().TimeSig(0, 4, 2);
        for (int k = 1; k <= 64; ++k)
            b.AddTrack().NoteOn(0, 0, uint8_t(k), 90).NoteOff(10, 0, uint8_t(k));
        CMidiParserEx p;
        ASSERT_EQ(load(p, b.Build()), 0) << shifted;
        EXPECT_EQ(p.GetTrackShift(), shifted ? 1u : 0u);
        for (int k = 1; k <= 64; ++k)
            EXPECT_EQ(p.GetTrackEventCount(k), 1u) << "track " << k << (shifted ? " shifted" : "");
    }
}

TEST(CMidiParserExLoad, Format0HeaderOfOneTrackWithTwoChunksLoads)
{
    SmfBuilder b(0, 96);
    b.AddTrack().TimeSig(0, 4, 2).NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    b.AddTrack().NoteOff(10, 0, 60).NoteOn(48, 1, 62, 90).NoteOff(144, 1, 62);
    CMidiParserEx p;
    ASSERT_EQ(load(p, b.AnnouncedTracks(1).Build()), 0);
    std::vector<std::pair<uint32_t, uint8_t>> order;
    for (const auto& e : p.GetEvents())
        order.emplace_back(e->time, e->status);
    EXPECT_EQ(order, (std::vector<std::pair<uint32_t, uint8_t>>{
                         {0, 0xFF}, {0, 0x90}, {10, 0x80}, {48, 0x91}, {96, 0x80}, {144, 0x81}}));
    const auto& ev = p.GetEvents();
    EXPECT_EQ(ev[1]->duration, 96u); // not ended by the other chunk's note-off at 10
    EXPECT_EQ(ev[1]->pairId, ev[4]->pairId);
    EXPECT_EQ(ev[2]->paired, 0u);
    EXPECT_EQ(ev[3]->duration, 96u);
    EXPECT_EQ(ev[3]->track, 2);
}

TEST(CMidiParserExLoad, Format1TracksKeepTheirChunksAndTables)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TrackName(0, "Conductor").TimeSig(0, 4, 2).Tempo(0, 500000);
    b.AddTrack()
        .Port(0, 2)
        .TrackName(0, "Bass")
        .Program(0, 3, 33)
        .Controller(0, 3, 7, 90)
        .NoteOn(0, 3, 40, 100)
        .NoteOff(48, 3, 40)
        .Controller(50, 3, 7, 80)
        .EndAt(96);
    const auto image = b.Build();
    CMidiParserEx p;
    ASSERT_EQ(load(p, image), 0);
    EXPECT_EQ(p.GetTrackShift(), 0u);
    EXPECT_EQ(p.HasModifiedTrack(), 0);
    EXPECT_EQ(p.GetInitialTempo(), 120);

    const auto* bass = p.GetTrack(1);
    EXPECT_EQ(bass->name, "Bass");
    EXPECT_EQ(bass->port, 2);
    EXPECT_EQ(bass->channel, 3);
    EXPECT_EQ(bass->program, 33);
    EXPECT_EQ(bass->volume, 90);
    EXPECT_EQ(bass->pan, 0);
    // port, name, program, volume (initial) | note-on, note-off (paired), volume 80
    EXPECT_EQ(bass->totalCount, 7u);
    EXPECT_EQ(bass->eventCount, 2u);
    EXPECT_EQ(p.GetTrack(0)->name, "Conductor");

    // The raw chunks are the file's, byte for byte.
    int rc = -1;
    EXPECT_EQ(writeBack(p, rc), image);
    EXPECT_EQ(rc, 0);

    for (const auto& e : p.GetEvents()) {
        const bool initial = (e->status & 0xF0) == 0xC0 || (e->status == 0xB3 && e->data[1] == 90);
        EXPECT_EQ((e->flags & CMidiEvent::kInitialValue) != 0, initial);
    }
}

TEST(CMidiParserExLoad, FirstTrackWithChannelEventsShiftsAllTracks)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2).NoteOn(0, 0, 60, 100).NoteOff(10, 0, 60);
    b.AddTrack().NoteOn(0, 1, 62, 100).NoteOff(10, 1, 62);
    CMidiParserEx p;
    ASSERT_EQ(load(p, b.Build()), 0);
    EXPECT_EQ(p.GetTrackShift(), 1u);
    for (const auto& e : p.GetEvents()) {
        const int expected = e->status == 0xFF ? 1 : (e->status & 0x0F) + 1;
        EXPECT_EQ(e->track, expected);
    }
    for (int t = 0; t < CMidiParserEx::kMaxTracks; ++t)
        EXPECT_EQ(p.GetTrack(t)->modified, 1u);
    // No raw chunks: writing back fails instead of writing empty tracks.
    int rc = -1;
    writeBack(p, rc);
    EXPECT_EQ(rc, CMidiParserEx::kTrackBufferEmpty);
}

TEST(CMidiParserExLoad, Format0SpreadsChannelsOverTracks)
{
    SmfBuilder b(0, 96);
    b.AddTrack()
        .TimeSig(0, 3, 2)
        .Tempo(0, 600000)
        .Program(0, 9, 5)
        .NoteOn(0, 9, 36, 100)
        .NoteOn(0, 0, 60, 90)
        .SysEx(10, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
        .NoteOff(20, 9, 36)
        .NoteOff(30, 0, 60);
    CMidiParserEx p;
    ASSERT_EQ(load(p, b.Build()), 0);
    EXPECT_EQ(trackEvents(p, 0).size(), 3u); // two meta events and the sysex
    EXPECT_EQ(trackEvents(p, 10),
              (std::vector<std::vector<uint8_t>>{{0xC9, 5}, {0x99, 36, 100}, {0x89, 36, 0}}));
    EXPECT_EQ(trackEvents(p, 1), (std::vector<std::vector<uint8_t>>{{0x90, 60, 90}, {0x80, 60, 0}}));
    EXPECT_EQ(p.GetTrack(10)->channel, 9);
    EXPECT_EQ(p.GetTrack(10)->program, 5);
    EXPECT_EQ(p.GetInitialTempo(), 100);

    // Writing back needs the tracks rebuilt; the sequence refuses to write empty ones.
    int rc = -1;
    writeBack(p, rc);
    EXPECT_EQ(rc, CMidiParserEx::kTrackBufferEmpty);
}

TEST(CMidiParserExLoad, Format0TrackSizesMatchAOneTrackPerChannelFile)
{
    SmfBuilder b(0, 96);
    b.AddTrack()
        .TimeSig(0, 4, 2)
        .Tempo(0, 500000)
        .Controller(0, 1, 7, 100)
        .NoteOn(0, 1, 60, 90)
        .NoteOn(5, 2, 64, 90)
        .NoteOff(40, 1, 60)
        .Marker(50, "B")
        .NoteOn(60, 1, 62, 90)
        .NoteOff(70, 2, 64)
        .NoteOff(90, 1, 62)
        .EndAt(90);
    const auto image = b.Build();
    CMidiParserEx p;
    ASSERT_EQ(load(p, image), 0);

    // The converter writes the same file one track per channel.
    CMidiFileParser c;
    uint32_t size = 0;
    ASSERT_EQ(c.GetConvertedSize(image.data(), uint32_t(image.size()), size, false), 0);
    std::vector<uint8_t> format1(size);
    ASSERT_EQ(c.ConvertFormat(image.data(), uint32_t(image.size()), format1.data(), size, false), 0);
    std::vector<uint32_t> chunkSizes;
    for (size_t pos = 14; pos + 8 <= format1.size();) {
        const uint32_t n = (uint32_t(format1[pos + 4]) << 24) | (format1[pos + 5] << 16) |
                           (format1[pos + 6] << 8) | format1[pos + 7];
        chunkSizes.push_back(n);
        pos += 8 + n;
    }
    ASSERT_EQ(chunkSizes.size(), 3u);
    EXPECT_EQ(p.GetTrack(0)->rawSize, chunkSizes[0]);
    EXPECT_EQ(p.GetTrack(2)->rawSize, chunkSizes[1]);
    EXPECT_EQ(p.GetTrack(3)->rawSize, chunkSizes[2]);
    EXPECT_EQ(p.GetTrack(1)->rawSize, 0u);

    // Each event carries its delta within its track.
    for (const auto& e : p.GetEvents())
        if (e->status == 0x81) {
            EXPECT_EQ(std::vector<uint8_t>(e->deltaBytes, e->deltaBytes + e->deltaSize),
                      (std::vector<uint8_t>{e->time == 40 ? uint8_t(40) : uint8_t(30)}));
        }
}

TEST(CMidiParserExLoad, MissingTimeSignatureGetsFourFourAtIndexZero)
{
    for (bool withSignature : {false, true}) {
        SmfBuilder b(1, 96);
        SmfTrack& t0 = b.AddTrack().Tempo(0, 500000);
        if (withSignature) t0.TimeSig(0, 3, 2);
        b.AddTrack().NoteOn(0, 0, 60, 1).NoteOff(5, 0, 60);
        CMidiParserEx p;
        ASSERT_EQ(load(p, b.Build()), 0);
        const CMidiEvent& first = *p.GetEvent(0);
        if (withSignature) {
            EXPECT_EQ(p.GetTrack(0)->modified, 0u);
            EXPECT_EQ(first.data[1], 0x51);
        } else {
            EXPECT_EQ(std::vector<uint8_t>(first.data.begin(), first.data.end()),
                      (std::vector<uint8_t>{0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08}));
            EXPECT_EQ(first.track, 0);
            EXPECT_EQ(first.time, 0u);
            EXPECT_EQ(first.index, 0u);
            EXPECT_EQ(p.GetTrack(0)->modified, 1u);
        }
    }
}

TEST(CMidiParserExLoad, SecondTimeSignatureAtTheSameTickReplacesTheFirst)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2).TimeSig(0, 6, 3);
    b.AddTrack().NoteOn(0, 0, 60, 1).NoteOff(5, 0, 60);
    CMidiParserEx p;
    ASSERT_EQ(load(p, b.Build()), 0);
    int signatures = 0;
    for (const auto& e : p.GetEvents()) {
        if (e->status != 0xFF || e->data[1] != 0x58) continue;
        ++signatures;
        EXPECT_EQ(e->data[3], 6);
        EXPECT_EQ(e->data[4], 3);
    }
    EXPECT_EQ(signatures, 1);
    EXPECT_EQ(p.GetNumeratorAtMeasure(0), 6);
}

TEST(CMidiParserExLoad, NotesPairFirstInFirstOut)
{
    SmfBuilder b(0, 96);
    b.AddTrack()
        .UseRunningStatus()
        .TimeSig(0, 4, 2)
        .NoteOn(0, 0, 60, 100)
        .NoteOn(10, 0, 60, 90)
        .NoteOff(20, 0, 60)
        .NoteOn(25, 0, 60, 0) // velocity 0: a note-off
        .NoteOff(30, 0, 61);  // no partner
    CMidiParserEx p;
    ASSERT_EQ(load(p, b.Build()), 0);
    const auto notes = [&] {
        std::vector<CMidiEvent*> out;
        for (const auto& e : p.GetEvents())
            if (e->status != 0xFF) out.push_back(e.get());
        return out;
    }();
    ASSERT_EQ(notes.size(), 5u);
    EXPECT_EQ(notes[0]->duration, 20u); // first on, first off
    EXPECT_EQ(notes[1]->duration, 15u);
    EXPECT_EQ(notes[0]->pairId, notes[2]->pairId);
    EXPECT_EQ(notes[1]->pairId, notes[3]->pairId);
    EXPECT_NE(notes[0]->pairId, notes[1]->pairId);
    EXPECT_EQ(notes[1]->status, 0x90); // read under running status
    EXPECT_EQ(notes[3]->status, 0x90);
    EXPECT_EQ(notes[4]->paired, 0u);
    EXPECT_EQ(notes[4]->pairId, -1);
    // two note-ons and the unpaired note-off are listed
    EXPECT_EQ(p.GetTrackEventCount(1), 3u);
    EXPECT_EQ(p.GetTrackTotalEvents(1), 5u);
    EXPECT_EQ(p.GetPairCounter(), 2u);
}

// Keys are compared whole: a key byte with bit 7 set pairs only with its own note-off.
TEST(CMidiParserExLoad, KeysWithBit7PairOnlyWithTheSameKey)
{
    SmfBuilder b(0, 96);
    b.AddTrack()
        .TimeSig(0, 4, 2)
        .Raw(0, {0x90, 0xEE, 100})
        .Raw(10, {0x80, 0x6E, 0})  // the same key without bit 7: no partner
        .Raw(20, {0x80, 0xEE, 0}); // its own note-off
    CMidiParserEx p;
    ASSERT_EQ(load(p, b.Build()), 0);
    std::vector<CMidiEvent*> notes;
    for (const auto& e : p.GetEvents())
        if (e->status != 0xFF) notes.push_back(e.get());
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0]->duration, 20u);
    EXPECT_EQ(notes[0]->pairId, notes[2]->pairId);
    EXPECT_EQ(notes[1]->paired, 0u);
}

TEST(CMidiParserExLoad, OpenNotesLastToTheEndOfTheirTrackOrSequence)
{
    SmfBuilder f0(0, 96);
    f0.AddTrack()
        .TimeSig(0, 4, 2)
        .NoteOn(10, 0, 60, 100)
        .NoteOn(20, 1, 50, 100)
        .NoteOff(30, 1, 50)
        .Marker(70, "x");
    CMidiParserEx p0;
    ASSERT_EQ(load(p0, f0.Build()), 0);
    EXPECT_EQ(p0.GetEvent(1)->duration, 60u); // to the last event of the sequence

    SmfBuilder f1(1, 96);
    f1.AddTrack().TimeSig(0, 4, 2).EndAt(500);
    f1.AddTrack().NoteOn(10, 0, 60, 100).EndAt(100);
    f1.AddTrack().NoteOn(10, 1, 60, 100).NoteOff(12, 1, 60).EndAt(200);
    f1.AddTrack().NoteOn(10, 2, 60, 100).EndAt(300);
    CMidiParserEx p1;
    ASSERT_EQ(load(p1, f1.Build()), 0);
    std::map<int, uint32_t> durations;
    for (const auto& e : p1.GetEvents())
        if ((e->status & 0xF0) == 0x90) durations[e->track] = e->duration;
    EXPECT_EQ(durations, (std::map<int, uint32_t>{{1, 90}, {2, 2}, {3, 290}}));
}

TEST(CMidiParserExLoad, NotesPairWithinTheirOwnTrack)
{
    // Track 1 leaves a note hanging; track 2 plays the same key on the same
    // channel: its note-off must end its own note.
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2);
    b.AddTrack().NoteOn(0, 0, 60, 100).EndAt(10);
    b.AddTrack().NoteOn(100, 0, 60, 100).NoteOff(150, 0, 60);
    CMidiParserEx p;
    ASSERT_EQ(load(p, b.Build()), 0);
    for (const auto& e : p.GetEvents()) {
        if ((e->status & 0xF0) != 0x90) continue;
        EXPECT_EQ(e->duration, e->track == 1 ? 10u : 50u);
        EXPECT_EQ(e->paired, e->track == 1 ? 0u : 1u);
    }
}

TEST(CMidiParserExLoad, InitialValuesBeforeTheFirstNote)
{
    struct Case {
        uint32_t mode;
        uint8_t volume, bankMsb, program;
        uint32_t listed; // events in the track's list
    };
    // program, bank 0 after the program, note, volume after the note
    const Case cases[] = {
        {0, 100, 0, 12, 4}, // bank after program and volume after note stay listed
        {2, 70, 5, 12, 4},  // mode 2: first of each kind wherever it stands, none flagged
    };
    for (const auto& c : cases) {
        SmfBuilder b(1, 96);
        b.AddTrack().TimeSig(0, 4, 2);
        b.AddTrack()
            .Program(0, 0, 12)
            .Controller(0, 0, 0, 5)
            .NoteOn(5, 0, 60, 100)
            .Controller(6, 0, 7, 70)
            .NoteOff(8, 0, 60)
            .Controller(9, 0, 10, 30);
        CMidiParserEx p;
        p.initialValueMode = c.mode;
        ASSERT_EQ(load(p, b.Build()), 0);
        const auto* t = p.GetTrack(1);
        EXPECT_EQ(t->volume, c.volume) << c.mode;
        EXPECT_EQ(t->bankMsb, c.bankMsb) << c.mode;
        EXPECT_EQ(t->program, c.program) << c.mode;
        EXPECT_EQ(t->pan, c.mode == 2 ? 30 : 0) << c.mode;
        EXPECT_EQ(t->programSeen, 1) << c.mode;
        EXPECT_EQ(t->totalCount, 6u);
        int flagged = 0;
        for (const auto& e : p.GetEvents())
            flagged += (e->flags & CMidiEvent::kInitialValue) ? 1 : 0;
        EXPECT_EQ(flagged, c.mode == 2 ? 0 : 1) << c.mode;
        if (c.mode != 2) {
            EXPECT_EQ(t->eventCount, c.listed);
        }
    }
}

TEST(CMidiParserExEdit, InsertAndRemoveKeepTheTrackTables)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2);
    b.AddTrack().Controller(0, 0, 7, 90).NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60);
    CMidiParserEx p;
    ASSERT_EQ(load(p, b.Build()), 0);
    size_t volumeIndex = 0;
    for (size_t i = 0; i < p.GetEventCount(); ++i)
        if (p.GetEvent(i)->status == 0xB0) volumeIndex = i;
    ASSERT_EQ(p.GetEvent(volumeIndex)->flags, CMidiEvent::kInitialValue);

    // Removing the initial volume clears its seen flag and keeps the value.
    const uint32_t listed = p.GetTrackEventCount(1);
    EXPECT_EQ(p.RemoveEvent(volumeIndex), int(listed));
    EXPECT_EQ(p.GetTrack(1)->volumeSeen, 0);
    EXPECT_EQ(p.GetTrack(1)->volume, 90);
    EXPECT_EQ(p.GetTrack(1)->modified, 1u);

    // Inserting a flagged event always overwrites the initial value.
    EXPECT_EQ(p.InsertEvent(1, channelEvent(0, 0xB0, 7, 64, 1, CMidiEvent::kInitialValue)), int(listed));
    EXPECT_EQ(p.GetTrack(1)->volume, 64);
    EXPECT_EQ(p.GetTrack(1)->volumeSeen, 1);
    // An ordinary event is listed.
    EXPECT_EQ(p.AppendEvent(channelEvent(100, 0xB0, 1, 3, 1)), int(listed) + 1);
    EXPECT_EQ(p.GetTrackTotalEvents(1), 4u);

    // Refused: no event, a track above 64; an index outside the array.
    EXPECT_EQ(p.InsertEvent(0, nullptr), -1);
    EXPECT_EQ(p.InsertEvent(0, channelEvent(0, 0x90, 1, 1, 65)), -1);
    EXPECT_EQ(p.RemoveEvent(p.GetEventCount()), -1);
}

TEST(CMidiParserExEdit, InsertedNameAndPortEvents)
{
    CMidiParserEx p;
    auto meta = [](std::vector<uint8_t> bytes, uint8_t flags) {
        auto e = std::make_unique<CMidiEvent>();
        e->SetData(bytes.data(), uint32_t(bytes.size()));
        e->track = 4;
        e->flags = flags;
        return e;
    };
    std::vector<uint8_t> name{0xFF, 0x03, 20};
    for (int i = 0; i < 20; ++i)
        name.push_back(uint8_t('a' + i));
    EXPECT_EQ(p.AppendEvent(meta(name, CMidiEvent::kTrackName)), 0);
    EXPECT_EQ(p.GetTrack(4)->name, "abcdefghijklmnop"); // 16 characters here
    // A length field that claims more than the event holds is bounded by the event.
    EXPECT_EQ(p.AppendEvent(meta({0xFF, 0x03, 0x7F, 'x', 'y'}, CMidiEvent::kTrackName)), 0);
    EXPECT_EQ(p.GetTrack(4)->name, "xy");
    EXPECT_EQ(p.AppendEvent(meta({0xFF, 0x21, 0x01, 0x03}, CMidiEvent::kFirstPort)), 0);
    EXPECT_EQ(p.GetTrack(4)->port, 3);
    EXPECT_EQ(p.GetTrackTotalEvents(4), 3u);
    EXPECT_EQ(p.RemoveEvent(2), 0);
    EXPECT_EQ(p.GetTrack(4)->portSeen, 0);
}

TEST(CMidiParserExEdit, RemovingCutsTheMapAfterTheLastEvent)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2);
    b.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).Marker(384 * 5, "end");
    CMidiParserEx p;
    ASSERT_EQ(load(p, b.Build()), 0);
    EXPECT_EQ(p.GetTimeSigCount(), 6u);
    EXPECT_EQ(p.RemoveEvent(p.GetEventCount() - 1), 1); // the note-on is listed, its note-off is not
    EXPECT_EQ(p.GetTimeSigCount(), 1u);
}

TEST(CMidiParserExEdit, PairNoteOffAndRenumber)
{
    CMidiParserEx p;
    p.AppendEvent(channelEvent(0, 0x92, 60, 100, 3));
    p.AppendEvent(channelEvent(10, 0x92, 60, 100, 4)); // another track
    p.AppendEvent(channelEvent(20, 0x82, 60, 0, 3));
    for (size_t i = 0; i < 3; ++i)
        p.GetEvent(i)->paired = 0;
    EXPECT_EQ(p.PairNoteOff(2), 1);
    EXPECT_EQ(p.GetEvent(0)->duration, 20u);
    EXPECT_EQ(p.GetEvent(0)->pairId, p.GetEvent(2)->pairId);
    EXPECT_EQ(p.GetEvent(1)->paired, 0u);
    EXPECT_EQ(p.PairNoteOff(2), 0); // already paired

    p.GetEvent(1)->state = 66;
    p.Renumber(1);
    EXPECT_EQ(p.GetEvent(1)->index, 1u);
    EXPECT_EQ(p.GetEvent(1)->state, 0);
}

TEST(CMidiParserExEdit, SortKeepsTheOrderOfEqualTimes)
{
    CMidiParserEx p;
    const uint32_t times[] = {5, 0, 5, 0, 3, 5};
    for (uint8_t i = 0; i < 6; ++i)
        p.AppendEvent(channelEvent(times[i], 0xB0, 20, i, 1)); // the value names the event
    p.SortEvents();
    std::vector<int> order;
    for (const auto& e : p.GetEvents())
        order.push_back(e->data[1]);
    EXPECT_EQ(order, (std::vector<int>{1, 3, 4, 0, 2, 5}));

    p.DeleteAllEvents();
    EXPECT_EQ(p.GetEventCount(), 0u);
    EXPECT_EQ(p.GetLastEventIndex(), -1);
    p.AppendEvent(channelEvent(0, 0x90, 60, 1, 1));
    EXPECT_EQ(p.GetLastEventIndex(), -1); // the event at index 0 is never the answer
}

TEST(CMidiParserExEdit, TrackQueries)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 4, 2).Marker(500, "late");
    b.AddTrack()
        .Port(0, 0)
        .Controller(0, 0, 7, 1)
        .Text(40, 0x05, "la")
        .NoteOn(50, 0, 60, 1)
        .NoteOff(60, 0, 60);
    b.AddTrack().SysEx(5, {0x7E, 0xF7}).Text(30, 0x01, "t");
    CMidiParserEx p;
    ASSERT_EQ(load(p, b.Build()), 0);
    EXPECT_EQ(p.GetEndTickOfTrack(1), 61u);
    EXPECT_EQ(p.GetEndTickOfTrack(0), 501u);
    EXPECT_EQ(p.GetEndTickOfTrack(9), 0u);
    EXPECT_EQ(p.GetSequenceEndTick(), 61u);
    EXPECT_EQ(p.GetFirstContentTick(1), 0u);  // the volume controller
    EXPECT_EQ(p.GetFirstContentTick(2), 30u); // a text event; the sysex does not count
    const int64_t last = p.GetLastEventIndex();
    ASSERT_GT(last, 0);
    EXPECT_EQ(p.GetEvent(size_t(last))->time, 60u); // the late marker is on track 0
    EXPECT_EQ(p.GetTrackEventCount(70), 0u);
    p.SetTrackModified(2, 1);
    EXPECT_EQ(p.HasModifiedTrack(), 1);
}

// The order of the events of a format-1 file must be the one of inserting
// each track's first event after the events at tick 0, appending the rest,
// and sorting by time (equal times by position) at every track.
TEST(CMidiParserExLoad, Format1OrderEqualsInsertAndResort)
{
    struct Item {
        uint32_t time;
        int track;
        int seq;
    };
    auto reference = [](const std::vector<std::vector<uint32_t>>& tracks) {
        std::vector<Item> a;
        auto sortByTime = [&a] {
            std::stable_sort(a.begin(), a.end(),
                             [](const Item& x, const Item& y) { return x.time < y.time; });
        };
        for (size_t k = 0; k < tracks.size(); ++k) {
            size_t p = 0;
            if (k >= 1) {
                sortByTime();
                p = 0;
                while (p < a.size() && a[p].time == 0)
                    ++p;
            }
            for (size_t j = 0; j < tracks[k].size(); ++j) {
                const Item item{tracks[k][j], int(k), int(j)};
                if (p < a.size()) {
                    a.insert(a.begin() + std::ptrdiff_t(p), item);
                    p = a.size();
                } else {
                    a.push_back(item);
                    p = a.size();
                }
            }
        }
        sortByTime();
        return a;
    };

    std::mt19937 rng(2024);
    for (int round = 0; round < 60; ++round) {
        const int trackCount = 2 + int(rng() % 7);
        std::vector<std::vector<uint32_t>> times(static_cast<size_t>(trackCount));
        SmfBuilder b(1, 96);
        for (int k = 0; k < trackCount; ++k) {
            const int n = int(rng() % 12);
            uint32_t t = (rng() % 3 == 0) ? 0 : rng() % 20;
            SmfTrack& track = b.AddTrack();
            if (k == 0) {
                times[0].push_back(0);
                track.TimeSig(0, 4, 2);
            }
            for (int j = 0; j < n; ++j) {
                times[size_t(k)].push_back(t);
                // Unique identity: track in the controller number, position in the value.
                const int seq = int(times[size_t(k)].size()) - 1;
                if (k == 0)
                    track.Marker(t, std::to_string(seq));
                else
                    track.Controller(t, k % 16, 20 + k, seq);
                t += (rng() % 3 == 0) ? 0 : rng() % 15;
            }
        }
        CMidiParserEx p;
        ASSERT_EQ(load(p, b.Build()), 0);
        const auto expected = reference(times);
        ASSERT_EQ(p.GetEventCount(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const CMidiEvent& e = *p.GetEvent(i);
            int track, seq;
            if (e.status == 0xFF && e.data[1] == 0x58) {
                track = 0, seq = 0;
            } else if (e.status == 0xFF) {
                track = 0, seq = std::stoi(std::string(e.data.begin() + 3, e.data.begin() + e.length));
            } else {
                track = e.data[0] - 20, seq = e.data[1];
            }
            EXPECT_EQ(e.time, expected[i].time) << round << " at " << i;
            EXPECT_EQ(track, expected[i].track) << round << " at " << i;
            EXPECT_EQ(seq, expected[i].seq) << round << " at " << i;
            EXPECT_EQ(e.index, i);
        }
    }
}

TEST(CMidiParserExNew, CreatesTheNewFileImage)
{
    CMidiParserEx p;
    p.SetAuthor("Ann");
    p.SetCopyrightYear("2031");
    uint32_t needed = 0;
    ASSERT_EQ(p.GetNewFileSize(0, needed), 0);
    std::vector<uint8_t> image(needed);
    uint32_t size = needed;
    ASSERT_EQ(p.CreateNew(0, image.data(), size), 0);
    EXPECT_EQ(size, needed);

    const std::string copyright = "Copyright \xA9 2031 by Ann"; // "©" as the single byte 0xA9
    std::vector<uint8_t> track{0x00, 0xFF, 0x03, 0x08, 'u',  'n',  't',  'i',
                               't',  'l',  'e',  'd',  0x00, 0xFF, 0x02, uint8_t(copyright.size())};
    track.insert(track.end(), copyright.begin(), copyright.end());
    track.insert(track.end(), {0x00, 0xFF, 0x01, 0x03, 'A',  'n',  'n',  0x00, 0xFF, 0x58, 0x04,
                               0x04, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x59, 0x02, 0x00, 0x00, 0x00,
                               0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0, 0x00, 0xFF, 0x2F, 0x00});
    SmfBuilder expected(1, 384);
    expected.AddTrack().NoEndOfTrack().Raw(0, std::vector<uint8_t>(track.begin() + 1, track.end()));
    EXPECT_EQ(image, expected.Build());
    EXPECT_EQ(needed, 22 + track.size());
}

TEST(CMidiParserExNew, SixteenChannelTracksLoadBack)
{
    CMidiParserEx p;
    p.SetAuthor(std::string(200, 'x')); // a copyright text with a two-byte length field
    uint32_t needed = 0;
    ASSERT_EQ(p.GetNewFileSize(1, needed), 0);
    std::vector<uint8_t> image(needed + 16, 0xEE);
    uint32_t size = needed - 1;
    EXPECT_EQ(p.CreateNew(1, image.data(), size), CMidiFile::kBadByteCount); // one byte short
    EXPECT_EQ(image[needed - 1], 0xEE);
    size = uint32_t(image.size());
    ASSERT_EQ(p.CreateNew(1, image.data(), size), 0);
    EXPECT_EQ(size, needed);
    image.resize(size);

    ASSERT_EQ(load(p, image), 0);
    EXPECT_EQ(p.GetTrackCount(), 17);
    EXPECT_EQ(p.GetDivision(), 384);
    EXPECT_EQ(p.GetInitialTempo(), 100);
    for (int k = 1; k <= 16; ++k) {
        const auto* t = p.GetTrack(k);
        char name[16];
        std::snprintf(name, sizeof name, "Track %02d", k);
        EXPECT_EQ(t->name, name);
        EXPECT_EQ(t->channel, k - 1);
        EXPECT_EQ(t->volume, 127);
        EXPECT_EQ(t->pan, 63);
        EXPECT_EQ(t->rawSize, 28u);
        EXPECT_EQ(t->eventCount, 0u);
        EXPECT_EQ(t->totalCount, 4u);
    }
    int rc = -1;
    EXPECT_EQ(writeBack(p, rc), image);
}

TEST(CMidiParserExEdit, ChangeDivisionScalesTimesAndTheMap)
{
    SmfBuilder b(1, 96);
    b.AddTrack().TimeSig(0, 3, 2).TimeSig(288 * 2, 4, 2);
    b.AddTrack().NoteOn(100, 0, 60, 1).NoteOff(700, 0, 60).Marker(1000, "x");
    CMidiParserEx p;
    ASSERT_EQ(load(p, b.Build()), 0);
    std::vector<std::tuple<uint32_t, uint32_t, uint32_t, uint32_t>> before;
    for (const auto& e : p.GetEvents())
        before.emplace_back(e->time, e->measure, e->beat, e->tick);

    ASSERT_EQ(p.ChangeDivision(96, 384), 0);
    EXPECT_EQ(p.GetDivision(), 384);
    EXPECT_EQ(p.GetMeasureStartTick(2), 288u * 2 * 4);
    for (size_t i = 0; i < p.GetEventCount(); ++i) {
        const auto& e = *p.GetEvent(i);
        const auto [time, measure, beat, tick] = before[i];
        EXPECT_EQ(e.time, time * 4);
        EXPECT_EQ(e.measure, measure);
        EXPECT_EQ(e.beat, beat);
        EXPECT_EQ(e.tick, tick * 4);
        if ((e.status & 0xF0) == 0x90) {
            EXPECT_EQ(e.duration, 600u * 4);
        }
    }
    EXPECT_EQ(p.HasModifiedTrack(), 1);
    ASSERT_EQ(p.ChangeDivision(384, 96), 0);
    for (size_t i = 0; i < p.GetEventCount(); ++i)
        EXPECT_EQ(p.GetEvent(i)->time, std::get<0>(before[i]));
    EXPECT_EQ(p.ChangeDivision(0, 96), CMidiFile::kBadMThdChunk);
}

TEST(CMidiParserExErrors, TextsOfTheWholeChain)
{
    CMidiParserEx p;
    EXPECT_EQ(errorText(p, 8), "CMidiFile error: 8 - Reading past end of file");
    EXPECT_EQ(errorText(p, 102), "CMidiFileEx error: 102 - Time signature found out of zero tick");
    EXPECT_EQ(errorText(p, 106), "CMidiParserEx error: 106 - Not really an error");
    EXPECT_EQ(errorText(p, 114), "CMidiParserEx error: 114 - Max track number limit exceeded");
    EXPECT_EQ(errorText(p, 115), "CMidiParserEx error: 115 - Internal mapper error");
    EXPECT_EQ(errorText(p, 120), "CMidiParserEx error: 120 - Found incorrect number of MIDI Tracks");
    EXPECT_EQ(errorText(p, 121), "");
    char buffer[80];
    EXPECT_EQ(p.ReportError(buffer, 20, 117), 19);
}
