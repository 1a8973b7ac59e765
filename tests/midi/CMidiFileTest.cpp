#include "midi/CMidiFile.h"
#include "platform/FileIo.h"
#include "tests/midi/MidiTestHelpers.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zib;
using namespace zib::test;

namespace {

int parseImage(CMidiFile& f, const std::vector<uint8_t>& image)
{
    return f.ParseMemory(image.data(), uint32_t(image.size()));
}

std::vector<uint8_t> oneTrack(const std::function<void(SmfTrack&)>& fill, uint16_t format = 0)
{
    SmfBuilder b(format, 96);
    fill(b.AddTrack());
    return b.Build();
}

std::vector<uint8_t> bytesOf(std::string_view text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

} // namespace

// ---- Reading ---------------------------------------------------------------

TEST(CMidiFileRead, CallsTheCallbacksInFileOrder)
{
    SmfBuilder b(1, 480);
    b.AddTrack().TrackName(0, "Tempo").Tempo(0, 500000).TimeSig(0, 3, 2).KeySig(0, -2, 1);
    b.AddChunk("XFIH", {1, 2, 3});
    b.AddTrack()
        .Port(0, 1)
        .Meta(0, 0x20, {5})
        .Program(0, 2, 7)
        .NoteOn(10, 2, 60, 90)
        .NoteOff(20, 2, 60)
        .SysEx(30, {0x43, 0x10, 0xF7})
        .SequenceNumber(30, 7)
        .Meta(30, 0x54, {1, 2, 3, 4, 5})
        .EndAt(40);
    const auto image = b.Build();

    EventRecorder r;
    ASSERT_EQ(parseImage(r, image), 0);
    EXPECT_EQ(r.calls, (std::vector<std::string>{"header", "track", "text", "tempo", "time", "keysig", "end",
                                                 "chunk", "track", "port", "chan", "channel", "channel",
                                                 "channel", "sysex", "seqnum", "smpte", "end"}));
    EXPECT_EQ(r.GetFormat(), 1);
    EXPECT_EQ(r.GetTrackCount(), 2);
    EXPECT_EQ(r.GetDivision(), 480);
    EXPECT_EQ(r.unknownChunks, (std::vector<uint32_t>{0x58464948}));
    EXPECT_EQ(r.GetTrackIndex(), 1); // the unknown chunk is not counted
    EXPECT_EQ(r.trackEnds, (std::vector<uint32_t>{0, 40}));
    EXPECT_EQ(r.events[9], (RecordedEvent{30, 1, {0xF0, 0x03, 0x43, 0x10, 0xF7}}));
}

TEST(CMidiFileRead, FillsTheEventBufferOfFixedLengthMetaEvents)
{
    struct Probe : EventRecorder {
        uint32_t tempo = 0;
        uint8_t bpm = 0, tempoLength = 0, numerator = 0, denominator = 0;
        int OnMetaTempo() override
        {
            tempo = m_eventTempo;
            bpm = m_eventData[5];
            tempoLength = m_eventData[0];
            return 0;
        }
        int OnMetaTime() override
        {
            numerator = m_eventData[1];
            denominator = m_eventData[2];
            return 0;
        }
    };
    const auto image = oneTrack([](SmfTrack& t) { t.Tempo(0, 500000).TimeSig(0, 6, 3); });
    Probe p;
    ASSERT_EQ(parseImage(p, image), 0);
    EXPECT_EQ(p.tempo, 500000u);
    EXPECT_EQ(p.bpm, 120);
    EXPECT_EQ(p.tempoLength, 3);
    EXPECT_EQ(p.numerator, 6);
    EXPECT_EQ(p.denominator, 3); // the file's power of two

    Probe asNote;
    asNote.SetFlags(CMidiFile::kDenominatorAsNote);
    ASSERT_EQ(parseImage(asNote, image), 0);
    EXPECT_EQ(asNote.denominator, 8);
}

TEST(CMidiFileRead, RunningStatusSurvivesMetaEvents)
{
    // note-on, tempo, then data bytes only: they repeat the note-on status
    const auto image = oneTrack([](SmfTrack& t) {
        t.NoteOn(0, 3, 60, 100).Tempo(5, 400000).Raw(10, {62, 101});
    });
    EventRecorder r;
    ASSERT_EQ(parseImage(r, image), 0);
    ASSERT_EQ(r.events.size(), 3u);
    EXPECT_EQ(r.events[2], (RecordedEvent{10, 0, {0x93, 62, 101}}));
}

// A data byte with bit 7 set is data, not a misplaced status: files in the
// wild carry controller values such as 0xEE.
TEST(CMidiFileRead, DataBytesWithBit7AreTakenAsTheyAre)
{
    const auto image = oneTrack([](SmfTrack& t) {
        t.Raw(0, {0xB0, 7, 0xEE}).Raw(1, {0xD0, 0x95}).Raw(2, {0x90, 0x80, 0xFF}).Raw(3, {60, 100});
        t.Raw(4, {0xC5, 0xC5});
    });
    EventRecorder r;
    ASSERT_EQ(parseImage(r, image), 0);
    EXPECT_EQ(r.events, (std::vector<RecordedEvent>{{0, 0, {0xB0, 7, 0xEE}},
                                                    {1, 0, {0xD0, 0x95}},
                                                    {2, 0, {0x90, 0x80, 0xFF}},
                                                    {3, 0, {0x90, 60, 100}},
                                                    {4, 0, {0xC5, 0xC5}}}));
}

TEST(CMidiFileRead, BytesAfterEndOfTrackAreDecodedAsEvents)
{
    const auto image = oneTrack([](SmfTrack& t) {
        t.NoteOn(0, 0, 60, 1).TrailingBytes({0x00, 0x90, 61, 2});
    });
    EventRecorder r;
    ASSERT_EQ(parseImage(r, image), 0);
    ASSERT_EQ(r.events.size(), 2u);
    EXPECT_EQ(r.events[1].bytes, (std::vector<uint8_t>{0x90, 61, 2}));
    EXPECT_EQ(r.calls.back(), "channel");
}

TEST(CMidiFileRead, DeltaTimesWithFlag)
{
    const auto image = oneTrack([](SmfTrack& t) { t.NoteOn(10, 0, 60, 1).NoteOff(25, 0, 60); });
    EventRecorder r;
    r.SetFlags(CMidiFile::kDeltaTimes);
    ASSERT_EQ(parseImage(r, image), 0);
    EXPECT_EQ(r.events[0].time, 10u);
    EXPECT_EQ(r.events[1].time, 15u);
    EXPECT_EQ(r.GetTrackTime(), 25u);
}

TEST(CMidiFileRead, SysExFlagFollowsTheEvents)
{
    struct Probe : CMidiFile {
        std::vector<bool> inSysEx;
        int OnChannelEvent() override { return Note(); }
        int OnSysEx() override { return Note(); }
        int Note()
        {
            inSysEx.push_back((GetFlags() & kInSysEx) != 0);
            return 0;
        }
    };
    const auto image = oneTrack([](SmfTrack& t) {
        t.SysEx(0, {1, 0xF7}).SysEx(0, {2}, 0xF7).NoteOn(0, 0, 1, 1).SysEx(0, {3}, 0xF7);
    });
    Probe p;
    ASSERT_EQ(parseImage(p, image), 0);
    EXPECT_EQ(p.inSysEx, (std::vector<bool>{true, true, false, false}));
}

TEST(CMidiFileRead, CallbacksReadTheEventDataThemselves)
{
    struct Probe : CMidiFile {
        std::vector<uint8_t> data;
        uint32_t leftBefore = 0;
        int OnSysEx() override
        {
            leftBefore = GetEventBytes();
            data.resize(2);
            return ReadBytes(data.data(), 2); // the rest is skipped for it
        }
    };
    const auto image = oneTrack([](SmfTrack& t) { t.SysEx(0, {7, 8, 9, 0xF7}).NoteOn(1, 0, 1, 1); });
    Probe p;
    ASSERT_EQ(parseImage(p, image), 0);
    EXPECT_EQ(p.leftBefore, 4u);
    EXPECT_EQ(p.data, (std::vector<uint8_t>{7, 8}));
}

TEST(CMidiFileRead, CallbackReadsStayInsideTheChunk)
{
    struct Probe : CMidiFile {
        int readResult = -1, skipResult = -1, backResult = -1;
        int OnSysEx() override
        {
            uint8_t buffer[64];
            readResult = ReadBytes(buffer, GetChunkBytes() + 1);
            skipResult = Skip(int64_t(GetBytesLeft()) + 1);
            backResult = Skip(-int64_t(1) << 40);
            return 0;
        }
    };
    SmfBuilder b(0, 96);
    b.AddTrack().SysEx(0, {1, 0xF7});
    b.AddChunk("JUNK", {1, 2, 3, 4});
    const auto image = b.Build();
    Probe p;
    ASSERT_EQ(parseImage(p, image), 0);
    EXPECT_EQ(p.readResult, CMidiFile::kBadMTrkChunk);
    EXPECT_EQ(p.skipResult, CMidiFile::kSeekPastEnd);
    EXPECT_EQ(p.backResult, CMidiFile::kSeekBeforeBegin);
}

TEST(CMidiFileRead, CallbackCodeStopsTheParse)
{
    struct Stop : CMidiFile {
        int channelEvents = 0;
        int OnChannelEvent() override { return ++channelEvents == 2 ? 777 : 0; }
    };
    const auto image =
        oneTrack([](SmfTrack& t) { t.NoteOn(0, 0, 1, 1).NoteOn(0, 0, 2, 1).NoteOn(0, 0, 3, 1); });
    Stop s;
    EXPECT_EQ(parseImage(s, image), 777);
    EXPECT_EQ(s.channelEvents, 2);
}

TEST(CMidiFileRead, RawTrackRequest)
{
    struct Raw : CMidiFile {
        std::vector<uint8_t> chunk;
        uint32_t asked = 0; // 0: the chunk length
        int channelEvents = 0;
        int OnTrackStart() override
        {
            chunk.assign(asked ? asked : GetChunkBytes(), 0);
            RequestRawRead(chunk.data(), uint32_t(chunk.size()));
            return 0;
        }
        int OnChannelEvent() override { return ++channelEvents, 0; }
    };
    SmfBuilder b(0, 96);
    SmfTrack& t = b.AddTrack().NoteOn(0, 0, 60, 1);
    const auto image = b.Build();
    Raw r;
    ASSERT_EQ(parseImage(r, image), 0);
    EXPECT_EQ(r.chunk, t.Bytes());
    EXPECT_EQ(r.channelEvents, 0);

    Raw wrongSize; // the request must be exactly the chunk length
    wrongSize.asked = 3;
    EXPECT_EQ(parseImage(wrongSize, image), CMidiFile::kBadMTrkChunk);
}

TEST(CMidiFileRead, RefusesBrokenFiles)
{
    struct Case {
        const char* name;
        std::function<std::vector<uint8_t>()> image;
        int code;
    };
    const Case cases[] = {
        {"starts with MTrk", [] { return SmfBuilder().HeaderId("MTrk").Build(); }, CMidiFile::kMissingMThd},
        {"second MThd",
         [] {
             SmfBuilder b;
             b.AddTrack();
             b.AddChunk("MThd", {0, 0, 0, 1, 0, 96});
             return b.Build();
         },
         CMidiFile::kUnexpectedChunkHeader},
        {"header length 8", [] { return SmfBuilder().HeaderLength(8).Build(); }, CMidiFile::kBadMThdChunk},
        {"track longer than the image",
         [] {
             SmfBuilder b;
             b.AddTrack().NoteOn(0, 0, 1, 1).LengthOverride(1000);
             return b.Build();
         },
         CMidiFile::kBadMTrkChunk},
        {"empty image", [] { return std::vector<uint8_t>(); }, CMidiFile::kReadPastEnd},
        // Damage is named by the chunk it hits: the header, a track, or bytes
        // where a chunk should start.
        {"truncated header", [] { return SmfBuilder::Truncated(SmfBuilder().Build(), 11); },
         CMidiFile::kBadMThdChunk},
        {"header cut in its length", [] { return SmfBuilder::Truncated(SmfBuilder().Build(), 6); },
         CMidiFile::kBadMThdChunk},
        {"text after MThd", [] { return bytesOf("MThd is not all it takes to be a MIDI file"); },
         CMidiFile::kBadMThdChunk},
        {"text where the first track should be",
         [] {
             auto image = SmfBuilder().AnnouncedTracks(1).Build();
             const auto junk = bytesOf("no track here, only words");
             image.insert(image.end(), junk.begin(), junk.end());
             return image;
         },
         CMidiFile::kNotExpectedChunkId},
        {"trailing bytes shorter than a chunk header",
         [] {
             auto image = SmfBuilder().Build();
             image.push_back(0);
             return image;
         },
         CMidiFile::kNotExpectedChunkId},
        {"unknown chunk longer than the image",
         [] {
             SmfBuilder b;
             b.AddTrack();
             b.AddChunk("XFIH", {1, 2}, 100);
             return b.Build();
         },
         CMidiFile::kNotExpectedChunkId},
        {"track cut in its length",
         [] {
             SmfBuilder b;
             b.AddTrack();
             return SmfBuilder::Truncated(b.Build(), 14 + 6);
         },
         CMidiFile::kBadMTrkChunk},
        {"second MThd cut short",
         [] {
             SmfBuilder b;
             b.AddTrack();
             b.AddChunk("MThd", {0, 0, 0, 1, 0, 96}, 60);
             return b.Build();
         },
         CMidiFile::kUnexpectedChunkHeader},
        {"tempo of length 4", [] { return oneTrack([](SmfTrack& t) {
                                       t.Meta(0, 0x51, {0, 1, 2, 3});
                                   }); },
         CMidiFile::kBadMetaEventLen},
        {"tempo 0", [] { return oneTrack([](SmfTrack& t) { t.Tempo(0, 0); }); },
         CMidiFile::kInvalidEventData},
        {"time signature of length 3",
         [] { return oneTrack([](SmfTrack& t) {
                  t.Meta(0, 0x58, {4, 2, 24});
              }); },
         CMidiFile::kBadMetaEventLen},
        {"status 0xF1", [] { return oneTrack([](SmfTrack& t) {
                                 t.Raw(0, {0xF1, 0x00});
                             }); },
         CMidiFile::kInvalidEventCode},
        {"status 0xF8", [] { return oneTrack([](SmfTrack& t) { t.Raw(0, {0xF8}); }); },
         CMidiFile::kInvalidEventCode},
        {"data byte without running status",
         [] { return oneTrack([](SmfTrack& t) {
                  t.Raw(0, {0x40, 0x40});
              }); }, CMidiFile::kInvalidEventCode},
        // An event that runs past its chunk, though not past the image, is
        // refused instead of reading the next chunk's header as data.
        {"sysex past its chunk",
         [] {
             SmfBuilder b(1, 96);
             b.AddTrack().Raw(0, {0xF0, 0x20}).NoEndOfTrack();
             b.AddTrack().NoteOn(0, 0, 1, 1);
             return b.Build();
         },
         CMidiFile::kBadMTrkChunk},
        {"meta data past its chunk",
         [] {
             SmfBuilder b(1, 96);
             b.AddTrack().Raw(0, {0xFF, 0x01, 0x10, 'a'}).NoEndOfTrack();
             b.AddTrack();
             return b.Build();
         },
         CMidiFile::kBadMTrkChunk},
        {"note cut by the chunk end",
         [] {
             SmfBuilder b(1, 96);
             b.AddTrack().Raw(0, {0x90, 60}).NoEndOfTrack();
             b.AddTrack();
             return b.Build();
         },
         CMidiFile::kBadMTrkChunk},
        {"delta cut by the chunk end",
         [] {
             SmfBuilder b(1, 96);
             b.AddTrack().Raw(0, {0x90, 60, 1, 0x81}).NoEndOfTrack();
             b.AddTrack();
             return b.Build();
         },
         CMidiFile::kBadMTrkChunk},
        {"track time past 32 bits",
         [] {
             // 17 deltas of 2^28 - 1 ticks under running status
             std::vector<uint8_t> bytes{0x90, 60, 1};
             for (int i = 0; i < 17; ++i)
                 bytes.insert(bytes.end(), {0xFF, 0xFF, 0xFF, 0x7F, 60, 1});
             return oneTrack([&bytes](SmfTrack& t) { t.Raw(0, bytes); });
         },
         CMidiFile::kDataCorrupted},
    };
    for (const auto& c : cases) {
        EventRecorder r;
        const auto image = c.image();
        EXPECT_EQ(parseImage(r, image), c.code) << c.name;
    }
}

TEST(CMidiFileRead, TimeSignatureDenominatorsAsNoteValuesMustBePowersOneToSeven)
{
    for (int power : {0, 8}) {
        EventRecorder r;
        r.SetFlags(CMidiFile::kDenominatorAsNote);
        const auto image = oneTrack([power](SmfTrack& t) { t.TimeSig(0, 4, power); });
        EXPECT_EQ(parseImage(r, image), CMidiFile::kInvalidDenominator) << power;
    }
}

TEST(CMidiFileRead, ParsesANamedFile)
{
    TempDir dir;
    const auto image = oneTrack([](SmfTrack& t) { t.NoteOn(0, 0, 60, 1); });
    ASSERT_EQ(writeFileAtomically(dir / "a.mid", image), FileIoError::None);
    EventRecorder r;
    EXPECT_EQ(r.ParseFile(dir / "a.mid"), 0);
    EXPECT_EQ(r.events.size(), 1u);
    EventRecorder missing;
    EXPECT_EQ(missing.ParseFile(dir / "none.mid"), CMidiFile::kFileOpenFailed);
}

TEST(CMidiFileRead, ParseWithoutSourceFailsWithBadIoFlag)
{
    CMidiFile f;
    EXPECT_EQ(f.Parse(), CMidiFile::kBadIoFlag);
}

// ---- Writing ---------------------------------------------------------------

namespace {

// Writes one event list per track through the writing callbacks.
class ListWriter : public CMidiFile {
public:
    struct Out {
        uint32_t time;
        uint8_t status;
        std::vector<uint8_t> data; // event data bytes 0..
        std::vector<uint8_t> payload = {};
        uint32_t tempo = 0;
    };
    std::vector<std::vector<Out>> tracks;
    uint16_t format = 1;
    uint16_t division = 96;
    uint8_t seqHigh = 0, seqLow = 0;

protected:
    int OnHeader() override
    {
        SetHeader(format, uint16_t(tracks.size()), division);
        return 0;
    }
    int OnTrackStart() override
    {
        m_next = 0;
        return 0;
    }
    int OnMetaSeqNum() override
    {
        m_eventData[1] = seqHigh;
        m_eventData[2] = seqLow;
        return 0;
    }
    int OnChannelEvent() override
    {
        const auto& list = tracks[size_t(GetTrackIndex())];
        const Out& e = m_next < list.size() ? list[m_next] : m_end;
        ++m_next;
        m_eventTime = e.time;
        m_status = e.status;
        std::copy(e.data.begin(), e.data.end(), m_eventData);
        m_eventPayload = e.payload;
        m_eventTempo = e.tempo;
        return 0;
    }

private:
    size_t m_next = 0;
    Out m_end{0, 0xFF, {0x2F}};
};

std::vector<uint8_t> write(ListWriter& w, int* code = nullptr, uint32_t capacity = 4096)
{
    std::vector<uint8_t> out(capacity);
    const int rc = w.WriteToMemory(out.data(), capacity);
    if (code) *code = rc;
    out.resize(rc == 0 ? w.GetBytesWritten() : 0);
    return out;
}

} // namespace

TEST(CMidiFileWrite, WritesHeaderSequenceNumberAndEvents)
{
    ListWriter w;
    w.seqLow = 5;
    w.tracks = {{{0, 0x90, {60, 100}},
                 {10, 0x90, {62, 100}},
                 {20, 0xFF, {0x51}, {}, 500000},
                 {20, 0x90, {64, 100}},
                 {30, 0xC0, {5}},
                 {30, 0xFF, {0x2F}}}};
    int rc = -1;
    const auto image = write(w, &rc);
    ASSERT_EQ(rc, 0);
    const std::vector<uint8_t> expected = {
        'M',  'T',  'h',  'd',  0,    0,    0,    6,  0, 1, 0, 1, 0, 96, //
        'M',  'T',  'r',  'k',  0,    0,    0,    31,                    //
        0x00, 0xFF, 0x00, 0x02, 0x00, 0x05,       // every track opens with its sequence number
        0x00, 0x90, 60,   100,                    //
        10,   62,   100,                          // the status once for two note-ons
        10,   0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, //
        0,    0x90, 64,   100,                    // after a meta event the status again
        10,   0xC0, 5,                            //
        0,    0xFF, 0x2F, 0x00};
    EXPECT_EQ(image, expected);
    EXPECT_EQ(w.GetBytesWritten(), expected.size());
}

// A first data byte with bit 7 set cannot follow running status (it would
// read as a status): the event carries its status, and the file reads back.
TEST(CMidiFileWrite, DataBytesWithBit7KeepTheirStatus)
{
    ListWriter w;
    w.tracks = {{{0, 0x90, {60, 100}}, {0, 0x90, {0xAB, 0x5A}}, {0, 0x90, {61, 0x90}}, {0, 0xFF, {0x2F}}}};
    int rc = -1;
    const auto image = write(w, &rc);
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 28, image.end()),
              (std::vector<uint8_t>{0, 0x90, 60, 100, 0, 0x90, 0xAB, 0x5A, 0, 61, 0x90, 0, 0xFF, 0x2F, 0}));
    EventRecorder r;
    ASSERT_EQ(parseImage(r, image), 0);
    ASSERT_EQ(r.events.size(), 4u); // with the sequence number
    EXPECT_EQ(r.events[2].bytes, (std::vector<uint8_t>{0x90, 0xAB, 0x5A}));
    EXPECT_EQ(r.events[3].bytes, (std::vector<uint8_t>{0x90, 61, 0x90}));
}

TEST(CMidiFileWrite, EventWritersByStatus)
{
    const std::vector<uint8_t> text{'a', 'b'};
    const std::vector<uint8_t> sysex{0x41, 0xF7};
    struct Case {
        ListWriter::Out event;
        std::vector<uint8_t> bytes; // after the delta
    };
    const Case cases[] = {
        {{0, 0xF0, {}, sysex}, {0xF0, 0x02, 0x41, 0xF7}},
        {{0, 0xF7, {}, sysex}, {0xF7, 0x02, 0x41, 0xF7}},
        {{0, 0xF1, {9}}, {0xF7, 0x02, 0xF1, 9}},
        {{0, 0xF2, {1, 2}}, {0xF7, 0x03, 0xF2, 1, 2}},
        {{0, 0xF3, {4}}, {0xF7, 0x02, 0xF3, 4}},
        {{0, 0xF8, {}}, {0xF7, 0x01, 0xF8}},
        {{0, 0xF6, {}}, {0xF7, 0x01, 0xF6}},
        {{0, 0xFF, {0x00, 1, 2}}, {0xFF, 0x00, 0x02, 1, 2}},
        {{0, 0xFF, {0x20, 3}}, {0xFF, 0x20, 0x01, 3}},
        {{0, 0xFF, {0x21, 4}}, {0xFF, 0x21, 0x01, 4}},
        {{0, 0xFF, {0x54, 1, 2, 3, 4, 5}}, {0xFF, 0x54, 0x05, 1, 2, 3, 4, 5}},
        {{0, 0xFF, {0x58, 6, 3, 24, 8}}, {0xFF, 0x58, 0x04, 6, 3, 24, 8}},
        {{0, 0xFF, {0x59, 0xFE, 1}}, {0xFF, 0x59, 0x02, 0xFE, 1}},
        {{0, 0xFF, {0x06}, text}, {0xFF, 0x06, 0x02, 'a', 'b'}},
        {{0, 0xE1, {0, 64}}, {0xE1, 0, 64}},
        {{0, 0xD2, {7}}, {0xD2, 7}},
    };
    for (const auto& c : cases) {
        ListWriter w;
        w.tracks = {{c.event}};
        int rc = -1;
        const auto image = write(w, &rc);
        ASSERT_EQ(rc, 0) << int(c.event.status);
        std::vector<uint8_t> expected{0x00};
        expected.insert(expected.end(), c.bytes.begin(), c.bytes.end());
        expected.insert(expected.end(), {0x00, 0xFF, 0x2F, 0x00});
        // header 14, chunk header 8, sequence number 6
        EXPECT_EQ(std::vector<uint8_t>(image.begin() + 28, image.end()), expected) << int(c.event.status);
    }
}

TEST(CMidiFileWrite, SystemRealTimeF4AndF5AreNotWritten)
{
    for (uint16_t flags : {uint16_t(0), uint16_t(CMidiFile::kDeltaTimes)}) {
        ListWriter w;
        w.SetFlags(flags);
        const bool delta = flags != 0;
        w.tracks = {{{5, 0xF4, {}}, {delta ? 5u : 10u, 0x90, {1, 1}}, {0, 0xFF, {0x2F}}}};
        if (!delta) w.tracks[0][2].time = 10;
        int rc = -1;
        const auto image = write(w, &rc);
        ASSERT_EQ(rc, 0);
        // The note keeps its time 10 either way.
        EXPECT_EQ(std::vector<uint8_t>(image.begin() + 28, image.end()),
                  (std::vector<uint8_t>{10, 0x90, 1, 1, 0, 0xFF, 0x2F, 0x00}));
    }
}

TEST(CMidiFileWrite, TempoAndDenominatorConversionsWithFlags)
{
    ListWriter w;
    w.SetFlags(CMidiFile::kTempoInBpm | CMidiFile::kDenominatorAsNote);
    w.tracks = {{{0, 0xFF, {0x51}, {}, 120}, {0, 0xFF, {0x58, 6, 8, 24, 8}}, {0, 0xFF, {0x2F}}}};
    int rc = -1;
    const auto image = write(w, &rc);
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 28, image.end()),
              (std::vector<uint8_t>{0, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0, 0xFF, 0x58, 0x04, 6, 3, 24, 8,
                                    0, 0xFF, 0x2F, 0x00}));
}

TEST(CMidiFileWrite, DeltaTimesWithFlag)
{
    ListWriter w;
    w.SetFlags(CMidiFile::kDeltaTimes);
    w.tracks = {{{200, 0x90, {1, 1}}, {200, 0x80, {1, 0}}, {0, 0xFF, {0x2F}}}};
    int rc = -1;
    const auto image = write(w, &rc);
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 28, image.end()),
              (std::vector<uint8_t>{0x81, 0x48, 0x90, 1, 1, 0x81, 0x48, 0x80, 1, 0, 0, 0xFF, 0x2F, 0x00}));
}

TEST(CMidiFileWrite, RefusesWhatCannotBeWritten)
{
    struct Case {
        const char* name;
        std::function<void(ListWriter&)> setup;
        int code;
    };
    const Case cases[] = {
        {"format 2", [](ListWriter& w) { w.format = 2; }, CMidiFile::kFormatNotSupported},
        {"no tracks", [](ListWriter& w) { w.tracks.clear(); }, CMidiFile::kInvalidTrackCount},
        {"time going backwards",
         [](ListWriter& w) {
             w.tracks[0] = {{10, 0x90, {1, 1}}, {5, 0x80, {1, 0}}};
         },
         CMidiFile::kBadDeltaTime},
        {"delta of 2^28",
         [](ListWriter& w) {
             w.tracks[0] = {{0x10000000, 0x90, {1, 1}}};
         },
         CMidiFile::kBadDeltaTime},
        {"delta of 2^28 with delta times",
         [](ListWriter& w) {
             w.SetFlags(CMidiFile::kDeltaTimes);
             w.tracks[0] = {{0x10000000, 0x90, {1, 1}}};
         },
         CMidiFile::kBadDeltaTime},
        {"BPM 0",
         [](ListWriter& w) {
             w.SetFlags(CMidiFile::kTempoInBpm);
             w.tracks[0] = {{0, 0xFF, {0x51}, {}, 0}};
         },
         CMidiFile::kInvalidEventData},
        {"BPM 3 needs more than 24 bits",
         [](ListWriter& w) {
             w.SetFlags(CMidiFile::kTempoInBpm);
             w.tracks[0] = {{0, 0xFF, {0x51}, {}, 3}};
         },
         CMidiFile::kInvalidEventData},
        {"tempo 0",
         [](ListWriter& w) {
             w.tracks[0] = {{0, 0xFF, {0x51}, {}, 0}};
         },
         CMidiFile::kInvalidEventData},
        {"denominator 3 as note value",
         [](ListWriter& w) {
             w.SetFlags(CMidiFile::kDenominatorAsNote);
             w.tracks[0] = {{0, 0xFF, {0x58, 4, 3, 24, 8}}};
         },
         CMidiFile::kInvalidDenominator},
        {"no status",
         [](ListWriter& w) {
             w.tracks[0] = {{0, 0x45, {1, 1}}};
         },
         CMidiFile::kInvalidEventCode},
    };
    for (const auto& c : cases) {
        ListWriter w;
        w.tracks = {{{0, 0x90, {1, 1}}}};
        c.setup(w);
        int rc = -1;
        write(w, &rc);
        EXPECT_EQ(rc, c.code) << c.name;
    }
}

TEST(CMidiFileWrite, SysExDataLongerThanALengthFieldIsRefused)
{
    struct Long : CMidiFile {
        uint8_t byte = 1;
        int OnHeader() override
        {
            SetHeader(0, 1, 96);
            return 0;
        }
        int OnChannelEvent() override
        {
            m_status = 0xF0;
            // A length of 2^28 is checked before any byte is read.
            m_eventPayload = std::span<const uint8_t>(&byte, size_t(1) << 28);
            return 0;
        }
    } w;
    std::vector<uint8_t> out(256);
    EXPECT_EQ(w.WriteToMemory(out.data(), uint32_t(out.size())), CMidiFile::kEventDataTooLong);
}

TEST(CMidiFileWrite, ShortCallerBufferFailsInsteadOfOverflowing)
{
    ListWriter w;
    w.tracks = {{{0, 0x90, {60, 100}}}};
    int rc = -1;
    const auto full = write(w, &rc);
    ASSERT_EQ(rc, 0);
    // A canary after the capacity stays untouched.
    std::vector<uint8_t> out(full.size() + 8, 0xEE);
    EXPECT_EQ(w.WriteToMemory(out.data(), uint32_t(full.size() - 1)), CMidiFile::kBadByteCount);
    for (size_t i = full.size() - 1; i < out.size(); ++i)
        EXPECT_EQ(out[i], 0xEE);
    EXPECT_EQ(w.WriteToMemory(out.data(), uint32_t(full.size())), 0);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + std::ptrdiff_t(full.size())), full);
}

TEST(CMidiFileWrite, RawTracksAndTheReaderReadsBackWhatWasWritten)
{
    struct RawWriter : CMidiFile {
        std::vector<std::vector<uint8_t>> chunks;
        int after = 0;
        int OnHeader() override
        {
            SetHeader(1, uint16_t(chunks.size()), 480);
            return 0;
        }
        int OnTrackStart() override
        {
            const auto& c = chunks[size_t(GetTrackIndex())];
            RequestRawWrite(c.data(), uint32_t(c.size()));
            return 0;
        }
        int OnChannelEvent() override { return ++after, 0; }
    };
    SmfBuilder b(1, 480);
    SmfTrack& t0 = b.AddTrack().Tempo(0, 600000);
    SmfTrack& t1 = b.AddTrack().NoteOn(0, 1, 60, 1).NoteOff(480, 1, 60);
    RawWriter w;
    w.chunks = {t0.Bytes(), t1.Bytes()};
    std::vector<uint8_t> out(1024);
    ASSERT_EQ(w.WriteToMemory(out.data(), uint32_t(out.size())), 0);
    out.resize(w.GetBytesWritten());
    EXPECT_EQ(out, b.Build());
    EXPECT_EQ(w.after, 2); // once after every raw track
}

TEST(CMidiFileWrite, ToFileIsAllOrNothing)
{
    TempDir dir;
    ListWriter w;
    w.tracks = {{{0, 0x90, {60, 100}}}};
    ASSERT_EQ(w.WriteToFile(dir / "ok.mid"), 0);
    std::vector<uint8_t> back;
    ASSERT_EQ(readWholeFile(dir / "ok.mid", back), FileIoError::None);
    EXPECT_EQ(back.size(), w.GetBytesWritten());

    ListWriter bad;
    bad.tracks = {{{10, 0x90, {1, 1}}, {5, 0x90, {1, 1}}}};
    EXPECT_EQ(bad.WriteToFile(dir / "bad.mid"), CMidiFile::kBadDeltaTime);
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.mid"));
    EXPECT_EQ(bad.WriteToFile(dir / "none" / "x.mid"), CMidiFile::kBadDeltaTime);
    EXPECT_EQ(w.WriteToFile(dir / "none" / "x.mid"), CMidiFile::kFileOpenFailed);
}

TEST(CMidiFileWrite, ReadAndWriteDirectionsAreChecked)
{
    struct Reader : CMidiFile {
        int inside = -1;
        int OnChannelEvent() override
        {
            uint8_t b;
            inside = ReadBytes(&b, 1);
            return 0;
        }
        int OnHeader() override
        {
            SetHeader(0, 1, 96);
            return 0;
        }
    } r;
    std::vector<uint8_t> out(64);
    // Writing: reads inside a callback fail with 2 (the writer then meets an event without status).
    EXPECT_EQ(r.WriteToMemory(out.data(), 64), CMidiFile::kInvalidEventCode);
    EXPECT_EQ(r.inside, CMidiFile::kBadReadWriteFlag);
    EXPECT_EQ(r.Parse(), CMidiFile::kBadReadWriteFlag);
}

// ---- Error texts -----------------------------------------------------------

TEST(CMidiFileErrors, TextsAreFormattedAndTruncated)
{
    CMidiFile f;
    EXPECT_EQ(errorText(f, 0), "CMidiFile error: 0 - Success");
    EXPECT_EQ(errorText(f, 10), "CMidiFile error: 10 - Seek pre begining of file");
    EXPECT_EQ(errorText(f, 22), "CMidiFile error: 22 - Bad ftell() operation");
    EXPECT_EQ(errorText(f, 23), "CMidiFile error: 23 - Bad event delta time");
    EXPECT_EQ(errorText(f, 100), "");
    EXPECT_EQ(errorText(f, -1), "");

    char small[12];
    EXPECT_EQ(f.ReportError(small, sizeof small, 4), 11);
    EXPECT_STREQ(small, "CMidiFile e");
    EXPECT_EQ(f.ReportError(nullptr, 0, 4), 0);
}
